#!/usr/bin/env bash
# The Windows build animates under Wine: screenshots spread over 3 s each show what the window
# must show, and the cross turns between them. Usage: wine_animation.sh vurazevedadar.exe wintool.exe
set -euo pipefail
exe=$1
wintool=$2
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/lib_shots.sh"

e2e_start_xvfb 1024x768x24
e2e_start_wine

e2e_start_windows_program "$exe" "$wintool"
app=$E2E_APP
read -r _ left top width height < <(wine "$wintool" find Vurazevedadar | tr -d '\r')
echo "client area: ${width}x${height} at ($left, $top)"

sleep 0.5  # the wheel and cross appear with the first ticks after the first paint
mapfile -t shots < <(e2e_take_shots 12 0.25 "$E2E_WORK/shots")
wine "$wintool" close Vurazevedadar || e2e_fail "could not post WM_CLOSE"
e2e_wait_for 10 bash -c "! kill -0 $app 2>/dev/null" || e2e_fail "still running after WM_CLOSE"

python3 "$here/judge.py" "$left" "$top" "$width" "$height" "${shots[@]}" \
    ${E2E_PNG:+--png "$E2E_PNG"}
