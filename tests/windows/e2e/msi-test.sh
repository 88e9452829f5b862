#!/usr/bin/env bash
# msi-test.sh BUILD: installs BUILD/MonitorForm.msi silently under Wine, runs the installed form
# (its window shown, a 1074 saves), uninstalls it and checks that nothing of it is left.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
standins=$build/tools/windows-standins
source "$here/winesession.sh"
msi=$(windows_path "$build/MonitorForm.msi")
installed="$WINEPREFIX/drive_c/Program Files/Norvale Quillet/Monitor Entry Form"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
listed_for_removal() { "$wine" reg query "$uninstall_key" /s 2>/dev/null | grep -q 'Norvale Quillet Monitor Entry Form'; }

"$wine" msiexec /i "$msi" /qn || fail "msiexec /i ended with $?"
for file in MonitorForm.exe monitorfhi.exe Qt6Widgets.dll platforms/qwindows.dll \
    dictionaries/en_GB.dic licenses/NOTICE.txt licenses/qt/LGPL-3.0-only.txt; do
    [ -f "$installed/$file" ] || fail "not installed: $file"
done
listed_for_removal || fail "no entry to uninstall"
pass "the installer puts the program under Program Files, with an entry to uninstall"

work=$session/work
mkdir -p "$work"
cp -r "$here/../../../sample/monitor-root" "$work/"
tutor_file=$work/monitor-root/M101-05B/03/00417263/MON1/monitor.fhi
start_tutor_summary "$standins" "$work/summary.log"
start_form "$standins" 'C:\Program Files\Norvale Quillet\Monitor Entry Form\MonitorForm.exe' \
    "$work/monitor-root" "$work/state.txt"
grep -qxF "$(sed -n 2p "$here/sample-shown.txt")" "$work/state.txt" ||
    fail "the installed form does not show the sample's tutor"
type_in_comments "$work/state.txt" 'Installed.'
wait_until "MonitorChanges True after typing" setting_is MonitorChanges True
tutor_summary "$standins" --send 1074 || fail "the installed form did not take 1074"
grep -q 'Installed\.</monitor_comments>' "$tutor_file" || fail "1074 did not save the typed text"
tutor_summary "$standins" --post 1075 || fail "the installed form did not take 1075"
wait_until "the installed form to end" form_ended
pass "the installed form shows the sample and saves at the Tutor Summary's request"

"$wine" msiexec /x "$msi" /qn || fail "msiexec /x ended with $?"
[ ! -e "$installed" ] || fail "left in Program Files: $(cd "$installed" && find . | head)"
[ ! -e "$WINEPREFIX/drive_c/Program Files/Norvale Quillet" ] || fail "the maker's folder was left"
! listed_for_removal || fail "the entry to uninstall was left"
pass "uninstalling removes every file and the entry"
