#!/usr/bin/env bash
# A Debian package: named as Debian names it, its control fields complete with dependencies
# found by dpkg-shlibdeps, everything under /usr, not one lintian tag; and its payload, unpacked
# into a temporary directory (never installed), runs and shows the animation, and loads its
# Wayland backend's module from where the package put it. The arm64 package runs here under
# qemu-aarch64-static, with the arm64 libraries that multiarch installs.
# Usage: package_deb.sh PACKAGE.deb xtool PROJECT_VERSION [ARCHITECTURE]   (amd64 unless given)
set -euo pipefail
deb=$1
xtool=$2
version=$3
arch=${4:-amd64}
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/lib_shots.sh"

[ -f "$deb" ] || e2e_fail "no package $deb: make it with  cmake --workflow --preset package"
[ "$(basename "$deb")" = "vurazevedadar_${version}_${arch}.deb" ] ||
    e2e_fail "the package is named $(basename "$deb")"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vurazevedadar ] || e2e_fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || e2e_fail "Version is '$(field Version)'"
[ "$(field Architecture)" = "$arch" ] || e2e_fail "Architecture is '$(field Architecture)'"
for name in Section Priority Maintainer Description; do
    [ -n "$(field "$name")" ] || e2e_fail "no $name field"
done
# The program links the C library, Xlib, Xinerama and Xext, and its Wayland backend's module the
# client library and libdecor; a Depends without them installs a program that cannot start, or
# cannot start on Wayland.
depends=$(field Depends)
for library in libc6 libx11-6 libxinerama1 libxext6 libwayland-client0 libdecor-0-0; do
    grep -qE "(^|, )$library( |,|$)" <<<"$depends" || e2e_fail "Depends ($depends) lacks $library"
done
echo "Depends: $depends"
# What is loaded only when used is recommended, not linked: the text library of a Wayland
# message box would otherwise cost every run some 4 MiB of GLib and its kin.
recommends=$(field Recommends)
for library in libdecor-0-plugin-1-cairo libpangocairo-1.0-0; do
    grep -qE "(^|, )$library( |,|$)" <<<"$recommends" ||
        e2e_fail "Recommends ($recommends) lacks $library"
done
for library in libpango libcairo libglib; do
    ! grep -q "$library" <<<"$depends" || e2e_fail "Depends ($depends) names $library"
done

dpkg-deb -c "$deb" | awk '{print $6}' >"$E2E_WORK/files"
for path in ./usr/bin/vurazevedadar ./usr/share/applications/vurazevedadar.desktop \
            ./usr/share/icons/hicolor/scalable/apps/vurazevedadar.svg \
            ./usr/share/icons/hicolor/48x48/apps/vurazevedadar.png \
            ./usr/share/doc/vurazevedadar/copyright ./usr/share/man/man1/vurazevedadar.1.gz; do
    grep -qx "$path" "$E2E_WORK/files" || e2e_fail "the package lacks $path"
done
# The Wayland backend's module, where Debian keeps a program's private libraries.
triplet=$(dpkg-architecture -a"$arch" -qDEB_HOST_MULTIARCH 2>/dev/null)
module=./usr/lib/$triplet/vurazevedadar/vurazevedadar-wayland.so
grep -qx "$module" "$E2E_WORK/files" || e2e_fail "the package lacks $module"
grep -q '^\./usr/share/metainfo/.*\.metainfo\.xml$' "$E2E_WORK/files" ||
    e2e_fail "the package has no metainfo"
strays=$(grep -v -e '^\./$' -e '^\./usr/' "$E2E_WORK/files" || true)
[ -z "$strays" ] || e2e_fail "files outside /usr: $strays"

# Not a tag, not even an informational or pedantic one: the hardening flags lintian looks
# for, and the sections dh_strip would have removed, included.
lintian --pedantic -I "$deb" 2>&1 | grep -v 'running with root privileges' >"$E2E_WORK/lintian" || true
[ ! -s "$E2E_WORK/lintian" ] || { cat "$E2E_WORK/lintian"; e2e_fail "lintian reports the above"; }

# The hardening, read from the program itself, since lintian skips some checks on some
# architectures: a position-independent executable, relocations read-only after immediate
# binding, stack canaries and glibc's checked functions.
root="$E2E_WORK/root"
dpkg-deb -x "$deb" "$root"
program="$root/usr/bin/vurazevedadar"
readelf -hldW --dyn-syms "$program" >"$E2E_WORK/elf" || e2e_fail "readelf cannot read the program"
grep -q 'Type:.*DYN' "$E2E_WORK/elf" || e2e_fail "the program is not position-independent"
grep -q 'FLAGS.*BIND_NOW' "$E2E_WORK/elf" || e2e_fail "the program is not bound immediately"
grep -q GNU_RELRO "$E2E_WORK/elf" || e2e_fail "the program has no RELRO segment"
for symbol in __stack_chk_fail __printf_chk; do
    grep -q "$symbol" "$E2E_WORK/elf" || e2e_fail "the program does not call $symbol"
done

case $arch in
amd64) ;;
arm64)
    file -b "$program" | grep -q 'ARM aarch64' || e2e_fail "the program is $(file -b "$program")"
    # Started through the emulator; exec keeps the process id the test waits for.
    printf '#!/bin/sh\nexec qemu-aarch64-static "%s" "$@"\n' "$program" >"$E2E_WORK/emulated"
    chmod +x "$E2E_WORK/emulated"
    program="$E2E_WORK/emulated"
    ;;
*) e2e_fail "cannot run a program for $arch here" ;;
esac
# Forced onto Wayland with no compositor to reach, the program gets as far as connecting only
# when it found the module where it looks once installed, and the module fits the program.
env -u DISPLAY XDG_RUNTIME_DIR="$E2E_WORK" WAYLAND_DISPLAY=no-such-compositor \
    VURAZEVEDADAR_BACKEND=wayland "$program" 2>"$E2E_WORK/err" || true
grep -q 'cannot connect to the Wayland compositor' "$E2E_WORK/err" ||
    e2e_fail "the packaged program did not load its Wayland backend: $(head -n 2 "$E2E_WORK/err")"

e2e_start_xvfb 1024x768x24
e2e_start_native "$program" "$xtool"
read -r _ left top width height < <("$xtool" find Vurazevedadar)
echo "client area: ${width}x${height} at ($left, $top)"
e2e_judge_animation "$left" "$top" "$width" "$height"
kill -0 "$E2E_APP" 2>/dev/null || e2e_fail "the packaged program ended by itself"
"$xtool" close Vurazevedadar || e2e_fail "could not ask the window to close"
e2e_wait_gone "$E2E_APP" 10 || e2e_fail "still running after the close request"
wait "$E2E_APP" || e2e_fail "the packaged program exited with status $?"
e2e_forget_pid "$E2E_APP"
echo "PASS: $(basename "$deb")"
