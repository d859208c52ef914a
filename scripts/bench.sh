#!/usr/bin/env bash
# Builds the Windows benchmarks and runs each under Wine and Xvfb, printing its
# figures; then the frame-rate benchmark (scripts/bench-frame.sh).
#   scripts/bench.sh            (build folder: build/, or $LQ_BUILD)
set -uo pipefail
source "$(dirname "$0")/common.sh"
lq_setup
lq_configure_win
cmake --build "$build/win" -j "$jobs" --target all >"$build/bench-build.log" 2>&1 ||
  { tail -40 "$build/bench-build.log"; exit 1; }

# Wine's helper processes inherit standard output, so each benchmark writes to a
# file that is printed once it has ended.
lq_xvfb '
  root=$1 build=$2 rc=0
  for exe in "$build"/win/bench/*.exe; do
    [ -e "$exe" ] || continue
    # Runs until closed; scripts/bench-frame.sh drives it.
    [ "$(basename "$exe")" = frame_reference.exe ] && continue
    out="$build/win/bench/$(basename "$exe" .exe).txt"
    echo "== $(basename "$exe")"
    "$root/tests/tools/wine-run.sh" "$build/win/wine" "$exe" >"$out" 2>&1 </dev/null || rc=1
    tr -d "\r" <"$out"
  done
  # The ratio of the frame logic in three runs (this was the first), each with the
  # load average of the machine (1, 5, 15 minutes) as it ended.
  ratio() {
    echo "frame logic, framework / flat loop: $(tr -d "\r" <"$1" |
      sed -n "s/^RATIO framework \/ flat loop: //p"); load average $(cut -d" " -f1-3 /proc/loadavg)"
  }
  ratios=$(ratio "$build/win/bench/frame_bench.txt")
  for run in 2 3; do
    "$root/tests/tools/wine-run.sh" "$build/win/wine" "$build/win/bench/frame_bench.exe" \
      >"$build/win/bench/frame_bench-$run.txt" 2>&1 </dev/null || rc=1
    ratios="$ratios
$(ratio "$build/win/bench/frame_bench-$run.txt")"
  done
  echo; echo "$ratios"
  (exit $rc)' _ "$root" "$build"
rc=$?
"$root/scripts/bench-frame.sh" || rc=1
exit $rc
