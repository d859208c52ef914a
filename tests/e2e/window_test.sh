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

# run-game.sh on this display: --seconds closes the game while another window
# keeps taking the focus; a program that opens no window (Wine's hostname.exe)
# fails the run.
run_game() {
  (cd "$LQ_ART/run" && env LQ_WINE_STATE="$LQ_STATE" LQ_SOUND_FILE=/dev/null \
    LQ_VIRTUAL_PAD_DLL="$LQ_BUILD/tools/virtual_pad/dinput8.dll" "$LQ_SOURCE/scripts/run-game.sh" "$@")
}
xmessage -title "focus holder" "holding the focus" & holder=$!
holder_win=$(lq_xwindow "focus holder") || lq_fail "no xmessage window"
(while kill -0 $holder 2>/dev/null; do xdotool windowfocus "$holder_win"; sleep 0.1; done) 2>/dev/null &
run_game ./Lumaquill.exe --seconds 3 >"$LQ_ART/seconds.log" 2>&1; status=$?
kill $holder
[ $status = 0 ] || lq_fail "--seconds 3 behind another window: status $status; $(tail -2 "$LQ_ART/seconds.log")"
cp "$LQ_STATE/prefix/drive_c/windows/system32/hostname.exe" "$LQ_ART/run/"
run_game ./hostname.exe >"$LQ_ART/no-window.log" 2>&1 && lq_fail "a program without a window: status 0"
grep -q 'opened no window' "$LQ_ART/no-window.log" || lq_fail "no-window run said: $(cat "$LQ_ART/no-window.log")"
lq_log "--seconds closed the game behind another window; a run without a window failed"
