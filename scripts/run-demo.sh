#!/usr/bin/env bash
# Builds Lumaquill.exe and runs the chaser demo (or, with --tour, the tour of the
# framework) through scripts/run-game.sh: on this display until it is quit, or,
# when there is no display, in a virtual one for a fixed time, leaving a
# screenshot and an animation of the run in build/.
set -euo pipefail
source "$(dirname "$0")/common.sh"

usage() {
  cat <<'EOF2'
Usage: scripts/run-demo.sh [--tour] [--seconds N] [--help]

Builds the chaser demo and runs it under Wine (scripts/run-game.sh).

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
EOF2
}

args=() what=demo
while [ $# -gt 0 ]; do
  case $1 in
    --seconds) [ $# -gt 1 ] || { echo "run-demo: --seconds needs a number" >&2; exit 2; }
      args+=(--seconds "$2"); shift 2 ;;
    --seconds=*) args+=(--seconds "${1#*=}"); shift ;;
    --tour) what=tour; shift ;;
    -h | --help) usage; exit 0 ;;
    *) echo "run-demo: unknown option '$1'" >&2; usage >&2; exit 2 ;;
  esac
done

# The program: its build target, and the build's folder holding it and its files.
if [ "$what" = tour ]; then
  target=LumaquillTour from="$build/win/examples/tour"
  files=(LumaquillTour.exe ship.bmp star.bmp music.ogg blip.wav)
else
  target=Lumaquill from="$build/win/demo" files=(Lumaquill.exe test.bmp)
fi
run="$build/$what-run"   # the folder the program runs in

lq_setup
lq_configure_win
cmake --build "$build/win" -j "$jobs" --target "$target" virtual_pad >/dev/null
mkdir -p "$run"
for f in "${files[@]}"; do
  if [ -f "$from/$f" ]; then cp "$from/$f" "$run/"; fi
done

# With nobody at the keys, the virtual controller steers the player around a
# square so that the recording shows the swarm giving chase; in the tour it flies
# the ship to and fro, firing now and then.
if [ -z "${DISPLAY:-}" ] && [ -z "${LQ_PAD_SCRIPT:-}" ]; then
  if [ "$what" = tour ]; then
    printf '%s\n' "0 0 1 2" "1000 0 0 25" "0 -1000 1 2" "0 -1000 0 20" "-1000 0 1 2" \
      "-1000 0 0 50" "0 1000 1 2" "0 1000 0 20" "1000 0 0 25" >"$run/autopilot.txt"
  else
    printf '%s\n' "1000 0 0 80" "0 1000 0 80" "-1000 0 0 80" "0 -1000 0 80" \
      "1000 1000 0 60" "-1000 -1000 0 60" >"$run/autopilot.txt"
  fi
  args+=(--pad-script "$run/autopilot.txt")
fi

export LQ_VIRTUAL_PAD_DLL="$build/win/tools/virtual_pad/dinput8.dll" LQ_WINE_STATE="$build/demo-wine"
exec "$root/scripts/run-game.sh" "$run/${files[0]}" --shots "$build" --name "$what" ${args[@]+"${args[@]}"}
