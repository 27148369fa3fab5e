# The client size a fidelity test renders at, and what follows from it. Source this file, then
# call fidelity_size WIDTHxHEIGHT; it sets FIDELITY_WIDTH, FIDELITY_HEIGHT, FIDELITY_SCREEN (an
# X screen that holds the window with room for Wine's frame around it) and FIDELITY_TICKS.

# Locked and engaged poses over more than a revolution (30 ticks), and the bare first paint.
FIDELITY_ALL_TICKS=(0 1 3 5 7 9 11 13 20 30 31 40)
# A large frame takes seconds a tick to render and compare: the first paint, a pose with the pin
# in a slot (5: there an Xlib arc running on past its end put a white pixel 2 px from any of
# GDI's at 3840 x 2160), a locked pose, and one of the second revolution (the cross turned by a
# slot).
FIDELITY_LARGE_TICKS=(0 5 20 31)
FIDELITY_LARGE_PIXELS=2000000

fidelity_size() {
    [[ $1 =~ ^([0-9]+)x([0-9]+)$ ]] || e2e_fail "a size is WIDTHxHEIGHT, not $1"
    FIDELITY_WIDTH=${BASH_REMATCH[1]}
    FIDELITY_HEIGHT=${BASH_REMATCH[2]}
    local screen_width=$((FIDELITY_WIDTH + 256)) screen_height=$((FIDELITY_HEIGHT + 256))
    [ "$screen_width" -ge 1024 ] || screen_width=1024
    [ "$screen_height" -ge 768 ] || screen_height=768
    FIDELITY_SCREEN=${screen_width}x${screen_height}x24
    if [ $((FIDELITY_WIDTH * FIDELITY_HEIGHT)) -gt "$FIDELITY_LARGE_PIXELS" ]; then
        FIDELITY_TICKS=("${FIDELITY_LARGE_TICKS[@]}")
    else
        FIDELITY_TICKS=("${FIDELITY_ALL_TICKS[@]}")
    fi
}
