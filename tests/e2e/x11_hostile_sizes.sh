#!/usr/bin/env bash
# Sizes no user would choose, imposed as a window manager would (XResizeWindow from another
# client): a single pixel, lines one pixel thick, far beyond the screen, and taken off the
# screen as minimising does. At each the program keeps running and says nothing; at every size
# with room for a picture it repaints; back at a normal size its picture is right again. Then
# sizes that are only claimed: a synthetic ConfigureNotify, which any client can send, carries
# a position and no size, so the picture stays right at the window's real size.
# Usage: x11_hostile_sizes.sh vurazevedadar xtool
set -euo pipefail
exe=$1
xtool=$2
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/lib_shots.sh"

# Six ticks of the 50 ms timer at each size.
dwell=0.3
# Below this in either direction the picture is all frame (white on the white background), so
# a repaint cannot be told from the server's clearing.
min_visible_picture=4
# How long the program stays off the screen, and the share of one core it may use meanwhile:
# with nothing to show it only ticks, far below this, whereas a busy loop takes the whole core.
minimised_seconds=1
max_minimised_cpu_percent=30
restored="640 480"

errors=$E2E_WORK/app.err
e2e_start_xvfb 1024x768x24
e2e_start_native_capturing "$exe" "$xtool" "$errors"
app=$E2E_APP
e2e_wait_for 10 "$xtool" painted Vurazevedadar || e2e_fail "the window never showed its picture"

take_size() {
    local width=$1 height=$2 repainted="no picture at this size" held_width held_height
    "$xtool" resize Vurazevedadar "$width" "$height" ||
        e2e_fail "could not ask for ${width}x${height}"
    e2e_wait_for 5 e2e_window_has_size "$xtool" "$width" "$height" ||
        e2e_fail "the server did not give ${width}x${height}: $("$xtool" geometry Vurazevedadar)"
    if [ "$width" -ge "$min_visible_picture" ] && [ "$height" -ge "$min_visible_picture" ]; then
        e2e_wait_for 10 "$xtool" painted Vurazevedadar ||
            e2e_fail "no repaint at ${width}x${height}"
        repainted="repainted"
    fi
    sleep "$dwell"
    e2e_expect_running_quietly "at ${width}x${height}"
    read -r held_width held_height < <("$xtool" geometry Vurazevedadar)
    echo "asked ${width}x${height}, server holds ${held_width}x${held_height}: $repainted"
}

# Without a window manager an iconify request goes unanswered, so minimising is what the window
# manager would then do: unmap the window, and map it again to restore it.
minimise_and_restore() {
    local before after used
    "$xtool" iconify Vurazevedadar || e2e_fail "could not ask for the window to be minimised"
    "$xtool" unmap Vurazevedadar || e2e_fail "could not take the window off the screen"
    before=$(e2e_cpu_ticks "$app")
    sleep "$minimised_seconds"
    after=$(e2e_cpu_ticks "$app")
    e2e_expect_running_quietly "while minimised"
    used=$(((after - before) * 100 / $(getconf CLK_TCK) / minimised_seconds))
    [ "$used" -le "$max_minimised_cpu_percent" ] ||
        e2e_fail "used ${used}% of a core while minimised"
    "$xtool" map Vurazevedadar || e2e_fail "could not put the window back on the screen"
    e2e_wait_for 10 "$xtool" painted Vurazevedadar || e2e_fail "no repaint after restoring"
    e2e_expect_running_quietly "after restoring"
    echo "minimised (unmapped) for ${minimised_seconds} s using ${used}% of a core;" \
         "restored and repainted"
}

# The last two are the largest window X coordinates can address and the largest size the
# protocol can carry at all, which Xvfb grants too.
for size in "1 1" "2 2" "3 3" "1 800" "800 1" "7 7" "4000 3000" "32000 200" \
            "32767 32767" "65535 65535"; do
    take_size $size
done
minimise_and_restore

# $1 says after what, for the message.
expect_right_picture() {
    local left top width height shots
    read -r _ left top width height < <("$xtool" find Vurazevedadar)
    sleep 0.4
    mapfile -t shots < <(e2e_take_shots 6 0.25 "$E2E_WORK/shots-${1// /-}")
    python3 "$here/judge.py" "$left" "$top" "$width" "$height" "${shots[@]}" ||
        e2e_fail "wrong picture $1"
    e2e_expect_running_quietly "$1"
    echo "right picture at ${width}x${height} $1"
}

take_size $restored
expect_right_picture "after the hostile sizes"

# A picture sized for 1x1 stands still in a corner; one sized for 65535x65535 shows no figure.
for claimed in "1 1" "65535 65535"; do
    "$xtool" fake-configure Vurazevedadar $claimed || e2e_fail "could not claim the size $claimed"
    expect_right_picture "after a synthetic ConfigureNotify claiming ${claimed/ /x}"
done
echo "PASS: survived every size quietly, and claimed sizes changed nothing"
