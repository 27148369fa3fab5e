#!/usr/bin/env bash
# Every tick reaches the screen whole under a compositing window manager (mutter, on an Xvfb with
# Composite): 300 captures of the screen, each taken after the screen changed, must show no
# isolated half-drawn tick. The whole frames are learnt from the same client on the bare server
# first (captures taken once the screen has been still for a while, kept when they recur), so the
# judge needs no picture of its own and holds whatever pixels the client draws.
# Usage: compositor_whole_frames.sh framewatch whole|torn CAPTION PROGRAM [ARGS...]
#   whole: the client must show no isolated odd capture
#   torn:  the client is known to show half-drawn ticks, and the judge must catch them
# Set E2E_KEEP to a folder to keep the odd captures (PPM) and the capture log there.
set -euo pipefail
framewatch=$1
expect=$2
caption=$3
shift 3
here=$(dirname "$0")
source "$here/lib.sh"

captures=300
frames=30             # a revolution of the wheel, after the first (whose cross starts upright)
quiet_ms=20           # a tick is drawn within this; the torn client pauses 5 ms mid-tick
least_distinct=25     # of the 30 poses of a revolution, nearly all must be seen whole
least_caught=30       # isolated odd captures the torn client must show (it shows about 100)

e2e_start_xvfb 1024x768x24 +extension Composite

# Whether the client's window is there (a record of no frames only finds it).
client_shown() {
    "$framewatch" record "$caption" 0 0 >/dev/null 2>&1
}

# Starts the client and waits for its window.
start_client() {
    "$@" &
    E2E_APP=$!
    E2E_PIDS+=("$E2E_APP")
    e2e_wait_for 10 client_shown || e2e_fail "no window captioned $caption"
}

stop_client() {
    kill "$E2E_APP" 2>/dev/null || true
    wait "$E2E_APP" 2>/dev/null || true
    e2e_forget_pid "$E2E_APP"
}

# A session bus of the test's own for mutter, started directly rather than through
# dbus-run-session so that both processes are known by their ids and ended by the clean-up.
start_mutter() {
    export XDG_RUNTIME_DIR="$E2E_WORK/runtime" GSETTINGS_BACKEND=memory
    mkdir -m 700 "$XDG_RUNTIME_DIR"
    dbus-daemon --session --nofork --print-address=3 3>"$E2E_WORK/bus" 2>/dev/null &
    E2E_PIDS+=($!)
    e2e_wait_for 10 test -s "$E2E_WORK/bus" || e2e_fail "the session bus did not start"
    DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$E2E_WORK/bus")
    export DBUS_SESSION_BUS_ADDRESS
    mutter --x11 --replace --sm-disable >"$E2E_WORK/mutter.log" 2>&1 &
    E2E_PIDS+=($!)
    "$framewatch" compositor ||
        e2e_fail "mutter did not start compositing: $(tail -n 5 "$E2E_WORK/mutter.log")"
}

mkdir "$E2E_WORK/odd" "$E2E_WORK/whole-frames"
start_client "$@"
"$framewatch" record "$caption" "$frames" "$quiet_ms" "$E2E_WORK/whole-frames" >"$E2E_WORK/whole" ||
    e2e_fail "could not see the $frames whole frames of $caption twice each"
stop_client
read -r _ size < "$E2E_WORK/whole"
learnt=$(awk 'NR > 1 && $2 >= 2' "$E2E_WORK/whole" | wc -l)
echo "whole frames at $size on the bare server: $learnt"

start_mutter
start_client "$@"
sleep 2  # past the window's opening animation and the first revolution
"$framewatch" watch "$caption" "$captures" "$E2E_WORK/whole" "$E2E_WORK/odd" \
    >"$E2E_WORK/watch" || e2e_fail "could not watch $caption"
kill -0 "$E2E_APP" 2>/dev/null || e2e_fail "$caption ended by itself"
stop_client
if [ -n "${E2E_KEEP:-}" ]; then
    cp "$E2E_WORK/watch" "$E2E_WORK/whole" "$E2E_KEEP"/
    cp "$E2E_WORK"/odd/*.ppm "$E2E_WORK"/whole-frames/*.ppm "$E2E_KEEP"/ 2>/dev/null || true
fi

read -r _ watched_size < "$E2E_WORK/watch"
[ "$watched_size" = "$size" ] ||
    e2e_fail "the window is $watched_size under mutter and was $size on the bare server"
summary=$(tail -n 1 "$E2E_WORK/watch")
echo "under mutter at $size: $summary"
read -r _ n _ _ _ _ _ isolated _ _ _ _ _ distinct <<<"$summary"
[ "$n" -eq "$captures" ] || e2e_fail "only $n captures in 60 s"
[ "$distinct" -ge "$least_distinct" ] ||
    e2e_fail "only $distinct different whole frames seen: the judge does not know them"
case $expect in
    whole)
        [ "$isolated" -eq 0 ] ||
            e2e_fail "$isolated of $n captures showed a tick half drawn (isolated odd captures)"
        ;;
    torn)
        [ "$isolated" -ge "$least_caught" ] ||
            e2e_fail "the judge caught only $isolated half-drawn ticks of a client that tears"
        ;;
    *) e2e_fail "expect whole or torn, not $expect" ;;
esac
echo "PASS"
