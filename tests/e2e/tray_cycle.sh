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

xdotool windowminimize "$main"
hidden() { [ -z "$(main_window)" ] && [ -n "$(tray_icon velsokura)" ]; }
wait_until 10 hidden || fail "minimising did not send the window to the notification area"
ok "minimising hides the window into the notification area"
