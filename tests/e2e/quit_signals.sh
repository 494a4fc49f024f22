# A termination signal (SIGTERM, SIGHUP, SIGINT) saves as the Exit button
# does: each run adds the same schedule through the window, at the same
# (faked) minute, then ends; every file must match the orderly exit's byte
# for byte. What an open window holds is saved as its close would save it,
# and no box holds up the end.
source "$(dirname "$0")/lib.sh"
program=$1
fake_clock '2026-12-07 10:00:00' # standing still: every run adds at the same minute
start_x
start_wm

# launch NAME: starts the program of APPDIR (output in $E2E_TMP/NAME.log) and
# waits for its main window: PID, WIN. A start-up notice gets its OK.
launch() {
    "${CLOCK[@]}" "$APPDIR/velsokura" >"$E2E_TMP/$1.log" 2>&1 &
    PID=$!
    APP_PID=$PID
    E2E_PIDS+=("$PID")
    # No notification area here: the main window stays on screen; its caption
    # carries the clock once the first tick has come.
    wait_until 30 bash -c "xdotool search --onlyvisible --name 'velsokura.*2026/12/07' >/dev/null 2>&1" ||
        fail "$1: the main window did not appear"
    WIN=$(xdotool search --onlyvisible --name 'velsokura.*2026/12/07' 2>/dev/null | head -n 1)
    if shown '^velsokura$'; then
        activate "$(visible_window '^velsokura$')"
        press alt+i
        wait_until 10 gone '^velsokura$' || fail "$1: the start-up notice stays"
    fi
    xdotool windowactivate --sync "$WIN"
}

# ends_within SECONDS NAME: the program has ended within SECONDS.
ends_within() {
    wait_until "$1" bash -c "! kill -0 $PID 2>/dev/null" || fail "$2: the program did not end within $1 s"
    wait "$PID" 2>/dev/null || true
}

# not_first_run: a fresh program folder whose first run is over.
not_first_run() {
    make_appdir "$program"
    printf '1\r\n' >"$APPDIR/velsokura.txt"
}

# run_and_end HOW: a fresh program folder, one schedule added by keyboard,
# then the end by HOW (exit, or a signal name); the folder is kept in
# $E2E_TMP/HOW.
run_and_end() {
    local how=$1
    not_first_run
    launch "$how"
    add_schedule 10 30 dentist
    wait_until 20 grep -q dentist "$APPDIR/velsokura.txt" ||
        fail "$how: adding through the window wrote nothing"
    if [[ $how == exit ]]; then
        xdotool key alt+h # 終了(&H)
    else
        kill -s "$how" "$PID"
    fi
    ends_within 30 "$how"
    mv "$APPDIR" "$E2E_TMP/$how"
}

run_and_end exit
grep -q $'^1\r$' "$E2E_TMP/exit/velsokura.txt" || fail "the orderly exit did not write its first line"
for signal in TERM HUP INT; do
    run_and_end "$signal"
    diff -r "$E2E_TMP/exit" "$E2E_TMP/$signal" || fail "SIG$signal saved other files than an orderly exit"
    ok "SIG$signal saves every file as the Exit button does"
done

# edit_history WHAT: the history window opened from the main window, " EDITED"
# typed at the end of its text, and the program settled.
edit_history() {
    press alt+e # 履歴(&E)
    wait_until 10 shown '^velsokura 予定の履歴$' || fail "$1: no history window"
    activate "$(visible_window '^velsokura 予定の履歴$')"
    press ctrl+End
    xdotool type --delay 50 " EDITED"
    wait_until 10 settled || fail "$1: the program stays busy"
}

# What an open window holds is saved as its own close would save it.
for signal in TERM HUP INT; do
    not_first_run
    printf '2026/12/06/09:00/ dentist\r\n' >"$APPDIR/RirekiData.dat"
    launch "history-$signal"
    edit_history "SIG$signal"
    kill -s "$signal" "$PID"
    ends_within 30 "history-$signal"
    grep -q 'dentist EDITED' "$APPDIR/RirekiData.dat" ||
        fail "SIG$signal lost the edit of the open history window: $(cat -A "$APPDIR/RirekiData.dat")"
    ok "SIG$signal keeps the edit of the open history window"

    not_first_run
    launch "options-$signal"
    open_options
    # ♪サウンド1(&L), the arrows along the row to ♪ファイルから(P), Space
    # chooses it; no file chosen.
    press alt+l Right Right Right Right space
    wait_until 10 settled || fail "SIG$signal: the program stays busy"
    kill -s "$signal" "$PID"
    ends_within 30 "options-$signal"
    [ "$(cat "$APPDIR/AppData.txt")" = $'1,0,0,\r' ] ||
        fail "SIG$signal saved the file sound without a file: $(cat -A "$APPDIR/AppData.txt")"
    ok "SIG$signal saves sound 1 for the file sound without a file, as closing the window does"
done

# A failure during a session end waits for nobody: the export folder cannot
# be made (a file holds its name), the program still ends at once and writes
# every file (each was left with LF line ends, which it writes as CR LF). A
# signal also releases the box the user's own Exit waits on.
for how in TERM exit-then-TERM; do
    make_appdir "$program"
    printf '1\n' >"$APPDIR/velsokura.txt"
    printf '1,2,1,\n' >"$APPDIR/AppData.txt"
    printf '2026/12/06/09:00/ dentist\n' >"$APPDIR/RirekiData.dat"
    : >"$APPDIR/Rireki"
    launch "export-$how"
    if [[ $how != TERM ]]; then
        press alt+h # 終了(&H)
        wait_until 10 shown '^velsokura$' ||
            fail "$how: the Exit showed no box for the export folder"
    fi
    kill -s TERM "$PID"
    ends_within 5 "export-$how"
    for f in velsokura.txt AppData.txt RirekiData.dat; do
        grep -q $'\r$' "$APPDIR/$f" || fail "$how: $f was not written: $(cat -A "$APPDIR/$f")"
    done
    if [[ $how == TERM ]]; then
        grep -q 'フォルダを作成できませんでした。' "$E2E_TMP/export-$how.log" ||
            fail "$how: standard error does not tell of the export folder"
    fi
    ok "$how with no export folder possible ends at once and writes every file"
done

# The display goes before anything tells the program of the session's end
# (a logout that ends the X server first): the files are still written as
# the exit writes them: the schedule added, the entry of an alarm that rang
# and the edit in the open history window, the settings (given with LF line
# ends, written with CR LF).
make_appdir "$program"
printf '1\n2026/12/07/11:00#:;*$=\\#:\\*; meeting\n' >"$APPDIR/velsokura.txt"
printf '1,0,0,\n' >"$APPDIR/AppData.txt"
printf '2026/12/06/09:00/ dentist\r\n' >"$APPDIR/RirekiData.dat"
fake_clock '@2026-12-07 10:59:50'
launch display-lost
# The start-up notice's OK leaves the focus elsewhere: a click into the hour
# field (1590, 5415 twips into the window) gives it back.
info=$(xwininfo -id "$WIN")
xdotool mousemove $(($(sed -n 's/.*Absolute upper-left X: *//p' <<<"$info") + 106)) \
    $(($(sed -n 's/.*Absolute upper-left Y: *//p' <<<"$info") + 361)) click 1
add_schedule 12 30 lunch
wait_until 20 grep -q lunch "$APPDIR/velsokura.txt" || fail "display lost: adding wrote nothing"
alarm=$(wait_output 30 above_window '^velsokura$') || fail "display lost: no alarm"
activate "$alarm"
press alt+i
wait_until 10 gone '^velsokura$' || fail "display lost: the alarm stays"
activate "$WIN"
edit_history "display lost"
kill "$X_PID"
ends_within 10 display-lost
grep -q 'connection broke' "$E2E_TMP/display-lost.log" || fail "display lost: the program did not see the display go: $(tail -n 3 "$E2E_TMP/display-lost.log")"
[ "$(head -n 1 "$APPDIR/velsokura.txt")" = $'1\r' ] && grep -q $'lunch\r$' "$APPDIR/velsokura.txt" ||
    fail "display lost: the schedule file is not as the exit leaves it: $(cat -A "$APPDIR/velsokura.txt")"
grep -q $'^2026/12/07/11:00/ meeting\r$' "$APPDIR/RirekiData.dat" && grep -q 'dentist EDITED' "$APPDIR/RirekiData.dat" ||
    fail "display lost: the history lost the alarm's entry or the window's edit: $(cat -A "$APPDIR/RirekiData.dat")"
[ "$(cat "$APPDIR/AppData.txt")" = $'1,0,0,\r' ] ||
    fail "display lost: the settings were not written: $(cat -A "$APPDIR/AppData.txt")"
ok "the display lost under the program: schedule, history with the alarm's entry and the window's edit, and settings written as the exit writes them"
