#!/usr/bin/env bash
# The Windows build, linked with a SetTimer that always fails, tells the user so in a message
# box, never shows its window, ends with EXIT_FAILURE once the box is gone, and has deleted
# every GDI object it created by then. The box goes in one of two ways:
#   confirmed      the user presses its OK button
#   frame_closed   WM_CLOSE reaches the frame, still inside its creation, while the box is up;
#                  the box goes with the window that owns it
# Usage: wine_timer_refused.sh MODE vurazevedadar.exe refusing/vurazevedadar.exe wintool.exe objdump
set -euo pipefail
mode=$1
exe=$2
refusing=$3
wintool=$4
objdump=$5
source "$(dirname "$0")/lib.sh"

expected_text="Timer konnte nicht gestartet werden"
# The layer titles a message box with the program's name, taken from its file name.
caption=$(basename "$refusing" .exe)
# The frame's caption, and the class the layer registers for frame windows.
frame_caption=Vurazevedadar
frame_class=AfxFrameOrView
exit_limit=10  # seconds from the box's end to the end of the process
# The layer's entry point ends with EXIT_FAILURE when the application refuses to start; 0
# would claim success, and anything else is what a crash leaves.
expected_status=1

# Prints "DLL function" for every function an executable imports.
imports() {
    "$objdump" -p "$1" | awk '/DLL Name:/ { dll = $3; next }
                              dll != "" && NF == 3 && $2 ~ /^[0-9]+$/ { print dll, $3 }'
}

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }

# The replacement must really take the place of USER32's SetTimer (and the ledger that of the
# GDI creators), not sit beside it: the import table shows which is called.
check_imports() {
    imports "$exe" >"$E2E_WORK/imports.real"
    imports "$refusing" >"$E2E_WORK/imports.refusing"
    grep -qx "USER32.dll SetTimer" "$E2E_WORK/imports.real" ||
        e2e_fail "the shipped program does not import SetTimer: the import check sees nothing"
    grep -qx "USER32.dll KillTimer" "$E2E_WORK/imports.refusing" ||
        e2e_fail "the test build lacks USER32's KillTimer: its imports were not read"
    ! grep -qx "USER32.dll SetTimer" "$E2E_WORK/imports.refusing" ||
        e2e_fail "the test build still calls USER32's SetTimer"
    ! grep -qE "^GDI32.dll (Create|DeleteObject$)" "$E2E_WORK/imports.refusing" ||
        e2e_fail "the test build creates or deletes GDI objects past the ledger"
    echo "imports: shipped program calls USER32 SetTimer; test build does not, and reaches" \
         "the GDI creators and DeleteObject only through its ledger"
}

# Ends the message box the way the mode says.
end_box() {
    case "$mode" in
        confirmed)
            wine "$wintool" press "$caption" || e2e_fail "could not press OK"
            ;;
        frame_closed)
            wine "$wintool" close-class "$frame_class" "$frame_caption" ||
                e2e_fail "could not post WM_CLOSE to the frame being created"
            ;;
        *)
            e2e_fail "unknown mode '$mode'"
            ;;
    esac
}

check_ledger() {
    [ -f "$E2E_WORK/ledger" ] || e2e_fail "the program ended without writing its GDI ledger"
    read -r _ created _ deleted _ live _ untracked <"$E2E_WORK/ledger"
    echo "GDI objects: created $created, deleted $deleted, left $live, untracked $untracked"
    [ "$created" -gt 0 ] || e2e_fail "the ledger saw no GDI object created"
    [ "$live" -eq 0 ] && [ "$untracked" -eq 0 ] || e2e_fail "GDI objects left at exit"
}

check_imports
e2e_start_xvfb
e2e_start_wine

# Watches for the frame from before the program starts until after it has ended.
stop="$E2E_WORK/stop-watching"
wine "$wintool" watch "$frame_class" "$(winepath -w "$stop")" >"$E2E_WORK/watch.out" &
watcher=$!
E2E_PIDS+=("$watcher")
e2e_wait_for 30 grep -qs watching "$E2E_WORK/watch.out" || e2e_fail "the watch did not start"

VURAZEVEDADAR_GDI_LEDGER=$(winepath -w "$E2E_WORK/ledger") wine "$refusing" &
app=$!
E2E_PIDS+=("$app")

e2e_wait_for 30 wine "$wintool" msgbox "$caption" >/dev/null ||
    e2e_fail "no message box captioned '$caption' appeared"
text=$(wine "$wintool" msgbox "$caption" | tr -d '\r')
echo "message box '$caption' says: '$text'"
[ "$text" = "$expected_text" ] || e2e_fail "message text '$text', expected '$expected_text'"
kill -0 "$app" 2>/dev/null || e2e_fail "the program ended before its message box was gone"

started=$(now)
end_box
ended=yes
e2e_wait_for "$exit_limit" bash -c "! kill -0 $app 2>/dev/null" || ended=no
took=$(elapsed "$started" "$(now)")

# The watch ends before the verdicts, so that a window shown late is reported as such.
touch "$stop"
watch_status=0
wait "$watcher" || watch_status=$?
tr -d '\r' <"$E2E_WORK/watch.out" | grep -v '^watching$'
[ "$watch_status" -eq 0 ] || e2e_fail "a window of class $frame_class was shown"

[ "$ended" = yes ] || e2e_fail "still running $exit_limit s after the box was ended ($mode)"
status=0
wait "$app" || status=$?
e2e_forget_pid "$app"  # its id may be reused once it is gone
echo "exit status $status, $took s after the box was ended ($mode)"
[ "$status" -eq "$expected_status" ] ||
    e2e_fail "exit status $status, expected $expected_status (EXIT_FAILURE)"

check_ledger
echo "PASS: refused timer reported, box $mode, no window shown, exit status $status," \
     "no GDI object left"
