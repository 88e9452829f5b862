#!/usr/bin/env bash
# Kill loop: KILLS times, `monitorfhi set` changing two flags and two students' values is killed
# with SIGKILL at a random moment of its run. After every kill the file must hold exactly the text
# before that save or the text it writes, never a mix; the next save must then succeed (the dead
# writer's lock file is broken, its leftovers removed). Prints how many kills left the old text,
# the new text, and anything else (which must be 0). Not part of CI.
#
#     bench/killsave.sh [KILLS]      (default 300; MONITOR_BUILD_DIR as in soak.sh)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}
kills=${1:-300}
if ! [[ $kills =~ ^[1-9][0-9]*$ ]] || [ $# -gt 1 ]; then
    echo "usage: [MONITOR_BUILD_DIR=DIR] bench/killsave.sh [KILLS]   (default 300)" >&2
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

# The shortest of ten runs of one save, start-up included, to spread the kills over it.
span_us=0
for i in 1 2 3 4 5 6 7 8 9 10; do
    start=$(date +%s%N)
    change "$i" "$file"
    took=$((($(date +%s%N) - start) / 1000))
    if [ "$span_us" -eq 0 ] || [ "$took" -lt "$span_us" ]; then span_us=$took; fi
done

old=0 new=0 other=0 finished=0 locked=0
for round in $(seq "$kills"); do
    cp "$file" "$work/before"
    cp "$file" "$work/expected"
    change "$round" "$work/expected"
    change "$round" "$file" &
    writer=$!
    delay_us=$((RANDOM * RANDOM % span_us))
    sleep "$(printf '0.%06d' "$delay_us")"
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
        cp "$file" "$work/../killsave-mixed-$round.fhi" 2>/dev/null || true
    fi
    # The next writer must not be kept out by the dead one's lock.
    if ! change "$round" "$file"; then
        echo "killsave.sh: the save after kill $round failed" >&2
        other=$((other + 1))
    fi
done
leftovers=$(find "$work" -maxdepth 1 -name 'monitor.fhi.*' | wc -l)
echo "kills: $kills (one save ~${span_us} us; $finished ended before the kill, $locked killed" \
    "while holding the lock)"
echo "old text: $old  new text: $new  anything else: $other  leftover files: $leftovers"
[ "$other" -eq 0 ]
