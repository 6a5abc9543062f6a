#!/usr/bin/env bash
# Takes the README's screenshots, docs/screenshot.png and docs/release-page.png, of the real
# program as a user sees its window: a program folder against the stand-in TorrServer (five of
# the demo torrents) and the stand-in search service, on a virtual X display, with the fonts of
# a machine without Wine's (the tests' fontconfig configuration hides them). xdotool clicks a
# row for the release page; ffmpeg grabs the window.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh --screenshots
build=${QB_BUILD:-build}
cmake --build "$build" -j2 --target quillbrook service-standin torrserver-standin

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# Ports of their own, so that a demo running on the machine is left alone.
server_port=18090
service_port=18091
mkdir -p "$work/program/server" "$work/program/cache" "$work/db"
cp "$build/bin/quillbrook" "$work/program/"
head -n 5 tools/service-standin/fixtures/demo_magnets.txt > "$work/seed.txt"
printf '[{"Title":"","LocalServer":"0","Server":"http://127.0.0.1:%s","Player":"","Minimize":"0","Tor":"http://127.0.0.1:%s","KeepLocalServer":"1"}]' \
    "$server_port" "$service_port" > "$work/program/app.json"

"$build/bin/service-standin" --port "$service_port" --fixtures "$root/tools/service-standin/fixtures" &
pids+=($!)
"$build/bin/torrserver-standin" --path "$work/db" --port "$server_port" --seed "$work/seed.txt" &
pids+=($!)
for url in "http://127.0.0.1:$service_port/version.txt" "http://127.0.0.1:$server_port/echo"; do
    for _ in $(seq 1 100); do
        curl -fsS -o /dev/null "$url" 2>/dev/null && break
        sleep 0.1
    done
done

cat > "$work/shoot.sh" <<'INNER'
#!/usr/bin/env bash
set -euo pipefail
program=$1 docs=$2
"$program" &
client=$!
window=$(xdotool search --sync --onlyvisible --name '^Quillbrook FHD')
grab() {
    eval "$(xdotool getwindowgeometry --shell "$window")"
    ffmpeg -loglevel error -y -f x11grab -draw_mouse 0 -video_size "${WIDTH}x${HEIGHT}" \
        -i "$DISPLAY+$X,$Y" -frames:v 1 "$1"
}
# The list and the idle page have come in and are drawn.
sleep 6
grab "$docs/screenshot.png"
# The third row, "id_1A2B3" (the list is sorted): its release page with poster and pictures.
xdotool mousemove --window "$window" 100 96 click 1
sleep 8
grab "$docs/release-page.png"
kill "$client"
wait "$client" || true
INNER
chmod +x "$work/shoot.sh"

[ "$(id -u)" -ne 0 ] || export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --host-resolver-rules=\"MAP img.tracker.example 127.0.0.1:$service_port,MAP www.filmdb.example 127.0.0.1:$service_port\""
export FONTCONFIG_FILE=$root/tests/desktop/fonts-without-wine.conf
xvfb-run -a -s "-screen 0 1400x700x24" "$work/shoot.sh" "$work/program/quillbrook" "$root/docs"
echo "Took docs/screenshot.png and docs/release-page.png"
