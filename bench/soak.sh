#!/usr/bin/env bash
# Soak: the real form, started through the stand-in file handler beside the headless stand-in
# Tutor Summary window, through CYCLES edit-save cycles driven from the keyboard under Xvfb,
# with messages from the Tutor Summary between them (1076, 1077, and every tenth cycle a save it
# asks for with 1074). Prints the form's memory at the start and the end, and checks that the file
# holds exactly the last saved values. Not part of CI: it takes a few minutes.
#
#     bench/soak.sh [CYCLES]      (default 1000; MONITOR_BUILD_DIR as in run.sh)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}
cycles=${1:-1000}
if ! [[ $cycles =~ ^[1-9][0-9]*$ ]] || [ $# -gt 1 ]; then
    echo "usage: [MONITOR_BUILD_DIR=DIR] bench/soak.sh [CYCLES]   (default 1000)" >&2
    exit 2
fi
for tool in Xvfb xdotool cmake; do
    if ! command -v "$tool" >/dev/null; then
        echo "soak.sh: $tool is missing (scripts/install-packages.sh installs it)" >&2
        exit 2
    fi
done
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target MonitorForm ZuruzovIrurEdar TutorSummaryStandin monitorfhi >/dev/null

work="$build/soak-run"
rm -rf "$work"
mkdir -p "$work/tmp" "$work/config" "$work/data"
cp -r "$root/sample/monitor-root" "$work/root"
tutor_file="$work/root/M101-05B/03/00417263/MON1/monitor.fhi"
export TMPDIR="$work/tmp" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data"
# The sockets then go to $TMPDIR/nqm-<uid>, not to the session's runtime folder.
unset XDG_RUNTIME_DIR
mkdir -p "$work/runtime" && chmod 700 "$work/runtime"
export XDG_RUNTIME_DIR="$work/runtime" QT_QPA_PLATFORM=xcb
export MONITOR_FORM_STATE_FILE="$work/state.txt"

pids=()
cleanup() { kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT
[ -n "${SOAK_TRACE:-}" ] && set -x

# -displayfd picks a free display and writes its number to standard output.
Xvfb -displayfd 1 -screen 0 1280x1024x24 -nolisten tcp >"$work/display" 2>"$work/xvfb.log" &
pids+=($!)
for _ in $(seq 200); do
    [ -s "$work/display" ] && break
    sleep 0.1
done
export DISPLAY=":$(cat "$work/display")"

"$build/tools/tutorsummary-standin/TutorSummaryStandin" --headless >"$work/standin.log" &
pids+=($!)
"$build/tools/filehandler-standin/ZuruzovIrurEdar" --root "$work/root" \
    --form "$build/app/MonitorForm" 00417263 M101 05B 03 MON1 2>"$work/form.log" &
pids+=($!)
for _ in $(seq 200); do
    [ -s "$work/state.txt" ] && break
    sleep 0.1
done
[ -s "$work/state.txt" ] || { echo "soak.sh: the form did not start" >&2; exit 1; }
form_pid=$(pgrep -n -f "$build/app/MonitorForm")
read -r x y w h < <(sed -n 's/^commentsBox=//p' "$work/state.txt")
xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 1

rss() { awk '/^VmRSS/ {print $2}' "/proc/$form_pid/status"; }
standin() {
    "$build/tools/tutorsummary-standin/TutorSummaryStandin" "$@" && return 0
    echo "soak.sh: the form's window did not take $* (form running: $(kill -0 "$form_pid" 2>/dev/null && echo yes || echo no); sockets: $(ls "$TMPDIR"/nqm-* | tr '\n' ' '))" >&2
    [ -n "${SOAK_TRACE:-}" ] && { ss -xlp | grep nqm; cat "/proc/$form_pid/wchan"; echo; cat /proc/$form_pid/task/*/stat | awk '{print $3}' | sort | uniq -c; } >&2
    return 1
}

start_rss=""
for cycle in $(seq "$cycles"); do
    xdotool key ctrl+a
    xdotool type --delay 5 "cycle $cycle & <done>"
    standin --post 1076 1
    if ((cycle % 10 == 0)); then
        standin --send 1074 1 # the Tutor Summary asks for the save
    else
        # The menu must be open before its access key, or the key lands in the comments (and a
        # "c" typed next would choose Close).
        xdotool key alt+f
        sleep 0.25
        xdotool key s
    fi
    standin --post 1077 1
    [ -z "$start_rss" ] && start_rss=$(rss)
    if ((cycle % 100 == 0)); then
        echo "cycle $cycle: $(rss) KiB"
    fi
done
sleep 1
end_rss=$(rss)
kill -0 "$form_pid" || { echo "soak.sh: the form ended during the soak" >&2; exit 1; }

comments=$("$build/tools/monitorfhi/monitorfhi" show "$tutor_file" |
    sed -n 's/^ *"monitor_comments": "\(.*\)",$/\1/p')
expected="cycle $cycles & <done>"
echo "cycles: $cycles"
echo "memory: $start_rss KiB after the first cycle, $end_rss KiB after the last"
echo "saved comments: $comments"
if [ "$comments" != "$expected" ]; then
    echo "soak.sh: the file does not hold the last saved values (expected '$expected')" >&2
    exit 1
fi
if grep -q 'monitor.fhi.*tmp\|\.BAK' < <(ls "$(dirname "$tutor_file")"); then
    echo "soak.sh: a temporary file or .BAK was left behind" >&2
    exit 1
fi
echo "soak: passed"
