#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (address and undefined-behaviour checks) and runs each
# for a bounded time, two at a time, starting from the inputs kept in tests/fuzz/corpus/<name>/.
#   scripts/fuzz.sh [--seconds N] [--jobs N] [--runs N] [target...]
# Every target added with qb_add_fuzz_target is found by itself. A crash, a leak, a time-out or
# an undefined operation fails the run; the input is left in <build>/fuzz-findings/ to be fixed
# and kept in the target's corpus folder as a regression case. Inputs that reached new code are
# collected in <build>/fuzz-corpus/<name>/, outside the repository.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=5
jobs=2
runs=-1
targets=()
while [ $# -gt 0 ]; do
    case "$1" in
        --seconds) seconds=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        -h|--help) sed -n '2,9p' "$0"; exit 0 ;;
        *) targets+=("$1"); shift ;;
    esac
done

build=${QB_FUZZ_BUILD:-build-fuzz}
launcher=()
command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DQB_FUZZ=ON -DQB_BENCH=OFF "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target qb_fuzz_targets

if [ ${#targets[@]} -eq 0 ]; then
    for f in "$build"/fuzz-targets/*; do
        targets+=("$(basename "$f")")
    done
fi
mkdir -p "$build/fuzz-logs" "$build/fuzz-findings"

run_one() {
    local name=$1 build=$2 seconds=$3 runs=$4
    local binary seeds=() work="$build/fuzz-corpus/$name" log="$build/fuzz-logs/$name.log"
    binary=$(head -n1 "$build/fuzz-targets/$name")
    mkdir -p "$work"
    [ -d "tests/fuzz/corpus/$name" ] && seeds=("tests/fuzz/corpus/$name")
    if ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
        "$binary" -max_total_time="$seconds" -runs="$runs" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$build/fuzz-findings/$name-" \
        "$work" "${seeds[@]}" >"$log" 2>&1; then
        local count
        count=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n1)
        echo "fuzz $name: ${count:-?} inputs, no finding"
    else
        echo "fuzz $name: FINDING (log: $log)"
        grep -E "^(==[0-9]+==ERROR|SUMMARY|.*runtime error|artifact_prefix|Test unit written)" "$log" | head -n 8
        return 1
    fi
}
export -f run_one

status=0
printf '%s\n' "${targets[@]}" |
    xargs -P "$jobs" -I{} bash -c 'run_one "$@"' _ {} "$build" "$seconds" "$runs" || status=1
exit $status
