#!/usr/bin/env bash
# The Linux program runs on the window system the session leads to, with an X server and a
# Wayland compositor (a private Xvfb and a private weston) both there to choose from: Wayland
# when WAYLAND_DISPLAY names a compositor, X11 when it is unset or names none, and whichever
# VURAZEVEDADAR_BACKEND forces. Where the window appeared tells which was chosen: in weston's
# screenshot, or on the Xvfb. A forced backend that cannot run, and a name that is no backend,
# end the program at once with one line and status 1. Nothing goes to stdout. The Wayland
# backend is a module loaded only when tried: a run on X11 maps none of the Wayland libraries,
# and a copy of the program with no module to load falls back to X11 in a Wayland session, and
# refuses with the file and dlerror's reason when Wayland is forced.
# Usage: wayland_choice.sh vurazevedadar xtool
set -euo pipefail
exe=$1
xtool=$2
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/wayland_lib.sh"

e2e_start_xvfb 1024x768x24
e2e_start_weston 640 480 1
compositor=$WAYLAND_DISPLAY
unset WAYLAND_DISPLAY
table=()

# Starts a program with WAYLAND_SOCKET holding a connection to the compositor already made, as
# a compositor starting a client of its own does, and WAYLAND_DISPLAY unset.
socket_launcher=(python3 -c 'import os, socket, sys
connection = socket.socket(socket.AF_UNIX)
connection.connect(sys.argv[1])
os.set_inheritable(connection.fileno(), True)
os.environ.pop("WAYLAND_DISPLAY", None)
os.environ["WAYLAND_SOCKET"] = str(connection.fileno())
os.execv(sys.argv[2], sys.argv[2:])' "$XDG_RUNTIME_DIR/$compositor")
launcher=()
program=$exe

# Runs the program (through $launcher, when set) with the environment given as NAME=VALUE
# words (NAME= empties NAME, which counts as unset) and requires its window on the window
# system named first, wayland or x11, and nothing on stdout or stderr: falling back from a
# compositor that is not there is no fault.
expect_window_on() {
    local expected=$1 case=$2 on="" area
    shift 2
    env "$@" "${launcher[@]}" "$program" >"$E2E_WORK/out" 2>"$E2E_WORK/err" &
    local app=$!
    E2E_PIDS+=("$app")
    for _ in $(seq 40); do
        if "$xtool" find Vurazevedadar >/dev/null 2>&1; then
            on=x11
        elif area=$(e2e_weston_shot "$E2E_WORK/choice.png" &&
                    e2e_client_area_in "$E2E_WORK/choice.png" 2>/dev/null); then
            on=wayland
        fi
        [ -z "$on" ] || break
        kill -0 "$app" 2>/dev/null || break
        sleep 0.25
    done
    [ "$on" != x11 ] || e2e_expect_no_wayland_maps "$app"
    kill "$app" 2>/dev/null || true
    wait "$app" 2>/dev/null || true
    e2e_forget_pid "$app"
    table+=("$(printf '%-52s %s' "$case" "${on:-nowhere}")")
    [ "$on" = "$expected" ] ||
        e2e_fail "$case: the window is ${on:-nowhere}, not on $expected: $(head -n 2 "$E2E_WORK/err")"
    [ ! -s "$E2E_WORK/out" ] ||
        e2e_fail "$case: the program wrote on stdout: $(head -n 2 "$E2E_WORK/out")"
    [ ! -s "$E2E_WORK/err" ] ||
        e2e_fail "$case: the program wrote on stderr: $(head -n 2 "$E2E_WORK/err")"
    # Both on screen at once would be a fault of its own: the other must show nothing.
    if [ "$on" = x11 ]; then
        e2e_weston_shot "$E2E_WORK/other.png" &&
            ! e2e_client_area_in "$E2E_WORK/other.png" 2>/dev/null ||
            e2e_fail "$case: a window on weston too"
    fi
}

# Runs the program and requires it to end within a second, with status 1 and exactly one line
# on stderr that holds the pattern.
expect_refusal() {
    local case=$1 pattern=$2 status=0 lines
    shift 2
    timeout 5 env "$@" "$program" >"$E2E_WORK/out" 2>"$E2E_WORK/err" || status=$?
    lines=$(wc -l <"$E2E_WORK/err")
    table+=("$(printf '%-52s status %s: %s' "$case" "$status" "$(head -n 1 "$E2E_WORK/err")")")
    [ "$status" -eq 1 ] || e2e_fail "$case: status $status, not 1: $(cat "$E2E_WORK/err")"
    [ "$lines" -eq 1 ] || e2e_fail "$case: $lines lines on stderr: $(cat "$E2E_WORK/err")"
    grep -q -- "$pattern" "$E2E_WORK/err" || e2e_fail "$case: said $(cat "$E2E_WORK/err")"
    [ ! -s "$E2E_WORK/out" ] || e2e_fail "$case: the program wrote on stdout"
}

expect_window_on wayland "WAYLAND_DISPLAY and DISPLAY" WAYLAND_DISPLAY="$compositor"
expect_window_on x11 "DISPLAY only" WAYLAND_DISPLAY=
expect_window_on x11 "WAYLAND_DISPLAY naming no compositor" WAYLAND_DISPLAY=no-such-compositor
expect_window_on x11 "forced x11, WAYLAND_DISPLAY set" \
    WAYLAND_DISPLAY="$compositor" VURAZEVEDADAR_BACKEND=x11
expect_window_on wayland "forced wayland" \
    WAYLAND_DISPLAY="$compositor" VURAZEVEDADAR_BACKEND=wayland
launcher=("${socket_launcher[@]}")
expect_window_on wayland "WAYLAND_SOCKET and DISPLAY"
launcher=()
expect_window_on x11 "WAYLAND_SOCKET not a connection" WAYLAND_SOCKET=99
expect_refusal "forced wayland, no WAYLAND_DISPLAY" "vurazevedadar: .*[Ww]ayland" \
    VURAZEVEDADAR_BACKEND=wayland
expect_refusal "forced wayland, no such compositor" "vurazevedadar: .*[Ww]ayland" \
    WAYLAND_DISPLAY=no-such-compositor VURAZEVEDADAR_BACKEND=wayland
expect_refusal "forced x11, no DISPLAY" "^vurazevedadar: cannot open display" \
    WAYLAND_DISPLAY="$compositor" VURAZEVEDADAR_BACKEND=x11 DISPLAY=
expect_refusal "neither DISPLAY nor WAYLAND_DISPLAY" "^vurazevedadar: cannot open display" \
    DISPLAY=
expect_refusal "VURAZEVEDADAR_BACKEND=gtk" \
    '^vurazevedadar: VURAZEVEDADAR_BACKEND is "gtk": it must be x11 or wayland' \
    WAYLAND_DISPLAY="$compositor" VURAZEVEDADAR_BACKEND=gtk

# A copy of the program where no module lies beside it, nor in the directory an installed one
# would be in (lib/TRIPLET/vurazevedadar/ beside bin/).
mkdir -p "$E2E_WORK/copy/bin"
cp "$exe" "$E2E_WORK/copy/bin/"
program="$E2E_WORK/copy/bin/$(basename "$exe")"
expect_window_on x11 "no module, WAYLAND_DISPLAY and DISPLAY" WAYLAND_DISPLAY="$compositor"
installed="$E2E_WORK/copy/lib/.*/vurazevedadar/vurazevedadar-wayland.so"
expect_refusal "no module, forced wayland" \
    "^vurazevedadar: cannot load the Wayland backend: $installed: cannot open shared object" \
    WAYLAND_DISPLAY="$compositor" VURAZEVEDADAR_BACKEND=wayland
program=$exe
printf '%s\n' "${table[@]}"
echo "PASS"
