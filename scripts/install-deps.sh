#!/usr/bin/env bash
# Installs every Debian package that the build, the tests and the demo need; with --package
# also what scripts/build-deb.sh needs to build and check the Debian package, with
# --screenshots what scripts/take-screenshots.sh needs.
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
    # The desktop: a Wayland session (weston) for the Qt Wayland client, the link handlers
    # through xdg-utils (which finds a file's type with libfile-mimeinfo-perl where no desktop
    # environment runs), and the checks of the desktop entry and the AppStream metainfo.
    weston qt6-wayland xdg-utils libfile-mimeinfo-perl file desktop-file-utils appstream
)
for extra in "$@"; do
    case $extra in
    --package) packages+=(dpkg-dev debhelper lintian) ;;   # scripts/build-deb.sh
    --screenshots) packages+=(xdotool) ;;                  # scripts/take-screenshots.sh
    *) echo "unknown option $extra" >&2; exit 2 ;;
    esac
done

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
