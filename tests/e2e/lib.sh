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
