#!/usr/bin/env bash
# Runs the soak harness on a private X server, natively or under Wine in a fresh prefix, and
# passes its verdict on. Usage: soak_run.sh native|wine SOAK counts|memory
set -euo pipefail
platform=$1
soak=$2
mode=$3
source "$(dirname "$0")/../e2e/lib.sh"

e2e_start_xvfb
runner=()
if [ "$platform" = wine ]; then
    e2e_start_wine
    runner=(wine)
fi

# The harness ends by itself; the limit only turns a hang into a failure with a message before
# CTest's own limit of 90 s ends the test without one.
readonly run_limit=60
status=0
timeout $run_limit "${runner[@]}" "$soak" "$mode" || status=$?
[ "$status" -ne 124 ] || e2e_fail "the soak run did not finish within $run_limit s"
[ "$status" -eq 0 ] || e2e_fail "the soak run ended with status $status"
echo "PASS: soak $mode ($platform)"
