#!/bin/bash
# The real program against the floor (bench/floor, a bare Qt table), started
# alternately on one virtual X display with openbox, trayer and, when
# installed, a sound server; each reads N schedules. Per program and N, the
# medians of RUNS runs:
#   start ms  processor time (user + system, all threads) from the start until
#             the tray icon is docked (velsokura) or the window is shown (floor)
#             and the process has then gone quiet (a second with under 2 ms and
#             at most one wake-up)
#   idle ms   processor time over the IDLE seconds that follow
#   RSS MiB   resident memory at the end of the idle time
#   wake/min  voluntary context switches (wake-ups) per idle minute; the
#             tick sleeps up to a minute, so give IDLE several minutes for it
#   (idle ms and wake/min count the threads alive at the end of the idle time)
# Given the Windows build (PROGRAM.exe), both run under Wine as a Japanese
# user (scripts/wine-run), in one prefix kept for the whole measure (its
# wineserver and explorer.exe, which docks the icon, started before the first
# run). The figures are those of the program's own process: Wine runs a
# Windows process as one Linux process, its threads the program's and Wine's
# own in it; wineserver, which every Wine process calls, is not counted.
# Not a test: run by hand.
#   bench/startup_idle.sh build/velsokura build/bench/bench_floor [IDLE_SECONDS [RUNS]]
#   bench/startup_idle.sh build-win/velsokura.exe build-win/bench_floor.exe ...
#   SIZES="1000 10000" bench/startup_idle.sh ...   (default 1000 10000 100000)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=../tests/e2e/lib.sh
source "$here/../tests/e2e/lib.sh"

[[ $# -ge 2 ]] || { echo "usage: $0 VELSOKURA FLOOR [IDLE_SECONDS [RUNS]]" >&2; exit 2; }
PROGRAM=$(realpath "$1")
FLOOR=$(realpath "$2")
IDLE=${3:-60}
RUNS=${4:-5}
SIZES=${SIZES:-1000 10000 100000}
TICK_MS=$((1000 / $(getconf CLK_TCK)))

# schedules N: the schedule file, in CP932, N appointments a minute apart from 2030.
schedules() {
    awk -v n="$1" 'BEGIN {
        printf "1\r\n"
        for (i = 0; i < n; i++) {
            d = int(i / 1440)
            printf "2030/%02d/%02d/%02d:%02d#:;*$=\\#:\\*; 予定その%d\r\n",
                1 + int(d / 28), 1 + d % 28, int(i / 60) % 24, i % 60, i
        }
    }' | iconv -f UTF-8 -t CP932
}

# Processor milliseconds of a process: the kernel's total (whole ticks, exited
# threads included), or the live threads' nanosecond sum when that is larger.
cpu_ms() {
    local total exact
    total=$(($(cpu_ticks "$1") * TICK_MS))
    exact=$(cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { printf "%d", s / 1e6 }')
    echo $((exact > total ? exact : total))
}
# threads PID: a "thread runtime-ns voluntary-switches" line per thread.
threads() {
    local t
    for t in /proc/"$1"/task/*; do
        echo "${t##*/} $(cut -d" " -f1 "$t/schedstat" 2>/dev/null)" \
            "$(awk '/^voluntary_ctxt_switches/ { print $2 }' "$t/status" 2>/dev/null)"
    done
}
# since BEFORE AFTER: "ms switches" since BEFORE of the threads alive at AFTER.
since() {
    awk 'NR == FNR { ns[$1] = $2; sw[$1] = $3; next }
         { t += $2 - ns[$1]; n += $3 - sw[$1] } END { printf "%d %d\n", t / 1e6, n }' "$1" "$2"
}
rss_kib() { awk '/^VmRSS/ { print $2 }' "/proc/$1/status"; }

# ready PID icon|window: the tray icon is docked, or any window is shown.
ready() {
    local w
    # Wine docks the icon of every Windows program as a window of explorer.exe.
    [[ $WINDOWS && $2 == icon ]] && { [ -n "$(tray_icon velsokura "$WINE_TRAY_ICON")" ]; return; }
    for w in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
        [[ $2 == window ]] && return 0
        xprop -id "$w" _XEMBED_INFO 2>/dev/null | grep -q = && return 0
    done
    return 1
}

# measure NAME MODE DIR COMMAND...: one run; appends "start idle rss wake" to $E2E_TMP/NAME.
measure() {
    local name=$1 mode=$2 dir=$3; shift 3
    (cd "$dir" && exec "$@" >"$E2E_TMP/log-$name.log" 2>&1) &
    local pid=$!
    E2E_PIDS+=($pid)
    wait_until 120 ready "$pid" "$mode" || fail "$name did not come up"
    local start i idle woken
    for ((i = 0; i < 30; i++)); do
        threads "$pid" >"$E2E_TMP/before"
        sleep 1
        threads "$pid" >"$E2E_TMP/after"
        read -r idle woken < <(since "$E2E_TMP/before" "$E2E_TMP/after")
        ((idle < 2 && woken <= 1)) && break
    done
    start=$(cpu_ms "$pid")
    threads "$pid" >"$E2E_TMP/before"
    sleep "$IDLE"
    threads "$pid" >"$E2E_TMP/after"
    read -r idle woken < <(since "$E2E_TMP/before" "$E2E_TMP/after")
    echo "$start $idle $(rss_kib "$pid") $((woken * 6000 / IDLE))" \
        >>"$E2E_TMP/$name"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
}

median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
column_median() { awk -v c="$2" '{ print $c }' "$E2E_TMP/$1" | median; }

start_x
start_wm
start_tray
command -v pulseaudio >/dev/null && start_pulse
WINDOWS=
launch=()
if [[ $PROGRAM == *.exe ]]; then
    WINDOWS=1
    start_wine_prefix
    launch=(env -u QT_QPA_PLATFORM "$WINE_RUN")
fi

for n in $SIZES; do
    mkdir -p "$E2E_TMP/v$n" "$E2E_TMP/f$n"
    if [[ $WINDOWS ]]; then
        # The program's folder as it ships: Qt's DLLs and plugins beside it.
        cp -r "$(dirname "$PROGRAM")"/{*.dll,platforms,styles,translations} "$E2E_TMP/v$n/"
        cp -r "$(dirname "$PROGRAM")"/{*.dll,platforms,styles} "$E2E_TMP/f$n/"
        cp "$FLOOR" "$E2E_TMP/f$n/"
    else
        cp "$(dirname "$PROGRAM")"/velsokura-sound.* "$E2E_TMP/v$n/"
    fi
    cp "$PROGRAM" "$E2E_TMP/v$n/"
    cp "$(dirname "$PROGRAM")"/*.mp3 "$E2E_TMP/v$n/" 2>/dev/null || true
    schedules "$n" >"$E2E_TMP/f$n/velsokura.txt"
    printf '1,0,0,\r\n' >"$E2E_TMP/v$n/AppData.txt"
done
for ((run = 1; run <= RUNS; run++)); do
    for n in $SIZES; do
        # Each run starts from the same files: the program rewrites its own at exit.
        cp "$E2E_TMP/f$n/velsokura.txt" "$E2E_TMP/v$n/velsokura.txt"
        rm -f "$E2E_TMP/v$n/RirekiData.dat"
        measure "velsokura-$n" icon "$E2E_TMP/v$n" "${launch[@]}" "./$(basename "$PROGRAM")"
        if [[ $WINDOWS ]]; then
            measure "floor-$n" window "$E2E_TMP/f$n" "${launch[@]}" "./$(basename "$FLOOR")" velsokura.txt
        else
            measure "floor-$n" window "$E2E_TMP/f$n" "$FLOOR" velsokura.txt
        fi
    done
    echo "run $run of $RUNS done" >&2
done

for f in "$E2E_TMP"/velsokura-* "$E2E_TMP"/floor-*; do
    echo "$(basename "$f") (start idle rss wake): $(paste -sd, "$f")" >&2
done
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else print "-" }'; }
printf '%-8s %-10s %9s %9s %8s %7s\n' N program "start ms" "idle ms" "RSS MiB" "wake/min"
for n in $SIZES; do
    for p in velsokura floor; do
        printf '%-8s %-10s %9s %9s %8s %7s\n' "$n" "$p" \
            "$(column_median "$p-$n" 1)" "$(column_median "$p-$n" 2)" \
            "$(awk -v k="$(column_median "$p-$n" 3)" 'BEGIN { printf "%.1f", k / 1024 }')" \
            "$(awk -v w="$(column_median "$p-$n" 4)" 'BEGIN { printf "%.2f", w / 100 }')"
    done
    printf '%-8s %-10s %9s %9s %8s %7s\n' "$n" "ratio" \
        "x$(ratio "$(column_median "velsokura-$n" 1)" "$(column_median "floor-$n" 1)")" \
        "x$(ratio "$(column_median "velsokura-$n" 2)" "$(column_median "floor-$n" 2)")" \
        "x$(ratio "$(column_median "velsokura-$n" 3)" "$(column_median "floor-$n" 3)")" \
        "x$(ratio "$(column_median "velsokura-$n" 4)" "$(column_median "floor-$n" 4)")"
done
read -r -a sizes <<<"$SIZES"
if ((${#sizes[@]} >= 3)); then
    # Growth of the per-schedule part of the start-up cost (above the first N's:
    # both programs then have their fonts and tables set up) from the last N
    # but one to the last; linear growth gives the growth of N - N1.
    a=${sizes[0]} b=${sizes[-2]} c=${sizes[-1]}
    for p in velsokura floor; do
        s_a=$(column_median "$p-$a" 1) s_b=$(column_median "$p-$b" 1) s_c=$(column_median "$p-$c" 1)
        echo "$p: per-schedule start-up cost x$(ratio $((s_c - s_a)) $((s_b - s_a))) from $b to $c" \
            "(linear: x$(ratio $((c - a)) $((b - a))))"
    done
fi
