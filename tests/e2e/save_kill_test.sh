#!/usr/bin/env bash
# Saves that survive kills: a program saving in a loop (tests/app/save_tool.cpp,
# saves of up to 4 MB) has its Wine process SIGKILLed at a random moment, KILLS
# times (12 by default). After each kill the save loads whole (0, or S_FALSE for
# the previous copy), no older than the last save that returned 0 and no newer
# than the last one begun. A save after the last kill leaves only the save and
# its previous copy. Then 1,000 damaged newest copies (cut short, emptied, bytes
# changed, sizes lying up to 4 GB) load the previous copy, or E_FAIL.
#   save_kill_test.sh BUILD_DIR SOURCE_DIR [KILLS]
LQ_EXE=tests/app/save_tool.exe
source "$(dirname "$0")/lib.sh"
KILLS=${3:-12}
GAME=LumaquillKillTest
cd "$LQ_ART/run" || exit 1
tool() { lq_wine ./save_tool.exe "$@" | tr -d '\r'; }
folder=$(lq_wine winepath -u "$(tool folder $GAME)" | tr -d '\r')
[ -d "$folder" ] || lq_fail "no save folder: $folder"
rm -rf "$folder"
last() { tr -d '\r' <save.log | grep "^$1" | tail -1 | cut -d' ' -f2; }

inside=0 previous=0
lq_log "killing the saving program $KILLS times"
for kill in $(seq "$KILLS"); do
  echo "begin 0" >>save.log
  "$LQ_SOURCE/tests/tools/wine-run.sh" "$LQ_STATE" ./save_tool.exe loop $GAME slot save.log \
    >>loop.log 2>&1 &
  pid=$!
  # The kill comes 0 to 1.5 s after this run's first save began.
  for _ in $(seq 300); do [ "$(last begin)" != 0 ] && break; sleep 0.1; done
  sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", r / 32768 * 1.5 }')"
  kill -0 $pid 2>/dev/null || lq_fail "the saving program ended by itself: $(tail -1 loop.log)"
  kill -KILL $pid
  wait $pid 2>/dev/null
  [ "$(tr -d '\r' <save.log | tail -1 | cut -d' ' -f1)" = begin ] && inside=$((inside + 1))
  saved=$(last saved) begun=$(last begin)
  read -r _ result _ seq _ _ <<<"$(tool load $GAME slot)"
  [ "$result" = 0x00000001 ] && previous=$((previous + 1))
  ok=0
  [[ $result =~ ^0x0000000[01]$ ]] && [ "$seq" -ge "${saved:-1}" ] && [ "$seq" -le "$begun" ] && ok=1
  # Killed in the first save of all: nothing to load, and rightly so.
  [ -z "$saved" ] && [ "$result" = 0x80070002 ] && ok=1
  [ $ok = 1 ] || lq_fail "kill $kill: load $result, save $seq (0: torn);" \
    "last saved ${saved:-none}, last begun $begun"
  [ $((kill % 25)) != 0 ] || lq_log "$kill kills so far, $inside of them inside a save"
done
lq_log "$KILLS kills, $inside of them inside a save; each time the save loaded whole and current" \
  "($previous times the previous copy); $(grep -c saved save.log) saves returned 0"

tool loop $GAME slot save.log 1 >/dev/null || lq_fail "a save after the kills failed"
files=$(ls -A "$folder" | tr '\n' ' ')
[ "$files" = ".slot.previous slot " ] || lq_fail "files left in the save folder: $files"
read -r _ result _ _ _ size <<<"$(tool load $GAME slot 3)"
[ "$result" = 0x8007007A ] && [ "$size" -gt 3 ] || lq_fail "a 3-byte buffer: $result, size $size"

result=$(tool damage $GAME bits 1000) || lq_fail "damaged copies: $result"
lq_log "$result"
