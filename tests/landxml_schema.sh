#!/usr/bin/env bash
# Validates every LandXML file that the scenarios, the example jobs and the
# examples of the user's guide write — each .xml file in a job's folder
# that is new or changed after the run — against the LandXML 1.2 schema,
# with xmllint (Debian package libxml2-utils). Only jobs with an LXW line
# are run: no other command writes LandXML. Files a job brings along to
# read are not checked: some of them are broken on purpose.
#   tests/landxml_schema.sh CLI
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
schema=$root/tests/data/landxml/LandXML-1.2.xsd
command -v xmllint >/dev/null || { echo "xmllint is missing: install libxml2-utils (make deps)"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
. "$root/tests/jobs.sh"
collect_jobs

xml_sums() { [ -d "$1" ] && (cd "$1" && find . -name '*.xml' -exec md5sum {} + | sort); true; }
written=()
for cmd in "$work"/jobs/*.cmd; do
  tr -d '\r' <"$cmd" | grep -qiE '^[[:space:]]*LXW[[:space:]]*($|'"'"')' || continue
  name=$(basename "$cmd" .cmd)
  folder=$work/run/$name
  xml_sums "$work/jobs/$name.dir" >"$work/$name.before"
  run_job "$name" "$folder" /dev/null /dev/null
  while read -r sum file; do
    grep -qxF "$sum  $file" "$work/$name.before" || written+=("$folder/${file#./}")
  done < <(xml_sums "$folder")
done

[ ${#written[@]} -gt 0 ] || { echo "no job wrote a LandXML file"; exit 1; }
# One run of xmllint reads the schema once for all the files.
if ! xmllint --noout --schema "$schema" "${written[@]}" >"$work/lint.log" 2>&1; then
  grep -v ' validates$' "$work/lint.log" | sed "s|$work/run/||" | head -40
  echo "of ${#written[@]} LandXML files written, some do not validate against LandXML 1.2"
  exit 1
fi
echo "${#written[@]} LandXML files validate against LandXML 1.2"
