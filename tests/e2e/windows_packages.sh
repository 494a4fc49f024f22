#!/usr/bin/env bash
# The Windows downloads for real, under Wine in a prefix of the test's own,
# on a desktop (Xvfb, openbox, trayer). The zip, unpacked, runs with nothing
# else on its path and keeps its files beside the program. The installer, run
# silently, puts the program in %LOCALAPPDATA%\Programs\velsokura with its
# Start-menu and start-up shortcuts and its entry in Apps & features; the
# installed program keeps its data in %LOCALAPPDATA%\velsokura; installing
# again replaces the program and keeps the data; the silent uninstaller
# removes the program, the shortcuts and the entry, and keeps the data.
# Each run of the program: the first-run window closed, a schedule added from
# the window, Exit, and every file of its data folder compared byte for byte.
# Usage: windows_packages.sh WINDOWS_PROGRAM.exe
source "$(dirname "$0")/lib.sh"
need wine makensis zip unzip
here=$(cd "$(dirname "$0")/../.." && pwd)
packages=$("$here/scripts/package-windows" --from "$(dirname "$1")" 2>"$E2E_TMP/package.log") ||
    fail "scripts/package-windows: $(cat "$E2E_TMP/package.log")"
zip=$here/$(sed -n 1p <<<"$packages")
setup=$here/$(sed -n 2p <<<"$packages")
fake_clock '@2026-12-07 10:29:00'
start_x
start_wm
start_tray
start_wine_prefix
wine() { env -u QT_QPA_PLATFORM "$WINE_RUN" "$@"; }
# unix_folder VARIABLE: where a Windows folder (%VARIABLE%) of the prefix lies.
unix_folder() { wine winepath -u "$(wine cmd /c echo "%$1%" | tr -d '\r')" 2>/dev/null; }
local_data=$(unix_folder LOCALAPPDATA)
menu=$(unix_folder APPDATA)/Microsoft/Windows/Start\ Menu/Programs
startup=$menu/StartUp
program=$local_data/Programs/velsokura
data=$local_data/velsokura
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\velsokura'

# first_run PROGRAM DATA: the program's first start: the first-run window
# (広告), closed; a click on the bell shows the window; a schedule added with
# the keyboard; Exit. Then DATA holds exactly the files of a first run.
first_run() {
    local exe=$1 dir=$2 ad icon main line
    "${CLOCK[@]}" env -u QT_QPA_PLATFORM "$WINE_RUN" "$exe" >>"$E2E_TMP/program.log" 2>&1 &
    APP_PID=$!
    E2E_PIDS+=($APP_PID)
    ad=$(wait_output 60 visible_window '^広告$') || fail "$exe: no first-run window"
    # 閉じる(&A), as a hand clicks it (a key would need Wine's focus).
    xdotool mousemove --window "$ad" 568 280 sleep 0.3 click 1
    wait_until 10 gone '^広告$' || fail "$exe: the first-run window stays"
    icon=$(wait_output 30 tray_icon velsokura "$WINE_TRAY_ICON") || fail "$exe: no bell"
    read -r x y <<<"$icon"
    xdotool mousemove "$x" "$y" sleep 0.3 click 1
    main=$(wait_output 20 visible_window_sized '^velsokura　' 600 2000) || fail "$exe: the bell shows no window"
    activate "$main"
    add_schedule 10 45 dentist
    line='2026/12/07/10:45#:;*$=\#:\*; dentist'
    wait_until 20 grep -qF "$line" "$dir/velsokura.txt" || fail "$exe: adding wrote nothing into $dir"
    activate "$main"
    press alt+h # 終了(&H)
    wait_until 30 bash -c "! kill -0 $APP_PID 2>/dev/null" || fail "$exe: Exit did not end the program"
    same_bytes "$dir/velsokura.txt" '1\r\n%s\r\n' "$line"
    same_bytes "$dir/AppData.txt" '1,0,0,\r\n'
    same_bytes "$dir/RirekiData.dat" '\r\n'
    local s
    for s in Mirato1 blackout4 blackout5 blackout8; do
        cmp "$here/assets/$s.mp3" "$dir/$s.mp3" || fail "$dir: $s.mp3"
    done
    ok "$exe: first run, a schedule added, Exit: the files in $dir"
}
# same_bytes FILE FORMAT [ARGS]: FILE holds exactly what printf makes of FORMAT.
same_bytes() {
    local file=$1; shift
    # shellcheck disable=SC2059
    cmp -s <(printf "$@") "$file" || fail "$file holds: $(od -c "$file" | head -n 5)"
}

# The zip, in a folder of its own.
unzip -q "$zip" -d "$E2E_TMP/unpacked"
copy=$E2E_TMP/unpacked/velsokura
first_run "$copy/velsokura.exe" "$copy"
[ ! -e "$data" ] || fail "the unpacked copy made $data"
ok "the unpacked zip runs on its own and keeps its files beside it"

# The installer, silently, for this user.
wine "$setup" /S || fail "the installer failed"
for f in velsokura.exe uninstall.exe defaults/velsokura.txt defaults/AppData.txt; do
    [ -f "$program/$f" ] || fail "installed: no $f in $program: $(ls "$program")"
done
prefix_program=$(wine winepath -w "$program" | tr -d '\r')
for link in "$menu/velsokura.lnk" "$startup/velsokura.lnk"; do
    grep -qaF "$prefix_program\\velsokura.exe" "$link" 2>/dev/null || fail "no shortcut $link to the program"
done
wine reg query "$key" | tr -d '\r' >"$E2E_TMP/entry"
for value in "DisplayName REG_SZ velsokura" "DisplayIcon REG_SZ $prefix_program\\velsokura.exe" \
             "Publisher REG_SZ velsokura" "UninstallString REG_SZ \"$prefix_program\\uninstall.exe\"" \
             "QuietUninstallString REG_SZ \"$prefix_program\\uninstall.exe\" /S"; do
    grep -qF "    ${value% *REG_SZ*}    REG_SZ    ${value#* REG_SZ }" "$E2E_TMP/entry" ||
        fail "uninstall entry lacks $value: $(cat "$E2E_TMP/entry")"
done
grep -qE '^ +DisplayVersion +REG_SZ +[0-9.]+$' "$E2E_TMP/entry" || fail "no DisplayVersion"
ok "installed in $program, with shortcuts and an entry in Apps & features"

first_run "$program/velsokura.exe" "$data"
[ ! -e "$program/velsokura.txt" ] && [ ! -e "$program/RirekiData.dat" ] ||
    fail "the installed program wrote beside itself"
ok "the installed program keeps its data in $data"

# An update over the installed copy: a new program, the same data.
cp -r "$data" "$E2E_TMP/data-before"
printf 'old' >"$program/velsokura.exe"
wine "$setup" /S || fail "installing again failed"
cmp "$copy/velsokura.exe" "$program/velsokura.exe" || fail "installing again did not replace the program"
diff -r "$E2E_TMP/data-before" "$data" || fail "installing again changed the data"
ok "installing again replaces the program and keeps the data"

# The uninstaller runs on from a copy of itself: its end is the folder's.
wine "$program/uninstall.exe" /S || fail "the uninstaller failed"
wait_until 60 test ! -e "$program" || fail "uninstalled: $program holds $(ls "$program")"
[ ! -e "$menu/velsokura.lnk" ] && [ ! -e "$startup/velsokura.lnk" ] || fail "a shortcut stays"
! wine reg query "$key" >/dev/null 2>&1 || fail "the uninstall entry stays"
diff -r "$E2E_TMP/data-before" "$data" || fail "uninstalling changed the data"
ok "uninstalled: the program, its shortcuts and its entry are gone; the data stays"
