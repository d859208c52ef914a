#!/usr/bin/env bash
# view_game.cpp's 320 x 240 picture: 2x in 800 x 600 with black bars, Alt+Enter to
# full screen at the largest multiple and back, the cursor mapped; scale 1.5 at 144 dpi.
LQ_EXE=tests/e2e/LqView.exe LQ_TITLE=LqView LQ_VIRTUAL_PAD=0
source "$(dirname "$0")/lib.sh"

said() {  # waits (at most 20 s) for a line of the program matching $1
  for _ in $(seq 100); do tr -d '\r' <"$LQ_ART/program.log" | grep -q -- "$1" && return 0; sleep 0.2; done
  return 1
}
# Screenshot $1 against the picture at ($2, $3) times $4: corner squares exactly
# there, bars black, the disc's middle (252 grey) and the text; channels within 8.
check_picture() {
  local x=$2 y=$3 k=$4 px py want got
  sleep 2; lq_shot "$1"
  while read -r px py want; do
    got=$(python3 "$LQ_SOURCE/tests/tools/shot.py" pixel "$LQ_ART/$1.png" "$px" "$py")
    awk -v a="$got" -v b="$want" 'BEGIN { split(a, x); split(b, y)
      for (i = 1; i <= 3; ++i) if (x[i] - y[i] > 8 || y[i] - x[i] > 8) exit 1 }' ||
      lq_fail "$1: pixel ($px, $py) is $got, expected $want"
  done <<<"$((x + 1)) $((y + 1)) 255 0 0
$((x + 16 * k)) $((y + 16 * k - 1)) 0 0 255
$((x + 320 * k - 1)) $((y + 240 * k - 1)) 0 255 0
$((x + 160 * k)) $((y + 120 * k)) 255 255 255
$((x > 0 ? x - 1 : x + 1)) $((y + 1)) $((x > 0 ? 0 : 255)) 0 0
$((x + 1)) $((y > 0 ? y - 1 : y + 1)) $((y > 0 ? 0 : 255)) 0 0"
  text=$(python3 "$LQ_SOURCE/tests/tools/shot.py" blob "$LQ_ART/$1.png" $((x + 40 * k)) \
    $((y + 170 * k)) $((120 * k)) $((30 * k)) 128 128 0 255 255 128)
  [ "$(cut -d' ' -f2 <<<"$text")" -gt $((40 * k * k)) ] || lq_fail "$1: no text: $text"
}
mouse() {  # pointer to screen point ($1, $2): logical point ($3, $4) reported
  xdotool mousemove "$1" "$2"
  said "mouse $3 $4 " || lq_fail "pointer at ($1, $2) is not logical ($3, $4)"
}
window() { lq_probe window "$LQ_TITLE" 5 | tr '\n' ' '; }

lq_start
lq_find_window
said "fullscreen 0 screen 320 240 client 800 600" || lq_fail "no 320 x 240 logical size reported"
framed=$(window)
check_picture window $((ox + 80)) $((oy + 60)) 2
mouse $((ox + 80 + 201)) $((oy + 60 + 101)) 100 50
mouse $((ox + 10)) $((oy + 10)) -35 -25  # over the bars: not clamped
lq_key "$xwin" alt+Return
read -r sw sh <<<"${framed##*screen }"
said "fullscreen 1 screen 320 240 client $sw $sh" || lq_fail "Alt+Enter: not full screen"
[[ "$(window)" == "client $sw $sh origin 0 0 "* ]] || lq_fail "full screen window: $(window)"
k=$((sw / 320 < sh / 240 ? sw / 320 : sh / 240)) x=$(((sw - 320 * k) / 2)) y=$(((sh - 240 * k) / 2))
check_picture full $x $y "$k"
mouse $((x + 100 * k + 1)) $((y + 50 * k + 1)) 100 50
lq_key "$xwin" alt+Return
said "fullscreen 0 screen 320 240 client 800 600" || lq_fail "Alt+Enter again: not framed"
[ "$(window)" = "$framed" ] || lq_fail "framed window: $(window), before: $framed"
check_picture back $((ox + 80)) $((oy + 60)) 2
lq_escape_ok "$xwin"
lq_log "2x framed, ${k}x full screen and back: pixels, text and cursor as drawn"
mv "$LQ_ART/program.log" "$LQ_ART/program-96dpi.log"

LQ_STATE="$LQ_BUILD/wine-144dpi"  # a prefix of its own at 144 dpi
lq_wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
lq_start
lq_find_window
said "scale before the window 1.50" && said "scale 1.50" || dpi=bad
lq_escape "$xwin"
WINEPREFIX="$LQ_STATE/prefix" wineserver -k
[ -z "${dpi:-}" ] || lq_fail "no display scale of 1.5 at 144 dpi"
lq_log "at 144 dpi: display scale 1.50, before the window and with it"
