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

# The jobs, each with the options its run needs.
for cmd in "$root"/tests/scenarios/*.cmd; do
  name=scenario-$(basename "$cmd" .cmd)
  cp "$cmd" "$work/jobs/$name.cmd"
  opt=${cmd%.cmd}.opt
  [ -f "$opt" ] && cp "$opt" "$work/jobs/$name.opt"
  [ -d "${cmd%.cmd}.dir" ] && cp -r "${cmd%.cmd}.dir" "$work/jobs/$name.dir"
done
# The example jobs, each in a folder holding the examples' data files (every
# file of examples/ but the jobs), as the guide tells the reader to run them.
for cmd in "$root"/examples/*.cmd; do
  name=example-$(basename "$cmd" .cmd)
  cp "$cmd" "$work/jobs/$name.cmd"
  mkdir "$work/jobs/$name.dir"
  find "$root/examples" -maxdepth 1 -type f ! -name '*.cmd' -exec cp {} "$work/jobs/$name.dir" \;
done
# A guide example is named by the checksum of its own lines, so editing the
# prose around it does not rename it; it too runs beside the examples' data.
awk -v dir="$work/jobs" '
  /^```vantrel$/ { inside = 1; text = ""; next }
  inside && /^```$/ { inside = 0; file = dir "/guide-" (++n) ".tmp"; printf "%s", text > file; close(file); next }
  inside { text = text $0 "\r\n" }' "$root/docs/guide.md"
for tmp in "$work"/jobs/guide-*.tmp; do
  [ -f "$tmp" ] || continue
  name=guide-$(md5sum <"$tmp" | cut -c1-12)
  mv "$tmp" "$work/jobs/$name.cmd"
  mkdir -p "$work/jobs/$name.dir"
  find "$root/examples" -maxdepth 1 -type f ! -name '*.cmd' -exec cp {} "$work/jobs/$name.dir" \;
done
for template in "$root"/bench/mix/*.cmd; do
  name=$(basename "$template" .cmd)
  "$root/bench/make-job" "$name" 100000 >"$work/jobs/bench-$name.cmd"
done

for cmd in "$work"/jobs/*.cmd; do
  name=$(basename "$cmd" .cmd)
  folder=$work/run/$name
  mkdir -p "$folder"
  [ -d "$work/jobs/$name.dir" ] && cp -r "$work/jobs/$name.dir/." "$folder"
  options=()
  if [ -f "$work/jobs/$name.opt" ]; then
    while read -r option value; do
      options+=("$option")
      [ -n "${value:-}" ] && options+=("$value")
    done <"$work/jobs/$name.opt"
  fi
  # A relative folder keeps the temporary path out of the messages.
  (cd "$folder" && "$cli" --folder . --reference "$root/data/Vantrel.txt" ${options[@]+"${options[@]}"} "$cmd" \
    >"$work/out/$name.report" 2>"$work/out/$name.messages" </dev/null) || true
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
