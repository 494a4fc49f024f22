#!/usr/bin/env bash
# A desktop without a notification area: the window starts on screen, whole;
# minimising leaves it minimised; the options window and its open-file dialog
# open whole on screen, the dialog speaking Japanese.
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
