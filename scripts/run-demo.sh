#!/usr/bin/env bash
# Builds Lumaquill.exe and runs the chaser demo under Wine (or, with --tour, the
# tour of the framework): on this display until it is quit, or, when there is no
# display, in a virtual one for a fixed time, leaving a screenshot and an
# animation of the run in build/.
set -euo pipefail
source "$(dirname "$0")/common.sh"

usage() {
  cat <<'EOF'
Usage: scripts/run-demo.sh [--tour] [--seconds N] [--help]

Builds the chaser demo and runs it under Wine.

With a display (DISPLAY set) its window opens there; Escape or closing the
window quits. Without one it runs in a virtual display (Xvfb) for 10 seconds,
then quits, leaving a screenshot (build/demo.png) and an animation
(build/demo.gif) of the run and printing their paths.

  --tour        run the tour of the framework (examples/tour) instead: the
                arrows move the ship, Z plays a chime; build/tour.png, .gif
  --seconds N   quit the demo N seconds after its window appears (without a
                display: after its first frame)
  --help        show this text

Ctrl-C or a signal (SIGINT, SIGTERM, SIGHUP) stops the demo and every Wine and
Xvfb process this command started.
EOF
}

seconds="" what=demo
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) [ $# -gt 1 ] || { echo "run-demo: --seconds needs a number" >&2; exit 2; }
      seconds=$2; shift 2 ;;
    --seconds=*) seconds=${1#*=}; shift ;;
    --tour) what=tour; shift ;;
    -h | --help) usage; exit 0 ;;
    *) echo "run-demo: unknown option '$1'" >&2; usage >&2; exit 2 ;;
  esac
done
if [ -n "$seconds" ] && ! [[ $seconds =~ ^[1-9][0-9]{0,5}$ ]]; then
  echo "run-demo: --seconds wants a whole number of seconds from 1 to 999999, not '$seconds'" >&2
  exit 2
fi

# The program: its build target, the build's folder holding it and its files,
# and its window's title.
if [ "$what" = tour ]; then
  target=LumaquillTour from="$build/win/examples/tour" title="Lumaquill Tour"
  files=(LumaquillTour.exe ship.bmp star.bmp music.ogg blip.wav)
else
  target=Lumaquill from="$build/win/demo" title=Lumaquill files=(Lumaquill.exe test.bmp)
fi
run="$build/$what-run"   # the folder the program runs in
state="$build/demo-wine" # its Wine prefix and HOME (one for both programs)
program_pid="" xvfb_pid="" recorder_pid="" xwin="" status=0 wine_started=0

# Stops whatever this command started that is still running: the recorder, the
# program, every process of the demo's Wine prefix, and the virtual display.
stop_all() {
  if [ -n "$recorder_pid" ]; then kill "$recorder_pid" 2>/dev/null || true; fi
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  if [ "$wine_started" = 1 ]; then
    WINEPREFIX="$state/prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$state/prefix" timeout 30 wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  recorder_pid="" program_pid="" xvfb_pid="" wine_started=0
  return 0
}
on_signal() {
  trap - INT TERM HUP
  echo "run-demo: stopped by a signal; stopping the $what" >&2
  stop_all
  exit "$1"
}
trap 'on_signal 130' INT
trap 'on_signal 143' TERM
trap 'on_signal 129' HUP
trap stop_all EXIT

lq_setup
lq_configure_win
cmake --build "$build/win" -j "$jobs" --target "$target" virtual_pad >/dev/null

mkdir -p "$run"
for f in "${files[@]}"; do
  if [ -f "$from/$f" ]; then cp "$from/$f" "$run/"; fi
done

# The program needs a game controller. Without one (no joystick device on this
# machine) the virtual controller stands in: Wine loads it from beside the exe.
virtual_pad=0
if ls /dev/input/js* /dev/input/by-id/*-joystick >/dev/null 2>&1; then
  rm -f "$run/dinput8.dll"
else
  cp "$build/win/tools/virtual_pad/dinput8.dll" "$run/"
  export WINEDLLOVERRIDES=dinput8=n,b
  virtual_pad=1
  echo "No game controller found: using the virtual controller (arrow keys and Z X C A S D Q W E)."
fi

lq_sound_device

# Starts the program in the background; its output goes to $1 (default: here).
start_program() {
  (
    cd "$run"
    if [ -n "${1:-}" ]; then exec >"$1" 2>&1; fi
    exec "$root/tests/tools/wine-run.sh" "$state" "./${files[0]}"
  ) &
  program_pid=$! wine_started=1
}

# Waits at most $1 seconds for the program to end and sets status; fails if it
# is still running.
wait_program() {
  local i
  for i in $(seq $(($1 * 5))); do
    if ! kill -0 "$program_pid" 2>/dev/null; then
      status=0
      wait "$program_pid" || status=$?
      program_pid=""
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# Finds the program's X window (sets xwin); the first run also creates the Wine
# prefix, which takes a while. Fails if the program ends first.
find_window() {
  local i
  for i in $(seq 120); do
    kill -0 "$program_pid" 2>/dev/null || return 1
    xwin=$(lq_xwindow "$title" 1) && return 0
  done
  return 1
}

# Quits the program as a player does, with Escape, at most three times; then
# gives up on it (stop_all ends it).
quit_program() {
  local try
  for try in 1 2 3; do
    xdotool windowactivate --sync "$xwin" >/dev/null 2>&1 || lq_xfocus "$xwin" || true
    xdotool key Escape
    wait_program 5 && return 0
  done
  echo "run-demo: the $what did not quit on Escape; stopping it" >&2
  stop_all
  status=1
  return 1
}

# Waits (at most a minute) for the demo's first frame: the client area shows
# something other than black. Start-up (device, sound, the texture warm-up) can
# take seconds on a busy machine, and the recording should show play, not that.
wait_first_frame() {
  local i shot="$run/first.png"
  for i in $(seq 300); do
    kill -0 "$program_pid" 2>/dev/null || return 1
    lq_xshot "$xwin" "$shot" &&
      [ "$(convert "$shot" -crop 760x540+20+40 +repage -format '%[fx:maxima>0]' info: 2>/dev/null)" = 1 ] &&
      return 0
    sleep 0.2
  done
  return 1
}

# Screenshots of the window, one after another, into $1 until $1/stop appears:
# one every 0.1 s, or every seconds/100 s on a long run, so that the animation
# keeps to about a hundred frames (ImageMagick refuses a few hundred at full size).
record() {
  local n=0 pause
  pause=$(awk -v s="$seconds" 'BEGIN { p = s / 100; print (p < 0.1 ? 0.1 : p) }')
  while [ ! -e "$1/stop" ]; do
    lq_xshot "$xwin" "$1/$(printf %04d $n).png" && n=$((n + 1))
    sleep "$pause"
  done
}

if [ -n "${DISPLAY:-}" ]; then
  start_program
  if [ -z "$seconds" ]; then
    wait "$program_pid" || status=$?
    program_pid=""
  elif find_window; then
    wait_program "$seconds" || quit_program || true
  else
    wait_program 1 || status=1
    echo "run-demo: no window of the $what's (status $status)" >&2
  fi
  stop_all
  exit $status
fi

seconds=${seconds:-10}
echo "No display: running the $what in a virtual one (Xvfb) for $seconds s and recording it."
display_file="$run/xvfb-display"
rm -f "$display_file"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >"$run/xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
for i in $(seq 100); do
  grep -q '^[0-9]\+$' "$display_file" 2>/dev/null && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$run/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
grep -q '^[0-9]\+$' "$display_file" || { echo "run-demo: Xvfb did not start; see $run/xvfb.log" >&2; exit 1; }
export DISPLAY=":$(cat "$display_file")"

# With nobody at the keys, the virtual controller steers the player around a
# square so that the recording shows the swarm giving chase; in the tour it flies
# the ship to and fro, firing now and then.
if [ "$virtual_pad" = 1 ] && [ -z "${LQ_PAD_SCRIPT:-}" ]; then
  if [ "$what" = tour ]; then
    printf '%s\n' "0 0 1 2" "1000 0 0 25" "0 -1000 1 2" "0 -1000 0 20" "-1000 0 1 2" \
      "-1000 0 0 50" "0 1000 1 2" "0 1000 0 20" "1000 0 0 25" >"$run/autopilot.txt"
  else
    printf '%s\n' "1000 0 0 80" "0 1000 0 80" "-1000 0 0 80" "0 -1000 0 80" \
      "1000 1000 0 60" "-1000 -1000 0 60" >"$run/autopilot.txt"
  fi
  export LQ_PAD_SCRIPT=autopilot.txt
fi

start_program "$run/program.log"
if ! find_window; then
  wait_program 1 || true
  lq_xshot root "$run/failure.png" || true
  echo "run-demo: the $what's window never appeared (status $status); see $run/program.log and $run/failure.png" >&2
  exit 1
fi

wait_first_frame || true
frames="$run/frames"
rm -rf "$frames"
mkdir -p "$frames"
start=$(date +%s.%N)
record "$frames" &
recorder_pid=$!
if wait_program "$seconds"; then
  echo "run-demo: the $what ended by itself after less than $seconds s (status $status); see $run/program.log" >&2
  [ "$status" != 0 ] || status=1
else
  lq_xshot "$xwin" "$build/$what.png"
fi
touch "$frames/stop"
wait "$recorder_pid" || true
recorder_pid=""
end=$(date +%s.%N)
if [ -n "$program_pid" ]; then quit_program || true; fi

count=$(find "$frames" -name '*.png' | wc -l)
if [ "$count" -gt 0 ]; then
  # One delay for every frame (in 1/100 s), so the animation lasts as the run did.
  delay=$(awk -v s="$start" -v e="$end" -v n="$count" 'BEGIN { d = (e - s) * 100 / n; print (d < 2 ? 2 : int(d + 0.5)) }')
  # It starts with the first frame drawn: a still before it (the window not yet
  # drawn) is left out.
  shots=("$frames"/*.png)
  i=1
  while [ $i -lt $count ] &&
    [ "$(compare -metric AE "${shots[0]}" "${shots[$i]}" null: 2>&1)" = 0 ]; do i=$((i + 1)); done
  if [ $i -gt 1 ] && [ $i -lt $count ]; then rm "${shots[@]:0:$i}"; fi
  convert -delay "$delay" -loop 0 "$frames"/*.png -layers Optimize "$build/$what.gif"
  count=$(find "$frames" -name '*.png' | wc -l)
fi
stop_all
if [ "$status" = 0 ]; then
  echo "Screenshot: $build/$what.png"
  echo "Animation:  $build/$what.gif ($count frames)"
fi
exit $status
