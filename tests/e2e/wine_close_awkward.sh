#!/usr/bin/env bash
# The Windows build ends with status 0, within 10 s, when WM_CLOSE reaches it at an awkward
# moment:
#   between_ticks          after a second of animation, between two timer messages
#   twice                  two WM_CLOSE back to back: the second finds the window going
#   during_resize_storm    half-way through 500 resizes that go on until the window is gone
# Usage: wine_close_awkward.sh MOMENT vurazevedadar.exe wintool.exe
set -euo pipefail
moment=$1
exe=$2
wintool=$3
source "$(dirname "$0")/lib.sh"

caption=Vurazevedadar
exit_limit=10        # seconds from the close request to the end of the process
storm_resizes=500
storm_close_after=250
storm_limit=120      # seconds for the whole storm, resizes and all

now() { date +%s.%N; }

e2e_start_xvfb
e2e_start_wine

e2e_start_windows_program "$exe" "$wintool"
app=$E2E_APP

# The request counts as sent when the tool that sends it returns. The storm goes on after its
# WM_CLOSE until the window is gone, and says how long that took; a storm stuck in a resize
# that the program never answers is ended by the time limit.
gone_ms=0
case "$moment" in
    between_ticks)
        sleep 1
        wine "$wintool" close "$caption" || e2e_fail "could not post WM_CLOSE"
        ;;
    twice)
        sleep 1
        wine "$wintool" close-twice "$caption" || e2e_fail "could not post WM_CLOSE twice"
        ;;
    during_resize_storm)
        storm_status=0
        timeout "$storm_limit" wine "$wintool" storm "$caption" "$storm_resizes" \
            "$storm_close_after" >"$E2E_WORK/storm.out" || storm_status=$?
        tr -d '\r' <"$E2E_WORK/storm.out"
        [ "$storm_status" -eq 0 ] || e2e_fail "the window outlived the storm and its WM_CLOSE"
        gone_ms=$(tr -d '\r' <"$E2E_WORK/storm.out" |
                  sed -n 's/.*window gone \([0-9]*\) ms.*/\1/p')
        [ -n "$gone_ms" ] || e2e_fail "the storm did not say when the window went"
        ;;
    *)
        e2e_fail "unknown moment '$moment'"
        ;;
esac
sent=$(now)

e2e_wait_for "$exit_limit" bash -c "! kill -0 $app 2>/dev/null" ||
    e2e_fail "still running $exit_limit s after WM_CLOSE ($moment)"
took=$(awk -v a="$sent" -v b="$(now)" -v ms="$gone_ms" \
           'BEGIN { printf "%.2f", b - a + ms / 1000 }')
status=0
wait "$app" || status=$?
e2e_forget_pid "$app"  # its id may be reused once it is gone
echo "exit status $status, $took s after WM_CLOSE ($moment)"
[ "$status" -eq 0 ] || e2e_fail "exit status $status after WM_CLOSE ($moment)"
awk -v t="$took" -v limit="$exit_limit" 'BEGIN { exit !(t <= limit) }' ||
    e2e_fail "the program took $took s to end after WM_CLOSE ($moment)"
echo "PASS: WM_CLOSE $moment ended the program with status 0"
