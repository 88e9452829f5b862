#!/usr/bin/env bash
# Builds Qt for Windows (Core, Gui, Widgets, PrintSupport and the windows platform plugin, as
# DLLs) from Debian's own qt6-base source with mingw-w64, once per machine: the result is cached
# outside the tree, keyed by the Qt version and the options, and reused while it is whole.
# Prints the install prefix on its last line.
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
)
key=$(printf '%s\n' "${options[@]}" | cat - "$root/cmake/mingw-w64-x86_64-dll.cmake" \
    | sha256sum | cut -c1-12)
cache=${MONITOR_QT_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/monitor-form}
prefix=$cache/qt-$version-mingw64-$key

if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$cache/qt-$version-mingw64-$key.build
mkdir -p "$work"
if [ ! -d "$work/qtbase-everywhere-src-$version" ]; then
    # The very version of the host tools that qt6-base-dev installed.
    "$root/scripts/debian-source.sh" qt6-base qt6-base-dev "$work" >/dev/null
fi

cmake -G Ninja -S "$work/qtbase-everywhere-src-$version" -B "$work/build" \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64-dll.cmake" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DCMAKE_INSTALL_PREFIX="$prefix" "${options[@]}" >"$work/configure.log"
cmake --build "$work/build"
cmake --install "$work/build" >/dev/null
# The licence texts travel with the DLLs: Qt's own and those of the bundled libraries.
source=$work/qtbase-everywhere-src-$version
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
touch "$prefix/.complete"
rm -rf "$work"
echo "$prefix"
