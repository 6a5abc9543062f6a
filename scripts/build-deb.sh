#!/usr/bin/env bash
# Builds the Debian package the Debian way (dpkg-buildpackage with debhelper's CMake support)
# from a copy of this working tree, checks it with lintian, and leaves it in out/deb/:
#   out/deb/quillbrook_<version>_<arch>.deb (and its debug symbols, .buildinfo and .changes).
# It compiles the program a second time, with Debian's flags: on a two-core machine that takes
# a good while, which is why the test command does not run it.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

scripts/install-deps.sh --package

version=$(dpkg-parsechangelog -S Version)
out=${QB_DEB_DIR:-$root/out/deb}
# A fixed folder, so that ccache finds the objects of an earlier package build.
work=$root/out/deb-build
source=$work/quillbrook-$version
rm -rf "$work"
mkdir -p "$source" "$out"

# The sources as they stand in this working tree, without build folders or other ignored files.
git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$source"

dpkg-checkbuilddeps "$source/debian/control"
if command -v ccache >/dev/null; then
    export CMAKE_C_COMPILER_LAUNCHER=ccache CMAKE_CXX_COMPILER_LAUNCHER=ccache
fi
# Two compilers at a time, as everywhere on the project's two-core machine, unless told otherwise.
case " ${DEB_BUILD_OPTIONS:-} " in
*" parallel="*) ;;
*) export DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:+$DEB_BUILD_OPTIONS }parallel=2" ;;
esac
started=$(date +%s)
(cd "$source" && dpkg-buildpackage -b -us -uc)
echo "dpkg-buildpackage took $(($(date +%s) - started)) s"

rm -f "$out"/quillbrook*
cp "$work"/quillbrook*_"$version"_*.deb "$work"/quillbrook_"$version"_*.buildinfo \
    "$work"/quillbrook_"$version"_*.changes "$out"/
deb=$(ls "$out"/quillbrook_"$version"_*.deb)
echo "Package: $deb"
# Every tag lintian still prints is listed with its reason in the README.
lintian --fail-on error --display-info "$deb"
