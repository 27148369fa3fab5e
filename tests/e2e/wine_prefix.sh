#!/usr/bin/env bash
# The Wine prefix a test run shares: made once (wineboot takes seconds), copied by each Wine test
# (e2e_start_wine), removed when the run ends. Usage: wine_prefix.sh make|remove DIR
set -euo pipefail
action=$1
prefix=$2
source "$(dirname "$0")/lib.sh"

case $action in
make)
    rm -rf "$prefix" "$prefix"-copy.*
    mkdir -p "$(dirname "$prefix")"
    # Made on a display, as the tests' own prefixes were, in case wineboot records anything of it.
    e2e_start_xvfb
    export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    timeout 120 wineboot -i >"$E2E_WORK/wineboot.log" 2>&1 ||
        e2e_fail "wineboot failed: $(tail -n 5 "$E2E_WORK/wineboot.log")"
    # The registry reaches the disk only when the server ends: wait for it rather than kill it,
    # or the copies would start from a prefix without it.
    timeout 60 wineserver -w || e2e_fail "the prefix's wineserver did not end"
    unset WINEPREFIX
    [ -f "$prefix/system.reg" ] || e2e_fail "wineboot made no registry in $prefix"
    echo "PASS: Wine prefix made in $prefix"
    ;;
remove)
    # With the copies that tests which were killed could not remove themselves.
    rm -rf "$prefix" "$prefix"-copy.*
    ;;
*)
    e2e_fail "unknown action $action"
    ;;
esac
