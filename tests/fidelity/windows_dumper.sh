#!/usr/bin/env bash
# Brings the Windows build's frame dumper, which the fidelity test runs beside the native one, up
# to date with the sources: builds it in the windows preset's tree (configuring that first when
# needed), so that the comparison never runs against a missing or stale executable. A dumper
# given from elsewhere is only checked.
# Usage: windows_dumper.sh CMAKE SOURCE_DIR WINDOWS_BUILD_DIR DUMPER
set -euo pipefail
cmake=$1
source_dir=$2
windows_build=$3
dumper=$4

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

if [ "$dumper" = "$windows_build/tests/framedump.exe" ]; then
    if [ ! -f "$windows_build/CMakeCache.txt" ]; then
        (cd "$source_dir" && "$cmake" --preset windows) ||
            fail "could not configure the windows preset for its frame dumper"
    fi
    "$cmake" --build "$windows_build" --target framedump ||
        fail "could not build the Windows frame dumper in $windows_build"
fi
[ -f "$dumper" ] ||
    fail "no Windows frame dumper at $dumper (build the windows preset: cmake --workflow --preset windows)"
echo "PASS: Windows frame dumper at $dumper"
