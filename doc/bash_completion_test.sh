#!/usr/bin/env bash
# The generated bash completion, driven the way bash drives it: the words of
# a line (with "=" a word of its own, as bash splits them) and the word
# being completed; the offered words compared with what the parser takes.
set -u
source "$1" || exit 1
failed=0

# expect "LINE" "OFFERED..." — LINE's last word is the one being completed.
expect() {
    local line=$1 want=$2
    read -ra COMP_WORDS <<<"$(sed 's/=/ = /g' <<<"$line")"
    COMP_WORDS=(talo "${COMP_WORDS[@]}")
    [[ $line == *" " || -z $line ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    [[ $line == *= ]] && COMP_WORDS[COMP_CWORD]="="
    COMPREPLY=()
    _talo
    local got="${COMPREPLY[*]}"
    if [[ $got != "$want" ]]; then
        echo "\"$line\": offered \"$got\", expected \"$want\""
        failed=1
    fi
}

expect "" "ADD CAPTURE DELETE EMVERSION EXERCISE_DISK EXIT FILE HELP REDISCOVER RESTART SELECT SET SHOW SHUTDOWN"
expect "sh" "SHOW SHUTDOWN"
expect "sho v" "VDISK"
expect "sh v" ""                                   # SH is ambiguous: the parser refuses it
expect "DEB" ""
expect "DEBUG" "DEBUG"                             # hidden, typed in full
expect "DEBUG " ""
expect "SHOW VDISK " "FULL NOFULL"
expect "SHOW OPTIONS " ""
expect "SET OPTIONS DISPLAY_W" "DISPLAY_WIDTH="
expect "ADD VDISK v REDUNDANCY=" "VRAID0 VRAID1 VRAID5"
expect "ADD VDISK v SIZE=10 RED" "REDUNDANCY="
expect "ADD VDISK v SIZE=" ""                      # a number goes there
expect "ADD VDISK v WAIT" "WAIT_FOR_COMPLETION"
expect "-" "--check --help --version -h"
exit $failed
