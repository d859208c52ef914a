#!/usr/bin/env bash
# Regenerates docs/demo.png and docs/tour.png, the README's pictures of the running
# demo and tour: their end-to-end tests take them while they drive the programs.
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
