#!/usr/bin/env bash
# Regenerates the README's pictures: docs/demo.png and docs/tour.png, taken by the
# end-to-end tests of the demo and the tour while they drive the programs, and
# docs/demo.gif, the animation of a 90-second run of the demo command (as on a
# machine without a display), cut to the client area at half size.
set -euo pipefail
source "$(dirname "$0")/common.sh"
lq_setup
lq_configure_win
cmake --build "$build/win" -j "$jobs" >/dev/null
lq_xvfb 'ctest --test-dir "$1" -R "^e2e.(demo|tour)_test$" --output-on-failure' _ "$build/win"
mkdir -p "$root/docs"
cp "$build/win/e2e/demo_test/readme.png" "$root/docs/demo.png"
cp "$build/win/e2e/tour_test/readme.png" "$root/docs/tour.png"
echo "docs/demo.png and docs/tour.png updated"

env -u DISPLAY "$root/scripts/run-demo.sh" --seconds 90 >/dev/null
# The window's frame is 4 pixels wide with a 23-pixel title bar above the client.
convert "$build/demo.gif" -coalesce -crop 800x600+4+23 +repage -resize 50% -fuzz 4% -colors 64 \
  -layers Optimize "$root/docs/demo.gif"
echo "docs/demo.gif updated"
