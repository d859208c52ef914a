# run-game.sh's play mode (--play, --compare, --update-golden, --tolerance),
# sourced by it: the game plays a script inside itself in a virtual display,
# then its shots are kept as golden frames or compared with them.

# play_options NAME VALUE: takes one of the play mode's options; fails for others.
play_options() {
  case $1 in
    --play) play_script=$2 ;; --compare) play_compare=$2 ;;
    --update-golden) play_update=$2 ;; --tolerance) play_tolerance=$2 ;;
    *) return 1 ;;
  esac
}
play_script="" play_compare="" play_update="" play_tolerance=2

play_check_options() {
  if [ -z "$play_script" ]; then
    [ -z "$play_compare$play_update" ] && [ "$play_tolerance" = 2 ] ||
      fail "--compare, --update-golden and --tolerance go with --play SCRIPT"
    return 0
  fi
  [ -f "$play_script" ] || fail "no play script '$play_script'"
  [[ $play_tolerance =~ ^[0-9]{1,3}$ ]] && [ "$play_tolerance" -le 255 ] ||
    fail "--tolerance wants a channel difference from 0 to 255, not '$play_tolerance'"
  [ -z "$play_compare" ] || [ -d "$play_compare" ] ||
    fail "no golden frames folder '$play_compare' (make it with --update-golden $play_compare)"
  seconds=${seconds:-300}
}

# Runs the game with the script (DISPLAY: the virtual one) until it ends, then
# reads its log; the exit status says whether the play and every comparison passed.
play_game() {
  local folder="$shots/$name-play" script_name failed=0 shot count=0
  local log="$folder/play.log" program_log="$shots/$name.log"
  script_name=$(basename "$play_script")
  rm -rf "$folder"
  mkdir -p "$folder"
  export LQ_PLAY="Z:$(cd "$(dirname "$play_script")" && pwd)/$script_name" LQ_PLAY_LOG="Z:$log"
  echo "Playing $script_name in $program (headless, at most $seconds s)."
  start_program "$program_log"
  if ! wait_program "$seconds"; then
    echo "run-game: $program still runs $seconds s after its start: does $script_name end with" \
      "'frame N close'? Stopping it." >&2
    if find_window; then quit_program || true; fi
    stop_all
    failed=1
  elif [ "$status" != 0 ]; then
    echo "run-game: $program ended with status $status; see $program_log" >&2
    failed=1
  fi
  if [ ! -f "$log" ]; then
    echo "run-game: $program wrote no play log ($log): does it start with START_NO_PLAY_ENV," \
      "or fail before InitApplication? See $program_log" >&2
    return 1
  fi
  # Bad lines and unreadable scripts, shots that could not be taken.
  if tr -d '\r' <"$log" | grep -E '^line [0-9]+:|^the script cannot|shot .* (failed|not saved)' >&2; then
    echo "run-game: $script_name did not play as written (above; the whole log: $log)" >&2
    failed=1
  fi
  tr -d '\r' <"$log" | grep -qE '^frame [0-9]+ (end|stopped)' ||
    { echo "run-game: the play log stops before the script's end: did $program crash? See $program_log" >&2; failed=1; }
  local shots_taken
  shots_taken=$(tr -d '\r' <"$log" | awk '$3 == "shot" && $5 == "crc" { print $4 }')
  if [ -n "$play_update" ]; then
    mkdir -p "$play_update"
    for shot in $shots_taken; do
      python3 "$root/tools/golden.py" keep "$folder/$shot.png" "$play_update/$shot.png" || return 1
      count=$((count + 1))
    done
    echo "Golden frames: $count shots of $script_name written to $play_update"
  fi
  if [ -n "$play_compare" ]; then
    local result
    for shot in $shots_taken; do
      if [ ! -f "$play_compare/$shot.png" ]; then
        echo "$shot: no golden frame $play_compare/$shot.png (make it with --update-golden $play_compare)" >&2
        failed=1
        continue
      fi
      if result=$(python3 "$root/tools/golden.py" compare "$folder/$shot.png" "$play_compare/$shot.png" \
        "$folder/$shot.diff.png" "$play_tolerance"); then
        echo "$shot: $result"
      else
        echo "$shot: $result" >&2
        failed=1
      fi
      count=$((count + 1))
    done
    for shot in "$play_compare"/*.png; do
      [ -e "$shot" ] || continue
      grep -qx "$(basename "$shot" .png)" <<<"$shots_taken" ||
        { echo "$(basename "$shot" .png): a golden frame that $script_name took no shot of" >&2; failed=1; }
    done
    [ "$failed" = 1 ] || echo "Golden frames: all $count shots of $script_name match $play_compare"
  fi
  echo "Play log: $log"
  [ "$failed" = 0 ]
}
