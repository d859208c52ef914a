#!/usr/bin/env bash
# The demo command on a machine without a display: it runs the demo for the time
# asked, leaves a screenshot showing the swarm and an animation, and nothing it
# started keeps running; a Ctrl-C midway also leaves nothing running.
source "$(dirname "$0")/lib.sh"
shot_py="$LQ_SOURCE/tests/tools/shot.py"

# The command builds into <folder>/win, the folder the tests run from.
[ "$(basename "$LQ_BUILD")" = win ] || { lq_log "skipped: the build folder is not named win"; exit 77; }
out=$(dirname "$LQ_BUILD")
# Every process the command starts inherits this variable, Wine's included.
tag="run-demo-test-$$"
left() { grep -lsz "^LQ_RUN_TAG=$tag\$" /proc/[0-9]*/environ | cut -d/ -f3; }
running() { local p; for p in $(left); do ps -o pid=,args= -p "$p"; done; }
demo() {  # log name, then the command's arguments
  local log=$1; shift
  env -u DISPLAY LQ_RUN_TAG=$tag LQ_BUILD="$out" "$LQ_SOURCE/scripts/run-demo.sh" "$@" \
    >"$LQ_ART/$log.log" 2>&1 </dev/null
}

rm -f "$out/demo.png" "$out/demo.gif"
demo timed --seconds 4
status=$?
cat "$LQ_ART/timed.log"
[ "$status" = 0 ] || lq_fail "exit status $status"
[ -z "$(left)" ] || lq_fail "still running after the command: $(running)"
png=$(sed -n 's/^Screenshot: //p' "$LQ_ART/timed.log")
gif=$(sed -n 's/^Animation: *\([^ ]*\).*/\1/p' "$LQ_ART/timed.log")
[ "$png" = "$out/demo.png" ] && [ -s "$png" ] || lq_fail "no screenshot: '$png'"
[ "$gif" = "$out/demo.gif" ] && [ -s "$gif" ] || lq_fail "no animation: '$gif'"
frames=$(identify "$gif" | wc -l)
[ "$frames" -ge 2 ] || lq_fail "the animation has $frames frame(s)"
# Inside the window's frame: the swarm (white) and the player (blue).
white=$(python3 "$shot_py" blob "$png" 10 30 780 580 150 150 150 255 255 255 | cut -d' ' -f2)
blue=$(python3 "$shot_py" blob "$png" 10 30 780 580 0 0 150 70 70 255 | cut -d' ' -f2)
lq_log "screenshot: $white swarm pixels, $blue player pixels; animation: $frames frames"
[ "$white" -gt 1000 ] && [ "$blue" -gt 300 ] || lq_fail "no swarm or player in $png"

# Ctrl-C reaches the command's whole process group; job control gives it one.
set -m
rm -rf "$out/demo-frames"
demo interrupted --seconds 60 &
pid=$!
for i in $(seq 600); do
  [ -s "$out/demo-frames/0001.png" ] || ! kill -0 "$pid" 2>/dev/null && break
  sleep 0.2
done
running >"$LQ_ART/running.txt"
grep -q Xvfb "$LQ_ART/running.txt" && grep -q Lumaquill.exe "$LQ_ART/running.txt" ||
  { kill -TERM "$pid" 2>/dev/null; wait "$pid"; cat "$LQ_ART/interrupted.log"
    lq_fail "demo not running: $(cat "$LQ_ART/running.txt")"; }
kill -INT -- -"$pid"
wait "$pid"
status=$?
cat "$LQ_ART/interrupted.log"
[ "$status" = 130 ] || lq_fail "exit status $status after Ctrl-C"
[ -z "$(left)" ] || lq_fail "still running after Ctrl-C: $(running)"
lq_log "Ctrl-C stopped $(wc -l <"$LQ_ART/running.txt") processes, status 130"
