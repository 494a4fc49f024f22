#!/usr/bin/env bash
# An alarm while the options window's test play still sounds restarts the
# sound. The user's wav lives in a folder whose name has
# spaces and Japanese.
source "$(dirname "$0")/lib.sh"
need sox
listening_desktop "$1"
user="$E2E_TMP/音 の フォルダ"
mkdir -p "$user"
sox -n -r 44100 -c 2 "$user/長い 音.wav" synth 4 sine 660 vol 0.3
printf '1\r\n2026/12/08/00:00#:;*$=\\#:\\*; alarm\r\n' >"$APPDIR/velsokura.txt"
printf '1,4,0,%s\r\n' "$user/長い 音.wav" | iconv -t CP932 >"$APPDIR/AppData.txt"
record
start_program "2026-12-07 23:59:52"

open_options
wait_until 20 clock_at '23:59:59$' || fail "the clock did not reach 23:59:59"
test_play "the user's wav"
played=$SOUND_AT
at=$(mark_when 10 shown '^velsokura$') || fail "no alarm window"
level=$(rms $((at - 200)) "$at")
((level > SOUND_RMS)) || fail "the test play was not sounding when the alarm came (RMS $level)"
wait_until 10 recorded $((at + 4500))
end=$(offset_ms "$at" 4500)
((${end:-0} - at > 3600)) ||
    fail "the sound did not restart: it began $((at - played)) ms before the alarm, ended $((${end:-0} - at)) ms after"
ok "alarm during a test play: sound began $((at - played)) ms before the window, went on for $((end - at)) ms after it"
