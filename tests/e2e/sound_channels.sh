#!/usr/bin/env bash
# Every sound channel tried from the options window is heard and silenced by
# Stop: the four built-in sounds, the user's mp3 and, chosen in the file
# dialog, the user's wav; both in a folder whose name has spaces and Japanese.
# Qt's FFmpeg backend unless the user chose another (QT_MEDIA_BACKEND).
source "$(dirname "$0")/lib.sh"
need sox
listening_desktop "$1"
user="$E2E_TMP/音 の フォルダ"
mkdir -p "$user"
cp "$APPDIR/blackout4.mp3" "$user/好きな 音.mp3"
sox -n -r 44100 -c 2 "$user/long tone.wav" synth 3 sine 660 vol 0.3
printf '1\r\n' >"$APPDIR/velsokura.txt"
printf '1,4,0,%s\r\n' "$user/好きな 音.mp3" | iconv -t CP932 >"$APPDIR/AppData.txt"
record
start_program "2026-12-07 10:00:00" "$user"
open_options

try_sound() {
    test_play "$1"
    test_stop "$1"
}
press alt+l
try_sound "sound 1"
press alt+m
try_sound "sound 2"
press alt+n
try_sound "sound 3"
press Right
try_sound "sound 4"
press Right
try_sound "the user's mp3"

press alt+q
wait_until 10 shown '^開く$' || fail "no file dialog"
# The dialog starts in the user's folder: typing Japanese is not reliable.
xdotool type --delay 20 "long tone.wav"
press Return
wait_until 10 gone '^開く$' || fail "the file dialog stays"
activate "$(visible_window '^オプション$')"
test_play "the user's wav"
wait_until 10 recorded $((SOUND_AT + 3500))
end=$(offset_ms "$SOUND_AT" 3500)
((${end:-0} - SOUND_AT > 2700)) || fail "the user's wav ended after $((${end:-0} - SOUND_AT)) ms, not 3 s"
ok "the user's wav played for $((end - SOUND_AT)) ms"

backend=${QT_MEDIA_BACKEND:-ffmpeg}
uses_backend "$backend" || fail "the program did not play through the $backend backend"
ok "played through the $backend backend"
