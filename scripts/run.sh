#!/usr/bin/env bash
# Opens the monitoring form on the bundled sample tutor folder, started the way the suite starts
# it: through a stand-in for the suite's file handler. The sample is copied to a scratch folder
# first, and the settings go to a scratch configuration folder, so neither the repository nor
# your own settings change. Without a display the form runs under Xvfb and a screenshot is
# written instead.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}

"$root/scripts/install-packages.sh"
if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
cmake --build "$build" --target MonitorForm ZuruzovIrurEdar TutorSummaryStandin

work="$build/sample-run"
rm -rf "$work"
mkdir -p "$work/config"
cp -r "$root/sample/monitor-root" "$work/"
export XDG_CONFIG_HOME="$work/config"

# A stand-in for the suite's Tutor Summary window shows the messages the form sends it.
summary="$build/tools/tutorsummary-standin/TutorSummaryStandin"
stop_summary() { [ -n "${summary_pid:-}" ] && kill "$summary_pid" 2>/dev/null || true; }
trap stop_summary EXIT

form=(
    "$build/tools/filehandler-standin/ZuruzovIrurEdar"
    --root "$work/monitor-root" --form "$build/app/MonitorForm"
    00417263 M101 05B 03 MON1
)

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    "$summary" &
    summary_pid=$!
    echo "Opening the monitoring form on $work/monitor-root/M101-05B/03/00417263/MON1"
    echo "Type in the comments and press Save: the Tutor Summary stand-in logs 1076, 1074 and 1077."
    "${form[@]}"
else
    screenshot="$work/monitor-form.png"
    echo "No display: running the form under Xvfb."
    export MONITOR_FORM_SCREENSHOT="$screenshot"
    export MONITOR_FORM_STATE_FILE="$work/monitor-form.txt"
    export MONITOR_FORM_QUIT_AFTER_REPORT=1
    "$summary" --headless >"$work/tutor-summary.log" &
    summary_pid=$!
    xvfb-run -a -s "-screen 0 1280x1024x24" "${form[@]}"
    echo "Screenshot of the form: $screenshot"
    echo "What the form showed: $MONITOR_FORM_STATE_FILE"
    cat "$MONITOR_FORM_STATE_FILE"
    echo "Messages the Tutor Summary stand-in received: $work/tutor-summary.log"
fi
