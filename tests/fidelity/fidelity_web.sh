#!/usr/bin/env bash
# The browser build draws what the Windows build draws: the frame dumper runs as a page in
# Chromium and as a Windows program under Wine, on the same ticks as the native comparison.
# Usage: fidelity_web.sh PYTHON FRAMEDUMP_FOLDER framedump.exe
set -euo pipefail
python=$1
folder=$2
windows=$3
here=$(dirname "$0")
source "$here/../e2e/lib.sh"

[ -f "$folder/framedump.html" ] || e2e_fail "no frame dumper page in $folder"
[ -f "$windows" ] || e2e_fail "no Windows frame dumper at $windows (build the windows preset first)"
ticks=(0 1 3 5 7 9 11 13 20 30 31 40)
"$python" "$here/framedump_web.py" "$folder" "$E2E_WORK" "${ticks[@]}" ||
    e2e_fail "the browser's frame dumper failed"
e2e_start_xvfb 1024x768x24
e2e_start_wine

failed=0
for n in "${ticks[@]}"; do
    wine "$windows" "$n" "$E2E_WORK/win32-$n.ppm" || e2e_fail "Windows dumper failed at $n"
    printf 'ticks %2d: ' "$n"
    # The rasteriser keeps GDI's own rules, so nearly every pixel must be the same.
    python3 "$here/compare.py" "$E2E_WORK/web-$n.ppm" "$E2E_WORK/win32-$n.ppm" --goal 99.9 ||
        failed=1
    [ -z "${FIDELITY_KEEP:-}" ] || cp "$E2E_WORK"/*-"$n".ppm "$FIDELITY_KEEP"/
done
exit "$failed"
