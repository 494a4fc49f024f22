#!/usr/bin/env bash
# The notification-area cycle: the program starts as an icon, a left click on
# it brings the window back whole on screen, minimising sends it back.
source "$(dirname "$0")/lib.sh"
start_x 1024x768
start_wm
start_tray
make_appdir "$1"
printf '1\r\n' >"$APPDIR/velsokura.txt"
start_app

main_window() { visible_window_sized '^velsokura' 600 2000; }
icon=$(wait_output 20 tray_icon velsokura) || fail "no icon in the notification area"
[ -z "$(main_window)" ] || fail "the window is shown at start"
ok "starts as an icon at $icon, window hidden"

read -r x y <<<"$icon"
xdotool mousemove "$x" "$y" click 1
main=$(wait_output 10 main_window) || fail "a click on the icon did not bring the window back"
wait_until 10 frame_on_screen "$main" || fail "main window not whole: $(frame_rect "$main")"
icon_gone() { [ -z "$(tray_icon velsokura)" ]; }
wait_until 10 icon_gone || fail "the icon stayed after the window came back"
ok "a click on the icon shows the window whole on screen and removes the icon"
# Centred as it is first shown, not on a guess of its frame taken from the
# icon's own window (put off centre, a busy machine moved it back mid-cycle).
CENTRE_SLACK=20 centred "$main" "the window shown from the icon"

first=$(frame_rect "$main")
hidden() { [ -z "$(main_window)" ] && [ -n "$(tray_icon velsokura)" ]; }
# Ten times as a user does it: each click on the bell brings the window back
# where it was, whole.
for cycle in 1 2 3 4 5 6 7 8 9 10; do
    xdotool windowminimize "$main"
    wait_until 10 hidden || fail "cycle $cycle: minimising did not send the window to the notification area"
    # The bell as the user sees it: docked, where it stays.
    read -r x y <<<"$(wait_output 10 docked_icon velsokura)"
    xdotool mousemove "$x" "$y" click 1
    main=$(wait_output 10 main_window) || fail "cycle $cycle: a click on the bell did not bring the window back"
    wait_until 5 settled_at "$main" "$first" ||
        fail "cycle $cycle: the window came back at $(frame_rect "$main"), not at $first"
done
ok "10 cycles: minimising hides the window into the notification area, the bell brings it back at $first"
xdotool windowminimize "$main"
wait_until 10 hidden || fail "minimising did not send the window to the notification area"

# The first run: the 広告 window and the bell, and no main window mapped at
# any step, not even minimised and undrawn, until the bell is clicked.
stop_app
printf '0\r\n' >"$APPDIR/velsokura.txt"
start_app
# no_main SECONDS WHAT: no main window is mapped at any moment of that time.
no_main() {
    local end=$((SECONDS + $1)) shown
    while ((SECONDS < end)); do
        shown=$(viewable_sized '^velsokura' 600 2000)
        [ -z "$shown" ] || fail "$2: a main window is mapped: $(xwininfo -id "$shown" | grep -E 'Map State|Width' | tr -s '\n ' ' ') $(xprop -id "$shown" WM_STATE _NET_WM_STATE | tr -s '\n\t ' ' ')"
        sleep 0.1
    done
}
ad=$(wait_output 20 visible_window '^広告$') || fail "no 広告 window on the first run"
icon=$(wait_output 20 tray_icon velsokura) || fail "no icon in the notification area on the first run"
wait_until 10 frame_on_screen "$ad" || fail "the 広告 window is not whole on screen"
no_main 3 "with the 広告 window up"
ok "first run: the 広告 window and the icon, no main window"

# The picture (its middle, in the window's client area) opens the page.
xdotool mousemove --window "$ad" 130 150 click 1
opened() { [ -s "$E2E_TMP/opened" ]; }
wait_until 10 opened || fail "a click on the picture opened no page"
no_main 2 "after a click on the picture"
ok "a click on the picture opens $(cat "$E2E_TMP/opened"), no main window"

activate "$ad"
press alt+a
wait_until 10 gone '^広告$' || fail "Close did not end the 広告 window"
no_main 3 "after the 広告 window closed"
[ -n "$(tray_icon velsokura)" ] || fail "the icon went with the 広告 window"
ok "the 広告 window closed: the icon stays, no main window"

read -r x y <<<"$icon"
xdotool mousemove "$x" "$y" click 1
main=$(wait_output 10 main_window) || fail "a click on the icon did not bring the window back on the first run"
wait_until 10 frame_on_screen "$main" || fail "main window not whole on the first run: $(frame_rect "$main")"
ok "first run: a click on the icon shows the window"

# One program per folder, whatever its environment: the same copy started
# again with another temporary folder is refused, and the first runs on.
mkdir -p "$E2E_TMP/other-tmp"
(cd "$APPDIR" && TMPDIR="$E2E_TMP/other-tmp" exec "$APPDIR/velsokura") >"$E2E_TMP/second.log" 2>&1 &
second=$!
E2E_PIDS+=($second)
box=$(wait_output 20 visible_window_sized '^velsokura$' 100 500) || fail "the second start said nothing"
activate "$box"
press Return
wait_until 10 bash -c "! kill -0 $second 2>/dev/null" || fail "the second start did not end"
kill -0 "$APP_PID" || fail "the first program ended with the second"
ok "a second start with another TMPDIR is refused; the first runs on"
