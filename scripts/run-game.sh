#!/usr/bin/env bash
# Runs a Lumaquill program (any exe built on the framework) under Wine, in its
# own folder so that its assets are found: on this display until it is quit, or,
# when there is no display, in a virtual one for a fixed time, leaving a
# screenshot and an animation of the run.
set -euo pipefail
source "$(dirname "$0")/common.sh"
source "$(dirname "$0")/play-game.sh"

usage() {
  cat <<'EOF'
Usage: scripts/run-game.sh EXE [--seconds N] [--fresh] [--pad-script FILE]
                           [--xinput-script FILE]
                           [--record-sound FILE] [--shots DIR] [--name NAME]
       scripts/run-game.sh EXE --play SCRIPT [--compare DIR | --update-golden DIR]
                           [--tolerance N] [--seconds N] [--fresh] [--shots DIR]

Runs EXE under Wine with its folder as the working folder.

With a display (DISPLAY set) its window opens there; Escape or closing the
window quits. Without one it runs in a virtual display (Xvfb) for 10 seconds
(timed from its first frame), then closes its window, leaving a screenshot
(DIR/NAME.png) and an animation (DIR/NAME.gif) of the run and printing their
paths. A program that draws no first frame within a minute (an error box, a
crash) ends the run with status 1, a screenshot of the screen and its log.

  --seconds N          close the program's window (as a player closing it does,
                       whichever window has the focus) N seconds after it
                       appears (without a display: after its first frame)
  --fresh              run in a new Wine prefix, deleted afterwards: no saves or
                       settings of earlier runs (a first start on a new PC)
  --pad-script FILE    the virtual controller plays FILE, one line per frame:
                       X Y BUTTONS [COUNT] (see the README)
  --xinput-script FILE modern pads (up to 4) play FILE, one line per change:
                       MS PAD LX LY RX RY LT RT BUTTONS, or MS PAD off, MS
                       counted from the game's first frame
                       (see tools/virtual_pad/virtual_xinput.cpp)
  --record-sound FILE  write what the program plays to FILE, a WAV file
  --shots DIR          where the screenshot and animation go (default: EXE's folder)
  --name NAME          their name (default: EXE's name without .exe)
  --help               show this text

Play mode (always in a virtual display): the game plays SCRIPT inside itself
(LQ_PLAY; see "Testing your game" in the guide) until the script closes it (at
most --seconds, default 300). Its log and shots go to DIR/NAME-play/ (--shots).
  --play SCRIPT        the play script; fails on a bad line or a crash
  --compare DIR        compare each shot with DIR/SHOT.png: a pixel differs when
                       a channel differs by more than N (--tolerance, default 2);
                       a shot fails when over 0.1 % of its pixels differ, and
                       SHOT.diff.png beside it shows where (in red)
  --update-golden DIR  write the shots into DIR as the golden frames

Without a game controller on this machine the virtual controller stands in
(its keyboard is the real one). Without a sound device (and no --record-sound)
the sound goes to a stand-in device that discards it. Ctrl-C or a signal
(SIGINT, SIGTERM, SIGHUP) stops the program and every Wine and Xvfb process this
command started; none is left running when it ends. The exit status is the
program's (1 when it had to be stopped, opened no window or drew nothing).
The stand-in DLLs are put beside EXE for the run only: the game's own files of
those names (dinput8.dll, xinput1_4.dll) are kept aside and put back.

Environment: LQ_WINE_STATE, the folder of the Wine prefix and HOME (default
build/game-wine); LQ_VIRTUAL_PAD=0 runs without the virtual controller;
LQ_VIRTUAL_PAD_DLL, a virtual controller already built (default: built here;
its modern pads are xinput1_4.dll beside it); LQ_XINPUT_SCRIPT, as
--xinput-script.
EOF
}

fail() { echo "run-game: $*" >&2; exit 2; }
exe="" seconds="" pad_script="" xinput_script="" record="" shots="" name="" fresh=0
while [ $# -gt 0 ]; do
  case $1 in
    --seconds | --pad-script | --xinput-script | --record-sound | --shots | --name)
      [ $# -gt 1 ] || fail "$1 needs a value"
      case $1 in
        --seconds) seconds=$2 ;; --pad-script) pad_script=$2 ;; --xinput-script) xinput_script=$2 ;;
        --record-sound) record=$2 ;; --shots) shots=$2 ;; --name) name=$2 ;;
      esac
      shift 2 ;;
    --play | --compare | --update-golden | --tolerance)
      [ $# -gt 1 ] || fail "$1 needs a value"
      play_options "$1" "$2"
      shift 2 ;;
    --fresh) fresh=1; shift ;;
    -h | --help) usage; exit 0 ;;
    -*) echo "run-game: unknown option '$1'" >&2; usage >&2; exit 2 ;;
    *) [ -z "$exe" ] || fail "one program at a time ('$exe', '$1')"; exe=$1; shift ;;
  esac
done
[ -n "$exe" ] || { usage >&2; exit 2; }
[ -f "$exe" ] || fail "no program '$exe'"
if [ -n "$seconds" ] && ! [[ $seconds =~ ^[1-9][0-9]{0,5}$ ]]; then
  fail "--seconds wants a whole number of seconds from 1 to 999999, not '$seconds'"
fi
[ -z "$pad_script" ] || [ -f "$pad_script" ] || fail "no pad script '$pad_script'"
play_check_options
[ -z "$xinput_script" ] || [ -f "$xinput_script" ] || fail "no XInput script '$xinput_script'"

run=$(cd "$(dirname "$exe")" && pwd)   # the folder the program runs in
program=$(basename "$exe")
name=${name:-${program%.[eE][xX][eE]}}
shots=$(mkdir -p "${shots:-$run}" && cd "${shots:-$run}" && pwd)
state=${LQ_WINE_STATE:-$build/game-wine}  # its Wine prefix and HOME
if [ "$fresh" = 1 ]; then state=$(mktemp -d "${TMPDIR:-/tmp}/lq-fresh-wine.XXXXXX"); fi
program_pid="" xvfb_pid="" recorder_pid="" xwin="" status=0 wine_started=0 placed=()
# Where the stand-in DLLs are built (an installed framework brings them built).
stand_ins=$(dirname "${LQ_VIRTUAL_PAD_DLL:-$build/win/tools/virtual_pad/dinput8.dll}")
if [ -z "${LQ_VIRTUAL_PAD_DLL:-}" ] && [ -f "$root/tools/virtual_pad/dinput8.dll" ]; then
  stand_ins=$root/tools/virtual_pad
fi

# A stand-in DLL beside the game for this run: the game's own file of that name
# waits as .NAME.lq-own until restore_dlls puts it back.
place_dll() {
  local dll=$1
  [ "$stand_ins/$dll" -ef "$run/$dll" ] && return 0
  placed+=("$dll")
  if [ -e "$run/$dll" ] && [ ! -e "$run/.$dll.lq-own" ]; then mv "$run/$dll" "$run/.$dll.lq-own"; fi
  cp "$stand_ins/$dll" "$run/$dll"
}
restore_dlls() {
  local dll
  for dll in ${placed[@]+"${placed[@]}"}; do
    rm -f "$run/$dll"
    if [ -e "$run/.$dll.lq-own" ]; then mv "$run/.$dll.lq-own" "$run/$dll"; fi
  done
  placed=()
}
# What a run killed outright (SIGKILL) left beside the game: the game's own files
# go back, and a stand-in (the same bytes as ours) goes.
for dll in dinput8.dll xinput1_4.dll; do
  if [ -e "$run/.$dll.lq-own" ]; then
    mv -f "$run/.$dll.lq-own" "$run/$dll"
  elif [ -f "$run/$dll" ] && ! [ "$stand_ins/$dll" -ef "$run/$dll" ] && cmp -s "$stand_ins/$dll" "$run/$dll"; then
    rm -f "$run/$dll"
  fi
done

# Stops whatever this command started that is still running: the recorder, the
# program, every process of the Wine prefix, and the virtual display.
stop_all() {
  if [ -n "$recorder_pid" ]; then kill "$recorder_pid" 2>/dev/null || true; fi
  if [ -n "$program_pid" ]; then kill "$program_pid" 2>/dev/null || true; fi
  if [ "$wine_started" = 1 ]; then
    WINEPREFIX="$state/prefix" wineserver -k >/dev/null 2>&1 || true
    WINEPREFIX="$state/prefix" timeout 30 wineserver -w >/dev/null 2>&1 || true
  fi
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    lq_wait_pid "$xvfb_pid" 10 || kill -9 "$xvfb_pid" 2>/dev/null || true
  fi
  if [ "$fresh" = 1 ] && [ -d "$state" ]; then rm -rf "$state"; fi
  restore_dlls
  recorder_pid="" program_pid="" xvfb_pid="" wine_started=0
  return 0
}
on_signal() {
  trap - INT TERM HUP
  echo "run-game: stopped by a signal; stopping $program" >&2
  stop_all
  exit "$1"
}
trap 'on_signal 130' INT
trap 'on_signal 143' TERM
trap 'on_signal 129' HUP
trap stop_all EXIT

lq_setup

# The program needs a game controller. Without one (no joystick device on this
# machine) the virtual controller stands in: Wine loads it from beside the exe.
virtual_pad=0
if [ "${LQ_VIRTUAL_PAD:-1}" != 0 ] && ! ls /dev/input/js* /dev/input/by-id/*-joystick >/dev/null 2>&1; then
  if [ -z "${LQ_VIRTUAL_PAD_DLL:-}" ] && [ "$stand_ins" != "$root/tools/virtual_pad" ]; then
    lq_configure_win
    cmake --build "$build/win" -j "$jobs" --target virtual_pad >/dev/null
  fi
  place_dll dinput8.dll
  export WINEDLLOVERRIDES="dinput8=n,b${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
  virtual_pad=1
  echo "No game controller found: using the virtual controller (arrow keys and Z X C A S D Q W E)."
fi
# Wine sees the Linux file system as drive Z:.
if [ -n "$pad_script" ]; then export LQ_PAD_SCRIPT="Z:$(cd "$(dirname "$pad_script")" && pwd)/$(basename "$pad_script")"; fi
if [ -n "$xinput_script" ]; then export LQ_XINPUT_SCRIPT="Z:$(cd "$(dirname "$xinput_script")" && pwd)/$(basename "$xinput_script")"; fi
# Modern pads from a script: the virtual controller's stand-in XInput DLL plays it.
if [ -n "${LQ_XINPUT_SCRIPT:-}" ]; then
  if [ -z "${LQ_VIRTUAL_PAD_DLL:-}" ] && [ "$stand_ins" != "$root/tools/virtual_pad" ]; then
    lq_configure_win
    cmake --build "$build/win" -j "$jobs" --target virtual_xinput >/dev/null
  fi
  place_dll xinput1_4.dll
  export WINEDLLOVERRIDES="xinput1_4=n,b${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
  echo "Modern pads played from $LQ_XINPUT_SCRIPT by the virtual controller."
fi

if [ -n "$record" ]; then
  mkdir -p "$(dirname "$record")"
  export LQ_SOUND_FILE="$(cd "$(dirname "$record")" && pwd)/$(basename "$record")"
elif [ -z "${LQ_SOUND_FILE:-}" ]; then
  lq_sound_device
fi

# Starts the program in the background; its output goes to $1 (default: here).
start_program() {
  (
    cd "$run"
    if [ -n "${1:-}" ]; then exec >"$1" 2>&1; fi
    exec "$root/tests/tools/wine-run.sh" "$state" "./$program"
  ) &
  program_pid=$! wine_started=1
}

# Waits at most $1 seconds for the program to end and sets status; fails if it
# is still running.
wait_program() { lq_wait_pid "$program_pid" "$1" && status=$LQ_STATUS program_pid=""; }

# Finds the program's X window (sets xwin): Wine marks its windows with the
# process id. The first run also creates the Wine prefix, which takes a while.
# Fails if the program ends first.
find_window() { xwin=$(lq_xfind 120 "$program_pid" --pid "$program_pid"); }

# Closes the program's windows as a player closing them does (WM_CLOSE, sent by
# Wine's taskkill, not keys: they would go to whichever window has the focus),
# waiting up to 10 s for its end; a second try; then gives up on it (stop_all
# ends it).
quit_program() {
  local try
  for try in 1 2; do
    (cd "$run" && timeout 20 "$root/tests/tools/wine-run.sh" "$state" taskkill /im "$program") >/dev/null 2>&1 || true
    lq_wait_pid "$program_pid" 10 && status=$LQ_STATUS program_pid="" && return 0
  done
  echo "run-game: $program did not end when its window was closed; stopping it" >&2
  stop_all
  status=1
  return 1
}

# Waits (at most a minute) for the first frame: inside the window's frame
# something other than black. Start-up (device, sound, textures) can take seconds
# on a busy machine, and the recording should show play, not that.
wait_first_frame() {
  local shot="$shots/$name-first.png" deadline=$((SECONDS + 60))
  while [ $SECONDS -lt $deadline ]; do
    kill -0 "$program_pid" 2>/dev/null || return 1
    lq_xshot "$xwin" "$shot" &&
      [ "$(convert "$shot" -shave 20x20 -crop +0+20 +repage -format '%[fx:maxima>0]' info: 2>/dev/null)" = 1 ] &&
      { rm -f "$shot"; return 0; }
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

# A script plays in a display of its own: nothing else takes the focus there.
[ -z "$play_script" ] || unset DISPLAY
if [ -n "${DISPLAY:-}" ]; then
  start_program
  if ! find_window; then
    if wait_program 1; then why="it ended, status $status"; else why="none in 2 minutes"; fi
    echo "run-game: $program opened no window ($why). Run it without a display" \
      "(env -u DISPLAY $0 ...) for its log and a screenshot of the screen." >&2
    stop_all
    exit 1
  fi
  if [ -z "$seconds" ]; then
    wait "$program_pid" || status=$?
    program_pid=""
  else
    wait_program "$seconds" || quit_program || true
  fi
  stop_all
  exit $status
fi

seconds=${seconds:-10}
[ -n "$play_script" ] || echo "No display: running $program in a virtual one (Xvfb) for $seconds s and recording it."
display_file="$shots/$name-xvfb-display"
rm -f "$display_file"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$display_file" >"$shots/$name-xvfb.log" 2>&1 </dev/null &
xvfb_pid=$!
for i in $(seq 100); do
  grep -q '^[0-9]\+$' "$display_file" 2>/dev/null && break
  kill -0 "$xvfb_pid" 2>/dev/null || { cat "$shots/$name-xvfb.log" >&2; exit 1; }
  sleep 0.1
done
grep -q '^[0-9]\+$' "$display_file" || fail "Xvfb did not start; see $shots/$name-xvfb.log"
export DISPLAY=":$(cat "$display_file")"
if [ -n "$play_script" ]; then
  play_game && status=0 || status=1
  stop_all
  exit $status
fi

log="$shots/$name.log"
start_program "$log"
if ! find_window; then
  wait_program 1 || true
  lq_xshot root "$shots/$name-failure.png" || true
  echo "run-game: the window of $program never appeared (status $status); see $log and $shots/$name-failure.png" >&2
  exit 1
fi

if ! wait_first_frame; then
  lq_xshot root "$shots/$name-failure.png" || true
  rm -f "$shots/$name-first.png"
  if wait_program 1; then why="it ended (status $status)"; else why="it still runs: is an error box open?"; fi
  echo "run-game: $program drew no frame; $why. See $shots/$name-failure.png and $log" >&2
  stop_all
  exit 1
fi
frames="$shots/$name-frames"
rm -rf "$frames"
mkdir -p "$frames"
start=$(date +%s.%N)
record "$frames" &
recorder_pid=$!
if wait_program "$seconds"; then
  echo "run-game: $program ended by itself after less than $seconds s (status $status); see $log" >&2
  [ "$status" != 0 ] || status=1
else
  lq_xshot "$xwin" "$shots/$name.png"
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
  frame_files=("$frames"/*.png)
  i=1
  while [ $i -lt $count ] &&
    [ "$(compare -metric AE "${frame_files[0]}" "${frame_files[$i]}" null: 2>&1)" = 0 ]; do i=$((i + 1)); done
  if [ $i -gt 1 ] && [ $i -lt $count ]; then rm "${frame_files[@]:0:$i}"; fi
  convert -delay "$delay" -loop 0 "$frames"/*.png -layers Optimize "$shots/$name.gif"
  count=$(find "$frames" -name '*.png' | wc -l)
fi
stop_all
if [ "$status" = 0 ]; then
  echo "Screenshot: $shots/$name.png"
  echo "Animation:  $shots/$name.gif ($count frames)"
  [ -z "$record" ] || echo "Sound:      $LQ_SOUND_FILE"
fi
exit $status
