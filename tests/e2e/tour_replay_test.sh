#!/usr/bin/env bash
# A game's play recorded and replayed exactly: the tour plays 30 s of a script
# (keys, a modern pad, a typed name, bursts with random spark speeds) while it
# records the input it took; the recording, with the script's shot lines, is
# played twice more, the last time with the other core kept busy. The ten shots'
# CRCs are the same in all three runs, and the chime of the first burst is in the
# log at the frame of its key.
LQ_EXE=examples/tour/LumaquillTour.exe
LQ_TITLE="Lumaquill Tour"
source "$(dirname "$0")/lib.sh"
lq_tour_assets
best="$LQ_STATE/prefix/drive_c/users/$(id -un)/AppData/Roaming/Lumaquill Tour/best"

play() {  # play RUN SCRIPT [ENV...]: the tour plays SCRIPT; its log in RUN/
  rm -f "$best"  # each run starts from the same best score
  env LQ_WINE_STATE="$LQ_STATE" LQ_VIRTUAL_PAD=0 LQ_SOUND_FILE=/dev/null "${@:3}" \
    "$LQ_SOURCE/scripts/run-game.sh" "$LQ_ART/run/LumaquillTour.exe" --play "$2" --seconds 600 \
    --shots "$LQ_ART/$1" >"$LQ_ART/$1.log" 2>&1 || { cat "$LQ_ART/$1.log"; lq_fail "run $1 failed"; }
}
crcs() { tr -d '\r' <"$LQ_ART/$1/LumaquillTour-play/play.log" | awk '$3 == "shot" { printf "%s=%s ", $4, $6 }'; }

play recorded "$LQ_SOURCE/tests/e2e/tour_play.play" LQ_RECORD="Z:$LQ_ART/recording.play"
[ -s "$LQ_ART/recording.play" ] || lq_fail "nothing recorded"
grep -q '^seed [0-9]' "$LQ_ART/recording.play" || lq_fail "the recording has no seed"
# The recording plus the script's shots, in frame order.
{ grep -v '^#' "$LQ_ART/recording.play"; grep ' shot ' "$LQ_SOURCE/tests/e2e/tour_play.play"; } |
  awk '/^frame/ { print $2, NR, $0; next } { print 0, NR, $0 }' | sort -n -k1,1 -k2,2 |
  cut -d' ' -f3- >"$LQ_ART/replay.play"
play replayed "$LQ_ART/replay.play"
# The other core busy for the third run: a replay does not depend on the frame rate.
(while :; do :; done) &
busy=$!
trap 'kill "$busy" 2>/dev/null' EXIT
play loaded "$LQ_ART/replay.play"
kill "$busy"

first=$(crcs recorded)
lq_log "recorded: $first"
[ "$(wc -w <<<"$first")" = 10 ] || lq_fail "ten shots expected in the recorded run: $first"
for run in replayed loaded; do
  [ "$(crcs $run)" = "$first" ] || lq_fail "the $run run's shots differ: $(crcs $run)"
done
lq_log "the replay, twice (once with the other core busy), gave the same ten shots"
# The first burst's chime (Z at frame 150) is a voice started in that frame.
sound=$(tr -d '\r' <"$LQ_ART/recorded/LumaquillTour-play/play.log" | grep '^frame 150 sound slot 1 ')
[ -n "$sound" ] || lq_fail "no chime at frame 150 in the log"
lq_log "in the log: $sound"
