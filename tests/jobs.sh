# The jobs the output tests run, shared by tests/output_checksums.sh and
# tests/landxml_schema.sh (sourced; they set root, cli and work).

# Gathers into $work/jobs every scenario (with its options and data files),
# every example job (in a folder holding the examples' data files, every
# file of examples/ but the jobs, as the guide tells the reader to run
# them) and every example of the user's guide (named by the checksum of its
# own lines, so editing the prose around it does not rename it).
collect_jobs() {
  local cmd name tmp
  mkdir -p "$work/jobs"
  for cmd in "$root"/tests/scenarios/*.cmd; do
    name=scenario-$(basename "$cmd" .cmd)
    cp "$cmd" "$work/jobs/$name.cmd"
    [ -f "${cmd%.cmd}.opt" ] && cp "${cmd%.cmd}.opt" "$work/jobs/$name.opt"
    [ -d "${cmd%.cmd}.dir" ] && cp -r "${cmd%.cmd}.dir" "$work/jobs/$name.dir"
  done
  for cmd in "$root"/examples/*.cmd; do
    name=example-$(basename "$cmd" .cmd)
    cp "$cmd" "$work/jobs/$name.cmd"
    mkdir "$work/jobs/$name.dir"
    find "$root/examples" -maxdepth 1 -type f ! -name '*.cmd' -exec cp {} "$work/jobs/$name.dir" \;
  done
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
}

# run_job NAME FOLDER REPORT MESSAGES: runs $work/jobs/NAME.cmd with
# vantrel-cli in FOLDER, its data files copied in first and its options
# read from NAME.opt ("--option value" a line); questions are answered Yes
# and file-name prompts left empty, as the runner does without --ask.
run_job() {
  local name=$1 folder=$2 report=$3 messages=$4 option value
  local options=()
  mkdir -p "$folder"
  [ -d "$work/jobs/$name.dir" ] && cp -r "$work/jobs/$name.dir/." "$folder"
  if [ -f "$work/jobs/$name.opt" ]; then
    while read -r option value; do
      options+=("$option")
      [ -n "${value:-}" ] && options+=("$value")
    done <"$work/jobs/$name.opt"
  fi
  # A relative folder keeps the temporary path out of the messages.
  (cd "$folder" && "$cli" --folder . --reference "$root/data/Vantrel.txt" ${options[@]+"${options[@]}"} \
    "$work/jobs/$name.cmd" >"$report" 2>"$messages" </dev/null) || true
}
