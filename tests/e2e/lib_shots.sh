# Takes screenshots of the whole screen: e2e_take_shots COUNT INTERVAL DIR prints their paths.
e2e_take_shots() {
    local count=$1 interval=$2 dir=$3 i
    mkdir -p "$dir"
    for i in $(seq -w 1 "$count"); do
        xwd -root -silent -out "$dir/shot$i.xwd"
        echo "$dir/shot$i.xwd"
        sleep "$interval"
    done
}

# Judges the running program's client area at LEFT TOP WIDTH HEIGHT on the screen: twelve
# screenshots over 3 s, each showing what the window must show, the cross turning between them.
e2e_judge_animation() {
    local shots
    sleep 0.5  # the wheel and cross appear with the first ticks after the first paint
    mapfile -t shots < <(e2e_take_shots 12 0.25 "$E2E_WORK/shots")
    python3 "$(dirname "${BASH_SOURCE[0]}")/judge.py" "$@" "${shots[@]}" \
        ${E2E_PNG:+--png "$E2E_PNG"}
}
