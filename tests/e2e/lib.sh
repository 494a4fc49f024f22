# Shared set-up for the tests that run the built program for real: a virtual
# X display, a window manager, a notification area and a private data folder.
# Source it from a test script; every process started here ends with the script.
# Exit code 77 marks a test as skipped (never as passed).
set -euo pipefail

E2E_TMP=$(mktemp -d "${TMPDIR:-/tmp}/velsokura-e2e.XXXXXX")
E2E_PIDS=()
e2e_cleanup() {
    local p
    for p in "${E2E_PIDS[@]}"; do kill "$p" 2>/dev/null || true; done
    for p in "${E2E_PIDS[@]}"; do wait "$p" 2>/dev/null || true; done
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; exit 1; }
ok() { echo "ok: $*"; }
need() { local c; for c; do command -v "$c" >/dev/null || skip "$c is not installed"; done; }

# wait_until SECONDS COMMAND...: runs COMMAND every 0.1 s until it succeeds.
wait_until() {
    local limit=$1; shift
    local end=$((SECONDS + limit))
    until "$@"; do
        ((SECONDS < end)) || return 1
        sleep 0.1
    done
}

# start_x [WIDTHxHEIGHT]: a fresh Xvfb on a free display number; sets DISPLAY.
start_x() {
    need Xvfb xdotool xwininfo xprop
    local size=${1:-1024x768}
    : >"$E2E_TMP/display"
    Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp 9>"$E2E_TMP/display" >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    wait_until 20 test -s "$E2E_TMP/display" || fail "Xvfb did not start"
    export DISPLAY=":$(head -n 1 "$E2E_TMP/display")"
}

# start_wm: openbox, ready once it has claimed the screen.
start_wm() {
    need openbox
    openbox --sm-disable >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    wait_until 20 bash -c 'xprop -root _NET_SUPPORTING_WM_CHECK | grep -q "window id"' ||
        fail "openbox did not start"
}

# start_tray: a notification area (trayer) at the screen's top right.
start_tray() {
    need trayer
    trayer --edge top --align right --widthtype pixel --width 100 --height 32 >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    wait_until 20 bash -c 'xwininfo -root -tree | grep -qi "trayer\|panel"' || fail "trayer did not start"
}

# make_appdir PROGRAM: a private program folder holding the built program,
# its sounds and first-run data files; sets APPDIR.
make_appdir() {
    local program=$1
    APPDIR="$E2E_TMP/app"
    mkdir -p "$APPDIR"
    cp "$program" "$APPDIR/"
    cp "$(dirname "$program")"/*.mp3 "$APPDIR/"
    printf '0\r\n' >"$APPDIR/velsokura.txt"
    printf '1,0,0,\r\n' >"$APPDIR/AppData.txt"
}

# visible_window NAME_REGEX: id of the first visible window whose name matches.
visible_window() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1; }

# --- Listening to the program: a private sound server and a recording of it.

# start_pulse: a private PulseAudio with one null sink (e2e) in a temporary
# runtime folder; programs started afterwards play into it. Skips where no
# server can start.
start_pulse() {
    need pulseaudio parec pactl
    local dir="$E2E_TMP/pulse"
    mkdir -p "$dir"
    export XDG_RUNTIME_DIR="$dir" PULSE_RUNTIME_PATH="$dir" PULSE_STATE_PATH="$dir"
    export PULSE_SERVER="unix:$dir/native"
    printf 'autospawn = no\n' >"$dir/client.conf"
    export PULSE_CLIENTCONFIG="$dir/client.conf"
    HOME="$dir" pulseaudio --daemonize=no --exit-idle-time=-1 --use-pid-file=no --system=no -n \
        --load="module-native-protocol-unix auth-anonymous=1 socket=$dir/native" \
        --load="module-null-sink sink_name=e2e rate=48000 channels=2" \
        --disallow-module-loading >"$dir/server.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 20 pactl info >/dev/null 2>&1 || skip "no PulseAudio server can start here"
    pactl set-default-sink e2e
}

# record: records what the sink plays, from now on, as mono 16-bit samples
# at REC_RATE into REC_FILE.
REC_RATE=8000
record() {
    REC_FILE="$E2E_TMP/record.raw"
    parec -d e2e.monitor --format=s16le --rate=$REC_RATE --channels=1 --latency-msec=10 \
        --raw >"$REC_FILE" &
    E2E_PIDS+=($!)
    wait_until 20 test -s "$REC_FILE" || fail "the recording did not start"
}

# rec_ms: how far the recording has got, in milliseconds.
rec_ms() { echo $(($(stat -c %s "$REC_FILE") * 1000 / (2 * REC_RATE))); }
# recorded MS: whether the recording has got to MS.
recorded() { (($(rec_ms) >= $1)); }

# mark_when SECONDS COMMAND...: like wait_until, and prints the recording's
# time (ms) just before the check preceding the one that succeeded: the
# event happened after that moment, so delays measured from it are not
# understated.
mark_when() {
    local limit=$1; shift
    local end=$((SECONDS + limit)) before now
    before=$(rec_ms)
    while now=$(rec_ms); ! "$@"; do
        ((SECONDS < end)) || return 1
        before=$now
        sleep 0.02
    done
    echo "$before"
}

# rms FROM_MS TO_MS: root mean square of the recorded samples in that span.
rms() {
    local from=$(($1 * REC_RATE / 1000)) to=$(($2 * REC_RATE / 1000))
    od -An -v -t d2 -w2 -j $((from * 2)) -N $(((to - from) * 2)) "$REC_FILE" |
        awk '{ s += $1 * $1; n++ } END { printf "%d\n", n ? sqrt(s / n) : 0 }'
}

# onset_ms FROM_MS LIMIT_MS: the start (ms) of the first 20 ms slice at or
# after FROM_MS whose RMS exceeds SOUND_RMS, or nothing within LIMIT_MS.
SOUND_RMS=200
onset_ms() {
    local from=$1 limit=$2 slice=$((REC_RATE / 50))
    od -An -v -t d2 -w2 -j $((from * REC_RATE / 1000 * 2)) -N $((limit * REC_RATE / 1000 * 2)) \
        "$REC_FILE" |
        awk -v slice=$slice -v from=$from -v rate=$REC_RATE -v min=$SOUND_RMS '
            done { next }
            { s += $1 * $1; n++ }
            n == slice { if (sqrt(s / n) > min) { print from + int(k * slice * 1000 / rate); done = 1 }
                         s = 0; n = 0; k++ }'
}

# --- Driving the program's sounds.

# shown NAME_REGEX / gone NAME_REGEX: whether such a window is visible / none is.
shown() { test -n "$(visible_window "$1")"; }
gone() { ! shown "$1"; }

# start_program FAKE_START: runs the program in APPDIR with its clock starting
# at FAKE_START (monotonic time stays real, which the media framework needs)
# and waits for its main window.
start_program() {
    (cd "$APPDIR" && FAKETIME_DONT_FAKE_MONOTONIC=1 exec faketime -f "@$1" \
        ./velsokura) >"$E2E_TMP/program.log" 2>&1 &
    E2E_PIDS+=($!)
    wait_until 30 shown "^velsokura　" || fail "no main window"
}

# press KEY...: keys to the active window, one after another.
press() { local k; for k; do xdotool key --clearmodifiers "$k"; sleep 0.05; done; }

activate() { xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true; }

open_options() {
    activate "$(visible_window '^velsokura　')"
    press alt+b
    wait_until 10 shown '^オプション$' || fail "no options window"
    activate "$(visible_window '^オプション$')"
}

# test_play WHAT: the options window's play button; the sound starts within 500 ms.
test_play() {
    local from
    from=$(rec_ms)
    press alt+u
    expect_sound "test play of $1" "$from" ${ALARM_LIMIT:-500}
}

# expect_sound WHAT FROM_MS LIMIT_MS: sound starts within LIMIT_MS of FROM_MS.
expect_sound() {
    local what=$1 from=$2 limit=$3 at
    wait_until 10 recorded $((from + limit + 300))
    at=$(onset_ms "$from" $((limit + 300)))
    [ -n "$at" ] || fail "$what: silent for $((limit + 300)) ms (RMS $(rms "$from" $((from + limit + 300))))"
    ((at - from <= limit)) || fail "$what: sound came $((at - from)) ms late"
    ok "$what: sound after $((at - from)) ms, RMS $(rms "$at" $((at + 300)))"
}

# expect_silence WHAT FROM_MS: nothing from 150 ms to 650 ms after FROM_MS.
expect_silence() {
    local what=$1 from=$2 level
    wait_until 10 recorded $((from + 650))
    level=$(rms $((from + 150)) $((from + 650)))
    ((level < SOUND_RMS)) || fail "$what: still sounding (RMS $level)"
    ok "$what: silent, RMS $level"
}

# expect_alarm WHAT: the alarm window appears within 90 s and its sound
# starts within 500 ms of it.
expect_alarm() {
    local at
    at=$(mark_when 90 shown '^velsokura$') || fail "$1: no alarm window"
    expect_sound "$1" "$at" ${ALARM_LIMIT:-500}
}

# acknowledge_alarm: OK on the alarm window; the sound stops.
acknowledge_alarm() {
    activate "$(visible_window '^velsokura$')"
    press alt+i
    wait_until 10 gone '^velsokura$' || fail "alarm window stays"
    expect_silence "after OK" "$(rec_ms)"
}
