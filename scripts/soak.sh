#!/usr/bin/env bash
# Runs the demo for a long time under Wine and Xvfb with the virtual controller,
# sampling its working set and handle count from outside, and draws the samples
# into docs/soak.png (see tests/e2e/soak_test.sh for what is asserted).
#   scripts/soak.sh [--minutes N]     (10 minutes by default)
set -euo pipefail
source "$(dirname "$0")/common.sh"
minutes=10
while [ $# -gt 0 ]; do
  case $1 in
    --minutes) minutes=$2; shift 2 ;;
    *) echo "usage: scripts/soak.sh [--minutes N]" >&2; exit 2 ;;
  esac
done
lq_setup
lq_configure_win
cmake --build "$build/win" -j "$jobs" --target Lumaquill virtual_pad lqprobe >/dev/null
plot="$build/win/e2e/soak.png"
rm -f "$plot"
status=0
# A Wine server and a folder of its own: a test run started meanwhile on another
# display restarts the build's server, which would end the program under test.
export LQ_WINE_STATE="$build/win/wine-soak" LQ_ART_NAME=soak
lq_xvfb 'bash "$1/tests/e2e/soak_test.sh" "$2" "$1" "$3" "$4"' _ \
  "$root" "$build/win" $((minutes * 60)) "$plot" || status=$?
WINEPREFIX="$LQ_WINE_STATE/prefix" wineserver -k >/dev/null 2>&1
if [ -f "$plot" ]; then
  cp "$plot" "$root/docs/soak.png"
  echo "plot: docs/soak.png; samples: $build/win/e2e/soak/samples.txt"
fi
exit $status
