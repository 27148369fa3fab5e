#!/usr/bin/env bash
# Floods of events such as a frantic user or a misbehaving window manager cause: a thousand
# resizes within seconds, then ten thousand exposures. The program survives both without a word
# on stderr, catches up, and then shows the right picture again. Then a hundred thousand pings
# sent while it is stopped, which the server holds for it: they cost it no lasting memory, and
# it still answers the next ping.
# Usage: x11_storms.sh vurazevedadar xtool
set -euo pipefail
exe=$1
xtool=$2
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/lib_shots.sh"

resizes=1000
# The resizes are spread over this many milliseconds, so that the program paints many of the
# sizes rather than only the last; they must all be done well within 10 s even under load.
resize_pace_ms=3000
resize_limit_ms=10000
exposures=10000
expose_limit_ms=10000
# How long the program may take to work through what the storm left in its queue.
settle_seconds=30
restored="640 480"
pings=100000
# Xlib would queue all the held pings at once, about 200 bytes each: 20 MB.
max_ping_growth_kb=1024

errors=$E2E_WORK/app.err
e2e_start_xvfb 1024x768x24
e2e_start_native_capturing "$exe" "$xtool" "$errors"
app=$E2E_APP
e2e_wait_for 10 "$xtool" painted Vurazevedadar || e2e_fail "the window never showed its picture"

# Waits for the program to work through its queue, then judges what the window shows.
settles_to_right_picture() {
    local what=$1 settled left top width height shots
    settled=$(e2e_wait_settled "$app" "$settle_seconds") ||
        e2e_fail "still busy ${settle_seconds} s after $what"
    e2e_wait_for 10 "$xtool" painted Vurazevedadar || e2e_fail "no picture after $what"
    e2e_expect_running_quietly "after $what"
    read -r _ left top width height < <("$xtool" find Vurazevedadar)
    sleep 0.4
    mapfile -t shots < <(e2e_take_shots 6 0.25 "$E2E_WORK/shots-${what// /-}")
    python3 "$here/judge.py" "$left" "$top" "$width" "$height" "${shots[@]}" ||
        e2e_fail "wrong picture after $what"
    echo "settled ${settled} ms after $what"
}

# The CPU time the program has used since it had used $1 clock ticks, in milliseconds.
cpu_ms_since() {
    echo $((($(e2e_cpu_ticks "$app") - $1) * 1000 / $(getconf CLK_TCK)))
}

cpu_before=$(e2e_cpu_ticks "$app")
storm=$("$xtool" resize-storm Vurazevedadar "$resizes" "$resize_pace_ms") ||
    e2e_fail "the resize storm did not run"
cpu_used=$(cpu_ms_since "$cpu_before")
read -r done elapsed <<<"$storm"
[ "$done" -eq "$resizes" ] || e2e_fail "only $done of $resizes resizes went through"
[ "$elapsed" -le "$resize_limit_ms" ] || e2e_fail "$resizes resizes took ${elapsed} ms"
e2e_expect_running_quietly "during the resize storm"
echo "resize storm: $done resizes in ${elapsed} ms; the program used ${cpu_used} ms of CPU"
"$xtool" resize Vurazevedadar $restored || e2e_fail "could not ask for the size back"
e2e_wait_for 5 e2e_window_has_size "$xtool" $restored || e2e_fail "the window did not take its size back"
settles_to_right_picture "the resize storm"

cpu_before=$(e2e_cpu_ticks "$app")
elapsed=$("$xtool" expose-storm Vurazevedadar "$exposures") ||
    e2e_fail "the exposure storm did not run through"
cpu_used=$(cpu_ms_since "$cpu_before")
[ "$elapsed" -le "$expose_limit_ms" ] || e2e_fail "$exposures exposures took ${elapsed} ms"
e2e_expect_running_quietly "during the exposure storm"
echo "exposure storm: $exposures exposures in ${elapsed} ms; the program used ${cpu_used} ms of CPU"
settles_to_right_picture "the exposure storm"

peak_rss_kb() {
    awk '/^VmHWM:/ { print $2 }' "/proc/$app/status"
}
peak_before=$(peak_rss_kb)
kill -STOP "$app"
"$xtool" ping-flood Vurazevedadar "$pings" || e2e_fail "the ping flood did not go through"
kill -CONT "$app"
e2e_wait_settled "$app" "$settle_seconds" >/dev/null ||
    e2e_fail "still busy ${settle_seconds} s after the ping flood"
"$xtool" ping Vurazevedadar || e2e_fail "no answer to a ping after the flood"
e2e_expect_running_quietly "after the ping flood"
peak_after=$(peak_rss_kb)
[ $((peak_after - peak_before)) -le "$max_ping_growth_kb" ] ||
    e2e_fail "$pings pings raised the peak RSS from $peak_before kB to $peak_after kB"
echo "ping flood: $pings pings while stopped; peak RSS $peak_before kB, then $peak_after kB"
echo "PASS: survived the storms quietly, settled to the right picture, and held no flood"
