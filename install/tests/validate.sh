#!/usr/bin/env bash
# The installed desktop files as the desktop reads them: the entry passes
# desktop-file-validate, the AppStream file appstreamcli (without network),
# and shared-mime-info builds the .svl type from the installed mime package.
# Usage: validate.sh <datadir> <appstream-id> <work>
set -uo pipefail
data=$1 appid=$2 work=$3
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
for tool in desktop-file-validate appstreamcli update-mime-database; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is not installed (./svl installs it)" >&2; exit 1; }
done

out=$(desktop-file-validate "$data/applications/svl-editor.desktop" 2>&1) ||
    fail "desktop-file-validate: $out"
[ -z "$out" ] || fail "desktop-file-validate reports: $out"

out=$(appstreamcli validate --no-net "$data/metainfo/$appid.metainfo.xml" 2>&1) ||
    fail "appstreamcli validate: $out"
echo "$out"

rm -rf "$work"
mkdir -p "$work/mime/packages"
cp "$data/mime/packages/svl-editor.xml" "$work/mime/packages/"
out=$(update-mime-database "$work/mime" 2>&1) || fail "update-mime-database: $out"
grep -q '^application/x-svl-programmliste:\*\.svl$' "$work/mime/globs" 2>/dev/null ||
    fail "the mime database has no glob *.svl for application/x-svl-programmliste"

[ "$failures" -eq 0 ] || exit 1
echo "desktop entry, AppStream file and mime type valid"
