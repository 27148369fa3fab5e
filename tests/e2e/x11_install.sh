#!/usr/bin/env bash
# `cmake --install --strip` puts the program, its desktop entry, its icons and its metainfo
# where a Linux desktop finds them, and both files pass the desktop's own validators.
# Usage: x11_install.sh BUILD_DIR
set -euo pipefail
build=$1
source "$(dirname "$0")/lib.sh"

prefix="$E2E_WORK/usr"
cmake --install "$build" --prefix "$prefix" --strip >/dev/null
program="$prefix/bin/vurazevedadar"
[ -x "$program" ] || e2e_fail "no executable in bin/"
# Users get no symbol table and no debug information, whatever the build kept.
sections=$(readelf -S -W "$program")
if grep -qE '\.(symtab|debug_[a-z]+) ' <<<"$sections"; then
    e2e_fail "the installed program is not stripped: $(grep -oE '\.(symtab|debug_[a-z]+)' \
        <<<"$sections" | tr '\n' ' ')"
fi

entry="$prefix/share/applications/vurazevedadar.desktop"
[ -f "$entry" ] || e2e_fail "no desktop entry in share/applications/"
grep -qx 'Exec=vurazevedadar' "$entry" || e2e_fail "the desktop entry does not start the program"
grep -qx 'Name=Vurazevedadar' "$entry" || e2e_fail "the desktop entry has the wrong name"
desktop-file-validate "$entry" || e2e_fail "desktop-file-validate rejects the desktop entry"

# The entry's icon name must be found in the hicolor theme at every size a desktop asks for,
# each PNG really of its size (a stale or mixed-up file shows blurred or not at all).
icon=$(sed -n 's/^Icon=//p' "$entry")
hicolor="$prefix/share/icons/hicolor"
[ -f "$hicolor/scalable/apps/$icon.svg" ] || e2e_fail "no scalable icon named '$icon'"
for size in 16 24 32 48 64 128 256; do
    png="$hicolor/${size}x${size}/apps/$icon.png"
    [ -f "$png" ] || e2e_fail "no ${size} px icon named '$icon'"
    read -r width height < <(python3 -c '
import struct, sys
print(*struct.unpack(">II", open(sys.argv[1], "rb").read()[16:24]))' "$png")
    [ "$width $height" = "$size $size" ] || e2e_fail "$png is ${width}x${height}"
done

metainfo=$(find "$prefix/share/metainfo" -name '*.metainfo.xml' 2>/dev/null)
[ "$(wc -w <<<"$metainfo")" -eq 1 ] || e2e_fail "expected one metainfo file, found: $metainfo"
appstreamcli validate --no-net "$metainfo" || e2e_fail "appstreamcli rejects the metainfo"
launchable=$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")
[ -f "$prefix/share/applications/$launchable" ] ||
    e2e_fail "the metainfo launches '$launchable', which is not installed"
echo "PASS: installed under $prefix"
