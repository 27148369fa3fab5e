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
