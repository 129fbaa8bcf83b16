#!/bin/bash
# The test command: installs what is missing, then configures, builds and
# tests three builds from this tree:
#   build/native  the portable core against the fake platform (g++)
#   build/asan    the same with AddressSanitizer and UBSan (clang)
#   build/win32   the 32-bit Windows program and its tests, run under Wine
# then a short session of the fuzz targets (scripts/fuzz.sh, build/fuzz), the
# check that the download builds the same twice (scripts/reproducible.sh) and
# the check of run.sh --prefix (scripts/check-user-prefix.sh).
# Ends with "N passed, N failed, N skipped" over all of it, after a summary
# that names every skipped test with its reason and the program the Wine tests
# ran; exits non-zero when any build or test fails. Starts Xvfb when there is
# no DISPLAY.
# On a machine whose kernel refuses i386 Linux programs, as Wine's 32-bit
# loader is, the 32-bit programs are built and checked without Wine, and the
# Wine tests run in a 64-bit build of the same sources (build/win64) instead;
# the user-prefix check, which needs the 32-bit KOLVEK.EXE, is named as
# skipped. Where that loader is merely not installed, the command stops.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

bash scripts/setup.sh || {
    echo "setup failed"
    exit 1
}

jobs="$(nproc 2>/dev/null || echo 2)"

# --- A display for Wine's windows -----------------------------------------------
. scripts/display.sh
trap stop_xvfb EXIT
if [ -z "${DISPLAY:-}" ]; then
    start_xvfb 99 1280x1024x24 || exit 1
fi

# --- Builds ------------------------------------------------------------------
total_passed=0
total_failed=0
total_skipped=0
summary=()

. scripts/wine-loader.sh
wine_runs=true
wine_program="the 32-bit KOLVEK.EXE that ships (build/win32)"
if ! runs_i386; then
    wine_runs=false
    wine_program="a 64-bit build of the same sources (build/win64), not the 32-bit KOLVEK.EXE that ships"
    echo "=== this machine's kernel refuses i386 programs: Wine cannot run KOLVEK.EXE here"
fi

# gtest_skips LOG: the test cases that a ctest run skipped, one line each,
# "CTEST-TEST<tab>CASE<tab>REASON", from ctest's full log. ctest itself counts
# a skip only where the test is that one case, not among the many cases of
# one program run (the end-to-end tests).
gtest_skips() {
    [ -f "$1" ] || return 0
    awk -v OFS='\t' '
        { sub(/\r$/, "") }
        /^[0-9]+\/[0-9]+ Test: / { test = substr($0, index($0, ": ") + 2); reason = ""; why = 0; next }
        /: Skipped$/ { why = 1; reason = ""; next }
        /^\[  SKIPPED \] .* \([0-9]+ ms\)$/ {
            print test, $4, (reason == "" ? "no reason given" : reason)
            why = 0
            next
        }
        /^\[/ { why = 0 }
        why { reason = reason (reason == "" ? "" : " ") $0 }
    ' "$1"
}

# run_build NAME CMAKE-ARGS...
run_build() {
    local name="$1"
    shift
    local dir="build/${name}"
    local log
    echo "=== ${name}: configure and build"
    # A tree configured by hand with another generator cannot be reused.
    if [ -f "$dir/CMakeCache.txt" ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$dir/CMakeCache.txt"; then
        rm -rf "$dir"
    fi
    if ! cmake -S . -B "$dir" -G Ninja "$@" >"${dir}.configure.log" 2>&1; then
        cat "${dir}.configure.log"
        summary+=("${name}: configure FAILED")
        total_failed=$((total_failed + 1))
        return
    fi
    if ! cmake --build "$dir" -j "$jobs"; then
        summary+=("${name}: build FAILED")
        total_failed=$((total_failed + 1))
        return
    fi
    echo "=== ${name}: test"
    local start=$SECONDS
    log="$(mktemp)"
    (cd "$dir" && ctest --output-on-failure -j "$jobs") 2>&1 | tee "$log"
    local status=${PIPESTATUS[0]}
    local line passed failed all skipped skips inner
    line="$(grep -E '[0-9]+% tests passed, [0-9]+ tests? failed out of [0-9]+' "$log" | tail -1)"
    skipped="$(grep -cE '^[[:space:]]+[0-9]+ - .*\(Skipped\)$' "$log")"
    rm -f "$log"
    skips="$(gtest_skips "$dir/Testing/Temporary/LastTest.log")"
    inner="$(awk -F '\t' '$1 != $2' <<<"$skips" | grep -c .)"
    if [ -z "$line" ]; then
        summary+=("${name}: no test results (ctest status ${status})")
        total_failed=$((total_failed + 1))
        return
    fi
    failed="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\1/' <<<"$line")"
    all="$(sed -E 's/.* ([0-9]+) tests? failed out of ([0-9]+).*/\2/' <<<"$line")"
    passed=$((all - failed - skipped))
    if [ "$status" -ne 0 ] && [ "$failed" -eq 0 ]; then
        failed=1 # ctest failed without a failing test (e.g. discovery)
    fi
    total_passed=$((total_passed + passed))
    total_failed=$((total_failed + failed))
    skipped=$((skipped + inner))
    total_skipped=$((total_skipped + skipped))
    summary+=("${name}: ${passed} passed, ${failed} failed, ${skipped} skipped in $((SECONDS - start)) s")
    local test case reason
    while IFS=$'\t' read -r test case reason; do
        [ -n "$case" ] || continue
        if [ "$test" = "$case" ]; then
            summary+=("  skipped ${case}: ${reason}")
        else
            summary+=("  skipped ${case} (in ${test}): ${reason}")
        fi
    done <<<"$skips"
}

mkdir -p build
run_build native -DCMAKE_BUILD_TYPE=Debug
run_build asan -DCMAKE_BUILD_TYPE=Debug -DKOLVEK_SANITIZE=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
# Release: the tests run against the program as it ships.
if $wine_runs; then wine_tests=ON; else wine_tests=OFF; fi
run_build win32 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
    -DKOLVEK_WINE_TESTS=$wine_tests
if ! $wine_runs; then
    run_build win64 -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake \
        -DKOLVEK_WINE_TESTS=ON
fi

# run_step NAME COMMAND...: one script run counted as one test.
run_step() {
    local name="$1"
    shift
    echo "=== ${name}"
    local start=$SECONDS
    if "$@"; then
        summary+=("${name}: passed in $((SECONDS - start)) s")
        total_passed=$((total_passed + 1))
    else
        summary+=("${name}: FAILED")
        total_failed=$((total_failed + 1))
    fi
}

# The fuzz targets: their seeds, then a fixed number of runs from a fixed seed.
run_step fuzz bash scripts/fuzz.sh
# The download: the zip built from two clean clones must be the same bytes.
run_step reproducible bash scripts/reproducible.sh
# run.sh --prefix on a throwaway prefix of a player's own: only KOLVEK's own
# folder may change.
if $wine_runs; then
    run_step "user prefix" bash scripts/check-user-prefix.sh
else
    summary+=("user prefix: SKIPPED, this machine's kernel refuses i386 programs")
    total_skipped=$((total_skipped + 1))
fi

summary+=("The Wine tests ran ${wine_program}.")
echo
printf '%s\n' "${summary[@]}"
echo "${total_passed} passed, ${total_failed} failed, ${total_skipped} skipped"
[ "$total_failed" -eq 0 ]
