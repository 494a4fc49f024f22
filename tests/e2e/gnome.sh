#!/usr/bin/env bash
# GNOME on Wayland, Debian's own desktop, in a real headless GNOME Shell with
# the AppIndicator extension: the start-up notice and the alarm come up
# centred and above a focused, maximised window, through whatever connection
# the program chooses by itself, while every key typed goes on reaching that
# window; a click answers the alarm; the bell's cycle ten times, the window
# coming back where it was; a logout through a real gnome-session keeps
# what 終了 keeps, for the program as the session's X client (XSMP) and as
# its D-Bus client (on Wayland itself), and so does the Shell's end; at
# 200 % the alarm is twice its size. Natively on Wayland, where the user
# asks for it: no key typed for another window answers the alarm, the Shell's
# notification tells of it while covered, and the title bar's minimise cycles
# with the bell.
source "$(dirname "$0")/lib.sh"
need xev
make_appdir "$1"
# The menu entry as the package installs it, and the program it runs found
# on the PATH (the Shell ignores an entry whose program it cannot find).
mkdir -p "$E2E_TMP/gnome/data/applications"
cp "$(dirname "$0")/../../assets/linux/io.github.velsokura.velsokura.desktop" "$E2E_TMP/gnome/data/applications/"
export PATH="$APPDIR:$PATH"
GNOME_SESSION=1 start_gnome ubuntu-appindicators@ubuntu.com

text=$(printf '会議%.0s' {1..12}) # wider than the notice
# fresh_files: an appointment at 09:30, a history of one entry, the settings
# (in LF: the exit writes CR LF) with the history exported at the exit.
fresh_files() {
    printf '1\r\n2026/12/07/09:30#:;*$=\\#:\\*; %s\r\n' "$text" | iconv -f UTF-8 -t CP932 >"$APPDIR/velsokura.txt"
    printf '2026/12/06/09:00/ dentist\r\n' >"$APPDIR/RirekiData.dat"
    printf '1,0,1,\n' >"$APPDIR/AppData.txt"
    rm -rf "$APPDIR/Rireki"
}
fresh_files

# The user's terminal: maximised, focused, typed into.
xev -name e2e-typing >"$E2E_TMP/typed" 2>/dev/null &
E2E_PIDS+=($!)
wait_output 20 gnome_window '^e2e-typing$' >/dev/null || fail "no window to type into"
shell_eval "$SHELL_JS const w = win('^e2e-typing\$'); w.maximize(imports.gi.Meta.MaximizeFlags.BOTH);
    w.activate(global.get_current_time()); 'ok'" >/dev/null
typing_focused() { [ "$(gnome_window '^e2e-typing$' | cut -d' ' -f6)" = true ]; }
wait_until 10 typing_focused || fail "the typing window cannot be focused: $(gnome_window '^e2e-typing$')"
gnome_point 5 400 # the pointer rests on the typing window
typed() { grep -c '^KeyPress event' "$E2E_TMP/typed"; }
type_some() { gnome_keys a 5; sent=$((sent + 5)); }
# A new virtual keyboard's first keys may come before the keymap: typed
# until one arrives, counted from there (each try with a new keyboard).
arrived() {
    shell_eval "$SHELL_JS global.velsokuraKeys = null; win('^e2e-typing\$').activate(global.get_current_time()); 'ok'" >/dev/null
    gnome_keys a 1
    sleep 0.2
    (($(typed) > 0))
}
wait_until 10 arrived || fail "no key reaches the typing window: $(gnome_window '^e2e-typing$'); it saw: $(grep -o '^[A-Za-z]* event' "$E2E_TMP/typed" | sort | uniq -c | tr -s '\n ' ' ')"
sleep 0.2
sent=$(typed)

fake_clock '@2026-12-07 09:29:45'
start_app "${CLOCK[@]}"
# notice_up: the start-up notice (kept above; the loading's window is not).
notice_up() { [ "$(gnome_window '^velsokura$' | cut -d' ' -f5)" = true ]; }
until notice_up; do type_some; ((SECONDS < 60)) || fail "no start-up notice"; done
read -r x y w h above focused minimized client <<<"$(gnome_window '^velsokura$')"
[ "$client" = x11 ] || fail "in a Wayland session with Xwayland the program did not choose X11: $client"
ok "start-up notice through $client (the program's own choice) at $x,$y ${w}x$h, above: $above, focused: $focused"
notice_width=$w
check_up() {
    local what=$1
    wait_until 5 gnome_centred '^velsokura$' || fail "$what: not centred on the work area: $(gnome_window '^velsokura$')"
    gnome_on_top '^velsokura$' || fail "$what: not on top of the maximised window: $(gnome_stacking)"
    [[ $(gnome_window '^velsokura$') == *' true false false '* ]] || fail "$what: not kept above, or took the focus: $(gnome_window '^velsokura$')"
    typing_focused || fail "$what: the typing window lost the focus"
}
check_up "start-up notice"
app=$(shell_eval "$SHELL_JS imports.gi.Shell.WindowTracker.get_default().get_window_app(win('^velsokura\$')).get_id()")
[ "$app" = io.github.velsokura.velsokura.desktop ] ||
    fail "the Shell takes the window for another program's: $app (class, instance, app id: $(shell_eval "$SHELL_JS const w = win('^velsokura\$'); [w.get_wm_class(), w.get_wm_class_instance(), w.get_gtk_application_id(), !!imports.gi.Shell.AppSystem.get_default().lookup_app('io.github.velsokura.velsokura.desktop')].join(' ')"))"
ok "the Shell knows the window by the installed menu entry: $app"
gnome_screenshot "$E2E_TMP/notice.png"

# Left waiting, the notice becomes the alarm at 09:30; the typing goes on.
# (Above, as the loading window, of the same title, is not.)
alarm_up() {
    local _x _y aw _h aabove _
    read -r _x _y aw _h aabove _ <<<"$(gnome_window '^velsokura$')"
    [ "${aabove:-}" = true ] && ((aw > notice_width))
}
until alarm_up; do type_some; ((SECONDS < 120)) || fail "no alarm"; done
type_some
reached() { (($(typed) >= sent)); }
wait_until 10 reached || fail "the alarm took keys: $sent sent, $(typed) reached the typing window"
check_up "alarm"
# Its size once fitted: the line telling that no sound can play joins it when
# the first play has been tried.
settled() {
    local before
    before=$(gnome_window '^velsokura$' | cut -d' ' -f3,4)
    sleep 1
    [ "$before" = "$(gnome_window '^velsokura$' | cut -d' ' -f3,4)" ]
}
wait_until 10 settled || fail "the alarm keeps changing its size: $(gnome_window '^velsokura$')"
read -r x y w h above focused minimized client <<<"$(gnome_window '^velsokura$')"
ok "alarm over the notice through $client at $x,$y ${w}x$h, centred, on top, the focus left; all $sent keys reached the typing window"
alarm_at_1="$w $h"
gnome_screenshot "$E2E_TMP/alarm.png"

# A click on OK answers it.
gnome_click $((x + w / 2)) $((y + h - 29))
alarm_gone() { [ -z "$(gnome_window '^velsokura$')" ]; }
wait_until 10 alarm_gone || fail "a click on OK did not answer the alarm: $(gnome_window '^velsokura$')"
ok "a click on OK answers the alarm"

# The bell's cycle: a click shows the window where it was, minimising sends
# it back to the bell.
main_up() { read -r mx my mw mh _ _ mmin _ <<<"$(gnome_window '^velsokura　')" && [ "$mmin" = false ]; }
main_gone() { [ -z "$(gnome_window '^velsokura　')" ] && [ -n "$(gnome_tray_icon)" ]; }
moved=
for cycle in 1 2 3 4 5 6 7 8 9 10; do
    icon=$(wait_output 10 gnome_tray_icon) || fail "cycle $cycle: no bell in the top bar"
    gnome_click $icon
    wait_until 10 main_up || fail "cycle $cycle: a click on the bell did not show the window"
    settle_until() { local before; before=$(gnome_window '^velsokura　'); sleep 0.3; [ "$(gnome_window '^velsokura　')" = "$before" ]; }
    wait_until 5 settle_until
    main_up
    if ((cycle == 1)); then
        first="$mx $my"
    elif [ "$mx $my" != "$first" ] && [ -z "$moved" ]; then
        # Told at the end: the logout below still runs.
        moved="cycle $cycle: the window came back at $mx,$my, not at $first"
    fi
    shell_eval "$SHELL_JS win('^velsokura　').minimize(); 'ok'" >/dev/null
    wait_until 10 main_gone || fail "cycle $cycle: minimising did not send the window back to the bell: $(gnome_window '^velsokura　')"
done
ok "10 cycles of the bell: each a click showing the window and minimising sending it back"

# What a logout finds: the alarm's entry waits in the history with the entry
# before it, and the history window holds an edit.
history_edited() {
    gnome_click $(wait_output 10 gnome_tray_icon) || fail "$1: no bell"
    wait_until 10 main_up || fail "$1: the bell did not show the window"
    shell_eval "$SHELL_JS win('^velsokura　').activate(global.get_current_time()); 'ok'" >/dev/null
    main_focused() { [ "$(gnome_window '^velsokura　' | cut -d' ' -f6)" = true ]; }
    wait_until 10 main_focused || fail "$1: the main window cannot be focused"
    # 履歴(&E), again while nothing comes: a Shell's new virtual keyboard
    # may lose its first keys.
    history_up() { gnome_combo Alt_L e; wait_output 2 gnome_window '^velsokura 予定の履歴$' >/dev/null; }
    wait_until 10 history_up || fail "$1: no history window"
    # Given the keyboard as a click on it would.
    history_focused() {
        shell_eval "$SHELL_JS win('^velsokura 予定の履歴\$').activate(global.get_current_time()); 'ok'" >/dev/null
        [ "$(gnome_window '^velsokura 予定の履歴$' | cut -d' ' -f6)" = true ]
    }
    wait_until 10 history_focused || fail "$1: the history window has not the keyboard"
    gnome_combo Control_L End
    for key in x y z; do gnome_combo $key; done
    wait_until 10 settled || fail "$1: the program stays busy"
}
# saved_as_exit WHAT [FIRST]: the files are as 終了 leaves them: the
# schedule marked, the history with the alarm's entry and the entry before
# it as FIRST (default: with the window's edit), exported once, the settings
# written.
saved_as_exit() {
    local first=${2:-dentistxyz} exports
    wait_until 20 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "$1: the program did not end"
    [ "$(head -n 1 "$APPDIR/velsokura.txt")" = $'1\r' ] ||
        fail "$1: the schedule file is not as the exit leaves it: $(cat -A "$APPDIR/velsokura.txt")"
    grep -q '^2026/12/07/09:30/ 会議' <(iconv -f CP932 -t UTF-8 "$APPDIR/RirekiData.dat") &&
        grep -qx "2026/12/06/09:00/ $first"$'\r' "$APPDIR/RirekiData.dat" ||
        fail "$1: the history lost the alarm's entry or the window's edit: $(cat -A "$APPDIR/RirekiData.dat")"
    exports=$(ls "$APPDIR/Rireki" 2>/dev/null | wc -l)
    ((exports == 1)) && grep -q '^2026/12/07/09:30/ 会議' <(iconv -f CP932 -t UTF-8 "$APPDIR"/Rireki/*) ||
        fail "$1: the history was not exported once: $exports files: $(ls "$APPDIR/Rireki" 2>&1)"
    grep -q $'\r$' "$APPDIR/AppData.txt" || fail "$1: the settings were not written"
}

# Natively on Wayland (QT_QPA_PLATFORM=wayland, the user's own choice), where
# the compositor keeps no client's window above and gives every new window
# the keyboard: the keys typed on answer neither the notice nor the alarm;
# covered, the alarm is told by the Shell's notification, whose click brings
# it; a key then answers it and withdraws the notification; the title bar's
# minimise sends the window back to the bell, ten times. (Its logout is the
# D-Bus client's below.)
native_wayland() {
    printf '1\r\n2026/12/07/09:30#:;*$=\\#:\\*; %s\r\n' "$text" | iconv -f UTF-8 -t CP932 >"$APPDIR/velsokura.txt"
    printf '2026/12/06/09:00/ dentist\r\n' >"$APPDIR/RirekiData.dat"
    printf '1,0,0,\n' >"$APPDIR/AppData.txt"
    shell_eval "$SHELL_JS Main.messageTray._bannerBin.show(); win('^e2e-typing\$').activate(global.get_current_time()); 'ok'" >/dev/null
    fake_clock '@2026-12-07 09:29:55'
    local before end x y w h _ client notice=
    before=$(typed) sent=0
    start_app env QT_QPA_PLATFORM=wayland "${CLOCK[@]}"
    end=$((SECONDS + 12)) # past 09:30:05, when the alarm has come
    # Words and spaces: a space would press OK.
    while ((SECONDS < end)); do type_some; gnome_keys space 1; sent=$((sent + 1)); sleep 0.2; done
    read -r x y w h _ _ _ client <<<"$(gnome_window '^velsokura$')"
    [ "$client" = wayland ] || fail "native: no window through Wayland: $(gnome_window '^velsokura$')"
    ok "native: of $sent keys typed for the terminal, $(($(typed) - before)) reached it; none answered the notice or the alarm (at $x,$y ${w}x$h, not centred, not above: Wayland gives a client neither)"
    # The user goes back to the terminal: the alarm is covered.
    shell_eval "$SHELL_JS win('^e2e-typing\$').activate(global.get_current_time()); 'ok'" >/dev/null
    told() { notice=$(gnome_notifications) && [ -n "$notice" ] && [ -n "$(gnome_banner)" ]; }
    wait_until 5 told || fail "native: the covered alarm is not told: $(gnome_stacking)"
    [ "$notice" = "2026/12/07/09:30| $text" ] || fail "native: the notification is not the alarm's: $notice"
    gnome_screenshot "$E2E_TMP/native-alarm.png"
    gnome_click $(gnome_banner)
    brought() { gnome_on_top '^velsokura$' && [ "$(gnome_window '^velsokura$' | cut -d' ' -f6)" = true ]; }
    wait_until 5 brought || fail "native: a click on the notification did not bring the alarm: $(gnome_window '^velsokura$') $(gnome_stacking)"
    gnome_keys space 1
    wait_until 5 alarm_gone || fail "native: a key did not answer the alarm the user went to"
    withdrawn() { [ -z "$(gnome_notifications)" ]; }
    wait_until 5 withdrawn || fail "native: the answered alarm's notification stays: $(gnome_notifications)"
    # The Shell's banners out of the way again: its own, queued meanwhile,
    # would cover the title bar.
    shell_eval "Main.messageTray._bannerBin.hide(); 'ok'" >/dev/null
    ok "native: covered, the alarm was told by the Shell's notification ($notice); its click brought the alarm, a key answered it, the notification went"
    local cycle place
    for cycle in 1 2 3 4 5 6 7 8 9 10; do
        gnome_click $(wait_output 10 gnome_tray_icon) || fail "native, cycle $cycle: no bell"
        wait_until 10 main_up || fail "native, cycle $cycle: the bell did not show the window"
        wait_until 5 settle_until
        main_up
        place=${place:-$mx,$my}
        [ "$mx,$my" = "$place" ] || fail "native, cycle $cycle: the window came back at $mx,$my, not at $place"
        # Qt's own title bar: its minimise button 63 px from the right.
        gnome_click $((mx + mw - 63)) $((my + 15))
        wait_until 10 main_gone || fail "native, cycle $cycle: the title bar's minimise did not send the window to the bell: $(gnome_window '^velsokura　')"
    done
    ok "native: 10 cycles of the bell and the title bar's minimise, the window at $place each time (where the compositor places it)"
    stop_app
}
stop_app
native_wayland

# alarm_answered WHAT OFFSET: the day's files again, the program started
# before the alarm, which comes and is answered by a click on OK (OFFSET px
# above its bottom).
alarm_answered() {
    fresh_files
    fake_clock '@2026-12-07 09:29:56'
    start_app "${CLOCK[@]}"
    wait_until 60 alarm_up || fail "$1: no alarm"
    read -r x y w h _ <<<"$(gnome_window '^velsokura$')"
    gnome_click $((x + w / 2)) $((y + h - $2))
    wait_until 10 alarm_gone || fail "$1: a click on OK did not answer the alarm"
}

# A logout through gnome-session. Through Xwayland the program is its X
# client (XSMP, as SESSION_MANAGER tells), and only that.
alarm_answered "logout" 29
history_edited "logout"
gnome_screenshot "$E2E_TMP/history.png"
session_log="$E2E_TMP/gnome-shell.log"
xsmp_pid=$APP_PID xsmp_dir=$APPDIR
xsmp_registered() { grep -qF "Program = '$xsmp_dir/velsokura'" "$session_log"; }
wait_until 10 xsmp_registered || fail "logout: through X11 the program did not register with gnome-session"
! gnome_session_clients | grep -q " $APP_ID\$" ||
    fail "logout: through X11 the program registered over D-Bus as well: $(gnome_session_clients | tr '\n' ,)"
# Beside it the same program of another folder on Wayland itself, with no X
# session to join: gnome-session's D-Bus client, its alarm waiting for OK.
make_appdir "$1" "$E2E_TMP/app-wayland"
fresh_files
fake_clock '@2026-12-07 09:29:58'
APP_LOG=app-wayland start_app env QT_QPA_PLATFORM=wayland "${CLOCK[@]}"
read -r w1 h1 <<<"$alarm_at_1"
native_alarm_up() {
    local _x _y nw _
    read -r _x _y nw _ <<<"$(gnome_window '^velsokura$')"
    [[ $(gnome_window '^velsokura$') == *' wayland' ]] && ((${nw:-0} * 10 >= w1 * 9))
}
wait_until 30 native_alarm_up || fail "logout: on Wayland no alarm: $(gnome_window '^velsokura$')"
dbus_registered() { [ "$(gnome_session_clients | grep -cx "$APP_PID $APP_ID")" = 1 ]; }
wait_until 10 dbus_registered || fail "logout: on Wayland the program did not register with gnome-session: $(gnome_session_clients | tr '\n' ,)"
wayland_pid=$APP_PID wayland_dir=$APPDIR
alive() { kill -0 "$xsmp_pid" 2>/dev/null && kill -0 "$wayland_pid" 2>/dev/null; }

# First another program holds the logout up, as one with unsaved work does:
# asked, the X client has written everything at once (the export is left to
# the exit) and both go on; the user cancels in GNOME's dialog, and both
# still go on.
gnome-session-inhibit --inhibit logout --reason "unsaved work" --inhibit-only &
holder=$!
E2E_PIDS+=($holder)
inhibited() {
    [ "$(gdbus call --session -d org.gnome.SessionManager -o /org/gnome/SessionManager \
        -m org.gnome.SessionManager.IsInhibited 1)" = "(true,)" ]
}
wait_until 10 inhibited || fail "held logout: gnome-session-inhibit did not hold the logout"
DIALOG_JS="const d = Main.layoutManager.modalDialogGroup.get_children().find(a => a.constructor.name === 'EndSessionDialog');"
dialog_up() { [ "$(shell_eval "$DIALOG_JS !!d && d.state === imports.ui.modalDialog.State.OPENED")" = true ]; }
gnome-session-quit --logout --no-prompt || fail "held logout: gnome-session-quit failed"
wait_until 20 dialog_up || fail "held logout: GNOME shows no dialog for the program holding the logout"
alive || fail "held logout: a program ended while the logout was held"
[ "$(head -n 1 "$xsmp_dir/velsokura.txt")" = $'1\r' ] && grep -q 'dentistxyz' "$xsmp_dir/RirekiData.dat" &&
    grep -q '^2026/12/07/09:30/ 会議' <(iconv -f CP932 -t UTF-8 "$xsmp_dir/RirekiData.dat") &&
    grep -q $'\r$' "$xsmp_dir/AppData.txt" ||
    fail "held logout: asked, the X client did not write its files: $(head -n 1 "$xsmp_dir/velsokura.txt" | cat -A), $(cat -A "$xsmp_dir/RirekiData.dat"), $(cat -A "$xsmp_dir/AppData.txt")"
[ ! -e "$xsmp_dir/Rireki" ] || fail "held logout: asked, the X client exported its history: $(ls "$xsmp_dir/Rireki")"
shell_eval "$DIALOG_JS d.cancel(); 'ok'" >/dev/null
cancelled() { grep -q 'GsmManager: Cancelling the end of session' "$session_log"; }
wait_until 10 cancelled || fail "held logout: the dialog's Cancel did not reach gnome-session"
sleep 1
alive || fail "held logout: a program ended when the logout was cancelled"
ok "a logout held up by another program: asked, the X client wrote schedule, history and settings at once; cancelled, both went on"

# Then the logout itself.
kill "$holder"
wait_until 10 bash -c "$(declare -f inhibited); ! inhibited" || fail "logout: still held"
started=$SECONDS
gnome-session-quit --logout --no-prompt || fail "logout: gnome-session-quit failed"
APP_PID=$xsmp_pid APPDIR=$xsmp_dir saved_as_exit "logout, X11"
APP_PID=$wayland_pid APPDIR=$wayland_dir saved_as_exit "logout, Wayland" dentist
# Each ended as its exit ends it: not by libICE's default handler part way
# through it (the manager gone), nor as in any other failure, but for the
# display going first (the Shell is told to end with it).
for end in "X11 $xsmp_pid app" "Wayland $wayland_pid app-wayland"; do
    read -r what pid log <<<"$end"
    status=0
    wait "$pid" || status=$?
    said=$(grep -v 'sound\|qt.multimedia\|PulseAudio' "$E2E_TMP/$log.log" || true)
    [[ $said != *'ICE default IO error handler'* ]] && { ((status == 0)) || [[ $said == *'connection broke'* ]]; } ||
        fail "logout, $what: the program ended with status $status: $said"
done
wait_until 20 bash -c "! kill -0 $SESSION_PID 2>/dev/null" || fail "logout: the session did not end"
took=$((SECONDS - started))
# Nobody waited for: no client held the logout up, none answered late.
waited=$(grep '^gnome-session' "$session_log" | grep -E 'failed to reply|timed out|Not responding' || true)
[ -z "$waited" ] || fail "logout: gnome-session waited for a client: $waited"
# The X client answered both the question and the end itself.
answers=$(awk '/starting phase QUERY_END_SESSION/ { last = "" } { last = last $0 "\n" } END { printf "%s", last }' "$session_log" |
    grep -F "[$xsmp_dir/velsokura " | grep -c "received SaveYourselfDone(success = True)" || true)
((answers >= 2)) || fail "logout: through X11 the program answered gnome-session $answers times, not when asked and at the end"
ok "logout through gnome-session in $took s: the program through X11 (XSMP) and on Wayland (D-Bus) each registered once and answered at once; schedules, histories with the alarm's entry (and the history window's edit), one export each, settings written"


# The Shell ending under the program (a logout that ends the compositor
# first) keeps the same: the same alarm again, answered, and the edit. On a
# Shell of its own (the logout ended the session), at 200 %, GNOME's integer
# scale, on a monitor of twice the pixels, where first the notice and the
# alarm are twice their size in pixels, centred and on top.
APPDIR=$xsmp_dir
GNOME_DIR="$E2E_TMP/gnome-2x" GNOME_MONITOR=2560x1600 start_gnome ubuntu-appindicators@ubuntu.com
gnome_scale 2
printf '1\r\n2026/12/07/09:30#:;*$=\\#:\\*; %s\r\n' "$text" | iconv -f UTF-8 -t CP932 >"$APPDIR/velsokura.txt"
fake_clock '@2026-12-07 09:29:52'
start_app "${CLOCK[@]}"
wait_until 60 notice_up || fail "200 %: no start-up notice"
# (Told from the alarm as at 100 %: a slow start may show the alarm first.)
notice_width=$((notice_width * 2))
wait_until 60 alarm_up || fail "200 %: no alarm"
wait_until 5 gnome_centred '^velsokura$' || fail "200 %: the alarm is not centred: $(gnome_window '^velsokura$')"
gnome_on_top '^velsokura$' || fail "200 %: the alarm is not on top: $(gnome_stacking)"
doubled() { (($1 * 10 >= $2 * 19 && $1 * 10 <= $2 * 21)); }
# (The line telling that no sound can play joins it once the sound is tried.)
twice() { read -r x y w h _ _ _ client <<<"$(gnome_window '^velsokura$')" && doubled "$w" "$w1" && doubled "$h" "$h1"; }
wait_until 10 twice || fail "200 %: the alarm is ${w}x$h, at 100 % it was ${w1}x$h1"
wait_until 5 gnome_centred '^velsokura$' || fail "200 %: the alarm is not centred once fitted: $(gnome_window '^velsokura$')"
gnome_screenshot "$E2E_TMP/alarm-2x.png"
ok "200 %: the alarm through $client at $x,$y ${w}x$h (${w1}x$h1 at 100 %), centred, on top"

stop_app
# Then the Shell's end: the same alarm again, answered (OK twice as far from
# the bottom at 200 %), and the edit.
alarm_answered "Shell ended" 58
history_edited "Shell ended"
kill "$SHELL_PID"
saved_as_exit "Shell ended"
ok "the Shell ended under the program: schedule, history with the alarm's entry and the edit, one export, settings written; the program said: $(grep -m 1 'connection broke' "$E2E_TMP/app.log")"
[ -z "${moved:-}" ] || fail "$moved"
