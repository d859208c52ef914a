#!/usr/bin/env bash
# Frame rate of the demo under Wine and Xvfb, immediate and batched, beside the
# bare Direct3D 9 program that draws the same frame (bench/frame_reference.cpp),
# then frame time and the cost of appending to the batch against the number of
# quads, plotted into docs/frame-scaling.png.
#   scripts/bench-frame.sh          (called by scripts/bench.sh too)
# Settings: LQ_BENCH_RUNS runs of each program and mode (3); LQ_BENCH_SKIP frame
# rate reports skipped as warm-up after the mode is set (2, of 1.5 s each);
# LQ_BENCH_TAKE reports kept per run (4); LQ_BENCH_SCALE_SECONDS run time of each
# point of the scaling (3); LQ_BENCH_PLOT=0 leaves docs/ alone.
set -uo pipefail
source "$(dirname "$0")/common.sh"

if [ "${1:-}" != --inside ]; then
  lq_setup
  lq_configure_win
  cmake --build "$build/win" -j "$jobs" --target Lumaquill virtual_pad lqprobe frame_reference \
    quad_bench >"$build/bench-frame-build.log" 2>&1 ||
    { tail -40 "$build/bench-frame-build.log"; exit 1; }
  lq_xvfb '"$1" --inside' _ "$root/scripts/bench-frame.sh"
  exit $?
fi

# Inside Xvfb from here on. The end-to-end helpers start the demo with the
# virtual controller and bring windows to the front.
set -- "$build/win" "$root"
source "$root/tests/e2e/lib.sh"
rm -rf "$LQ_ART"
LQ_NAME=bench-frame
LQ_ART="$LQ_BUILD/bench/frame"
rm -rf "$LQ_ART"
mkdir -p "$LQ_ART/run"
cp "$LQ_BUILD/demo/Lumaquill.exe" "$LQ_BUILD/demo/test.bmp" "$LQ_BUILD/bench/frame_reference.exe" \
  "$LQ_ART/run/"

RUNS=${LQ_BENCH_RUNS:-3}
SKIP=${LQ_BENCH_SKIP:-2}
TAKE=${LQ_BENCH_TAKE:-4}
SCALE_SECONDS=${LQ_BENCH_SCALE_SECONDS:-3}
BARE=(--no-glow --no-texture)

# Wine's own frame rate reports ("@ approx N fps", about every 1.5 s) from a
# log, one figure a line. The first report of a run reads 0 and is dropped.
figures() {
  tr -d '\r' 2>/dev/null <"$1" | grep 'wined3d.*present.* @ approx' |
    sed 's/.*@ approx \([0-9.]*\)fps.*/\1/' | tail -n +2
}
count() { figures "$1" | wc -l; }
median() {
  sort -g | awk '{ v[NR] = $1 }
    END { if (NR) print (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }'
}
best() { sort -g | tail -1; }
kept() { head -n "$TAKE" | tr '\n' ' '; }

# Ends the program of process $1 (window title $2) with Escape, or kills it.
front() {
  local xwin
  xwin=$(lq_xwindow "$1" 1) || return 1
  lq_xfocus "$xwin"
  lq_probe front "$1" >/dev/null
}
finish() {
  local pid=$1 title=$2
  lq_quit "$pid" 5 front "$title" && return 0
  echo "  ($title did not end on Escape: killed)" >&2
  kill "$pid" 2>/dev/null
  wait "$pid" 2>/dev/null
}

# Waits until log $1 holds $2 reports (at most $3 s, while process $4 lives).
wait_reports() {
  local t=0
  until [ "$(count "$1")" -ge "$2" ]; do
    kill -0 "$4" 2>/dev/null || return 1
    sleep 0.5; t=$((t + 1))
    [ $t -ge $(($3 * 2)) ] && return 1
  done
}

# One run of the demo in MODE (immediate or batched): prints its kept reports.
# The pad script holds button 0 for the first frame the program reads in batched
# mode; the warm-up is counted from that frame on.
run_demo() {
  local mode=$1 log="$LQ_ART/demo-$1-$2.log" pad="$LQ_ART/run/pad.log" base
  rm -f "$pad"
  if [ "$mode" = batched ]; then printf '0 0 1 1\n' >"$LQ_ART/run/pad.txt"
  else printf '0 0 0 1\n' >"$LQ_ART/run/pad.txt"; fi
  lq_start WINEDEBUG=-all,fps LQ_PAD_SCRIPT=pad.txt LQ_PAD_LOG=pad.log
  local pid=$LQ_PID xwin
  xwin=$(lq_xwindow Lumaquill) && lq_focus "$xwin"
  local t=0
  until tr -d '\r' 2>/dev/null <"$pad" | grep -q '^poll 1 '; do
    sleep 0.2; t=$((t + 1))
    if [ $t -ge 150 ] || ! kill -0 "$pid" 2>/dev/null; then
      echo "  (demo $mode run $2: the controller was never read)" >&2
      finish "$pid" Lumaquill; LQ_PID=""; return 1
    fi
    [ $((t % 25)) = 0 ] && [ -n "$xwin" ] && lq_focus "$xwin"
  done
  base=$(count "$LQ_ART/program.log")
  wait_reports "$LQ_ART/program.log" $((base + SKIP + TAKE)) 120 "$pid"
  finish "$pid" Lumaquill; LQ_PID=""
  cp "$LQ_ART/program.log" "$log"
  figures "$log" | tail -n +$((base + SKIP + 1)) | kept
}

# One run of the reference with the given options, measured as the demo is.
run_reference() {
  local name=$1 log="$LQ_ART/reference-$1.log"; shift
  (cd "$LQ_ART/run" && exec env WINEDEBUG=-all,fps "$LQ_SOURCE/tests/tools/wine-run.sh" \
     "$LQ_STATE" ./frame_reference.exe "$@" >"$log" 2>&1 </dev/null) &
  local pid=$!
  wait_reports "$log" $((SKIP + TAKE)) 120 "$pid"
  finish "$pid" frame_reference
  figures "$log" | tail -n +$((SKIP + 1)) | kept
}

# Each round runs every program once, one after another, so that the load of
# other work on the machine falls on all of them alike.
declare -A fps all
rows=(demo-immediate ref-immediate ref-bare-immediate demo-batched ref-batched ref-bare-batched)
measure() {  # ROW FIGURES...: one run's reports
  local row=$1; shift
  all[$row]+=" $*"
  fps[$row]+=" $(printf '%s\n' "$@" | grep . | median)"
}
load() { echo "load average $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"; }
echo "== measured with $(load) (other work on the machine makes the figures noisy)"
echo "== frame rate under Wine (fps, median of $TAKE reports per run after $SKIP skipped;" \
  "$RUNS runs)"
for run in $(seq "$RUNS"); do
  measure demo-immediate $(run_demo immediate "$run")
  measure ref-immediate $(run_reference "full-immediate-$run" --immediate)
  measure ref-bare-immediate $(run_reference "bare-immediate-$run" --immediate "${BARE[@]}")
  measure demo-batched $(run_demo batched "$run")
  measure ref-batched $(run_reference "full-batched-$run")
  measure ref-bare-batched $(run_reference "bare-batched-$run" "${BARE[@]}")
done

declare -A med top
label() {
  case $1 in
    demo-*) echo "demo (Lumaquill.exe)" ;;
    ref-bare-*) echo "reference, untextured, no glow" ;;
    ref-*) echo "reference, full frame" ;;
  esac
}
printf '%-32s %-10s %-30s %7s %7s\n' program mode "run medians (fps)" median best
for row in "${rows[@]}"; do
  med[$row]=$(tr ' ' '\n' <<<"${fps[$row]}" | grep . | median)
  top[$row]=$(tr ' ' '\n' <<<"${all[$row]}" | grep . | best)
  printf '%-32s %-10s %-30s %7s %7s\n' "$(label "$row")" "${row##*-}" "${fps[$row]# }" \
    "${med[$row]:-n/a}" "${top[$row]:-n/a}"
done
# ratio A B: the ratio of A's run to B's run of the same round, for each round
# (runs of one round are minutes apart at most, so the load of the machine
# changes less between them), then the median of those ratios, and the ratio
# of the best reports.
ratio() {
  awk -v a="${fps[$1]}" -v b="${fps[$2]}" -v c="${top[$1]:-0}" -v d="${top[$2]:-0}" '
    function r(x, y) { return x > 0 && y > 0 ? sprintf("%.2f", x / y) : "n/a" }
    BEGIN {
      n = split(a, x, " "); split(b, y, " "); k = 0; list = ""
      for (i = 1; i <= n; i++) {
        if (x[i] > 0 && y[i] > 0) { v[++k] = x[i] / y[i]; list = list sprintf(" %.2f", v[k]) }
      }
      for (i = 1; i <= k; i++) {
        for (j = i + 1; j <= k; j++) if (v[j] < v[i]) { t = v[i]; v[i] = v[j]; v[j] = t }
      }
      m = k ? sprintf("%.2f", (v[int((k + 1) / 2)] + v[int(k / 2) + 1]) / 2) : "n/a"
      printf "%s (rounds%s; best %s)", m, list, r(c, d)
    }'
}
echo "demo / reference (fps ratio, median of the rounds; goal: batched 0.95 or better):"
printf '  %-46s\n    immediate %s\n    batched   %s\n' \
  "against the untextured reference without glow:" \
  "$(ratio demo-immediate ref-bare-immediate)" "$(ratio demo-batched ref-bare-batched)"
printf '  %-46s\n    immediate %s\n    batched   %s\n' "against the full frame (textured, glow):" \
  "$(ratio demo-immediate ref-immediate)" "$(ratio demo-batched ref-batched)"
echo "  (the second is the fair one: the demo draws its quads textured, with the glow)"
echo "batched / immediate:"
echo "    demo      $(ratio demo-batched demo-immediate)"
echo "    reference $(ratio ref-batched ref-immediate)"

# Scaling: the reference's full frame at each count, timed by itself (mean time
# between presents), and the CPU cost of appending as many
# quads to the framework's batch.
echo
echo "== frame time against quads (reference, full frame, mean ms between presents" \
  "over ${SCALE_SECONDS} s a point)"
data="$LQ_ART/scaling.dat"
# The demo's own frame time at its 8,193 quads, from its median frame rate.
awk -v i="${med[demo-immediate]:-0}" -v b="${med[demo-batched]:-0}" \
  'BEGIN { printf "8193 %s %s\n", (i > 0 ? 1000 / i : "NaN"), (b > 0 ? 1000 / b : "NaN") }' \
  >"$LQ_ART/demo.dat"
bench_log="$LQ_ART/quad_bench.log"
"$LQ_SOURCE/tests/tools/wine-run.sh" "$LQ_STATE" "$LQ_BUILD/bench/quad_bench.exe" \
  >"$bench_log" 2>&1 </dev/null
frame_ms() {
  local log="$LQ_ART/scale-$1.log"; shift
  (cd "$LQ_ART/run" && exec "$LQ_SOURCE/tests/tools/wine-run.sh" "$LQ_STATE" \
     ./frame_reference.exe --seconds "$SCALE_SECONDS" "$@" >"$log" 2>&1 </dev/null)
  tr -d '\r' <"$log" | sed -n 's/.* mean_ms \([0-9.]*\) .*/\1/p'
}
echo "the frame with no quads: $(frame_ms 0 --quads 0) ms"
printf '%8s %14s %14s %16s\n' quads "immediate ms" "batched ms" "append us (CPU)"
echo "# quads immediate_ms batched_ms append_ms" >"$data"
for n in 1024 2048 4096 8192 16384 32768 65536; do
  imm=$(frame_ms "immediate-$n" --quads "$n" --immediate)
  bat=$(frame_ms "batched-$n" --quads "$n")
  app=$(tr -d '\r' <"$bench_log" | awk -v n="$n" '$1 == "scaling" && $2 == n { print $4 }')
  printf '%8s %14s %14s %16s\n' "$n" "${imm:-n/a}" "${bat:-n/a}" "${app:-n/a}"
  echo "$n ${imm:-NaN} ${bat:-NaN} $(awk -v u="${app:-NaN}" 'BEGIN { print u / 1000 }')" >>"$data"
done

if [ "${LQ_BENCH_PLOT:-1}" = 1 ]; then
  gnuplot <<PLOT || echo "(no plot: gnuplot failed)"
set terminal pngcairo size 800,560 font ",10"
set output "$LQ_SOURCE/docs/frame-scaling.png"
set title "Frame time against quads under Wine, software rendering (800 x 600, 2 cores)"
set xlabel "quads per frame"
set ylabel "milliseconds"
set logscale xy 2
set xrange [800:80000]
set key below
set grid
plot "$data" using 1:2 with linespoints title "one draw call per quad (reference frame)", \
     "$data" using 1:3 with linespoints title "one draw call for all (reference frame)", \
     "$data" using 1:4 with linespoints title "appending to the batch (CPU only)", \
     "$LQ_ART/demo.dat" using 1:2 with points pt 7 ps 1.5 title "the demo, immediate", \
     "$LQ_ART/demo.dat" using 1:3 with points pt 9 ps 1.5 title "the demo, batched", \
     16.7 with lines dashtype 2 title "60 fps"
PLOT
  echo "plot: docs/frame-scaling.png (data: $data)"
fi
echo "== finished with $(load)"
echo "logs: $LQ_ART"
