# Helpers for end-to-end tests on Wayland: a private weston on the headless backend, drawing
# with pixman into memory so that its screenshooter can read the composited output, and the
# program's client area found in those screenshots. Source lib.sh first.

# Starts weston with an output of WIDTH x HEIGHT logical pixels at integer SCALE, on a socket in
# a runtime folder of the test's own, and exports WAYLAND_DISPLAY and XDG_RUNTIME_DIR. With
# --xwayland it also serves X clients, on the display it exports as E2E_XWAYLAND_DISPLAY.
# Usage: e2e_start_weston WIDTH HEIGHT SCALE [WESTON-OPTIONS...] (--xwayland, --shell=...)
e2e_start_weston() {
    local width=$1 height=$2 scale=$3 name=wayland-e2e
    shift 3
    export XDG_RUNTIME_DIR="$E2E_WORK/runtime"
    mkdir -m 0700 "$XDG_RUNTIME_DIR"
    # --debug lets weston-screenshooter read the output; --idle-time=0 keeps the output from
    # blanking; --no-config keeps the tester's own weston.ini out of the picture, unless the
    # test gives one of its own (--config=FILE).
    local config=--no-config
    [[ " $* " != *" --config="* ]] || config=""
    weston --backend=headless-backend.so --socket="$name" --width="$width" --height="$height" \
        --scale="$scale" --use-pixman --idle-time=0 --debug $config "$@" \
        >"$E2E_WORK/weston.log" 2>&1 &
    E2E_WESTON=$!
    E2E_PIDS+=("$E2E_WESTON")
    e2e_wait_for 10 test -S "$XDG_RUNTIME_DIR/$name" ||
        e2e_fail "weston did not start: $(tail -n 5 "$E2E_WORK/weston.log")"
    export WAYLAND_DISPLAY=$name
    E2E_WESTON_SOCKET=$name
    # The desktop shell's helper client draws the background and the panel; a screenshot
    # taken before it has is of a black output.
    e2e_wait_for 10 e2e_weston_shell_ready ||
        e2e_fail "weston's shell did not start: $(tail -n 5 "$E2E_WORK/weston.log")"
    if [[ " $* " = *" --xwayland "* ]]; then
        e2e_wait_for 10 grep -q "xserver listening on display" "$E2E_WORK/weston.log" ||
            e2e_fail "weston did not start XWayland: $(tail -n 5 "$E2E_WORK/weston.log")"
        E2E_XWAYLAND_DISPLAY=$(sed -n 's/.*xserver listening on display \(:[0-9]*\).*/\1/p' \
            "$E2E_WORK/weston.log" | head -n 1)
        export E2E_XWAYLAND_DISPLAY
    fi
}

e2e_weston_shell_ready() {
    e2e_weston_shot "$E2E_WORK/ready.png" >/dev/null 2>&1 &&
        python3 "$(dirname "${BASH_SOURCE[0]}")/client_area.py" --lit "$E2E_WORK/ready.png"
}

# Writes a screenshot of the whole output, at device pixels, to the PNG file $1, whatever
# WAYLAND_DISPLAY says by now.
e2e_weston_shot() {
    local dir
    dir=$(mktemp -d "$E2E_WORK/shot.XXXXXX")
    (cd "$dir" && WAYLAND_DISPLAY=$E2E_WESTON_SOCKET weston-screenshooter) || return 1
    mv "$dir"/wayland-screenshot-*.png "$1" && rmdir "$dir"
}

# Takes COUNT screenshots INTERVAL seconds apart into DIR and prints their paths.
e2e_weston_shots() {
    local count=$1 interval=$2 dir=$3 i
    mkdir -p "$dir"
    for i in $(seq -w 1 "$count"); do
        e2e_weston_shot "$dir/shot$i.png" || e2e_fail "weston-screenshooter failed"
        echo "$dir/shot$i.png"
        sleep "$interval"
    done
}

# Prints "LEFT TOP WIDTH HEIGHT" of the program's client area in the screenshot $1, in device
# pixels; fails when the screenshot shows none.
e2e_client_area_in() {
    python3 "$(dirname "${BASH_SOURCE[0]}")/client_area.py" "$1"
}

# Waits up to $1 seconds for the program's client area to show on weston's output; prints it.
e2e_wait_for_client_area() {
    local deadline=$(($(e2e_now_ms) + $1 * 1000))
    while [ "$(e2e_now_ms)" -lt "$deadline" ]; do
        if e2e_weston_shot "$E2E_WORK/find.png" &&
           e2e_client_area_in "$E2E_WORK/find.png" 2>/dev/null; then
            return 0
        fi
        sleep 0.25
    done
    # Why the last screenshot showed none.
    e2e_client_area_in "$E2E_WORK/find.png" >&2 || true
    return 1
}
