#!/usr/bin/env bash
# Builds Qt for Windows (Core, Gui, Widgets, PrintSupport, the windows platform plugin and the
# vista style, as DLLs) from Debian's own qt6-base source with mingw-w64, once per machine: the
# result is cached outside the tree, keyed by the Qt version, the options and the targets, and
# reused while it is whole. Only those targets and what they need are compiled, in a non-prefix
# build (the build folder is Qt's prefix), so nothing else of qtbase is built or installed.
# Prints the prefix on its last line.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
version=6.4.2
options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_testlib=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_vulkan=OFF -DFEATURE_openssl=OFF
    # Debian's tarball drops src/3rdparty/wintab; the windows plugin needs OpenGL on (dynamic).
    # Direct2D stays on: without it, 6.4.2 builds no DirectWrite font engine or font database, yet
    # Print Support and the windows plugin use them and do not link.
    -DFEATURE_tabletevent=OFF -DFEATURE_opengl_dynamic=ON
    -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF -DFEATURE_jpeg=OFF
    -DFEATURE_sqlmodel=OFF
    # -Os instead of -O2 (-O3 in Core and Gui): measured a fifth less compile time per object,
    # and smaller DLLs.
    -DFEATURE_optimize_size=ON
)
targets=(Core Gui Widgets PrintSupport EntryPointImplementation
    QWindowsIntegrationPlugin QWindowsVistaStylePlugin)
key=$(printf '%s\n' "${options[@]}" "${targets[@]}" |
    cat - "$root/cmake/mingw-w64-x86_64-dll.cmake" | sha256sum | cut -c1-12)
cache=${MONITOR_QT_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/monitor-form}
prefix=$cache/qt-$version-mingw64-$key

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

source=$prefix.src/qtbase-everywhere-src-$version
if [ ! -d "$source" ]; then
    rm -rf "$prefix.src"
    # The very version of the host tools that qt6-base-dev installed.
    "$root/scripts/debian-source.sh" qt6-base qt6-base-dev "$prefix.src.download" >/dev/null
    mv "$prefix.src.download" "$prefix.src"
fi

# An interrupted build resumes where it stopped.
started=$(date +%s)
cmake -G Ninja -S "$source" -B "$prefix" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64-dll.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >"$prefix.configure.log"
objects=$(ninja -C "$prefix" -n "${targets[@]}" | grep -c 'Building C')
cmake --build "$prefix" --target "${targets[@]}"
echo "Qt for Windows: $objects objects compiled in $(($(date +%s) - started)) s" |
    tee "$prefix/build-time.txt" >&2
# The licence texts travel with the DLLs: Qt's own and those of the bundled libraries.
mkdir -p "$prefix/licenses/3rdparty"
cp "$source"/LICENSES/* "$prefix/licenses/"
for library in "$source"/src/3rdparty/*/; do
    name=$(basename "$library")
    find "$library" -maxdepth 1 -type f \( -iname '*licen[cs]e*' -o -iname 'copying*' \
        -o -iname 'notice*' -o -iname 'qt_attribution.json' \) |
        while read -r file; do
            mkdir -p "$prefix/licenses/3rdparty/$name"
            cp "$file" "$prefix/licenses/3rdparty/$name/"
        done
done
# The objects are not needed once linked; the sources stay (the build's headers include them).
find "$prefix" \( -name '*.obj' -o -name '*.gch' \) -delete
touch "$prefix/.complete"
echo "$prefix"
