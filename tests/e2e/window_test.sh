#!/usr/bin/env bash
# The program shows its window, titled "Lumaquill" with an 800 x 600 client area
# centred by the client size, and Escape ends it with exit status 0.
source "$(dirname "$0")/lib.sh"

lq_start
out=$(lq_probe window Lumaquill 60) || lq_fail "no window titled Lumaquill"
echo "$out" > "$LQ_ART/probe.txt"
lq_log "$(echo $out)"
read -r _ cw ch <<<"$(grep '^client' <<<"$out")"
read -r _ wx wy <<<"$(grep '^window' <<<"$out")"
read -r _ sw sh <<<"$(grep '^screen' <<<"$out")"
[ "$cw" = 800 ] && [ "$ch" = 600 ] || lq_fail "client area ${cw}x${ch}, expected 800x600"
[ "$wx" = $(((sw - 800) / 2)) ] && [ "$wy" = $(((sh - 600) / 2)) ] ||
  lq_fail "window corner ($wx, $wy) on a ${sw}x${sh} screen"
lq_shot window

xwin=$(lq_xwindow Lumaquill)
[ -n "$xwin" ] || lq_fail "no X window named Lumaquill"
lq_escape_ok "$xwin"
lq_log "Escape ended the program with status 0"
