#!/usr/bin/env bash
# Input as a game sees it (input_probe.cpp, 15 polls a second): modern pads from
# the virtual controller's XInput script; then real X events through Wine: typed
# UTF-8, quick taps and clicks counted once, the wheel, Escape a key, Alt+Enter a
# toggle and no Enter; closing quits.
LQ_EXE=tests/e2e/InputProbe.exe
LQ_TITLE="Input Probe"
source "$(dirname "$0")/lib.sh"
out="$LQ_ART/program.log" pads="$LQ_ART/run/xinput.log"
lines() { tr -d '\r' <"$1" | grep "$2"; }
count() { lines "$1" "$2" | wc -l; }
# The first (or, with $4 = last, the last) line of file $1 matching $2 must be $3.
expect() {
  local got
  got=$(lines "$1" "$2" | if [ "${4:-}" = last ]; then tail -1; else head -1; fi)
  [ "$got" = "$3" ] || lq_fail "expected '$3', got '$got'"
}

# Pad 0: sticks at full travel, in and past the dead zone, triggers under and at
# full, A; then the triggers just past and just short of half travel; then B (the
# probe rumbles it), then nothing. Pad 1 plugged in at 7 s. The stand-in's clock
# starts as InitApplication finds the pads: the first state lasts 5 s, for the
# start of a loaded machine.
cat >"$LQ_ART/run/pads.txt" <<'PADS'
# ms pad  lx     ly    rx   ry    lt  rt  buttons
0     0   32767 -32768 8000 20000 20  255 1000
5000  0   32767 -32768 8000 20000 128 127 1000
5800  0   0      0     0    0     0   0   2000
6300  0   0      0     0    0     0   0   0
7000  1   0      0     0    0     0   0   0
PADS
LQ_VIRTUAL_PAD=0 lq_start LQ_XINPUT_SCRIPT=pads.txt LQ_XINPUT_LOG=xinput.log
lq_find_window
lq_wait_line "$out" '^state 1 ' 30 || lq_fail "pad 1 never found"
lq_wait_line "$out" '^released 00200' 10 || lq_fail "button 1 of pad 0 never released"

# Known as InitApplication returns, right trigger and all.
expect "$out" '^start' 'start 1 4010A'
expect "$out" '^invalid' 'invalid 80070057 80070057 80070057'
# Sticks scaled to -1000..1000, up negative: (20000 - 8689) * 1000 / (32767 - 8689) = 469.
expect "$out" '^state 0' 'state 0 4010A 1000 1000 0 -469 0 255'
expect "$out" '^bits' 'bits 4010A'
# The triggers' edges: the right let go as the left passes half travel.
edges=$(lines "$out" '^pressed\|^released' | grep -v ' 00200$' | tr '\n' ';')
[ "$edges" = "pressed 4010A;pressed 20000;released 40000;released 2010A;" ] ||
  lq_fail "the triggers' and buttons' edges: $edges"
expect "$out" '^rumble' 'rumble 0'
expect "$pads" '^rumble' 'rumble 0 1000 65535'
read -r _ _ found <<<"$(lines "$pads" '^found 1 ')"
[ -n "$found" ] && [ "$found" -le 8500 ] || lq_fail "pad 1, plugged in at 7000 ms, found at ${found:-never} ms"
# An empty slot is asked at most once a second (the probe reads its clock once
# a poll, the stand-in at each call: a few ms apart), after the first frame (the
# stand-in's clock stands at 0 through it).
gaps=$(lines "$pads" '^empty 2 ' | awk 'NR > 2 { print $3 - last } { last = $3 }' | sort -n | head -1)
[ -n "$gaps" ] && [ "$gaps" -ge 980 ] || lq_fail "empty slot 2 asked again after ${gaps:-?} ms"
lq_log "pads: known at the start, state, bits, the triggers' edges, rumble; pad 1 plugged in at 7000 ms found at $found ms;" \
  "an empty slot asked every $gaps ms at the least"

# A character the keyboard map lacks is typed on a key xdotool maps for it
# and unmaps after the key goes up: slowly enough for Wine to read the key while
# it is mapped, as it reads X events only when the probe pumps its messages.
lq_focus "$xwin"
xdotool type --delay 400 "Zoë 😀"
lq_wait_line "$out" '^text .*80$' 10 || lq_fail "the emoji never arrived: $(lines "$out" '^text')"
typed=$(lines "$out" '^text' | cut -c6- | tr '\n' ' ' | sed 's/ $//')
[ "$typed" = "5A 6F C3 AB 20 F0 9F 98 80" ] || lq_fail "typed 'Zoë 😀' arrived as $typed"
# The Z typed pressed button 0 once already.
for i in 1 2 3; do xdotool key a; sleep 0.4; done
xdotool key z
xdotool mousemove --window "$xwin" 160 120 sleep 0.3 click --repeat 3 --delay 150 4 sleep 0.3 click 1
sleep 0.5
[ "$(count "$out" '^key 1E$')" = 3 ] || lq_fail "three taps of A counted $(count "$out" '^key 1E$') times"
[ "$(count "$out" '^pressed 00100$')" = 2 ] && [ "$(count "$out" '^released 00100$')" = 2 ] ||
  lq_fail "a tap of Z not one press and one release of button 0"
wheel=$(lines "$out" '^wheel' | awk '{ s += $2 } END { print s + 0 }')
[ "$wheel" = 360 ] || lq_fail "three notches away read as $wheel"
lines "$out" 'changed between' && lq_fail "the wheel read differently within a frame"
[ "$(count "$out" '^click 0$')" = 1 ] || lq_fail "a quick click counted $(count "$out" '^click 0$') times"
lq_log "typed UTF-8 $typed; three taps, one click and one Z counted once each; wheel $wheel"

lq_focus "$xwin"
xdotool key Escape
lq_wait_line "$out" '^key 01$' 5 || lq_fail "Escape not seen as a key"
sleep 1
kill -0 "$LQ_PID" 2>/dev/null || lq_fail "Escape ended a game that keeps it as a key"
# Alt+Enter, quick and held: the toggle, and no Enter to the game (no press, no
# key state, no text); then a plain Enter is one.
lq_focus "$xwin"
xdotool key alt+Return
lq_wait_line "$out" '^fullscreen 1$' 10 || lq_fail "Alt+Enter did not go full screen"
lq_focus "$xwin"
xdotool keydown alt keydown Return sleep 0.6 keyup Return keyup alt
lq_wait_line "$out" '^fullscreen 0$' 10 || lq_fail "Alt+Enter held did not come back framed"
sleep 0.5
enter=$(lines "$out" '^key 1C\|^key 9C\|^enter\|^text 0D' | tr '\n' ';')
[ -z "$enter" ] || lq_fail "Alt+Enter reached the game as Enter: $enter"
lq_focus "$xwin"
xdotool key Return
lq_wait_line "$out" '^key 1C$' 5 || lq_fail "a plain Enter not seen"
[ "$(count "$out" '^key 1C$')" = 1 ] && [ "$(count "$out" '^text 0D$')" = 1 ] ||
  lq_fail "a plain Enter read as: $(lines "$out" '^key 1C\|^enter\|^text 0D' | tr '\n' ';')"
lq_log "Alt+Enter toggled twice (quick, then held 0.6 s) with no Enter press, state or text; a plain Enter one press and one 0D"

LQ_QUIT_KEYS=alt+F4 lq_quit "$LQ_PID" 10 lq_focus "$xwin" && LQ_PID="" || lq_fail "closing did not end it"
lq_status_ok
lines "$out" '^end' >/dev/null || lq_fail "the probe did not end its loop"
expect "$pads" '^rumble 0 ' 'rumble 0 0 0' last
lq_log "Escape a key, the game still running; closing ended it, the motors stopped"
