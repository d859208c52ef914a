#!/usr/bin/env bash
# Play scripts inside the game, through run-game.sh --play: every event kind of
# the format reaches the input probe by the calls a game already makes, at its
# frame, whatever real input does; a seed line gives the same random numbers; a
# bad line is named in the log, stops the script there, and the game goes on.
LQ_EXE=tests/e2e/InputProbe.exe
LQ_TITLE="Input Probe"
source "$(dirname "$0")/lib.sh"
out="$LQ_ART/run/InputProbe.log"
lines() { tr -d '\r' <"$1" | grep "$2"; }
play() {  # play SCRIPT-TEXT [SECONDS]: runs the probe with it; the run's status
  printf '%s\n' "$1" >"$LQ_ART/run/probe.play"
  LQ_WINE_STATE="$LQ_STATE" LQ_VIRTUAL_PAD=0 LQ_SOUND_FILE=/dev/null \
    "$LQ_SOURCE/scripts/run-game.sh" "$LQ_ART/run/InputProbe.exe" --play "$LQ_ART/run/probe.play" \
    --seconds "${2:-120}" >"$LQ_ART/run.log" 2>&1
}
# What the probe printed, from its first line of a kind, in order.
expect() {
  local got
  got=$(lines "$out" "$1" | tr '\n' ';')
  [ "$got" = "$2" ] || lq_fail "expected '$2' for $1, got '$got'"
}

play 'seed 7
frame 3 key down LEFT
frame 5 key up LEFT
frame 6 key tap 0x39
frame 7 text Zoë\s\#
frame 8 pad 1 connect
frame 9 pad 1 buttons A START leftx 1000 lefty -500 lt 255 rt 10
frame 10 pad 1 disconnect
frame 11 mouse 100 50
frame 12 click right
frame 13 wheel -2
frame 14 focus lost
frame 15 focus back
frame 16 shot probe
frame 20 close' || { cat "$LQ_ART/run.log"; lq_fail "the script did not play"; }
cat "$LQ_ART/run.log"
expect '^key' 'key CB;key 39;'
expect '^pressed' 'pressed 00004;pressed 08109;'
expect '^text' 'text 5A 6F C3 AB 20 23;'
# Pad 1's state: its sticks read as written, the D-pad none, the triggers as
# given (10 is under the pad's threshold: 0).
expect '^state 1' 'state 1 00000 0 0 0 0 0 0;state 1 08109 1000 -500 0 0 255 0;'
expect '^mouse' 'mouse 0 0;mouse 100 50;'
expect '^click' 'click 1 down;'
expect '^wheel' 'wheel -240;'
expect '^active' 'active 1;active 0;active 1;'
log="$LQ_ART/run/InputProbe-play/play.log"
lines "$log" '^frame 16 shot probe crc [0-9A-F]\{8\} size 320x240$' >/dev/null || lq_fail "no shot in $log"
[ -f "$LQ_ART/run/InputProbe-play/probe.png" ] || lq_fail "no probe.png beside the log"
lines "$log" '^frame 20 close$' >/dev/null && lines "$log" '^frame 20 end$' >/dev/null ||
  lq_fail "the close at frame 20 not in the log: $(tr '\n' ';' <"$log")"
random=$(lines "$out" '^random')
lq_log "every event kind reached the probe; $random after seed 7"

# The same seed, the same numbers; a bad line named, the script stopped there,
# the game going on (closed by run-game.sh after 90 s, time enough to start on a
# busy machine; the run fails).
play 'seed 7
frame 5 key tap A
frame 20 key tap NOPE
frame 25 key tap B
frame 30 close' 90 && lq_fail "a script with a bad line passed"
grep -q 'line 3: unknown key .NOPE.' "$LQ_ART/run.log" || { cat "$LQ_ART/run.log"; lq_fail "the bad line was not named"; }
# A, and not B after the bad line (Alt is run-game.sh's Alt+F4, real input again).
[ "$(lines "$out" '^key' | head -1)" = "key 1E" ] && ! lines "$out" '^key 30' >/dev/null ||
  lq_fail "keys around the bad line: $(lines "$out" '^key' | tr '\n' ';')"
lines "$log" '^frame 6 end$' >/dev/null || lq_fail "the script did not stop at its bad line: $(tr '\n' ';' <"$log")"
[ "$(lines "$out" '^random')" = "$random" ] || lq_fail "seed 7 gave $(lines "$out" '^random'), before $random"
lq_log "a bad line: $(lines "$log" '^line'); the game went on with real input; seed 7 again $random"
