#!/usr/bin/env bash
# Pins the md5 checksums of the report (standard output) and the messages
# (standard error) of vantrel-cli for every scenario, every example of the
# user's guide, the example jobs and every bench mix at 100,000 lines, so a
# change meant to be invisible (speed work, refactoring) cannot alter a byte.
# Questions are answered Yes and file-name prompts left empty, as the runner
# does without --ask; each job runs in a fresh folder of its own.
#
# After a deliberate change of a report, refresh the list and commit it:
#   tests/output_checksums.sh build/vantrel-cli --update
#   tests/output_checksums.sh CLI [--update]
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
update=${2:-}
pinned=$root/tests/output_checksums.md5
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/jobs" "$work/out"

. "$root/tests/jobs.sh"
collect_jobs
for template in "$root"/bench/mix/*.cmd; do
  name=$(basename "$template" .cmd)
  "$root/bench/make-job" "$name" 100000 >"$work/jobs/bench-$name.cmd"
done

for cmd in "$work"/jobs/*.cmd; do
  name=$(basename "$cmd" .cmd)
  run_job "$name" "$work/run/$name" "$work/out/$name.report" "$work/out/$name.messages"
done
(cd "$work/out" && md5sum -- *) >"$work/actual.md5"

if [ "$update" = "--update" ]; then
  cp "$work/actual.md5" "$pinned"
  echo "pinned $(wc -l <"$pinned") checksums in $pinned"
  exit 0
fi
# Jobs added or removed since the list was pinned are named; a pinned job
# whose output changed fails.
changed=$(join -j 2 <(sort -k2 "$pinned") <(sort -k2 "$work/actual.md5") | awk '$2 != $3 { print $1 }')
new=$(join -v 2 -j 2 <(sort -k2 "$pinned") <(sort -k2 "$work/actual.md5") | awk '{ print $1 }')
gone=$(join -v 1 -j 2 <(sort -k2 "$pinned") <(sort -k2 "$work/actual.md5") | awk '{ print $1 }')
[ -n "$new" ] && echo "not pinned yet (refresh with --update):" $new
[ -n "$gone" ] && echo "pinned but no longer run:" $gone
if [ -n "$changed" ]; then
  echo "output changed:" $changed
  echo "if the change is meant, refresh: tests/output_checksums.sh build/vantrel-cli --update"
  exit 1
fi
echo "$(wc -l <"$work/actual.md5") outputs match their pinned checksums"
