#!/usr/bin/env bash
# Starts SVL_Editor from a build folder. On the very first start (the settings
# hold no last used file yet) it opens the demo channel list, so that there is
# something to see; afterwards the program comes back with the list used last.
#
# Before that it makes the emulated card ready: the demo broadcast is built
# into the build folder, and the client library's key store (the file the
# library reads: $KESTREL_REGISTRY, else $XDG_CONFIG_HOME/kestrel/registry.db)
# names the server with that installation. Nothing outside the user's own
# configuration folder is touched; a second run finds everything in place and
# only checks it.
# Usage: tools/run-demo.sh <build-dir> [program arguments...]
# RUN_DEMO_PREPARE_ONLY=1 makes the card ready and ends without starting the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: tools/run-demo.sh <build-dir> [args...]}
shift
build=$(cd "$build" && pwd)
program="$build/app/SVL_Editor"
[ -x "$program" ] || { echo "run-demo: $program not found (build first)" >&2; exit 1; }

settings="${XDG_CONFIG_HOME:-$HOME/.config}/SVL-Programm Editor/SVL_Editor.conf"
server_key='SOFTWARE\Norvane\DVBSERVER\Settings'

# True when the settings name a last used file ("Recent File List", "File1").
has_last_file() {
    [ -f "$settings" ] || return 1
    awk '
        /^\[/ { in_section = ($0 == "[Recent%20File%20List]") ; next }
        in_section && /^File1=./ { found = 1 }
        END { exit found ? 0 : 1 }
    ' "$settings"
}

# One word of the server's command line; the library splits it at blanks and
# groups double-quoted parts.
word() {
    case "$1" in
        *[[:space:]]*) printf '"%s"' "$1" ;;
        *) printf '%s' "$1" ;;
    esac
}

# Builds the demo broadcast (a no-op when it is up to date) and registers the
# server that plays it. The program runs without the card when this fails.
prepare_card() {
    local server="$build/server/nvdvbsrv" kregistry="$build/tools/kregistry/kregistry"
    local conf="$build/demo-broadcast/installation.conf"
    if [ ! -x "$server" ] || [ ! -x "$kregistry" ]; then
        echo "run-demo: nvdvbsrv or kregistry not built: the program runs without the card" >&2
        return 0
    fi
    if ! cmake --build "$build" --target demo_broadcast >/dev/null; then
        echo "run-demo: the demo broadcast could not be built: the program runs without the card" >&2
        return 0
    fi
    local path
    path="$(word "$server") --config $(word "$conf") --exit-when-idle-ms 5000"
    if [ ${#path} -gt 199 ]; then
        echo "run-demo: the server's command line is longer than the 199 bytes the library reads;" \
             "use a shorter build folder path" >&2
        return 0
    fi
    [ "$("$kregistry" get "$server_key" Path 2>/dev/null)" = "string:$path" ] && return 0
    "$kregistry" set "$server_key" Path string "$path"
    echo "run-demo: card registered: $path" >&2
}

# The card boots its firmware from the folder that WIN.INI's "DVBServer" "Path"
# names ("boot/24/" below it). The emulated card only checks that the folder
# exists; an existing Path is left as the user set it.
prepare_firmware() {
    local ini="${XDG_CONFIG_HOME:-$HOME/.config}/SVL-Programm Editor/win.ini"
    local base="$build/demo-broadcast/"
    mkdir -p "${base}boot/24"
    [ -f "$ini" ] && grep -q '^Path=' "$ini" && return 0
    mkdir -p "$(dirname "$ini")"
    printf '[DVBServer]\nPath=%s\n' "$base" >>"$ini"
    echo "run-demo: firmware folder set in $ini" >&2
}

prepare_card
prepare_firmware
[ -n "${RUN_DEMO_PREPARE_ONLY:-}" ] && exit 0

if [ $# -eq 0 ] && ! has_last_file; then
    exec "$program" "$top/app/res/demo/Demo.svl"
fi
exec "$program" "$@"
