#!/usr/bin/env sh
# Registers the Quillbrook in this folder with the desktop of the current user, as the handler
# of magnet links and ".torrent" files.
set -eu
folder=$(cd "$(dirname "$0")" && pwd)
apps="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$apps"
sed -e "s|@QB_EXECUTABLE@|$folder/quillbrook|" -e "s|@QB_ICON@|$folder/quillbrook.png|" \
    "$folder/quillbrook.desktop.in" > "$apps/quillbrook.desktop"
command -v update-desktop-database >/dev/null 2>&1 && update-desktop-database "$apps" || true
if command -v xdg-mime >/dev/null 2>&1; then
    xdg-mime default quillbrook.desktop x-scheme-handler/magnet
    xdg-mime default quillbrook.desktop application/x-bittorrent
fi
echo "Registered $folder/quillbrook for magnet links and .torrent files."
