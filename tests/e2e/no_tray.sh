#!/usr/bin/env bash
# A desktop without a notification area: the window starts on screen, whole;
# minimising leaves it minimised; the options window and its open-file dialog
# open whole on screen, the dialog speaking Japanese. On the first run, on a
# large screen and a small one, the 広告 window opens in front and whole, and
# the main window stays hidden until its 閉じる. On a small screen at 150 %
# the main window fits and its controls scroll into reach.
source "$(dirname "$0")/lib.sh"
start_x 1024x768
start_wm
make_appdir "$1"
printf '1\r\n' >"$APPDIR/velsokura.txt"
start_app

main_window() { visible_window_sized '^velsokura' 600 2000; }
main=$(wait_output 20 main_window) || fail "the main window did not show"
wait_until 10 frame_on_screen "$main" || fail "main window not whole on screen: $(frame_rect "$main")"
ok "main window whole on screen: $(frame_rect "$main")"

iconic() { xprop -id "$main" WM_STATE | grep -q 'Iconic'; }
xdotool windowminimize "$main"
wait_until 10 iconic || fail "the window did not minimise"
if wait_until 2 bash -c "! xprop -id $main WM_STATE | grep -q Iconic"; then
    fail "the minimised window sprang back"
fi
ok "minimised, it stays minimised"

xdotool windowmap "$main"
xdotool windowactivate --sync "$main" key --clearmodifiers alt+b
options=$(wait_output 10 visible_window '^オプション$') || fail "the options window did not open"
wait_until 10 frame_on_screen "$options" || fail "options window not whole: $(frame_rect "$options")"
ok "options window whole on screen: $(frame_rect "$options")"

# Sound 1 by its access key, then the arrow keys to the file choice, which
# enables the open-file button.
xdotool windowactivate --sync "$options" key --clearmodifiers alt+l Right Right Right Right alt+q
dialog=$(wait_output 10 visible_window '^開く$') || fail "no open-file dialog titled 開く"
wait_until 10 frame_on_screen "$dialog" || fail "open-file dialog not whole: $(frame_rect "$dialog")"
ok "open-file dialog titled 開く, whole on screen"

# The topmost of the screen's managed windows.
top_window() { xprop -root _NET_CLIENT_LIST_STACKING | grep -o '0x[0-9a-f]*$'; }
for size in 1280x1024 1024x600; do
    stop_app
    start_x "$size"
    start_wm
    printf '0\r\n' >"$APPDIR/velsokura.txt"
    start_app
    ad=$(wait_output 20 visible_window '^広告$') || fail "$size: the first-run window did not show"
    wait_until 10 frame_on_screen "$ad" || fail "$size: first-run window not whole: $(frame_rect "$ad")"
    if main=$(wait_output 3 main_window); then
        fail "$size: the main window shows beside the first-run window: $(frame_rect "$main")"
    fi
    on_top() { (($(top_window) == ad)); }
    wait_until 5 on_top || fail "$size: the first-run window is behind $(top_window)"
    ok "$size: the first-run window alone, in front and whole: $(frame_rect "$ad")"
    xdotool windowactivate --sync "$ad" key --clearmodifiers alt+a
    wait_until 10 gone '^広告$' || fail "$size: 閉じる did not close the first-run window"
    main=$(wait_output 10 main_window) || fail "$size: the main window did not come back"
    ok "$size: 閉じる brings the main window"
done

# 1024x600 at 150 %: the designed window cannot fit. It takes the screen's
# free area, whole, and scrolled to its far corner its 終了 ends the program.
stop_app
start_x 1024x600
start_wm
printf '1\r\n' >"$APPDIR/velsokura.txt"
start_app env QT_SCALE_FACTOR=1.5
main=$(wait_output 20 main_window) || fail "small screen: the main window did not show"
wait_until 10 frame_on_screen "$main" || fail "small screen: main window not whole: $(frame_rect "$main")"
ok "small screen: main window whole on screen: $(frame_rect "$main")"
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + 200)) $((Y + 200)) click --repeat 10 5 click --repeat 10 7
sleep 0.5
import -window root "$E2E_TMP/small-screen.png" 2>/dev/null || true
# 終了's centre lies 585 x 437 twips (58 x 44 px at 150 %) from the surface's
# far corner, which scrolled lies at the scroll bars (21 px).
xdotool mousemove $((X + WIDTH - 21 - 58)) $((Y + HEIGHT - 21 - 44)) click 1
wait_until 10 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "small screen: 終了 could not be clicked"
ok "small screen: scrolled, 終了 is reached and ends the program"
