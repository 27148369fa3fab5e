#!/usr/bin/env bash
# The close button (WM_DELETE_WINDOW) at awkward moments: as soon as the window exists, between
# ticks, in the middle of a resize storm and of an exposure storm, twice back to back, and while
# the window is off the screen. Each time the program ends within 5 s with status 0 and nothing
# on stderr.
# Usage: x11_close_requests.sh vurazevedadar xtool
set -euo pipefail
exe=$1
xtool=$2
source "$(dirname "$0")/lib.sh"

exit_limit_seconds=5
# A storm paced this slowly is still running when the close request goes out a second in.
storm_resizes=1000
storm_pace_ms=4000
close_into_storm=1
# Enough exposures to last far longer than that.
storm_exposures=1000000

e2e_start_xvfb 1024x768x24

start_program_without_waiting() {
    errors=$E2E_WORK/app-$1.err
    e2e_start_native_capturing "$exe" "$xtool" "$errors"
    app=$E2E_APP
}

start_program() {
    start_program_without_waiting "$1"
    e2e_wait_for 10 "$xtool" painted Vurazevedadar ||
        e2e_fail "$1: the window never showed its picture"
}

# Sends the close request(s) and requires a quiet, successful end within the limit.
close_and_expect_clean_exit() {
    local what=$1 count=$2 sent status=0
    sent=$(e2e_now_ms)
    "$xtool" close Vurazevedadar "$count" || e2e_fail "$what: could not send WM_DELETE_WINDOW"
    e2e_wait_gone "$app" "$exit_limit_seconds" ||
        e2e_fail "$what: still running ${exit_limit_seconds} s after the close request"
    ended_after=$(($(e2e_now_ms) - sent))
    wait "$app" || status=$?
    e2e_forget_pid "$app"
    [ "$status" -eq 0 ] || e2e_fail "$what: exit status $status"
    [ ! -s "$errors" ] || e2e_fail "$what: wrote on stderr: $(head -n 3 "$errors")"
    "$xtool" find Vurazevedadar >/dev/null && e2e_fail "$what: the window is still there"
    echo "$what: status 0 after ${ended_after} ms, stderr empty"
}

# The window has a caption from its creation on, so the request may come before its first
# paint, or even before it is on the screen.
start_program_without_waiting at-once
close_and_expect_clean_exit "as soon as the window exists" 1

start_program between-ticks
sleep 0.5
close_and_expect_clean_exit "between ticks" 1

start_program storm
"$xtool" resize-storm Vurazevedadar "$storm_resizes" "$storm_pace_ms" \
    >"$E2E_WORK/storm.out" 2>"$E2E_WORK/storm.err" &
storm=$!
sleep "$close_into_storm"
close_and_expect_clean_exit "during a resize storm" 1
wait "$storm" || e2e_fail "the storm tool failed: $(cat "$E2E_WORK/storm.err")"
read -r done _ <"$E2E_WORK/storm.out"
[ "$done" -lt "$storm_resizes" ] ||
    e2e_fail "the storm was over before the close request; it tested nothing"
echo "  the storm got $done of $storm_resizes resizes through before the window went"

start_program exposures
"$xtool" expose-storm Vurazevedadar "$storm_exposures" >/dev/null 2>&1 &
storm=$!
sleep "$close_into_storm"
kill -0 "$storm" 2>/dev/null || e2e_fail "the exposure storm was over before the close request"
close_and_expect_clean_exit "during an exposure storm" 1
# The storm ends by itself once its window is gone, with a failure status for that.
wait "$storm" || true

start_program twice
sleep 0.5
close_and_expect_clean_exit "two close requests back to back" 2

start_program minimised
"$xtool" unmap Vurazevedadar || e2e_fail "could not take the window off the screen"
sleep 0.3
close_and_expect_clean_exit "while minimised (unmapped)" 1
echo "PASS: every close request ended the program cleanly"
