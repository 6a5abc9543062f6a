#!/usr/bin/env bash
# Lays out the Debian package's files into ROOT as installing the package puts them under /,
# then makes the desktop database there, as desktop-file-utils' trigger does after an install.
# The files come from a finished build by the package's own install rules, or, when QB_DEB names
# a built package (scripts/build-deb.sh), from that package itself.
#   stage-package-files.sh BUILD_FOLDER ROOT
set -euo pipefail
build=$1
root=$2
rm -rf "$root"
if [ -n "${QB_DEB:-}" ]; then
    dpkg-deb -x "$QB_DEB" "$root"
else
    DESTDIR=$root cmake --install "$build" --component installed --prefix /usr >/dev/null
fi
update-desktop-database "$root/usr/share/applications"
