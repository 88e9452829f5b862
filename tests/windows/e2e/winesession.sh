# Sourced by the Windows end-to-end tests: a throw-away Wine prefix whose windows are X windows on
# an Xvfb display of its own (Wine's X11 driver, as on a desktop), both ended on exit, and the
# helpers the tests share. The tests find windows, read the registry and check files with tools
# of their own, never with the program's code.

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
session=$(mktemp -d "${TMPDIR:-/tmp}/monitor-wine-e2e.XXXXXX")
export WINEPREFIX=$session/prefix WINEDEBUG=-all
# Wine lists the machine's CUPS printers as its own: keep them out, so that the tests see only the
# printers they install.
export CUPS_SERVER=/nonexistent/cups.sock
# No Mono or Gecko installers in a prefix that lives for one run.
export WINEDLLOVERRIDES="mscoree,mshtml="
prefs_key='HKCU\Software\VB and VBA Program Settings\RERODODUREVIDEDAZIREZ\Prefs'
tutor_summary_title='Norvale Quillet Monitor File Handler - Tutor Summary'
form_title='Monitor Entry Form - Norvale Quillet Monitor File Handler'
message_box_title='Monitor Entry Form'
words=(00417263 M101 05B 03 MON1)

Xvfb -displayfd 3 -noreset -screen 0 1280x1024x24 -nolisten tcp 3>"$session/display" \
    2>"$session/xvfb.log" &
xvfb_pid=$!
end_session() {
    "$wineserver" -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$session"
}
trap end_session EXIT
for _ in $(seq 100); do
    [ -s "$session/display" ] && break
    sleep 0.1
done
export DISPLAY=:$(cat "$session/display")
"$wine" wineboot -i >/dev/null 2>&1
# Courier New, the form's print font, as on Windows: else Qt takes an OpenType font with CFF
# outlines, which Wine's PostScript driver crashes on (see README, Building for Windows).
"$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'Courier New' /d 'Liberation Mono' \
    /f >/dev/null 2>&1

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
pass() { echo "ok: $*"; }
windows_path() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# wait_until DESCRIPTION COMMAND...: runs COMMAND until it succeeds, for 30 s at most.
wait_until() {
    local description=$1
    shift
    for _ in $(seq 300); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.1
    done
    fail "$description"
}

# setting KEY: the suite's setting as the registry holds it (nothing when it is missing).
setting() {
    "$wine" reg query "$prefs_key" /v "$1" 2>/dev/null | tr -d '\r' |
        sed -n "s/^ *$1 \{1,\}REG_SZ \{1,\}//p"
}
setting_is() { [ "$(setting "$1")" = "$2" ]; }
set_setting() { "$wine" reg add "$prefs_key" /v "$1" /d "$2" /f >/dev/null 2>&1; }

window_shown() { xdotool search --onlyvisible --name "^$1\$"; }

# start_tutor_summary STANDINS LOG: the Tutor Summary stand-in, logging what it receives to LOG.
start_tutor_summary() {
    "$wine" "$1/TutorSummaryStandin.exe" --log "$(windows_path "$2")" &
    wait_until "the Tutor Summary stand-in's window" window_shown "$tutor_summary_title"
}
received() { grep -q "^received $2 " "$1"; }
# tutor_summary STANDINS --send|--post MESSAGE: the Tutor Summary asks the form.
tutor_summary() { "$wine" "$1/TutorSummaryStandin.exe" "$2" "$3" 0; }

# start_form STANDINS FORM ROOT STATE: the form started as the suite starts it, through the file
# handler stand-in; once its window is shown, STATE holds what it shows.
start_form() {
    rm -f "$4"
    MONITOR_FORM_STATE_FILE=$(windows_path "$4") "$wine" "$1/ZuruzovIrurEdar.exe" \
        --root "$(windows_path "$3")" --form "$2" "${words[@]}" 2>>"$session/standin.log" &
    form_pid=$!
    wait_until "the form's window and what it shows" test -s "$4"
}
form_ended() { ! kill -0 "$form_pid" 2>/dev/null; }

# type_in_comments STATE TEXT: clicks at the end of the comments box and types TEXT ("\n" for a
# line break).
type_in_comments() {
    local box x y width height
    box=$(sed -n 's/^commentsBox=//p' "$1")
    read -r x y width height <<<"$box"
    xdotool mousemove $((x + width / 2)) $((y + height / 2)) click 1
    xdotool key ctrl+End
    local first=1 line
    while IFS= read -r line; do
        [ $first -eq 1 ] || xdotool key Return
        first=0
        [ -z "$line" ] || xdotool type --delay 20 -- "$line"
    done <<<"$(printf '%b' "$2")"
}

# answer_box KEY: presses KEY in the form's message box once it is shown.
answer_box() {
    wait_until "the message box" window_shown "$message_box_title"
    xdotool search --onlyvisible --name "^$message_box_title\$" windowfocus --sync
    xdotool key "$1"
}
