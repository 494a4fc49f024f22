# A termination signal (SIGTERM, SIGHUP, SIGINT) saves as the Exit button
# does: each run adds the same schedule through the window, at the same
# (faked) minute, then ends; every file must match the orderly exit's byte
# for byte.
source "$(dirname "$0")/lib.sh"
program=$1
fake_clock '2026-12-07 10:00:00' # standing still: every run adds at the same minute
start_x
start_wm

# run_and_end HOW: a fresh program folder, one schedule added by keyboard,
# then the end by HOW (exit, or a signal name); the folder is kept in
# $E2E_TMP/HOW.
run_and_end() {
    local how=$1 pid win
    make_appdir "$program"
    printf '1\r\n' >"$APPDIR/velsokura.txt" # not the first run
    "${CLOCK[@]}" "$APPDIR/velsokura" >"$E2E_TMP/$how.log" 2>&1 &
    pid=$!
    E2E_PIDS+=("$pid")
    # No notification area here: the main window stays on screen; its caption
    # carries the clock once the first tick has come.
    wait_until 30 bash -c "xdotool search --onlyvisible --name 'velsokura.*2026/12/07' >/dev/null 2>&1" ||
        fail "$how: the main window did not appear"
    win=$(xdotool search --onlyvisible --name 'velsokura.*2026/12/07' 2>/dev/null | head -n 1)
    xdotool windowactivate --sync "$win"
    # The hour field has the focus: hour, minute and text, then Add (追加(&D)).
    xdotool type --delay 50 "10"
    xdotool key Tab
    xdotool type --delay 50 "30"
    xdotool key Tab
    xdotool type --delay 50 "dentist"
    xdotool key alt+d
    wait_until 20 grep -q dentist "$APPDIR/velsokura.txt" ||
        fail "$how: adding through the window wrote nothing"
    if [[ $how == exit ]]; then
        xdotool key alt+h # 終了(&H)
    else
        kill -s "$how" "$pid"
    fi
    wait_until 30 bash -c "! kill -0 $pid 2>/dev/null" || fail "$how: the program did not end"
    wait "$pid" 2>/dev/null || true
    mv "$APPDIR" "$E2E_TMP/$how"
}

run_and_end exit
grep -q $'^1\r$' "$E2E_TMP/exit/velsokura.txt" || fail "the orderly exit did not write its first line"
for signal in TERM HUP INT; do
    run_and_end "$signal"
    diff -r "$E2E_TMP/exit" "$E2E_TMP/$signal" || fail "SIG$signal saved other files than an orderly exit"
    ok "SIG$signal saves every file as the Exit button does"
done
