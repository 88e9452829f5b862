#!/usr/bin/env bash
# Two writers at once: PAIRS times, two `monitorfhi set` started together on the same file, one
# changing a flag, the other a student's value. Both must report success and both changes must be
# in the file afterwards. Prints the pairs, the saves that failed and the changes lost (both must
# be 0). Not part of CI.
#
#     bench/concurrentsets.sh [PAIRS]      (default 300; MONITOR_BUILD_DIR as in soak.sh)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}
pairs=${1:-300}
if ! [[ $pairs =~ ^[1-9][0-9]*$ ]] || [ $# -gt 1 ]; then
    echo "usage: [MONITOR_BUILD_DIR=DIR] bench/concurrentsets.sh [PAIRS]   (default 300)" >&2
    exit 2
fi
cmake --build "$build" --target monitorfhi >/dev/null
tool="$build/tools/monitorfhi/monitorfhi"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file="$work/monitor.fhi"
cp "$root/tests/data/laid_out.normalised.fhi" "$file"

failed=0 lost=0
start=$(date +%s%N)
for round in $(seq "$pairs"); do
    "$tool" set "$file" --flag "1=F$round" 2>>"$work/errors" &
    first=$!
    "$tool" set "$file" --student "C2468013=Severe|Good (G)|S$round" 2>>"$work/errors" &
    second=$!
    wait "$first" || failed=$((failed + 1))
    wait "$second" || failed=$((failed + 1))
    grep -q "<flag1>F$round</flag1>" "$file" || lost=$((lost + 1))
    grep -q "<script_commenting>S$round</script_commenting>" "$file" || lost=$((lost + 1))
done
took_ms=$((($(date +%s%N) - start) / 1000000))
echo "pairs: $pairs in ${took_ms} ms  failed saves: $failed  lost changes: $lost"
if [ -s "$work/errors" ]; then sort "$work/errors" | uniq -c | head -5; fi
[ "$failed" -eq 0 ] && [ "$lost" -eq 0 ]
