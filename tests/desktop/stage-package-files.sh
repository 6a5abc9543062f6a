#!/usr/bin/env bash
# Lays out the Debian package's files from a finished build, with the package's own install
# rules, into ROOT, as installing the package would put them under /; then makes the desktop
# database there, as desktop-file-utils' trigger does after an install.
#   stage-package-files.sh BUILD_FOLDER ROOT
set -euo pipefail
build=$1
root=$2
rm -rf "$root"
DESTDIR=$root cmake --install "$build" --component installed --prefix /usr >/dev/null
update-desktop-database "$root/usr/share/applications"
