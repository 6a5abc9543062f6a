#!/usr/bin/env bash
# The search service as the package lays it out under ROOT: the systemd user unit that every
# session starts runs the installed service, which is there, knows its version and has its
# manual page.
#   check-service-unit.sh ROOT VERSION
set -euo pipefail
root=$(realpath "$1")
version=$2
unit=$root/usr/lib/systemd/user/quillbrook-service.service
grep -qx 'ExecStart=/usr/bin/quillbrook-service' "$unit"
grep -qx 'WantedBy=default.target' "$unit"
grep -qx 'Documentation=man:quillbrook-service(1)' "$unit"
[ "$("$root/usr/bin/quillbrook-service" --version)" = "quillbrook-service $version" ]
"$root/usr/bin/quillbrook-service" --help | grep -q -- '--torznab'
man -l "$root/usr/share/man/man1/quillbrook-service.1" 2>&1 >/dev/null | { ! grep .; }
if command -v systemd-analyze >/dev/null; then
    # Checked as written (the manual page is looked up on this machine, where it may be missing).
    runtime=$(mktemp -d)
    trap 'rm -rf "$runtime"' EXIT
    sed "s|^ExecStart=/usr/bin/|ExecStart=$root/usr/bin/|" "$unit" > "$runtime/quillbrook-service.service"
    problems=$(XDG_RUNTIME_DIR=$runtime systemd-analyze verify --user \
        "$runtime/quillbrook-service.service" 2>&1 | grep -v "Command 'man quillbrook-service(1)'" || true)
    [ -z "$problems" ] || { echo "$problems" >&2; exit 1; }
fi
