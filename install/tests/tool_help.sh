#!/usr/bin/env bash
# An installed tool answers --help and --version without a card: an empty key
# store, no display, and no LD_LIBRARY_PATH (it finds the library through
# its RUNPATH). The help says what the tool does and ends with exit 0; the
# version is the one line "<tool> <version>".
# Usage: tool_help.sh <tool> <version> <work>
set -uo pipefail
tool=$1 version=$2 work=$3
name=$(basename "$tool")
rm -rf "$work"
mkdir -p "$work"
run() {
    env -u LD_LIBRARY_PATH -u DISPLAY -u WAYLAND_DISPLAY -u KESTREL_DEFER_CONNECT \
        HOME="$work" XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        KESTREL_REGISTRY="$work/empty.db" KESTREL_INSTANCE="svlinstallhelp" \
        timeout 20 "$tool" "$@" >"$work/out" 2>"$work/err"
}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

run --help
rc=$?
[ "$rc" -eq 0 ] || fail "$name --help exits $rc: $(head -3 "$work/err")"
[ "$(wc -l <"$work/out")" -ge 3 ] || fail "$name --help prints less than three lines: $(cat "$work/out")"
grep -q "$name" "$work/out" || fail "$name --help does not name the tool"

run --version
rc=$?
[ "$rc" -eq 0 ] || fail "$name --version exits $rc: $(head -3 "$work/err")"
[ "$(cat "$work/out")" = "$name $version" ] || fail "$name --version says '$(cat "$work/out")'"

[ "$failures" -eq 0 ] || exit 1
echo "$name --help and --version work without a card"
