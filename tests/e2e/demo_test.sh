#!/usr/bin/env bash
# The chaser demo as a player sees it, driven by the virtual controller's script:
# the player starts at the centre with the swarm coming in from the top-left,
# holding right for N frames moves it N pixels, the batch button switches to the
# batched colours, and Escape quits with status 0 and no message box. Quads are
# drawn with test.bmp and the frame glows orange: the colour bounds leave room
# for the glow added over them.
source "$(dirname "$0")/lib.sh"
shot_py="$LQ_SOURCE/tests/tools/shot.py"

N=120          # frames held right
BUTTON=280     # the frame on which button 0 is held, once
cat > "$LQ_ART/run/pad.txt" <<PAD
0 0 0 100
1000 0 0 $N
0 0 0 60
0 0 1 1
0 0 0 100000
PAD
lq_start LQ_PAD_SCRIPT=pad.txt LQ_PAD_LOG=pad.log
lq_find_window
log="$LQ_ART/run/pad.log"
# Pixels of a colour family inside the client area: "count N cx X cy Y ...".
blob() {  # image, then client rectangle x y w h, then channel bounds
  local img=$1 x=$2 y=$3 w=$4 h=$5; shift 5
  python3 "$shot_py" blob "$LQ_ART/$img.png" $((ox + x)) $((oy + y)) "$w" "$h" "$@"
}
field() { tr ' ' '\n' <<<"$1" | grep -A1 -x "$2" | tail -1; }
# What the script made of the player so far, counted frame by frame from the log:
# "DX TOGGLES". A refused poll (the window had lost the front) is a frame in which
# the program kept the state it read last, so it counts with that state.
pad_effect() {
  tr -d '\r' <"$log" | awk '
    $1 == "poll" { x = $3; b = $5 }
    $1 == "poll" || $1 == "refused" { if (x > 0) dx++; if (x < 0) dx--; if (b != "0") t++ }
    END { print dx + 0, t + 0 }'
}
BLUE=(0 0 150 70 70 255)     # the immediate player square
RED=(150 0 0 255 70 70)      # the batched player square
WHITE=(150 150 150 255 255 255)

# Start: the player at the centre, the swarm in the top-left quarter.
lq_wait_poll 3 60 || lq_fail "the controller was never polled"
lq_shot start
[ "$(lq_poll)" -lt 100 ] || lq_fail "start screenshot came too late (poll $(lq_poll))"
b=$(blob start 300 200 200 200 "${BLUE[@]}")
lq_log "start: player $b"
[ "$(field "$b" count)" -gt 300 ] || lq_fail "no blue player square near the centre: $b"
cx=$(field "$b" cx)
awk -v c="$cx" -v o="$ox" 'BEGIN { exit !(c - o > 399 && c - o < 400) }' ||
  lq_fail "player centre x $cx - $ox, expected 399.5 in the client area"
# The player is drawn with test.bmp's disc: its colour 8 px from the centre, not
# in the corners of its 32 x 32 square (384..415, 284..315), which are keyed out.
for xy in "407 299" "391 299" "399 307" "399 291"; do
  read -r x y <<<"$xy"
  [ "$(field "$(blob start "$x" "$y" 1 1 "${BLUE[@]}")" count)" = 1 ] ||
    lq_fail "player not blue at $x,$y: $(python3 "$shot_py" pixel "$LQ_ART/start.png" $((ox + x)) $((oy + y)))"
done
for xy in "384 284" "415 284" "384 315" "415 315"; do
  read -r x y <<<"$xy"
  [ "$(field "$(blob start "$x" "$y" 1 1 "${BLUE[@]}")" count)" = 0 ] ||
    lq_fail "player square's corner $x,$y is blue: not a disc"
done
lq_log "start: the player is a disc"
tl=$(field "$(blob start 0 0 300 250 "${WHITE[@]}")" count)
br=$(field "$(blob start 500 350 300 250 "${WHITE[@]}")" count)
lq_log "start: swarm pixels top-left $tl, bottom-right $br"
[ "$tl" -gt 100 ] && [ "$br" -lt 20 ] || lq_fail "swarm not coming from the top-left ($tl / $br)"

# While moving right the trail of earlier frames lies behind (left of) the square.
lq_wait_poll 140 120 || lq_fail "the program stopped polling"
lq_shot moving
[ "$(lq_poll)" -lt $((100 + N)) ] || lq_fail "moving screenshot came too late (poll $(lq_poll))"
DIM=(0 0 40 50 50 149)
m=$(blob moving 300 200 400 200 "${BLUE[@]}")
mx=$(printf '%.0f' "$(field "$m" cx)")
behind=$(field "$(blob moving $((mx - ox - 24)) 250 8 100 "${DIM[@]}")" count)
ahead=$(field "$(blob moving $((mx - ox + 16)) 250 8 100 "${DIM[@]}")" count)
lq_log "moving: trail pixels behind $behind, ahead $ahead"
[ "$behind" -gt "$ahead" ] || lq_fail "no trail behind the moving square ($behind / $ahead)"
# The glow: the swarm and its trail shine in the orange tint (red above green
# above blue); nothing else in the frame is warm.
warm=$(field "$(python3 "$shot_py" warm "$LQ_ART/moving.png" "$ox" "$oy" 800 600 60)" count)
lq_log "moving: orange glow pixels $warm"
[ "$warm" -gt 1000 ] || lq_fail "no orange glow around the swarm ($warm pixels)"
# The client area of this frame is the README's picture (scripts/screenshot.sh).
convert "$LQ_ART/moving.png" -crop "800x600+$ox+$oy" +repage "$LQ_ART/readme.png"

# After N frames right: N pixels right of the start.
lq_wait_poll $((100 + N + 20)) 120 || lq_fail "the program stopped polling"
lq_shot moved
[ "$(lq_poll)" -lt $BUTTON ] || lq_fail "moved screenshot came too late (poll $(lq_poll))"
b2=$(blob moved 300 200 400 200 "${BLUE[@]}")
lq_log "moved: player $b2"
cx2=$(field "$b2" cx)
read -r moves _ <<<"$(pad_effect)"
[ "$moves" = $N ] || lq_log "the window lost the front while moving: $moves frames held right"
awk -v a="$cx" -v b="$cx2" -v n="$moves" 'BEGIN { d = b - a; exit !(d > n - 0.5 && d < n + 0.5) }' ||
  lq_fail "player moved from $cx to $cx2, expected $moves pixels ($moves frames held right)"

# Button 0 for one frame: the batched colours.
lq_wait_poll $((BUTTON + 20)) 120 || lq_fail "the program stopped polling"
lq_shot batched
r=$(blob batched 300 200 400 200 "${RED[@]}")
# Within the square's own box: the batched enemies are a light blue of their own.
sx=$(printf '%.0f' "$(field "$r" cx)")
sy=$(printf '%.0f' "$(field "$r" cy)")
b3=$(blob batched $((sx - ox - 16)) $((sy - oy - 16)) 32 32 "${BLUE[@]}")
lq_log "batched: red $r; blue $b3"
read -r _ toggles <<<"$(pad_effect)"
[ "$toggles" = 1 ] || lq_log "the window lost the front on the button frame: $toggles toggles"
[ $((toggles % 2)) = 1 ] || lq_fail "the button was held for $toggles frames: immediate mode again"
[ "$(field "$r" count)" -gt 300 ] || lq_fail "no red player square after the batch button"
[ "$(field "$b3" count)" -lt 20 ] || lq_fail "blue square still drawn after the batch button"
rx=$(field "$r" cx)
awk -v a="$cx2" -v b="$rx" 'BEGIN { d = b - a; exit !(d > -0.5 && d < 0.5) }' ||
  lq_fail "batched square at $rx, expected $cx2"

# No message box at any time; Escape quits with status 0.
if lq_probe boxes 1 1 >/dev/null; then lq_fail "a message box appeared"; fi
lq_escape_ok "$xwin"
lq_log "Escape ended the program with status 0"
