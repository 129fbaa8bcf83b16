#!/bin/bash
# Checks `scripts/run.sh --prefix` on a throwaway Wine prefix that stands in
# for a player's own: made by wineboot, with a game folder (the stand-in game,
# a map, a file of the player's) and registry values of its own (the game's
# INSTALLPATH and another value in the 32-bit view, a value in HKCU).
#   1. A prefix that another Wine made or last updated is refused, before
#      Wine runs in it.
#   2. run.sh --prefix, without a display, shows the dialog, which lists the
#      prefix's map and reads the game folder from the prefix's registry into
#      C:\KOLVEK\kolvar.ini.
#   3. Nothing else in the prefix changed: tools/prefix_snapshot.py compares
#      every file's and folder's size, mode and time and every registry value
#      before and after, except C:\KOLVEK, the folder KOLVEK in the user's
#      temporary folder and what Wine itself does at every
#      start (a first program run before the record takes its first-start
#      work out).
#
#   bash scripts/check-user-prefix.sh     (part of scripts/test.sh)
#
# Needs a built build/win32 (or KOLVEK_BUILD_DIR); works in build/user-prefix
# and removes the prefix when the check passes.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${KOLVEK_BUILD_DIR:-$root/build/win32}"
work="$root/build/user-prefix"
snapshot="$root/tools/prefix_snapshot.py"

export WINEPREFIX="$work/prefix"
export WINEDEBUG=-all
cleanup() {
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
    fi
}
trap cleanup EXIT
fail() {
    echo "check-user-prefix: $*" >&2
    exit 1
}

rm -rf "$work"
mkdir -p "$work"
echo "check-user-prefix: making a prefix with wineboot"
WINEARCH=win64 wineboot -i >/dev/null 2>&1
wineserver -w

game="$WINEPREFIX/drive_c/Games/Armada II"
mkdir -p "$game/bzn"
cp "$build/standin/armada2.exe" "$game/"
printf 'Karte\r\n' >"$game/bzn/Eigene Karte.bzn"
printf 'Spielstand\r\n' >"$game/save.dat"
key='HKLM\SOFTWARE\Activision\Star Trek Armada II\v1.0'
wine reg add "$key" /v INSTALLPATH /t REG_SZ /d 'C:\Games\Armada II\' /reg:32 /f >/dev/null 2>&1
wine reg add "$key" /v Language /t REG_SZ /d Deutsch /reg:32 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Spieler' /v Name /t REG_SZ /d Kirk /f >/dev/null 2>&1
wineserver -w
wine cmd /c exit >/dev/null 2>&1 || true
wineserver -w

# 1. Another Wine's prefix: refused before Wine runs in it.
stamp_file="$WINEPREFIX/.update-timestamp"
cp -p "$stamp_file" "$work/update-timestamp"
printf '1000000000\r\n' >"$stamp_file"
registry_times="$(stat -c %y "$WINEPREFIX"/*.reg)"
if env -u DISPLAY KOLVEK_BUILD_DIR="$build" bash "$root/scripts/run.sh" --prefix "$WINEPREFIX" \
    >"$work/refused.log" 2>&1; then
    cat "$work/refused.log" >&2
    fail "run.sh --prefix ran in a prefix of another Wine"
fi
grep -q 'another Wine' "$work/refused.log" || {
    cat "$work/refused.log" >&2
    fail "run.sh --prefix failed on a prefix of another Wine, but not for that reason"
}
if [ -e "$WINEPREFIX/drive_c/KOLVEK" ] || [ "$(stat -c %y "$WINEPREFIX"/*.reg)" != "$registry_times" ]; then
    fail "the refused run wrote into the prefix"
fi
cp -p "$work/update-timestamp" "$stamp_file"

python3 "$snapshot" save "$WINEPREFIX" "$work/before.json"

# 2. The run.
echo "check-user-prefix: run.sh --prefix $WINEPREFIX"
env -u DISPLAY KOLVEK_BUILD_DIR="$build" bash "$root/scripts/run.sh" --prefix "$WINEPREFIX" \
    >"$work/run.log" 2>&1 || {
    cat "$work/run.log" >&2
    fail "run.sh --prefix failed"
}
grep -q 'Esc closed the dialog' "$work/run.log" || {
    cat "$work/run.log" >&2
    fail "the dialog did not close on Esc"
}
wineserver -w
expected="$(printf '[General]\r\nArmadaPath = C:\\Games\\Armada II\\\r\n')"
[ "$(cat "$WINEPREFIX/drive_c/KOLVEK/kolvar.ini")" = "$expected" ] ||
    fail "kolvar.ini does not hold the game folder from the prefix's registry"
cmp -s "$build/KOLVEK/KOLVEK.EXE" "$WINEPREFIX/drive_c/KOLVEK/KOLVEK.EXE" ||
    fail "C:\\KOLVEK\\KOLVEK.EXE is not the built one"

# 3. Nothing else.
python3 "$snapshot" save "$WINEPREFIX" "$work/after.json"
# KOLVEK.EXE makes its own folder for the launches' script copies in the
# user's temporary folder (Wine 8 has it in the profile, later Wines in
# AppData\Local).
user="$(id -un)"
python3 "$snapshot" compare "$work/before.json" "$work/after.json" drive_c/KOLVEK \
    "drive_c/users/$user/Temp/KOLVEK" "drive_c/users/$user/AppData/Local/Temp/KOLVEK" >&2 ||
    fail "run.sh --prefix changed the prefix outside C:\\KOLVEK and KOLVEK's temporary folder"
echo "check-user-prefix: only C:\\KOLVEK and KOLVEK's temporary folder changed"
# The prefix takes over a gigabyte; the records and logs stay.
wineserver -k 2>/dev/null || true
wineserver -w 2>/dev/null || true
rm -rf "$WINEPREFIX"
