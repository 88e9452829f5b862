#!/usr/bin/env bash
# Cross-builds the Windows layer and its tests with mingw-w64 and runs them under Wine, in a
# throw-away Wine prefix with Wine's null graphics driver (no display needed). Exits non-zero on
# any failure.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_WINDOWS_LAYER_BUILD_DIR:-$root/build-windows/layer-tests}
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

cmake -S "$root/tests/windows" -B "$build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release \
    -DMONITOR_WARNINGS_AS_ERRORS=ON
cmake --build "$build"

# The Qt side of the layer cannot be built here (no Qt for Windows on Debian); compiling it with
# the Windows compiler against the Linux Qt headers at least catches errors in the glue code.
qt=$(pkg-config --variable=includedir Qt6Core)
for source in suite/windowsmessages.cpp suite/windowsprocesslist.cpp suite/processlist.cpp \
    suite/messageendpoint.cpp suite/windowmessages.cpp settings/registrysettingsstore.cpp \
    settings/settingsstore.cpp output/windowsshell.cpp output/windowsprinterdialog.cpp \
    output/qttextprinter.cpp monitorfile/ansicodec.cpp monitorfile/privatefolder.cpp \
    suite/lockfileclaim.cpp monitorfile/fileoperations.cpp monitorfile/writelock.cpp; do
    x86_64-w64-mingw32-g++-posix -fsyntax-only -std=c++17 -Wall -Wextra -Werror \
        -DMONITOR_WINDOWS_LAYER -DWIN32_LEAN_AND_MEAN -DNOMINMAX -DQT_NO_CAST_FROM_ASCII \
        -isystem "$qt" -isystem "$qt/QtCore" -isystem "$qt/QtGui" -isystem "$qt/QtWidgets" \
        -isystem "$qt/QtPrintSupport" \
        -I"$root/winplatform" -I"$root/suite" -I"$root/settings" -I"$root/output" \
        -I"$root/monitorfile" "$root/$source"
done

prefix=$(mktemp -d "${TMPDIR:-/tmp}/monitor-wine.XXXXXX")
export WINEPREFIX=$prefix WINEDEBUG=-all
# Wine lists the machine's CUPS printers as its own: keep them out, so that the tests see only the
# printers they install.
export CUPS_SERVER=/nonexistent/cups.sock
# No Mono or Gecko installers in a prefix that lives for one run.
export WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
    "$wineserver" -k 2>/dev/null || true
    rm -rf "$prefix"
}
trap cleanup EXIT

"$wine" wineboot -i >/dev/null 2>&1
# Without a display, windows can only be made with the null driver, which Wine reads when its
# server starts: stop the server before the tests create their first window.
"$wine" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null
"$wineserver" -k
"$wineserver" -w

ctest --test-dir "$build" --output-on-failure --timeout 300
