#!/usr/bin/env bash
# The native program, run whole under valgrind's memcheck on a private X server for a few
# seconds and closed with the close button, ends with status 0, with no memory error and with
# no block lost, definitely, indirectly or possibly. Still reachable at the end is only what
# Xlib and XCB hold for the display connection, which the program keeps open until the process
# ends, and the C++ runtime's exception pool (memcheck.supp); any other block still reachable
# is an error too, since it would be the program's and could be growing.
# Usage: valgrind_run.sh vurazevedadar xtool
set -euo pipefail
exe=$1
xtool=$2
source "$(dirname "$0")/../e2e/lib.sh"

# valgrind's own status for a memory error or a leak of the kinds that count, kept apart from
# any status of the program's.
readonly valgrind_error_status=99
# Seconds: the run itself, and generous limits for a machine under load (the program runs
# tens of times slower under memcheck).
readonly run_seconds=3
readonly start_limit=60
readonly end_limit=60

command -v valgrind >/dev/null || e2e_fail "valgrind is not installed (see scripts/deps)"
e2e_start_xvfb
log="$E2E_WORK/memcheck.log"
valgrind --tool=memcheck --leak-check=full --show-leak-kinds=all --errors-for-leak-kinds=all \
    --suppressions="$(dirname "$0")/memcheck.supp" --error-exitcode=$valgrind_error_status \
    --log-file="$log" "$exe" &
app=$!
E2E_PIDS+=("$app")

e2e_wait_for $start_limit "$xtool" find Vurazevedadar >/dev/null ||
    e2e_fail "no window captioned Vurazevedadar within $start_limit s"
sleep $run_seconds
# The run must have reached the drawing code, or there was little to check.
"$xtool" painted Vurazevedadar || e2e_fail "the window shows no picture after $run_seconds s"
"$xtool" close Vurazevedadar || e2e_fail "could not send WM_DELETE_WINDOW"
e2e_wait_for $end_limit bash -c "! kill -0 $app 2>/dev/null" ||
    e2e_fail "still running $end_limit s after closing"
status=0
wait "$app" || status=$?
e2e_forget_pid "$app"  # its id may be reused once it is gone

# The figures for the log: the heap summary, the leak summary and the error count.
sed -n 's/^==[0-9]*== //p' "$log" |
    grep -E 'in use at exit|total heap usage|lost: |reachable: |suppressed: |ERROR SUMMARY' || true
[ "$status" -ne $valgrind_error_status ] || {
    sed -n 's/^==[0-9]*== //p' "$log" | head -n 200 >&2
    e2e_fail "memcheck found memory errors or lost blocks (see above)"
}
[ "$status" -eq 0 ] || e2e_fail "exit status $status under memcheck"
echo "PASS: no memory error and nothing lost; exit status 0"
