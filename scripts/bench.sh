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
  (exit $rc)' _ "$root" "$build"
rc=$?
# The frame logic's figure, with the machine's load (1, 5, 15 minutes) beside it.
echo
echo "frame logic, framework / flat loop: $(tr -d '\r' <"$build/win/bench/frame_bench.txt" |
  sed -n 's/^RATIO framework \/ flat loop: //p'); load average $(cut -d' ' -f1-3 /proc/loadavg)"
"$root/scripts/bench-frame.sh" || rc=1
exit $rc
