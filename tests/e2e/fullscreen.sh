#!/usr/bin/env bash
# The full-screen check box switches at once, without a question, and a restart in full screen
# still shows a playable game (on a display without an 800 x 600 mode the picture is scaled to
# the desktop); F11 goes back to the 800 x 600 window at once and stores it, Alt+Enter goes full
# screen again.
NAME=fullscreen
source "$(dirname "$0")/lib.sh"

# key_until_width <keys> <test of $WIN_W>: presses the key until the window's width passes the
# test (a key sent while the server is still busy with the last switch can be lost).
key_until_width() {
  local i end
  for ((i = 0; i < 3; i++)); do
    key "$1"
    doing "waiting for the window's width $2 $3 after \"$1\""
    end=$((SECONDS + 4))
    while [ "$SECONDS" -lt "$end" ]; do
      locate_window
      [ "$WIN_W" "$2" "$3" ] && return 0
      sleep 0.3
    done
  done
  fail "\"$1\" left the window at ${WIN_W}x${WIN_H}"
}
# window_at_least <width> <height>: the game's window is that large.
window_at_least() { locate_window && [ "$WIN_W" -ge "$1" ] && [ "$WIN_H" -ge "$2" ]; }

start_game
wait_for_log "Loading config ..."
locate_window
click 144 398 # Options
click 420 229 # the full-screen box: full screen now
wait_until 20 "a full-screen window after the check box" window_at_least 1024 768
shot box
grep -qx "Fullscreen=1" "$REGISTRY" || fail "the full-screen setting was not saved"
key_until_message ctrl+q quit
key y
wait_for_exit

start_game
wait_for_log "Loading config ..."
wait_until 20 "a full-screen window at the start" window_at_least 1024 768
# Where the picture lies inside the full-screen window: scaled to fit and centred.
scale_w=$((WIN_W * 600)) scale_h=$((WIN_H * 800))
if [ $scale_w -gt $scale_h ]; then pic_h=$WIN_H pic_w=$((WIN_H * 800 / 600)); else pic_w=$WIN_W pic_h=$((WIN_W * 600 / 800)); fi
WIN_X=$((WIN_X + (WIN_W - pic_w) / 2)) WIN_Y=$((WIN_Y + (WIN_H - pic_h) / 2)) WIN_W=$pic_w WIN_H=$pic_h
wait_for_balls 6 game
click 144 398 # Options, through the scaled pointer
shot options
[ "$(brightness 410 28 240 40)" -gt 0 ] || fail "nothing drawn"
# F11: a window again, at once, stored at once.
key_until_width F11 -eq 800
[ "$WIN_H" -eq 600 ] || fail "after F11 the window is ${WIN_W}x${WIN_H}"
grep -qx "Fullscreen=0" "$REGISTRY" || fail "F11 did not store the window"
shot windowed
click 144 398 # Options, in the window
shot windowed-options
[ "$(brightness 410 28 240 40)" -gt 0 ] || fail "nothing drawn in the window"
key_until_width alt+Return -ge 1024
grep -qx "Fullscreen=1" "$REGISTRY" || fail "Alt+Enter did not store full screen"
key_until_message ctrl+q quit # asks, as closing the window does
key y
wait_for_exit
grep -qx "Fullscreen=1" "$REGISTRY" || fail "the live choice was not kept at the end"
echo "PASS ($NAME)"
