#!/usr/bin/env bash
# The installed launcher svl-editor with a temporary key store and settings:
# it registers the installed emulated card with the installed demo when the
# store names no server (and the installed dvbctl then reaches that card), keeps a registration the user made (and a firmware
# folder the user set), follows the layout with its own earlier registration,
# refuses a command line longer than the library reads, and starts the program
# with the demo list on the first start only.
# Usage: launcher.sh <root> <bindir> <datadir> <work>
set -uo pipefail
root=$1 bindir=$2 datadir=$3 work=$4
key='SOFTWARE\Norvane\DVBSERVER\Settings'
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
rm -rf "$work"
mkdir -p "$work"
# The launcher is reached through a short link, as the command line it
# registers holds two paths of the tree and must stay within 199 bytes.
short=$(mktemp -d /tmp/svl.XXXXXX)
trap 'rm -rf "$short"' EXIT
ln -s "$root" "$short/p"
top="$short/p"
kregistry="$root/$bindir/kregistry"

# launch <case> [args...]: the launcher with that case's own store and settings.
launch() {
    local case=$1
    shift
    mkdir -p "$work/$case"
    env -u DISPLAY -u WAYLAND_DISPLAY HOME="$work/$case" XDG_CONFIG_HOME="$work/$case/config" \
        XDG_DATA_HOME="$work/$case/data" KESTREL_REGISTRY="$work/$case/store.db" \
        SVL_PREPARE_ONLY="${PREPARE_ONLY-1}" "$@" >"$work/$case/out" 2>"$work/$case/err"
}
store() { "$kregistry" --file "$work/$1/store.db" "${@:2}"; }
path_of() { store "$1" get "$key" Path 2>/dev/null; }

demo="$top/$datadir/svl-editor/demo"
expected="$top/$bindir/nvdvbsrv --config $demo/broadcast/installation.conf --exit-when-idle-ms 5000"

# An empty store: the installed card is registered, with the firmware folder.
launch fresh "$top/$bindir/svl-editor" || fail "fresh: exit $?: $(cat "$work/fresh/err")"
[ "$(path_of fresh)" = "string:$expected" ] || fail "fresh: Path '$(path_of fresh)', expected '$expected'"
ini="$work/fresh/config/SVL-Programm Editor/win.ini"
grep -qxF "Path=$demo/broadcast/" "$ini" 2>/dev/null || fail "fresh: win.ini lacks the demo firmware folder"
# The installed tool reaches the installed card through that registration.
env -u LD_LIBRARY_PATH -u DISPLAY HOME="$work/fresh" XDG_CONFIG_HOME="$work/fresh/config" \
    KESTREL_REGISTRY="$work/fresh/store.db" KESTREL_INSTANCE="svlinstall$$" \
    timeout 30 "$top/$bindir/dvbctl" status >"$work/fresh/status" 2>&1 ||
    fail "dvbctl status on the registered card: $(head -3 "$work/fresh/status")"
grep -q '^frontend type: 1$' "$work/fresh/status" || fail "dvbctl status: $(head -3 "$work/fresh/status")"
# A second start finds everything in place.
launch fresh "$top/$bindir/svl-editor" || fail "again: exit $?"
grep -q "eingetragen: " "$work/fresh/err" && fail "again: registered a second time"
[ "$(grep -c '^Path=' "$ini")" -eq 1 ] || fail "again: win.ini written twice"

# The user's own server and firmware folder stay as they are.
mkdir -p "$work/user/config/SVL-Programm Editor"
store user set "$key" Path string "/usr/local/bin/my-server --x" >/dev/null
printf '[DVBServer]\nPath=/home/me/firmware/\n' >"$work/user/config/SVL-Programm Editor/win.ini"
launch user "$top/$bindir/svl-editor" || fail "user: exit $?"
[ "$(path_of user)" = "string:/usr/local/bin/my-server --x" ] || fail "user: Path changed to '$(path_of user)'"
[ "$(cat "$work/user/config/SVL-Programm Editor/win.ini")" = $'[DVBServer]\nPath=/home/me/firmware/' ] ||
    fail "user: win.ini changed"

# An earlier registration of the launcher follows the tree it now runs from.
store moved set "$key" Path string "/old/bin/nvdvbsrv --config /old/installation.conf" >/dev/null
store moved set "$key" RegisteredBy string svl-editor >/dev/null
launch moved "$top/$bindir/svl-editor" || fail "moved: exit $?"
[ "$(path_of moved)" = "string:$expected" ] || fail "moved: Path '$(path_of moved)'"

# A tree whose command line would not fit the 199 bytes is not registered.
long="$short/$(printf 'x%.0s' {1..60})"
mkdir -p "$long"
ln -s "$root" "$long/install-with-a-long-name"
launch long "$long/install-with-a-long-name/$bindir/svl-editor" || fail "long: exit $?"
path_of long >/dev/null && fail "long: registered '$(path_of long)'"
grep -q "199 Bytes" "$work/long/err" || fail "long: no word of the limit: $(cat "$work/long/err")"

# What the launcher starts, with a program that writes down its arguments.
fake="$work/fake"
mkdir -p "$fake/$bindir" "$fake/$datadir/svl-editor/demo/broadcast/boot/24"
cp "$root/$bindir/svl-editor" "$fake/$bindir/"
ln -s "$kregistry" "$fake/$bindir/kregistry"
printf '#!/bin/sh\nexit 0\n' >"$fake/$bindir/nvdvbsrv"
printf '#!/bin/sh\nfor a in "$@"; do echo "$a"; done >"$HOME/args"\n' >"$fake/$bindir/SVL_Editor"
chmod +x "$fake/$bindir/nvdvbsrv" "$fake/$bindir/SVL_Editor"
: >"$fake/$datadir/svl-editor/demo/Demo.svl"
: >"$fake/$datadir/svl-editor/demo/broadcast/installation.conf"
list="$fake/$datadir/svl-editor/demo/Demo.svl"

PREPARE_ONLY="" launch first "$fake/$bindir/svl-editor" || fail "first: exit $?"
[ "$(cat "$work/first/args")" = "$list" ] || fail "first start: arguments '$(cat "$work/first/args")'"
mkdir -p "$work/later/config/SVL-Programm Editor"
printf '[Recent%%20File%%20List]\nFile1=/home/me/a.svl\n' >"$work/later/config/SVL-Programm Editor/SVL_Editor.conf"
PREPARE_ONLY="" launch later "$fake/$bindir/svl-editor" || fail "later: exit $?"
[ -f "$work/later/args" ] && [ ! -s "$work/later/args" ] || fail "later start: arguments '$(cat "$work/later/args")'"
PREPARE_ONLY="" launch named "$fake/$bindir/svl-editor" "my list.svl" || fail "named: exit $?"
[ "$(cat "$work/named/args")" = "my list.svl" ] || fail "named: arguments '$(cat "$work/named/args")'"
PREPARE_ONLY="" launch help "$fake/$bindir/svl-editor" --help || fail "help: exit $?"
[ "$(cat "$work/help/args")" = "--help" ] || fail "help: arguments '$(cat "$work/help/args")'"
path_of help >/dev/null && fail "help: registered a card for --help"

# A build-tree layout without its folders is a usage error.
PREPARE_ONLY="" launch usage "$fake/$bindir/svl-editor" --build-tree "$work"
rc=$?
[ "$rc" -eq 2 ] || fail "usage: exit $rc, expected 2"
grep -q "^svl-editor: Aufruf: " "$work/usage/err" || fail "usage: $(cat "$work/usage/err")"

[ "$failures" -eq 0 ] || exit 1
echo "the launcher registers the installed card and leaves the user's alone"
