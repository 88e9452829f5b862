#!/usr/bin/env bash
# Builds the program when needed and shows the bundled sample tutor folder. The sample is copied
# to a scratch folder first, so the copy in the repository never changes.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}

"$root/scripts/install-packages.sh"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target monitorfhi

work="$build/sample-run"
rm -rf "$work"
mkdir -p "$work"
cp -r "$root/sample/monitor-root" "$work/"
file="$work/monitor-root/M101-05B/02/00417263/MON1/monitor.fhi"

echo "Tutor monitoring file: $file"
"$build/tools/monitorfhi/monitorfhi" show --write-normalised "$file"
