#!/usr/bin/env bash
# The native build draws what the Windows build draws: both frame dumpers render the same
# ticks at the same client size, and compare.py judges each pair, once for each way the native
# build can present its frames (VURAZEVEDADAR_X11_PRESENT), against the same Windows frames;
# and each native frame presented tick by tick must be the one presented at once.
# Usage: fidelity.sh PYTHON framedump (x11) framedump.exe (win32) WIDTHxHEIGHT
#        PRESENTER:GOAL[:DISTANCE]...
#   PYTHON: one with numpy. GOAL is the share of identical figure pixels in per cent that the
#   presenter must reach (100: every pixel); empty, compare.py's own (95 %). DISTANCE is how far
#   a figure pixel may lie from one of its colour in the other frame; empty, one pixel.
set -euo pipefail
python=$1
native=$2
windows=$3
size=$4
shift 4
here=$(dirname "$0")
source "$here/../e2e/lib.sh"
source "$here/sizes.sh"

[ -x "$native" ] || e2e_fail "no native frame dumper at $native"
[ -f "$windows" ] || e2e_fail "no Windows frame dumper at $windows (build the windows preset first)"
fidelity_size "$size"
e2e_start_xvfb "$FIDELITY_SCREEN"
e2e_start_wine
wineserver -p  # one Wine server for every frame: starting it again costs seconds each time

failed=0
for ticks in "${FIDELITY_TICKS[@]}"; do
    wine "$windows" "$ticks" "$E2E_WORK/win32-$ticks.ppm" "$FIDELITY_WIDTH" "$FIDELITY_HEIGHT" ||
        e2e_fail "Windows dumper failed at $ticks"
    for check in "$@"; do
        IFS=: read -r presenter goal distance <<<"$check"
        VURAZEVEDADAR_X11_PRESENT=$presenter "$native" "$ticks" "$E2E_WORK/x11-$ticks.ppm" \
            "$FIDELITY_WIDTH" "$FIDELITY_HEIGHT" ||
            e2e_fail "native dumper ($presenter) failed at $ticks"
        printf '%s ticks %2d, %s: ' "$size" "$ticks" "$presenter"
        "$python" "$here/compare.py" "$E2E_WORK/x11-$ticks.ppm" "$E2E_WORK/win32-$ticks.ppm" \
            ${goal:+--goal "$goal"} ${distance:+--distance "$distance"} || failed=1
        # Presented tick by tick, as the running program presents, the frame must be the one
        # presented at once: a present may leave out only what did not change.
        VURAZEVEDADAR_X11_PRESENT=$presenter "$native" --flush-each-tick "$ticks" \
            "$E2E_WORK/x11-each-$ticks.ppm" "$FIDELITY_WIDTH" "$FIDELITY_HEIGHT" ||
            e2e_fail "native dumper ($presenter, flushing each tick) failed at $ticks"
        cmp -s "$E2E_WORK/x11-$ticks.ppm" "$E2E_WORK/x11-each-$ticks.ppm" || {
            echo "FAULT: $size ticks $ticks, $presenter: presented tick by tick, the frame differs"
            failed=1
        }
        [ -z "${FIDELITY_KEEP:-}" ] ||
            cp "$E2E_WORK/x11-$ticks.ppm" "$FIDELITY_KEEP/x11-$presenter-$size-$ticks.ppm"
    done
    [ -z "${FIDELITY_KEEP:-}" ] ||
        cp "$E2E_WORK/win32-$ticks.ppm" "$FIDELITY_KEEP/win32-$size-$ticks.ppm"
    rm -f "$E2E_WORK"/*-"$ticks".ppm
done
exit "$failed"
