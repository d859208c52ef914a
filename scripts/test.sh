#!/usr/bin/env bash
# Builds and runs every test: the native sanitizer build, the unit tests under
# Wine and the end-to-end tests under Wine and Xvfb.
#   scripts/test.sh            (build folder: build/)
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${LQ_BUILD:-$root/build}
jobs=${LQ_JOBS:-2}

"$root/scripts/setup.sh" || exit 1
mkdir -p "$build"

step() { echo; echo "== $*"; }

step "native build (AddressSanitizer, UndefinedBehaviorSanitizer)"
cmake -S "$root" -B "$build/native" >"$build/native-configure.log" 2>&1 ||
  { cat "$build/native-configure.log"; exit 1; }
cmake --build "$build/native" -j "$jobs" || exit 1
ctest --test-dir "$build/native" --output-on-failure
native=$?

step "Windows build (mingw-w64, i686)"
cmake -S "$root" -B "$build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-i686.cmake" \
  >"$build/win-configure.log" 2>&1 || { cat "$build/win-configure.log"; exit 1; }
cmake --build "$build/win" -j "$jobs" || exit 1

step "unit and end-to-end tests under Wine and Xvfb"
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  ctest --test-dir "$1" --output-on-failure
  rc=$?
  WINEPREFIX="$1/wine/prefix" wineserver -k >/dev/null 2>&1
  exit $rc' _ "$build/win"
wine=$?

echo
if [ $native -eq 0 ] && [ $wine -eq 0 ]; then
  echo "all tests passed"
  exit 0
fi
echo "FAILED: native=$native wine=$wine"
exit 1
