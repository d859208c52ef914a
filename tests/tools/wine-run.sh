#!/usr/bin/env bash
# Runs a Windows program under Wine with a prefix and HOME of the build's own.
#   wine-run.sh STATE_DIR PROGRAM [ARGS...]
# The prefix is created on first use, and Wine's server is kept alive (-p) so that
# each test process starts in about a second. The first start happens here with
# its output sent to a log file: Wine's helper processes inherit that output, and
# would otherwise hold the caller's pipe open for as long as the server lives.
set -u
state=$1; shift
mkdir -p "$state/home"
export WINEPREFIX="$state/prefix"
export HOME="$state/home"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEARCH=win32
# No download prompts for runtimes this program never uses.
export WINEDLLOVERRIDES="mscoree,mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"

# Sound: Wine plays into ALSA's default device, and InitSound fails without one.
# Unless LQ_SOUND=machine asks for the machine's own device, or this HOME already
# has an ALSA configuration, the default device is a recorder: everything the
# program plays is written in real time to $LQ_SOUND_FILE (default
# STATE_DIR/sound.wav) as a WAV file, rewritten by each program that opens the
# device; sound-pace.py gives it a header that says what it holds.
asoundrc="$HOME/.asoundrc"
if [ "${LQ_SOUND:-}" = machine ]; then
  if grep -qs '^# lumaquill recorder' "$asoundrc"; then rm -f "$asoundrc"; fi
elif [ ! -f "$asoundrc" ]; then
  cat >"$asoundrc" <<EOF
# lumaquill recorder (written by wine-run.sh)
pcm.!default {
  type file
  slave.pcm "null"
  file { @func concat strings [
    "|python3 '$(cd "$(dirname "$0")" && pwd)/sound-pace.py' '"
    { @func getenv vars [ LQ_SOUND_FILE ] default "$(cd "$state" && pwd)/sound.wav" } "'" ] }
  format "wav"
}
EOF
fi

if [ -z "${DISPLAY:-}" ]; then
  echo "wine-run: no DISPLAY; run the tests through scripts/test.sh (it starts Xvfb)" >&2
  exit 2
fi

(
  flock 9
  # A server left from a run on another display would hand out dead windows.
  if [ -f "$state/display" ] && [ "$(cat "$state/display")" != "$DISPLAY" ]; then
    wineserver -k >/dev/null 2>&1 9>&- || true
    wineserver -w >/dev/null 2>&1 || true
  fi
  mkdir -p "$WINEPREFIX"
  # Exit status 0: a new server was started (2: one already serves this prefix).
  wineserver -p >>"$state/wineserver.log" 2>&1 </dev/null 9>&-
  started=$?
  if [ "$started" -eq 0 ] || [ ! -f "$WINEPREFIX/system.reg" ]; then
    wine wineboot -i >>"$state/wineboot.log" 2>&1 </dev/null 9>&-
    # Xvfb runs no window manager; Wine would wait 2 s on every DestroyWindow for
    # one to withdraw the window. Wine manages its windows itself instead.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
      >>"$state/wineboot.log" 2>&1 </dev/null 9>&-
    # A crash of some background process must not put a dialog in front of the
    # program under test (whose input reads only in the foreground); a crash of
    # the program itself still shows in its exit status and its test.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >>"$state/wineboot.log" 2>&1 </dev/null 9>&-
  fi
  echo "$DISPLAY" > "$state/display"
) 9>"$state/lock"

exec wine "$@"
