#!/usr/bin/env bash
# With the virtual controller the program starts and runs until Escape; its
# script is taken one line per frame through the framework's axis range, and
# keys held with xdotool reach it through the virtual keyboard.
source "$(dirname "$0")/lib.sh"

printf '1000 0 0 3\n0 -1000 1 2\n' > "$LQ_ART/run/pad.txt"
lq_start LQ_PAD_SCRIPT=pad.txt LQ_PAD_LOG=pad.log
lq_probe window Lumaquill 60 >/dev/null || lq_fail "no window titled Lumaquill"
log="$LQ_ART/run/pad.log"
xwin=$(lq_xwindow Lumaquill)
[ -n "$xwin" ] || lq_fail "no X window named Lumaquill"
lq_focus "$xwin"

wait_log() { lq_wait_line "$log" "$@"; }

# Right for 3 polls, up with button 0 for 2, then neutral, in -1000..1000.
wait_log '^poll 6 ' 30 || lq_fail "the controller was not polled through its script"
polls=$(grep '^poll' "$log" | tr -d '\r')
expected='poll 1 1000 0 0
poll 2 1000 0 0
poll 3 1000 0 0
poll 4 0 -1000 1
poll 5 0 -1000 1
poll 6 0 0 0'
[ "$polls" = "$expected" ] || lq_fail "polls were: $polls"
lq_log "script polled frame by frame"

lq_focus "$xwin"
xdotool keydown z
wait_log '^keys 2c$' 10; held=$?
xdotool keyup z
[ $held = 0 ] || lq_fail "Z held with xdotool never reached the virtual keyboard"
wait_log '^keys -$' 10 || lq_fail "Z released never reached the virtual keyboard"
lq_log "Z held and released through the virtual keyboard"
lq_shot running

lq_escape_ok "$xwin"
lq_log "Escape ended the program with status 0"
