#!/usr/bin/env bash
# Saves under real faults, with `monitorfhi set` on a copy of tests/data/laid_out.normalised.fhi.
# Not part of CI.
#
#   kill [N]   N times (default 300), a save changing two flags and two students' values is
#              killed with SIGKILL at a random moment of its run. After every kill the file must
#              hold exactly the text before that save or the text it writes, never a mix, and the
#              next save must succeed (the dead writer's lock file is broken, its leftovers
#              removed). Prints how many kills left the old text, the new text, and anything else.
#   pairs [N]  N times (default 300), two saves started together, one changing a flag, the other
#              a student's value. Both must report success and both changes must be in the file.
#
#     bench/savefaults.sh kill|pairs [N]      (MONITOR_BUILD_DIR as in soak.sh)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}
mode=${1:-}
count=${2:-300}
if ! [[ $mode =~ ^(kill|pairs)$ && $count =~ ^[1-9][0-9]*$ ]] || [ $# -gt 2 ]; then
    echo "usage: [MONITOR_BUILD_DIR=DIR] bench/savefaults.sh kill|pairs [N]   (default 300)" >&2
    exit 2
fi
cmake --build "$build" --target monitorfhi >/dev/null
tool="$build/tools/monitorfhi/monitorfhi"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
file="$work/monitor.fhi"
cp "$root/tests/data/laid_out.normalised.fhi" "$file"

change() { # the save of round $1 on the file $2
    "$tool" set "$2" --date 08-Dec-2026 --flag "1=E$1" --flag "15=G$1" \
        --student "A1234567=Severe|Good (G)|R$1" --student "D1357924=Lenient|E|S$1" >/dev/null 2>&1
}

kill_loop() {
    # The shortest of ten runs of one save, start-up included, to spread the kills over it.
    local span_us=0 start took
    for i in 1 2 3 4 5 6 7 8 9 10; do
        start=$(date +%s%N)
        change "$i" "$file"
        took=$((($(date +%s%N) - start) / 1000))
        if [ "$span_us" -eq 0 ] || [ "$took" -lt "$span_us" ]; then span_us=$took; fi
    done

    local old=0 new=0 other=0 finished=0 locked=0 writer status
    for round in $(seq "$count"); do
        cp "$file" "$work/before"
        cp "$file" "$work/expected"
        change "$round" "$work/expected"
        change "$round" "$file" &
        writer=$!
        sleep "$(printf '0.%06d' $((RANDOM * RANDOM % span_us)))"
        kill -9 "$writer" 2>/dev/null || true
        status=0
        wait "$writer" 2>/dev/null || status=$?
        [ "$status" -eq 137 ] || finished=$((finished + 1))
        # Killed while holding the lock: between the save's read and the end of its rewrite.
        [ -e "$file.lock" ] && locked=$((locked + 1))
        if cmp -s "$file" "$work/before"; then
            old=$((old + 1))
        elif cmp -s "$file" "$work/expected"; then
            new=$((new + 1))
        else
            other=$((other + 1))
        fi
        # The next writer must not be kept out by the dead one's lock.
        if ! change "$round" "$file"; then
            echo "savefaults.sh: the save after kill $round failed" >&2
            other=$((other + 1))
        fi
    done
    local leftovers
    leftovers=$(find "$work" -maxdepth 1 -name 'monitor.fhi.*' | wc -l)
    echo "kills: $count (one save ~${span_us} us; $finished ended before the kill, $locked killed" \
        "while holding the lock)"
    echo "old text: $old  new text: $new  anything else: $other  leftover files: $leftovers"
    [ "$other" -eq 0 ]
}

pairs_loop() {
    local failed=0 lost=0 start first second
    start=$(date +%s%N)
    for round in $(seq "$count"); do
        "$tool" set "$file" --flag "1=F$round" 2>>"$work/errors" &
        first=$!
        "$tool" set "$file" --student "C2468013=Severe|Good (G)|S$round" 2>>"$work/errors" &
        second=$!
        wait "$first" || failed=$((failed + 1))
        wait "$second" || failed=$((failed + 1))
        grep -q "<flag1>F$round</flag1>" "$file" || lost=$((lost + 1))
        grep -q "<script_commenting>S$round</script_commenting>" "$file" || lost=$((lost + 1))
    done
    echo "pairs: $count in $((($(date +%s%N) - start) / 1000000)) ms  failed saves: $failed" \
        " lost changes: $lost"
    if [ -s "$work/errors" ]; then sort "$work/errors" | uniq -c | head -5; fi
    [ "$failed" -eq 0 ] && [ "$lost" -eq 0 ]
}

if [ "$mode" = kill ]; then kill_loop; else pairs_loop; fi
