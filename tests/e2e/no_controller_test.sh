#!/usr/bin/env bash
# Without a game controller (Wine's own DirectInput, none attached) the program
# does not start: it shows "InitInput : CreateJoystick\n" then
# "InitDirectInput : Failed\n", both captioned "Error", and exits with status 0.
source "$(dirname "$0")/lib.sh"

LQ_VIRTUAL_PAD=0
lq_start
out=$(lq_probe boxes 2 60)
echo "$out" > "$LQ_ART/boxes.txt"
lq_log "$out"
expected='box Error|InitInput : CreateJoystick\n
box Error|InitDirectInput : Failed\n'
[ "$out" = "$expected" ] || lq_fail "message boxes were: $out"
lq_wait_exit 30 || lq_fail "still running 30 s after the messages"
lq_status_ok
lq_log "two messages, then exit status 0"
