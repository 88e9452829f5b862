#!/usr/bin/env bash
# Start-up of the Windows program under Wine: the milliseconds from the creation of the process to
# its first painted window, for the form on a fresh copy of the sample (started through the file
# handler stand-in) and for an empty Qt window of the form's size built the same way, alternately,
# on one Xvfb display. Needs scripts/build-windows.sh first.
#
#     bench/wine-startup.sh [RUNS]      (RUNS of each, default 10)
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${MONITOR_WINDOWS_BUILD_DIR:-$root/build-windows}
runs=${1:-10}
source "$root/tests/windows/e2e/winesession.sh"
standins=$build/tools/windows-standins

# The bare window beside the same DLLs and plugins as the form.
cp -r "$build/deploy" "$session/bare"
cp "$build/bench/bare_window.exe" "$session/bare/"
first_paint() { sed -n 's/^first_paint_ms=//p' "$1"; }
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

export MONITOR_FORM_QUIT_AFTER_REPORT=1
: >"$session/form.ms"
: >"$session/bare.ms"
for run in $(seq "$runs"); do
    rm -rf "$session/root" && cp -r "$root/sample/monitor-root" "$session/root"
    report=$session/form-$run.txt
    MONITOR_FORM_STARTUP_REPORT=$(windows_path "$report") "$wine" "$standins/ZuruzovIrurEdar.exe" \
        --root "$(windows_path "$session/root")" \
        --form "$(windows_path "$build/deploy/MonitorForm.exe")" "${words[@]}" 2>/dev/null
    first_paint "$report" >>"$session/form.ms"
    report=$session/bare-$run.txt
    MONITOR_FORM_STARTUP_REPORT=$(windows_path "$report") "$wine" "$session/bare/bare_window.exe"
    first_paint "$report" >>"$session/bare.ms"
done
form=$(median <"$session/form.ms")
bare=$(median <"$session/bare.ms")
echo "runs of each: $runs"
echo "form, first paint (ms): $(tr '\n' ' ' <"$session/form.ms")"
echo "bare window, first paint (ms): $(tr '\n' ' ' <"$session/bare.ms")"
echo "median: form $form ms, bare window $bare ms, ratio $(awk -v f="$form" -v b="$bare" 'BEGIN { printf "%.2f", f / b }')"
