#!/usr/bin/env bash
# How the program's life on Wayland ends. Killed under it, the compositor (a private weston)
# takes the connection with it: the program ends within a second by itself, with status 1 and
# one line on stderr. A close from the compositor (mutter's Alt+F4 on a headless session, which
# sends the toplevel's close event) ends it with status 0 and nothing on stderr, also after the
# compositor maximised and restored the window (configures with new sizes). weston cannot be
# made to close or resize a window without an input device; mutter can, through the keyboard
# of its remote desktop interface.
# Usage: wayland_lifecycle.sh PYTHON vurazevedadar   (PYTHON: one with python3-dbus)
set -euo pipefail
python=$1
exe=$2
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/wayland_lib.sh"

exit_limit_ms=1000
hang_seconds=5
last_plain_status=128
unset DISPLAY

# Starts the program with its stderr in $E2E_WORK/$1.err; its id goes to app.
start_program() {
    errors=$E2E_WORK/$1.err
    "$exe" >"$E2E_WORK/$1.out" 2>"$errors" &
    app=$!
    E2E_PIDS+=("$app")
}

# Waits for the program to end; fails when it is still running after $hang_seconds. Prints
# the milliseconds from $1 (e2e_now_ms) and sets status.
wait_for_end() {
    local since=$1 what=$2
    if ! e2e_wait_gone "$app" "$hang_seconds"; then
        kill -9 "$app"
        e2e_fail "$what: still running ${hang_seconds} s later"
    fi
    took=$(($(e2e_now_ms) - since))
    status=0
    wait "$app" || status=$?
    e2e_forget_pid "$app"
}

# The compositor killed outright.
e2e_start_weston 640 480 1
start_program killed
e2e_wait_for_client_area 10 >/dev/null || e2e_fail "no client area on weston: $(cat "$errors")"
sleep 0.3
kill -9 "$E2E_WESTON"
killed=$(e2e_now_ms)
wait_for_end "$killed" "the compositor killed"
wait "$E2E_WESTON" 2>/dev/null || true
e2e_forget_pid "$E2E_WESTON"
lines=$(wc -l <"$errors")
echo "compositor killed: status $status after $took ms: $(cat "$errors")"
[ "$status" -ne 0 ] && [ "$status" -le "$last_plain_status" ] ||
    e2e_fail "the compositor killed: status $status, not a failure of the program's own"
[ "$status" -eq 1 ] || e2e_fail "the compositor killed: status $status, not 1"
[ "$lines" -eq 1 ] || e2e_fail "the compositor killed: $lines lines on stderr: $(cat "$errors")"
grep -q '^vurazevedadar: ' "$errors" || e2e_fail "the compositor killed: unsigned: $(cat "$errors")"
[ "$took" -le "$exit_limit_ms" ] || e2e_fail "the compositor killed: ended only after $took ms"

# Closed by mutter, on a session bus of the test's own.
export XDG_RUNTIME_DIR="$E2E_WORK/runtime-mutter" GSETTINGS_BACKEND=memory
mkdir -m 0700 "$XDG_RUNTIME_DIR"
dbus-daemon --session --nofork --print-address=3 3>"$E2E_WORK/bus" 2>/dev/null &
E2E_PIDS+=($!)
e2e_wait_for 10 test -s "$E2E_WORK/bus" || e2e_fail "the session bus did not start"
DBUS_SESSION_BUS_ADDRESS=$(head -n 1 "$E2E_WORK/bus")
export DBUS_SESSION_BUS_ADDRESS
mutter --wayland --headless --no-x11 --virtual-monitor 640x480 --wayland-display=mutter-e2e \
    --sm-disable >"$E2E_WORK/mutter.log" 2>&1 &
E2E_PIDS+=($!)
export WAYLAND_DISPLAY=mutter-e2e
e2e_wait_for 10 test -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ||
    e2e_fail "mutter did not start: $(tail -n 5 "$E2E_WORK/mutter.log")"
start_program closed
sleep 1.5  # mutter shows no screenshots: the window is given the time to appear and take focus
keys() { "$python" "$here/remote_keys.py" "$@" || e2e_fail "mutter took no keys"; }
keys alt+F10
sleep 0.5
keys alt+F10
sleep 0.5
kill -0 "$app" 2>/dev/null || e2e_fail "maximised and restored, the program ended: $(cat "$errors")"
# A close pressed before the window had the focus closes nothing: it is pressed again, a few
# times, while the program runs on.
for _ in 1 2 3; do
    keys alt+F4
    closed=$(e2e_now_ms)
    ! e2e_wait_gone "$app" 2 || break
done
wait_for_end "$closed" "closed by mutter"
echo "closed by mutter: status $status after $took ms"
[ "$status" -eq 0 ] || e2e_fail "closed by mutter: status $status: $(cat "$errors")"
[ ! -s "$errors" ] || e2e_fail "closed by mutter: wrote on stderr: $(head -n 3 "$errors")"
echo "PASS"
