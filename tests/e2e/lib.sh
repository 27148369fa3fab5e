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

# Starts Xvfb on a display number of its own choosing and exports DISPLAY. Letting the server
# choose (-displayfd) is what keeps parallel tests apart: looking for a free number first and
# starting the server after would race with the other tests doing the same.
e2e_start_xvfb() {
    local size=${1:-1280x1024x24} n=""
    Xvfb -displayfd 3 -screen 0 "$size" -nolisten tcp -noreset \
        3>"$E2E_WORK/display" >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    for _ in $(seq 100); do
        n=$(head -n 1 "$E2E_WORK/display" 2>/dev/null || true)
        [ -n "$n" ] && break
        sleep 0.05
    done
    [ -n "$n" ] || e2e_fail "Xvfb did not start: $(cat "$E2E_WORK/xvfb.log")"
    export DISPLAY=":$n"
}

# Makes a fresh Wine prefix for this run and starts its server.
e2e_start_wine() {
    export WINEPREFIX="$E2E_WORK/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    timeout 120 wineboot -i >"$E2E_WORK/wineboot.log" 2>&1 || e2e_fail "wineboot failed"
}

# Starts the native program and waits for its window; its process id goes to E2E_APP.
e2e_start_native() {
    local exe=$1 xtool=$2
    "$exe" &
    E2E_APP=$!
    E2E_PIDS+=("$E2E_APP")
    e2e_wait_for 10 "$xtool" find Vurazevedadar >/dev/null ||
        e2e_fail "no window captioned Vurazevedadar"
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
