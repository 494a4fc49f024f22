#!/usr/bin/env bash
# The first sound of a run is an alarm's: it starts as promptly as any, and
# OK silences it; left standing, the alarm keeps nothing of the sound server
# once its sound has ended. Settings that name no sound that can play still
# ring: a user's file deleted since, a file sound without a file, a sound
# number out of range all ring the first sound; and the number is saved as
# it. A sound that cannot play (its file gone, a file no decoder reads) gives
# way to the next one that can, and the alarm says in a line of its own which
# and why; where none can, it says that.
source "$(dirname "$0")/lib.sh"
listening_desktop "$1"
alarm_file='1\r\n2026/12/08/00:00#:;*$=\\#:\\*; alarm\r\n'
printf "$alarm_file" >"$APPDIR/velsokura.txt"
printf '1,1,0,\r\n' >"$APPDIR/AppData.txt"
record
start_program "2026-12-07 23:59:54"
expect_alarm "first alarm, on sound 2"
alarm_height() { xwininfo -id "$(visible_window '^velsokura$')" | sed -n 's/^ *Height: *//p'; }
first_height=$(alarm_height)
acknowledge_alarm

# ring_with SETTINGS WHAT: a new run whose first alarm has these settings.
ring_with() {
    kill -TERM "$APP_PID"
    wait_until 30 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "$2: the program did not end"
    printf "$alarm_file" >"$APPDIR/velsokura.txt"
    rm -f "$APPDIR/RirekiData.dat" # no start-up notice before the alarm
    printf '%s\r\n' "$1" >"$APPDIR/AppData.txt"
    start_program "2026-12-07 23:59:54"
    expect_alarm "$2"
    acknowledge_alarm
}
ring_with "1,4,0,$E2E_TMP/gone/mine.mp3" "the user's file deleted: sound 1"
ring_with "1,4,0," "the file sound without a file: sound 1"
ring_with "1,7,0," "sound number 7: sound 1"
kill -TERM "$APP_PID"
wait_until 30 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "the program did not end"
[ "$(cat "$APPDIR/AppData.txt")" = $'1,0,0,\r' ] ||
    fail "sound number 7 was saved as $(cat -A "$APPDIR/AppData.txt")"
ok "sound number 7 is saved as sound 1"

# A line of its own makes the alarm taller than the first one, whose text is
# the same.
taller() { (($(alarm_height) > first_height)); }
told() { grep -qF "$1" "$E2E_TMP/app.log"; }
mkdir -p "$E2E_TMP/sounds"
cp "$APPDIR"/*.mp3 "$E2E_TMP/sounds/"
printf 'not a sound at all\n' >"$E2E_TMP/sounds/text.mp3"
head -c 100000 /dev/urandom >"$E2E_TMP/sounds/noise.wav"
# SETTINGS|DELETED SOUNDS|WHAT THE ALARM SAYS|HEARD: one alarm per row.
while IFS='|' read -r settings deleted line heard; do
    cp "$E2E_TMP"/sounds/{Mirato1,blackout4,blackout5,blackout8}.mp3 "$APPDIR/"
    for name in $deleted; do rm "$APPDIR/$name"; done
    what="${settings}${deleted:+, without $deleted}"
    printf "$alarm_file" >"$APPDIR/velsokura.txt"
    rm -f "$APPDIR/RirekiData.dat"
    printf '%s\r\n' "${settings//@/$E2E_TMP/sounds}" >"$APPDIR/AppData.txt"
    start_program "2026-12-07 23:59:54"
    if [ "$heard" = yes ]; then
        expect_alarm "$what"
    else
        wait_until 90 shown '^velsokura$' || fail "$what: no alarm window"
        at=$(rec_ms)
        wait_until 10 recorded $((at + 1500))
        level=$(rms "$at" $((at + 1500)))
        ((level < SOUND_RMS)) || fail "$what: a sound plays (RMS $level)"
        ok "$what: silent, RMS $level"
    fi
    wait_until 5 taller || fail "$what: the alarm has no line of its own ($(alarm_height) px high)"
    wait_until 5 told "$line" || fail "$what: the alarm does not say $line: $(tail -n 3 "$E2E_TMP/app.log")"
    ok "$what: the alarm says $line"
    if [ "$heard" = yes ]; then acknowledge_alarm; else activate "$(visible_window '^velsokura$')"; press alt+i; fi
    wait_until 10 gone '^velsokura$' || fail "$what: the alarm window stays"
    kill -TERM "$APP_PID"
    wait_until 30 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "$what: the program did not end"
done <<'ROWS'
1,0,0,|Mirato1.mp3|サウンド1（Mirato1.mp3）はファイルがないため鳴らせません。|yes
1,0,0,|Mirato1.mp3 blackout4.mp3 blackout5.mp3 blackout8.mp3|この環境ではサウンドを鳴らせません。|no
1,4,0,@/text.mp3||サウンドファイル（text.mp3）は再生できない形式のため鳴らせません。|yes
1,4,0,@/noise.wav||サウンドファイル（noise.wav）は再生できない形式のため鳴らせません。|yes
1,4,0,@/gone.mp3|Mirato1.mp3|サウンドファイル（gone.mp3）はファイルがないため鳴らせません。|yes
ROWS
cp "$E2E_TMP"/sounds/{Mirato1,blackout4,blackout5,blackout8}.mp3 "$APPDIR/"

# An alarm left standing after its sound has played to the end keeps no stream
# of the sound server: one kept would run, and wake the program, until OK.
printf "$alarm_file" >"$APPDIR/velsokura.txt"
rm -f "$APPDIR/RirekiData.dat"
printf '1,0,0,\r\n' >"$APPDIR/AppData.txt"
start_program "2026-12-07 23:59:54"
expect_alarm "an alarm left standing"
wait_until 30 no_stream || fail "the alarm's sound has ended, but its stream stays: $(pactl list short sink-inputs)"
ok "an alarm left standing: no stream stays once its sound has ended"
activate "$(visible_window '^velsokura$')"
press alt+i
wait_until 10 gone '^velsokura$' || fail "an alarm left standing: the alarm window stays"
kill -TERM "$APP_PID"
wait_until 30 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "an alarm left standing: the program did not end"

# Without the sound module no sound can play: the alarm still shows at its
# minute, and says so in a line of its own.
rm "$APPDIR"/velsokura-sound.*
printf "$alarm_file" >"$APPDIR/velsokura.txt"
rm -f "$APPDIR/RirekiData.dat"
start_program "2026-12-07 23:59:54"
wait_until 20 shown '^velsokura$' || fail "no sound module: no alarm window"
wait_until 5 taller ||
    fail "no sound module: the alarm does not say that no sound can play ($(alarm_height) px high, the first $first_height)"
grep -q 'sound module is missing' "$E2E_TMP/app.log" || fail "no sound module: standard error does not say why"
ok "no sound module: the alarm shows and says that no sound can play"
