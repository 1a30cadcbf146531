#!/usr/bin/env bash
# The installed program: `cmake --install` into a temporary prefix puts
# every file in its place; the installed vantrel-cli, started from another
# folder, finds the installed command reference and gives the example lot's
# pinned report; its help and both manual pages read cleanly; the desktop
# entry validates and the command-file type enters a MIME database.
set -u
build=$1
cmake=$2
root=$(cd "$(dirname "$0")/.." && pwd)
fail=0
check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then
    echo "FAIL $1"; echo "  expected: $(printf '%q' "$2")"; echo "  actual:   $(printf '%q' "$3")"; fail=1
  fi
}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

"$cmake" --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1 || { cat "$work/install.log"; exit 1; }
window=no
[ -x "$prefix/bin/vantrel" ] && window=yes
expected=(bin/vantrel-cli share/vantrel/Vantrel.txt share/man/man1/vantrel-cli.1.gz
  share/doc/vantrel/guide.md share/doc/vantrel/behaviour.md share/doc/vantrel/window.png
  share/doc/vantrel/examples/lot.cmd share/doc/vantrel/copyright share/doc/vantrel/changelog.gz)
[ $window = yes ] && expected+=(share/man/man1/vantrel.1.gz share/applications/vantrel.desktop
  share/icons/hicolor/scalable/apps/vantrel.svg share/mime/packages/vantrel.xml)
for file in "${expected[@]}"; do
  [ -f "$prefix/$file" ] || { echo "FAIL not installed: $file"; fail=1; }
done

# The example job from an empty folder: no Vantrel.txt there or beside the
# executable, so the reference comes from share/vantrel.
mkdir "$work/job"
(cd "$work/job" && "$prefix/bin/vantrel-cli" "$root/examples/lot.cmd" >"$work/lot.report" 2>"$work/lot.messages")
check "example lot exit status" 0 $?
pinned() { awk -v name="$1" '$2 == name { print $1 }' "$root/tests/output_checksums.md5"; }
check "example lot report" "$(pinned example-lot.report)" "$(md5sum <"$work/lot.report" | cut -d' ' -f1)"
check "example lot messages" "$(pinned example-lot.messages)" "$(md5sum <"$work/lot.messages" | cut -d' ' -f1)"
[ $fail -eq 0 ] || { echo "report:"; cat "$work/lot.report" "$work/lot.messages"; }
check "no files left by the job" "" "$(ls -A "$work/job")"

help=$("$prefix/bin/vantrel-cli" --help)
check "help exit status" 0 $?
check "help starts with the usage" "usage: vantrel-cli [options] [FILE ...]" "$(head -n 1 <<<"$help")"
check "help names every option" "" "$(for o in --folder --reference --project --no-io-default --spool \
  --no-display --no --ask --map --printer --help; do grep -q -- "  $o" <<<"$help" || echo "$o"; done)"

# Manual pages: formatted without a warning, with their sections.
pages=(vantrel-cli)
[ $window = yes ] && pages+=(vantrel)
for page in "${pages[@]}"; do
  text=$(MANWIDTH=80 MANPAGER=cat LC_ALL=C.UTF-8 man --warnings -l "$prefix/share/man/man1/$page.1.gz" 2>"$work/man.err")
  check "man $page: no warnings" "" "$(cat "$work/man.err")"
  check "man $page: sections" "NAME SYNOPSIS DESCRIPTION OPTIONS EXIT STATUS FILES EXAMPLES SEE ALSO" \
    "$(grep -E '^[A-Z][A-Z ]+$' <<<"$text" | tr '\n' ' ' | sed 's/ $//')"
  check "man $page: name line" "$page - " "$(grep -A1 '^NAME' <<<"$text" | tail -n 1 | sed 's/^ *//' | cut -c1-$((${#page} + 3)))"
done

if [ $window = yes ]; then
  # The window from the same empty folder reads the installed reference too.
  (cd "$work/job" && QT_QPA_PLATFORM=offscreen "$prefix/bin/vantrel" --screenshots "$work/shots" \
    "$root/examples/lot.cmd" >/dev/null 2>"$work/window.err")
  check "window exit status" 0 $?
  check "window messages" "" "$(grep -E '^(Info Only|Warning|Prompt):' "$work/window.err")"
  check "window run" "first-start.png guide.png help.png main.png map.pdf menus.png plot-zoomed.png plot.png report.pdf table-double-click.png" "$(ls "$work/shots" | tr '\n' ' ' | sed 's/ $//')"

  check "desktop entry validates" "" "$(desktop-file-validate "$prefix/share/applications/vantrel.desktop" 2>&1)"
  check "desktop entry opens command files" "text/x-vantrel-command;" \
    "$(sed -n 's/^MimeType=//p' "$prefix/share/applications/vantrel.desktop")"
  XDG_DATA_DIRS=$prefix/share update-mime-database "$prefix/share/mime" >"$work/mime.log" 2>&1
  check "MIME database" "0 " "$? $(cat "$work/mime.log")"
  check "*.cmd is a command file" "text/x-vantrel-command:*.cmd" \
    "$(grep -F 'text/x-vantrel-command' "$prefix/share/mime/globs" 2>/dev/null)"
fi

[ $fail -eq 0 ] && echo "install: all checks passed ($window window)"
exit $fail
