#!/usr/bin/env bash
# The arm64 build computes what the amd64 build computes. GCC's aarch64 target fuses a * b + c
# into one fmadd, rounding once instead of twice, unless told not to; the project's
# -ffp-contract=off must reach every compile and link step of the cross build, and no fused
# multiply-add may be left in its program or frame dumper. Then the proof that counts: the
# arm64 frame dumper, run under qemu-aarch64-static, draws the same ticks pixel for pixel as the
# amd64 one.
# Usage: arm64.sh ARM64_BUILD_DIR framedump (amd64)
set -euo pipefail
build=$1
native=$2
here=$(dirname "$0")
source "$here/../e2e/lib.sh"

[ -f "$build/build.ninja" ] ||
    e2e_fail "no arm64 build in $build: make it with  cmake --workflow --preset package-arm64"
fused='\bf(n?madd|n?msub)\b'
fused_count() { aarch64-linux-gnu-objdump -d "$1" | grep -cE "$fused" || true; }

# The check itself sees a fusion where GCC makes one, and none where the flag forbids it.
echo 'double f(double a, double b, double c) { return a * b + c; }' >"$E2E_WORK/f.cpp"
aarch64-linux-gnu-g++ -O2 -c "$E2E_WORK/f.cpp" -o "$E2E_WORK/default.o"
aarch64-linux-gnu-g++ -O2 -ffp-contract=off -c "$E2E_WORK/f.cpp" -o "$E2E_WORK/off.o"
[ "$(fused_count "$E2E_WORK/default.o")" -gt 0 ] ||
    e2e_fail "GCC fused nothing by default: this check could not tell"
[ "$(fused_count "$E2E_WORK/off.o")" -eq 0 ] || e2e_fail "-ffp-contract=off left a fused multiply-add"

# Each compile step and executable link of the build, one a line, with the flags Ninja gives it
# (a link's are its FLAGS and LINK_FLAGS together).
awk '/^build / { if (step) print step; step = ($3 ~ /COMPILER|EXECUTABLE_LINKER/) ? $2 " " $3 : "" }
     step && /^  (LINK_)?FLAGS = / { step = step " " $0 }
     END { if (step) print step }' "$build/build.ninja" >"$E2E_WORK/steps"
steps=$(wc -l <"$E2E_WORK/steps")
grep -q 'LINKER' "$E2E_WORK/steps" || e2e_fail "no link step found in $build/build.ninja"
without=$(grep -v -- '-ffp-contract=off' "$E2E_WORK/steps" || true)
[ -z "$without" ] || e2e_fail "steps without -ffp-contract=off: $without"
for binary in "$build/app/vurazevedadar" "$build/framedump"; do
    [ -f "$binary" ] || e2e_fail "no $binary"
    count=$(fused_count "$binary")
    [ "$count" -eq 0 ] || e2e_fail "$binary holds $count fused multiply-adds"
done
echo "arm64: all $steps compile and link steps have -ffp-contract=off; no fmadd, fmsub, fnmadd or fnmsub"

e2e_start_xvfb 1024x768x24
# Locked and engaged poses over more than a revolution, and the bare first paint.
for ticks in 0 3 7 13 31 40; do
    "$native" "$ticks" "$E2E_WORK/amd64-$ticks.ppm" || e2e_fail "amd64 dumper failed at $ticks"
    qemu-aarch64-static "$build/framedump" "$ticks" "$E2E_WORK/arm64-$ticks.ppm" ||
        e2e_fail "arm64 dumper failed at $ticks"
    cmp -s "$E2E_WORK/amd64-$ticks.ppm" "$E2E_WORK/arm64-$ticks.ppm" ||
        e2e_fail "tick $ticks differs: $(python3 "$here/compare.py" "$E2E_WORK/amd64-$ticks.ppm" \
                                          "$E2E_WORK/arm64-$ticks.ppm" || true)"
done
echo "PASS: arm64 frames identical to amd64 at ticks 0 3 7 13 31 40"
