#!/usr/bin/env bash
# Builds the Windows program here, with Debian's mingw-w64: Qt for Windows and Hunspell's sources
# (each built or fetched once per machine and cached), then MonitorForm.exe, monitorfhi.exe and the
# Windows stand-ins into build-windows/ (MONITOR_WINDOWS_BUILD_DIR), the files to install into
# build-windows/deploy/, and the installer build-windows/MonitorForm.msi.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_WINDOWS_BUILD_DIR:-$root/build-windows}
cache=${MONITOR_QT_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/monitor-form}

"$root/scripts/install-packages.sh"

qt=$("$root/scripts/build-qt-windows.sh" | tail -1)

hunspell_version=$(dpkg-query -W -f='${source:Version}' libhunspell-dev)
hunspell=$cache/hunspell-$hunspell_version
if [ ! -f "$hunspell/.complete" ]; then
    rm -rf "$hunspell"
    source=$("$root/scripts/debian-source.sh" hunspell libhunspell-dev "$hunspell.download")
    mv "$source" "$hunspell"
    rm -rf "$hunspell.download"
    touch "$hunspell/.complete"
fi

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64-dll.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DMONITOR_WARNINGS_AS_ERRORS=ON \
    -DBUILD_TESTING=OFF -DMONITOR_BUILD_BENCHMARKS=ON \
    -DMONITOR_HUNSPELL_SOURCE_DIR="$hunspell" >/dev/null
cmake --build "$build"

"$root/scripts/package-windows.sh" "$build" "$qt" "$hunspell"
