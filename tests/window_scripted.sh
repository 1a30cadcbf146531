#!/usr/bin/env bash
# The real window under an X server (Xvfb) with a window manager (openbox),
# driven by xdotool as a surveyor would: Ctrl+Return pressed twice during a
# long job gives one run, and closing with unsaved points brings up the
# question before anything is lost.
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
lines=3000000
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

# Twice, a second apart, while the first run is in progress.
xdotool key --window "$window" ctrl+Return
sleep 1
xdotool key --window "$window" ctrl+Return

# The run ends when the spool holds all its lines; a second run would add
# as many again.
spooled() { grep -c '^line ' "$work/job/run.txt" 2>/dev/null || echo 0; }
for _ in $(seq 1500); do [ "$(spooled)" -ge "$lines" ] && break; sleep 0.1; done
sleep 3
check "one run for two presses" "$lines" "$(spooled)"

# Closing with the job's points unsaved asks first.
xdotool windowactivate --sync "$window" 2>/dev/null
xdotool key --window "$window" ctrl+q
if question=$(timeout 10 xdotool search --sync --onlyvisible --name '^Close Vantrel$' 2>/dev/null | head -n 1) &&
  [ -n "$question" ]; then
  # Cancel keeps the window and the work.
  xdotool key --window "$question" Escape
  sleep 1
  check "window still open after Cancel" yes "$(kill -0 "$app" 2>/dev/null && echo yes || echo no)"
else
  echo "FAIL the close question did not appear"
  fail=1
fi

[ $fail -eq 0 ] || { echo "vantrel said:"; cat "$work/vantrel.log"; }
exit $fail
