#!/usr/bin/env bash
# msi-test.sh BUILD: checks BUILD/MonitorForm.msi's versions, installs it silently under Wine, runs
# the installed form (its window shown, a 1074 saves), upgrades it, refuses to downgrade it,
# uninstalls it and checks that nothing of it is left.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
standins=$build/tools/windows-standins
source "$here/winesession.sh"
msi=$(windows_path "$build/MonitorForm.msi")
installed="$WINEPREFIX/drive_c/Program Files/Norvale Quillet/Monitor Entry Form"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall'
listed_for_removal() { "$wine" reg query "$uninstall_key" /s 2>/dev/null | grep -q 'Norvale Quillet Monitor Entry Form'; }
# The versions of the entries to uninstall, on one line.
listed() { "$wine" reg query "$uninstall_key" /s | tr -d '\r' | grep -A30 'Monitor Entry Form' |
    sed -n 's/^ *DisplayVersion *REG_SZ *//p' | paste -sd' '; }

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
for table in Property File LaunchCondition; do msiinfo export "$build/MonitorForm.msi" $table; done |
    tr -d '\r' >"$session/tables.idt"
for row in "ProductVersion\t$version" "MonitorForm.exe\t\d+\t$version.0" \
    "monitorfhi.exe\t\d+\t$version.0" 'Qt6Core.dll\t\d+\t6.4.2.0'; do
    grep -qP "^\S*\t?\S*\t?$row(\t|$)" "$session/tables.idt" || fail "the package lacks: $row"
done
for program in MonitorForm.exe monitorfhi.exe; do
    strings -el "$build/deploy/$program" | grep -x "$version" >/dev/null || fail "$program has no $version"
done
[ "$("$wine" "$build/deploy/monitorfhi.exe" --version | tr -d '\r')" = "monitorfhi $version" ] ||
    fail "monitorfhi --version does not say $version"
objdumped=$(find "$build/deploy" \( -name '*.dll' -o -name '*.exe' \) -exec x86_64-w64-mingw32-objdump -h {} +)
! grep -q '\.debug_' <<<"$objdumped" || fail "the package ships debug sections"
pass "the package, its programs and monitorfhi --version say $version; no debug sections"

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

# The next version, from the same files but one of them changed, replaces this one.
next=${version%.*}.$((${version##*.} + 1))
cp -r "$build/deploy" "$session/next"
echo "Release $next." >>"$session/next/licenses/NOTICE.txt"
"$here/../../../scripts/make-msi.sh" "$session/next" "$next" "$session/next.msi"
"$wine" msiexec /i "$(windows_path "$session/next.msi")" /qn || fail "the newer package ended with $?"
[ "$(listed)" = "$next" ] || fail "entries to uninstall after the newer package: $(listed)"
grep -q "Release $next" "$installed/licenses/NOTICE.txt" && [ -f "$installed/MonitorForm.exe" ] ||
    fail "the newer files were not installed"
pass "a newer package replaces the older one: one entry, the newer files"

# 1603 (its low byte is the exit status). Wine's quiet install logs the launch condition that
# failed, not its message, which is checked in the package.
status=0
"$wine" msiexec /i "$msi" /qn /l*v "$(windows_path "$session/downgrade.log")" || status=$?
[ "$status" = $((1603 % 256)) ] && [ "$(listed)" = "$next" ] &&
    grep -q "Release $next" "$installed/licenses/NOTICE.txt" || fail "the older package installed"
grep -aq 'WIX_DOWNGRADE_DETECTED = {' "$session/downgrade.log" &&
    grep -q $'^NOT WIX_DOWNGRADE_DETECTED\tA newer version of .* is already installed' \
        "$session/tables.idt" || fail "the refused downgrade does not say why"
pass "an older package is refused over a newer one, saying why"

msi=$(windows_path "$session/next.msi")
"$wine" msiexec /x "$msi" /qn || fail "msiexec /x ended with $?"
[ ! -e "$installed" ] || fail "left in Program Files: $(cd "$installed" && find . | head)"
[ ! -e "$WINEPREFIX/drive_c/Program Files/Norvale Quillet" ] || fail "the maker's folder was left"
! listed_for_removal || fail "the entry to uninstall was left"
pass "uninstalling removes every file and the entry"
