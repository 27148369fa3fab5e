#!/usr/bin/env bash
# The Windows build carries its resources and Windows (here Wine) uses them: the version that
# Properties shows, the program's own icon on its frame and in the task bar, and the manifest
# that asks for DPI awareness.
# Usage: wine_resources.sh vurazevedadar.exe wininfo.exe wintool.exe PROJECT_VERSION
set -euo pipefail
exe=$1
wininfo=$2
wintool=$3
project_version=$4
here=$(dirname "$0")
source "$here/lib.sh"

e2e_start_xvfb 1024x768x24
e2e_start_wine

# Windows versions have four numbers; the project's has two or three.
IFS=. read -r major minor patch tweak <<<"$project_version"
binary="${major}.${minor:-0}.${patch:-0}.${tweak:-0}"
wine "$wininfo" version "$exe" | tr -d '\r' >"$E2E_WORK/version" ||
    e2e_fail "no version resource"
cat "$E2E_WORK/version"
for expected in "ProductName=Vurazevedadar" "FileVersion=$project_version" \
                "ProductVersion=$project_version" "OriginalFilename=vurazevedadar.exe" \
                "Binary=$binary"; do
    grep -qx "$expected" "$E2E_WORK/version" || e2e_fail "version resource lacks $expected"
done
grep -q '^FileDescription=.' "$E2E_WORK/version" || e2e_fail "no FileDescription"
# The same holder as the Debian package's copyright file states.
holder=$(sed -n 's/^Copyright: //p' "$here/../../data/debian/copyright" | head -n 1)
grep -qx "LegalCopyright=Copyright (C) $holder" "$E2E_WORK/version" ||
    e2e_fail "no LegalCopyright naming $holder"

e2e_start_windows_program "$exe" "$wintool"

# Compared inside Windows where it can read another process's class icon (Wine 8 cannot)...
status=0
wine "$wininfo" icon Vurazevedadar "$exe" | tr -d '\r' || status=$?
[ "$status" -eq 0 ] || [ "$status" -eq 3 ] || e2e_fail "the frame's class icon is not the program's"
# ...and always as the window manager and task bar get it: Wine hands the class icon to X as
# _NET_WM_ICON, which must hold the drawing's 32 and 16 px renderings pixel for pixel.
xprop -name Vurazevedadar -notype -f _NET_WM_ICON 32c '=$0+\n' _NET_WM_ICON \
    >"$E2E_WORK/wm_icon" || e2e_fail "the window has no _NET_WM_ICON"
python3 - "$E2E_WORK/wm_icon" "$here/../../data/icons/vurazevedadar_icon_argb.inc" <<'PY' ||
import re, sys

def icons(values):
    """Splits _NET_WM_ICON data into {(width, height): pixels}."""
    found, i = {}, 0
    while i + 2 <= len(values):
        width, height = values[i], values[i + 1]
        found[(width, height)] = values[i + 2:i + 2 + width * height]
        i += 2 + width * height
    return found

shown = icons([int(v) for v in open(sys.argv[1]).read().split("=", 1)[1].split(",")])
source = re.sub(r"//[^\n]*", "", open(sys.argv[2]).read())
drawn = icons([int(v, 0) for v in source.split(",") if v.strip()])
for size in ((32, 32), (16, 16)):
    if size not in shown:
        sys.exit("the window shows no %dx%d icon (it has %s)" % (size + (sorted(shown),)))
    differ = sum(a != b for a, b in zip(shown[size], drawn[size]))
    if differ:
        sys.exit("the %dx%d window icon differs from the drawing in %d pixels" % (size + (differ,)))
print("window icon: %s, each the drawing's own pixels" %
      ", ".join("%dx%d" % size for size in sorted(shown)))
PY
    e2e_fail "the window does not show the program's icon"

# The manifest as the loader finds it: well-formed (Windows refuses to start a program whose
# manifest is not), running as the invoking user, and asking for per-monitor v2 awareness
# with the older declaration as fallback.
wine "$wininfo" manifest "$exe" >"$E2E_WORK/manifest" || e2e_fail "no manifest resource"
python3 - "$E2E_WORK/manifest" <<'PY' || e2e_fail "the manifest does not ask for what it must"
import sys
import xml.etree.ElementTree as ET

ASM1, ASM3 = "{urn:schemas-microsoft-com:asm.v1}", "{urn:schemas-microsoft-com:asm.v3}"
COMPAT = "{urn:schemas-microsoft-com:compatibility.v1}"
SETTINGS_2005 = "{http://schemas.microsoft.com/SMI/2005/WindowsSettings}"
SETTINGS_2016 = "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}"
WINDOWS_7_TO_11 = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}", "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                   "{1f676c76-80e1-4239-95bb-83d0f6d0da78}", "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
root = ET.fromstring(open(sys.argv[1], "rb").read().rstrip(b"\0"))
faults = []
levels = [e.get("level") for e in root.iter(ASM3 + "requestedExecutionLevel")]
if levels != ["asInvoker"]:
    faults.append("execution level %s" % levels)
systems = {e.get("Id") for e in root.iter(COMPAT + "supportedOS")}
if systems != WINDOWS_7_TO_11:
    faults.append("supported systems %s" % sorted(systems))
awareness = [e.text.replace(" ", "").split(",") for e in root.iter(SETTINGS_2016 + "dpiAwareness")]
if not awareness or awareness[0][0] != "PerMonitorV2":
    faults.append("dpiAwareness %s" % awareness)
aware = [e.text.strip().lower() for e in root.iter(SETTINGS_2005 + "dpiAware")]
if aware != ["true/pm"]:
    faults.append("dpiAware %s" % aware)
if faults:
    sys.exit("manifest: " + "; ".join(faults))
print("manifest: asInvoker, Windows 7 to 11, PerMonitorV2 with dpiAware true/pm as fallback")
PY

# What the system makes of it, for the record: Wine 8 reports every window per-monitor aware,
# manifest or not, so only Windows itself can tell more.
wine "$wininfo" dpi Vurazevedadar | tr -d '\r'

wine "$wintool" close Vurazevedadar || e2e_fail "could not post WM_CLOSE"
e2e_wait_for 10 bash -c "! kill -0 $E2E_APP 2>/dev/null" || e2e_fail "still running after WM_CLOSE"
echo "PASS: version, icon and manifest read back"
