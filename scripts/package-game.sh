#!/usr/bin/env bash
# Packs a game for players: one folder named after the exe, holding the exe, its
# files and a README, in a zip; refuses an exe that needs DLLs a fresh Windows
# lacks. --check unpacks the zip and starts the game as on a fresh Windows.
set -euo pipefail
source "$(dirname "$0")/common.sh"

usage() {
  cat <<'EOF2'
Usage: scripts/package-game.sh EXE [FILE|DIR ...] [--out ZIP] [--check]

Packs the game EXE into a zip (default: NAME.zip in the current folder, NAME
being EXE's name without .exe) holding one folder, NAME/, with:
  - EXE;
  - the files and folders given, or by default every media file beside EXE
    (.bmp .png .jpg .jpeg .tga .gif .dds .wav .ogg .ttf);
  - README.txt for players: the game's own (a README.txt among the files, or
    beside EXE), else one made from scripts/player-readme.txt (how to start
    the game; nothing to install; Windows 7 or later), NAME put for @NAME@.

EXE may import only DLLs that every Windows has, or DLLs packed beside it; an
exe that needs others (a compiler's runtime, a separately installed runtime) is
refused, with the list.

  --out ZIP   where the zip goes
  --check     unpack the zip into a new folder and start the game there, in a new
              Wine prefix without d3dx9_43.dll (a fresh Windows), headless for
              5 seconds; report whether it drew (a screenshot, NAME-check.png
              beside the zip, and its log, NAME-check.log) and ended cleanly
  --help      show this text
EOF2
}

fail() { echo "package-game: $*" >&2; exit 2; }
exe="" out="" check=0 items=()
while [ $# -gt 0 ]; do
  case $1 in
    --out) [ $# -gt 1 ] || fail "--out needs a value"; out=$2; shift 2 ;;
    --check) check=1; shift ;;
    -h | --help) usage; exit 0 ;;
    -*) echo "package-game: unknown option '$1'" >&2; usage >&2; exit 2 ;;
    *) if [ -z "$exe" ]; then exe=$1; else items+=("$1"); fi; shift ;;
  esac
done
[ -n "$exe" ] || { usage >&2; exit 2; }
[ -f "$exe" ] || fail "no program '$exe'"
case $exe in *.[eE][xX][eE]) ;; *) fail "'$exe' is not an exe" ;; esac
for item in ${items[@]+"${items[@]}"}; do [ -e "$item" ] || fail "no file or folder '$item': name only what exists"; done
name=$(basename "$exe"); name=${name%.[eE][xX][eE]}
dir=$(cd "$(dirname "$exe")" && pwd)
out=${out:-$PWD/$name.zip}
case $out in /*) ;; *) out=$PWD/$out ;; esac

# By default the media beside the exe.
if [ ${#items[@]} -eq 0 ]; then
  while IFS= read -r -d '' f; do items+=("$f"); done < <(
    find "$dir" -maxdepth 1 -type f \( -iname '*.bmp' -o -iname '*.png' -o -iname '*.jpg' -o \
      -iname '*.jpeg' -o -iname '*.tga' -o -iname '*.gif' -o -iname '*.dds' -o -iname '*.wav' -o \
      -iname '*.ogg' -o -iname '*.ttf' -o -iname 'readme.txt' \) -print0 | sort -z)
fi

# The DLLs every Windows (7 or later) has; anything else must come in the zip.
system_dlls=" kernel32 user32 gdi32 advapi32 shell32 ole32 oleaut32 comdlg32 comctl32 winmm"
system_dlls+=" dsound d3d9 dinput8 dinput ddraw version shlwapi imm32 ws2_32 wsock32 msvcrt"
system_dlls+=" opengl32 setupapi winspool.drv "
objdump=$(command -v i686-w64-mingw32-objdump || command -v objdump) ||
  fail "no objdump to read the exe's imports with (Debian: binutils-mingw-w64-i686)"
# One packed name a line: a name may hold spaces.
packed=$(for item in ${items[@]+"${items[@]}"}; do basename "$item"; done | tr 'A-Z' 'a-z')
missing=()
while IFS= read -r dll; do
  case "$system_dlls" in *" ${dll%.dll} "*) continue ;; esac
  grep -qxF -- "$dll" <<<"$packed" || missing+=("$dll")
done < <("$objdump" -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
if [ ${#missing[@]} -gt 0 ]; then
  fail "$name.exe needs DLLs that a fresh Windows lacks: ${missing[*]}. Link their code into the exe
(the framework's target does: -static), or name each DLL among the files to pack."
fi

# The packing folder and the check's unpacked copy go on every exit, signals included.
stage=$(mktemp -d "${TMPDIR:-/tmp}/lq-package.XXXXXX")
check_dir=""
trap 'rm -rf "$stage" ${check_dir:+"$check_dir"}' EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
mkdir "$stage/$name"
cp "$exe" "$stage/$name/$name.exe"
for item in ${items[@]+"${items[@]}"}; do cp -R "$item" "$stage/$name/"; done
if ! ls "$stage/$name" | grep -qix 'readme.txt'; then
  own=$(find "$dir" -maxdepth 1 -type f -iname readme.txt | head -1)
  if [ -n "$own" ]; then
    cp "$own" "$stage/$name/"
  else
    text=$(<"$root/scripts/player-readme.txt")
    # Windows line ends, for Notepad.
    printf '%s\n' "${text//@NAME@/"$name"}" | sed 's/$/\r/' >"$stage/$name/README.txt"
  fi
fi
rm -f "$out"
mkdir -p "$(dirname "$out")"
(cd "$stage" && python3 -m zipfile -c "$out" "$name") || fail "could not write $out"
count=$(cd "$stage" && find "$name" -type f -printf . | wc -c)
echo "Packed $out: $name/ with $count files ($(cd "$stage/$name" && ls | tr '\n' ' '))"
[ "$check" = 1 ] || exit 0

# The check: the zip unpacked into a new folder, the game started from there as
# a player would on a fresh Windows.
check_dir=$(mktemp -d "${TMPDIR:-/tmp}/lq-package-check.XXXXXX")
python3 -m zipfile -e "$out" "$check_dir" || fail "could not unpack $out"
while IFS= read -r -d '' f; do
  [ -f "$check_dir/$name/$f" ] || fail "check: '$f' is missing from the unpacked folder"
done < <(cd "$stage/$name" && find . -type f -print0)
echo "Checking: $name.exe unpacked in a new folder and a new Wine prefix without d3dx9_43.dll, for 5 s."
# Its screenshot and log stay beside the zip.
report=${out%.[zZ][iI][pP]}-check
status=0
env -u DISPLAY WINEDLLOVERRIDES="d3dx9_43=d" LQ_VIRTUAL_PAD=0 \
  "$root/scripts/run-game.sh" "$check_dir/$name/$name.exe" --fresh --seconds 5 \
  --shots "$check_dir/shots" >"$report.log" 2>&1 || status=$?
rm -f "$report.png"
if [ "$status" = 0 ] && cp "$check_dir/shots/$name.png" "$report.png" 2>/dev/null && [ -s "$report.png" ]; then
  echo "Check passed: it drew (screenshot: $report.png) and ended cleanly when its window was closed."
  exit 0
fi
cp "$check_dir/shots/$name-failure.png" "$report-failure.png" 2>/dev/null && report_shot=" and $report-failure.png"
cat "$report.log" >&2
echo "package-game: check failed (status $status); see $report.log${report_shot:-}" >&2
exit 1
