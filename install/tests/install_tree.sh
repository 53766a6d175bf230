#!/usr/bin/env bash
# Installs the build below <prefix> in the staging folder <stage> (DESTDIR).
# Usage: install_tree.sh <build-dir> <stage> <prefix>
set -euo pipefail
build=$1 stage=$2 prefix=$3
rm -rf "$stage"
DESTDIR="$stage" cmake --install "$build" --prefix "$prefix" >"$stage.log" 2>&1 || {
    cat "$stage.log" >&2
    echo "FAIL: cmake --install" >&2
    exit 1
}
[ -d "$stage$prefix" ] || { echo "FAIL: nothing below $stage$prefix" >&2; exit 1; }
echo "installed $(find "$stage$prefix" -type f | wc -l) files below $stage$prefix"
