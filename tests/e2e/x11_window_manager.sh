#!/usr/bin/env bash
# The native program under a real reparenting window manager (openbox) on a private Xvfb: its
# window gets a frame with the caption in the title bar, and is maximised, minimised, restored
# and closed through the window manager, the picture judged at each step; the program exits
# with status 0 and writes nothing on stderr.
# Usage: x11_window_manager.sh vurazevedadar xtool
set -euo pipefail
exe=$1
xtool=$2
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/lib_shots.sh"

# Judges the client area where the server has it now.
judge_window() {
    local left top width height
    read -r _ left top width height < <("$xtool" find Vurazevedadar)
    echo "$1: client area ${width}x${height} at ($left, $top)"
    e2e_judge_animation "$left" "$top" "$width" "$height" || e2e_fail "wrong picture $1"
}

state_is() {
    [[ "$("$xtool" state Vurazevedadar)" == $1 ]]
}

# Whether the client area is at "$1" ("left top width height", * for any).
client_is() {
    [[ "$("$xtool" find Vurazevedadar | cut -d' ' -f2-)" == $1 ]]
}

e2e_start_xvfb 1024x768x24
openbox --sm-disable >"$E2E_WORK/openbox.log" 2>&1 &
E2E_PIDS+=($!)
e2e_wait_for 10 bash -c "xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'" ||
    e2e_fail "openbox did not start: $(cat "$E2E_WORK/openbox.log")"

e2e_start_native_capturing "$exe" "$xtool" "$E2E_WORK/stderr"
# Framing waits for the program's start and the window manager's own first work (its theme, its
# fonts), which on a busy machine took longer than 10 s about once in three runs.
e2e_wait_for 30 "$xtool" frame Vurazevedadar >/dev/null || e2e_fail "the window got no frame"
read -r _ _ _ bar _ < <("$xtool" frame Vurazevedadar)
echo "frame extents: $("$xtool" frame Vurazevedadar)"
judge_window "framed"
xwd -root -silent -out "$E2E_WORK/title.xwd"
read -r _ left top width _ < <("$xtool" find Vurazevedadar)
python3 "$here/judge_caption.py" "$E2E_WORK/title.xwd" "$left" "$top" "$width" "$bar" ||
    e2e_fail "no caption in the title bar"

"$xtool" maximize Vurazevedadar || e2e_fail "could not ask for the window maximised"
e2e_wait_for 10 state_is "normal viewable *MAXIMIZED_VERT*MAXIMIZED_HORZ*" ||
    e2e_fail "not maximised: $("$xtool" state Vurazevedadar)"
# Maximised, the frame spans the screen's width.
e2e_wait_for 10 client_is "* * 1024 *" ||
    e2e_fail "maximised to $("$xtool" find Vurazevedadar)"
judge_window "maximised"
maximised=$("$xtool" find Vurazevedadar | cut -d' ' -f2-)

"$xtool" iconify Vurazevedadar || e2e_fail "could not ask for the window minimised"
e2e_wait_for 10 state_is "iconic unviewable*" ||
    e2e_fail "not minimised: $("$xtool" state Vurazevedadar)"
sleep 0.5
e2e_expect_running_quietly "while minimised"

"$xtool" activate Vurazevedadar || e2e_fail "could not ask for the window restored"
e2e_wait_for 10 state_is "normal viewable*" ||
    e2e_fail "not restored: $("$xtool" state Vurazevedadar)"
# Openbox animates the frame back into place; restored, the window is maximised as before.
e2e_wait_for 10 client_is "$maximised" ||
    e2e_fail "restored to $("$xtool" find Vurazevedadar), not $maximised"
judge_window "restored"

"$xtool" wm-close Vurazevedadar || e2e_fail "could not ask the window manager to close it"
e2e_wait_gone "$E2E_APP" 10 || e2e_fail "still running after the window manager closed it"
status=0
wait "$E2E_APP" || status=$?
e2e_forget_pid "$E2E_APP"
[ "$status" -eq 0 ] || e2e_fail "exit status $status after the close request"
[ ! -s "$E2E_WORK/stderr" ] || e2e_fail "wrote on stderr: $(head -n 3 "$E2E_WORK/stderr")"
echo "PASS: framed, captioned, maximised, minimised, restored and closed by openbox"
