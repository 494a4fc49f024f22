#!/usr/bin/env bash
# The Windows program on Wine's own desktop (explorer /desktop=), where Wine
# draws the frames and keeps a taskbar with its notification area, as Windows
# does, and openbox frames only the desktop. The bell docks in the taskbar; a
# click on it shows the main window centred on the work area above the
# taskbar; its own minimise button sends it back; ten times, the window
# coming back where it was.
# Usage: wine_desktop.sh WINDOWS_PROGRAM.exe
source "$(dirname "$0")/lib.sh"
need wine import
start_x 1280x1024
start_wm
start_wine_prefix
# A desktop of the shell (a Windows user's): its taskbar stays while no icon
# is docked, and holds the buttons of the windows shown.
"$WINE_RUN" reg add 'HKCU\Software\Wine\Explorer\Desktops\velsokura' /v EnableShell /t REG_DWORD /d 1 /f >/dev/null 2>&1
dir=$E2E_TMP/app
mkdir -p "$dir"
cp -r "$(dirname "$1")"/{velsokura.exe,*.dll,platforms,styles,translations,*.mp3} "$dir/"
printf '1\r\n' >"$dir/velsokura.txt"
printf '1,0,0,\r\n' >"$dir/AppData.txt"
(cd "$dir" && exec env -u QT_QPA_PLATFORM "$WINE_RUN" explorer /desktop=velsokura,1024x768 velsokura.exe) \
    >"$E2E_TMP/app.log" 2>&1 &
E2E_PIDS+=($!)
desktop=$(wait_output 60 visible_window '^velsokura - Wine desktop$') || fail "no Wine desktop"
wait_until 20 frame_on_screen "$desktop" || fail "the desktop is not framed"
eval "$(xwininfo -id "$desktop" | sed -n 's/.*Absolute upper-left X: */DX=/p; s/.*Absolute upper-left Y: */DY=/p')"

# The window as Wine has it: "x y width height" on the desktop, nothing while unmapped.
main_geometry() {
    local id info
    id=$(xdotool search --name '^velsokura　' 2>/dev/null | head -n 1)
    [ -n "$id" ] && info=$(xwininfo -id "$id") && grep -q IsViewable <<<"$info" || return 1
    echo "$(($(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") - DX))" \
        "$(($(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info") - DY))" \
        "$(sed -n 's/^ *Width: *//p' <<<"$info")" "$(sed -n 's/^ *Height: *//p' <<<"$info")"
}
hidden() { ! main_geometry >/dev/null; }
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
at=$(wait_output 20 main_geometry) || fail "a click on the bell showed no window"
sleep 1
at=$(main_geometry)
read -r x y w h <<<"$at"
# The work area is the desktop above its taskbar (20 to 30 px).
((x + w / 2 >= 512 - 3 && x + w / 2 <= 512 + 3)) || fail "not centred across: $at"
cy=$((y + h / 2))
((cy >= (768 - 30) / 2 - 3 && cy <= (768 - 20) / 2 + 3)) || fail "not centred on the work area: $at"
((y >= 0 && y + h <= 768 - 20)) || fail "not whole above the taskbar: $at"
ok "a click on the bell shows the window centred on the work area: $at"
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
