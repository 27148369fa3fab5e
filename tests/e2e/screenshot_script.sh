#!/usr/bin/env bash
# scripts/screenshot, which the README offers to whoever has no display: with no DISPLAY at all
# it writes a PNG of the running program's client area, showing its figures.
# Usage: screenshot_script.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
here=$(dirname "$0")
source "$here/lib.sh"

shot="$E2E_WORK/shot.png"
env -u DISPLAY "$source_dir/scripts/screenshot" "$shot" || e2e_fail "scripts/screenshot failed"
PYTHONPATH="$here" python3 - "$shot" <<'PY' || e2e_fail "the screenshot does not show the program"
import collections, sys, xwd
image = xwd.read_image(sys.argv[1])
counts = collections.Counter(image.pixel(x, y) for y in range(image.height)
                             for x in range(image.width))
blue, white, cyan = counts[(0, 0, 255)], counts[(255, 255, 255)], counts[(0, 255, 255)]
print("%dx%d: %d blue, %d white, %d cyan pixels" % (image.width, image.height, blue, white, cyan))
if blue < image.width * image.height // 2 or white < 500 or cyan < 50:
    sys.exit("not the blue window with a white cross and a cyan pin")
PY
echo "PASS: scripts/screenshot shows the program without a display"
