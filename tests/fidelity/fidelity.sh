#!/usr/bin/env bash
# The native build draws what the Windows build draws: both frame dumpers render the same
# ticks at the same client size, and compare.py judges each pair.
# Usage: fidelity.sh framedump (x11) framedump.exe (win32)
set -euo pipefail
native=$1
windows=$2
here=$(dirname "$0")
source "$here/../e2e/lib.sh"

[ -x "$native" ] || e2e_fail "no native frame dumper at $native"
[ -f "$windows" ] || e2e_fail "no Windows frame dumper at $windows (build the windows preset first)"
e2e_start_xvfb 1024x768x24
e2e_start_wine

failed=0
# Locked and engaged poses over more than a revolution (30 ticks), and the bare first paint.
for ticks in 0 1 3 5 7 9 11 13 20 30 31 40; do
    "$native" "$ticks" "$E2E_WORK/x11-$ticks.ppm" || e2e_fail "native dumper failed at $ticks"
    wine "$windows" "$ticks" "$E2E_WORK/win32-$ticks.ppm" || e2e_fail "Windows dumper failed at $ticks"
    printf 'ticks %2d: ' "$ticks"
    python3 "$here/compare.py" "$E2E_WORK/x11-$ticks.ppm" "$E2E_WORK/win32-$ticks.ppm" || failed=1
    [ -z "${FIDELITY_KEEP:-}" ] || cp "$E2E_WORK"/*-"$ticks".ppm "$FIDELITY_KEEP"/
done
exit "$failed"
