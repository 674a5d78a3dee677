#!/usr/bin/env bash
# A start with a saved game shows the Old message; Yes continues the game with its balls; leaving
# it from the playing screen saves it again.
NAME=saved_game
source "$(dirname "$0")/lib.sh"

mkdir -p "$USERDIR"
"$MAKE_CONFIG" "$CONFIG" 120 || fail "cannot write the saved game"
start_game
wait_for_log "Loading config ..."
locate_window
shot old-message
# The message box covers the middle of the field; its texts are bright on the dark box.
click 466 344 # Yes
wait_for_balls 3 continued
[ "$(cell_of 0 0)$(cell_of 4 4)$(cell_of 8 8)" = ooo ] || fail "the saved balls are not on the field"

click 144 536 # Exit
click 466 344 # Yes
wait_for_exit
[ "$(config_size)" -eq 1450 ] || fail "Config.bin is $(config_size) bytes"
[ "$(config_flag)" -eq 1 ] || fail "the game with 120 points was not saved"
echo "PASS ($NAME)"
