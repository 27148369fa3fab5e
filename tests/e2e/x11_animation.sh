#!/usr/bin/env bash
# The native build shows its captioned window on X and animates: screenshots spread over 3 s each
# show what the window must show, and the cross turns between them. The window tells a window
# manager who it is (process, machine, icon) and answers its pings. It maps no Wayland library,
# sleeps once a tick, and shows its first picture without waiting for a tick.
# Usage: x11_animation.sh vurazevedadar xtool [XVFB-ARGS...]
#   (for instance -cc 5: a DirectColor default visual, whose colour map is no straight ramp)
set -euo pipefail
exe=$1
xtool=$2
shift 2
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/lib_shots.sh"

e2e_start_xvfb 1024x768x24 "$@"
# From start to the first painted pixel, five times: 20-40 ms here, and 60-75 when the first
# exposure is left waiting for the first tick; the median must stay under 55.
# xtool knows the blue of a true-colour visual only, so a colour-mapped one (-cc) is skipped.
if [[ " $* " != *" -cc "* ]]; then
    startups=()
    for _ in 1 2 3 4 5; do
        startups+=("$("$xtool" startup Vurazevedadar "$exe")") || e2e_fail "no first picture"
    done
    median=$(printf '%s\n' "${startups[@]}" | sort -n | sed -n 3p)
    echo "first picture after ${startups[*]} ms"
    awk -v ms="$median" 'BEGIN { exit !(ms < 55) }' ||
        e2e_fail "the first picture took $median ms (median): it waited for a tick"
fi
e2e_start_native "$exe" "$xtool"
app=$E2E_APP
e2e_expect_no_wayland_maps "$app"

mapfile -t props < <("$xtool" props Vurazevedadar)
[ "${props[0]}" = Vurazevedadar ] || e2e_fail "WM_NAME is '${props[0]}'"
[ "${props[1]}" = Vurazevedadar ] || e2e_fail "_NET_WM_NAME is '${props[1]}'"
[ "${props[2]}" = "vurazevedadar,Vurazevedadar," ] || e2e_fail "WM_CLASS is '${props[2]}'"

read -r pid machine icons < <("$xtool" identity Vurazevedadar)
[ "$pid" = "$app" ] || e2e_fail "_NET_WM_PID is '$pid', the program is $app"
[ "$machine" = "$(uname -n)" ] || e2e_fail "WM_CLIENT_MACHINE is '$machine'"
[ "$icons" = 16x16,32x32,48x48,64x64 ] || e2e_fail "_NET_WM_ICON holds '$icons'"
"$xtool" ping Vurazevedadar || e2e_fail "no answer to _NET_WM_PING"

read -r _ left top width height < <("$xtool" find Vurazevedadar)
echo "client area: ${width}x${height} at ($left, $top)"
sleep 0.5
# It sleeps once a tick: the server's word that it has read a frame waits for the next tick
# instead of waking the program a moment after each frame.
sleeps() { awk '/^voluntary_ctxt_switches/ {print $2}' "/proc/$app/status"; }
sleeps_before=$(sleeps)
ns_before=$(date +%s%N)
mapfile -t shots < <(e2e_take_shots 12 0.25 "$E2E_WORK/shots")
kill -0 "$app" 2>/dev/null || e2e_fail "the program ended by itself"
ticks=$(( ($(date +%s%N) - ns_before) / 50000000 ))
slept=$(( $(sleeps) - sleeps_before ))
echo "slept $slept times in $ticks ticks"
[ $(( slept * 2 )) -le $(( ticks * 3 )) ] || e2e_fail "slept $slept times in $ticks ticks"
python3 "$here/judge.py" "$left" "$top" "$width" "$height" "${shots[@]}" \
    ${E2E_PNG:+--png "$E2E_PNG"}
