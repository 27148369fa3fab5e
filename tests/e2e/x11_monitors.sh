#!/usr/bin/env bash
# On a desktop of two monitors side by side, the window the system sizes takes three quarters
# of one monitor and lies within it, rather than spanning both. Xephyr, nested in a private
# Xvfb, provides the two heads (Xvfb's own Xinerama shows only one).
# Usage: x11_monitors.sh vurazevedadar xtool
set -euo pipefail
exe=$1
xtool=$2
source "$(dirname "$0")/lib.sh"

monitor_width=1920
monitor_height=1080
e2e_start_xvfb $((2 * monitor_width))x${monitor_height}x24
e2e_start_x_server xephyr Xephyr -screen ${monitor_width}x${monitor_height} \
    -screen ${monitor_width}x${monitor_height} +xinerama

e2e_start_native "$exe" "$xtool"
read -r _ left _ width height < <("$xtool" find Vurazevedadar)
echo "default window: ${width}x${height} at x = $left"
[ "$width" -eq $((monitor_width * 3 / 4)) ] && [ "$height" -eq $((monitor_height * 3 / 4)) ] ||
    e2e_fail "the default size is ${width}x${height}, not three quarters of one monitor"
monitor=$((left / monitor_width))
[ "$left" -ge 0 ] && [ $((left + width)) -le $(((monitor + 1) * monitor_width)) ] ||
    e2e_fail "the window spans from x = $left to $((left + width)), across both monitors"
echo "PASS: within monitor $((monitor + 1))"
