# Shared steps of the scripts: install what is missing, configure the builds.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LQ_BUILD:-$root/build}
# Installed (share/lumaquill of a prefix, no sources): its state goes to the cache.
if [ ! -f "$root/CMakeLists.txt" ]; then build=${LQ_BUILD:-${XDG_CACHE_HOME:-$HOME/.cache}/lumaquill}; fi
jobs=${LQ_JOBS:-2}

lq_setup() {
  "$root/scripts/setup.sh" || exit 1
  mkdir -p "$build"
}

# lq_configure NAME [CMAKE ARGS...]: configures build/NAME, showing the log only
# when it fails.
lq_configure() {
  local name=$1; shift
  cmake -S "$root" -B "$build/$name" "$@" >"$build/$name-configure.log" 2>&1 ||
    { cat "$build/$name-configure.log"; exit 1; }
}

lq_configure_win() { lq_configure win -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake"; }

# lq_xvfb SCRIPT ARGS...: runs a bash script inside a fresh Xvfb screen and stops
# the build's Wine server afterwards, keeping the script's exit status.
lq_xvfb() {
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c "$1"'
    rc=$?
    WINEPREFIX="'"$build"'/win/wine/prefix" wineserver -k >/dev/null 2>&1
    exit $rc' "${@:2}"
}

# Helpers for a program's X window, on the display in DISPLAY.

# lq_xfind SECONDS PID SEARCH...: prints the first visible X window that
# `xdotool search SEARCH...` finds. It may be mapped a moment after Windows
# reports the window visible, so this waits up to SECONDS; it gives up early
# when process PID (if not empty) has ended.
lq_xfind() {
  local i id secs=$1 pid=$2; shift 2
  for i in $(seq $((secs * 5))); do
    [ -z "$pid" ] || kill -0 "$pid" 2>/dev/null || return 1
    id=$(xdotool search --onlyvisible "$@" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

# lq_xwindow NAME [SECONDS]: prints the X window of the top-level window titled
# NAME (Wine names it by the title), waiting up to SECONDS (default 10).
lq_xwindow() { lq_xfind "${2:-10}" "" --name "^$1\$"; }

# lq_wait_pid PID SECONDS: waits at most SECONDS for process PID (a child) to
# end, then sets LQ_STATUS to its exit status; fails if it still runs.
lq_wait_pid() {
  local i
  for i in $(seq $(($2 * 5))); do
    if ! kill -0 "$1" 2>/dev/null; then
      LQ_STATUS=0
      wait "$1" 2>/dev/null || LQ_STATUS=$?
      return 0
    fi
    sleep 0.2
  done
  return 1
}

# lq_quit PID SECONDS FOCUS...: quits process PID as a player does: the command
# FOCUS... brings its window to the front, then Escape (or the keys in
# LQ_QUIT_KEYS: "Escape alt+F4" also closes a game that keeps Escape), then up to SECONDS for
# the end (sets LQ_STATUS); at most three tries, as a window may lose the
# foreground before the key arrives. A failed try calls lq_quit_retry TRY when
# the caller defines it. No Escape goes out when FOCUS fails (no window).
lq_quit() {
  local pid=$1 secs=$2 try; shift 2
  for try in 1 2 3; do
    if "$@"; then xdotool key --delay 50 ${LQ_QUIT_KEYS:-Escape}; fi
    lq_wait_pid "$pid" "$secs" && return 0
    if declare -F lq_quit_retry >/dev/null; then lq_quit_retry "$try"; fi
  done
  return 1
}

# lq_xfocus WINDOW: gives WINDOW the X keyboard focus (a display without a window
# manager has nobody else to do it).
lq_xfocus() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; }

# lq_xshot WINDOW FILE: a screenshot of WINDOW ("root": the whole screen); at
# most 20 s, as a window that goes meanwhile can keep import waiting for ever.
lq_xshot() { timeout 20 import -window "$1" "$2" 2>/dev/null; }

# lq_sound_device: the program needs a sound device (else "InitSound : Failed").
# With a sound card or a sound server on this machine Wine plays on it; without
# one Wine gets a stand-in ALSA device that discards what it plays.
lq_sound_device() {
  if grep -qs '^ *[0-9]' /proc/asound/cards ||
     [ -S "${XDG_RUNTIME_DIR:-/run/user/$(id -u)}/pulse/native" ]; then
    export LQ_SOUND=machine
  else
    export LQ_SOUND_FILE=/dev/null
    echo "No sound device found: the sound goes to a stand-in device that discards it."
  fi
}
