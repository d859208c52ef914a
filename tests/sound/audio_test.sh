#!/usr/bin/env bash
# Plays each scenario of sound_player.exe under Wine with the ALSA recorder as
# the sound device, then checks the recording (tests/sound/audio_check.py).
#   audio_test.sh BUILD_DIR SOURCE_DIR
set -u
build=$1 source=$2
art="$build/e2e/audio_test"
rm -rf "$art" && mkdir -p "$art"
python3 "$source/tests/sound/audio_check.py" make "$art" || exit 1
status=0
for scenario in static stream extra resume loop short8; do
  echo "== $scenario"
  (cd "$art" && LQ_SOUND_FILE="$art/$scenario.wav" "$source/tests/tools/wine-run.sh" \
     "$build/wine" "$build/tests/sound/sound_player.exe" "$scenario" \
     >"$art/$scenario.log" 2>&1 </dev/null)
  rc=$?
  cat "$art/$scenario.log"
  [ $rc -eq 0 ] || { echo "sound_player $scenario: exit status $rc"; status=1; continue; }
  python3 "$source/tests/sound/audio_check.py" check "$scenario" "$art/$scenario.wav" || status=1
done
exit $status
