#!/usr/bin/env bash
# Starts SVL_Editor from a build folder. On the very first start (the settings
# hold no last used file yet) it opens the demo channel list, so that there is
# something to see; afterwards the program comes back with the list used last.
# Usage: tools/run-demo.sh <build-dir> [program arguments...]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: tools/run-demo.sh <build-dir> [args...]}
shift
program="$build/app/SVL_Editor"
[ -x "$program" ] || { echo "run-demo: $program not found (build first)" >&2; exit 1; }

settings="${XDG_CONFIG_HOME:-$HOME/.config}/SVL-Programm Editor/SVL_Editor.conf"

# True when the settings name a last used file ("Recent File List", "File1").
has_last_file() {
    [ -f "$settings" ] || return 1
    awk '
        /^\[/ { in_section = ($0 == "[Recent%20File%20List]") ; next }
        in_section && /^File1=./ { found = 1 }
        END { exit found ? 0 : 1 }
    ' "$settings"
}

if [ $# -eq 0 ] && ! has_last_file; then
    exec "$program" "$top/app/res/demo/Demo.svl"
fi
exec "$program" "$@"
