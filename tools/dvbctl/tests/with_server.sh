#!/usr/bin/env bash
# dvbctl against a real emulated card: status, raw tuning with a DiSEqC switch,
# and a program association table from a capture. Usage:
#   with_server.sh DVBCTL NVDVBSRV KREGISTRY TESTDATA WORKDIR
set -u
dvbctl=$1 server=$2 kregistry=$3 testdata=$4 work=$5
capture=$testdata/tsduck-test_018_mediaset-psi-si.ts
if [ ! -x "$server" ]; then
    echo "server $server not built: skipped"
    exit 77
fi
if [ ! -f "$capture" ]; then
    echo "capture $capture not found: skipped"
    exit 77
fi
rm -rf "$work" && mkdir -p "$work"
export KESTREL_INSTANCE=dvbctl$$ KESTREL_REGISTRY=$work/registry.db HOME=$work \
       XDG_CONFIG_HOME=$work XDG_DATA_HOME=$work
unset KESTREL_DEFER_CONNECT
port=$((30000 + ($$ % 300) * 100))
cat > "$work/card.conf" <<CONF
[card]
base_port = $port
diseqc = yes
[position A]
transponder = 11494000 H 22000000 $capture
CONF

stop_server() {
    # The server named in the status block is the one this script started.
    local shm="/dev/shm/!NVDVBSERVER!STATUSMEMORY!@$KESTREL_INSTANCE"
    [ -f "$shm" ] || return 0
    local pid
    pid=$(od -An -tu4 -N4 "$shm" | tr -d ' ')
    [ -n "$pid" ] && [ "$pid" -gt 0 ] && kill "$pid" 2>/dev/null
}
trap stop_server EXIT

fail() { echo "FAIL: $*"; exit 1; }

"$dvbctl" key 1 >/dev/null 2>&1   # no server path yet: must not hang
"$kregistry" set 'SOFTWARE\Norvane\DVBSERVER\Settings' Path string \
    "$server --config $work/card.conf --instance $KESTREL_INSTANCE" || fail "registry"

out=$("$dvbctl" status 2>&1) || fail "status exit $?: $out"
grep -q "^network: 127.0.0.1 " <<<"$out" || fail "status: $out"

out=$("$dvbctl" tune --freq 11494000 --lof 9750000 --sr 22000000 --pol H --tone 0 --diseqc B 2>&1)
[ $? -eq 1 ] || fail "tune on the empty position B should not lock: $out"
out=$("$dvbctl" tune --freq 11494000 --lof 9750000 --sr 22000000 --pol H --tone 0 --diseqc A 2>&1) \
    || fail "tune: $out"
grep -q "result 1 status 0" <<<"$out" || fail "tune: $out"

out=$("$dvbctl" sections --pid 0 --table 0 --count 1 --timeout 8000 2>&1) || fail "sections: $out"
grep -q "^table 1: pid 0x0000 table 0x00" <<<"$out" || fail "sections: $out"
grep -q "^00 B0 " <<<"$out" || fail "section bytes: $out"
echo "dvbctl with server: ok"
