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
# 255 is played for real too). The recording is NAME.wav: no input may bear it.
scenarios=(
  "static load 255 two_tones.wav play 255 wait 1500 stop 255 wait 500 play 255 wait 2500"
  "stream stream 0 tones.wav play 0 wait 12000"
  "extra stream 0 tones_extra.wav play 0 wait 12000"
  "resume stream 7 tones.wav play 7 wait 2500 stop 7 wait 1000 play 7 wait 2000"
  "loop stream 3 short.wav loop 3 1 play 3 wait 10000 playing 3 1 stop 3 playing 3 0"
  "short8 stream 4 tone8.wav play 4 playing 4 1 wait 2000 playing 4 0 wait 5000"
  "odd stream 5 stray.wav loop 5 1 play 5 wait 3800"
  "mix load 1 level.wav play 1 playing 1 1 wait 1300 playing 1 0 volume 1 -600 play 1 wait 1300 volume 1 0 pan 1 -10000 play 1 wait 1300 pan 1 0 freq 1 44100 play 1 wait 900"
  "voices load 2 halves.wav voice 2 wait 500 voice 2 wait 1500"
  "stopvoices load 2 level.wav voice 2 voice 2 wait 300 stop 2 playing 2 0 wait 1500"
  "ownvoices load 9 long.wav own 9 -10000,0 own 9 0,33075 wait 1000 vstop 0 vgone 0 vplaying 1 1 vvolume 1 -600 wait 2000 vplaying 1 0 vgone 1 playing 9 0"
  "lateloop stream 4 tone8.wav play 4 wait 1500 playing 4 0 loop 4 1 wait 5500 playing 4 1"
  "oggstream stream 6 tones8.ogg play 6 playing 6 1 wait 10500 playing 6 0"
  "oggloop stream 3 short.ogg loop 3 1 play 3 wait 10000"
  "oggdamaged stream 8 damaged.ogg play 8 wait 9000"
  "oggstatic load 200 two_tones.ogg play 200 wait 1500 stop 200 wait 500 play 200 wait 2500"
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
