#!/usr/bin/env bash
# Installs what the build needs (only what is missing), builds everything, runs every test and
# the fuzz targets. Exits non-zero on any failure. Safe to run again.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}

"$root/scripts/install-packages.sh"

cmake -S "$root" -B "$build" -G Ninja \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DMONITOR_WARNINGS_AS_ERRORS=ON
cmake --build "$build"
ctest --test-dir "$build" --output-on-failure --timeout 300

"$root/scripts/fuzz.sh"
echo "All tests passed."
