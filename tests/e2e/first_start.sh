#!/usr/bin/env bash
# A first start (no registry file, no Config.bin) reaches a Normal game with the log lines in
# order; a click on a ball and on an empty cell moves it, and so does a drag; Options, Help and
# High Scores open and Back returns; Exit and Yes end the program with a 1450-byte Config.bin
# that keeps the game.
NAME=first_start
source "$(dirname "$0")/lib.sh"

start_game
wait_for_log "Loading config ..."
# The full-screen value created as 0, and the first-game tip on show remembered.
[ "$(head -n 1 "$REGISTRY")" = "Fullscreen=0" ] || fail "the registry file was not created as 0"
wait_until 20 "the first tip remembered in the registry" grep -qx "TipsSeen=start" "$REGISTRY"
[ "$(wc -l < "$REGISTRY")" = 2 ] || fail "the registry holds more than the two values"

# The start messages in their order.
last=0
for step in "Program started" "Initializing Direct3D Device..." "...Ok" "Device - " "CPU - " \
  "Initializing Font Render Device..." "Loading textures..." "Starting Logo" \
  "Loading font ..." "Loading ingame strings..." "Loading Ingame Resources ..." \
  "Initializing BASS ..." "Initializing XWindows :) ..." "Releasing loading stuff ..." \
  "Starting game..." "Loading config ..."; do
  n=$(grep -nF -- "-=- $step" "$LOG" | head -n 1 | cut -d: -f1)
  [ -n "$n" ] && [ "$n" -gt "$last" ] || fail "\"$step\" is missing or out of order"
  last=$n
done
# 10 start-up pictures, 117 in-game ones, the undo and hint buttons, the 2 of the Options screen's
# language row, its 3 of the switches and the 6 of the effects with the screens' card.
[ "$(grep -c 'Loaded Texture' "$LOG")" -eq 140 ] || fail "not 140 pictures loaded"
sed -n 2p "$LOG" | grep -q '^$' || fail "no empty line after \"Program started\""

locate_window
[ "$WIN_W" -eq 800 ] && [ "$WIN_H" -eq 600 ] || fail "the window is ${WIN_W}x${WIN_H}"
wait_for_balls 6 game

# A ball with an empty neighbour; moves it there with two clicks, then another by dragging.
move_one() { # move_one click|drag
  local x y tx ty d
  for ((x = 0; x < 9; x++)); do
    for ((y = 0; y < 9; y++)); do
      [ "$(cell_of $x $y)" = o ] || continue
      for d in "1 0" "-1 0" "0 1" "0 -1"; do
        set -- $d
        tx=$((x + $1)) ty=$((y + $2))
        [ $tx -ge 0 ] && [ $tx -le 8 ] && [ $ty -ge 0 ] && [ $ty -le 8 ] || continue
        [ "$(cell_of $tx $ty)" = . ] || continue
        if [ "$MODE" = click ]; then
          click "$(cell_px $x)" "$(cell_py $y)"
          click "$(cell_px $tx)" "$(cell_py $ty)"
        else
          drag "$(cell_px $x)" "$(cell_py $y)" "$(cell_px $tx)" "$(cell_py $ty)"
        fi
        MOVED_TO="$tx $ty"
        return 0
      done
    done
  done
  fail "no ball can move"
}
# check_move <shot name> <balls now> <what moved>: the ball arrived and the new balls came
# (screenshots until they show it: the screen can lag behind the game).
check_move() {
  local target=$MOVED_TO
  moved() { set -- $target; [ "$(cell_of "$1" "$2")" = o ] && [ "$(count_balls)" -eq "$BALLS" ]; }
  BALLS=$2
  wait_for_field 20 "the $3 move to $target and $2 balls" moved
  cp "$LAST_SHOT" "$SHOTS/$NAME-$1.png"
}
MODE=click move_one
check_move moved 9 clicked
MODE=drag move_one
check_move dragged 12 dragged

# The screens: each shows its head over the top of the field; Back shows the game again.
shot before-screens
game_shot=$LAST_SHOT
# head_differs <shot name> <test> <value>: the screen's head against the game's passes the test.
head_differs() {
  shot "$1"
  d=$(region_diff "$game_shot" "$LAST_SHOT" 410 28 240 40)
  [ "$d" "$2" "$3" ]
}
for screen in "options 144 398 532 465" "help 144 444 532 465" "scores 144 490 457 465"; do
  set -- $screen
  click "$2" "$3"
  wait_until 10 "the $1 screen (its head differs from the game's by more than 100)" \
    head_differs "$1" -gt 100
  click "$4" "$5"
  # Sparkles and the hovered ball may move in the top row meanwhile.
  wait_until 10 "the game again after Back from $1 (a difference below 60)" \
    head_differs "$1-back" -lt 60
done

# Exit, Yes: the program ends and leaves a 1450-byte Config.bin with the game kept (it has
# moves, though no points).
click 144 536
shot exit
click 466 344
wait_for_exit
[ "$(config_size)" -eq 1450 ] || fail "Config.bin is $(config_size) bytes"
[ "$(config_flag)" -eq 1 ] || fail "a game with moves and no points was not kept"
grep -qF -- "-=- Saving config ..." "$LOG" || fail "no \"Saving config ...\""
echo "PASS ($NAME)"
