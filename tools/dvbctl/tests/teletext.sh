#!/usr/bin/env bash
# dvbctl teletext against a real emulated card that receives the demo
# broadcast: the pages the demo builder writes come back as text (row by
# row) and as an HTML export, from a program tuned through the demo list and
# from the card as it is tuned; an absent page or subpage times out with
# exit 1, usage errors exit 2. Usage:
#   teletext.sh DVBCTL NVDVBSRV KREGISTRY MKDEMOMUX DEMO_JSON DEMO_SVL WORKDIR
set -u
dvbctl=$1 server=$2 kregistry=$3 mkdemomux=$4 json=$5 list=$6 work=$7
source "$(dirname "$0")/demo_card.sh"
demo_card dvbttx 35000

# Line N (0-based row) of a page printed as text, trailing blanks removed.
row() { sed -n "$(($2 + 1))p" <<<"$1" | sed 's/ *$//'; }

out=$("$dvbctl" teletext --svl "$list" --program "Das Erste" --pid 104 --page 100 --text \
      2>"$work/err") || fail "teletext 100: $(cat "$work/err") $out"
[ "$(wc -l <<<"$out")" -eq 25 ] || fail "page 100 has not 25 lines: $out"
[ "$(awk '{ print length($0) }' <<<"$out" | sort -u)" = 40 ] || fail "lines not 40 wide: $out"
grep -q "100 Das Erste  *Demo-VT" <<<"$(row "$out" 0)" || fail "header: $(row "$out" 0)"
[ "$(row "$out" 1)" = "" ] || fail "row 1: $(row "$out" 1)"
[ "$(row "$out" 2)" = "  Demo-Videotext" ] || fail "row 2: $(row "$out" 2)"
[ "$(row "$out" 4)" = "  Das Erste" ] || fail "row 4: $(row "$out" 4)"
[ "$(row "$out" 6)" = "  101  Programmhinweise" ] || fail "row 6: $(row "$out" 6)"
[ "$(row "$out" 7)" = "  102  Technik" ] || fail "row 7: $(row "$out" 7)"
[ "$(row "$out" 8)" = "  103  Impressum" ] || fail "row 8: $(row "$out" 8)"
for r in $(seq 9 24); do [ "$(row "$out" "$r")" = "" ] || fail "row $r: $(row "$out" "$r")"; done
grep -q "Das Erste: freq 11836000 " "$work/err" || fail "the tuning line: $(cat "$work/err")"
# The card took the search table (every page, request 1): nothing else on stderr.
[ "$(wc -l <"$work/err")" -eq 1 ] || fail "stderr: $(cat "$work/err")"

# The card stays tuned: another program's teletext of the same transponder,
# without the list, with --text as the default (the header shows the name cut
# to 18 characters).
out=$("$dvbctl" teletext --pid 0xCC --page 102 2>&1) || fail "teletext 102: $out"
[ "$(row "$out" 2)" = "  Technik" ] || fail "102 row 2: $out"
[ "$(row "$out" 4)" = "  Video-PID    201" ] || fail "102 row 4: $out"
[ "$(row "$out" 5)" = "  Audio-PID    202" ] || fail "102 row 5: $out"
[ "$(row "$out" 6)" = "  Service-ID   28107" ] || fail "102 row 6: $out"
[ "$(row "$out" 7)" = "  Transponder  11836 MHz H" ] || fail "102 row 7: $out"
grep -q "102 Bayerisches FS Sue Demo-VT" <<<"$(row "$out" 0)" || fail "102 header: $(row "$out" 0)"
# --sub 1 is the single page's one record.
out=$("$dvbctl" teletext --pid 304 --page 103 --sub 1 2>&1) || fail "teletext 103/1: $out"
[ "$(row "$out" 4)" = "  Demo-Sender des Emulators" ] || fail "103 row 4: $out"

# The HTML export: the exact first line, the page's text, the closing tags.
out=$("$dvbctl" teletext --pid 104 --page 101 --html "$work/p101.html" 2>&1) || fail "html: $out"
grep -qx "page 101 01/01 written to $work/p101.html" <<<"$out" || fail "html: $out"
[ "$(head -n 1 "$work/p101.html")" = '<!doctype html public "-//w3c//dtd html 4.0 transitional//en">' ] \
    || fail "first line: $(head -n 1 "$work/p101.html")"
grep -q "Programmhinweise" "$work/p101.html" || fail "html text: $(cat "$work/p101.html")"
[ "$(grep -c '<br>$' "$work/p101.html")" -eq 25 ] || fail "not 25 rows: $(cat "$work/p101.html")"
[ "$(tail -c 23 "$work/p101.html")" = '</b></tt></body></html>' ] || fail "end of the file"
out=$("$dvbctl" teletext --pid 104 --page 101 --html "$work/none/p.html" 2>&1)
[ $? -eq 1 ] && grep -q "HTML-Export-Datei kann nicht geöffnet werden" <<<"$out" \
    || fail "html into a missing folder: $out"

# Pages and subpages nobody sends: exit 1 after the time-out, with what came.
start=$(date +%s)
out=$("$dvbctl" teletext --pid 104 --page 150 --timeout 3 2>&1)
[ $? -eq 1 ] || fail "absent page: exit not 1: $out"
grep -q "^dvbctl teletext: Seite 150 nicht innerhalb von 3 s empfangen; [1-9][0-9]* Seiten eingetroffen, 4 im Speicher$" \
    <<<"$out" || fail "absent page: $out"
[ $(($(date +%s) - start)) -le 8 ] || fail "the time-out took $(($(date +%s) - start)) s"
out=$("$dvbctl" teletext --pid 104 --page 100 --sub 2 --timeout 3 2>&1)
[ $? -eq 1 ] && grep -q "Seite 100 Unterseite 2 nicht innerhalb von 3 s empfangen (die Seite hat 1 Unterseite)" \
    <<<"$out" || fail "absent subpage: $out"
out=$("$dvbctl" teletext --pid 105 --page 100 --timeout 2 2>&1)
[ $? -eq 1 ] && grep -q "Seite 100 nicht innerhalb von 2 s empfangen; 0 Seiten eingetroffen" <<<"$out" \
    || fail "a PID without teletext: $out"

# Usage errors.
for args in "--page 100" "--pid 104" "--pid 104 --page 900" "--pid 0x2000 --page 100" \
            "--pid 104 --page 100 --text --html x.html" "--pid 104 --page 100 --sub 0"; do
    # shellcheck disable=SC2086
    out=$("$dvbctl" teletext $args 2>&1)
    [ $? -eq 2 ] || fail "'teletext $args' is not a usage error: $out"
    grep -q "^Aufruf: dvbctl BEFEHL" <<<"$out" || fail "no usage text for '$args'"
done
out=$("$dvbctl" teletext --svl "$list" --program "Niemand" --pid 104 --page 100 2>&1)
[ $? -eq 1 ] && grep -q "dvbctl teletext: kein solches Programm" <<<"$out" || fail "unknown program: $out"
"$dvbctl" --help | grep -q "^  teletext \[--svl LISTE --program NAME\] --pid PID --page NNN" \
    || fail "teletext is not in the usage text"
echo "dvbctl teletext: ok"
