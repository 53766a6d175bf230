#!/usr/bin/env bash
# The Debian package of this build, made by CPack without compression: its
# control data names the package, version and the libraries found by
# dpkg-shlibdeps, its files hold the installed tree, and the programs
# unpacked from it find the library beside them.
# Usage: deb.sh <build-dir> <work> <bindir> <libdir>
set -uo pipefail
build=$1 work=$2 bindir=$3 libdir=$4
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
for tool in cpack dpkg-deb dpkg-shlibdeps; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
rm -rf "$work"
mkdir -p "$work"
start=$(date +%s)
(cd "$work" && cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" \
    -D CPACK_DEBIAN_COMPRESSION_TYPE=none) \
    >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log" >&2; echo "FAIL: cpack" >&2; exit 1; }
deb=$(ls "$work"/svl-editor_*.deb 2>/dev/null | head -1)
[ -n "$deb" ] && [ -f "$deb" ] || { ls "$work" >&2; echo "FAIL: no package" >&2; exit 1; }
echo "package $(du -h "$deb" | cut -f1) in $(($(date +%s) - start)) s"

info=$(dpkg-deb -I "$deb")
grep -qx ' Package: svl-editor' <<<"$info" || fail "package name: $info"
depends=$(echo "$info" | sed -n 's/^ Depends: //p')
for lib in libqt6widgets6 qt6-qpa-plugins libsqlite3-0 libavcodec libpulse bash; do
    [[ "$depends" == *"$lib"* ]] || fail "Depends lacks $lib: '$depends'"
done
[[ "$depends" == *svl-editor* ]] && fail "the package depends on itself: '$depends'"

dpkg-deb -x "$deb" "$work/x" || fail "dpkg-deb -x"
prefix=$(dpkg-deb -c "$deb" | sed -n 's|.* \./\(.*\)/'"$bindir"'/dvbctl$|\1|p')
tree="$work/x/$prefix"
[ -x "$tree/$bindir/SVL_Editor" ] || fail "no $bindir/SVL_Editor in the package (prefix '$prefix')"
found=$(env -u LD_LIBRARY_PATH ldd "$tree/$bindir/dvbctl" | sed -n 's/.*libkestrel.so.[0-9]* => \([^ ]*\).*/\1/p')
[ "$(dirname "$(readlink -f "$found")")" = "$(readlink -f "$tree/$libdir")" ] ||
    fail "the unpacked dvbctl loads libkestrel from '$found'"
contents=$(dpkg-deb -c "$deb")
grep -q '/svl-editor/demo/broadcast/installation.conf$' <<<"$contents" || fail "no demo in the package"

# The unpacked tool's help without a card.
bash "$(dirname "$0")/tool_help.sh" "$tree/$bindir/dvbctl" "$(echo "$info" | sed -n 's/^ Version: //p')" \
    "$work/help" || fail "the unpacked dvbctl --help"

[ "$failures" -eq 0 ] || exit 1
rm -rf "$work"
echo "the package holds the tree and names its dependencies"
