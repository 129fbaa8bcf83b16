#!/bin/bash
# Builds the libFuzzer targets in build/fuzz (clang) and runs them.
#   scripts/fuzz.sh                      the test command's fuzz step
#   scripts/fuzz.sh --search [seconds]   the search for new faults
# The fuzz step gives the same answer for the same commit: each target
# replays its seeds in fuzz/corpus/<target>, then runs a fixed number of
# inputs from a fixed seed. What it finds on the way goes to a fresh folder
# that is removed afterwards, so that no later run starts from it.
# The search runs each target for `seconds` (default 600) from a random seed
# and keeps what it finds in build/fuzz/corpus/<target> for the next search.
# Exits non-zero when the build fails or any target finds a crash, a leak, a
# hang (over 10 s for one input) or a broken invariant; the input that did it
# is left in build/fuzz/findings/<target>/. It goes into fuzz/corpus/<target>/
# with its fix, so that the fuzz step replays it from then on.
set -uo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"

# Runs per target, seeds included: under a minute for the three on two cores.
declare -A runs=([settings_reader]=25000 [registry_reader]=100000 [map_name]=60000)
seed=1
targets=(settings_reader registry_reader map_name)
dir="build/fuzz"

search=0
seconds=600
case "${1:-}" in
"") ;;
--search)
    search=1
    seconds="${2:-$seconds}"
    ;;
*)
    echo "usage: scripts/fuzz.sh [--search [seconds-per-target]]" >&2
    exit 2
    ;;
esac

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
    findings="${dir}/findings/${target}"
    mkdir -p "$findings"
    if [ "$search" -eq 1 ]; then
        corpus="${dir}/corpus/${target}"
        mkdir -p "$corpus"
        limits=(-max_total_time="$seconds")
        echo "=== fuzz: ${target} for ${seconds} s, random seed"
    else
        corpus="$(mktemp -d "${dir}/new-inputs.XXXXXX")"
        # -reload=0: the folder is not read again at moments that depend on
        # timing. -use_cmp=0: the values the code compares include addresses,
        # which move from run to run; mutations made from them would too.
        limits=(-seed="$seed" -runs="${runs[$target]}" -reload=0 -use_cmp=0)
        echo "=== fuzz: ${target}, seeds, then ${runs[$target]} runs from seed ${seed}"
    fi
    start=$SECONDS
    if "${dir}/fuzz/fuzz_${target}" "$corpus" "fuzz/corpus/${target}" "${limits[@]}" \
        -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
        -print_final_stats=1 -artifact_prefix="${findings}/" \
        >"${dir}/${target}.log" 2>&1; then
        grep -E '^INFO: Seed:|^stat::number_of_executed_units|^#[0-9]+[[:space:]]+DONE' "${dir}/${target}.log" |
            sed -E 's/ exec\/s: .*//'
        echo "fuzz: ${target} passed in $((SECONDS - start)) s"
    else
        tail -40 "${dir}/${target}.log"
        echo "fuzz: ${target} FAILED, see ${findings}/"
        failed=$((failed + 1))
    fi
    [ "$search" -eq 1 ] || rm -rf "$corpus"
done

if [ "$failed" -ne 0 ]; then
    echo "fuzz: ${failed} target(s) failed"
    exit 1
fi
echo "fuzz: all ${#targets[@]} targets passed"
