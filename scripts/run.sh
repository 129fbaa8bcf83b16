#!/bin/bash
# Shows KOLVEK.EXE working, under Wine, against a demo installation of the game.
#
#   scripts/run.sh            build if needed, set up the demo, start the dialog
#
# The demo lives in build/demo/prefix, a Wine prefix of its own:
#   C:\Spiele\Armada II\          the game folder (INSTALLPATH in the registry)
#       armada2.exe               a stand-in that logs its command line to
#                                 armada2.log in that folder
#       bzn\*.bzn                 a few sample maps
#   C:\KOLVEK\                    KOLVEK.EXE and Liesmich.txt
# Every run starts from a fresh game folder and program folder, so the first
# start (registry read, kolvar.ini written) is what you see.
#
# With DISPLAY set you work the real dialog; the script waits until you close
# it and then prints what the game was started with. Without DISPLAY it starts
# Xvfb, waits for the dialog, saves a screenshot to build/demo/dialog.png and
# closes the program again.
#
# Environment: KOLVEK_BUILD_DIR (default build/win32), KOLVEK_DPI (screen
# resolution for Wine, default 96).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$root/scripts/display.sh"
build="${KOLVEK_BUILD_DIR:-$root/build/win32}"
demo="$root/build/demo"
dpi="${KOLVEK_DPI:-96}"
title='Armada II Karteneditor starten'

bash "$root/scripts/setup.sh"

# --- Build ---------------------------------------------------------------------
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"
fi
cmake --build "$build" --target KOLVEK armada2 -j "$(nproc 2>/dev/null || echo 2)"
program_dir="$build/KOLVEK"
standin="$build/standin/armada2.exe"

# --- A display ------------------------------------------------------------------
kolvek_pid=""
cleanup() {
    if [ -n "$kolvek_pid" ]; then
        kill "$kolvek_pid" 2>/dev/null || true
    fi
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
    fi
    stop_xvfb
}
trap cleanup EXIT

headless=0
if [ -z "${DISPLAY:-}" ]; then
    headless=1
    start_xvfb 99 1024x768x24 || exit 1
fi

# --- The Wine prefix -----------------------------------------------------------
export WINEPREFIX="$demo/prefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
mkdir -p "$demo"
if [ ! -f "$WINEPREFIX/.kolvek-demo" ]; then
    echo "run: creating the Wine prefix $WINEPREFIX (takes a minute)"
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.kolvek-demo"
fi

winereg() { wine reg "$@" >/dev/null 2>&1; }

# The game's registry entry, in the 32-bit view that KOLVEK.EXE reads.
winereg add 'HKLM\SOFTWARE\Activision\Star Trek Armada II\v1.0' \
    /v INSTALLPATH /t REG_SZ /d 'C:\Spiele\Armada II\' /reg:32 /f
winereg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
# Without a window manager (Xvfb) Wine draws the window frames itself.
if [ "$headless" -eq 1 ]; then
    winereg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
else
    winereg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f || true
fi

# --- Game folder and program folder ----------------------------------------------
drive_c="$WINEPREFIX/drive_c"
game="$drive_c/Spiele/Armada II"
rm -rf "$game" "$drive_c/KOLVEK"
mkdir -p "$game/bzn" "$drive_c/KOLVEK"
cp "$standin" "$game/armada2.exe"
map() { printf 'KOLVEK-Beispielkarte\r\nName: %s\r\n' "$2" >"$game/bzn/$1"; }
map 'Asteroidenfeld.bzn' 'Asteroidenfeld'
map 'Doppelstern.bzn' 'Doppelstern'
map 'Nebelwand.bzn' 'Nebelwand'
map 'Zwei Monde.bzn' 'Zwei Monde'
map 'Übungskarte.bzn' 'Übungskarte'
printf 'keine Karte\r\n' >"$game/bzn/notizen.txt"
cp "$program_dir/KOLVEK.EXE" "$program_dir/Liesmich.txt" "$drive_c/KOLVEK/"

# --- Start it --------------------------------------------------------------------
cd "$drive_c/KOLVEK"
wine 'C:\KOLVEK\KOLVEK.EXE' &
kolvek_pid=$!

if [ "$headless" -eq 0 ]; then
    echo "run: the dialog is open on $DISPLAY; close it to end the demo"
    wait "$kolvek_pid" || true
    kolvek_pid=""
    wineserver -w
    if [ -f "$game/armada2.log" ]; then
        echo "run: the stand-in game was started like this (command line, folder):"
        cat "$game/armada2.log"
    fi
    exit 0
fi

window="$(timeout 90 xdotool search --sync --onlyvisible --name "^${title}\$" | head -n 1 || true)"
if [ -z "$window" ]; then
    echo "run: the dialog did not appear" >&2
    exit 1
fi
# Keep the pointer off the picture, whose tooltip would cover it.
xdotool mousemove 1 1 2>/dev/null || true
sleep 1.5 # let it paint
shot="$demo/dialog.png"
import -window root -crop "$(xdotool getwindowgeometry "$window" |
    sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p;s/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p' |
    paste -sd' ' | awk '{printf "%dx%d+%d+%d", $3, $4, $1, $2}')" "$shot" ||
    import -window root "$shot"
import -window root "$demo/screen.png"
echo "run: screenshot of the dialog saved to $shot (whole screen: $demo/screen.png)"

# Esc presses Abbrechen, which ends the program.
xdotool windowfocus --sync "$window" key Escape 2>/dev/null || true
for _ in $(seq 1 50); do
    kill -0 "$kolvek_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$kolvek_pid" 2>/dev/null; then
    echo "run: the program did not end on Esc; stopping it"
else
    kolvek_pid=""
    echo "run: Esc closed the dialog; the program ended"
fi
