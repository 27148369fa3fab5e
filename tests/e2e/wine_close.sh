#!/usr/bin/env bash
# The Windows build opens its window under Wine and ends with status 0 when the window is sent
# WM_CLOSE. Usage: wine_close.sh vurazevedadar.exe wintool.exe
set -euo pipefail
exe=$1
wintool=$2
source "$(dirname "$0")/lib.sh"

e2e_start_xvfb
e2e_start_wine

e2e_start_windows_program "$exe" "$wintool"
app=$E2E_APP
echo "window found: $(wine "$wintool" find Vurazevedadar)"
wine "$wintool" close Vurazevedadar || e2e_fail "could not post WM_CLOSE"

e2e_wait_for 10 bash -c "! kill -0 $app 2>/dev/null" || e2e_fail "still running 10 s after WM_CLOSE"
status=0
wait "$app" || status=$?
e2e_forget_pid "$app"  # its id may be reused once it is gone
[ "$status" -eq 0 ] || e2e_fail "exit status $status after WM_CLOSE"
echo "PASS: window opened and closed with status 0"
