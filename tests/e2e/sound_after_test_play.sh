#!/usr/bin/env bash
# A sound tried in the options window, then alarms on other sounds: every
# alarm is heard, promptly, and every Stop silences.
source "$(dirname "$0")/lib.sh"
listening_desktop "$1"
printf '1\r\n2026/12/08/00:00#:;*$=\\#:\\*; first\r\n2026/12/08/00:01#:;*$=\\#:\\*; second\r\n\r\n' \
    >"$APPDIR/velsokura.txt"
printf '1,0,0,\r\n' >"$APPDIR/AppData.txt"
record
start_program "2026-12-07 23:59:40"

open_options
press alt+l
test_play "sound 1"
test_stop "sound 1"
press alt+n alt+t
expect_alarm "alarm on sound 3"
acknowledge_alarm

open_options
press alt+l alt+t
expect_alarm "alarm on sound 1"
acknowledge_alarm
