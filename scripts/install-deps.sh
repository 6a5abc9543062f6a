#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the demo need.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev qt6-base-dev-tools qt6-webengine-dev qt6-translations-l10n libgl-dev
    libcurl4-openssl-dev zlib1g-dev nlohmann-json3-dev libsimdjson-dev
    libcpp-httplib-dev libtorrent-rasterbar-dev libssl-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev
    clang libclang-rt-14-dev clang-format
    libx11-dev xvfb xauth mktorrent fonts-dejavu-core fonts-wine curl
    mpv ffmpeg
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -eq 0 ]; then
    exit 0
fi
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" apt-get update
"${sudo_cmd[@]}" apt-get install -y --no-install-recommends "${packages[@]}"
