#!/usr/bin/env bash
# The Debian package for real: built from this build tree, installed with
# apt-get, its metadata validated, the installed program run by an ordinary
# user on a desktop with a notification area, a schedule added and the
# program ended, and the files in that user's data folder checked byte for
# byte. The package, the packages it pulled in and the user it created are
# removed again. Needs root and apt-get; skips otherwise.
# Usage: installed_package.sh BUILT-PROGRAM
source "$(dirname "$0")/lib.sh"
build=$(dirname "$1")

[ "$(id -u)" -eq 0 ] || skip "installing a package needs root"
need apt-get dpkg-query cpack setpriv useradd userdel desktop-file-validate appstreamcli identify
dpkg-query -W -f='${Status}' velsokura 2>/dev/null | grep -q 'install ok installed' &&
    skip "velsokura is installed on this machine already; the test would replace it"
grep -q '^VELSOKURA_SANITIZE:BOOL=ON' "$build/CMakeCache.txt" &&
    skip "a package is made from a build without sanitizers"

app_id=io.github.velsokura.velsokura
user=velsokura-e2e
apt_opts=(-y -q -o DPkg::Lock::Timeout=120)

# Leaves the machine as it was: the package gone, the packages installed
# only for it gone, the user gone if this test made it.
made_user=""
installing=""
added=""
pid=""
restore() {
    # The user's program first: userdel refuses a user who still runs one.
    if [ -n "$pid" ]; then kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; fi
    if [ -n "$installing" ]; then
        DEBIAN_FRONTEND=noninteractive apt-get purge "${apt_opts[@]}" velsokura >/dev/null 2>&1 ||
            echo "could not remove velsokura" >&2
        # dpkg refuses to remove what another package has come to need meanwhile.
        if [ -n "$added" ]; then dpkg --purge $added >/dev/null 2>&1 || echo "left: $added" >&2; fi
        installing=""
    fi
    if [ -n "$made_user" ]; then userdel "$user" 2>/dev/null || true; fi
    made_user=""
}
trap 'restore; e2e_cleanup' EXIT

start_x
start_wm
start_tray

# The package, from the tree under test.
(cd "$build" && cpack -G DEB -B "$E2E_TMP/pkg" >"$E2E_TMP/cpack.log" 2>&1) ||
    { cat "$E2E_TMP/cpack.log"; fail "cpack could not build the package"; }
deb=$(ls "$E2E_TMP"/pkg/velsokura_*.deb)
ok "built $(basename "$deb")"

installing=y
status=0
DEBIAN_FRONTEND=noninteractive apt-get install "${apt_opts[@]}" "$deb" >"$E2E_TMP/apt.log" 2>&1 || status=$?
# What apt installed only for velsokura, to be removed with it.
added=$(awk '/^The following NEW packages will be installed:/ {f = 1; next}
             f && /^  / {print; next} {f = 0}' "$E2E_TMP/apt.log" | tr ' ' '\n' | grep -vx 'velsokura\|' || true)
if [ $status -ne 0 ]; then
    cat "$E2E_TMP/apt.log"
    grep -q 'Failed to fetch\|Unable to fetch\|Could not get lock\|Unable to acquire' "$E2E_TMP/apt.log" &&
        skip "apt-get cannot install here"
    fail "apt-get install failed"
fi
ok "apt-get install ./$(basename "$deb")"

# Menu entry, icons and metadata.
desktop-file-validate "/usr/share/applications/$app_id.desktop" || fail "desktop entry"
grep -qx 'Name=velsokura' "/usr/share/applications/$app_id.desktop" || fail "menu name"
appstreamcli validate --no-net "/usr/share/metainfo/$app_id.metainfo.xml" || fail "AppStream metadata"
for size in 16 22 24 32 48 64 128 256; do
    icon=/usr/share/icons/hicolor/${size}x${size}/apps/$app_id.png
    [ "$(identify -format '%m %wx%h' "$icon" 2>/dev/null)" = "PNG ${size}x${size}" ] ||
        fail "icon of $size px"
done
ok "desktop entry, AppStream metadata and icons of 16-256 px"

# An ordinary user whose home, runtime and temporary folders lie in the
# test's folder, so that nothing of it stays behind.
if ! id "$user" >/dev/null 2>&1; then
    useradd --no-create-home --user-group --shell /usr/sbin/nologin "$user"
    made_user=y
fi
chmod 711 "$E2E_TMP"
home="$E2E_TMP/home"
mkdir -p "$home/run" "$home/tmp"
chmod 700 "$home/run" "$home/tmp"
chown -R "$user:" "$home"
data="$home/.local/share/velsokura"

# Its clock starts at 2027/01/05 10:00; the test ends well within the minute.
fake_clock '@2027-01-05 10:00:00'
setpriv --reuid="$user" --regid="$user" --init-groups \
    env HOME="$home" XDG_RUNTIME_DIR="$home/run" TMPDIR="$home/tmp" \
    "${CLOCK[@]}" /usr/bin/velsokura >"$E2E_TMP/program.log" 2>&1 &
pid=$!
E2E_PIDS+=($pid)

# The first start takes the defaults: its first-run window comes up.
has_window() { test -n "$(visible_window "$1")"; }
wait_until 30 has_window '^広告$' ||
    fail "no first-run window: $(cat "$E2E_TMP/program.log")"
ad=$(visible_window '^広告$')
xdotool windowactivate --sync "$ad" key --clearmodifiers alt+a
wait_until 10 eval '! has_window ^広告$' || fail "the first-run window stays"
ok "first start in $data"

# The bell in the notification area (top right) brings the window.
xdotool mousemove 1008 16 click 1
wait_until 10 has_window '^velsokura　' || fail "the tray icon shows no window"
main=$(visible_window '^velsokura　')
xdotool windowactivate --sync "$main"
field() { # X Y TEXT: clicks the field at (X, Y) in the window and types TEXT
    xdotool mousemove --window "$main" "$1" "$2" click 1
    xdotool type --delay 50 "$3"
}
field 106 361 18
field 134 361 30
# Plain ASCII: xdotool types other characters by remapping a key, and a
# busy program can miss the first key of a new mapping.
field 444 361 'Dentist, bring the card'
xdotool key --clearmodifiers alt+d
printf '2027/01/05/18:30#:;*$=\\#:\\*; Dentist, bring the card\r\n' >"$E2E_TMP/line"
wait_until 10 cmp -s "$E2E_TMP/line" "$data/velsokura.txt" ||
    fail "the schedule did not reach the file: $(od -c "$data/velsokura.txt" | head)"
ok "a schedule added through the window"

# The sound player is a module loaded at the first play: the installed one is found.
xdotool windowactivate --sync "$main" key --clearmodifiers alt+b
wait_until 10 has_window '^オプション$' || fail "no options window"
options=$(visible_window '^オプション$')
xdotool windowactivate --sync "$options" key --clearmodifiers alt+u
wait_until 10 grep -q ' /usr/lib/.*velsokura-sound.so$' "/proc/$pid/maps" ||
    fail "a test play loaded no sound module: $(cat "$E2E_TMP/program.log")"
xdotool windowactivate --sync "$options" key --clearmodifiers alt+t
wait_until 10 eval '! has_window ^オプション$' || fail "the options window stays"
ok "a test play loads the installed sound module"

xdotool windowactivate --sync "$main" key --clearmodifiers alt+h
wait_until 20 bash -c '! kill -0 "$0" 2>/dev/null' "$pid" || fail "the program did not end"
pid=""

# Every file of the data folder, byte for byte.
same() { cmp -s <(printf "$2") "$data/$1" || fail "$1: $(od -c "$data/$1" | head -n 5)"; }
[ "$(cd "$data" && LC_ALL=C ls | tr '\n' ' ')" = \
    "AppData.txt Mirato1.mp3 RirekiData.dat blackout4.mp3 blackout5.mp3 blackout8.mp3 velsokura.txt " ] ||
    fail "data folder holds: $(ls "$data")"
cmp -s <(printf '1\r\n' && cat "$E2E_TMP/line") "$data/velsokura.txt" || fail "velsokura.txt at exit"
same AppData.txt '1,0,0,\r\n'
same RirekiData.dat '\r\n'
for s in Mirato1 blackout4 blackout5 blackout8; do
    cmp -s "/usr/share/velsokura/$s.mp3" "$data/$s.mp3" || fail "$s.mp3"
done
[ -z "$(find "$data" ! -user "$user")" ] || fail "files not owned by the user"
ok "the data folder holds the schedule, the settings, the history and the sounds"

restore
dpkg-query -W -f='${Status}' velsokura 2>/dev/null | grep -q 'install ok installed' &&
    fail "the package is still installed"
[ ! -e /usr/bin/velsokura ] || fail "/usr/bin/velsokura is still there"
ok "package removed"
