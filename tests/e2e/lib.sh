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
    # A signal makes the program save its files, which must be done before
    # the folder goes.
    local end=$((SECONDS + 20))
    for p in "${E2E_PIDS[@]}"; do
        while kill -0 "$p" 2>/dev/null && ((SECONDS < end)); do sleep 0.1; done
    done
    # A Wine prefix of the test's own ends with it.
    [[ ${WINEPREFIX:-} != "$E2E_TMP"/* ]] || wineserver -k 2>/dev/null || true
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

# No test opens a real browser: the program's page opener finds this stub
# first, which notes the address it was given in $E2E_TMP/opened.
mkdir "$E2E_TMP/bin"
printf '#!/bin/sh\necho "$@" >>"%s/opened"\n' "$E2E_TMP" >"$E2E_TMP/bin/xdg-open"
chmod +x "$E2E_TMP/bin/xdg-open"
export PATH="$E2E_TMP/bin:$PATH" BROWSER="$E2E_TMP/bin/xdg-open"

skip() { echo "SKIP: $*"; exit 77; }
fail() { echo "FAILED: $*" >&2; e2e_report >&2; exit 1; }
# e2e_report: what the program was doing when a test failed: the windows on
# the display, whether it still runs (and where its threads are), its output.
e2e_report() {
    local f p
    [ -n "${DISPLAY:-}" ] && for p in $(xdotool search --name . 2>/dev/null); do
        echo "window $p \"$(xdotool getwindowname "$p" 2>/dev/null)\":" \
            "$(xwininfo -id "$p" 2>/dev/null | grep -E 'Map State|Absolute|Width|Height' | tr -s '\n ' ' ')" \
            "$(xprop -id "$p" WM_STATE _NET_WM_STATE 2>/dev/null | tr -s '\n\t ' ' ')"
    done
    for p in "${E2E_PIDS[@]}"; do echo "started: $(ps -o pid=,stat=,etime=,args= -p "$p" || echo "$p ended")"; done
    for p in "${E2E_PIDS[@]}"; do
        [ "$(cat "/proc/$p/comm" 2>/dev/null)" = velsokura ] || continue
        echo "program $p running: $(ps -o etime=,stat=,time= -p "$p")"
        command -v gdb >/dev/null && gdb -batch -p "$p" -ex 'thread apply all bt 8' 2>/dev/null | grep -E '^(#|Thread)' | head -60
    done
    for f in "$E2E_TMP"/*.log; do [ -f "$f" ] && { echo "--- $(basename "$f"):"; tail -n 20 "$f"; }; done
    return 0
}
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

# start_wm: openbox, ready once it has framed a window of its own. It names
# itself the window manager before it handles windows, and a window mapped
# in between may never show; so a probe window is mapped until one is framed.
start_wm() {
    need openbox xev
    openbox --sm-disable >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    local end=$((SECONDS + 20)) probe
    until
        xev -name e2e-wm-probe >/dev/null 2>&1 &
        probe=$!
        wait_until 1 framed e2e-wm-probe
    do
        kill "$probe"; wait "$probe" 2>/dev/null || true
        ((SECONDS < end)) || fail "openbox did not start"
    done
    kill "$probe"; wait "$probe" 2>/dev/null || true
}
# framed NAME: a window of that name is managed by the window manager.
framed() {
    local id
    id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1)
    [ -n "$id" ] && xprop -id "$id" WM_STATE 2>/dev/null | grep -q 'Normal'
}

# start_tray: a notification area (trayer) at the screen's top right.
start_tray() {
    need trayer
    trayer --edge top --align right --widthtype pixel --width 100 --height 32 >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    wait_until 20 bash -c 'xwininfo -root -tree | grep -qi "trayer\|panel"' || fail "trayer did not start"
}

# make_appdir PROGRAM [FOLDER]: a private program folder (default
# $E2E_TMP/app) holding the built program, its sound module, its sounds and
# first-run data files; sets APPDIR.
make_appdir() {
    local program=$1
    APPDIR=${2:-$E2E_TMP/app}
    mkdir -p "$APPDIR"
    cp "$program" "$(dirname "$program")"/velsokura-sound.* "$APPDIR/"
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
    wait_until 20 pulse_up $! || skip "no PulseAudio server can start here: $(tail -n 1 "$dir/server.log")"
    pactl set-default-sink e2e
}
# listening_desktop PROGRAM: where every listening test starts: a display, a
# window manager, a private sound server and a program folder.
listening_desktop() {
    start_x
    start_wm
    start_pulse
    make_appdir "$1"
}
pulse_up() {
    kill -0 "$1" 2>/dev/null || skip "no PulseAudio server can start here: $(tail -n 1 "$E2E_TMP/pulse/server.log")"
    pactl info >/dev/null 2>&1
}

# record: records what the sink plays, from now on, as mono 16-bit samples
# at REC_RATE into REC_FILE.
REC_RATE=8000
record() {
    REC_FILE="$E2E_TMP/record.raw"
    parec -d e2e.monitor --format=s16le --rate=$REC_RATE --channels=1 --latency-msec=10 \
        --raw >"$REC_FILE" 2>/dev/null &
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

# onset_ms FROM_MS LIMIT_MS / offset_ms FROM_MS LIMIT_MS: the start (ms) of
# the first 20 ms slice at or after FROM_MS whose RMS is above / not above
# SOUND_RMS, or nothing within LIMIT_MS.
SOUND_RMS=200
onset_ms() { first_slice "$1" "$2" 1; }
offset_ms() { first_slice "$1" "$2" 0; }
first_slice() {
    local from=$1 limit=$2 slice=$((REC_RATE / 50))
    od -An -v -t d2 -w2 -j $((from * REC_RATE / 1000 * 2)) -N $((limit * REC_RATE / 1000 * 2)) \
        "$REC_FILE" |
        awk -v slice=$slice -v from=$from -v rate=$REC_RATE -v min=$SOUND_RMS -v loud=$3 '
            done { next }
            { s += $1 * $1; n++ }
            n == slice { if ((sqrt(s / n) > min) == loud) {
                             print from + int(k * slice * 1000 / rate); done = 1 }
                         s = 0; n = 0; k++ }'
}

# --- Driving the program's sounds.

# shown NAME_REGEX / gone NAME_REGEX: whether such a window is visible / none is.
shown() { test -n "$(visible_window "$1")"; }
gone() { ! shown "$1"; }

# start_program FAKE_START [FOLDER]: start_app in FOLDER (default APPDIR:
# where its file dialog starts) with the clock starting at FAKE_START, and
# waits for its main window.
start_program() {
    fake_clock "@$1"
    APP_CWD=${2:-$APPDIR} start_app "${CLOCK[@]}"
    wait_until 30 shown "^velsokura　" || fail "no main window"
}

# uses_backend NAME: whether the program has loaded Qt's NAME media backend.
uses_backend() { grep -q "lib$1mediaplugin.so" "/proc/$APP_PID/maps"; }

# clock_at REGEX: whether the main window's caption (its clock) matches,
# shown or not.
clock_at() { xdotool search --name "^velsokura　.*$1" >/dev/null 2>&1; }

# press KEY...: keys to the active window, one after another.
press() { xdotool key --clearmodifiers --delay 50 "$@"; }

activate() {
    [ "$(xdotool getactivewindow 2>/dev/null)" = "$1" ] ||
        xdotool windowactivate --sync "$1" >/dev/null 2>&1 || true
}

# add_schedule HOUR MINUTE TEXT: typed into the active main window, whose hour
# field has the focus, then Add (追加(&D)).
add_schedule() {
    xdotool type --delay 50 "$1"
    press Tab
    xdotool type --delay 50 "$2"
    press Tab
    xdotool type --delay 50 "$3"
    press alt+d
}

open_options() {
    PLAY_KEY=alt+u
    activate "$(visible_window '^velsokura　')"
    press alt+b
    wait_until 10 shown '^オプション$' || fail "no options window"
    activate "$(visible_window '^オプション$')"
    # A window is shown before it is drawn: timings start once that is done.
    wait_until 10 settled || fail "the program stays busy"
}

# settled: the program used no processor time over the last 200 ms.
settled() {
    local before
    before=$(cpu_ticks "$APP_PID")
    sleep 0.2
    [ "$(cpu_ticks "$APP_PID")" = "$before" ]
}
# cpu_ticks PID: processor time (user + system) of a process, in clock ticks.
cpu_ticks() { sed 's/.*) //' "/proc/$1/stat" | awk '{ print $12 + $13 }'; }

# test_play WHAT: the options window's play button; the sound starts within
# a second. test_stop WHAT: its stop button; silence follows. (Stop changes the
# play button's access key.)
PLAY_KEY=alt+u
test_play() {
    local from
    from=$(rec_ms)
    press $PLAY_KEY
    expect_sound "test play of $1" "$from" 1000
}
test_stop() {
    local at
    at=$(rec_ms)
    press alt+v
    PLAY_KEY=alt+s
    expect_silence "$1, after Stop" "$at"
}

# heard_or_recorded FROM_MS SPAN_MS: whether sound has been heard since
# FROM_MS, or SPAN_MS have been recorded without it.
heard_or_recorded() {
    local now
    now=$(rec_ms)
    ((now >= $1 + $2)) || [ -n "$(onset_ms "$1" $((now - $1)))" ]
}

# expect_sound WHAT FROM_MS LIMIT_MS: sound starts within LIMIT_MS of FROM_MS,
# at SOUND_AT; returns soon after it starts.
expect_sound() {
    local what=$1 from=$2 limit=$3 at
    wait_until 10 heard_or_recorded "$from" $((limit + 300)) || fail "$what: the recording stalled"
    at=$(onset_ms "$from" $((limit + 300)))
    [ -n "$at" ] || fail "$what: silent for $((limit + 300)) ms (RMS $(rms "$from" $((from + limit + 300))))"
    ((at - from <= limit)) || fail "$what: sound came $((at - from)) ms late"
    SOUND_AT=$at
    wait_until 10 recorded $((at + 200))
    ok "$what: sound after $((at - from)) ms, RMS $(rms "$at" $((at + 200)))"
}

# expect_silence WHAT STOP_MS: sound in the 300 ms before STOP_MS (else the
# stop proves nothing), none from 300 ms to 800 ms after it.
expect_silence() {
    local what=$1 from=$2 before level
    before=$(rms $((from - 300)) "$from")
    ((before > SOUND_RMS)) || fail "$what: the sound had already ended (RMS $before, $((from - SOUND_AT)) ms after it began)"
    wait_until 10 recorded $((from + 800))
    level=$(rms $((from + 300)) $((from + 800)))
    ((level < SOUND_RMS)) || fail "$what: still sounding (RMS $level)"
    ok "$what: silent, RMS $level"
}

# expect_alarm WHAT: the alarm window appears within 90 s and its sound
# starts within 500 ms of it.
expect_alarm() {
    local at
    at=$(mark_when 90 shown '^velsokura$') || fail "$1: no alarm window"
    expect_sound "$1" "$at" 500
}

# acknowledge_alarm: OK on the alarm window; the sound stops.
acknowledge_alarm() {
    local at
    activate "$(visible_window '^velsokura$')"
    at=$(rec_ms)
    press alt+i
    wait_until 10 gone '^velsokura$' || fail "alarm window stays"
    expect_silence "after OK" "$at"
}

# frame_rect ID: prints "left top right bottom" of the window's frame (the
# window manager's decoration included), right and bottom exclusive.
frame_rect() {
    local id=$1 x y w h l=0 r=0 t=0 b=0 ext info
    # xwininfo, not xdotool: the latter counts the frame twice under openbox.
    info=$(xwininfo -id "$id")
    x=$(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info")
    y=$(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info")
    w=$(sed -n 's/^ *Width: *//p' <<<"$info")
    h=$(sed -n 's/^ *Height: *//p' <<<"$info")
    ext=$(xprop -id "$id" _NET_FRAME_EXTENTS 2>/dev/null | grep -o '[0-9, ]*$' || true)
    if [ -n "$ext" ]; then IFS=', ' read -r l r t b <<<"$ext"; fi
    echo "$((x - l)) $((y - t)) $((x + w + r)) $((y + h + b))"
}

# settled_at ID "LEFT TOP RIGHT BOTTOM": the window's frame is there, within
# the pixel a fractional scale may round away.
settled_at() {
    local now want i
    read -r -a now <<<"$(frame_rect "$1")"
    read -r -a want <<<"$2"
    for i in 0 1 2 3; do ((${now[i]} - ${want[i]} <= 1 && ${want[i]} - ${now[i]} <= 1)) || return 1; done
}

# frame_on_screen ID: the whole frame lies on the screen, and it has been
# framed (a window manager's title bar is part of it).
frame_on_screen() {
    local left top right bottom sw sh
    read -r left top right bottom <<<"$(frame_rect "$1")"
    read -r sw sh <<<"$(xdotool getdisplaygeometry)"
    xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' &&
        ((left >= 0 && top >= 0 && right <= sw && bottom <= sh))
}

# centred ID WHAT: the window's frame is centred on the work area (the
# screen less the notification area's strut) within CENTRE_SLACK px (10).
centred() {
    local slack=${CENTRE_SLACK:-10}
    local left top right bottom x y w h
    read -r left top right bottom <<<"$(frame_rect "$1")"
    read -r x y w h _ <<<"$(xprop -root _NET_WORKAREA | grep -o '[0-9, ]*$' | tr ',' ' ')"
    local dx=$(((left + right) / 2 - (x + w / 2))) dy=$(((top + bottom) / 2 - (y + h / 2)))
    ((dx * dx <= slack * slack && dy * dy <= slack * slack)) ||
        fail "$2 is not centred: $left $top $right $bottom on the work area ${w}x$h+$x+$y"
    ok "$2 centred, whole at $left $top $right $bottom"
}

# is_above ID: the window is kept above the others.
is_above() { xprop -id "$1" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE; }
# above_window NAME_REGEX: id of the first visible window of that name kept above.
above_window() {
    local id
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        if is_above "$id"; then echo "$id"; return 0; fi
    done
}

# visible_window_sized NAME_REGEX MINWIDTH MAXWIDTH: a visible window of that
# name and width (tells the small dialogs from the main window).
visible_window_sized() {
    local id WIDTH
    for id in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        # A window may close between the search and the question.
        WIDTH=0
        eval "$(xdotool getwindowgeometry --shell "$id" 2>/dev/null | grep '^WIDTH=')"
        if ((WIDTH >= $2 && WIDTH <= $3)); then echo "$id"; return 0; fi
    done
    return 1
}

# viewable_sized NAME_REGEX MINWIDTH MAXWIDTH: the windows of that name and
# width that are mapped (xwininfo's "IsViewable"), drawn or not, minimised or
# not: what the window manager keeps on screen.
viewable_sized() {
    local id info width
    for id in $(xdotool search --name "$1" 2>/dev/null); do
        info=$(xwininfo -id "$id" 2>/dev/null) || continue
        grep -q 'Map State: IsViewable' <<<"$info" || continue
        width=$(sed -n 's/^ *Width: *//p' <<<"$info")
        if ((width >= $2 && width <= $3)); then echo "$id"; fi
    done
}

# stop_app: ends the program as a logoff does (it saves its files) and waits
# until it has gone.
stop_app() {
    kill "$APP_PID"
    wait "$APP_PID" 2>/dev/null || true
}

# start_app [PREFIX...]: starts the program of APPDIR in APP_CWD (default
# APPDIR), behind an optional prefix that ends by running it (env, CLOCK);
# APP_PID is the program, its output goes to $E2E_TMP/app.log.
start_app() {
    (cd "${APP_CWD:-$APPDIR}" && exec "$@" "$APPDIR/velsokura") >"$E2E_TMP/app.log" 2>&1 &
    APP_PID=$!
    E2E_PIDS+=($APP_PID)
}

# fake_clock WHEN: sets CLOCK to a prefix that runs a program with its clock
# at WHEN, in libfaketime's notation ("@2026-12-07 10:00:00" starts a clock
# there, "2026-12-07 10:00:00" stands it still). Monotonic time stays real, which the media framework
# needs, and so do file times: shifted, they make fontconfig take its caches
# for stale and rebuild them, seconds of disk work in the program's first
# moments. The library is preloaded directly: faketime(1) leaves a semaphore
# behind when killed, and a later program given the same process id then
# cannot start. A sanitized build accepts the library loaded ahead of it.
fake_clock() {
    local lib
    lib=$(ls /usr/lib/*/faketime/libfaketime.so.1 2>/dev/null | head -n 1)
    [ -n "$lib" ] || skip "libfaketime is not installed"
    CLOCK=(env FAKETIME="$1" FAKETIME_DONT_FAKE_MONOTONIC=1 NO_FAKE_STAT=1 LD_PRELOAD="$lib"
           ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}verify_asan_link_order=0")
}

# wait_output SECONDS COMMAND...: polls COMMAND until it prints something,
# and prints that; fails (1) when the time runs out.
wait_output() {
    local limit=$1 out; shift
    local end=$((SECONDS + limit))
    until out=$("$@") && [ -n "$out" ]; do
        ((SECONDS < end)) || return 1
        sleep 0.1
    done
    echo "$out"
}

# tray_icon NAME [LINE]: "X Y", the centre of the program's icon docked in the
# notification area at the top of the screen; nothing while there is none.
# LINE: what xwininfo's line of the icon holds, when not the program's NAME
# (Wine docks every icon as a window of its explorer.exe).
# Only docked windows count, never one of the screen's own (Wine's tooltip of
# the bell, a 60x19 window of explorer.exe under the pointer).
tray_icon() {
    xwininfo -root -tree | grep -F "${2:-\"$1\": (\"$1\"}" | grep -E '^ {8}' |
        sed -n 's/.* \([0-9]*\)x\([0-9]*\)+-\{0,1\}[0-9]*+-\{0,1\}[0-9]* *+\([0-9]*\)+\([0-9]*\)$/\1 \2 \3 \4/p' |
        while read -r w h x y; do
            if ((w >= 8 && w < 64 && h >= 8 && h < 64 && y < 64)); then echo "$((x + w / 2)) $((y + h / 2))"; break; fi
        done
}

# docked_icon NAME [LINE]: tray_icon, once the icon has stayed at one place
# for half a second (docking moves it, and a click meanwhile may miss it).
docked_icon() {
    local at
    at=$(tray_icon "$@")
    sleep 0.5
    [ -n "$at" ] && [ "$(tray_icon "$@")" = "$at" ] && echo "$at"
}

# --- Windows programs under Wine.

# start_wine_prefix: a Wine prefix of the test's own (ending its session ends
# only its programs; it goes with the test), where a crash prints its
# backtrace into the program's log instead of waiting in a dialog. Sets
# WINEPREFIX, and WINE_RUN to the project's scripts/wine-run.
WINE_RUN=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/wine-run
start_wine_prefix() {
    export WINEPREFIX="$E2E_TMP/prefix"
    "$WINE_RUN" wineboot -i >/dev/null 2>&1 || fail "no Wine prefix could be made"
    "$WINE_RUN" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
}
# What xwininfo's line of a Windows program's icon in the notification area
# holds (tray_icon's LINE): Wine docks every icon as a window of its explorer.exe.
WINE_TRAY_ICON='("explorer.exe" "explorer.exe")'
