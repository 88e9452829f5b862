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
#   stall [N]  N times (default 3), a save is held up (strace delays its read under the lock by
#              35 s, longer than any lock's stale age) while a second save changes another flag.
#              The second must either fail with the lock's message or keep its change after the
#              first has ended: a save reported as done is never undone. About 40 s a round.
#
#     bench/savefaults.sh kill|pairs|stall [N]      (MONITOR_BUILD_DIR as in soak.sh)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}
mode=${1:-}
count=${2:-300}
if ! [[ $mode =~ ^(kill|pairs|stall)$ && $count =~ ^[1-9][0-9]*$ ]] || [ $# -gt 2 ]; then
    echo "usage: [MONITOR_BUILD_DIR=DIR] bench/savefaults.sh kill|pairs|stall [N]" >&2
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

stall_loop() {
    [ -n "${2:-}" ] || count=3
    local waited=0 kept=0 undone=0 stalled_failed=0 staller
    for round in $(seq "$count"); do
        # The second open of the file is the read under the lock (the first is the tool's own).
        strace -f -qq -o /dev/null -e trace=openat -P "$file" \
            -e inject=openat:delay_enter=35000000:when=2 \
            "$tool" set "$file" --flag "1=A$round" 2>>"$work/stalled" &
        staller=$!
        while [ ! -e "$file.lock" ]; do sleep 0.05; done
        if "$tool" set "$file" --flag "2=B$round" 2>"$work/later"; then
            wait "$staller" || stalled_failed=$((stalled_failed + 1))
            if grep -q "<flag2>B$round</flag2>" "$file"; then kept=$((kept + 1)); else undone=$((undone + 1)); fi
        else
            grep -q "being written by another program" "$work/later" && waited=$((waited + 1))
            wait "$staller" || stalled_failed=$((stalled_failed + 1))
        fi
    done
    echo "stalls: $count  later save waited and failed truly: $waited  later save kept: $kept" \
        " later save undone: $undone  stalled saves failed: $stalled_failed"
    [ "$undone" -eq 0 ]
}

case "$mode" in
kill) kill_loop ;;
pairs) pairs_loop ;;
stall) stall_loop "$@" ;;
esac
