#!/usr/bin/env bash
# A game's ctest test (lumaquill_add_game_test): copies the exe and its files
# into a folder of the test's own, then plays the script there through
# run-game.sh --play with the options given.
#   game-test.sh FOLDER EXE SCRIPT "FILE|OTHER-PLACE;..." [run-game options...]
set -uo pipefail
folder=$1 exe=$2 script=$3 files=$4 prev=""
shift 4
rm -rf "$folder"
mkdir -p "$folder"
cp "$exe" "$folder/" || exit 1
IFS=';' read -r -a entries <<<"$files"
for entry in "${entries[@]}"; do
  [ -n "$entry" ] || continue
  IFS='|' read -r -a places <<<"$entry"
  copied=0
  for place in "${places[@]}"; do
    if [ -e "$place" ]; then cp -r "$place" "$folder/" && copied=1 && break; fi
  done
  [ "$copied" = 1 ] || { echo "game test: no file ${places[0]} (nor ${places[1]:-}): is the game built?" >&2; exit 1; }
done
"$(dirname "$0")/run-game.sh" "$folder/$(basename "$exe")" --play "$script" --shots "$folder" "$@"
status=$?
if [ $status != 0 ]; then
  for option in "$@"; do
    if [ "$prev" = --compare ] 2>/dev/null; then golden=$option; fi
    prev=$option
  done
  echo "Shots, diffs and the play log: $folder/$(basename "$exe" .exe)-play/" >&2
  if [ -n "${golden:-}" ]; then
    echo "If the new pictures are right, make them the golden frames:" >&2
    echo "  $(cd "$(dirname "$0")" && pwd)/run-game.sh $exe --play $script --update-golden $golden" >&2
  fi
fi
exit $status
