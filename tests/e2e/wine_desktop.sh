#!/usr/bin/env bash
# The Windows program on Wine's own desktop (explorer /desktop=), where Wine
# draws the frames and keeps a taskbar with its notification area, as Windows
# does, and openbox frames only the desktop. The bell docks in the taskbar; a
# click on it shows the main window centred on the work area above the
# taskbar; its own minimise button sends it back; ten times, the window
# coming back where it was. The first-run window, options, history, the
# reset question and a second start's box are centred there too.
# Usage: wine_desktop.sh WINDOWS_PROGRAM.exe
source "$(dirname "$0")/lib.sh"
need wine import convert
start_x 1280x1024
start_wm
start_wine_prefix
# A desktop of the shell (a Windows user's): its taskbar stays while no icon
# is docked, and holds the buttons of the windows shown.
"$WINE_RUN" reg add 'HKCU\Software\Wine\Explorer\Desktops\velsokura' /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1
dir=$E2E_TMP/app
mkdir -p "$dir"
cp -r "$(dirname "$1")"/{velsokura.exe,*.dll,platforms,styles,translations,*.mp3} "$dir/"
# A first run, a schedule of tomorrow's and one in the history.
printf '0\r\n2026/12/31/10:30#:;*$=\\#:\\*; 大掃除\r\n' | iconv -f UTF-8 -t CP932 >"$dir/velsokura.txt"
printf '1,0,0,\r\n' >"$dir/AppData.txt"
printf '2026/12/06/21:00/ 読書会\r\n' | iconv -f UTF-8 -t CP932 >"$dir/RirekiData.dat"
(cd "$dir" && exec env -u QT_QPA_PLATFORM "$WINE_RUN" explorer /desktop=velsokura,1024x768 velsokura.exe) \
    >"$E2E_TMP/app.log" 2>&1 &
E2E_PIDS+=($!)
desktop=$(wait_output 60 visible_window '^velsokura - Wine desktop$') || fail "no Wine desktop"
wait_until 20 frame_on_screen "$desktop" || fail "the desktop is not framed"
eval "$(xwininfo -id "$desktop" | sed -n 's/.*Absolute upper-left X: */DX=/p; s/.*Absolute upper-left Y: */DY=/p')"

# geometry NAME_REGEX: the window as Wine has it, "x y width height" on the
# desktop, nothing while unmapped.
geometry() {
    local id info
    for id in $(xdotool search --name "$1" 2>/dev/null); do
        info=$(xwininfo -id "$id" 2>/dev/null) && grep -q IsViewable <<<"$info" || continue
        echo "$(($(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") - DX))" \
            "$(($(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info") - DY))" \
            "$(sed -n 's/^ *Width: *//p' <<<"$info")" "$(sed -n 's/^ *Height: *//p' <<<"$info")"
        return 0
    done
    return 1
}
main_geometry() { geometry '^velsokura　'; }
hidden() { ! main_geometry >/dev/null; }
# placed NAME_REGEX WHAT: that window shows, centred on the work area (the
# desktop above its taskbar, 20 to 30 px high) and whole above the taskbar.
placed() {
    local at x y w h cy
    at=$(wait_output 20 geometry "$1") || fail "no $2"
    sleep 1 # Wine moves a window it shows once it is drawn
    at=$(geometry "$1")
    read -r x y w h <<<"$at"
    ((x + w / 2 >= 512 - 3 && x + w / 2 <= 512 + 3)) || fail "$2 is not centred across: $at"
    cy=$((y + h / 2))
    ((cy >= (768 - 30) / 2 - 3 && cy <= (768 - 20) / 2 + 3)) || fail "$2 is not centred on the work area: $at"
    ((x >= 0 && y >= 0 && y + h <= 768 - 20)) || fail "$2 is not whole above the taskbar: $at"
    ok "$2 centred on the work area: $at"
}
# to NAME_REGEX KEY: KEY to that window, made active by a click on its caption
# (Wine keeps the focus on its desktop: X's does not tell it).
to() {
    local x y w h
    read -r x y w h <<<"$(geometry "$1")"
    xdotool mousemove $((DX + x + w / 2)) $((DY + y + 8)) sleep 0.3 click 1 sleep 0.5
    press "$2"
}
# answer NAME_REGEX KEY WHAT: KEY to that window until it has gone.
answer() {
    local i
    for i in 1 2 3; do
        to "$1" "$2"
        wait_until 5 gone_desktop "$1" && return 0
    done
    fail "$3 stays after $2"
}
gone_desktop() { ! geometry "$1" >/dev/null; }

placed '^広告$' "the first-run window"
answer '^広告$' alt+a "the first-run window" # 閉じる(&A)
# The bell: the taskbar's rightmost icon (16 px and a 2 px border) at the
# desktop's bottom right; the taskbar is 20 px high or more.
bell() {
    wait_until 30 bell_docked || fail "no bell in Wine's taskbar"
    xdotool mousemove $((DX + 1024 - 10)) $((DY + 768 - 11)) sleep 0.3 click 1
}
# bell_docked: the bell's gold is drawn there (Wine's taskbar has no X window
# per icon to look for).
bell_docked() {
    import -window root -crop 5x5+$((DX + 1024 - 12))+$((DY + 768 - 13)) +repage txt:- 2>/dev/null |
        grep -qE 'srgb\((2[0-9][0-9]|1[6-9][0-9]),(1[0-9][0-9]|2[0-9][0-9]),([0-9]|[0-9][0-9])\)'
}

bell
placed '^velsokura　' "the main window a click on the bell shows"
at=$(main_geometry)
read -r x y w h <<<"$at"
# The close button in the caption's top right corner shows Marlett's cross
# (16 dark pixels at 100 %), not the "r" (7) another face draws for it.
dark=$(import -window root -crop 24x24+$((DX + x + w - 24))+$((DY + y)) +repage png:- |
    convert - -colorspace gray -threshold 40% txt:- | grep -c 'gray(0)' || true)
((dark >= 12)) || fail "the caption's close button is no cross: $dark dark pixels"
ok "the caption's buttons are drawn in Marlett ($dark dark pixels in the close button)"
for cycle in 1 2 3 4 5 6 7 8 9 10; do
    # Wine's minimise button: the third of the caption's buttons from the right.
    xdotool mousemove $((DX + x + w - 47)) $((DY + y + 11)) sleep 0.3 click 1
    wait_until 10 hidden || fail "cycle $cycle: the minimise button left the window up"
    sleep 1
    bell
    now=$(wait_output 20 main_geometry) || fail "cycle $cycle: a click on the bell showed no window"
    sleep 1
    now=$(main_geometry)
    [ "$now" = "$at" ] || fail "cycle $cycle: the window came back at $now, not at $at"
done
ok "10 cycles on Wine's desktop: the window comes back at $at"
to '^velsokura　' alt+b # オプション(&B)
placed '^オプション$' "the options window"
answer '^オプション$' alt+t "the options window" # 閉じる(&T)
to '^velsokura　' alt+e # 履歴(&E)
placed '^velsokura 予定の履歴$' "the history window"
answer '^velsokura 予定の履歴$' alt+a "the history window" # 閉じる(&A)
to '^velsokura　' alt+g # リセット(&G)
placed '^velsokura$' "the reset question"
answer '^velsokura$' alt+y "the reset question" # いいえ(&Y)
grep -q 2026/12/31 "$dir/velsokura.txt" || fail "いいえ to the reset question dropped the schedule"
# A second start in the same folder, on the same desktop: the box that the
# program runs already.
(cd "$dir" && exec env -u QT_QPA_PLATFORM "$WINE_RUN" explorer /desktop=velsokura,1024x768 velsokura.exe) \
    >"$E2E_TMP/second.log" 2>&1 &
second=$!
E2E_PIDS+=($second)
placed '^velsokura$' "the second start's box"
answer '^velsokura$' Return "the second start's box"
wait_until 20 bash -c "! kill -0 $second 2>/dev/null" || fail "the second start did not end after OK"
