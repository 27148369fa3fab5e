#!/usr/bin/env bash
# The X server vanishes (kill -9) under the running program: as soon as its window exists, while
# it idles between ticks, while it works through a flood of exposures or of resizes, and while
# its window is off the screen. Each time the program ends within a second, by itself (a status,
# not a signal), saying so in exactly one line on stderr. So it does, saying what happened, when
# the server accepts the connection and never answers, when another client destroys the window,
# and when Xlib runs out of memory; a server that stops for a while is only a pause.
# Usage: x11_server_loss.sh vurazevedadar xtool
set -euo pipefail
exe=$1
xtool=$2
source "$(dirname "$0")/lib.sh"

exit_limit_ms=1000
# How long to wait before calling a program that has not ended hung rather than slow.
hang_seconds=5
# Statuses above this are the shell's report of a death by signal.
last_plain_status=128
# Storms that last well beyond the moment the server is killed.
storm_exposures=100000
storm_resizes=1000
storm_resize_pace_ms=4000
program_name=vurazevedadar

start_server_and_program_without_waiting() {
    errors=$E2E_WORK/app-$1.err
    e2e_start_xvfb 1024x768x24
    e2e_start_native_capturing "$exe" "$xtool" "$errors"
    app=$E2E_APP
}

start_server_and_program() {
    start_server_and_program_without_waiting "$1"
    e2e_wait_for 10 "$xtool" painted Vurazevedadar ||
        e2e_fail "$1: the window never showed its picture"
}

# A server killed outright leaves its socket file behind. It does no harm (the next server on
# that number replaces it, and the abstract socket that really holds the number went with the
# process), but it is removed unless, meanwhile, another server has taken the number.
remove_server_leftovers() {
    local number=${DISPLAY#:}
    xdpyinfo -display ":$number" >/dev/null 2>&1 || rm -f "/tmp/.X11-unix/X${number}"
}

# Kills the server and requires the program to end quickly, quietly but for one line, with a
# failure status of its own.
kill_server_and_expect_one_line() {
    local what=$1 killed took status=0 lines
    kill -9 "$E2E_XVFB"
    killed=$(e2e_now_ms)
    # The shell would report the server's death by signal on stderr as a matter of course.
    if ! e2e_wait_gone "$app" "$hang_seconds" 2>/dev/null; then
        kill -9 "$app"
        e2e_fail "$what: still running ${hang_seconds} s after the server went"
    fi
    took=$(($(e2e_now_ms) - killed))
    wait "$E2E_XVFB" 2>/dev/null || true
    e2e_forget_pid "$E2E_XVFB"
    remove_server_leftovers
    wait "$app" || status=$?
    e2e_forget_pid "$app"
    [ "$status" -ne 0 ] || e2e_fail "$what: exit status 0 without its server"
    [ "$status" -le "$last_plain_status" ] || e2e_fail "$what: killed by signal $((status - 128))"
    lines=$(wc -l <"$errors")
    [ "$lines" -eq 1 ] || e2e_fail "$what: $lines lines on stderr: $(head -n 5 "$errors")"
    # Xlib's own handler would also end the process with one line, but not in the program's
    # name, and only after running the static destructors against a dead connection.
    grep -q "^$program_name: " "$errors" ||
        e2e_fail "$what: the line is not the program's own: $(cat "$errors")"
    [ "$took" -le "$exit_limit_ms" ] || e2e_fail "$what: took ${took} ms to end"
    echo "$what: ended after ${took} ms with status $status, saying: $(cat "$errors")"
}

start_server_and_program_without_waiting at-once
kill_server_and_expect_one_line "as soon as the window exists"

start_server_and_program idle
sleep 0.5
kill_server_and_expect_one_line "idle between ticks"

# Raises a storm with an xtool verb ($2, its arguments after the caption following) and kills
# the server while it rages; $1 names the storm.
kill_server_amid_storm() {
    local storm_name=$1 verb=$2 storm
    shift 2
    "$xtool" "$verb" Vurazevedadar "$@" >/dev/null 2>&1 &
    storm=$!
    sleep 0.3
    kill -0 "$storm" 2>/dev/null || e2e_fail "the $storm_name was over too soon to test anything"
    kill_server_and_expect_one_line "amid the $storm_name"
    wait "$storm" 2>/dev/null || true
}

start_server_and_program exposures
kill_server_amid_storm "exposure storm" expose-storm "$storm_exposures"

start_server_and_program resizes
kill_server_amid_storm "resize storm" resize-storm "$storm_resizes" "$storm_resize_pace_ms"

start_server_and_program minimised
"$xtool" unmap Vurazevedadar || e2e_fail "could not take the window off the screen"
sleep 0.3
kill_server_and_expect_one_line "while minimised (unmapped)"

# Ends the server of a case that is over, so that the servers do not pile up.
stop_server() {
    kill "$E2E_XVFB"
    wait "$E2E_XVFB" 2>/dev/null || true
    e2e_forget_pid "$E2E_XVFB"
}

# Waits for the program to end by itself within $2 seconds with status 1 and exactly one line on
# stderr, the program's own, holding $3; $1 says when, for the messages.
expect_ended_saying() {
    local what=$1 seconds=$2 expected=$3 status=0 lines
    if ! e2e_wait_gone "$app" "$seconds"; then
        kill -9 "$app"
        e2e_fail "$what: still running ${seconds} s later"
    fi
    wait "$app" || status=$?
    e2e_forget_pid "$app"
    [ "$status" -eq 1 ] || e2e_fail "$what: ended with status $status"
    lines=$(wc -l <"$errors")
    [ "$lines" -eq 1 ] || e2e_fail "$what: $lines lines on stderr: $(head -n 5 "$errors")"
    grep -q "^$program_name: .*$expected" "$errors" ||
        e2e_fail "$what: said $(cat "$errors") rather than '$expected'"
    echo "$what: ended with status 1, saying: $(cat "$errors")"
}

# A listener of this test's own that accepts connections and never answers. It takes the first
# free display number from 1000 on in the abstract socket namespace, where Xlib looks first and
# where binding a taken name fails, so that it cannot meet a real server or another test.
errors=$E2E_WORK/app-silent.err
python3 - "$E2E_WORK/silent.display" <<'LISTENER' &
import socket, sys
listener = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
for number in range(1000, 2000):
    try:
        listener.bind(b"\0/tmp/.X11-unix/X%d" % number)
        break
    except OSError:
        continue
listener.listen(4)
with open(sys.argv[1], "w") as out:
    out.write("%d\n" % number)
accepted = []
while True:
    accepted.append(listener.accept()[0])
LISTENER
E2E_PIDS+=($!)
e2e_wait_for 10 test -s "$E2E_WORK/silent.display" || e2e_fail "the silent listener did not start"
DISPLAY=":$(cat "$E2E_WORK/silent.display")" "$exe" 2>"$errors" &
app=$!
E2E_PIDS+=("$app")
expect_ended_saying "a server that never answers" 10 "did not answer within"

# Stopped for longer than the set-up may take, once the connection is made: a pause, after
# which the program goes on quietly.
start_server_and_program paused
kill -STOP "$E2E_XVFB"
sleep 6
kill -CONT "$E2E_XVFB"
e2e_wait_for 10 "$xtool" painted Vurazevedadar || e2e_fail "no picture after the server's pause"
e2e_expect_running_quietly "after the server's pause"
echo "a server stopped for 6 s: the program waited and went on"
kill "$app"
wait "$app" 2>/dev/null || true
e2e_forget_pid "$app"
stop_server

start_server_and_program destroyed
"$xtool" destroy Vurazevedadar || e2e_fail "could not destroy the window"
expect_ended_saying "the window destroyed by another client" 5 \
    "the window was destroyed by another program"
stop_server

# Events the program cannot take while it is stopped pile up at the server; given room for
# only a few of them in its address space, Xlib cannot queue them all once it reads again.
start_server_and_program memory
size_kb=$(awk '/^VmSize:/ { print $2 }' "/proc/$app/status")
prlimit --pid "$app" --as=$(((size_kb + 4096) * 1024)) || e2e_fail "could not limit its memory"
kill -STOP "$app"
"$xtool" fake-configure Vurazevedadar 640 480 100000 || e2e_fail "could not send the events"
kill -CONT "$app"
expect_ended_saying "out of memory in Xlib" 10 "out of memory"
stop_server

# Started with descriptors 0 to 2 closed, none of them may become the X connection, or the
# messages for stderr would go into the protocol stream.
e2e_start_xvfb 1024x768x24
"$exe" 0<&- 1>&- 2>&- &
app=$!
E2E_PIDS+=("$app")
e2e_wait_for 10 "$xtool" painted Vurazevedadar || e2e_fail "no picture with 0 to 2 closed"
for descriptor in 0 1 2; do
    target=$(readlink "/proc/$app/fd/$descriptor") ||
        e2e_fail "descriptor $descriptor is still closed"
    [ "$target" = /dev/null ] || e2e_fail "descriptor $descriptor is $target"
done
echo "started with descriptors 0 to 2 closed: they are /dev/null"
echo "PASS: the program ended promptly with one line saying what happened, every time"
