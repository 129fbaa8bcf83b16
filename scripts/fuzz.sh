#!/bin/bash
# Builds the libFuzzer targets in build/fuzz (clang) and runs each for a fixed
# time, starting from its seed corpus in fuzz/corpus/<target>.
#   scripts/fuzz.sh [seconds-per-target]     (default 30)
# Exits non-zero when the build fails or any target finds a crash, a leak, a
# hang (over 10 s for one input) or a broken invariant; the input that did it
# is left in build/fuzz/findings/<target>/.
# New inputs found on the way go to build/fuzz/corpus/<target>, not into the
# repository's seeds.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

seconds="${1:-30}"
dir="build/fuzz"
targets=(settings_reader registry_reader map_name)

if ! command -v clang++ >/dev/null 2>&1; then
    echo "fuzz: clang++ is missing" >&2
    exit 1
fi

echo "=== fuzz: configure and build"
mkdir -p build
if ! cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKOLVEK_FUZZ=ON \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >"${dir}.configure.log" 2>&1; then
    cat "${dir}.configure.log"
    echo "fuzz: configure FAILED"
    exit 1
fi
if ! cmake --build "$dir" --target $(printf 'fuzz_%s ' "${targets[@]}"); then
    echo "fuzz: build FAILED"
    exit 1
fi

failed=0
for target in "${targets[@]}"; do
    corpus="${dir}/corpus/${target}"
    findings="${dir}/findings/${target}"
    mkdir -p "$corpus" "$findings"
    echo "=== fuzz: ${target} for ${seconds} s"
    if "${dir}/fuzz/fuzz_${target}" "$corpus" "fuzz/corpus/${target}" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="${findings}/" \
        >"${dir}/${target}.log" 2>&1; then
        grep -E '^stat::number_of_executed_units|cov: ' "${dir}/${target}.log" | tail -2
    else
        tail -40 "${dir}/${target}.log"
        echo "fuzz: ${target} FAILED, see ${findings}/"
        failed=$((failed + 1))
    fi
done

if [ "$failed" -ne 0 ]; then
    echo "fuzz: ${failed} target(s) failed"
    exit 1
fi
echo "fuzz: all ${#targets[@]} targets passed"
