#!/usr/bin/env bash
# With a sound device (the recorder wine-run.sh gives ALSA) the program starts
# with sound: no message, the device records, Escape ends it with status 0.
# With none (Wine without its audio drivers) it shows "InitSound : Failed\n",
# captioned "Error", and exits with status 0.
source "$(dirname "$0")/lib.sh"

lq_start LQ_SOUND_FILE="$LQ_ART/sound.wav"
lq_probe window Lumaquill 60 >/dev/null || lq_fail "no window titled Lumaquill"
boxes=$(lq_probe boxes 1 5)
[ -z "$boxes" ] || lq_fail "message boxes: $boxes"
size=$(stat -c %s "$LQ_ART/sound.wav" 2>/dev/null || echo 0)
[ "$size" -gt 44 ] || lq_fail "nothing recorded from the sound device ($size bytes)"
lq_log "started with sound: no message box, $size bytes recorded"
xwin=$(lq_xwindow Lumaquill) || lq_fail "no X window named Lumaquill"
lq_escape_ok "$xwin"

lq_start "WINEDLLOVERRIDES=dinput8=n,b;winealsa.drv,winepulse.drv,wineoss.drv=d"
# On the screen before it is answered, as a player sees it: run-game.sh counts a
# program that showed no window as failed.
lq_xwindow Error 60 >/dev/null || lq_fail "no message box on the screen"
out=$(lq_probe boxes 1 60)
lq_log "without a sound device: $out"
[ "$out" = 'box Error|InitSound : Failed\n' ] || lq_fail "message boxes were: $out"
lq_wait_exit 30 || lq_fail "still running 30 s after the message"
lq_status_ok
lq_log "one message, then exit status 0"
