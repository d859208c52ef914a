#!/usr/bin/env bash
# Builds and runs every test: the native sanitizer build, the unit tests under
# Wine and the end-to-end tests under Wine and Xvfb.
#   scripts/test.sh            (build folder: build/, or $LQ_BUILD)
set -uo pipefail
source "$(dirname "$0")/common.sh"
lq_setup

step() { echo; echo "== $*"; }

step "native build (AddressSanitizer, UndefinedBehaviorSanitizer)"
lq_configure native
cmake --build "$build/native" -j "$jobs" || exit 1
ctest --test-dir "$build/native" --output-on-failure
native=$?

step "fuzzing the parsers of players' files (libFuzzer, clang; about 2 minutes)"
lq_configure fuzz -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DLUMAQUILL_FUZZ=ON
cmake --build "$build/fuzz" -j "$jobs" || exit 1
ctest --test-dir "$build/fuzz" --output-on-failure
fuzz=$?

step "Windows build (mingw-w64, i686)"
lq_configure_win
cmake --build "$build/win" -j "$jobs" || exit 1

step "unit and end-to-end tests under Wine and Xvfb"
lq_xvfb 'ctest --test-dir "$1" --output-on-failure' _ "$build/win"
wine=$?

echo
if [ $native -eq 0 ] && [ $fuzz -eq 0 ] && [ $wine -eq 0 ]; then
  echo "all tests passed"
  exit 0
fi
echo "FAILED: native=$native fuzz=$fuzz wine=$wine"
exit 1
