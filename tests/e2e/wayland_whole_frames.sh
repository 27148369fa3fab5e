#!/usr/bin/env bash
# Every tick reaches a Wayland compositor's output whole: weston's pixman renderer reads a
# client's buffer when it repaints, so a client that drew into a buffer the compositor still
# held would show a half-drawn tick. 400 screenshots over about 30 s (some 13 of each of the
# 30 poses of a revolution, as each screenshot falls at a moment of its own) must all show
# poses that recur: a screenshot seen once showed a state no whole tick has. The output shows
# nothing else that changes (no panel, so no clock), so that equal files mean equal pictures.
# Usage: wayland_whole_frames.sh vurazevedadar
set -euo pipefail
exe=$1
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/wayland_lib.sh"

captures=400
least_distinct=25   # of the 30 poses of a revolution, nearly all must be seen

printf '[shell]\npanel-position=none\n' >"$E2E_WORK/weston.ini"
e2e_start_weston 640 480 1 --config="$E2E_WORK/weston.ini"
unset DISPLAY
"$exe" 2>"$E2E_WORK/app.err" &
app=$!
E2E_PIDS+=("$app")
e2e_wait_for_client_area 10 >/dev/null || e2e_fail "no client area: $(cat "$E2E_WORK/app.err")"
sleep 1  # past the first revolution, whose cross starts upright

mkdir "$E2E_WORK/shots"
cd "$E2E_WORK/shots"
for i in $(seq -w 1 "$captures"); do
    WAYLAND_DISPLAY=$E2E_WESTON_SOCKET weston-screenshooter ||
        e2e_fail "weston-screenshooter failed"
    mv wayland-screenshot-*.png "shot$i.png"
done
kill -0 "$app" 2>/dev/null || e2e_fail "the program ended: $(cat "$E2E_WORK/app.err")"
md5sum shot*.png | sort >"$E2E_WORK/sums"
awk '{print $1}' "$E2E_WORK/sums" | uniq -c >"$E2E_WORK/counts"
distinct=$(awk '$1 >= 2' "$E2E_WORK/counts" | wc -l)
odd=$(awk '$1 == 1' "$E2E_WORK/counts" | wc -l)
echo "$captures screenshots: $distinct whole poses seen again and again, $odd seen once"
if [ "$odd" -gt 0 ]; then
    [ -z "${E2E_KEEP:-}" ] || for sum in $(awk '$1 == 1 {print $2}' "$E2E_WORK/counts"); do
        cp "$(grep "^$sum" "$E2E_WORK/sums" | awk '{print $2}')" "$E2E_KEEP"/
    done
    e2e_fail "$odd screenshots showed a state that no recurring tick has (a half-drawn tick)"
fi
[ "$distinct" -ge "$least_distinct" ] || e2e_fail "only $distinct poses seen: too few screenshots"
echo "PASS"
