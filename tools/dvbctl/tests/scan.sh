#!/usr/bin/env bash
# dvbctl scan against a real emulated card that receives the demo broadcast:
# the scan of the demo list's LNB gives back the demo list byte for byte (the
# same programs with their names, PIDs, streams, tuning data and ids, and the
# LNB table), also from a list of one transponder along the NIT; a transponder
# file; and the refusals. Usage:
#   scan.sh DVBCTL NVDVBSRV KREGISTRY MKDEMOMUX DEMO_JSON DEMO_SVL WORKDIR
set -u
dvbctl=$1 server=$2 kregistry=$3 mkdemomux=$4 json=$5 list=$6 work=$7
source "$(dirname "$0")/demo_card.sh"
demo_card dvbscan 34000

out=$("$dvbctl" scan --svl "$list" --lnb "Astra 19°" --out "$work/new.svl" 2>&1) || fail "scan: $out"
grep -qx "transponder 1/7: 11836000 H 27500000: 5 programs" <<<"$out" || fail "scan: $out"
grep -qx "transponder 7/7: 12226000 V 27500000: 3 programs" <<<"$out" || fail "scan: $out"
grep -qx "scan: 36 programs on 7 of 7 transponders, written to $work/new.svl" <<<"$out" \
    || fail "scan: $out"
cmp "$work/new.svl" "$list" || fail "the scanned list differs from the demo list"

# A transponder file: the NIT is not followed; a transponder nobody sends has no signal.
printf '# two of the demo\n12226000 V 27500000\n\n11000000 H 27500000\n' > "$work/tp.txt"
out=$("$dvbctl" scan --svl "$list" --lnb "Astra 19°" --transponders "$work/tp.txt" \
      --out "$work/two.svl" 2>&1) || fail "scan with a file: $out"
grep -qx "transponder 1/2: 12226000 V 27500000: 3 programs" <<<"$out" || fail "file: $out"
grep -qx "transponder 2/2: 11000000 H 27500000: kein Signal" <<<"$out" || fail "file: $out"
[ "$(stat -c %s "$work/two.svl")" -gt 100 ] || fail "two.svl"

# A list of one transponder's programs: the scan of its LNB follows the NIT to
# the other six and again gives back the demo list.
printf '11836000 H 27500000\n' > "$work/one.txt"
out=$("$dvbctl" scan --svl "$list" --lnb "Astra 19°" --transponders "$work/one.txt" \
      --out "$work/one.svl" 2>&1) || fail "scan of one transponder: $out"
out=$("$dvbctl" scan --svl "$work/one.svl" --lnb "Astra 19°" --out "$work/all.svl" 2>&1) \
    || fail "scan along the NIT: $out"
grep -qx "transponder 1/7: 11836000 H 27500000: 5 programs" <<<"$out" || fail "NIT: $out"
grep -qx "transponder 7/7: 12226000 V 27500000: 3 programs" <<<"$out" || fail "NIT: $out"
cmp "$work/all.svl" "$list" || fail "the scan along the NIT differs from the demo list"

printf '11000000 H 27500000\n' > "$work/none.txt"
out=$("$dvbctl" scan --svl "$list" --lnb "Astra 19°" --transponders "$work/none.txt" \
      --out "$work/none.svl" 2>&1)
[ $? -eq 1 ] && grep -q "kein Transponder empfangen" <<<"$out" || fail "nothing locked: $out"
[ ! -e "$work/none.svl" ] || fail "a scan without a lock wrote a list"
printf '12226000 V 27500000\n12226000 Q 27500000\n' > "$work/bad.txt"
out=$("$dvbctl" scan --svl "$list" --lnb "Astra 19°" --transponders "$work/bad.txt" \
      --out "$work/bad.svl" 2>&1)
[ $? -eq 1 ] && grep -q "Zeile 2" <<<"$out" || fail "bad file: $out"
out=$("$dvbctl" scan --svl "$list" --lnb "Nirgendwo" --out "$work/x.svl" 2>&1)
[ $? -eq 1 ] && grep -q 'LNB "Nirgendwo" steht nicht in' <<<"$out" || fail "unknown LNB: $out"
out=$("$dvbctl" scan --svl "$work/tp.txt" --lnb "Astra 19°" --out "$work/x.svl" 2>&1)
[ $? -eq 1 ] && grep -q "nicht lesbar" <<<"$out" || fail "unreadable list: $out"
"$dvbctl" scan --svl "$list" --lnb "Astra 19°" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a missing --out is a usage error"
echo "dvbctl scan: ok"
