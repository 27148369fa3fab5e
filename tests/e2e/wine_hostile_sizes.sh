#!/usr/bin/env bash
# The Windows build keeps running through hostile window sizes (minimised, then client areas
# of 1 x 1, 1 x 800 and 800 x 1 pixels, each held for several ticks) and, given a normal size
# again, shows the animation it must show.
# Usage: wine_hostile_sizes.sh vurazevedadar.exe wintool.exe
set -euo pipefail
exe=$1
wintool=$2
here=$(dirname "$0")
source "$here/lib.sh"
source "$here/lib_shots.sh"

caption=Vurazevedadar
hold=0.5              # seconds at each size: ten ticks
normal_width=400
normal_height=300
hostile_sizes=("1 1" "1 800" "800 1")
step_limit=30         # seconds for one resize, minimise or restore

# Resizing another program's window waits for that program to carry it out: a program that
# stopped answering fails the step instead of holding the test until its time limit.
tool() {
    timeout "$step_limit" wine "$wintool" "$@"
}

alive() {
    kill -0 "$app" 2>/dev/null || e2e_fail "the program ended $1"
    wine "$wintool" find "$caption" >/dev/null || e2e_fail "the window is gone $1"
}

e2e_start_xvfb 1024x768x24
e2e_start_wine

e2e_start_windows_program "$exe" "$wintool"
app=$E2E_APP

tool minimize "$caption" || e2e_fail "could not minimise the window"
sleep "$hold"
alive "while minimised"
tool restore "$caption" || e2e_fail "could not restore the window"
sleep "$hold"
alive "after being restored"
echo "minimised and restored"

# The system keeps a window at least as large as its minimum tracking size, so the client
# area may come out larger than asked (or of no height at all): what it became is shown.
for size in "${hostile_sizes[@]}"; do
    read -r _ _ _ width height < <(tool client "$caption" $size | tr -d '\r') ||
        e2e_fail "could not resize the window"
    sleep "$hold"
    alive "with a client area asked as ${size/ /x}"
    echo "client area asked ${size/ /x}, got ${width}x${height}"
done

tool client "$caption" "$normal_width" "$normal_height" >/dev/null ||
    e2e_fail "could not give the window its normal size back"
sleep "$hold"
read -r _ left top width height < <(wine "$wintool" find "$caption" | tr -d '\r')
echo "client area back to ${width}x${height} at ($left, $top)"
[ "$width" -eq "$normal_width" ] && [ "$height" -eq "$normal_height" ] ||
    e2e_fail "the client area came back as ${width}x${height}"

mapfile -t shots < <(e2e_take_shots 8 0.25 "$E2E_WORK/shots")
wine "$wintool" close "$caption" || e2e_fail "could not post WM_CLOSE"
e2e_wait_for 10 bash -c "! kill -0 $app 2>/dev/null" || e2e_fail "still running after WM_CLOSE"
status=0
wait "$app" || status=$?
e2e_forget_pid "$app"  # its id may be reused once it is gone
[ "$status" -eq 0 ] || e2e_fail "exit status $status after WM_CLOSE"

python3 "$here/judge.py" "$left" "$top" "$width" "$height" "${shots[@]}" ||
    e2e_fail "the picture after the hostile sizes is not what the window must show"
echo "PASS: hostile sizes survived; the animation runs again at ${width}x${height}; exit status 0"
