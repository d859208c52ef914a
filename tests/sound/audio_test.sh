#!/usr/bin/env bash
# Plays each scenario through sound_player.exe under Wine, whose ALSA device is
# the recorder of wine-run.sh, then checks the recording (audio_check.py).
#   audio_test.sh BUILD_DIR SOURCE_DIR
set -u
build=$1 source=$2
art="$build/e2e/audio_test"
rm -rf "$art" && mkdir -p "$art"
python3 "$source/tests/sound/audio_check.py" make "$art" || exit 1
# Each scenario: its name, then the player's commands (slot numbers vary so that
# 255 is played for real too).
scenarios=(
  "static load 255 two_tones.wav play 255 wait 1500 stop 255 wait 500 play 255 wait 2500"
  "stream stream 0 tones.wav play 0 wait 12000"
  "extra stream 0 tones_extra.wav play 0 wait 12000"
  "resume stream 7 tones.wav play 7 wait 2500 stop 7 wait 1000 play 7 wait 2000"
  "loop stream 3 short.wav loop 3 1 play 3 wait 10000"
  "short8 stream 4 short8.wav play 4 wait 7000"
  "odd stream 5 stray.wav loop 5 1 play 5 wait 3800"
)
status=0
for line in "${scenarios[@]}"; do
  read -r scenario commands <<<"$line"
  echo "== $scenario: $commands"
  (cd "$art" && LQ_SOUND_FILE="$art/$scenario.wav" "$source/tests/tools/wine-run.sh" \
     "$build/wine" "$build/tests/sound/sound_player.exe" $commands \
     >"$art/$scenario.log" 2>&1 </dev/null)
  rc=$?
  cat "$art/$scenario.log"
  [ $rc -eq 0 ] || { echo "sound_player: exit status $rc"; status=1; continue; }
  python3 "$source/tests/sound/audio_check.py" check "$scenario" "$art/$scenario.wav" || status=1
done
exit $status
