#!/usr/bin/env sh
# Registers the Quillbrook in this folder with the desktop of the current user, as the handler
# of magnet links and ".torrent" files.
set -eu
folder=$(cd "$(dirname "$0")" && pwd)
apps="${XDG_DATA_HOME:-$HOME/.local/share}/applications"
mkdir -p "$apps"
# The desktop entry quotes the program only when its path needs quotes: xdg-open without a
# desktop environment runs the first word of Exec as it stands, quotes and all. Inside quotes
# `"`, `` ` ``, `$` and `\` are escaped, the file's own escaping doubles `\` once more, and `%`
# is written `%%`.
exec_path="$folder/quillbrook"
case "$exec_path" in
*[!A-Za-z0-9/._+,:@=-]*)
    exec_path=$(printf '%s' "$exec_path" | sed -e 's/[\\"`$]/\\&/g' -e 's/\\/\\\\/g' -e 's/%/%%/g')
    exec_path="\"$exec_path\""
    ;;
esac
# sed's replacement treats `&`, `\` and `|` specially: they are escaped for it.
sed_text() { printf '%s' "$1" | sed -e 's/[\\&|]/\\&/g'; }
sed -e "s|@QB_EXEC@|$(sed_text "$exec_path")|" -e "s|@QB_ICON@|$(sed_text "$folder/quillbrook.png")|" \
    "$folder/quillbrook.desktop.in" > "$apps/quillbrook.desktop"
command -v update-desktop-database >/dev/null 2>&1 && update-desktop-database "$apps" || true
if command -v xdg-mime >/dev/null 2>&1; then
    xdg-mime default quillbrook.desktop x-scheme-handler/magnet
    xdg-mime default quillbrook.desktop application/x-bittorrent
fi
echo "Registered $folder/quillbrook for magnet links and .torrent files."
