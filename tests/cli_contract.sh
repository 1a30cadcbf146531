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
rm -rf "$tmp"

[ $fail -eq 0 ] && echo "cli contract: all checks passed"
exit $fail
