# Helpers for end-to-end tests: a private X server and Wine prefix for each test run, removed
# again however the test ends. Source this file, then call e2e_start_xvfb and e2e_start_wine.

# The tests start their own servers: run from a Wayland session, the program would otherwise
# choose the session's compositor rather than the test's X server, and a backend forced in the
# caller's environment would choose for it.
unset WAYLAND_DISPLAY WAYLAND_SOCKET VURAZEVEDADAR_BACKEND

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
    rm -rf "$E2E_WORK" ${E2E_WINE_COPY:+"$E2E_WINE_COPY"}
}
trap e2e_cleanup EXIT
trap 'exit 130' INT TERM

e2e_fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Starts an X server on a display number of its own choosing and exports DISPLAY. Letting the
# server choose (-displayfd) is what keeps parallel tests apart: looking for a free number first
# and starting the server after would race with the other tests doing the same.
# Usage: e2e_start_x_server NAME PROGRAM [ARGS...]; the server's log is $E2E_WORK/NAME.log.
e2e_start_x_server() {
    local name=$1 n=""
    shift
    "$@" -displayfd 3 -nolisten tcp -noreset \
        3>"$E2E_WORK/$name.display" >"$E2E_WORK/$name.log" 2>&1 &
    E2E_PIDS+=($!)
    E2E_SERVER=$!
    for _ in $(seq 100); do
        n=$(head -n 1 "$E2E_WORK/$name.display" 2>/dev/null || true)
        [ -n "$n" ] && break
        sleep 0.05
    done
    [ -n "$n" ] || e2e_fail "$name did not start: $(cat "$E2E_WORK/$name.log")"
    export DISPLAY=":$n"
}

# Starts a private Xvfb. Further arguments go to the server (a visual class, say: -cc 5 for
# DirectColor).
e2e_start_xvfb() {
    local size=${1:-1280x1024x24}
    shift || true
    e2e_start_x_server xvfb Xvfb -screen 0 "$size" "$@"
    E2E_XVFB=$E2E_SERVER
}

# Gives this test a Wine prefix of its own: a copy of the one the test run made
# (E2E_WINE_PREFIX_TEMPLATE, tests/e2e/wine_prefix.cmake), or a fresh one when the script runs by
# itself. The copy lies beside the shared prefix, on the same file system, so that it can link.
e2e_start_wine() {
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -n "${E2E_WINE_PREFIX_TEMPLATE:-}" ]; then
        [ -f "$E2E_WINE_PREFIX_TEMPLATE/system.reg" ] ||
            e2e_fail "no Wine prefix in $E2E_WINE_PREFIX_TEMPLATE (made by the test wine_prefix.make)"
        E2E_WINE_COPY=$(mktemp -d "$E2E_WINE_PREFIX_TEMPLATE-copy.XXXXXX")
        export WINEPREFIX="$E2E_WINE_COPY/prefix"
        e2e_copy_wine_prefix "$E2E_WINE_PREFIX_TEMPLATE" "$WINEPREFIX"
    else
        export WINEPREFIX="$E2E_WORK/prefix"
        timeout 120 wineboot -i >"$E2E_WORK/wineboot.log" 2>&1 || e2e_fail "wineboot failed"
    fi
}

# Copies prefix $1 to $2. Most of a prefix (about 700 MB) is DLLs and programs that Wine only
# reads, and a full copy takes as long as wineboot: those are hard-linked, everything else (the
# registry, the configuration files), which Wine may write, is copied.
e2e_copy_wine_prefix() {
    local from=$1 to
    to=$(realpath -m "$2")
    cp -al "$from" "$to" || e2e_fail "could not link the Wine prefix $from"
    (cd "$from" && find . -type f ! \( -iname '*.dll' -o -iname '*.exe' -o -iname '*.sys' \
        -o -iname '*.drv' -o -iname '*.ocx' -o -iname '*.acm' -o -iname '*.cpl' -o -iname '*.nls' \
        -o -iname '*.tlb' -o -iname '*.ds' \) -print0 |
        xargs -0 cp -p --parents --remove-destination -t "$to") ||
        e2e_fail "could not copy the Wine prefix $from"
}

# Fails unless the native program running as process $1 maps none of the Wayland libraries
# (nor the module of the Wayland backend, which brings them): an X11 run must not carry them.
e2e_expect_no_wayland_maps() {
    local mapped
    [ -r "/proc/$1/maps" ] || e2e_fail "process $1, whose maps were to be read, is gone"
    mapped=$(grep -oE '[^/]*(libwayland-client|libdecor-0|vurazevedadar-wayland)[^/]*$' \
             "/proc/$1/maps" | sort -u | tr '\n' ' ') || true
    [ -z "$mapped" ] || e2e_fail "the X11 run maps $mapped"
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

# Starts the Windows build under Wine (e2e_start_wine first) and waits for its window, found
# from inside the prefix by the Windows tool; its process id goes to E2E_APP.
e2e_start_windows_program() {
    local exe=$1 wintool=$2
    wine "$exe" &
    E2E_APP=$!
    E2E_PIDS+=("$E2E_APP")
    e2e_wait_for 30 wine "$wintool" find Vurazevedadar >/dev/null ||
        e2e_fail "no window captioned Vurazevedadar appeared"
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

# Like e2e_start_native, but the program's stderr goes to the file $3, so that a test can
# require that it stays empty (or holds exactly the one line a failure must print).
e2e_start_native_capturing() {
    local exe=$1 xtool=$2 errors=$3
    "$exe" 2>"$errors" &
    E2E_APP=$!
    E2E_APP_ERRORS=$errors
    E2E_PIDS+=("$E2E_APP")
    e2e_wait_for 10 "$xtool" find Vurazevedadar >/dev/null ||
        e2e_fail "no window captioned Vurazevedadar"
}

# Fails unless the program started by e2e_start_native_capturing still runs and has written
# nothing on stderr; $1 says when, for the message.
e2e_expect_running_quietly() {
    kill -0 "$E2E_APP" 2>/dev/null || e2e_fail "the program ended $1"
    [ ! -s "$E2E_APP_ERRORS" ] ||
        e2e_fail "the program wrote on stderr $1: $(head -n 3 "$E2E_APP_ERRORS")"
}

# Whether the server reports the program's window at $2 x $3 ($1: the xtool).
e2e_window_has_size() {
    [ "$("$1" geometry Vurazevedadar)" = "$2 $3" ]
}

# The time in milliseconds, for measuring how long something took (bash's clock in
# microseconds; nothing here runs long enough for a clock adjustment to matter).
e2e_now_ms() {
    local now=${EPOCHREALTIME/[.,]/}
    echo $((now / 1000))
}

# Waits up to $2 seconds for process $1 to end, looking every 10 ms (finer than e2e_wait_for,
# so that exit times can be measured); fails when it is still running then. Does not reap it.
e2e_wait_gone() {
    local pid=$1 seconds=$2 tries
    tries=$((seconds * 100))
    while kill -0 "$pid" 2>/dev/null; do
        [ "$tries" -gt 0 ] || return 1
        sleep 0.01
        tries=$((tries - 1))
    done
    return 0
}

# The clock ticks process $1 has run for, user and system time together (/proc/PID/stat's
# fields 14 and 15, counted after the parenthesised command name, which may hold spaces).
e2e_cpu_ticks() {
    local stat
    read -r stat <"/proc/$1/stat"
    stat=${stat##*) }
    set -- $stat
    echo $((${12} + ${13}))
}

# Waits up to $2 seconds for process $1 to settle: to use less than a quarter of a core over a
# fifth of a second. Prints the milliseconds that took; fails when it never settles.
e2e_wait_settled() {
    local pid=$1 seconds=$2 start now before after
    local ticks_per_second window_ms=200 busy_percent=25
    ticks_per_second=$(getconf CLK_TCK)
    start=$(e2e_now_ms)
    while :; do
        before=$(e2e_cpu_ticks "$pid") || return 1
        sleep 0.2
        after=$(e2e_cpu_ticks "$pid") || return 1
        now=$(e2e_now_ms)
        if [ $(((after - before) * 1000 * 100 / ticks_per_second)) -lt \
             $((busy_percent * window_ms)) ]; then
            echo $((now - start))
            return 0
        fi
        [ $((now - start)) -lt $((seconds * 1000)) ] || return 1
    done
}

# Drops a process the test has already waited for from the clean-up list: once reaped, its
# number may go to some other process, which the clean-up must not kill.
e2e_forget_pid() {
    local pid kept=()
    for pid in "${E2E_PIDS[@]}"; do
        [ "$pid" = "$1" ] || kept+=("$pid")
    done
    E2E_PIDS=("${kept[@]}")
}
