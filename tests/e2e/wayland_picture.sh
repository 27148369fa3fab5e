#!/usr/bin/env bash
# On a Wayland compositor (a private weston) the program draws at the output's device pixels:
# screenshots of the composited output spread over 2 s each show what the window must show,
# judged as on X11, so that at scale 2 every outline is one device pixel wide and every colour
# pure (an enlarged window's blended edges fail the judge), and the cross turns between them.
# Usage: wayland_picture.sh vurazevedadar SCALE
set -euo pipefail
exe=$1
scale=$2
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/wayland_lib.sh"

output_width=640
output_height=480
e2e_start_weston "$output_width" "$output_height" "$scale"
# Without an X display the program can only be on Wayland.
unset DISPLAY
"$exe" >"$E2E_WORK/app.out" 2>"$E2E_WORK/app.err" &
app=$!
E2E_PIDS+=("$app")
area=$(e2e_wait_for_client_area 10) ||
    e2e_fail "no client area on the output: $(cat "$E2E_WORK/app.err")"
read -r left top width height <<<"$area"
echo "client area at scale $scale: ${width}x${height} at ($left, $top) device pixels"
sleep 0.5
mapfile -t shots < <(e2e_weston_shots 8 0.25 "$E2E_WORK/shots")
kill -0 "$app" 2>/dev/null || e2e_fail "the program ended by itself: $(cat "$E2E_WORK/app.err")"
python3 "$here/judge.py" "$left" "$top" "$width" "$height" "${shots[@]}" \
    ${E2E_PNG:+--png "$E2E_PNG"} || e2e_fail "wrong picture at scale $scale"
[ ! -s "$E2E_WORK/app.err" ] ||
    e2e_fail "the program wrote on stderr: $(head -n 3 "$E2E_WORK/app.err")"
[ ! -s "$E2E_WORK/app.out" ] ||
    e2e_fail "the program wrote on stdout: $(head -n 3 "$E2E_WORK/app.out")"
echo "PASS"
