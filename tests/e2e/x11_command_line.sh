#!/usr/bin/env bash
# The command line: --help and --version answer and end with status 0, or with status 1 and a
# line on stderr when the answer cannot be written; anything else is refused with one line
# saying what is wrong, the usage, and status 2. Whatever the program echoes of its command line,
# of DISPLAY or of VURAZEVEDADAR_BACKEND reaches the terminal with its control characters
# escaped. None needs a display.
# Usage: x11_command_line.sh vurazevedadar VERSION
set -uo pipefail
exe=$1
version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }
# The display refused below must be the X server's, not a Wayland session's compositor.
unset WAYLAND_DISPLAY WAYLAND_SOCKET VURAZEVEDADAR_BACKEND

out=$(env -u DISPLAY "$exe" --help) || fail "--help ended with status $?"
[[ $out == "Usage: vurazevedadar "* ]] || fail "--help printed: $out"
out=$(env -u DISPLAY "$exe" --version) || fail "--version ended with status $?"
[ "$out" = "vurazevedadar $version" ] || fail "--version printed: $out"

for args in "-x|unknown option '-x'" "--verbose|unknown option '--verbose'" \
            "file.txt|unexpected argument 'file.txt'" "--help more|unexpected argument 'more'"; do
    IFS='|' read -r words expected <<<"$args"
    # shellcheck disable=SC2086
    err=$(env -u DISPLAY "$exe" $words 2>&1 >/dev/null)
    status=$?
    [ "$status" -eq 2 ] || fail "'$words' ended with status $status"
    [ "$(head -n 1 <<<"$err")" = "vurazevedadar: $expected" ] || fail "'$words' said: $err"
    grep -q '^Usage: vurazevedadar' <<<"$err" || fail "'$words' gave no usage"
done

# A full disk and a closed standard output.
for option in --help --version; do
    what=${option#--}
    err=$(env -u DISPLAY "$exe" "$option" 2>&1 >/dev/full)
    status=$?
    [ "$status" -eq 1 ] || fail "$option into a full disk ended with status $status"
    [ "$err" = "vurazevedadar: cannot write the $what: No space left on device" ] ||
        fail "$option into a full disk said: $err"
    err=$(env -u DISPLAY "$exe" "$option" 2>&1 >&-)
    status=$?
    [ "$status" -eq 1 ] || fail "$option with stdout closed ended with status $status"
    [[ $err == "vurazevedadar: cannot write the $what: "* ]] ||
        fail "$option with stdout closed said: $err"
done

# Runs the rest of the line and requires that what it writes on stderr, from the first line on,
# holds no control character and begins with $1.
expect_escaped() {
    local expected=$1 err
    shift
    err=$("$@" 2>&1 >/dev/null)
    ! LC_ALL=C grep -q $'[\x01-\x08\x0b-\x1f\x7f]' <<<"$err" ||
        fail "control characters reached the terminal: $(od -c <<<"$err" | head -n 3)"
    [[ $(head -n 1 <<<"$err") == "$expected"* ]] || fail "said: $(head -n 1 <<<"$err")"
}
# A title change, a bell and a colour in an argument; C1's CSI as UTF-8 and as a single byte;
# UTF-8 text passes as it is; a backslash is doubled, so that the escapes read back.
expect_escaped "vurazevedadar: unexpected argument '\x1b]0;owned\x07'" \
    env -u DISPLAY "$exe" $'\e]0;owned\a'
expect_escaped "vurazevedadar: unknown option '-\x1b[31mred\xc2\x9b2J\x9b'" \
    env -u DISPLAY "$exe" $'-\e[31mred\xc2\x9b2J\x9b'
expect_escaped 'vurazevedadar: unexpected argument '\''Grüße\\n'\' env -u DISPLAY "$exe" 'Grüße\n'
# The program's name comes from whatever argv[0] the caller chose.
expect_escaped "vurazevedadar\x1b[2J: unknown option '-x'" \
    env -u DISPLAY bash -c 'exec -a "$1" "$2" -x' _ $'vurazevedadar\e[2J' "$exe"
expect_escaped "vurazevedadar: cannot open display \"\x1b[2J:99\"" \
    env DISPLAY=$'\e[2J:99' "$exe"
expect_escaped 'vurazevedadar: VURAZEVEDADAR_BACKEND is "\x1b[2J\x07": it must be x11 or wayland' \
    env VURAZEVEDADAR_BACKEND=$'\e[2J\a' "$exe"
echo "PASS"
