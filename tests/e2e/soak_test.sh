#!/usr/bin/env bash
# A long run of the demo, driven round and round by the virtual controller with
# the batch button pressed once a lap, sampled from outside every few seconds:
# after the warm-up (the first tenth of the run) the working set stays within
# 5 % of its first value and the handle count does not move; the program still
# quits on Escape at the end. The samples are drawn as a plot.
#   soak_test.sh BUILD_DIR SOURCE_DIR [SECONDS [PLOT.png]]   (30 s by default)
source "$(dirname "$0")/lib.sh"
SECONDS_RUN=${3:-30}
PLOT=${4:-$LQ_ART/soak.png}
INTERVAL=$(( SECONDS_RUN / 120 > 1 ? SECONDS_RUN / 120 : 1 ))
WARMUP=$(( SECONDS_RUN / 10 ))
COUNT=$(( SECONDS_RUN / INTERVAL + 1 ))

# Laps of 100 frames each way; at 25 frames a second or more this outlasts the run.
for _ in $(seq $(( SECONDS_RUN * 60 / 401 + 1 ))); do
  printf '1000 0 0 100\n0 1000 0 100\n-1000 0 0 100\n0 -1000 0 100\n0 0 1 1\n'
done > "$LQ_ART/run/pad.txt"
lq_start LQ_PAD_SCRIPT=pad.txt LQ_PAD_LOG=pad.log LQ_SOUND_FILE=/dev/null
lq_probe window Lumaquill 60 >/dev/null || lq_fail "no window titled Lumaquill"
xwin=$(lq_xwindow Lumaquill) || lq_fail "no X window named Lumaquill"
lq_focus "$xwin"
# The run is timed from the first frames: the start-up before them (texture
# warm-up, device) takes seconds of its own on a busy machine. Each frame writes
# "poll" to the pad log, or "refused" when the window is not in front.
log="$LQ_ART/run/pad.log"
frames() { tr -d '\r' 2>/dev/null <"$log" | grep -cE '^(poll|refused)'; }
for _ in $(seq 600); do [ "$(frames)" -ge 10 ] && break; sleep 0.1; done
[ "$(frames)" -ge 10 ] || lq_fail "fewer than 10 frames in a minute"

lq_log "sampling for ${SECONDS_RUN} s every ${INTERVAL} s (warm-up ${WARMUP} s)"
samples="$LQ_ART/samples.txt"
lq_probe memory Lumaquill "$INTERVAL" "$COUNT" > "$samples" &
probe=$!
# Should another window take the front, the steering stops (the frames go on):
# the window is brought back.
while kill -0 $probe 2>/dev/null; do
  sleep 5
  [ "$(tr -d '\r' 2>/dev/null <"$log" | tail -1 | cut -d' ' -f1)" = refused ] && lq_focus "$xwin"
done
wait $probe
[ "$(grep -c '^sample' "$samples")" = "$COUNT" ] ||
  lq_fail "the program ended during the run: $(tail -1 "$samples")"
lq_shot end
polls=$(tr -d '\r' <"$log" | grep -c '^poll')
lq_log "frames $(frames), of which $(( $(frames) - polls )) with the window not in front"

# Reference: the first sample after the warm-up. The handle count may blip by a
# handle or two for a sample (the runtime's own short-lived ones); flat means it
# never exceeds the reference by more and the last quarter of the run falls back.
verdict=$(awk -v w="$WARMUP" -v s="$SECONDS_RUN" '
  $1 == "sample" && $2 >= w {
    if (!n++) { ws = $3; h = $4; lo = hi = $3; hhi = $4; tail = 1e9 }
    if ($3 < lo) lo = $3; if ($3 > hi) hi = $3; if ($4 > hhi) hhi = $4
    if ($2 >= s * 0.75 && $4 < tail) tail = $4
  }
  END {
    printf "samples %d; working set %d KB at the reference, %d..%d KB (%+.2f%%..%+.2f%%);" \
           " handles %d, at most %d, %d in the last quarter\n", n, ws, lo, hi,
           (lo - ws) * 100 / ws, (hi - ws) * 100 / ws, h, hhi, tail
    exit !(n > 1 && lo >= ws * 0.95 && hi <= ws * 1.05 && hhi <= h + 2 && tail <= h)
  }' "$samples")
ok=$?
lq_log "$verdict"

gnuplot <<PLOT || lq_log "no plot drawn"
set terminal pngcairo size 900,600
set output "$PLOT"
set multiplot layout 2,1 title "Lumaquill demo under Wine: ${SECONDS_RUN} s, sampled every ${INTERVAL} s (dashed: end of warm-up)"
set xlabel "seconds"
set key off
set xrange [0:${SECONDS_RUN}]
set yrange [0:*]
set arrow from $WARMUP, graph 0 to $WARMUP, graph 1 nohead dashtype 2
set ylabel "working set (MB)"
plot "$samples" using 2:(\$3 / 1024) with linespoints pointtype 7 pointsize 0.4
set ylabel "handles"
plot "$samples" using 2:4 with steps linewidth 2
unset multiplot
PLOT

[ $ok = 0 ] || lq_fail "memory or handles moved after the warm-up: $verdict"
if lq_probe boxes 1 1 >/dev/null; then lq_fail "a message box appeared"; fi
lq_escape_ok "$xwin"
lq_log "Escape ended the program with status 0; plot: $PLOT"
