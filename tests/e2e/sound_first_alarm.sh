#!/usr/bin/env bash
# The first sound of a run is an alarm's: it starts as promptly as any, and
# OK silences it.
source "$(dirname "$0")/lib.sh"
listening_desktop "$1"
printf '1\r\n2026/12/08/00:00#:;*$=\\#:\\*; alarm\r\n' >"$APPDIR/velsokura.txt"
printf '1,1,0,\r\n' >"$APPDIR/AppData.txt"
record
start_program "2026-12-07 23:59:54"
expect_alarm "first alarm, on sound 2"
acknowledge_alarm
