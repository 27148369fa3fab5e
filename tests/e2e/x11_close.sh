#!/usr/bin/env bash
# The close button (WM_DELETE_WINDOW) ends the native build with status 0.
# Usage: x11_close.sh vurazevedadar xtool
set -euo pipefail
exe=$1
xtool=$2
source "$(dirname "$0")/lib.sh"

e2e_start_xvfb
e2e_start_native "$exe" "$xtool"
app=$E2E_APP
sleep 0.3
"$xtool" close Vurazevedadar || e2e_fail "could not send WM_DELETE_WINDOW"
e2e_wait_for 5 bash -c "! kill -0 $app 2>/dev/null" || e2e_fail "still running 5 s after closing"
status=0
wait "$app" || status=$?
e2e_forget_pid "$app"  # its id may be reused once it is gone
[ "$status" -eq 0 ] || e2e_fail "exit status $status after closing"
echo "PASS: closed with status 0"
