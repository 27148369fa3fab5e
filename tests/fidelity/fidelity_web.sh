#!/usr/bin/env bash
# The browser build draws what the Windows build draws: the frame dumper runs as a page in
# Chromium and as a Windows program under Wine, on the same ticks as the native comparison.
# Usage: fidelity_web.sh PYTHON FRAMEDUMP_FOLDER framedump.exe WIDTHxHEIGHT [GOAL]
#   PYTHON: one with Selenium and numpy; GOAL is the share of identical figure pixels in per
#   cent (compare.py's 95 unless given; 100: every pixel).
set -euo pipefail
python=$1
folder=$2
windows=$3
size=$4
goal=${5:-}
here=$(dirname "$0")
source "$here/../e2e/lib.sh"
source "$here/sizes.sh"

[ -f "$folder/framedump.html" ] || e2e_fail "no frame dumper page in $folder"
[ -f "$windows" ] || e2e_fail "no Windows frame dumper at $windows (build the windows preset first)"
fidelity_size "$size"
"$python" "$here/framedump_web.py" "$folder" "$E2E_WORK" "$size" "${FIDELITY_TICKS[@]}" ||
    e2e_fail "the browser's frame dumper failed"
e2e_start_xvfb "$FIDELITY_SCREEN"
e2e_start_wine
wineserver -p  # one Wine server for every frame: starting it again costs seconds each time

failed=0
for n in "${FIDELITY_TICKS[@]}"; do
    wine "$windows" "$n" "$E2E_WORK/win32-$n.ppm" "$FIDELITY_WIDTH" "$FIDELITY_HEIGHT" ||
        e2e_fail "Windows dumper failed at $n"
    printf '%s ticks %2d, web: ' "$size" "$n"
    "$python" "$here/compare.py" "$E2E_WORK/web-$n.ppm" "$E2E_WORK/win32-$n.ppm" \
        ${goal:+--goal "$goal"} || failed=1
    if [ -n "${FIDELITY_KEEP:-}" ]; then
        cp "$E2E_WORK/web-$n.ppm" "$FIDELITY_KEEP/web-$size-$n.ppm"
        cp "$E2E_WORK/win32-$n.ppm" "$FIDELITY_KEEP/win32-$size-$n.ppm"
    fi
    rm -f "$E2E_WORK"/*-"$n".ppm
done
exit "$failed"
