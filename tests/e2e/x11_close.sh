#!/usr/bin/env bash
# The close button (WM_DELETE_WINDOW) ends the native build with status 0.
# Usage: x11_close.sh vurazevedadar xtool
set -euo pipefail
exe=$1
xtool=$2
source "$(dirname "$0")/lib.sh"

e2e_start_xvfb
"$exe" &
app=$!
E2E_PIDS+=("$app")
e2e_wait_for 10 "$xtool" find Vurazevedadar >/dev/null || e2e_fail "no window captioned Vurazevedadar"
sleep 0.3
"$xtool" close Vurazevedadar || e2e_fail "could not send WM_DELETE_WINDOW"
e2e_wait_for 5 bash -c "! kill -0 $app 2>/dev/null" || e2e_fail "still running 5 s after closing"
status=0
wait "$app" || status=$?
[ "$status" -eq 0 ] || e2e_fail "exit status $status after closing"
echo "PASS: closed with status 0"
