#!/usr/bin/env bash
# The headless runner's contract: report on standard output without the
# pane's indentation, messages on standard error, exit status 2 for a bad
# command line, and comment blocks skipped.
set -u
cli=$1
fail=0
check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"; echo "  expected: $(printf '%q' "$2")"; echo "  actual:   $(printf '%q' "$3")"; fail=1
  fi
}

out=$(printf 'com\nLot 7, block 2 '"'"' corner found\n(skip\nCOM\nstill skipped)\nkwn\n' | "$cli" 2>&1)
check "comment job" "Lot 7, block 2" "$out"

out=$(printf 'COM\r\nfirst\r\nsecond' | "$cli" 2>/dev/null)
check "CR LF input, last line without break" "$(printf 'first\nsecond')" "$out"

out=$(printf 'COM\nshown\n' | "$cli" --no-display 2>&1)
check "no display" "" "$out"

"$cli" --bogus </dev/null >/dev/null 2>&1; check "unknown option" 2 $?
"$cli" /nonexistent/job.cmd </dev/null >/dev/null 2>&1; check "unreadable input" 2 $?
"$cli" --reference /nonexistent/ref.txt </dev/null >/dev/null 2>&1; check "unreadable reference" 2 $?

tmp=$(mktemp -d)
printf 'COM\nfrom file one\n' >"$tmp/a.cmd"
printf 'from file two\n' >"$tmp/b.cmd"
out=$("$cli" "$tmp/a.cmd" "$tmp/b.cmd" 2>&1)
check "files joined as one pane" "$(printf 'from file one\nfrom file two')" "$out"
printf 'COM\nends with CR\r' >"$tmp/cr.cmd"
printf '\nafter the LF\nno break' >"$tmp/lf.cmd"
out=$("$cli" "$tmp/cr.cmd" "$tmp/lf.cmd" "$tmp/b.cmd" 2>&1)
check "a CR LF split between files is one break; a last line without one ends at the file's end" \
  "$(printf 'ends with CR\nafter the LF\nno break\nfrom file two')" "$out"
out=$("$cli" "$tmp/a.cmd" /nonexistent/job.cmd 2>&1); status=$?
check "a missing file stops the run before any line" "2 cannot read /nonexistent/job.cmd: No such file or directory" \
  "$status ${out#vantrel-cli: }"
# A job saved as UTF-16 (Notepad's "Unicode") is refused before any line runs.
printf 'C\0O\0M\0\n\0w\0i\0d\0e\0\n\0' >"$tmp/wide.cmd"
out=$("$cli" "$tmp/wide.cmd" 2>&1); status=$?
check "a UTF-16 job is refused" "2 cannot read $tmp/wide.cmd: this file is UTF-16; save it as UTF-8" \
  "$status ${out#vantrel-cli: }"
# The job is read as a stream: a long one takes no more memory than a short one.
awk 'BEGIN { print "KWN"; for (i = 0; i < 2000000; i++) print "1,5000.125,4000.250,2,5100.5,4100.75" }' >"$tmp/long.cmd"
# Measured against a one-line job, so the allowance does not depend on the
# build (a sanitizer build starts larger); the sanitizer's quarantine of
# freed blocks is switched off, as it holds memory the program has given back.
printf 'KWN\n1,5000.125,4000.250\n' >"$tmp/short.cmd"
peak_of() {
  ASAN_OPTIONS=quarantine_size_mb=0 /usr/bin/time -f %M -o "$tmp/peak" "$cli" "$1" >/dev/null 2>&1
  cat "$tmp/peak"
}
short=$(peak_of "$tmp/short.cmd")
peak=$(peak_of "$tmp/long.cmd")
check "2,000,000 lines within 16 MB more than one line" yes \
  "$([ $((peak - short)) -lt 16384 ] && echo yes || echo "no ($short KB, then $peak KB)")"
rm -rf "$tmp"

# The plot window into a picture file, the printed map into a PDF.
tmp=$(mktemp -d)
reference="$(dirname "$cli")/Vantrel.txt"
printf 'KWN\n1,0,0,2,100,200\nMAP\n1,2\n' >"$tmp/map.cmd"
"$cli" --reference "$reference" --map "$tmp/plot.svg" "$tmp/map.cmd" >/dev/null 2>&1
check "map as SVG" 1 "$(grep -c '<line x1="400" y1="5400" x2="8400" y2="1400"' "$tmp/plot.svg")"
"$cli" --reference "$reference" --map "$tmp/plot.png" "$tmp/map.cmd" >/dev/null 2>&1
check "map as PNG" "89504e47" "$(head -c 4 "$tmp/plot.png" | od -An -tx1 | tr -d ' \n')"
"$cli" --map "$tmp/plot.gif" "$tmp/map.cmd" >/dev/null 2>&1; check "map of unknown kind" 2 $?
out=$(printf 'COM\nno point\n' | "$cli" --reference "$reference" --map "$tmp/empty.dxf" 2>&1 >/dev/null); status=$?
check "an empty drawing is not written as DXF" \
  "1 the map holds no point to draw; $tmp/empty.dxf not written $([ -e "$tmp/empty.dxf" ] && echo written)" \
  "$status ${out#vantrel-cli: } $([ -e "$tmp/empty.dxf" ] && echo written)"
"$cli" --reference "$reference" --folder "$tmp" --spool job --printer "$tmp/map.pdf" "$tmp/map.cmd" >/dev/null 2>&1
check "printed map as PDF" "%PDF" "$(head -c 4 "$tmp/map.pdf")"
# The plat sheet: a standard scale in its title block, course labels with
# --courses; refused options run nothing.
"$cli" --reference "$reference" --courses --sheet "$tmp/plat.svg" "$tmp/map.cmd" >/dev/null 2>&1
check "plat scale" 1 "$(grep -c 'Scale 1&quot; = 30&apos;' "$tmp/plat.svg")"
check "plat label" 1 "$(grep -c "N 63°26&apos;06&quot; E  223.607&apos;" "$tmp/plat.svg")"
"$cli" --reference "$reference" --paper a4 --scale 50 --sheet "$tmp/plat.pdf" "$tmp/map.cmd" >/dev/null 2>&1
check "plat on A4 at 1 in = 50 ft" "1 1" "$(grep -c '595.3 841.9' "$tmp/plat.pdf") $(grep -c 'Scale 1" = 50' "$tmp/plat.pdf")"
for bad in "--sheet $tmp/plat.png" "--scale 0" "--scale x" "--paper legal"; do
  # shellcheck disable=SC2086
  "$cli" $bad "$tmp/map.cmd" >/dev/null 2>&1; check "refused $bad" 2 $?
done
rm -rf "$tmp"

# A report that cannot be written stops the run with status 1: a full
# device, a closed standard output, a file size limit standing in for a
# full disk.
job=$(printf 'COM\n'; for k in $(seq 1 3000); do echo "report line $k"; done)
err=$(echo "$job" | "$cli" 2>&1 >/dev/full); status=$?
check "report to a full device" "1 vantrel-cli: cannot write the report: No space left on device" "$status $err"
err=$(echo "$job" | "$cli" 2>&1 >&-); status=$?
check "closed standard output" "1 vantrel-cli: cannot write the report: Bad file descriptor" "$status $err"
tmp=$(mktemp -d)
err=$(echo "$job" | (ulimit -f 8; trap '' XFSZ; "$cli" >"$tmp/report.txt") 2>&1); status=$?
check "report on a full disk" "1 vantrel-cli: cannot write the report: File too large" "$status $err"

# Pictures are replaced whole or not at all; a link is saved through.
printf 'KWN\n1,0,0,2,100,200\nMAP\n1,2\n' >"$tmp/map.cmd"
printf 'old picture' >"$tmp/old.png"
err=$( (ulimit -f 64; trap '' XFSZ; "$cli" --reference "$reference" --map "$tmp/old.png" "$tmp/map.cmd") 2>&1 >/dev/null)
status=$?
check "picture on a full disk" "1 vantrel-cli: cannot write $tmp/old.png: File too large" "$status $err"
check "old picture kept" "old picture" "$(cat "$tmp"/*.png*)"
ln -s "$tmp/target.svg" "$tmp/link.svg"
"$cli" --reference "$reference" --map "$tmp/link.svg" "$tmp/map.cmd" >/dev/null 2>&1
check "map saved through a link" "link 1" "$([ -L "$tmp/link.svg" ] && echo link) $(grep -c '<svg' "$tmp/target.svg")"

# A reference that is a folder or empty is no reference.
: >"$tmp/empty.txt"
"$cli" --reference "$tmp" </dev/null >/dev/null 2>&1; check "reference is a folder" 2 $?
"$cli" --reference "$tmp/empty.txt" </dev/null >/dev/null 2>&1; check "empty reference" 2 $?
rm -rf "$tmp"

# PROJ, with the forty libraries it brings, is loaded at the first coordinate
# system selected, not at every start.
check "PROJ is not loaded at start" "" "$(readelf -d "$cli" | grep -o 'libproj[^]]*')"

[ $fail -eq 0 ] && echo "cli contract: all checks passed"
exit $fail
