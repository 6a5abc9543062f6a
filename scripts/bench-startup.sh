#!/usr/bin/env bash
# Times start-up from outside on a virtual X display: from process start to the window being
# mapped, for the client (against the stand-in TorrServer and search service) and for a bare
# window of the same size holding an embedded HTML view, taken in turns, and prints the medians
# and the client's list request time. Run after a build:
#   scripts/bench-startup.sh [--runs N]      (build folder: $QB_BUILD, default build)
# QB_STARTUP_CLIENT=<path> times another build of the client in the same way.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
runs=9
[ "${1:-}" = "--runs" ] && runs=$2
build=${QB_BUILD:-build}
bin=$root/$build/bin
bench=$root/$build/tests/bench
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

Xvfb -displayfd 3 -screen 0 1400x700x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 1 100); do [ -s "$work/display" ] && break; sleep 0.05; done
export DISPLAY=:$(cat "$work/display")

# Both stand-ins pick a free port and name it on their first line.
"$bin/service-standin" --port 0 --fixtures "$root/tools/service-standin/fixtures" \
    >"$work/service.out" &
pids+=($!)
mkdir -p "$work/server"
head -n 5 tools/service-standin/fixtures/demo_magnets.txt >"$work/seed.txt"
"$bin/torrserver-standin" --path "$work/server" --port 0 --seed "$work/seed.txt" \
    --log "$work/server-requests.log" >"$work/server.out" &
pids+=($!)
port_of() {
    for _ in $(seq 1 100); do
        port=$(sed -n '1s/.*:\([0-9][0-9]*\).*/\1/p' "$1")
        [ -n "$port" ] && { echo "$port"; return; }
        sleep 0.05
    done
    echo "no port in $1" >&2
    exit 1
}
service_port=$(port_of "$work/service.out")
server_port=$(port_of "$work/server.out")

# The client's own program folder, with settings that point at the stand-ins.
mkdir -p "$work/app/cache"
cp "${QB_STARTUP_CLIENT:-$bin/quillbrook}" "$work/app/"
write_settings() {
    printf '[{"Title": "", "LocalServer": "0", "Server": "http://127.0.0.1:%s", "Player": "",\n  "Minimize": "0", "Tor": "http://127.0.0.1:%s", "KeepLocalServer": "0"}]\n' \
        "$server_port" "$service_port" >"$work/app/app.json"
}

[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu"
unset QT_QPA_PLATFORM

median() { sort -n | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
field() { sed -n "s/.*$1=\([0-9.]*\).*/\1/p"; }

: >"$work/bare" ; : >"$work/client" ; : >"$work/list"
for i in $(seq 1 "$runs"); do
    "$bench/startup_probe" "Bare web view window" "$bench/bare_web_view_window" 2>>"$work/stderr" | field mapped_ms >>"$work/bare"
    write_settings
    : >"$work/server-requests.log"
    line=$("$bench/startup_probe" "Quillbrook" "$work/app/quillbrook" 2>>"$work/stderr")
    echo "$line" | field mapped_ms >>"$work/client"
    start=$(echo "$line" | field start_epoch_ms)
    listed=$(grep -m1 '"path":"/torrent/list"' "$work/server-requests.log" | sed -n 's/.*"time":\([0-9]*\).*/\1/p')
    [ -n "$listed" ] && echo "$((listed - ${start%.*}))" >>"$work/list"
done

bare=$(median <"$work/bare")
client=$(median <"$work/client")
list=$(median <"$work/list")
limit=$(awk -v b="$bare" 'BEGIN {printf "%.0f", b * 1.1 + 500}')
echo "runs: $runs (medians)"
echo "bare window mapped:   ${bare} ms"
echo "client list request:  ${list} ms"
echo "client window mapped: ${client} ms   (limit 1.1 x bare + 500 ms hold = ${limit} ms)"
awk -v b="$bare" -v c="$client" 'BEGIN {printf "client without the hold / bare: %.2f (limit 1.10)\n", (c - 500) / b}'
