#!/bin/bash
# Shows KOLVEK.EXE working under Wine: against a demo installation of the game,
# or in a Wine prefix of the user's own where the game is installed.
#
#   scripts/run.sh                build if needed, set up the demo, start the dialog
#   scripts/run.sh --prefix DIR   build if needed, start the dialog in DIR
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
# With --prefix, DIR is an existing Wine prefix (the one the game runs in).
# The script copies KOLVEK.EXE and Liesmich.txt into DIR's C:\KOLVEK\ and
# starts it there, with the Wine in PATH or $WINE. It writes nothing else: not
# the registry, not the game's folder, no fonts, and it keeps C:\KOLVEK\'s
# kolvar.ini from earlier runs. It never ends the prefix's wineserver, which a
# running game may share. What KOLVEK.EXE itself does once started (the
# settings file, RunA2.bat, the game's marker files) is the program's own.
#
# With DISPLAY set you work the real dialog; the script waits until you close
# it (and, for the demo, prints what the game was started with). Without
# DISPLAY it starts Xvfb, waits for the dialog, saves a screenshot to
# build/demo/dialog.png (with --prefix: build/demo/prefix-dialog.png) and
# closes the program again.
#
# Wine's 32-bit loader is an i386 Linux program, which some machines cannot
# run at all ("Exec format error"); there the demo shows a 64-bit build of the
# same sources (build/win64) through Wine's 64-bit loader.
#
# Environment: KOLVEK_BUILD_DIR (default build/win32), KOLVEK_DPI (the demo's
# screen resolution for Wine, default 96; not with --prefix, as it is a
# registry setting), WINE (with --prefix: the wine program, default wine).
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$root/scripts/display.sh"
. "$root/scripts/wine-loader.sh"
build="${KOLVEK_BUILD_DIR:-$root/build/win32}"
toolchain="$root/cmake/mingw-i686.cmake"
demo="$root/build/demo"
dpi="${KOLVEK_DPI:-96}"
title='Armada II Karteneditor starten'

usage() {
    echo "usage: $0 [--prefix DIR]" >&2
    exit 2
}
user_prefix=""
while [ $# -gt 0 ]; do
    case "$1" in
    --prefix)
        [ $# -ge 2 ] || usage
        user_prefix="$2"
        shift 2
        ;;
    --prefix=*)
        user_prefix="${1#--prefix=}"
        shift
        ;;
    *) usage ;;
    esac
done
if [ -n "$user_prefix" ]; then
    if [ ! -f "$user_prefix/system.reg" ] || [ ! -d "$user_prefix/drive_c" ]; then
        echo "run: $user_prefix is not a Wine prefix (no system.reg and drive_c in it)" >&2
        exit 1
    fi
    user_prefix="$(cd "$user_prefix" && pwd)"
    if [ -n "${KOLVEK_DPI:-}" ]; then
        echo "run: KOLVEK_DPI is a registry setting and is left alone in a prefix of your own" >&2
    fi
fi
wine="wine"
if [ -z "$user_prefix" ] && ! runs_i386; then
    echo "run: this machine's kernel refuses i386 programs: the demo shows a 64-bit build" >&2
    build="${KOLVEK_BUILD_DIR:-$root/build/win64}"
    toolchain="$root/cmake/mingw-x86_64.cmake"
    use_wine64
fi
if [ -n "$user_prefix" ]; then
    wine="${WINE:-wine}"
    # The first program that a Wine runs in a prefix that another Wine made or
    # last updated updates the whole prefix (its DLLs, much of the registry).
    # Wine notes the time of the wine.inf it last updated from in
    # .update-timestamp; a prefix of the user's own is left as it is.
    wine_bin="$(readlink -f "$(command -v "$wine" || echo "$wine")")"
    wine_inf="$(dirname "$wine_bin")/../share/wine/wine.inf"
    stamp_file="$user_prefix/.update-timestamp"
    if [ -f "$wine_inf" ] && [ -f "$stamp_file" ]; then
        stamp="$(head -n 1 "$stamp_file" | tr -d '\r')"
        if [ "$stamp" != disable ] && [ "$stamp" != "$(stat -c %Y "$wine_inf")" ]; then
            echo "run: $user_prefix was made or last updated by another Wine than $wine_bin;" >&2
            echo "run: any program run in it now would update the whole prefix first." >&2
            echo "run: Start the game there once with this Wine, or set WINE to the game's Wine." >&2
            exit 1
        fi
    fi
fi

bash "$root/scripts/setup.sh"

# --- Build ---------------------------------------------------------------------
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain"
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
    # Only the demo's own prefix: a user's prefix may be running the game.
    if [ -z "$user_prefix" ] && [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
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

# --- The Wine prefix and the program's folder --------------------------------------
if [ -n "$user_prefix" ]; then
    # The user's prefix as it is: Wine takes its architecture from it.
    export WINEPREFIX="$user_prefix"
    unset WINEARCH
    export WINEDEBUG=-all
    drive_c="$WINEPREFIX/drive_c"
    mkdir -p "$drive_c/KOLVEK"
    cp "$program_dir/KOLVEK.EXE" "$program_dir/Liesmich.txt" "$drive_c/KOLVEK/"
    shot_name=prefix-dialog.png
else
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
    # Wine's own fonts, so that the dialog looks as on Windows.
    sh "$root/scripts/wine-fonts.sh" "$WINEPREFIX"

    winereg() { wine reg "$@" >/dev/null 2>&1; }

    # The game's registry entry, in the 32-bit view that KOLVEK.EXE reads
    # (and in the 64-bit one, for a 64-bit build).
    for view in 32 64; do
        winereg add 'HKLM\SOFTWARE\Activision\Star Trek Armada II\v1.0' \
            /v INSTALLPATH /t REG_SZ /d 'C:\Spiele\Armada II\' /reg:$view /f
    done
    winereg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f
    # Without a window manager (Xvfb) Wine draws the window frames itself.
    if [ "$headless" -eq 1 ]; then
        winereg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f
    else
        winereg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f || true
    fi

    # A fresh game folder and program folder.
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
    shot_name=dialog.png
fi

# --- Start it --------------------------------------------------------------------
cd "$drive_c/KOLVEK"
if [ "$headless" -eq 1 ]; then
    # Wine's processes outlive the dialog and complain when Xvfb ends.
    "$wine" 'C:\KOLVEK\KOLVEK.EXE' >/dev/null 2>&1 &
else
    "$wine" 'C:\KOLVEK\KOLVEK.EXE' &
fi
kolvek_pid=$!

if [ "$headless" -eq 0 ]; then
    if [ -n "$user_prefix" ]; then
        echo "run: the dialog is open on $DISPLAY (C:\KOLVEK\KOLVEK.EXE in $WINEPREFIX); close it to end"
        wait "$kolvek_pid" || true
        kolvek_pid=""
        exit 0
    fi
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
    mkdir -p "$demo"
    import -window root "$demo/screen.png" 2>/dev/null || true
    echo "run: the dialog did not appear (the screen: $demo/screen.png)" >&2
    exit 1
fi
# Keep the pointer off the picture, whose tooltip would cover it.
xdotool mousemove 1 1 2>/dev/null || true
sleep 1.5 # let it paint
mkdir -p "$demo"
shot="$demo/$shot_name"
import -window root -crop "$(xdotool getwindowgeometry "$window" |
    sed -n 's/.*Position: \([0-9]*\),\([0-9]*\).*/\1 \2/p;s/.*Geometry: \([0-9]*\)x\([0-9]*\).*/\1 \2/p' |
    paste -sd' ' | awk '{printf "%dx%d+%d+%d", $3, $4, $1, $2}')" +repage "$shot" ||
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
