#!/usr/bin/env bash
# Builds Lumaquill.exe and runs the chaser demo under Wine on this display (or in
# a virtual one when there is none). Escape or closing the window quits.
set -euo pipefail
source "$(dirname "$0")/common.sh"
lq_setup
lq_configure_win
cmake --build "$build/win" -j "$jobs" --target Lumaquill virtual_pad >/dev/null

run="$build/demo-run"
mkdir -p "$run"
cp "$build/win/demo/Lumaquill.exe" "$run/"
[ -f "$build/win/demo/test.bmp" ] && cp "$build/win/demo/test.bmp" "$run/"

# The program needs a game controller. Without one (no joystick device on this
# machine) the virtual controller stands in: Wine loads it from beside the exe.
if ls /dev/input/js* /dev/input/by-id/*-joystick >/dev/null 2>&1; then
  rm -f "$run/dinput8.dll"
else
  cp "$build/win/tools/virtual_pad/dinput8.dll" "$run/"
  export WINEDLLOVERRIDES=dinput8=n,b
  echo "No game controller found: using the virtual controller (arrow keys and Z X C A S D Q W E)."
fi

lq_sound_device

cd "$run"
status=0
if [ -n "${DISPLAY:-}" ]; then
  "$root/tests/tools/wine-run.sh" "$build/demo-wine" ./Lumaquill.exe || status=$?
else
  echo "No display: running in a virtual one (Xvfb); nothing will be seen."
  xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$root/tests/tools/wine-run.sh" "$build/demo-wine" ./Lumaquill.exe || status=$?
fi
WINEPREFIX="$build/demo-wine/prefix" wineserver -k >/dev/null 2>&1 || true
exit $status
