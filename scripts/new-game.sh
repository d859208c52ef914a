#!/usr/bin/env bash
# Writes a new game project on the framework into a folder of its own, outside
# this tree, from examples/starter/: its CMakeLists.txt (the framework built with
# it through add_subdirectory, or found installed), main.cpp, the asset script
# and the players' README.txt, which package-game.sh packs.
# Prints the commands that build, run and pack it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
  cat <<'EOF2'
Usage: scripts/new-game.sh NAME [DIR]

Writes a game project called NAME into DIR (default: ./NAME), which must be
new or empty and outside the framework's folder. NAME is a letter followed by
letters, digits or underscores; it names the exe and the window.
EOF2
}
case ${1:-} in -h | --help) usage; exit 0 ;; esac
[ $# -ge 1 ] && [ $# -le 2 ] || { usage >&2; exit 2; }
name=$1
[[ $name =~ ^[A-Za-z][A-Za-z0-9_]{0,63}$ ]] || { echo "new-game: '$name' is not a name (see --help)" >&2; exit 2; }
dir=${2:-$PWD/$name}
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)
case $dir/ in "$root"/*) echo "new-game: $dir is inside the framework's folder" >&2; exit 2 ;; esac
[ -z "$(ls -A "$dir")" ] || { echo "new-game: $dir is not empty" >&2; exit 2; }

for f in CMakeLists.txt main.cpp assets.py start.play README.txt; do
  sed -e "s|@NAME@|$name|g" -e "s|@LUMAQUILL_DIR@|$root|g" "$root/examples/starter/$f" >"$dir/$f"
done
cp -r "$root/examples/starter/golden" "$dir/"
cat <<EOF2
Wrote $dir: CMakeLists.txt, main.cpp, assets.py, start.play, golden/ and
README.txt (for its players). Build it, run it, test it (start.play played
inside it, its shots compared with golden/), then pack it for players (a zip
that starts on any Windows 7 or later, nothing to install):

  cmake -S "$dir" -B "$dir/build" && cmake --build "$dir/build" -j2
  "$root/scripts/run-game.sh" "$dir/build/$name.exe"
  ctest --test-dir "$dir/build" --output-on-failure
  "$root/scripts/package-game.sh" "$dir/build/$name.exe" --check
EOF2
