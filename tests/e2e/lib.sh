# Helpers for end-to-end tests: a private X server and Wine prefix for each test run, removed
# again however the test ends. Source this file, then call e2e_start_xvfb and e2e_start_wine.

E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/vurazevedadar-e2e.XXXXXX")
E2E_PIDS=()

e2e_cleanup() {
    local pid
    if [ -n "${WINEPREFIX:-}" ] && command -v wineserver >/dev/null; then
        wineserver -k >/dev/null 2>&1 || true
    fi
    for pid in "${E2E_PIDS[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${E2E_PIDS[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$E2E_WORK"
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts Xvfb on the first free display number and exports DISPLAY.
e2e_start_xvfb() {
    local size=${1:-1280x1024x24} n
    for n in $(seq 90 190); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
    done
    Xvfb ":$n" -screen 0 "$size" -nolisten tcp -noreset >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        sleep 0.05
    done
    [ -e "/tmp/.X11-unix/X$n" ] || e2e_fail "Xvfb did not start on :$n"
    export DISPLAY=":$n"
}

# Makes a fresh Wine prefix for this run and starts its server.
e2e_start_wine() {
    export WINEPREFIX="$E2E_WORK/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    timeout 120 wineboot -i >"$E2E_WORK/wineboot.log" 2>&1 || e2e_fail "wineboot failed"
}

# Waits up to $2 seconds for a command to succeed.
e2e_wait_for() {
    local seconds=$1 tries
    shift
    tries=$((seconds * 10))
    while [ "$tries" -gt 0 ]; do
        "$@" && return 0
        sleep 0.1
        tries=$((tries - 1))
    done
    return 1
}
