#!/bin/bash
# The bash completion of svltool, run the way bash runs it: the words of a
# command line in COMP_WORDS, the completion function called, COMPREPLY read.
#   completion.sh <completion file>
# Exit 77 (skipped) without bash-completion.
set -u
library=/usr/share/bash-completion/bash_completion
if [[ ! -r $library ]]; then
    echo "SKIP: $library not found"
    exit 77
fi
# shellcheck source=/dev/null
source "$library" || exit 1
# shellcheck source=/dev/null
source "$1" || exit 1
if [[ $(complete -p svltool 2>/dev/null) != *"-F _svltool"* ]]; then
    echo "FAIL: no completion function registered for svltool"
    exit 1
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
touch a.svl b.dvb c.txt d.json e.csv
mkdir sub
touch sub/x.svl sub/y.txt

# The sorted completions, blank-separated, for the words given (the last is
# the word being completed).
complete_words() {
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _svltool svltool "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sed '/^$/d' | sort | tr '\n' ' ' | sed 's/ $//'
}

failed=0
expect() {
    local want=$1
    shift
    local got
    got=$(complete_words "$@")
    if [[ $got != "$want" ]]; then
        echo "FAIL: '$*' completes to '$got', expected '$want'"
        failed=1
    fi
}

cases() {
    # Commands and options.
    expect "check dump export-csv from-json import-csv import-dvb reorder resave" svltool ""
    expect "import-csv import-dvb" svltool im
    expect "reorder resave" svltool re
    expect "" svltool frob
    expect "--help --json --version" svltool --
    expect "--json" svltool dump --j
    expect "--help" svltool check --h
    # Files of the kind each operand expects, and folders.
    expect "a.svl sub" svltool dump ""
    expect "a.svl sub" svltool dump --json ""
    expect "a.svl sub" svltool check ""
    expect "sub/x.svl" svltool check sub/
    expect "b.dvb sub" svltool import-dvb ""
    expect "a.svl sub" svltool import-dvb b.dvb ""
    expect "d.json sub" svltool from-json ""
    expect "e.csv sub" svltool import-csv ""
    expect "e.csv sub" svltool export-csv a.svl ""
    expect "a.svl sub" svltool reorder a.svl a.svl ""
    expect "a.svl sub" svltool reorder - a.svl ""
    # Nothing past the last operand, nothing for an unknown command.
    expect "" svltool check a.svl ""
    expect "" svltool reorder a.svl a.svl a.svl ""
    expect "" svltool frobnicate ""
}

cases
# The same without bash-completion's helpers (a shell without the package).
(
    unset -f _init_completion _filedir
    cases
    exit $failed
) || failed=1

if ((failed)); then
    exit 1
fi
echo "svltool completion: all cases as expected"
