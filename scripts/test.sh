#!/usr/bin/env bash
# Installs what the build needs (only what is missing), builds everything, runs every test, every
# test again with sanitizers, the fuzz targets and the Windows program's tests under Wine. Exits
# non-zero on any failure. Safe to run again.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}

"$root/scripts/install-packages.sh"

# Qt for Windows, the longest step on a machine without its cache, builds in the background from
# the start, below the others in priority: the tests below leave a core idle while they wait on
# windows, processes and files. It gets a process group of its own (job control is on while it
# starts), so that a failure below ends all of it.
mkdir -p "$build"
set -m
nice -n 10 "$root/scripts/build-qt-windows.sh" >"$build/qt-windows.log" 2>&1 &
qt_windows=$!
set +m
trap 'kill -- -$qt_windows 2>/dev/null || true' EXIT

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMONITOR_WARNINGS_AS_ERRORS=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure --timeout 300

# Every test again, built with the address and undefined-behaviour sanitizers (leaks included)
# in a folder of its own; any report fails the run. -O1 without debug information keeps the
# build short; reports still name the functions on their stacks.
sanitized=$build-sanitizers
cmake -S "$root" -B "$sanitized" -G Ninja \
    -DCMAKE_BUILD_TYPE=None -DCMAKE_CXX_FLAGS=-O1 \
    -DMONITOR_WARNINGS_AS_ERRORS=ON \
    -DMONITOR_BUILD_BENCHMARKS=OFF \
    -DMONITOR_SANITIZERS=address,undefined
cmake --build "$sanitized"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    LSAN_OPTIONS=suppressions=$root/tests/lsan-suppressions.txt \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$sanitized" --output-on-failure --timeout 600

"$root/scripts/fuzz.sh"

# The Windows program, cross-built with mingw-w64 on the Qt for Windows built above (cached per
# machine), its layer's tests, the form end to end and its installer, under Wine.
wait "$qt_windows" || {
    tail -40 "$build/qt-windows.log"
    exit 1
}
"$root/scripts/windows-tests.sh"
echo "All tests passed."
