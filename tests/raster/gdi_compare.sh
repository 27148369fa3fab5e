#!/usr/bin/env bash
# The rasteriser draws what GDI draws: gdi_compare.exe renders every case both ways under
# Wine and prints the tally per primitive. With RASTER_REFERENCE=FILE it also rewrites the
# recorded pictures that the unit test reads (tests/raster/gdi_reference.txt).
# Usage: gdi_compare.sh gdi_compare.exe
set -euo pipefail
tool=$1
here=$(dirname "$0")
source "$here/../e2e/lib.sh"

[ -f "$tool" ] || e2e_fail "no comparison tool at $tool"
e2e_start_xvfb 640x480x24
e2e_start_wine
if [ -n "${RASTER_REFERENCE:-}" ]; then
    wine "$tool" --reference "$E2E_WORK/reference.txt"
    status=$?
    cp "$E2E_WORK/reference.txt" "$RASTER_REFERENCE"
    exit "$status"
fi
wine "$tool"
