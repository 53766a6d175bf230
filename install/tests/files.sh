#!/usr/bin/env bash
# Every file the installation promises is in the installed tree: the programs,
# the library with its version links, headers and pkg-config file, the desktop
# files, every manual page and completion file of the source tree, the demo
# with every stream its installation names; the programs that link the
# library find it through their RUNPATH, relative to themselves.
# Usage: files.sh <root> <source> <bindir> <libdir> <includedir> <datadir> <mandir> <version> <appstream-id>
set -uo pipefail
root=$1 src=$2 bindir=$3 libdir=$4 incdir=$5 datadir=$6 mandir=$7 version=$8 appid=$9
major=${version%%.*}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

expect_file() { [ -f "$root/$1" ] || fail "missing $1"; }
for p in SVL_Editor svl-editor nvdvbsrv svltool dvbctl kregistry mkdemomux svlepg; do
    [ -f "$root/$bindir/$p" ] && [ -x "$root/$bindir/$p" ] || fail "missing or not executable: $bindir/$p"
done

lib="$root/$libdir/libkestrel.so"
expect_file "$libdir/libkestrel.so.$version"
[ "$(readlink "$lib.$major")" = "libkestrel.so.$version" ] || fail "libkestrel.so.$major does not link to the versioned file"
[ "$(readlink "$lib")" = "libkestrel.so.$major" ] || fail "libkestrel.so does not link to libkestrel.so.$major"
soname=$(readelf -d "$lib.$version" 2>/dev/null | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[ "$soname" = "libkestrel.so.$major" ] || fail "soname '$soname', expected libkestrel.so.$major"
expect_file "$libdir/pkgconfig/kestrel.pc"

headers=0
for h in "$src"/kestrel/include/kestrel/*.h; do
    expect_file "$incdir/kestrel/$(basename "$h")"
    headers=$((headers + 1))
done
[ "$headers" -gt 20 ] || fail "only $headers public headers in the source tree"
expect_file "$incdir/kestrel/CServerConnection.h"
[ -e "$root/$incdir/kestrel/protocol" ] && fail "the wire (kestrel/protocol) is installed"

expect_file "$datadir/applications/svl-editor.desktop"
expect_file "$datadir/icons/hicolor/scalable/apps/svl-editor.svg"
expect_file "$datadir/mime/packages/svl-editor.xml"
expect_file "$datadir/metainfo/$appid.metainfo.xml"
grep -q "<release version=\"$version\"" "$root/$datadir/metainfo/$appid.metainfo.xml" ||
    fail "the metainfo file has no release $version"
grep -qx 'Exec=svl-editor %f' "$root/$datadir/applications/svl-editor.desktop" ||
    fail "the desktop entry does not start the launcher"

for page in "$src"/docs/man/*.1; do
    [ -e "$page" ] && expect_file "$mandir/man1/$(basename "$page")"
done
for c in "$src"/tools/completion/*; do
    [ -f "$c" ] && expect_file "$datadir/bash-completion/completions/$(basename "$c")"
done
[ -e "$root/$datadir/bash-completion/completions/tests" ] && fail "the completion's tests are installed"

demo="$datadir/svl-editor/demo"
expect_file "$demo/Demo.svl"
conf="$root/$demo/broadcast/installation.conf"
expect_file "$demo/broadcast/installation.conf"
[ -d "$root/$demo/broadcast/boot/24" ] || fail "missing the firmware folder $demo/broadcast/boot/24"
[ -e "$root/$demo/broadcast/work" ] && fail "mkdemomux's work folder is installed"
streams=0
while read -r file; do
    expect_file "$demo/broadcast/$file"
    streams=$((streams + 1))
done < <(sed -n 's/^transponder = .* \([^ ]*\.ts\)$/\1/p' "$conf" 2>/dev/null)
[ "$streams" -gt 0 ] || fail "the demo installation names no transponder stream"

for p in SVL_Editor dvbctl; do
    runpath=$(readelf -d "$root/$bindir/$p" 2>/dev/null | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p')
    [ "$runpath" = "\$ORIGIN/../$libdir" ] || fail "$p: RUNPATH '$runpath'"
    found=$(env -u LD_LIBRARY_PATH ldd "$root/$bindir/$p" | sed -n 's/.*libkestrel.so.[0-9]* => \([^ ]*\).*/\1/p')
    [ "$(readlink -f "$found")" = "$(readlink -f "$lib.$version")" ] ||
        fail "$p loads libkestrel from '$found', not from the installed tree"
done

[ "$failures" -eq 0 ] || { echo "$failures failures" >&2; exit 1; }
echo "installed tree complete: $headers headers, $streams demo streams"
