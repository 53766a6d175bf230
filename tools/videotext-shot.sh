#!/usr/bin/env bash
# Takes docs/videotext.png: the videotext window on the teletext of a real
# broadcast capture (the Rai DVB-T mux of the shared test data, teletext PID
# 0x240), played by the emulated card. Everything runs in a temporary home with
# its own XDG folders, key store and card instance, under Xvfb.
# Usage: tools/videotext-shot.sh <build-dir> [out.png] [page]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: tools/videotext-shot.sh <build-dir> [out.png] [page]}" && pwd)
out=${2:-$top/docs/videotext.png}
page=${3:-650}
capture=${SVL_TESTDATA:-$top/../shared/testdata}/tsduck-test_108_rai-dvbt-full-mux.ts
[ -f "$capture" ] || { echo "videotext-shot: capture not found: $capture" >&2; exit 1; }
cmake --build "$build" --target videotext_shot nvdvbsrv kregistry >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_CACHE_HOME=$work/cache XDG_RUNTIME_DIR=$work/runtime
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
export KESTREL_INSTANCE=vtshot$$ KESTREL_REGISTRY=$work/registry.db
printf '[card]\nbase_port = %d\n[position A]\ntransponder = 12188000 V 27500000 %s\n' \
    $((62000 + ($$ % 30) * 100)) "$capture" >"$work/i.conf"
"$build/tools/kregistry/kregistry" set 'SOFTWARE\Norvane\DVBSERVER\Settings' Path string \
    "$build/server/nvdvbsrv --config $work/i.conf --exit-when-idle-ms 5000" >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$build/app/shell/videotext_shot" "$out" 12188000 V 27500000 0x240 "$page"
