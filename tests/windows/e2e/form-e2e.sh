#!/usr/bin/env bash
# form-e2e.sh BUILD [FORM]: the Windows program under Wine, end to end, as a monitor meets it:
# started through the file handler stand-in on a copy of the sample tutor folder beside the Tutor
# Summary stand-in, read back, typed into, saved at the Tutor Summary's request, closed with the
# question answered, started again with its placement and font size, and printed to a file.
# FORM is the MonitorForm.exe to run (a Windows path; default BUILD/deploy/MonitorForm.exe).
# Keeps a screenshot in BUILD/e2e/. Exits non-zero at the first failed check.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
standins=$build/tools/windows-standins
source "$here/winesession.sh"
form=${2:-$(windows_path "$build/deploy/MonitorForm.exe")}
artefacts=$build/e2e
mkdir -p "$artefacts"
work=$session/work
mkdir -p "$work"
cp -r "$here/../../../sample/monitor-root" "$work/"
tutor_file=$work/monitor-root/M101-05B/03/00417263/MON1/monitor.fhi
log=$work/summary.log
state=$work/state.txt

start_tutor_summary "$standins" "$log"
MONITOR_FORM_SCREENSHOT=$(windows_path "$artefacts/monitor-form-wine.png") \
    start_form "$standins" "$form" "$work/monitor-root" "$state"
while IFS= read -r line; do
    grep -qxF -- "$line" "$state" || fail "the form does not show: $line"
done <"$here/sample-shown.txt"
pass "the form shows the sample's tutor, students, ratings and comments, without scroll bars"

cp "$tutor_file" "$work/before-typing.fhi"
typed=' <b> & </b>\nSecond line'
type_in_comments "$state" "$typed"
wait_until "MonitorChanges True after typing" setting_is MonitorChanges True
wait_until "1076 at the Tutor Summary after typing" received "$log" 1076
pass "typing sets MonitorChanges and tells the Tutor Summary"

tutor_summary "$standins" --send 1074 || fail "the form did not take 1074"
# The very bytes that monitorfhi's save of the same comments and date gives: the markup as the
# bytes 2, 3 and 18, line breaks as CR LF, nothing else changed.
cp "$work/before-typing.fhi" "$work/expected.fhi"
"$wine" "$build/deploy/monitorfhi.exe" set "$(windows_path "$work/expected.fhi")" \
    --comments "$("$here/expectedsave.py" "$work/before-typing.fhi" "$typed")" \
    --date "$(LC_ALL=C date +%d-%b-%Y)" >/dev/null || fail "monitorfhi.exe set"
python3 -c 'import sys; sys.exit(b"\x02b\x03 \x12 \x02/b\x03\r\nSecond line</monitor_comments>" not in open(sys.argv[1], "rb").read())' "$work/expected.fhi" ||
    fail "monitorfhi.exe did not store the markup as codes and the line break as CR LF"
cmp "$work/expected.fhi" "$tutor_file" || fail "the form's save differs from monitorfhi's"
[ ! -e "$tutor_file.BAK" ] || fail "a .BAK was left beside the file"
setting_is MonitorChanges False || fail "MonitorChanges after the save: $(setting MonitorChanges)"
wait_until "1077 at the Tutor Summary after the save" received "$log" 1077
pass "1074 saves the typed text as bytes, clears MonitorChanges and tells the Tutor Summary"

cp "$tutor_file" "$work/saved.fhi"
type_in_comments "$state" 'x'
wait_until "MonitorChanges True after typing again" setting_is MonitorChanges True
tutor_summary "$standins" --post 1075 || fail "the form did not take 1075"
answer_box alt+n
wait_until "the form to end after No" form_ended
cmp -s "$tutor_file" "$work/saved.fhi" || fail "No to the closing question changed the file"
pass "1075 with unsaved changes asks, and No closes without saving"

for key in monitoring_form_left monitoring_form_top monitoring_form_width \
    monitoring_form_height mon_form_entry_font_size; do
    [ -n "$(setting $key)" ] || fail "$key was not stored on closing"
done
set_setting monitoring_form_left 1500
set_setting monitoring_form_top 1200
set_setting monitoring_form_width 10200
set_setting monitoring_form_height 7200
set_setting mon_form_entry_font_size Large
start_form "$standins" "$form" "$work/monitor-root" "$state"
grep -qx 'fontSize=Large' "$state" || fail "the stored font size did not come back"
# 96 dots an inch: 1500 x 1200 twips are 100 x 80 pixels.
grep -q '^frame=100 80 ' "$state" || fail "the stored place did not come back: $(grep frame= "$state")"

# Print: the system's print dialog, then the form through a Wine printer into a file, read back.
printed=$work/printed.ps
"$wine" "$build/layer-tests/LayerPeerProcess.exe" install-printer "Wine Test Printer" \
    "$(windows_path "$printed")" || fail "the test printer could not be installed"
xdotool search --onlyvisible --name "^$form_title\$" windowfocus --sync key ctrl+p
wait_until "the print dialog" window_shown Print
xdotool search --onlyvisible --name '^Print$' windowfocus --sync key Return
wait_until "the printed form" grep -q '^%%EOF' "$printed"
gs -q -dNOPAUSE -dBATCH -dSAFER -sDEVICE=txtwrite -sOutputFile="$work/printed.txt" "$printed"
"$here/printedform.py" "$state" "$work/printed.txt" || fail "the printed form lacks what it shows"
pass "Print prints the tutor, the students, every rating and the comments through a Wine printer"

tutor_summary "$standins" --post 1075 || fail "the form did not take 1075 the second time"
wait_until "the form to end without changes" form_ended
for pair in monitoring_form_left=1500 monitoring_form_top=1200 monitoring_form_width=10200 \
    monitoring_form_height=7200 mon_form_entry_font_size=Large; do
    setting_is "${pair%%=*}" "${pair#*=}" ||
        fail "${pair%%=*} is $(setting "${pair%%=*}") after a run without a move"
done
pass "the placement and the font size come back and are stored as they were"
