#!/usr/bin/env bash
# Regenerates docs/demo.png, the README's picture of the running demo: the demo's
# end-to-end test takes it while it drives the program.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LQ_BUILD:-$root/build}

"$root/scripts/setup.sh"
mkdir -p "$build"
cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  >"$build/win-configure.log" 2>&1 || { cat "$build/win-configure.log"; exit 1; }
cmake --build "$build/win" -j "${LQ_JOBS:-2}" >/dev/null
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  ctest --test-dir "$1" -R "^e2e.demo_test$" --output-on-failure
  rc=$?
  WINEPREFIX="$1/wine/prefix" wineserver -k >/dev/null 2>&1
  exit $rc' _ "$build/win"
mkdir -p "$root/docs"
cp "$build/win/e2e/demo_test/readme.png" "$root/docs/demo.png"
echo "docs/demo.png updated"
