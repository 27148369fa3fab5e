#!/usr/bin/env bash
# Runs a test program on a private X server of its own, removed again afterwards.
# Usage: with_xvfb.sh PROGRAM [ARGS...]
set -uo pipefail
source "$(dirname "$0")/../e2e/lib.sh"
e2e_start_xvfb
"$@"
