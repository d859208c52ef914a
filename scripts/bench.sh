#!/usr/bin/env bash
# Builds the Windows benchmarks and runs each under Wine and Xvfb, printing its
# figures.
#   scripts/bench.sh            (build folder: build/, or $LQ_BUILD)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LQ_BUILD:-$root/build}
jobs=${LQ_JOBS:-2}

"$root/scripts/setup.sh" || exit 1
mkdir -p "$build"
cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  >"$build/win-configure.log" 2>&1 || { cat "$build/win-configure.log"; exit 1; }
cmake --build "$build/win" -j "$jobs" --target all >"$build/bench-build.log" 2>&1 ||
  { tail -40 "$build/bench-build.log"; exit 1; }

# Wine's helper processes inherit standard output, so each benchmark writes to a
# file that is printed once it has ended.
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  root=$1 build=$2 rc=0
  for exe in "$build"/win/bench/*.exe; do
    [ -e "$exe" ] || continue
    out="$build/win/bench/$(basename "$exe" .exe).txt"
    echo "== $(basename "$exe")"
    "$root/tests/tools/wine-run.sh" "$build/win/wine" "$exe" >"$out" 2>&1 </dev/null || rc=1
    tr -d "\r" <"$out"
  done
  WINEPREFIX="$build/win/wine/prefix" wineserver -k >/dev/null 2>&1
  exit $rc' _ "$root" "$build"
