#!/usr/bin/env bash
# A program built against the installed library only: pkg-config names the
# installed include folder and library, every public header compiles on its
# own with nothing but that folder (nothing of the wire, no Qt), and a small
# program compiles, links and runs with the library loaded without its
# load-time connect.
# Usage: pkgconfig.sh <root> <libdir> <includedir> <c++> <consumer.cpp> <work> [extra flags]
set -uo pipefail
root=$1 libdir=$2 incdir=$3 cxx=$4 consumer=$5 work=$6 extra=${7:-}
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
rm -rf "$work"
mkdir -p "$work"

export PKG_CONFIG_PATH="$root/$libdir/pkgconfig"
unset PKG_CONFIG_LIBDIR
flags=$(pkg-config --cflags --libs kestrel) || { echo "FAIL: pkg-config kestrel" >&2; exit 1; }
echo "pkg-config: $flags"
inc="" libpath=""
for f in $flags; do
    case "$f" in
    -I*) inc=$(readlink -f "${f#-I}") ;;
    -L*) libpath=$(readlink -f "${f#-L}") ;;
    esac
done
[ "$inc" = "$(readlink -f "$root/$incdir")" ] || fail "include folder '$inc', not the installed one"
[ "$libpath" = "$(readlink -f "$root/$libdir")" ] || fail "library folder '$libpath', not the installed one"
[[ " $flags " == *" -lkestrel "* ]] || fail "no -lkestrel in '$flags'"

for h in "$root/$incdir"/kestrel/*.h; do
    name=kestrel/$(basename "$h")
    echo "#include \"$name\"" >"$work/one.cpp"
    "$cxx" -std=c++20 -fsyntax-only -I"$root/$incdir" "$work/one.cpp" 2>"$work/one.err" ||
        fail "$name does not compile on its own: $(head -3 "$work/one.err")"
done

# shellcheck disable=SC2086  # the flags are words
"$cxx" -std=c++20 $extra "$consumer" $flags -o "$work/consumer" 2>"$work/build.err" ||
    { cat "$work/build.err" >&2; echo "FAIL: the consumer does not build" >&2; exit 1; }
out=$(env -u KESTREL_INSTANCE LD_LIBRARY_PATH="$root/$libdir" KESTREL_DEFER_CONNECT=1 \
      HOME="$work" XDG_CONFIG_HOME="$work/config" "$work/consumer" "$work/store.db" 2>&1)
rc=$?
[ "$rc" -eq 0 ] || fail "the consumer exits $rc: $out"
[ "$out" = "consumer: not connected, key store value 'installed'" ] || fail "the consumer says '$out'"
# (the whole list first: grep -q leaving early would break ldd's pipe)
loaded=$(env LD_LIBRARY_PATH="$root/$libdir" ldd "$work/consumer")
grep -q "libkestrel.so.[0-9]* => $root/$libdir" <<<"$loaded" ||
    fail "the consumer does not load the installed library: $loaded"

[ "$failures" -eq 0 ] || exit 1
echo "built and ran a program against the installed library"
