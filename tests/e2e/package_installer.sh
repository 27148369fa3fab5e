#!/usr/bin/env bash
# The Windows installer, as a user without administrator rights meets it: installed silently
# into a fresh Wine prefix, it puts the program under the user's local programs folder, a
# Start-menu shortcut with the program's icon, and an Apps entry under HKCU; the installed
# program runs and shows the animation; uninstalled silently, it leaves nothing behind.
# Usage: package_installer.sh SETUP.exe wintool.exe PROJECT_VERSION
set -euo pipefail
setup=$1
wintool=$2
version=$3
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/lib_shots.sh"

[ -f "$setup" ] || e2e_fail "no installer $setup: make it with  cmake --workflow --preset package-windows"
[ "$(basename "$setup")" = "vurazevedadar-${version}-win64-setup.exe" ] ||
    e2e_fail "the installer is named $(basename "$setup")"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vurazevedadar'

e2e_start_xvfb 1024x768x24
e2e_start_wine
# Wine would mirror the Start-menu shortcut into this machine's own menus, outside the prefix.
export WINEDLLOVERRIDES="$WINEDLLOVERRIDES;winemenubuilder.exe=d"
unix_path() { winepath -u "$(wine cmd /c echo "$1" | tr -d '\r')"; }
programs=$(unix_path '%LOCALAPPDATA%\Programs')
folder="$programs/Vurazevedadar"
shortcut="$(unix_path '%APPDATA%')/Microsoft/Windows/Start Menu/Programs/Vurazevedadar.lnk"
# What the user's part of the prefix holds before: the uninstaller must bring it back to this.
user_files() {
    (cd "$WINEPREFIX/drive_c/users" && find . ! -path '*/Temp/*' ! -path '*/Temp' | sort)
}
user_files >"$E2E_WORK/files.before"

wine "$setup" /S || e2e_fail "the silent install failed with status $?"
for file in vurazevedadar.exe README.txt Uninstall.exe; do
    [ -f "$folder/$file" ] || e2e_fail "no $file in $folder"
done

python3 "$here/shortcut.py" "$shortcut" >"$E2E_WORK/shortcut" || e2e_fail "no shortcut at $shortcut"
installed_exe=$(wine cmd /c echo '%LOCALAPPDATA%\Programs\Vurazevedadar\vurazevedadar.exe' | tr -d '\r')
for expected in "Target=$installed_exe" "Icon=$installed_exe" "IconIndex=0"; do
    grep -qixF "$expected" "$E2E_WORK/shortcut" ||
        e2e_fail "the shortcut lacks $expected: $(cat "$E2E_WORK/shortcut")"
done

wine reg query "$key" | tr -d '\r' >"$E2E_WORK/registry" || e2e_fail "no uninstall entry $key"
value() { awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }' "$E2E_WORK/registry"; }
[ "$(value DisplayName)" = Vurazevedadar ] || e2e_fail "DisplayName is '$(value DisplayName)'"
[ "$(value DisplayVersion)" = "$version" ] || e2e_fail "DisplayVersion is '$(value DisplayVersion)'"
[ -n "$(value Publisher)" ] || e2e_fail "no Publisher"
[ "$(value DisplayIcon)" = "$installed_exe,0" ] || e2e_fail "DisplayIcon is '$(value DisplayIcon)'"
uninstaller=$(value UninstallString | tr -d '"')
[ "$(winepath -u "$uninstaller")" = "$folder/Uninstall.exe" ] ||
    e2e_fail "UninstallString is '$(value UninstallString)'"
# Apps shows the size in KiB: it must be what the folder takes, give or take the rounding.
estimated=$(($(value EstimatedSize)))
actual=$(find "$folder" -type f -printf '%s\n' | awk '{ sum += $1 } END { print int(sum / 1024) }')
[ $((estimated - actual)) -le 4 ] && [ $((actual - estimated)) -le 4 ] ||
    e2e_fail "EstimatedSize is $estimated KiB; the folder takes $actual KiB"
echo "installed: $(ls "$folder" | tr '\n' ' '); shortcut and $key with $(grep -c REG_ "$E2E_WORK/registry") values"

e2e_start_windows_program "$folder/vurazevedadar.exe" "$wintool"
read -r _ left top width height < <(wine "$wintool" find Vurazevedadar | tr -d '\r')
echo "client area: ${width}x${height} at ($left, $top)"
e2e_judge_animation "$left" "$top" "$width" "$height"
wine "$wintool" close Vurazevedadar || e2e_fail "could not post WM_CLOSE"
e2e_wait_for 10 bash -c "! kill -0 $E2E_APP 2>/dev/null" || e2e_fail "still running after WM_CLOSE"

# The uninstaller runs from a copy of itself in Temp, so that it can delete its own file: the
# command returns at once, and the work is done when the prefix's last process has ended.
wine "$uninstaller" /S || e2e_fail "the silent uninstall failed with status $?"
timeout 60 wineserver -w || e2e_fail "the uninstaller did not finish"
! wine reg query "$key" >/dev/null 2>&1 || e2e_fail "the uninstall entry $key is left"
user_files >"$E2E_WORK/files.after"
left_over=$(comm -13 "$E2E_WORK/files.before" "$E2E_WORK/files.after")
[ -z "$left_over" ] || e2e_fail "left after uninstalling: $left_over"
echo "PASS: $(basename "$setup") installs, runs and uninstalls without a trace"
