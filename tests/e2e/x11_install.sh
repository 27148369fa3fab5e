#!/usr/bin/env bash
# `cmake --install` puts the program and its desktop entry where a Linux desktop finds them.
# Usage: x11_install.sh BUILD_DIR
set -euo pipefail
build=$1
source "$(dirname "$0")/lib.sh"

prefix="$E2E_WORK/usr"
cmake --install "$build" --prefix "$prefix" >/dev/null
[ -x "$prefix/bin/vurazevedadar" ] || e2e_fail "no executable in bin/"
entry="$prefix/share/applications/vurazevedadar.desktop"
[ -f "$entry" ] || e2e_fail "no desktop entry in share/applications/"
grep -qx 'Exec=vurazevedadar' "$entry" || e2e_fail "the desktop entry does not start the program"
grep -qx 'Name=Vurazevedadar' "$entry" || e2e_fail "the desktop entry has the wrong name"
echo "PASS: installed under $prefix"
