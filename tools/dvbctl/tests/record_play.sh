#!/usr/bin/env bash
# dvbctl record and play against a real emulated card that receives the demo
# broadcast: a program of the demo list recorded in two forms and played
# back, and the refusals (unknown extension, missing file, a folder that is
# not there). Usage:
#   record_play.sh DVBCTL NVDVBSRV KREGISTRY MKDEMOMUX DEMO_JSON DEMO_SVL WORKDIR
set -u
dvbctl=$1 server=$2 kregistry=$3 mkdemomux=$4 json=$5 list=$6 work=$7
source "$(dirname "$0")/demo_card.sh"
demo_card dvbrec 33000 "audio_wav = $work/sound.wav"

out=$("$dvbctl" record --svl "$list" --program "Das Erste" --seconds 2 "$work/a.pva" 2>&1) \
    || fail "record: $out"
grep -Eq "^recorded 2\.[0-9] s to $work/a.pva at [0-9]+ kBit/s$" <<<"$out" || fail "record: $out"
[ "$(head -c 2 "$work/a.pva")" = AV ] || fail "a.pva does not start with a PVA packet"
[ "$(stat -c %s "$work/a.pva")" -gt 200000 ] || fail "a.pva too short"
out=$("$dvbctl" record --seconds 1 "$work/a.ts" 2>&1) || fail "record ts: $out"
size=$(stat -c %s "$work/a.ts")
[ "$size" -gt 0 ] && [ $((size % 188)) -eq 0 ] || fail "a.ts of $size bytes"

out=$("$dvbctl" play "$work/a.pva" 2>&1) || fail "play: $out"
grep -Eq "^played [12]\.[0-9] s of $work/a.pva \(length [12]\.[0-9] s\)$" <<<"$out" || fail "play: $out"
out=$("$dvbctl" play --seconds 1 "$work/a.ts" 2>&1) || fail "play ts: $out"

"$dvbctl" record --seconds 1 "$work/a.xyz" >/dev/null 2>&1
[ $? -eq 2 ] || fail "an unknown extension is a usage error"
out=$("$dvbctl" play "$work/missing.pva" 2>&1)
[ $? -eq 1 ] && grep -q "kann nicht zur Wiedergabe geöffnet werden" <<<"$out" || fail "play missing: $out"
out=$("$dvbctl" record --seconds 1 "$work/no/such/folder.pva" 2>&1)
[ $? -eq 1 ] && grep -q "kann nicht zur Aufnahme geöffnet werden" <<<"$out" || fail "record nowhere: $out"
echo "dvbctl record and play: ok"
