#!/usr/bin/env bash
# Builds everything and runs the whole test suite: once normally, then the unit tests again
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# The project's own C++ follows its .clang-format.
git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror

# ccache (installed with the rest) keeps repeated builds of the same sources short, also for
# another clone of the project: paths inside the clone are hashed relative to it.
launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1

build=${QB_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}"
cmake --build "$build" -j2
ctest --test-dir "$build" --output-on-failure -j2 --timeout 300

# The sanitizer build holds the unit tests and, of the window tests, the re-entrancy test (the
# window driven with a changed list refreshed inside every nested event loop); it takes the
# stand-in servers from the build above.
asan=${QB_ASAN_BUILD:-build-asan}
cmake -S . -B "$asan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQB_SANITIZE=ON -DQB_UNIT_ONLY=ON -DQB_BENCH=OFF \
    -DQB_REENTRANCY_TEST=ON -DQB_STANDIN_BUILD_DIR="$(cd "$build" && pwd)" "${launcher[@]}"
cmake --build "$asan" -j2
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$asan" -L 'unit|reentrancy' --output-on-failure -j2 --timeout 300

# Every parser of outside input runs under libFuzzer (clang, in its own build folder) for a few
# seconds, from the inputs kept in tests/fuzz/corpus; longer runs: scripts/fuzz-long.sh.
scripts/fuzz.sh --seconds 4
