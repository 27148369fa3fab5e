#!/usr/bin/env bash
# A resize refits the picture to the new client area and the animation carries on there.
# Usage: x11_resize.sh vurazevedadar xtool
set -euo pipefail
exe=$1
xtool=$2
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/lib_shots.sh"

e2e_start_xvfb 1024x768x24
e2e_start_native "$exe" "$xtool"
sleep 0.3
for size in "420 600" "640 300"; do
    "$xtool" resize Vurazevedadar $size
    e2e_wait_for 5 bash -c "\"$xtool\" find Vurazevedadar | grep -q ' ${size% *} ${size#* }\$'" ||
        e2e_fail "the window did not take the size $size"
    sleep 0.4
    read -r _ left top width height < <("$xtool" find Vurazevedadar)
    mapfile -t shots < <(e2e_take_shots 6 0.25 "$E2E_WORK/shots-$width")
    python3 "$here/judge.py" "$left" "$top" "$width" "$height" "${shots[@]}" ||
        e2e_fail "wrong picture at ${width}x${height}"
done
