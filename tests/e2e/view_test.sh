#!/usr/bin/env bash
# A 320 x 240 logical picture (tests/e2e/view_game.cpp) shown at 2x in its
# 800 x 600 window with black bars; Alt+Enter makes the window cover the screen
# with the picture at the largest whole multiple, texture and text drawn, the
# cursor mapped back to logical pixels in both; Alt+Enter again gives the framed
# 800 x 600 window back in its place. Then a prefix at 144 dpi gives a display
# scale of 1.5.
LQ_EXE=tests/e2e/LqView.exe
LQ_TITLE=LqView
source "$(dirname "$0")/lib.sh"
LQ_VIRTUAL_PAD=0

# Waits (at most 20 s) for the program to print a line matching $1.
said() {
  local i
  for i in $(seq 100); do
    tr -d '\r' <"$LQ_ART/program.log" | grep -q -- "$1" && return 0
    sleep 0.2
  done
  return 1
}
pixel() { python3 "$LQ_SOURCE/tests/tools/shot.py" pixel "$LQ_ART/$1.png" "$2" "$3"; }
# Checks screenshot $1 against the picture placed at (x, y) at multiple k, with
# the corner squares exactly there, black outside, test.bmp's disc and the text
# (each channel within 8 of the colour drawn: the disc's middle is 252).
check_picture() {
  local shot=$1 x=$2 y=$3 k=$4
  lq_shot "$shot"
  local -a want=(
    "$((x + 1)) $((y + 1)) 255 0 0"                          # red square, top left
    "$((x + 16 * k - 1)) $((y + 16 * k - 1)) 255 0 0"
    "$((x + 16 * k)) $((y + 1)) 0 0 255"                     # blue after it
    "$((x + 320 * k - 1)) $((y + 240 * k - 1)) 0 255 0"      # green square, bottom right
    "$((x + 304 * k)) $((y + 224 * k)) 0 255 0"
    "$((x + 304 * k - 1)) $((y + 224 * k)) 0 0 255"
    "$((x + 160 * k)) $((y + 120 * k)) 255 255 255"          # the disc's middle
  )
  [ "$x" -gt 0 ] && want+=("$((x - 1)) $((y + 1)) 0 0 0")    # the bars
  [ "$y" -gt 0 ] && want+=("$((x + 1)) $((y - 1)) 0 0 0")
  local w px
  for w in "${want[@]}"; do
    read -r px py r g b <<<"$w"
    got=$(pixel "$shot" "$px" "$py")
    awk -v a="$got" -v b="$r $g $b" 'BEGIN { split(a, x); split(b, y)
      for (i = 1; i <= 3; ++i) if (x[i] - y[i] > 8 || y[i] - x[i] > 8) exit 1 }' ||
      lq_fail "$shot: pixel ($px, $py) is $got, expected $r $g $b"
  done
  text=$(python3 "$LQ_SOURCE/tests/tools/shot.py" blob "$LQ_ART/$shot.png" "$((x + 40 * k))" \
    "$((y + 170 * k))" "$((120 * k))" "$((30 * k))" 128 128 0 255 255 128)
  [ "$(cut -d' ' -f2 <<<"$text")" -gt $((40 * k * k)) ] || lq_fail "$shot: no text: $text"
  lq_log "$shot: picture at ($x, $y) x$k, bars black, disc and text drawn ($text)"
}
# Moves the pointer to screen point ($1, $2) and waits for the logical point ($3, $4).
mouse() {
  xdotool mousemove "$1" "$2"
  said "mouse $3 $4 " || lq_fail "pointer at ($1, $2): no logical ($3, $4) in $(tail -1 "$LQ_ART/program.log")"
}

lq_start
lq_find_window
said "fullscreen 0 screen 320 240 client 800 600" || lq_fail "no 320 x 240 logical size reported"
read -r _ wx wy <<<"$(lq_probe window "$LQ_TITLE" 5 | grep '^window')"
sleep 2
check_picture window $((ox + 80)) $((oy + 60)) 2
mouse $((ox + 80 + 201)) $((oy + 60 + 101)) 100 50
mouse $((ox + 10)) $((oy + 10)) -35 -25

lq_key "$xwin" alt+Return
said "fullscreen 1" || lq_fail "Alt+Enter did not make it full screen"
out=$(lq_probe window "$LQ_TITLE" 5)
read -r _ sw sh <<<"$(grep '^screen' <<<"$out")"
grep -q "^client $sw $sh" <<<"$out" && grep -q "^origin 0 0" <<<"$out" ||
  lq_fail "full screen window does not cover the ${sw}x$sh screen: $(echo $out)"
said "fullscreen 1 screen 320 240 client $sw $sh" || lq_fail "no back buffer at the screen's size"
k=$((sw / 320 < sh / 240 ? sw / 320 : sh / 240))
sleep 2
check_picture full $(((sw - 320 * k) / 2)) $(((sh - 240 * k) / 2)) "$k"
mouse $(((sw - 320 * k) / 2 + 100 * k + 1)) $(((sh - 240 * k) / 2 + 50 * k + 1)) 100 50

lq_key "$xwin" alt+Return
said "fullscreen 0 screen 320 240 client 800 600" || lq_fail "Alt+Enter again did not give the window back"
out=$(lq_probe window "$LQ_TITLE" 5)
grep -q "^client 800 600" <<<"$out" && grep -q "^window $wx $wy" <<<"$out" ||
  lq_fail "framed window not back at 800x600 at ($wx, $wy): $(echo $out)"
read -r _ ox oy <<<"$(grep '^origin' <<<"$out")"
sleep 2
check_picture back $((ox + 80)) $((oy + 60)) 2
if lq_probe boxes 1 1 >/dev/null; then lq_fail "a message box appeared"; fi
lq_escape_ok "$xwin"
mv "$LQ_ART/program.log" "$LQ_ART/program-96dpi.log"

# 144 dpi (Wine's LogPixels), in a prefix of its own.
LQ_STATE="$LQ_BUILD/wine-144dpi"
lq_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
lq_start
lq_find_window
said "scale before the window 1.50" && said "scale 1.50" ||
  { WINEPREFIX="$LQ_STATE/prefix" wineserver -k; lq_fail "no display scale of 1.5 at 144 dpi"; }
lq_escape_ok "$xwin"
WINEPREFIX="$LQ_STATE/prefix" wineserver -k
lq_log "at 144 dpi: $(tr -d '\r' <"$LQ_ART/program.log" | grep -m1 'scale before')"
