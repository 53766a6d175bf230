#!/usr/bin/env bash
# Starts SVL_Editor from a build folder, with the emulated card playing the
# demo broadcast of that folder: the installed launcher (install/svl-editor.in,
# configured into <build-dir>/install/svl-editor) in its build-tree layout.
# On the very first start it opens the demo channel list; a server the user
# registered in the key store is left as it is.
# Usage: tools/run-demo.sh <build-dir> [program arguments...]
# RUN_DEMO_PREPARE_ONLY=1 makes the card ready and ends without starting the program.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:?usage: tools/run-demo.sh <build-dir> [args...]}
shift
launcher="$build/install/svl-editor"
[ -x "$launcher" ] || { echo "run-demo: $launcher nicht gefunden (erst konfigurieren)" >&2; exit 1; }
if [ -n "${RUN_DEMO_PREPARE_ONLY:-}" ]; then
    export SVL_PREPARE_ONLY=1
fi
exec "$launcher" --build-tree "$build" "$top" "$@"
