# Shared steps of the end-to-end scripts. Each script is run by ctest with:
#   SCRIPT BUILD_DIR SOURCE_DIR
# and keeps its screenshots and logs in BUILD_DIR/e2e/<script name>/.
# The program is the demo unless the script sets, before sourcing this file,
# LQ_EXE (its path in the build folder) and LQ_TITLE (its window's title).
set -u
LQ_EXE=${LQ_EXE:-demo/Lumaquill.exe}
LQ_TITLE=${LQ_TITLE:-Lumaquill}
LQ_BUILD=$1
LQ_SOURCE=$2
source "$LQ_SOURCE/scripts/common.sh"
LQ_NAME=$(basename "$0" .sh)
# Artefacts in e2e/<script name>/, or e2e/$LQ_ART_NAME/ for a long run kept apart.
LQ_ART="$LQ_BUILD/e2e/${LQ_ART_NAME:-$LQ_NAME}"
# Wine state (prefix, HOME): the build's own, unless a long run keeps one apart.
LQ_STATE=${LQ_WINE_STATE:-$LQ_BUILD/wine}
LQ_PID=""
rm -rf "$LQ_ART"
mkdir -p "$LQ_ART/run"
cp "$LQ_BUILD/$LQ_EXE" "$LQ_ART/run/"
[ -f "$LQ_BUILD/demo/test.bmp" ] && cp "$LQ_BUILD/demo/test.bmp" "$LQ_ART/run/"

lq_log() { echo "[$LQ_NAME] $*"; }

# The tour's sprites and sounds beside it in the run folder.
lq_tour_assets() {
  local f
  for f in ship.bmp star.bmp music.ogg blip.wav; do
    cp "$LQ_BUILD/examples/tour/$f" "$LQ_ART/run/" || lq_fail "tour asset $f not built"
  done
}

lq_fail() {
  lq_log "FAIL: $*"
  lq_shot failure
  lq_stop
  lq_log "screenshots and logs: $LQ_ART"
  exit 1
}

lq_wine() { "$LQ_SOURCE/tests/tools/wine-run.sh" "$LQ_STATE" "$@"; }

# Starts the program from the run folder through scripts/run-game.sh (on the
# test's display, in the build's Wine prefix); its output goes to program.log.
# Arguments are extra environment settings (NAME=value). These machines have no
# game controller, so the virtual one (tools/virtual_pad) is loaded unless
# LQ_VIRTUAL_PAD=0 is set before the call. What it plays is recorded to
# sound.wav unless LQ_SOUND_FILE says otherwise.
lq_start() {
  (cd "$LQ_ART/run" && exec env LQ_WINE_STATE="$LQ_STATE" LQ_VIRTUAL_PAD="${LQ_VIRTUAL_PAD:-1}" \
     LQ_VIRTUAL_PAD_DLL="$LQ_BUILD/tools/virtual_pad/dinput8.dll" LQ_SOUND_FILE="$LQ_ART/sound.wav" \
     "$@" "$LQ_SOURCE/scripts/run-game.sh" "./$(basename "$LQ_EXE")" >"$LQ_ART/program.log" 2>&1 </dev/null) &
  LQ_PID=$!
}

# Waits for the program to end (at most $1 seconds); sets LQ_STATUS.
lq_wait_exit() { lq_wait_pid "$LQ_PID" "$1" && LQ_PID=""; }

lq_stop() {
  # Only the process this script started: run-game.sh stops the program with it.
  if [ -n "$LQ_PID" ] && kill -0 "$LQ_PID" 2>/dev/null; then
    kill "$LQ_PID" 2>/dev/null
  fi
  LQ_PID=""
}

# The probe's own exit status, not that of the line-ending filter.
lq_probe() {
  lq_wine "$LQ_BUILD/tests/tools/lqprobe.exe" "$@" | tr -d '\r'
  return "${PIPESTATUS[0]}"
}

lq_shot() { lq_xshot root "$LQ_ART/$1.png"; }

# Waits (at most $3 seconds) until file $1 has a line matching $2.
lq_wait_line() {
  local t=0
  until tr -d '\r' <"$1" 2>/dev/null | grep -q "$2"; do
    sleep 0.2; t=$((t + 1))
    [ $t -ge $(($3 * 5)) ] && return 1
  done
  return 0
}

# Waits (at most 60 s) for the program's window; sets ox and oy (the client
# area's origin on the screen) and xwin (its X window), and gives it the focus.
lq_find_window() {
  local out
  out=$(lq_probe window "$LQ_TITLE" 60) || lq_fail "no window titled $LQ_TITLE"
  read -r _ ox oy <<<"$(grep '^origin' <<<"$out")"
  xwin=$(lq_xwindow "$LQ_TITLE")
  [ -n "$xwin" ] || lq_fail "no X window named $LQ_TITLE"
  lq_focus "$xwin"
}

# The number of the virtual controller's last poll (LQ_PAD_LOG=pad.log).
lq_poll() { tr -d '\r' 2>/dev/null <"$LQ_ART/run/pad.log" | grep '^poll' | tail -1 | cut -d' ' -f2; }

# Waits (at most $2 seconds) until the pad has been polled $1 times. A window that
# lost the focus stops polling: it gets the focus back after 3 s without a poll.
lq_wait_poll() {
  local t=0 last="" still=0
  until [ "$(lq_poll)" -ge "$1" ] 2>/dev/null; do
    sleep 0.1; t=$((t + 1))
    [ $t -ge $(($2 * 10)) ] && return 1
    if [ "$(lq_poll)" = "$last" ]; then still=$((still + 1)); else still=0; last=$(lq_poll); fi
    if [ $still -ge 30 ]; then
      lq_log "no poll for 3 s at poll $last: focusing the window again;" \
        "$(lq_probe foreground | tr "\n" ";")"
      lq_shot "stall-$last"
      lq_focus "$xwin"; still=0
    fi
  done
  return 0
}

# Brings the program's window to the front: X keyboard focus for the X window $1,
# and Wine's foreground window (which another Wine process may have taken; X focus
# alone does not give it back). The input devices read only in the foreground,
# and Xvfb has no window manager to do this.
lq_focus() {
  lq_xfocus "$1"
  lq_probe front "$LQ_TITLE" >/dev/null || lq_log "could not bring the window to the front"
}

# Real key events (XTEST) to the focused window: $1 the X window, then keys.
lq_key() {
  local win=$1; shift
  lq_focus "$win"
  xdotool key --delay 50 "$@"
}

# Sends Escape to the X window $1 and waits for the program to end (sets
# LQ_STATUS). Should the window have lost the foreground before the key arrived,
# it is brought back and the key sent again, at most three times in all.
lq_escape() {
  lq_quit_retry() { lq_log "still running 10 s after Escape (try $1)"; }
  lq_quit "$LQ_PID" 10 lq_focus "$1" && LQ_PID=""
}

# Escape to the X window $1 must end the program, with status 0.
lq_escape_ok() {
  lq_escape "$1" || lq_fail "still running after Escape"
  lq_status_ok
}

lq_status_ok() { [ "$LQ_STATUS" = 0 ] || lq_fail "exit status $LQ_STATUS"; }
