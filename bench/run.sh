#!/bin/bash
# Benchmarks of KOLVEK.EXE under Wine; prints a table of figures with their
# goals. Not a test: nothing here fails a build, the figures are for reading.
#
#   bash bench/run.sh
#
# Every figure is a ratio of two things measured side by side, in turns, so
# that the machine's own speed cancels out. A round times each side once; a
# run measures every part below once, ROUNDS rounds each after WARMUP warm-up
# rounds, and takes each figure as the median of its rounds; the script makes
# RUNS runs one after the other and reports every figure over all of them:
#   1. start-up     KOLVEK.EXE (5 maps) vs. the floor (KOLVEK.EXE's own
#                   dialog with nothing behind it) and vs. a minimal dialog
#                   program, once with KOLVEK.EXE's manifest and once
#                   without, from CreateProcess to the dialog shown, painted
#                   and idle
#   2. map folders  KOLVEK.EXE's start-up with 10,000 and 20,000 maps vs. none
#   3. temp folder  KOLVEK.EXE's start-up with 40,000 files in the user's
#                   temporary folder vs. an empty temporary folder
#   4. launch       OK pressed to the stand-in game's first log line vs.
#                   `cmd /c RunA2.bat` started directly
#   5. footprint    size of the Release KOLVEK.EXE and the DLLs it imports
#
# Everything lives in build/bench (build/bench64 where a 64-bit build is
# measured): the Release build with the floor (release/), the driver and the
# minimal dialogs (tools/), a Wine prefix of its own (wineprefix/) and the
# raw samples of each run (results/runN/) and the table (results/table.md)
# of the last invocation.
#
# Environment: RUNS (default 3), ROUNDS (default 15), WARMUP (default 1),
# KOLVEK_BENCH_DIR (default build/bench), BENCH_NICE (default -10: Wine and
# the programs it runs get the CPU before other work on the machine, which
# otherwise swamps the figures; 0 to leave the priority alone). A negative
# BENCH_NICE needs root: for another user the script says so and measures at
# the current priority.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
. "$root/scripts/display.sh"
. "$root/scripts/wine-loader.sh"
out="${KOLVEK_BENCH_DIR:-$root/build/bench}"
toolchain="$root/cmake/mingw-i686.cmake"
triple=i686-w64-mingw32
loader=wine
# Where Wine's 32-bit loader cannot run, the figures are of a 64-bit build of
# the same sources, which the table's heading says.
if ! runs_i386; then
    echo "bench: this machine cannot run i386 programs: measuring a 64-bit build" >&2
    out="${KOLVEK_BENCH_DIR:-$root/build/bench64}"
    toolchain="$root/cmake/mingw-x86_64.cmake"
    triple=x86_64-w64-mingw32
    use_wine64
    loader="$WINELOADER"
fi
runs="${RUNS:-3}"
rounds="${ROUNDS:-15}"
warmup="${WARMUP:-1}"
niceness="${BENCH_NICE:--10}"
jobs="$(nproc 2>/dev/null || echo 2)"
results="$out/results"
rm -rf "$results"
mkdir -p "$results"

# A niceness that cannot be set (below the current one, without root) would
# only make nice warn at every start and run at the current priority anyway.
priority="niceness $niceness"
if [ "$niceness" -ne 0 ]; then
    wanted=$(($(nice) + niceness))
    wanted=$((wanted < -20 ? -20 : wanted > 19 ? 19 : wanted))
    if [ "$(nice -n "$niceness" nice 2>/dev/null)" != "$wanted" ]; then
        echo "bench: cannot set BENCH_NICE=$niceness (a negative one needs root):" \
            "measuring at the current priority, where other work on the machine" \
            "shows in the figures" >&2
        priority="the current priority (BENCH_NICE=$niceness refused)"
        niceness=0
    fi
fi

# --- Build ------------------------------------------------------------------------
release="$out/release"
tools="$out/tools"
if [ ! -f "$release/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
fi
cmake --build "$release" --target KOLVEK kolvek_floor armada2 -j "$jobs" >/dev/null
if [ ! -f "$tools/CMakeCache.txt" ]; then
    cmake -S "$root/bench" -B "$tools" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$toolchain" >/dev/null
fi
cmake --build "$tools" -j "$jobs" >/dev/null
kolvek_exe="$release/KOLVEK/KOLVEK.EXE"
standin="$release/standin/armada2.exe"
driver="$tools/kolvek_bench_driver.exe"
minimal="$tools/minimal_dialog.exe"
minimal_manifest="$tools/minimal_dialog_manifest.exe"
floor="$release/kolvek_floor.exe"

# --- A display --------------------------------------------------------------------
temp_unix=""
cleanup() {
    if [ -n "$temp_unix" ]; then
        python3 "$root/bench/temp_files.py" clear "$temp_unix"
    fi
    if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
    fi
    stop_xvfb
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    start_xvfb 120 1024x768x24 || exit 1
fi

# --- The Wine prefix --------------------------------------------------------------
export WINEPREFIX="$out/wineprefix"
export WINEARCH=win64
export WINEDEBUG=-all
export WINEDLLOVERRIDES='mscoree,mshtml='
export LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/.kolvek-bench" ]; then
    echo "bench: creating the Wine prefix $WINEPREFIX (takes a minute)" >&2
    rm -rf "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1
    # Unmanaged windows: without a window manager Wine otherwise pauses
    # whenever a managed window hides or closes.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.kolvek-bench"
fi
# Wine's own fonts, so that the dialogs look (and lay out) as on Windows.
sh "$root/scripts/wine-fonts.sh" "$WINEPREFIX"

# --- Installations ----------------------------------------------------------------
# C:\kbench\<name>\KOLVEK\ holds KOLVEK.EXE and kolvar.ini, which points at
# C:\kbench\<name>\Game\ with the stand-in game and <maps> maps in bzn\.
drive_c="$WINEPREFIX/drive_c"
bench_c="$drive_c/kbench"
rm -rf "$bench_c"
mkdir -p "$bench_c/minimal" "$bench_c/floor" "$bench_c/emptytemp"
cp "$minimal" "$minimal_manifest" "$bench_c/minimal/"
cp "$floor" "$bench_c/floor/"
install() {
    local name="$1" maps="$2"
    local base="$bench_c/$name"
    mkdir -p "$base/KOLVEK" "$base/Game/bzn"
    cp "$kolvek_exe" "$base/KOLVEK/KOLVEK.EXE"
    cp "$standin" "$base/Game/armada2.exe"
    printf '[General]\r\nArmadaPath = C:\\kbench\\%s\\Game\\\r\n' "$name" >"$base/KOLVEK/kolvar.ini"
    python3 "$root/bench/make_maps.py" "$base/Game/bzn" "$maps"
}
install small 5
install empty 0
install maps10k 10000
install maps20k 20000
install launch 5

w() { printf 'C:\\kbench\\%s' "$1"; }
# The wineserver is started here too (ended after each part), so it runs at
# the same priority as the programs.
run_driver() {
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    nice -n "$niceness" "$loader" "$driver" "$@" | tr -d '\r'
}

# The user's temporary folder as GetTempPathW finds it (TMP before TEMP),
# filled for its part only; the empty one is passed to the other program.
temp_win="$(wine cmd /c 'echo %TMP%' 2>/dev/null | tr -d '\r' || true)"
temp_folder="$(wine winepath.exe -u "$temp_win" 2>/dev/null | tr -d '\r' || true)"
if [ -z "$temp_win" ] || [ ! -d "$temp_folder" ]; then
    echo "bench: no temporary folder found ('$temp_win')" >&2
    exit 1
fi

for run in $(seq 1 "$runs"); do
    samples="$results/run$run"
    mkdir -p "$samples"
    echo "bench: run $run of $runs ($rounds rounds after $warmup warm-up): start-up" >&2
    run_driver startup "$rounds" "$warmup" \
        "kolvek=$(w 'small\KOLVEK\KOLVEK.EXE')" \
        "floor=$(w 'floor\kolvek_floor.exe')" \
        "minimal=$(w 'minimal\minimal_dialog.exe')" \
        "manifest=$(w 'minimal\minimal_dialog_manifest.exe')" >"$samples/startup.txt"

    echo "bench: run $run of $runs: map folders" >&2
    run_driver startup "$rounds" "$warmup" \
        "maps0=$(w 'empty\KOLVEK\KOLVEK.EXE')" \
        "maps10k=$(w 'maps10k\KOLVEK\KOLVEK.EXE')" \
        "maps20k=$(w 'maps20k\KOLVEK\KOLVEK.EXE')" >"$samples/folders.txt"

    echo "bench: run $run of $runs: temporary folder" >&2
    temp_unix="$temp_folder"
    python3 "$root/bench/temp_files.py" fill "$temp_unix" 40000
    run_driver startup "$rounds" "$warmup" \
        "temp0=$(w 'small\KOLVEK\KOLVEK.EXE')||$(w emptytemp)" \
        "temp40k=$(w 'small\KOLVEK\KOLVEK.EXE')" >"$samples/temp.txt"
    python3 "$root/bench/temp_files.py" clear "$temp_unix"
    temp_unix=""

    echo "bench: run $run of $runs: launch" >&2
    run_driver launch "$rounds" "$warmup" "$(w 'launch\KOLVEK\KOLVEK.EXE')" \
        "$(w 'launch\Game\armada2.log')" >"$samples/launch.txt"
    wineserver -w 2>/dev/null || true
done

objdump="$(command -v "$triple-objdump" || command -v objdump)"
python3 "$root/bench/report.py" "$results" "$kolvek_exe" "$objdump" "$rounds" "$warmup" \
    "$priority" | tee "$results/table.md"
echo "bench: done in $((SECONDS / 60)) min $((SECONDS % 60)) s" >&2
