#!/usr/bin/env bash
# Regenerates docs/demo.png, the README's picture of the running demo: the demo's
# end-to-end test takes it while it drives the program.
set -euo pipefail
source "$(dirname "$0")/common.sh"
lq_setup
lq_configure_win
cmake --build "$build/win" -j "$jobs" >/dev/null
lq_xvfb 'ctest --test-dir "$1" -R "^e2e.demo_test$" --output-on-failure' _ "$build/win"
mkdir -p "$root/docs"
cp "$build/win/e2e/demo_test/readme.png" "$root/docs/demo.png"
echo "docs/demo.png updated"
