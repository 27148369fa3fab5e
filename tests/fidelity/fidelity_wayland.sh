#!/usr/bin/env bash
# The program on Wayland draws what the Windows build draws: the frame dumper renders the same
# ticks on a private weston (scale 1, so that a client pixel is a device pixel) and reads them
# back from weston's screenshots, the Windows build's dumper renders them under Wine on a
# private Xvfb, and compare.py requires every figure pixel to be the same.
# Usage: fidelity_wayland.sh PYTHON framedump (wayland) framedump.exe (win32) WIDTHxHEIGHT
set -euo pipefail
python=$1
native=$2
windows=$3
size=$4
here=$(dirname "$0")
source "$here/../e2e/lib.sh"
source "$here/../e2e/wayland_lib.sh"
source "$here/sizes.sh"

[ -x "$native" ] || e2e_fail "no Wayland frame dumper at $native"
[ -f "$windows" ] || e2e_fail "no Windows frame dumper at $windows (build the windows preset first)"
fidelity_size "$size"
e2e_start_xvfb "$FIDELITY_SCREEN"
e2e_start_wine
wineserver -p
read -r width height < <(tr 'x' ' ' <<<"${FIDELITY_SCREEN%x*}")
e2e_start_weston "$width" "$height" 1

failed=0
for ticks in "${FIDELITY_TICKS[@]}"; do
    wine "$windows" "$ticks" "$E2E_WORK/win32-$ticks.ppm" "$FIDELITY_WIDTH" "$FIDELITY_HEIGHT" ||
        e2e_fail "Windows dumper failed at $ticks"
    env -u DISPLAY VURAZEVEDADAR_BACKEND=wayland "$native" "$ticks" "$E2E_WORK/wayland-$ticks.ppm" "$FIDELITY_WIDTH" \
        "$FIDELITY_HEIGHT" || e2e_fail "Wayland dumper failed at $ticks"
    printf '%s ticks %2d, wayland: ' "$size" "$ticks"
    "$python" "$here/compare.py" "$E2E_WORK/wayland-$ticks.ppm" "$E2E_WORK/win32-$ticks.ppm" \
        --goal 100 || failed=1
    rm -f "$E2E_WORK"/*-"$ticks".ppm
done
exit "$failed"
