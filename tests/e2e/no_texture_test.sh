#!/usr/bin/env bash
# Without test.bmp beside the program the demo still runs: no message, nothing
# bound, the squares drawn in their own colours (the player blue at the centre),
# and Escape quits with status 0.
source "$(dirname "$0")/lib.sh"

rm -f "$LQ_ART/run/test.bmp"
printf '0 0 0 100000\n' > "$LQ_ART/run/pad.txt"
lq_start LQ_PAD_SCRIPT=pad.txt LQ_PAD_LOG=pad.log
out=$(lq_probe window Lumaquill 60) || lq_fail "no window titled Lumaquill"
read -r _ ox oy <<<"$(grep '^origin' <<<"$out")"
xwin=$(lq_xwindow Lumaquill) || lq_fail "no X window named Lumaquill"
lq_focus "$xwin"
polls() { tr -d '\r' 2>/dev/null <"$LQ_ART/run/pad.log" | grep -c '^poll'; }
for _ in $(seq 600); do [ "$(polls)" -ge 30 ] && break; sleep 0.1; done
[ "$(polls)" -ge 30 ] || lq_fail "fewer than 30 frames in a minute ($(polls))"
lq_shot running
b=$(python3 "$LQ_SOURCE/tests/tools/shot.py" blob "$LQ_ART/running.png" $((ox + 300)) $((oy + 200)) \
    200 200 0 0 150 70 70 255)
lq_log "player: $b"
count=$(tr ' ' '\n' <<<"$b" | grep -A1 -x count | tail -1)
[ "$count" -gt 300 ] || lq_fail "no blue player square at the centre: $b"
if lq_probe boxes 1 1 >/dev/null; then lq_fail "a message box appeared"; fi
lq_escape_ok "$xwin"
lq_log "ran $(polls) frames without test.bmp; Escape ended it with status 0"
