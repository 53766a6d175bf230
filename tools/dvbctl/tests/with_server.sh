#!/usr/bin/env bash
# dvbctl against a real emulated card: status, raw tuning with a DiSEqC switch,
# a program association table from a capture, and the card's tuning and
# decoder PIDs read by another client than the one that set them. Usage:
#   with_server.sh DVBCTL NVDVBSRV KREGISTRY TESTDATA WORKDIR CHANNEL_LIST
set -u
dvbctl=$1 server=$2 kregistry=$3 testdata=$4 work=$5 list=$6
capture=$testdata/tsduck-test_018_mediaset-psi-si.ts
rai=$testdata/tsduck-test_108_rai-dvbt-full-mux.ts
if [ ! -x "$server" ]; then
    echo "server $server not built: skipped"
    exit 77
fi
for f in "$capture" "$rai"; do
    if [ ! -f "$f" ]; then
        echo "capture $f not found: skipped"
        exit 77
    fi
done
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
transponder = 11836000 H 27500000 $rai
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

holder=
fail() { echo "FAIL: $*"; [ -n "$holder" ] && kill "$holder" 2>/dev/null; exit 1; }

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

# Another client (a filter held open, as the program holds its own) stays
# connected while one process tunes a program of the channel list and another
# reads the card: the tuning and the decoder PIDs are the card's.
"$dvbctl" sections --pid 0 --table 0 --count 1000 --timeout 30000 >/dev/null 2>&1 &
holder=$!
stop_holder() { kill "$holder" 2>/dev/null; wait "$holder" 2>/dev/null; }
out=$("$dvbctl" tune --svl "$list" --program "Das Erste" 2>&1) || fail "tune --svl: $out"
out=$("$dvbctl" status 2>&1) || fail "status exit $?: $out"
expect() { grep -qx -- "$1" <<<"$out" || fail "status: no line '$1' in: $out"; }
expect "channel: freq 11836000 kHz lof 10600000 sr 27500000 pol H lnb 18 V tone 1 status 0"
expect "pids: video 101 audio 102"
expect "tuned: 11836.000 MHz pol H lnb 18 V tone on, locked; video PID 101 (0x0065), audio PID 102 (0x0066)"
expect "figures: quality [0-9]* % strength [0-9]*\.[0-9] afc +0 kHz ber [0-9.e+-]*"
# The capture has no PID 101: the decoder shows nothing.
expect "decoder: 0x0 format 0 rate 0 bitrate 0.000 MBit/s skipped 0 repeated 0"
grep -q "^signal: level 0 ber " <<<"$out" || fail "status: $out"
grep -q "^video: 0x0 rate 0 " <<<"$out" || fail "status: $out"

# The card's output as a PNG: the capture has no PID 101, the picture is black.
out=$("$dvbctl" snapshot "$work/shot.png" 2>&1) || fail "snapshot: $out"
grep -qx "snapshot: $work/shot.png 720x576, frame [0-9]*, no picture" <<<"$out" || fail "snapshot: $out"
[ "$(head -c 8 "$work/shot.png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] || fail "not a PNG"

# 2 MHz above the transponder still locks; the offset shows with its sign.
"$dvbctl" tune --freq 11838000 --lof 10600000 --sr 27500000 --pol H --tone 1 >/dev/null 2>&1 \
    || fail "tune 2 MHz off"
out=$("$dvbctl" status 2>&1) || fail "status exit $?: $out"
expect "tuned: 11838.000 MHz pol H lnb 18 V tone on, locked; video PID 101 (0x0065), audio PID 102 (0x0066)"
expect "figures: quality [0-9]* % strength [0-9]*\.[0-9] afc +2000 kHz ber [0-9.e+-]*"
"$dvbctl" tune --freq 11836000 --lof 10600000 --sr 27500000 --voltage 0 --tone 1 >/dev/null 2>&1
out=$("$dvbctl" status 2>&1) || fail "status exit $?: $out"
expect "tuned: 11836.000 MHz pol H lnb 0 V tone on, not locked; video PID 101 (0x0065), audio PID 102 (0x0066)"
expect "figures: quality 0 % strength 0.0 afc +0 kHz ber 0.00e+00"
out=$(KESTREL_DEFER_CONNECT=1 KESTREL_INSTANCE=none$$ "$dvbctl" snapshot "$work/none.png" 2>&1)
[ $? -eq 1 ] && grep -q "kein Bildspeicher der Karte" <<<"$out" || fail "snapshot without a card: $out"
kill -0 "$holder" 2>/dev/null || fail "the other client left before the end"
stop_holder

# The PSI tree of the Rai transponder, tuned through the list; the Mediaset
# capture lacks most program maps: those are given up after their time-out,
# so the decoding still ends with the names of the service table. A time-out
# too short for that ends with exit 3 and what had arrived.
out=$("$dvbctl" psi --svl "$list" --program "Das Erste" --timeout 20000 2>/dev/null) \
    || fail "psi exit $?: $out"
expect "SOFTWARE\\\\Norvane\\\\PSI\\\\dvbctl"
expect "  TransportStreamID = 18432 (0x4800)"
expect "  OriginalNetworkID = 318 (0x13E)"
expect "  NumberOfPrograms = 8 (0x8)"
expect '    Name = "Rai 1"'
out=$("$kregistry" tree 'SOFTWARE\Norvane\PSI\dvbctl\P0000\S0000' 2>&1) || fail "tree: $out"
expect "  Type = 2 (0x2)"
expect "    Data = 1a 48 5f"
"$dvbctl" tune --freq 11494000 --lof 9750000 --sr 22000000 --pol H --tone 0 --diseqc A >/dev/null 2>&1
out=$("$dvbctl" psi --timeout 1000 --root 'SOFTWARE\Test' 2>"$work/psi.err")
[ $? -eq 3 ] || fail "psi on Mediaset should time out: $out"
grep -q "^dvbctl psi: Zeitablauf nach [0-9]* ms (Programmzuordnungstabelle ja, Programmtabellen nein, Servicetabelle" \
    "$work/psi.err" || fail "psi time-out: $(cat "$work/psi.err")"
expect "  TransportStreamID = 6000 (0x1770)"
expect "    Name = \"Service 0x0001\""
out=$("$dvbctl" psi --timeout 40000 --root 'SOFTWARE\Test' 2>&1) || fail "psi on Mediaset exit $?: $out"
expect "    Name = \"Italia 1\""
expect "    Provider = \"Mediaset\""
echo "dvbctl with server: ok"
