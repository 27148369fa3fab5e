#!/usr/bin/env bash
# Runs the message order probe under Wine on a private X server and passes its verdict on.
# Usage: wine_message_order.sh message_order.exe
set -euo pipefail
probe=$1
source "$(dirname "$0")/lib.sh"

e2e_start_xvfb
e2e_start_wine
# Eleven cases in two orders at about 1.3 s each; the limit turns a hang into a message.
timeout 90 wine "$probe" || e2e_fail "GetMessage's order under Wine is not the one the core follows"
echo "PASS: GetMessage's order under Wine"
