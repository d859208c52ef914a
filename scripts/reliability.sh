#!/usr/bin/env bash
# The long forms of the reliability runs (scripts/test.sh runs short ones):
#   scripts/reliability.sh [wav [N]] [vorbis [N]] [image [N]] [loss [N]] [soak [MINUTES]]
#                          [saves [KILLS]] [fuzz [N]]
# fuzz: every libFuzzer target (the parsers of files a player can hand a game)
# for N executions each (default 10000000), from the corpus the short runs grew,
# on every core (LQ_FUZZ_ONLY=NAME: that target alone).
# With no argument all seven: 10000 malformed WAV and Ogg files, 20000 crafted Ogg
# Vorbis headers through the decoder under the sanitizers, 1000 damaged and
# crafted images (natively under the sanitizers, then through LoadTexture under
# Wine), 1000 device-loss cycles on the recording fake, a 10-minute soak of the
# demo (docs/soak.png), a program killed 200 times while it saves.
# See docs/reliability.md for what each asserts.
set -uo pipefail
source "$(dirname "$0")/common.sh"
[ $# -gt 0 ] || set -- wav vorbis image loss soak saves fuzz
lq_setup
if grep -qE '(^| )(wav|image|loss|saves)( |$)' <<<"$*"; then  # the Windows programs they run
  lq_configure_win
  cmake --build "$build/win" -j "$jobs" --target wave_fuzz_test loss_cycles_test texture_fuzz_test \
    save_tool \
    >/dev/null || exit 1
fi

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
    image)
      lq_configure native
      cmake --build "$build/native" -j "$jobs" --target image_decode_test >/dev/null || exit 1
      ASAN_OPTIONS=max_allocation_size_mb=64 LQ_IMAGE_FILES="${n:-1000}" \
        "$build/native/tests/graphics/image_decode_test" --gtest_filter='*Damaged*' || status=1
      run_test graphics texture_fuzz_test.exe LQ_IMAGE_FILES="${n:-1000}" || status=1 ;;
    loss) run_test graphics loss_cycles_test.exe LQ_LOSS_CYCLES="${n:-1000}" || status=1 ;;
    soak) "$root/scripts/soak.sh" --minutes "${n:-10}" || status=1 ;;
    saves)  # its artefacts in build/win/e2e/save_kill_long/
      lq_xvfb 'LQ_ART_NAME=save_kill_long LQ_WINE_STATE="$2/wine-long" \
        bash "$1/tests/e2e/save_kill_test.sh" "$2" "$1" "$3"' _ "$root" "$build/win" "${n:-200}" ||
        status=1
      WINEPREFIX="$build/win/wine-long/prefix" wineserver -k >/dev/null 2>&1 ;;
    fuzz)  # the figures of each target: executions, edges, corpus, time
      lq_configure fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLUMAQUILL_FUZZ=ON
      cmake --build "$build/fuzz" -j "$jobs" >/dev/null || exit 1
      echo "fuzzing each parser for ${n:-10000000} executions on $jobs cores (hours in all;" \
           "LQ_FUZZ_ONLY=ogg_fuzz for one)"
      LQ_FUZZ_RUNS="${n:-10000000}" LQ_FUZZ_JOBS=$jobs \
        ctest --test-dir "$build/fuzz" -V -R "${LQ_FUZZ_ONLY:-_fuzz}" >"$build/fuzz/long.log" 2>&1 ||
        status=1
      grep -E '_fuzz: |tests passed|Failed' "$build/fuzz/long.log"
      echo "(whole log: $build/fuzz/long.log)" ;;
    *) echo "usage: scripts/reliability.sh [wav [N]] [vorbis [N]] [image [N]] [loss [N]] [soak [MINUTES]] [saves [KILLS]] [fuzz [N]]" >&2
       exit 2 ;;
  esac
done
exit $status
