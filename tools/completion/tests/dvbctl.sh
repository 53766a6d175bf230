#!/usr/bin/env bash
# The bash completion of dvbctl as bash runs it: the function named by
# `complete -p dvbctl`, with COMP_WORDS/COMP_CWORD/COMP_LINE set, in a
# folder of sample files; COMPREPLY compared (sorted) with what it must be.
# The cases run with bash-completion's helpers loaded and again with the
# completion file alone (its own fallback). Needs bash-completion (skipped,
# exit 77, without it). Usage:
#   dvbctl.sh COMPLETION_FILE WORKDIR

completion=$1 work=$2
library=/usr/share/bash-completion/bash_completion
if [ ! -f "$library" ]; then
    echo "bash-completion is not installed ($library): skipped"
    exit 77
fi
rm -rf "$work" && mkdir -p "$work/sub" && cd "$work" || exit 1
touch a.svl b.txt c.pva d.ts shot.png logo.bmp

# expect "WORDS (the last one is completed, may be empty)" EXPECTED...
expect() {
    local line=$1
    shift
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *" " ]] && COMP_WORDS+=("")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    "$function" dvbctl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got want
    got=$(printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' ')
    want=$(printf '%s\n' "$@" | sort | tr '\n' ' ')
    if [ "$got" != "$want" ]; then
        echo "FAIL: '$line' completes to '$got', expected '$want'"
        failures=$((failures + 1))
    fi
}

cases() {
# shellcheck disable=SC1090
source "$completion"
spec=$(complete -p dvbctl 2>/dev/null) || { echo "FAIL: no completion registered for dvbctl"; exit 1; }
function=$(sed -n 's/.*-F \([^ ]*\) .*/\1/p' <<<"$spec")
failures=0
expect "dvbctl " status tune sections scan psi key osd snapshot record play teletext help \
    --help -h --version
expect "dvbctl s" status sections scan snapshot
expect "dvbctl --v" --version
expect "dvbctl scan --" --svl --lnb --transponders --out
expect "dvbctl scan --svl a.svl --" --lnb --transponders --out
expect "dvbctl scan --svl " a.svl sub
expect "dvbctl scan --svl a.svl --lnb Astra --out " a.svl sub
expect "dvbctl scan --transponders " a.svl b.txt c.pva d.ts shot.png logo.bmp sub
expect "dvbctl tune --pol " H V
expect "dvbctl tune --diseqc " A B C D
expect "dvbctl tune --freq " 
expect "dvbctl sections --mode " 0 1 2
expect "dvbctl teletext --pid 104 --page 100 --t" --text --timeout
expect "dvbctl record --seconds 5 " c.pva d.ts sub
expect "dvbctl play --" --seconds
expect "dvbctl snapshot " shot.png sub
expect "dvbctl osd m" move moveby
expect "dvbctl osd bmp " logo.bmp sub
expect "dvbctl status " 
if [ "$failures" -ne 0 ]; then
    echo "$failures completion cases failed ($1)"
    exit 1
fi
}

# shellcheck disable=SC1090
(source "$library" && cases "with bash-completion") || exit 1
(cases "the completion file alone") || exit 1
echo "dvbctl completion: ok"
