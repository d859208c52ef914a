#!/usr/bin/env bash
# The long forms of the reliability runs (scripts/test.sh runs short ones):
#   scripts/reliability.sh [wav [N]] [vorbis [N]] [loss [N]] [soak [MINUTES]]
# With no argument all four: 10000 malformed WAV and Ogg files, 20000 crafted Ogg Vorbis
# headers through the decoder under the sanitizers, 1000 device-loss cycles on the
# recording fake, a 10-minute soak of the demo (docs/soak.png).
# See docs/reliability.md for what each asserts.
set -uo pipefail
source "$(dirname "$0")/common.sh"
[ $# -gt 0 ] || set -- wav vorbis loss soak
lq_setup
lq_configure_win
cmake --build "$build/win" -j "$jobs" --target wave_fuzz_test loss_cycles_test >/dev/null || exit 1

# Runs a test executable of the build under Wine and Xvfb, outside ctest's time
# limit, with a Wine state of its own (a test run meanwhile does not disturb it).
run_test() {  # folder (under build/win/tests), executable, environment...
  local dir=$1 exe=$2; shift 2
  lq_xvfb 'cd "$1" && env "${@:4}" "$2/tests/tools/wine-run.sh" "$3/wine-long" "./'"$exe"'"' _ \
    "$build/win/tests/$dir" "$root" "$build/win" "$@"
  local rc=$?
  WINEPREFIX="$build/win/wine-long/prefix" wineserver -k >/dev/null 2>&1
  return $rc
}

status=0
while [ $# -gt 0 ]; do
  what=$1; shift
  n=""
  if [ $# -gt 0 ] && [[ $1 =~ ^[0-9]+$ ]]; then n=$1; shift; fi
  echo "== $what"
  case $what in
    wav)  run_test sound wave_fuzz_test.exe LQ_WAVE_FILES="${n:-10000}" LQ_SOUND_FILE=/dev/null || status=1 ;;
    vorbis)
      lq_configure native
      cmake --build "$build/native" -j "$jobs" --target vorbis_setup_test >/dev/null || exit 1
      echo "decoding ${n:-20000} crafted headers natively (AddressSanitizer, UndefinedBehaviorSanitizer)"
      LQ_VORBIS_ROUNDS="${n:-20000}" "$build/native/tests/sound/vorbis_setup_test" || status=1 ;;
    loss) run_test graphics loss_cycles_test.exe LQ_LOSS_CYCLES="${n:-1000}" || status=1 ;;
    soak) "$root/scripts/soak.sh" --minutes "${n:-10}" || status=1 ;;
    *) echo "usage: scripts/reliability.sh [wav [N]] [vorbis [N]] [loss [N]] [soak [MINUTES]]" >&2; exit 2 ;;
  esac
done
exit $status
