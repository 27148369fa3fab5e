#!/usr/bin/env bash
# The command line: --help and --version answer and end with status 0, anything else is
# refused with one line saying what is wrong, the usage, and status 2. None needs a display.
# Usage: x11_command_line.sh vurazevedadar VERSION
set -uo pipefail
exe=$1
version=$2
fail() { echo "FAIL: $*" >&2; exit 1; }

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
echo "PASS"
