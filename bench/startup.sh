#!/usr/bin/env bash
# Start-up of the window: the time from the start of the program to its first painted window,
# its resident memory at that moment and its peak memory once the work after the first paint
# (the spelling dictionary) is done, for the form on a fresh copy of the sample and for an empty
# window of the form's size, alternately, under one Xvfb. Both are started the same way:
# by the stand-in file handler, through exec_stamp, which notes the moment of the exec.
#
#     bench/startup.sh [RUNS]      (RUNS of each, default 20; MONITOR_BUILD_DIR as in run.sh)
#
# A second yardstick is started in turn with the two: the bare window showing a menu bar and a
# table of 15 rows of 4 cells in the form's font (BARE_WINDOW_TABLE=1), what any Qt window of the
# form's kind pays for its text; the form is compared with it too.
#
# STARTUP_WINDOW_MANAGER=openbox runs openbox on the display, as on a desktop: every window is
# then framed and mapped by it.
#
# STARTUP_BASELINE_FORM=PROGRAM adds another kind, "before" (another build of the form, say of an
# earlier commit), started in turn with the other two and compared with the bare window the same
# way.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_BUILD_DIR:-$root/build}
runs=${1:-20}
if ! [[ $runs =~ ^[1-9][0-9]*$ ]] || [ $# -gt 1 ]; then
    echo "usage: [MONITOR_BUILD_DIR=DIR] bench/startup.sh [RUNS]   (RUNS of each, default 20)" >&2
    exit 2
fi
words=(00417263 M101 05B 03 MON1)
tutor_file=M101-05B/03/00417263/MON1/monitor.fhi

for tool in Xvfb cmake; do
    if ! command -v "$tool" >/dev/null; then
        echo "startup.sh: $tool is missing (scripts/install-packages.sh installs it)" >&2
        exit 2
    fi
done

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
fi
build_type=$(sed -n 's/^CMAKE_BUILD_TYPE:STRING=//p' "$build/CMakeCache.txt")
case $build_type in
RelWithDebInfo | Release) ;;
*) echo "startup.sh: warning: $build is a '$build_type' build; times are not comparable" >&2 ;;
esac
cmake --build "$build" --target MonitorForm ZuruzovIrurEdar bare_window exec_stamp

work="$build/startup-run"
rm -rf "$work"
mkdir -p "$work/runtime"
chmod 700 "$work/runtime"

# wait_until TEST FILE WHAT LOG: up to 10 s for [ TEST FILE ], or ends saying WHAT did not start.
wait_until() {
    for _ in $(seq 100); do
        [ "$1" "$2" ] && return
        sleep 0.1
    done
    echo "startup.sh: $3 did not start; see $4" >&2
    exit 1
}

# One X server for all runs, so that its own start is in none of them.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null || true; wait "$xvfb_pid" 2>/dev/null || true' EXIT
wait_until -s "$work/display" Xvfb "$work/xvfb.log"

DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
case ${STARTUP_WINDOW_MANAGER:-} in
'') ;;
openbox)
    # openbox runs its start-up command once it manages the display.
    openbox --sm-disable --startup "touch $work/wm-ready" 2>"$work/wm.log" &
    wm_pid=$!
    trap 'kill "$wm_pid" "$xvfb_pid" 2>/dev/null || true; wait 2>/dev/null || true' EXIT
    wait_until -e "$work/wm-ready" openbox "$work/wm.log"
    ;;
*)
    echo "startup.sh: STARTUP_WINDOW_MANAGER is openbox or empty" >&2
    exit 2
    ;;
esac
export QT_QPA_PLATFORM=xcb
export XDG_RUNTIME_DIR="$work/runtime"
export MONITOR_FORM_QUIT_AFTER_REPORT=1
unset WAYLAND_DISPLAY MONITOR_FORM_STATE_FILE MONITOR_FORM_SCREENSHOT

value() { sed -n "s/^$1=//p" "$2"; }
calc() { awk "BEGIN { print $1 }"; }

# run KIND NAME PROGRAM: one start, prepared identically for both kinds; appends a result line.
run() {
    local kind=$1 dir="$work/$2" program=$3
    mkdir -p "$dir/config"
    # Not measured: the fresh copy is made, and written to the disk, before the program starts.
    cp -r "$root/sample/monitor-root" "$dir/"
    sync -f "$dir"
    if ! STARTUP_STAMP_EXEC="$program" STARTUP_STAMP_FILE="$dir/exec.txt" \
        MONITOR_FORM_STARTUP_REPORT="$dir/report.txt" XDG_CONFIG_HOME="$dir/config" \
        timeout 60 "$build/tools/filehandler-standin/ZuruzovIrurEdar" \
        --root "$dir/monitor-root" --form "$build/bench/exec_stamp" "${words[@]}" \
        >"$dir/output.txt" 2>&1 || [ ! -s "$dir/report.txt" ]; then
        echo "startup.sh: $2 gave no report; see $dir/output.txt" >&2
        exit 1
    fi
    # The form's tidying and rewrite of the copy is start-up work (done once the window is on
    # the screen, before the report): make sure it happened.
    if [ "$kind" = form ] && cmp -s "$dir/monitor-root/$tutor_file" "$root/sample/monitor-root/$tutor_file"; then
        echo "startup.sh: the form did not tidy $dir/monitor-root/$tutor_file" >&2
        exit 1
    fi
    local report="$dir/report.txt" exec_ns paint_ns
    exec_ns=$(value exec_boottime_ns "$dir/exec.txt")
    paint_ns=$(value first_paint_boottime_ns "$report")
    printf '%s\t%s\t%.3f\t%s\t%s\t%s\t%s\t%s\t%s\t%s\n' "$kind" "$2" \
        "$(calc "($paint_ns - $exec_ns) / 1e6")" "$(value first_paint_ms "$report")" \
        "$(value VmRSS "$report")" "$(value RssAnon "$report")" "$(value RssFile "$report")" \
        "$(value window "$report")" "$(value settled_VmHWM "$report")" \
        "$(value settled_RssAnon "$report")" >>"$work/results.tsv"
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
bare="$build/bench/bare_window"
form="$build/app/MonitorForm"
echo "Warming up (not counted), then $runs starts of each, alternately, on $DISPLAY"
run warmup bare-warmup "$bare"
run warmup form-warmup "$form"
BARE_WINDOW_TABLE=1 run warmup table-warmup "$bare"
baseline=${STARTUP_BASELINE_FORM:-}
for i in $(seq "$runs"); do
    run bare "bare-$i" "$bare"
    run form "form-$i" "$form"
    BARE_WINDOW_TABLE=1 run table "table-$i" "$bare"
    if [ -n "$baseline" ]; then
        run form "before-$i" "$baseline"
        sed -i '$ s/^form\t/before\t/' "$work/results.tsv"
    fi
done

# summary KIND COLUMN: "median min" of one column.
summary() {
    awk -F'\t' -v kind="$1" -v col="$2" '$1 == kind { print $col }' "$work/results.tsv" |
        sort -g |
        awk '{ v[NR] = $1 } END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2;
                                  print m, v[1] }'
}

echo
echo "Commit $(git -C "$root" rev-parse --short HEAD 2>/dev/null || echo '?'), $(date '+%-d %B %Y')," \
    "$runs starts of each${STARTUP_WINDOW_MANAGER:+ under $STARTUP_WINDOW_MANAGER}; load average before $load_before, after $(cut -d' ' -f1-3 /proc/loadavg)"
echo "Window size: bare $(awk -F'\t' '$1 == "bare" { print $8; exit }' "$work/results.tsv")," \
    "form $(awk -F'\t' '$1 == "form" { print $8; exit }' "$work/results.tsv") (pixels, inside)"
printf '%-38s %12s %12s %12s %12s %10s %10s\n' "" "bare median" "bare min" "form median" "form min" \
    "form/bare" "(of mins)"
row() {
    local label=$1 col=$2 scale=$3 format=$4 bm bmin fm fmin
    read -r bm bmin <<<"$(summary bare "$col")"
    read -r fm fmin <<<"$(summary "${kind:-form}" "$col")"
    printf "%-38s $format $format $format $format %10.2f %10.2f\n" "$label" \
        "$(calc "$bm / $scale")" "$(calc "$bmin / $scale")" "$(calc "$fm / $scale")" \
        "$(calc "$fmin / $scale")" "$(calc "$fm / $bm")" "$(calc "$fmin / $bmin")"
}
row "exec to first paint (ms)" 3 1 "%12.1f"
row "fork to first paint, kernel ticks (ms)" 4 1 "%12.1f"
row "VmRSS at first paint (MiB)" 5 1024 "%12.1f"
row "  RssAnon (MiB)" 6 1024 "%12.1f"
row "  RssFile (MiB)" 7 1024 "%12.1f"
row "peak memory, dictionary loaded (MiB)" 9 1024 "%12.1f"
row "  RssAnon then (MiB)" 10 1024 "%12.1f"
# pairs KIND: the median of each start's exec to first paint over the bare window's start just
# before it, which ran under much the same load.
pairs() {
    awk -F'\t' -v kind="$1" '{ n = $2; sub(/^[a-z]+-/, "", n); t[$1, n] = $3 }
        END { for (i = 1; ("bare", i) in t; i++) if ((kind, i) in t) print t[kind, i] / t["bare", i] }' \
        "$work/results.tsv" | sort -g | awk '{ v[NR] = $1 } END { printf "%.2f", (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
echo "Exec to first paint over the bare window's start just before it, median of the pairs:"
printf '  %-36s %12s\n' "form" "$(pairs form)"
printf '  %-36s %12s\n' "table window" "$(pairs table)"
echo "The table window (menu bar, 15 x 4 cells in the form's font) in place of the form:"
kind=table row "exec to first paint (ms)" 3 1 "%12.1f"
kind=table row "peak memory, dictionary loaded (MiB)" 9 1024 "%12.1f"
echo "The form over the table window, medians: exec to first paint $(calc "$(summary form 3 | cut -d' ' -f1) / $(summary table 3 | cut -d' ' -f1)" | xargs printf '%.2f'),"\
    "peak memory $(calc "$(summary form 9 | cut -d' ' -f1) / $(summary table 9 | cut -d' ' -f1)" | xargs printf '%.2f')"
if [ -n "$baseline" ]; then
    printf '  %-36s %12s\n' "form before" "$(pairs before)"
    echo "The same for the form before ($baseline), in place of the form:"
    kind=before row "exec to first paint (ms)" 3 1 "%12.1f"
    kind=before row "peak memory, dictionary loaded (MiB)" 9 1024 "%12.1f"
fi
echo
echo "Targets: the form's exec to first paint at most 1.5 × the bare window's, its peak memory (VmHWM"
echo "once the dictionary has loaded) at most 1.75 × (medians of runs taken alternately)."
echo "Every start: $work/results.tsv (kind, run, exec ms, fork ms, VmRSS, RssAnon, RssFile KiB, size,"
echo "peak KiB and RssAnon KiB once settled)"
