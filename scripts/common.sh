# Shared steps of the scripts: install what is missing, configure the builds.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${LQ_BUILD:-$root/build}
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

# lq_xwindow NAME [SECONDS]: prints the X window of the top-level window titled
# NAME (Wine names it by the title). It may be mapped a moment after Windows
# reports the window visible, so this waits up to SECONDS (default 10).
lq_xwindow() {
  local i id
  for i in $(seq $((${2:-10} * 5))); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}

# lq_xfocus WINDOW: gives WINDOW the X keyboard focus (a display without a window
# manager has nobody else to do it).
lq_xfocus() { xdotool windowfocus --sync "$1" 2>/dev/null || xdotool windowfocus "$1"; }

# lq_xshot WINDOW FILE: a screenshot of WINDOW ("root": the whole screen).
lq_xshot() { import -window "$1" "$2" 2>/dev/null; }

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
