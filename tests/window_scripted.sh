#!/usr/bin/env bash
# The real window under an X server (Xvfb) with a window manager (openbox),
# driven by xdotool as a surveyor would: Ctrl+Return pressed twice during a
# long job gives one run, Esc stops a run, closing with unsaved points
# brings up the question before anything is lost and Esc in it cancels, and
# after the program is killed the next start offers the recovery copy.
set -u
vantrel=$1
reference=$2
fail=0
check() {  # name, expected, actual
  if [ "$2" != "$3" ]; then
    echo "FAIL $1: expected $2, got $3"
    fail=1
  fi
}
work=$(mktemp -d)
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A free display: Xvfb names the one it took.
exec 3>"$work/display"
Xvfb -displayfd 3 -screen 0 1600x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n 1 "$work/display")
openbox >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1

# The window keeps its settings and recovery copy in a home of its own.
export XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data QT_QPA_PLATFORM=xcb
mkdir -p "$work/job"

# A job long enough to take some seconds; every report line is spooled.
lines=2000000
{
  printf 'KWN\r\n1,100,200\r\nCOM\r\n'
  seq -f 'line %.0f' "$lines" | sed 's/$/\r/'
} >"$work/long.cmd"
"$vantrel" --folder "$work/job" --reference "$reference" --spool run --no-display "$work/long.cmd" \
  >"$work/vantrel.log" 2>&1 &
app=$!
pids+=($app)
window=$(xdotool search --sync --onlyvisible --name '^Vantrel$' | head -n 1)
xdotool windowactivate --sync "$window" 2>/dev/null
sleep 0.5

# Twice, a moment apart, while the first run is in progress, then Esc: the
# run stops before its last line, and the second press started nothing
# (a run queued behind the first would spool its first line again). The
# job is far longer than the test waits, so a loaded machine changes
# nothing.
xdotool key --window "$window" ctrl+Return
sleep 0.3
xdotool key --window "$window" ctrl+Return
sleep 0.3
xdotool key --window "$window" Escape
spool_end() { tail -n 1 "$work/job/run.txt" 2>/dev/null | tr -d '\r'; }
last=""
for _ in $(seq 100); do
  sleep 0.5
  now=$(spool_end)
  [ -n "$now" ] && [ "$now" = "$last" ] && break
  last=$now
done
sleep 2
runs=$(tr -d '\r' <"$work/job/run.txt" 2>/dev/null | grep -cx 'line 1')
check "one run for two presses" 1 "$runs"
check "Esc stops the run" yes "$([ -n "$last" ] && [ "$(spool_end)" = "$last" ] && [ "$last" != "line $lines" ] && echo yes || echo no)"

# Closing with the job's points unsaved asks first; Esc answers Cancel,
# which keeps the window and the work.
# A key for a dialog goes through the keyboard once the dialog has the
# focus: sent to the dialog's window instead, the release would find the
# window gone and the key would stay held, repeating into the next window.
press_in() {
  xdotool windowactivate --sync "$1" 2>/dev/null
  xdotool key "$2"
}
visible() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1; }
xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key --window "$window" ctrl+q
if question=$(timeout 10 xdotool search --sync --onlyvisible --name '^Close Vantrel$' 2>/dev/null | head -n 1) &&
  [ -n "$question" ]; then
  press_in "$question" Escape
  sleep 1
  check "Esc answers the close question" "" "$(visible 'Close Vantrel')"
  check "window still open after Cancel" yes "$(kill -0 "$app" 2>/dev/null && echo yes || echo no)"
else
  echo "FAIL the close question did not appear"
  fail=1
fi

# Killed outright (a power cut, a crash): its lock on the recovery copy is
# left behind, yet the next start offers the copy; No (Esc) sets it aside.
kill -KILL "$app"
wait "$app" 2>/dev/null
copy=$(find "$work/data" -name recovery.vsn | head -n 1)
check "recovery copy left by the killed window" yes "$([ -n "$copy" ] && echo yes || echo no)"
"$vantrel" --folder "$work/job" --reference "$reference" >>"$work/vantrel.log" 2>&1 &
pids+=($!)
if offer=$(timeout 30 xdotool search --sync --onlyvisible --name '^Warning$' 2>/dev/null | head -n 1) &&
  [ -n "$offer" ]; then
  press_in "$offer" Escape
  for _ in $(seq 50); do [ -f "$copy.declined" ] && break; sleep 0.1; done
  check "declined recovery copy set aside" yes "$([ -f "$copy.declined" ] && [ ! -f "$copy" ] && echo yes || echo no)"
else
  echo "FAIL no recovery offer after the window was killed"
  fail=1
fi

[ $fail -eq 0 ] || { echo "vantrel said:"; cat "$work/vantrel.log"; }
exit $fail
