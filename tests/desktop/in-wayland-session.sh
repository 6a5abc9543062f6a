#!/usr/bin/env bash
# Runs a command as a client of a Wayland session of its own: Debian 12's weston 10 with its
# headless backend (no screen, no GPU, no input devices, no tray), in a private runtime folder,
# ended together with the command. The command finds the session through WAYLAND_DISPLAY (an
# absolute path, so that it may use a runtime folder of its own) and runs Qt's Wayland client.
#   in-wayland-session.sh COMMAND [ARGUMENT...]
set -euo pipefail

runtime=$(mktemp -d)
chmod 700 "$runtime"
weston_pid=
finish() {
    if [ -n "$weston_pid" ]; then
        kill "$weston_pid" 2>/dev/null || true
        wait "$weston_pid" 2>/dev/null || true
    fi
    rm -rf "$runtime"
}
trap finish EXIT

XDG_RUNTIME_DIR=$runtime weston --backend=headless-backend.so --socket=wayland-qb --idle-time=0 \
    --log="$runtime/weston.log" &
weston_pid=$!
# The session is there once weston listens on its socket.
for _ in $(seq 1 200); do
    [ -S "$runtime/wayland-qb" ] && break
    kill -0 "$weston_pid" 2>/dev/null || break
    sleep 0.05
done
if [ ! -S "$runtime/wayland-qb" ]; then
    echo "weston did not start:" >&2
    cat "$runtime/weston.log" >&2 || true
    exit 1
fi

unset DISPLAY
export WAYLAND_DISPLAY=$runtime/wayland-qb
export QT_QPA_PLATFORM=wayland
# Qt WebEngine draws in software here: no GPU, and no sandbox for root.
export QTWEBENGINE_CHROMIUM_FLAGS="--disable-gpu --no-sandbox"
export QTWEBENGINE_DISABLE_SANDBOX=1
status=0
"$@" || status=$?
exit "$status"
