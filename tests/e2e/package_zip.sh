#!/usr/bin/env bash
# The Windows zip: one folder with the program and a README that Notepad shows properly; the
# program unpacked from it runs under Wine and shows the animation.
# Usage: package_zip.sh PACKAGE.zip wintool.exe PROJECT_VERSION
set -euo pipefail
zip=$1
wintool=$2
version=$3
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/lib_shots.sh"

[ -f "$zip" ] || e2e_fail "no package $zip: make it with  cmake --workflow --preset package-windows"
folder="vurazevedadar-${version}-win64"
[ "$(basename "$zip")" = "$folder.zip" ] || e2e_fail "the zip is named $(basename "$zip")"

python3 - "$zip" "$E2E_WORK" "$folder" "$version" <<'PY' || e2e_fail "the zip's contents are wrong"
import sys, zipfile
archive, target, folder, version = sys.argv[1:]
with zipfile.ZipFile(archive) as z:
    names = sorted(n for n in z.namelist() if not n.endswith("/"))
    expected = sorted(folder + "/" + n for n in ("README.txt", "vurazevedadar.exe"))
    if names != expected:
        sys.exit("zip holds %s, not %s" % (names, expected))
    readme = z.read(folder + "/README.txt")
    if b"\n" in readme.replace(b"\r\n", b""):
        sys.exit("README.txt has lines not ended by CR LF")
    if version.encode() not in readme:
        sys.exit("README.txt does not give the version %s" % version)
    z.extractall(target)
print("zip: %s" % ", ".join(names))
PY

# Windows loads the program at a random address, above 4 GiB too, and never runs its data: the
# image must ask for both, and carry the relocations that moving it needs.
exe="$E2E_WORK/$folder/vurazevedadar.exe"
x86_64-w64-mingw32-objdump -p "$exe" >"$E2E_WORK/headers" || e2e_fail "objdump cannot read the exe"
for flag in DYNAMIC_BASE HIGH_ENTROPY_VA NX_COMPAT; do
    grep -qxE "[[:space:]]+$flag" "$E2E_WORK/headers" || e2e_fail "the exe does not ask for $flag"
done
x86_64-w64-mingw32-objdump -h "$exe" | grep -q ' \.reloc ' || e2e_fail "the exe has no relocations"

e2e_start_xvfb 1024x768x24
e2e_start_wine
e2e_start_windows_program "$exe" "$wintool"
read -r _ left top width height < <(wine "$wintool" find Vurazevedadar | tr -d '\r')
echo "client area: ${width}x${height} at ($left, $top)"
e2e_judge_animation "$left" "$top" "$width" "$height"
wine "$wintool" close Vurazevedadar || e2e_fail "could not post WM_CLOSE"
e2e_wait_for 10 bash -c "! kill -0 $E2E_APP 2>/dev/null" || e2e_fail "still running after WM_CLOSE"
echo "PASS: $(basename "$zip")"
