#!/usr/bin/env bash
# The desktop entry, the AppStream metainfo and the manual page as the package installs them
# (staged under ROOT), and the entry that register-desktop-entry.sh writes for a program folder,
# pass their validators; the metainfo's launchable is the package's entry.
#   check-desktop-files.sh ROOT PACKAGING_FOLDER
set -euo pipefail
root=$1
packaging=$2

entry=$root/usr/share/applications/quillbrook.desktop
metainfo=$root/usr/share/metainfo/example.quillbrook.Quillbrook.metainfo.xml
desktop-file-validate "$entry"
appstreamcli validate --no-net "$metainfo"
grep -q '<launchable type="desktop-id">quillbrook.desktop</launchable>' "$metainfo"
for size in 16 22 24 32 48 64 128 256 512; do
    icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/quillbrook.png
    [ -f "$icon" ] || { echo "missing $icon" >&2; exit 1; }
done
grep -qx 'Exec=quillbrook %u' "$entry"
grep -qx 'Icon=quillbrook' "$entry"
# The manual page (gzipped in a built package) reads without a warning of groff's.
zcat -f "$root"/usr/share/man/man1/quillbrook.1* | groff -man -ww -z 2>&1 | { ! grep .; }

# A program folder registered from a path that needs quoting in a desktop entry.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
folder="$scratch/Мои программы/\$quill \"brook\" 100%"
mkdir -p "$folder"
cp "$packaging/quillbrook.desktop.in" "$packaging/register-desktop-entry.sh" "$folder/"
HOME=$scratch/home XDG_DATA_HOME=$scratch/data XDG_CONFIG_HOME=$scratch/config \
    sh "$folder/register-desktop-entry.sh" >/dev/null
desktop-file-validate "$scratch/data/applications/quillbrook.desktop"
grep -qF 'Exec="'"$scratch"'/Мои программы/\\$quill \\"brook\\" 100%%/quillbrook" %u' \
    "$scratch/data/applications/quillbrook.desktop"
echo "desktop entries and metainfo: valid"
