#!/usr/bin/env bash
# Keys alone: the field cursor walks to a ball, Space picks it up, Enter sends it to an empty
# neighbour; Ctrl+N asks (the game has been touched) and Escape answers No; Ctrl+Q asks and Y
# ends the program.
NAME=keyboard
source "$(dirname "$0")/lib.sh"

start_game
wait_for_log "Loading config ..."
locate_window
wait_for_balls 6 game

keys() { # keys <xdotool key names...>, sent one after another to the game
  xdotool windowfocus --sync "$WIN_ID" 2>/dev/null || xdotool windowfocus "$WIN_ID"
  sleep 0.6
  xdotool key --delay 120 "$@"
  sleep 0.4
}
steps() { # steps <count> <key>: the key <count> times (nothing for 0)
  local i out=()
  for ((i = 0; i < $1; i++)); do out+=("$2"); done
  echo "${out[@]}"
}

# A ball with an empty right or lower neighbour.
find_move() {
  local x y
  for ((x = 0; x < 9; x++)); do
    for ((y = 0; y < 9; y++)); do
      [ "$(cell_of $x $y)" = o ] || continue
      if [ $x -lt 8 ] && [ "$(cell_of $((x + 1)) $y)" = . ]; then
        from="$x $y" to="$((x + 1)) $y" dir=Right
        return 0
      fi
      if [ $y -lt 8 ] && [ "$(cell_of $x $((y + 1)))" = . ]; then
        from="$x $y" to="$x $((y + 1))" dir=Down
        return 0
      fi
    done
  done
  fail "no ball can move"
}
find_move
set -- $from
# The first key shows the cursor; Home and Page Up take it to the top-left cell.
# shellcheck disable=SC2046
keys Left Home Prior $(steps "$1" Right) $(steps "$2" Down)
shot cursor-on-ball
keys space $dir
shot path
keys Return
set -- $to
arrived() { [ "$(cell_of "$1" "$2")" = o ] && [ "$(count_balls)" -eq 9 ]; }
wait_for_field 20 "the keyboard move to $to and 9 balls" arrived "$1" "$2"

# Ctrl+N opens the new-game question; Escape answers No and the board stays.
key_until_message ctrl+n new-game
keys Escape
closed() { [ "$(region_diff "$BEFORE" "$LAST_SHOT" 330 150 400 250)" -lt 60 ]; }
BEFORE=$SHOTS/$NAME-new-game-before.png
wait_until 10 "the question closed" eval 'shot after-no; closed'
FIELD=$(read_field)
[ "$(count_balls)" -eq 9 ] || fail "Escape to the new-game question changed the board"

key_until_message ctrl+q quit
keys y
wait_for_exit
[ "$(config_size)" -eq 1450 ] || fail "Config.bin is $(config_size) bytes after quitting by keys"
echo "PASS ($NAME)"
