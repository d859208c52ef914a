#!/usr/bin/env bash
# A game of one's own, as a new user makes it: scripts/new-game.sh writes it into
# a folder outside the tree; it builds by the command printed (the framework as a
# subdirectory, installing only itself) and from an install prefix (the framework
# built alone, then found by find_package), both optimised GUI programs with SSE2
# importing only system DLLs; the printed run command, headless for 5 s, shows its
# sprite (moved right by the pad) and text, and records its chime in a WAV file read
# as its header says. The installed package-game.sh packs it; its check (no D3DX)
# shows the sprite and the text, within 2 px of the run with D3DX, packed under
# names with spaces and shell characters with the starter's README. The game's own
# DLLs of the stand-ins' names are left as they were by a run. Its ctest test
# (its play script against its golden frames) passes; one pixel of its sprite
# changed, a strict run of it fails, its diff image showing the spot.
source "$(dirname "$0")/lib.sh"
shot_py="$LQ_SOURCE/tests/tools/shot.py"
tmp=$(mktemp -d /tmp/lq-new-game.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
game="$tmp/rocket" prefix="$tmp/prefix"

"$LQ_SOURCE/scripts/new-game.sh" Rocket "$game" >"$LQ_ART/new.log" || lq_fail "new-game.sh failed"
cat "$LQ_ART/new.log"
build_cmd=$(grep -m1 '^  cmake ' "$LQ_ART/new.log") run_cmd=$(grep -m1 'run-game.sh' "$LQ_ART/new.log")
[ -n "$build_cmd" ] && [ -n "$run_cmd" ] || lq_fail "no build or run command printed"

# Recipe 1: the printed command (add_subdirectory of the framework). The game
# installs its exe, and that alone: none of the framework's files.
echo 'install(TARGETS Rocket DESTINATION .)' >>"$game/CMakeLists.txt"
eval "$build_cmd" >"$LQ_ART/build1.log" 2>&1 || { tail -20 "$LQ_ART/build1.log"; lq_fail "recipe 1 build failed"; }
cmake --install "$game/build" --prefix "$tmp/game" >"$LQ_ART/game-install.log" 2>&1 &&
  [ "$(cd "$tmp/game" && find . -type f)" = ./Rocket.exe ] ||
  lq_fail "the game's install holds more than Rocket.exe: $(cd "$tmp/game" && find . -type f | head)"
# Recipe 2: the framework built alone (no tests, demo or examples) and installed
# into a fresh prefix, the game finding it.
{ cmake -S "$LQ_SOURCE" -B "$tmp/sdk" -DCMAKE_TOOLCHAIN_FILE="$LQ_SOURCE/cmake/mingw-i686.cmake" \
    -DLUMAQUILL_TESTS=OFF && cmake --build "$tmp/sdk" -j2 --target lumaquill &&
  [ -f "$tmp/sdk/liblumaquill_core.a" ] && cmake --build "$tmp/sdk" -j2 &&
  cmake --install "$tmp/sdk" --prefix "$prefix"; } >"$LQ_ART/install.log" 2>&1 ||
  { tail -20 "$LQ_ART/install.log"; lq_fail "building the library alone and installing it failed"; }
programs=$(find "$tmp/sdk" -path '*/CMakeFiles' -prune -o \( -name '*.exe' -o -name '*.dll' \) -print)
[ -z "$programs" ] || lq_fail "the library alone built programs: $programs"
# Exactly the game's headers and the few that their inline calls need.
headers=$(cd "$prefix/include" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')
wanted="app/application.h app/play.h app/save.h graphics/camera2d.h graphics/graphics.h graphics/quad_batch.h \
graphics/quad_layout.h input/input.h input/pad_bits.h lumaquill.h sound/sound.h task/task.h \
util/crc32.h util/failure.h util/float_bits.h util/force_inline.h util/random.h util/sin_table.h util/vec2.h \
util/vec2_exact.h "
[ "$headers" = "$wanted" ] || lq_fail "installed headers: $headers; expected: $wanted"
mkdir "$tmp/rocket2" && cp -r "$game"/{CMakeLists.txt,main.cpp,assets.py,README.txt,start.play,golden} "$tmp/rocket2/"
{ cmake -S "$tmp/rocket2" -B "$tmp/rocket2/build" -DLUMAQUILL_DIR="$prefix" &&
  cmake --build "$tmp/rocket2/build" -j2; } >"$LQ_ART/build2.log" 2>&1 ||
  { tail -20 "$LQ_ART/build2.log"; lq_fail "recipe 2 build failed"; }
for exe in "$game/build/Rocket.exe" "$tmp/rocket2/build/Rocket.exe"; do
  sh "$LQ_SOURCE/tools/virtual_pad/check_imports.sh" i686-w64-mingw32-objdump "$exe" \
    'kernel32|user32|gdi32|advapi32|msvcrt|ole32|winmm|dsound|d3d9|dinput8' ||
    lq_fail "$exe imports more than system DLLs"
  i686-w64-mingw32-objdump -p "$exe" | grep -q 'Subsystem.*(Windows GUI)' || lq_fail "$exe is not a GUI program"
  grep -q 'CMAKE_BUILD_TYPE:STRING=Release' "$(dirname "$exe")/CMakeCache.txt" || lq_fail "$exe: not optimised"
  # The game's own code is compiled for SSE2 arithmetic, as the framework is.
  grep -q -- '-msse2 -mfpmath=sse' "$(dirname "$exe")/CMakeFiles/Rocket.dir/flags.make" ||
    lq_fail "$exe: its code not compiled with the framework's SSE2 flags"
done
lq_log "built by both recipes (optimised, SSE2, GUI); imports only system DLLs"
# Nor does any exe of the framework's build import D3DX.
for exe in $(find "$LQ_BUILD" -name '*.exe' -not -path '*/e2e/*' -not -path "$LQ_STATE/*"); do
  ! i686-w64-mingw32-objdump -p "$exe" | grep -qi 'DLL Name: *d3dx9' || lq_fail "$exe imports D3DX"
done

# Run: right for 10 frames (4 px a logic step, about 1 to 5 steps a frame under
# 60 frames a second: some 40 to 200 px), then button 0 (a chime), on a busy machine
# well within the 5 s.
printf '1000 0 0 10\n0 0 1 1\n0 0 0 100000\n' >"$tmp/pad.txt"
# DLLs of the game's own with the stand-ins' names are as they were after the run.
printf "the game's own" >"$game/build/dinput8.dll"
{ cat "$LQ_BUILD/tools/virtual_pad/xinput1_4.dll"; printf own; } >"$game/build/xinput1_4.dll"
own=$(cd "$game/build" && md5sum ./*.dll)
eval "env -u DISPLAY LQ_WINE_STATE=\"$LQ_STATE\" LQ_VIRTUAL_PAD_DLL=\"$LQ_BUILD/tools/virtual_pad/dinput8.dll\" $run_cmd" \
  --seconds 5 --pad-script "$tmp/pad.txt" --record-sound "$LQ_ART/sound.wav" --shots "$LQ_ART" \
  >"$LQ_ART/run.log" 2>&1 || { cat "$LQ_ART/run.log"; lq_fail "run-game.sh failed"; }
cat "$LQ_ART/run.log"
[ "$(cd "$game/build" && md5sum ./*.dll)" = "$own" ] && ! ls -A "$game/build" | grep -q lq-own ||
  lq_fail "the game's own DLLs were not left as they were: $(cd "$game/build" && md5sum ./*.dll; ls -A)"
png="$LQ_ART/Rocket.png"
# The sprite's and the text's colours in a screenshot. The window's frame is a few
# pixels wide: its client area starts near (3, 25).
sprite_in() { python3 "$shot_py" blob "$1" 0 0 820 640 20 150 20 110 255 110; }
text_in() { python3 "$shot_py" blob "$1" 10 30 420 60 120 95 20 255 215 80; }
sprite=$(sprite_in "$png") text=$(text_in "$png")
lq_log "sprite: $sprite; text: $text"
read -r _ n _ cx _ <<<"$sprite"
[ "${n:-0}" -gt 300 ] && awk -v x="$cx" 'BEGIN { exit !(x > 430 && x < 607) }' ||
  lq_fail "no sprite moved 40 to 200 px right of the centre: $sprite"
[ "$(cut -d' ' -f2 <<<"$text")" -gt 200 ] || lq_fail "no text on screen: $text"
tones=$(python3 "$LQ_SOURCE/tests/tools/tones.py" "$LQ_ART/sound.wav" 880) || lq_fail "recording unreadable"
lq_log "recorded: $(tr '\n' ';' <<<"$tones")"
read -r _ fill <<<"$(head -1 <<<"$tones" | cut -d' ' -f3-)"
read -r _ _ windows _ <<<"$(tail -1 <<<"$tones")"
awk -v f="$fill" 'BEGIN { exit !(f > 0 && f < 0.7) }' || lq_fail "the recording does not read as tones"
[ "$windows" -ge 2 ] || lq_fail "the chime is not in the recording"

# Packed by the installed command, checked as on a fresh Windows (no D3DX, a new
# prefix), under names with spaces and shell characters; the starter's README
# beside the exe goes in, and no temporary folder stays.
pack="$prefix/share/lumaquill/scripts/package-game.sh"
odd="$tmp/odd \$dir 'x'" exe="Rocket \$1's.exe" notes="notes \$HOME 'x'.txt"
mkdir "$odd" "$tmp/t" && cp "$tmp/rocket2/build/"{sprite.bmp,chime.wav,README.txt} "$odd/" &&
  cp "$tmp/rocket2/build/Rocket.exe" "$odd/$exe" && echo notes >"$odd/$notes" || lq_fail "copying the game failed"
(cd "$odd" && TMPDIR="$tmp/t" "$pack" "$exe" sprite.bmp chime.wav "$notes" --out "$LQ_ART/Rocket.zip" --check) \
  >"$LQ_ART/pack.log" 2>&1 || { cat "$LQ_ART/pack.log"; lq_fail "package-game.sh --check failed"; }
cat "$LQ_ART/pack.log"
# (Wine's own folders aside.)
! ls -A "$tmp/t" | grep '^lq-' || lq_fail "folders of ours left in the temporary folder"
python3 -c 'import sys, zipfile; print(zipfile.ZipFile(sys.argv[1]).read(sys.argv[2]).decode())' \
  "$LQ_ART/Rocket.zip" "${exe%.exe}/README.txt" | grep -q '^  Arrow keys   move' ||
  lq_fail "the starter's README, saying what the keys do, is not in the zip"
bare=$(sed -n 's/^Check passed: .*screenshot: \(.*\)) and.*/\1/p' "$LQ_ART/pack.log")
cp "$bare" "$LQ_ART/Rocket-without-d3dx.png" || lq_fail "no screenshot from the check"
bare="$LQ_ART/Rocket-without-d3dx.png"
sprite2=$(sprite_in "$bare") text2=$(text_in "$bare")
lq_log "without D3DX: sprite: $sprite2; text: $text2"
read -r _ n _ cx _ <<<"$sprite2"
[ "${n:-0}" -gt 300 ] && awk -v x="$cx" 'BEGIN { exit !(x > 380 && x < 430) }' ||
  lq_fail "no sprite at the centre without D3DX: $sprite2"
awk '{split(a, w); for (i = 8; i <= 14; i += 2) if ((w[i] - $i) ^ 2 > 4) exit 1}' a="$text" <<<"$text2" ||
  lq_fail "the text moved more than 2 px without D3DX"

# The game's own test: its play script against the golden frames it came with.
(cd "$game/build" && ctest --output-on-failure) >"$LQ_ART/ctest.log" 2>&1 ||
  { cat "$LQ_ART/ctest.log"; lq_fail "the new game's ctest test failed"; }
grep -h 'matches:' "$game/build/Rocket_play/Rocket.log" "$LQ_ART/ctest.log" 2>/dev/null | head -3
lq_log "the game's ctest test passed: $(grep -c 'matches:' "$LQ_ART/ctest.log") shots match"
# One pixel of the sprite's 32 x 32, near its middle, made magenta; not one
# differing pixel allowed, the test fails and the diff shows the sprite's place.
sed -i 's/^def sprite(x, y):$/&\n    if (x, y) == (16, 20):\n        return (255, 0, 255)/' "$game/assets.py"
cmake --build "$game/build" -j2 >"$LQ_ART/build3.log" 2>&1 || lq_fail "rebuilding with the changed sprite failed"
(cd "$game/build" && ctest --output-on-failure) >"$LQ_ART/ctest-changed.log" 2>&1 &&
  { cat "$LQ_ART/ctest-changed.log"; lq_fail "a sprite with a pixel changed still matched"; }
cat "$LQ_ART/ctest-changed.log" | grep -E 'differs|diff|golden' || true
diff_png="$game/build/Rocket_play/Rocket-play/start.diff.png"
[ -f "$diff_png" ] || lq_fail "no diff image $diff_png"
cp "$game/build/Rocket_play/Rocket-play/"*.diff.png "$LQ_ART/"
# The red of the diff: at the sprite's place, the centre (400, 300), in the first shot.
spot=$(python3 "$shot_py" blob "$diff_png" 0 0 800 600 250 0 0 255 0 0)
lq_log "start.diff.png red: $spot"
read -r _ n _ cx _ cy _ <<<"$spot"
[ "${n:-0}" -ge 1 ] && [ "$n" -le 16 ] && awk -v x="$cx" -v y="$cy" 'BEGIN { exit !(x > 390 && x < 410 && y > 290 && y < 316) }' ||
  lq_fail "the diff does not show the changed pixel at the sprite: $spot"
lq_log "one sprite pixel changed: the strict test fails; the diff shows $n red pixels at ($cx, $cy)"
