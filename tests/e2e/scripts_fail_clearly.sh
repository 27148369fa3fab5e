#!/usr/bin/env bash
# The scripts a newcomer runs first fail early and say why: an unknown mode, a machine without
# apt, no display, a missing tool. Each is run with stand-ins for the commands that would
# install or build, which record being called: failing clearly means failing before them.
# Usage: scripts_fail_clearly.sh SOURCE_DIR
set -euo pipefail
source_dir=$1
here=$(dirname "$0")
source "$here/lib.sh"

stubs="$E2E_WORK/stubs"
called="$E2E_WORK/called"
mkdir -p "$stubs"
for tool in cmake apt-get dpkg-query dpkg sudo wine; do
    printf '#!/bin/sh\necho %s >>"%s"\n' "$tool" "$called" >"$stubs/$tool"
    chmod +x "$stubs/$tool"
done

# Runs a script; its status goes to $status, its stderr to $E2E_WORK/err.
run() {
    status=0
    "$@" >/dev/null 2>"$E2E_WORK/err" || status=$?
}
expect() {
    local what=$1 wanted=$2 text=$3
    [ "$status" -eq "$wanted" ] || e2e_fail "$what: exit status $status, not $wanted"
    grep -qF "$text" "$E2E_WORK/err" || e2e_fail "$what: no '$text' in: $(cat "$E2E_WORK/err")"
    [ ! -s "$called" ] || e2e_fail "$what: went on to run $(tr '\n' ' ' <"$called")"
}

for args in BOGUS "" "run extra" "list BOGUS" "list"; do
    run env PATH="$stubs:$PATH" "$source_dir/scripts/deps" $args
    expect "scripts/deps $args" 2 "usage: scripts/deps"
done

# A machine without apt: only the shell and env to start the script with.
bare="$E2E_WORK/bare"
mkdir -p "$bare"
ln -s "$(command -v bash)" "$(command -v env)" "$bare/"
run env PATH="$bare" "$source_dir/scripts/deps" run
expect "scripts/deps without apt" 1 "needs Debian or a derivative (apt)"

for script in run run-windows; do
    run env -u DISPLAY PATH="$stubs:$PATH" "$source_dir/scripts/$script"
    expect "scripts/$script without a display" 1 "There is no display"
    grep -q "ssh -X" "$E2E_WORK/err" || e2e_fail "scripts/$script gives no way to see the window"
done

# render-icons without its two tools: a sentence naming both, no traceback, nothing rewritten.
# Debian's own Python: a version manager's shim would need more of PATH than this.
ln -s /usr/bin/python3 "$bare/"
ico="$source_dir/data/icons/vurazevedadar.ico"
before=$(stat -c %Y "$ico")
run env PATH="$bare" "$source_dir/scripts/render-icons"
expect "scripts/render-icons without its tools" 1 "rsvg-convert (Debian package librsvg2-bin)"
grep -qF "icotool (Debian package icoutils)" "$E2E_WORK/err" || e2e_fail "icotool not named"
! grep -q Traceback "$E2E_WORK/err" || e2e_fail "render-icons ended in a traceback"
[ "$(stat -c %Y "$ico")" = "$before" ] || e2e_fail "render-icons rewrote the .ico"
echo "PASS: deps, run, run-windows and render-icons fail early and say why"
