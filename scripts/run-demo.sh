#!/usr/bin/env bash
# Builds everything and runs the client for real in a fresh program folder, against the
# stand-in TorrServer (port 8090, a few torrents on it) and the stand-in search service (port
# 8091, the build's default service address). Ctrl+C ends all three.
#
# The stand-in TorrServer serves the 1.1 API (version 1.1.77) unless asked for today's:
#   scripts/run-demo.sh --api matrix        (or QB_DEMO_API=matrix scripts/run-demo.sh)
# It then answers as MatriX.143 does, and unloads idle torrents after the real server's 30 s.
#
# With --real-service the search runs through the project's own search service (quillbrook-service)
# instead of the stand-in service: it searches the stand-in Torznab indexer (port 9117, from
# tools/torznab-standin/fixtures) and, with --api matrix, the stand-in TorrServer's own search.
# Try "ледяной маяк".
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

api=${QB_DEMO_API:-1.1}
real_service=0
while [ $# -gt 0 ]; do
    case "$1" in
    --api) api=${2:?--api needs 1.1 or matrix}; shift 2 ;;
    --api=*) api=${1#--api=}; shift ;;
    --real-service) real_service=1; shift ;;
    *) echo "usage: scripts/run-demo.sh [--api 1.1|matrix] [--real-service]" >&2; exit 2 ;;
    esac
done
case "$api" in
1.1 | matrix) ;;
*) echo "--api is 1.1 or matrix, not \"$api\"" >&2; exit 2 ;;
esac

scripts/install-deps.sh
build=${QB_BUILD:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$build" -j2

demo=${QB_DEMO_DIR:-$root/demo}
rm -rf "$demo"
mkdir -p "$demo/server" "$demo/cache"
cp "$build/bin/quillbrook" "$demo/"
# The stand-in sits where the local TorrServer belongs, under its release name, so the
# local-server switch of the client starts and stops it for real.
cp "$build/bin/torrserver-standin" "$demo/server/TorrServer-linux-amd64"
# The sixth is a series (release 310455) whose page announces more files than the torrent has:
# it is seeded with its files at once, so the first series check marks it within seconds.
head -n 5 tools/service-standin/fixtures/demo_magnets.txt > "$demo/seed.txt"
sed -n '6s/$/ ready/p' tools/service-standin/fixtures/demo_magnets.txt >> "$demo/seed.txt"
# A short real video that the stand-in streams, so the demo can be played in a real player.
# Extras beside it make the torrent large enough for the list to show its size (a torrent
# listed with "0.00" GB cannot be played).
mkdir -p "$demo/content/Demo clip"
ffmpeg -loglevel error -y -f lavfi -i testsrc=duration=30:size=640x360:rate=25 \
    -f lavfi -i sine=frequency=440:duration=30 -c:v mpeg4 -q:v 5 -c:a aac -shortest \
    "$demo/content/Demo clip/Demo clip.mp4"
head -c 8388608 /dev/zero > "$demo/content/Demo clip/extras.bin"
mktorrent -l 18 -o "$demo/content/Demo clip.torrent" "$demo/content/Demo clip" >/dev/null
echo "$demo/content/Demo clip.torrent" >> "$demo/seed.txt"

# The stand-in reads these arguments from its --path folder before its command line, so the
# copy that the client's local-server switch starts with only --path runs the same way.
printf '%s\n' --api "$api" --content "$demo/content" --metadata-delay-ms 4000 \
    --log "$demo/server-requests.log" > "$demo/server/standin-args.txt"
if [ "$real_service" = 1 ] && [ "$api" = matrix ]; then
    printf '%s\n' --search-fixture "$root/tools/torrserver-standin/fixtures/search-releases.json" \
        >> "$demo/server/standin-args.txt"
fi

pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
}
trap cleanup EXIT
trap 'exit 130' INT TERM

if [ "$real_service" = 1 ]; then
    "$build/bin/torznab-standin" --port 9117 --fixture "$root/tools/torznab-standin/fixtures/releases.json" &
    pids+=($!)
    sources=(--torznab "http://127.0.0.1:9117/api?apikey=standin-key")
    [ "$api" = matrix ] && sources+=(--torrserver http://127.0.0.1:8090)
    "$build/bin/quillbrook-service" --port 8091 "${sources[@]}" --settings "$demo/service.conf" \
        --state "$demo/service-state.json" --log "$demo/service.log" &
    pids+=($!)
else
    "$build/bin/service-standin" --port 8091 --fixtures "$root/tools/service-standin/fixtures" \
        --log "$demo/service-requests.log" &
    pids+=($!)
fi
"$demo/server/TorrServer-linux-amd64" --path "$demo/server" --port 8090 --seed "$demo/seed.txt" &
pids+=($!)

for url in http://127.0.0.1:8091/version.txt http://127.0.0.1:8090/echo; do
    for _ in $(seq 1 100); do
        curl -fsS -o /dev/null "$url" 2>/dev/null && break
        sleep 0.1
    done
done

# Qt WebEngine runs without its sandbox for root and without a GPU here; the tracker's image
# hosts of the release pages are served by the stand-in service.
[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --host-resolver-rules=\"MAP img.tracker.example 127.0.0.1:8091,MAP www.filmdb.example 127.0.0.1:8091\""

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    "$demo/quillbrook"
else
    echo "No desktop found: running the client on a virtual X server (xvfb-run)."
    xvfb-run -a -s "-screen 0 1400x700x24" "$demo/quillbrook"
fi
