#!/usr/bin/env bash
# The alarm window on a real desktop: the start-up notice and then an alarm
# with a text far wider than the screen open whole on screen, title bar
# included, centred and kept above other windows; then, over repeated starts,
# such an alarm as the window's very first showing, and one that falls due
# while the user types into another window.
source "$(dirname "$0")/lib.sh"
start_x 1024x600 # the netbook screen the alarm once opened off
start_wm
start_pulse # a desktop with sound: the alarm plays as it does for a user
make_appdir "$1"

long=$(printf '長い予定%.0s' {1..25}) # 100 characters
printf '1\r\n2026/12/07/09:30#:;*$=\\#:\\*; %s\r\n' "$long" | iconv -f UTF-8 -t CP932 >"$APPDIR/velsokura.txt"
fake_clock '@2026-12-07 09:29:52'
start_app "${CLOCK[@]}"
read -r sw sh <<<"$(xdotool getdisplaygeometry)"

centred() {
    local left top right bottom
    read -r left top right bottom <<<"$(frame_rect "$1")"
    (((left + right) / 2 - sw / 2 <= 2 && sw / 2 - (left + right) / 2 <= 2)) &&
        (((top + bottom) / 2 - sh / 2 <= 2 && sh / 2 - (top + bottom) / 2 <= 2))
}
whole() { frame_on_screen "$1" && centred "$1"; }

# The status window of the loading has the same title; only the notice is
# kept above.
notice=$(wait_output 20 above_window '^velsokura$') || fail "the start-up notice did not show"
wait_until 10 whole "$notice" || fail "start-up notice not whole and centred: frame $(frame_rect "$notice")"
ok "start-up notice whole on screen and centred: $(frame_rect "$notice")"
is_above "$notice" || fail "start-up notice is not kept above other windows"
ok "start-up notice kept above"

# The alarm at 09:30 reuses the window, now as wide as the screen allows.
wide() { eval "$(xdotool getwindowgeometry --shell "$1" | grep '^WIDTH=')"; ((WIDTH > 900)); }
wait_until 30 wide "$notice" || fail "the alarm did not widen the window"
wait_until 10 whole "$notice" || fail "alarm window not whole and centred: frame $(frame_rect "$notice")"
ok "alarm window with a 100-character text whole on screen and centred: $(frame_rect "$notice")"
is_above "$notice" || fail "alarm window is not kept above other windows"
ok "alarm window kept above"

# An alarm that is the window's first showing, on fresh starts: each time the
# window opens already as wide as its text and centred, never first at the
# small size and widened where that left it.
for run in 1 2 3 4 5 6 7; do
    stop_app
    rm -rf "$APPDIR/RirekiData.dat" "$APPDIR/Rireki" # no history: no start-up notice
    printf '1\r\n2026/12/08/00:00#:;*$=\\#:\\*; %s\r\n' "$long" | iconv -f UTF-8 -t CP932 >"$APPDIR/velsokura.txt"
    fake_clock '@2026-12-07 23:59:54'
    start_app "${CLOCK[@]}"
    alarm=$(wait_output 30 above_window '^velsokura$') || fail "run $run: the alarm did not show"
    wait_until 10 wide "$alarm" || fail "run $run: the alarm window is not wide: frame $(frame_rect "$alarm")"
    wait_until 10 whole "$alarm" || fail "run $run: alarm window not whole and centred: frame $(frame_rect "$alarm")"
    ok "run $run: alarm window as its first showing whole on screen and centred: $(frame_rect "$alarm")"
done

# A program started while the user types into another window (at login)
# takes no key from it: neither its loading window nor a start-up box (the
# last exit left the schedule file without its first line), which the user
# answers. Nor does an alarm that falls due during the typing: every key
# reaches that window, the alarm comes up above it, and a click on OK
# answers it.
stop_app
rm -rf "$APPDIR/RirekiData.dat" "$APPDIR/Rireki"
printf '2026/12/08/00:00#:;*$=\\#:\\*; 打ち合わせ\r\n' | iconv -f UTF-8 -t CP932 >"$APPDIR/velsokura.txt"
xev -name e2e-typing -geometry 800x500+100+50 >"$E2E_TMP/typed" 2>/dev/null &
E2E_PIDS+=($!)
typing=$(wait_output 10 visible_window '^e2e-typing$') || fail "no window to type into"
xdotool windowactivate --sync "$typing" >/dev/null 2>&1 || fail "the typing window cannot be focused"
typed() { (($(grep -c '^KeyPress event' "$E2E_TMP/typed") >= sent)); }
fake_clock '@2026-12-07 23:59:40'
start_app "${CLOCK[@]}"
sent=0
until box=$(above_window '^velsokura$') && [ -n "$box" ]; do
    xdotool key --delay 0 a
    sent=$((sent + 1))
    ((sent < 2000)) || fail "no start-up box"
done
for _ in {1..20}; do xdotool key --delay 0 a; sent=$((sent + 1)); done
wait_until 5 typed || fail "the start-up box took keys: $sent sent, $(grep -c '^KeyPress event' "$E2E_TMP/typed") reached the typing window"
[ "$(xdotool getactivewindow)" = "$typing" ] || fail "the start-up box took the focus from the typing window"
shown '^velsokura$' || fail "a key typed elsewhere answered the start-up box"
ok "start-up box while typing: all $sent keys reached the typing window, which kept the focus"
activate "$box"
press alt+j # ＯＫ(&J)
wait_until 30 shown '^velsokura　' || fail "no main window after the start-up box"
xdotool windowactivate --sync "$typing" >/dev/null 2>&1 || fail "the typing window cannot be focused"
since=
until [ -n "$since" ] && ((SECONDS >= since + 2)); do
    xdotool key --delay 0 a
    sent=$((sent + 1))
    [ -n "$since" ] || { [ -n "$(above_window '^velsokura$')" ] && since=$SECONDS; }
    ((sent < 2000)) || fail "the alarm did not show while typing"
done
alarm=$(above_window '^velsokura$')
wait_until 5 typed || fail "the alarm took keys: $sent sent, $(grep -c '^KeyPress event' "$E2E_TMP/typed") reached the typing window"
[ "$(xdotool getactivewindow)" = "$typing" ] || fail "the alarm took the focus from the typing window"
shown '^velsokura$' || fail "a key typed elsewhere answered the alarm"
stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*' | xargs printf '%d\n')
above=$(grep -n "^$alarm\$" <<<"$stacking" | cut -d: -f1)
below=$(grep -n "^$typing\$" <<<"$stacking" | cut -d: -f1)
((above > below)) || fail "the alarm is stacked under the typing window"
ok "alarm while typing: all $sent keys reached the typing window, which kept the focus; the alarm is up above it"
info=$(xwininfo -id "$alarm")
x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") w=$(sed -n 's/^ *Width: *//p' <<<"$info")
y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info") h=$(sed -n 's/^ *Height: *//p' <<<"$info")
# OK sits centred at the window's foot (29 px above its bottom at 96 DPI).
xdotool mousemove $((x + w / 2)) $((y + h - 29)) click 1
wait_until 10 gone '^velsokura$' || fail "a click on OK did not answer the alarm"
ok "a click on OK answers the alarm"
