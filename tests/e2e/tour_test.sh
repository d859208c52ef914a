#!/usr/bin/env bash
# The tour as a user runs it: its title and readout are on screen in their font
# colours, its looped music and the chime of button 0 are in the captured sound,
# button 0 of a modern pad rumbles that pad, a typed name appears, and Escape
# ends it with status 0. Then on a PC with neither a game controller
# nor a sound device nor d3dx9_43.dll: it starts all the same, draws its sprites
# and its title (where the first run drew it, to 2 pixels), the keyboard moves the
# ship and Escape ends it with status 0.
LQ_EXE=examples/tour/LumaquillTour.exe
LQ_TITLE="Lumaquill Tour"
source "$(dirname "$0")/lib.sh"
lq_tour_assets

# What the tour plays is recorded here by Wine's sound device (wine-run.sh).
capture="$LQ_ART/capture.wav"

# The best score (bursts in a run) is kept in the tour's save folder: none yet.
best="$LQ_STATE/prefix/drive_c/users/$(id -un)/AppData/Roaming/Lumaquill Tour/best"
rm -f "$best"
PRESS=150  # the frame on which button 0 goes down (held for 5 frames)
printf '0 0 0 %d\n0 0 1 5\n0 0 0 100000\n' $PRESS >"$LQ_ART/run/pad.txt"
# Pad 0 of the modern pads presses A (button 0) from 8 s for half a second.
printf '0 0 0 0 0 0 0 0 0\n8000 0 0 0 0 0 0 0 1000\n8500 0 0 0 0 0 0 0 0\n' >"$LQ_ART/run/xpad.txt"
lq_start LQ_PAD_SCRIPT=pad.txt LQ_PAD_LOG=pad.log LQ_SOUND_FILE="$capture" \
  LQ_XINPUT_SCRIPT=xpad.txt LQ_XINPUT_LOG=xpad.log
lq_find_window
started=$SECONDS

# The text: pixels of the title's colour (0xFFFFD040) where the title is drawn,
# and of the readout's (0xFF80FF80) on the readout's line; glyph edges are
# smoothed, so the colour counts from half to full strength.
lq_wait_poll 60 60 || lq_fail "the controller was never polled"
lq_shot text
blob() {  # in $shot.png (default text.png)
  python3 "$LQ_SOURCE/tests/tools/shot.py" blob "$LQ_ART/${shot:-text}.png" $((ox + $1)) $((oy + $2)) "$3" "$4" "${@:5}"
}
title=$(blob 150 12 500 45 120 95 20 255 215 80)
readout=$(blob 20 60 420 22 60 125 60 135 255 135)
lq_log "title: $title; readout: $readout"
title_box=$(awk '{print $8 - ox, $10 - oy, $12 - ox, $14 - oy}' ox="$ox" oy="$oy" <<<"$title")
[ "$(cut -d' ' -f2 <<<"$title")" -gt 300 ] || lq_fail "no title text on screen: $title"
# Centred by its measured width: as much room on either side, to a few pixels.
read -r left right <<<"$(awk '{print $8 - ox, 800 - ($12 - ox + 1)}' ox="$ox" <<<"$title")"
[ $((left - right)) -le 6 ] && [ $((right - left)) -le 6 ] || lq_fail "title not centred: $left, $right"
[ "$(cut -d' ' -f2 <<<"$readout")" -gt 100 ] || lq_fail "no readout text on screen: $readout"

# The chime on the button press, then enough time for the 8-second music to loop.
# The sparks of the press are the README's picture of the tour.
lq_wait_poll $((PRESS + 12)) 120 || lq_fail "the program stopped polling"
lq_shot sparks
convert "$LQ_ART/sparks.png" -crop "800x600+$ox+$oy" +repage "$LQ_ART/readme.png"
lq_wait_poll $((PRESS + 30)) 120 || lq_fail "the program stopped polling"
while [ $((SECONDS - started)) -lt 14 ]; do sleep 0.5; done
lq_shot playing
rumble=$(tr -d '\r' <"$LQ_ART/run/xpad.log" | grep '^rumble 0 ' | tr '\n' ';')
[ "$rumble" = "rumble 0 40000 20000;rumble 0 0 0;" ] || lq_fail "pad 0's burst rumbled it as: $rumble"
# The name line (its colour on it) before and after a name is typed.
name() { python3 "$LQ_SOURCE/tests/tools/shot.py" blob "$LQ_ART/$1.png" $((ox + 20)) $((oy + 540)) 300 22 60 125 60 135 255 135 | cut -d' ' -f2; }
lq_focus "$xwin"
xdotool type --delay 100 "Ada Lovelace No"  # no Z: it fires
xdotool type --delay 1500 "ë"  # beyond ASCII: on a key mapped while it is down, held past a frame
sleep 2
lq_shot named
[ "$(name named)" -gt $(($(name playing) + 100)) ] || lq_fail "the typed name is not on screen ($(name playing) and $(name named) pixels)"
lq_log "pad 0's burst rumbled it ($rumble); the typed name drawn ($(name playing) then $(name named) pixels)"
if lq_probe boxes 1 1 >/dev/null; then lq_fail "a message box appeared"; fi
lq_escape_ok "$xwin"
lq_log "Escape ended the tour with status 0"
# One burst for each pad's press of button 0, or one for both when they overlap.
saved=$(od -An -tu4 -j12 "$best" | tr -d ' ')
[ "$saved" = 1 ] || [ "$saved" = 2 ] || lq_fail "best score of 1 or 2 not saved in $best: '$saved'"

# The sound: the melody's notes (A3 C4 E4 G4 A4) heard past the music file's
# 8 seconds, and the chime's two tones (1500 Hz, 2000 Hz) after the music began.
[ -s "$capture" ] || lq_fail "nothing was captured"
tones=$(python3 "$LQ_SOURCE/tests/tools/tones.py" "$capture" 220 261.63 329.63 392 440 1500 2000) ||
  lq_fail "the captured sound could not be read"
lq_log "captured: $(tr '\n' ';' <<<"$tones")"
python3 - "$tones" <<'PY' || lq_fail "music or chime missing from the captured sound"
import sys
lines = sys.argv[1].splitlines()
heard = {}
for line in lines[1:]:
    f = line.split()
    heard[f[0]] = (int(f[2]), float(f[4]), float(f[6])) if f[2] != "0" else (0, 0.0, 0.0)
melody = ["220", "261.63", "329.63", "392", "440"]
ok = all(heard[n][0] >= 2 for n in melody)
first = min(heard[n][1] for n in melody)
last = max(heard[n][2] for n in melody)
print(f"melody from {first:.2f} s to {last:.2f} s" if ok else "a note of the melody is missing")
ok = ok and last - first > 9.0  # longer than the file: it looped
chime = heard["1500"][0] >= 1 and heard["2000"][0] >= 1 and heard["1500"][1] > first + 1.0
print("chime heard at", heard["1500"][1] if chime else "chime missing or too early")
sys.exit(0 if ok and chime else 1)
PY

# Without a controller (Wine's own DirectInput finds none), without a sound
# device (Wine's audio drivers off) and without D3DX: no message, the title is
# drawn, the arrow keys move the ship (the cyan of its edges) at the fixed step's pace.
LQ_VIRTUAL_PAD=0
lq_start "WINEDLLOVERRIDES=winealsa.drv,winepulse.drv,wineoss.drv,d3dx9_43=d"
lq_find_window
sleep 4
ship() {
  lq_shot "$1"
  python3 "$LQ_SOURCE/tests/tools/shot.py" blob "$LQ_ART/$1.png" $((ox + 300)) $((oy + 380)) 500 140 \
    0 250 250 200 255 255 | awk '{printf "%d %d\n", $2, $4}'
}
read -r count before <<<"$(ship bare)"
[ "$count" -gt 20 ] 2>/dev/null || lq_fail "no ship on screen ($count cyan pixels)"
title=$(shot=bare blob 150 12 500 45 120 95 20 255 215 80)
[ "$(cut -d' ' -f2 <<<"$title")" -gt 300 ] || lq_fail "no title text on screen: $title"
awk '{split(a, w); split($8 - ox " " $10 - oy " " $12 - ox " " $14 - oy, v)
  for (i = 1; i <= 4; i++) if ((w[i] - v[i]) ^ 2 > 4) exit 1 }' a="$title_box" ox="$ox" oy="$oy" <<<"$title" ||
  lq_fail "the title moved more than 2 px without D3DX: $title (with D3DX: $title_box)"
if lq_probe boxes 1 1 >/dev/null; then lq_fail "a message box appeared"; fi
lq_focus "$xwin"
xdotool keydown Right; sleep 1; xdotool keyup Right
sleep 0.5
read -r count after <<<"$(ship moved)"
lq_log "without controller and sound: the ship moved from x $before to $after in a 1 s key press"
[ "$count" -gt 20 ] && [ $((after - before)) -gt 40 ] || lq_fail "the ship did not move right ($count pixels at $after)"
lq_escape "$xwin" || lq_fail "still running after Escape"
[ "$LQ_STATUS" = 0 ] || lq_fail "exit status $LQ_STATUS"
lq_log "Escape ended the tour with status 0"
