#!/usr/bin/env bash
# Installs what the build needs (only what is missing), builds everything, runs every test, the
# Windows program's tests under Wine, every test again with sanitizers, and the fuzz targets. Exits non-zero on any failure. Safe to
# run again.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}

"$root/scripts/install-packages.sh"

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMONITOR_WARNINGS_AS_ERRORS=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure --timeout 300

# The Windows program, cross-built with mingw-w64 (Qt for Windows built once per machine and
# cached), its layer's tests, the form end to end and its installer, under Wine.
"$root/scripts/windows-tests.sh"

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
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$sanitized" --output-on-failure --timeout 600

"$root/scripts/fuzz.sh"
echo "All tests passed."
