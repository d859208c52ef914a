#!/usr/bin/env bash
# Saves that survive kills: a program saving in a loop (tests/app/save_tool.cpp,
# saves of up to 4 MB) has its Wine process SIGKILLed at a random moment, KILLS
# times (12 by default). After each kill the save loads whole (0, or S_FALSE for
# the previous copy), no older than the last save that returned 0 and no newer
# than the last one begun. A save after the last kill leaves only the save and
# its previous copy in the folder. Then 1,000 damaged newest copies (cut short,
# emptied, bytes changed, sizes lying up to 4 GB) each load the previous copy
# with S_FALSE, or E_FAIL when that one is damaged too.
#   save_kill_test.sh BUILD_DIR SOURCE_DIR [KILLS]
LQ_EXE=tests/app/save_tool.exe
source "$(dirname "$0")/lib.sh"
KILLS=${3:-12}
GAME=LumaquillKillTest
cd "$LQ_ART/run" || exit 1
tool() { lq_wine ./save_tool.exe "$@" | tr -d '\r'; }
folder=$(tool folder $GAME) || lq_fail "no save folder: $folder"
folder=$(lq_wine winepath -u "$folder" | tr -d '\r')
rm -rf "${folder:?}"
log=save.log
rm -f $log

lines() { tr -d '\r' <$log 2>/dev/null | grep -c "^$1"; }
last() { tr -d '\r' <$log 2>/dev/null | grep "^$1" | tail -1 | cut -d' ' -f2; }
inside=0 previous=0
lq_log "killing the saving program $KILLS times"
for kill in $(seq "$KILLS"); do
  begun=$(lines begin)
  "$LQ_SOURCE/tests/tools/wine-run.sh" "$LQ_STATE" ./save_tool.exe loop $GAME slot $log \
    >>loop.log 2>&1 &
  pid=$!
  # The kill comes 0 to 1.5 s after this run's first save began.
  for _ in $(seq 300); do [ "$(lines begin)" -gt "$begun" ] && break; sleep 0.1; done
  sleep "$(awk -v r=$RANDOM 'BEGIN { printf "%.3f", r / 32768 * 1.5 }')"
  kill -0 $pid 2>/dev/null || lq_fail "the saving program ended by itself: $(tail -1 loop.log)"
  kill -KILL $pid
  wait $pid 2>/dev/null
  [ "$(tr -d '\r' <$log | tail -1 | cut -d' ' -f1)" = begin ] && inside=$((inside + 1))
  saved=$(last saved) started=$(last begin)
  read -r _ result _ seq _ _ _ intact <<<"$(tool load $GAME slot)"
  [ "$result" = 0x00000001 ] && previous=$((previous + 1))
  if [ "$result" != 0x00000000 ] && [ "$result" != 0x00000001 ] || [ "$intact" != 1 ] ||
     [ "$seq" -lt "${saved:-0}" ] || [ "$seq" -gt "$started" ]; then
    ls -la "$folder" >"$LQ_ART/folder.txt"
    lq_fail "kill $kill: load $result, save $seq, intact $intact; last saved ${saved:-none}," \
      "last begun $started (files: folder.txt)"
  fi
done
lq_log "$KILLS kills, $inside of them inside a save; every load whole and current" \
  "($previous of them the previous copy); $(lines saved) saves returned 0"

tool loop $GAME slot $log 1 >/dev/null || lq_fail "a save after the kills failed"
files=$(ls -A "$folder" | tr '\n' ' ')
[ "$files" = ".slot.previous slot " ] || lq_fail "files left in the save folder: $files"

result=$(tool damage $GAME bits 1000) || lq_fail "damaged copies: $result"
lq_log "$result"
