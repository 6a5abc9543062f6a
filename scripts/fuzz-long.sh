#!/usr/bin/env bash
# The long fuzz run: every target (or the ones named) for a longer time each, one at a time (or
# N at a time) and at low priority, so the machine stays usable.
#   scripts/fuzz-long.sh [--minutes N] [--runs N] [--jobs N] [target...]   (15 minutes each)
# Each target stops at N minutes or after the given number of inputs, whichever comes first.
# Execution counts and findings are printed per target; see scripts/fuzz.sh.
set -euo pipefail
cd "$(dirname "$0")/.."

minutes=15
runs=-1
jobs=1
rest=()
while [ $# -gt 0 ]; do
    case "$1" in
        --minutes) minutes=$2; shift 2 ;;
        --runs) runs=$2; shift 2 ;;
        --jobs) jobs=$2; shift 2 ;;
        -h|--help) sed -n '2,6p' "$0"; exit 0 ;;
        *) rest+=("$1"); shift ;;
    esac
done
exec nice -n 15 scripts/fuzz.sh --seconds $((minutes * 60)) --jobs "$jobs" --runs "$runs" "${rest[@]}"
