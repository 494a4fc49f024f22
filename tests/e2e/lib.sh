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
    # What those started in turn and left behind (the session bus and the
    # accessibility services of GNOME Shell) carries the test's mark.
    for p in /proc/[0-9]*; do
        { tr '\0' '\n' <"$p/environ"; } 2>/dev/null | grep -qxF "VELSOKURA_E2E_OF=$E2E_TMP" &&
            kill "${p#/proc/}" 2>/dev/null || true
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

# start_x [WIDTHxHEIGHT]: a fresh Xvfb on a free display number; sets DISPLAY
# and X_PID.
start_x() {
    need Xvfb xdotool xwininfo xprop
    local size=${1:-1024x768}
    : >"$E2E_TMP/display"
    Xvfb -displayfd 9 -screen 0 "${size}x24" -nolisten tcp 9>"$E2E_TMP/display" >/dev/null 2>&1 &
    X_PID=$!
    E2E_PIDS+=($X_PID)
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
        wait_until 3 framed e2e-wm-probe
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

# no_stream: whether no program plays into the sound server (the recording
# is a record stream, not one of these). An output stream kept open runs
# and wakes its program though nothing sounds.
no_stream() { [ -z "$(pactl list short sink-inputs)" ]; }

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
# screen less the notification area's strut) within CENTRE_SLACK px (10),
# within 3 s: a window placed with a guessed frame moves once it is framed.
centred() {
    local slack=${CENTRE_SLACK:-10} end=$((SECONDS + 3))
    local left top right bottom x y w h dx dy
    while :; do
        read -r left top right bottom <<<"$(frame_rect "$1")"
        read -r x y w h _ <<<"$(xprop -root _NET_WORKAREA | grep -o '[0-9, ]*$' | tr ',' ' ')"
        dx=$(((left + right) / 2 - (x + w / 2))) dy=$(((top + bottom) / 2 - (y + h / 2)))
        ((dx * dx > slack * slack || dy * dy > slack * slack)) || break
        ((SECONDS < end)) || fail "$2 is not centred: $left $top $right $bottom on the work area ${w}x$h+$x+$y"
        sleep 0.2
    done
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
# APP_PID is the program, its output goes to $E2E_TMP/app.log (APP_LOG: to
# $E2E_TMP/$APP_LOG.log, for a second program running beside it).
start_app() {
    (cd "${APP_CWD:-$APPDIR}" && exec "$@" "$APPDIR/velsokura") >"$E2E_TMP/${APP_LOG:-app}.log" 2>&1 &
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

# --- GNOME Shell on Wayland, headless.

# start_gnome [EXTENSION...]: Debian's GNOME Shell as a headless Wayland
# compositor (with Xwayland) on a 1280x800 virtual monitor, on a private
# session bus and a private system bus (it aborts without one), in a mode of
# the test's own that enables a tiny extension switching on the Shell's
# unsafe mode (for shell_eval) and the given extensions. Sets WAYLAND_DISPLAY,
# DISPLAY, XAUTHORITY, DBUS_SESSION_BUS_ADDRESS, SHELL_PID, SESSION_PID (the
# session's bus and all on it: it ends with the session) and XDG_RUNTIME_DIR.
# GNOME_MONITOR: another size of the monitor; GNOME_DIR: where the Shell's
# files go (another one for each Shell of a test; default $E2E_TMP/gnome).
# GNOME_SESSION=1: the Shell as the one required part of a real gnome-session
# (a session of the test's own, nothing autostarted), as a login starts it;
# its log is then the session's. Sets SESSION_MANAGER (XSMP) as well.
start_gnome() {
    need gnome-shell dbus-run-session dbus-daemon gdbus Xwayland
    local dir="${GNOME_DIR:-$E2E_TMP/gnome}" ext uuid=unsafe-mode@velsokura.test list
    ext="$dir/data/gnome-shell/extensions/$uuid"
    mkdir -p "$dir/runtime" "$dir/home" "$dir/data/gnome-shell/modes" "$ext"
    chmod 700 "$dir/runtime"
    printf '{"uuid": "%s", "name": "unsafe mode", "description": "Eval for tests", "shell-version": ["43"]}\n' \
        "$uuid" >"$ext/metadata.json"
    printf 'function init() { return { enable() { global.context.unsafe_mode = true; }, disable() {} }; }\n' \
        >"$ext/extension.js"
    list=$(printf ', "%s"' "$uuid" "$@")
    printf '{"parentMode": "user", "enabledExtensions": [%s]}\n' "${list#, }" \
        >"$dir/data/gnome-shell/modes/velsokura-test.json"
    cat >"$dir/system.conf" <<CONF
<busconfig><type>system</type><listen>unix:path=$dir/system_bus</listen><auth>EXTERNAL</auth>
<policy context="default"><allow user="*"/><allow own="*"/><allow send_destination="*"/>
<allow receive_type="*"/></policy></busconfig>
CONF
    dbus-daemon --config-file="$dir/system.conf" --nofork >/dev/null 2>&1 &
    E2E_PIDS+=($!)
    wait_until 10 test -S "$dir/system_bus" || fail "no private system bus"
    cat >"$dir/shell.sh" <<SHELL
echo \$\$ >"$dir/shell.pid"
exec gnome-shell --wayland --headless --virtual-monitor ${GNOME_MONITOR:-1280x800} \
    --wayland-display "velsokura-e2e-\$\$" --mode=velsokura-test
SHELL
    local start="bash $dir/shell.sh"
    if [ -n "${GNOME_SESSION:-}" ]; then
        need gnome-session gnome-session-quit
        mkdir -p "$dir/data/gnome-session/sessions" "$dir/data/applications" "$dir/autostart"
        printf '[GNOME Session]\nName=velsokura test\nRequiredComponents=velsokura-test-shell;\n' \
            >"$dir/data/gnome-session/sessions/velsokura-test.session"
        # The compositor's part: started first, the session going on once
        # it has registered.
        printf '[Desktop Entry]\nType=Application\nName=GNOME Shell\nNoDisplay=true\nExec=%s\n%s\n' \
            "$start" 'X-GNOME-Autostart-Phase=DisplayServer' \
            >"$dir/data/applications/velsokura-test-shell.desktop"
        start="gnome-session --builtin --disable-acceleration-check --debug --session=velsokura-test --autostart=$dir/autostart"
    fi
    cat >"$dir/session.sh" <<SESSION
echo "\$DBUS_SESSION_BUS_ADDRESS" >"$dir/bus.new" && mv "$dir/bus.new" "$dir/bus"
exec $start
SESSION
    unset SESSION_MANAGER
    export XDG_RUNTIME_DIR="$dir/runtime" DBUS_SYSTEM_BUS_ADDRESS="unix:path=$dir/system_bus"
    XDG_DATA_DIRS="$dir/data:/usr/share" HOME="$dir/home" GSETTINGS_BACKEND=memory \
        VELSOKURA_E2E_OF="$E2E_TMP" dbus-run-session -- bash "$dir/session.sh" >"$E2E_TMP/gnome-shell.log" 2>&1 &
    SESSION_PID=$!
    E2E_PIDS+=($SESSION_PID)
    wait_until 20 test -s "$dir/bus" -a -s "$dir/shell.pid" || fail "GNOME Shell did not start"
    SHELL_PID=$(cat "$dir/shell.pid")
    E2E_PIDS+=($SHELL_PID)
    export DBUS_SESSION_BUS_ADDRESS=$(cat "$dir/bus") WAYLAND_DISPLAY="velsokura-e2e-$SHELL_PID"
    wait_until 60 shell_up || fail "GNOME Shell answers no Eval"
    DISPLAY=$(shell_eval "imports.gi.GLib.getenv('DISPLAY')")
    XAUTHORITY=$(shell_eval "imports.gi.GLib.getenv('XAUTHORITY')")
    export DISPLAY XAUTHORITY
    [ -n "$DISPLAY" ] || fail "GNOME Shell started no Xwayland"
    if [ -n "${GNOME_SESSION:-}" ]; then
        SESSION_MANAGER=$(shell_eval "imports.gi.GLib.getenv('SESSION_MANAGER')")
        [ -n "$SESSION_MANAGER" ] || fail "gnome-session gave the Shell no SESSION_MANAGER"
        export SESSION_MANAGER
    fi
    shell_eval "Main.overview.hide(); Main.messageTray._bannerBin.hide(); 'ok'" >/dev/null
    unset XDG_SESSION_TYPE QT_QPA_PLATFORM
}
shell_up() { [ "$(shell_eval 'global.context.unsafe_mode' 2>/dev/null)" = true ]; }

# shell_eval JS: the Shell's answer to JS (a JSON value; a string unquoted).
shell_eval() {
    local out
    out=$(gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell -m org.gnome.Shell.Eval "$1") || return 1
    [[ $out == "(true, '"* ]] || { echo "$out" >&2; return 1; }
    out=${out#"(true, '"}
    out=${out%"')"}
    out=${out#\"}
    echo "${out%\"}"
}

# The Shell's view of the windows, for the JS given to shell_eval:
# win(TITLE_REGEX) the first window so titled, shown or not.
SHELL_JS="const win = re => global.display.list_all_windows().find(w => new RegExp(re).test(w.get_title() || ''));"
# gnome_window TITLE_REGEX: "x y width height above focused minimized" of
# that window's frame, or nothing while there is none.
gnome_window() {
    shell_eval "$SHELL_JS const w = win('$1'); if (!w) ''; else { const r = w.get_frame_rect();
        [r.x, r.y, r.width, r.height, w.is_above(), w.has_focus(), w.minimized, w.get_client_type() ? 'x11' : 'wayland'].join(' '); }"
}
# gnome_stacking: the titles of the windows shown, bottom to top, "|" between.
gnome_stacking() {
    shell_eval "global.display.sort_windows_by_stacking(global.display.list_all_windows()
        .filter(w => w.showing_on_its_workspace() && !w.is_override_redirect())).map(w => w.get_title()).join('|')"
}
# gnome_on_top TITLE_REGEX: the window is stacked above every other one.
gnome_on_top() { gnome_stacking | tr '|' '\n' | tail -n 1 | grep -Eq "$1"; }
# gnome_centred TITLE_REGEX: the window's frame is centred on the work area (within 2 px).
gnome_centred() {
    [ "$(shell_eval "$SHELL_JS const r = win('$1').get_frame_rect();
        const a = global.workspace_manager.get_active_workspace().get_work_area_for_monitor(0);
        Math.abs(r.x + r.width / 2 - (a.x + a.width / 2)) <= 2 && Math.abs(r.y + r.height / 2 - (a.y + a.height / 2)) <= 2")" = true ]
}
# gnome_keys KEYVAL_NAME COUNT: COUNT presses of that key (Clutter.KEY_<name>)
# from a virtual keyboard, to whatever has the keyboard.
gnome_keys() {
    shell_eval "const C = imports.gi.Clutter, G = imports.gi.GLib;
        global.velsokuraKeys ??= C.get_default_backend().get_default_seat().create_virtual_device(C.InputDeviceType.KEYBOARD_DEVICE);
        for (let i = 0; i < $2; i++) for (const s of [C.KeyState.PRESSED, C.KeyState.RELEASED])
            global.velsokuraKeys.notify_keyval(G.get_monotonic_time(), C.KEY_$1, s); 'ok'" >/dev/null
}
# gnome_point X Y: the virtual pointer moved to that point of the screen.
gnome_point() {
    shell_eval "const C = imports.gi.Clutter, G = imports.gi.GLib;
        global.velsokuraPointer ??= C.get_default_backend().get_default_seat().create_virtual_device(C.InputDeviceType.POINTER_DEVICE);
        global.velsokuraPointer.notify_absolute_motion(G.get_monotonic_time(), $1, $2); 'ok'" >/dev/null
}
# gnome_click X Y: a left click from the virtual pointer at that point.
gnome_click() {
    gnome_point "$1" "$2"
    # The press comes once the motion has been seen, as a hand's would.
    sleep 0.2
    local state
    for state in PRESSED RELEASED; do
        shell_eval "const C = imports.gi.Clutter;
            global.velsokuraPointer.notify_button(imports.gi.GLib.get_monotonic_time(), C.BUTTON_PRIMARY, C.ButtonState.$state); 'ok'" >/dev/null
        sleep 0.1
    done
}
# gnome_screenshot FILE: the whole screen, through the Shell's screenshot service.
gnome_screenshot() {
    gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell/Screenshot \
        -m org.gnome.Shell.Screenshot.Screenshot false false "$1" >/dev/null
}
# gnome_tray_icon: "X Y", the centre of the program's icon in the top bar
# (the AppIndicator extension's), or nothing while there is none.
gnome_tray_icon() {
    shell_eval "const e = Object.entries(Main.panel.statusArea).find(([k, v]) => k.startsWith('appindicator') && v.visible && v.mapped);
        if (!e) ''; else { const [x, y] = e[1].get_transformed_position(), [w, h] = e[1].get_transformed_size();
        [Math.round(x + w / 2), Math.round(y + h / 2)].join(' '); }"
}
# gnome_combo KEYVAL_NAME...: those keys pressed in order and let go in
# reverse (Alt_L e), from the virtual keyboard.
gnome_combo() {
    local names=("$@") js="" i
    for ((i = 0; i < ${#names[@]}; i++)); do js+="k(C.KEY_${names[i]}, C.KeyState.PRESSED); "; done
    for ((i = ${#names[@]} - 1; i >= 0; i--)); do js+="k(C.KEY_${names[i]}, C.KeyState.RELEASED); "; done
    shell_eval "const C = imports.gi.Clutter, G = imports.gi.GLib;
        global.velsokuraKeys ??= C.get_default_backend().get_default_seat().create_virtual_device(C.InputDeviceType.KEYBOARD_DEVICE);
        const k = (v, s) => global.velsokuraKeys.notify_keyval(G.get_monotonic_time(), v, s); $js 'ok'" >/dev/null
}
# gnome_session_clients: "PID APP_ID" of each client of the session manager
# (an X client's process and app stay unknown to it: "0 "); the program's own
# app id is APP_ID.
APP_ID=io.github.velsokura.velsokura
gnome_session_clients() {
    local path call=(gdbus call --session -d org.gnome.SessionManager)
    for path in $("${call[@]}" -o /org/gnome/SessionManager -m org.gnome.SessionManager.GetClients |
                  grep -o '/org/gnome/SessionManager/Client[0-9]*'); do
        echo "$("${call[@]}" -o "$path" -m org.gnome.SessionManager.Client.GetUnixProcessId | sed 's/^(uint32 \([0-9]*\),)$/\1/')" \
            "$("${call[@]}" -o "$path" -m org.gnome.SessionManager.Client.GetAppId | sed "s/^('\(.*\)',)$/\1/")"
    done
}
# gnome_scale FACTOR: the monitor at that integer scale, and GNOME's settings
# daemon telling X clients (Xft/DPI) as a session's does.
gnome_scale() {
    local state serial mode
    state=$(gdbus call --session -d org.gnome.Mutter.DisplayConfig -o /org/gnome/Mutter/DisplayConfig \
        -m org.gnome.Mutter.DisplayConfig.GetCurrentState)
    serial=$(sed -n 's/^(uint32 \([0-9]*\),.*/\1/p' <<<"$state")
    mode=$(grep -o "'[0-9]*x[0-9]*@[0-9.]*'" <<<"$state" | head -n 1)
    gdbus call --session -d org.gnome.Mutter.DisplayConfig -o /org/gnome/Mutter/DisplayConfig \
        -m org.gnome.Mutter.DisplayConfig.ApplyMonitorsConfig "$serial" 1 \
        "[(0, 0, $1.0, 0, true, [('Meta-0', $mode, @a{sv} {})])]" "@a{sv} {}" >/dev/null ||
        fail "the monitor cannot be set to scale $1"
    [ "$(shell_eval 'global.display.get_monitor_scale(0)')" = "$1" ] || fail "the monitor is not at scale $1"
    GSETTINGS_BACKEND=memory /usr/libexec/gsd-xsettings >"$E2E_TMP/gsd-xsettings.log" 2>&1 &
    E2E_PIDS+=($!)
    xft_dpi() { xprop -root RESOURCE_MANAGER 2>/dev/null | grep -q "Xft.dpi:\\\\t$((96 * $1))"; }
    wait_until 20 xft_dpi "$1" || fail "GNOME's settings daemon did not tell X clients the scale: $(xprop -root RESOURCE_MANAGER)"
}
# gnome_notifications: "title|text" of each notification the Shell holds
# from the program, a line each.
gnome_notifications() {
    shell_eval "Main.messageTray.getSources().filter(s => s.title === 'velsokura')
        .flatMap(s => s.notifications.map(n => n.title + '|' + n.bannerBodyText)).join('\\\\n')" | sed 's/\\n/\n/g'
}
# gnome_banner: "X Y", the centre of the notification banner on screen, or nothing.
gnome_banner() {
    shell_eval "const b = Main.messageTray._bannerBin; if (!b.visible || !b.get_n_children()) ''; else {
        const [x, y] = b.get_transformed_position(), [w, h] = b.get_transformed_size();
        [Math.round(x + w / 2), Math.round(y + h / 2)].join(' '); }"
}
