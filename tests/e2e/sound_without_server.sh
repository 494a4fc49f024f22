#!/usr/bin/env bash
# A desktop with no sound server at all: an alarm still shows, the program
# stays up through its sound, and OK puts the window away.
source "$(dirname "$0")/lib.sh"
start_x
start_wm
# A runtime folder of its own, with no PulseAudio socket in it.
export XDG_RUNTIME_DIR="$E2E_TMP/runtime"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
unset PULSE_SERVER
printf 'autospawn = no\n' >"$XDG_RUNTIME_DIR/client.conf"
export PULSE_CLIENTCONFIG="$XDG_RUNTIME_DIR/client.conf"
make_appdir "$1"
# Tomorrow's first minute: no start-up notice comes before the alarm.
printf '1\r\n2026/12/08/00:00#:;*$=\\#:\\*; alarm\r\n' >"$APPDIR/velsokura.txt"
start_program '2026-12-07 23:59:52'

alive() { kill -0 "$APP_PID" 2>/dev/null || fail "the program ended: $(tail -n 3 "$E2E_TMP/app.log")"; }
wait_until 30 shown '^velsokura$' || { alive; fail "no alarm window"; }
ok "the alarm window shows"
wait_until 20 clock_at '00:00:1[0-9]' || { alive; fail "the clock stopped"; }
alive
ok "the program stays up through the alarm's sound"
activate "$(visible_window '^velsokura$')"
press alt+i
wait_until 10 gone '^velsokura$' || fail "OK did not put the alarm window away"
alive
ok "OK puts the alarm window away"
