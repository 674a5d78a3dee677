#!/usr/bin/env bash
# Makes the AppStream screenshots (desktop/screenshots/*.png, 800 x 600) from the real game at
# its default settings under a private X server, driven like the end-to-end tests: a game after a
# few moves, the help page of the special balls, the Options screen, the high scores, and the
# next start in German, which offers the game kept:
#   scripts/screenshots.sh [build dir]   (default: build)
# Needs xvfb-run, xdotool and imagemagick (scripts/setup.sh installs them).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/.." && pwd)
BUILD=$(cd "${1:-$ROOT/build}" && pwd)
if [ -z "${DISPLAY:-}" ] || [ "${VO_SCREENSHOTS_INNER:-}" != 1 ]; then
  exec env VO_SCREENSHOTS_INNER=1 bash "$ROOT/tests/e2e/with_xvfb.sh" 71 "$0" "$BUILD"
fi
NAME=screenshots
GAME=$BUILD/game/velm-orra
SHOTS=$BUILD/screenshots
OUT=$ROOT/desktop/screenshots
source "$ROOT/tests/e2e/lib.sh"
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=C.UTF-8
mkdir -p "$OUT"
save() { # save <name>: the game's 800 x 600 picture from the last screenshot
  convert "$LAST_SHOT" -crop "800x600+$WIN_X+$WIN_Y" +repage "$OUT/$1.png"
}
# shown <name>: the screen has settled (two screenshots a moment apart alike), saved as <name>.
shown() {
  local before
  for _ in $(seq 20); do
    shot "$1-a"
    before=$LAST_SHOT
    sleep 0.4
    shot "$1"
    [ "$(region_diff "$before" "$LAST_SHOT" 0 0 800 600)" -lt 5 ] && break
  done
  save "$1"
}

start_game
wait_for_log "Loading config ..."
locate_window
wait_for_balls 6 start
# Moves from cell to cell (each moves a ball where one stands and the way is free), then the field
# as the player sees it.
for move in "0 0 8 8" "8 0 0 8" "4 0 4 8" "0 4 8 4" "2 2 6 6" "6 2 2 6" "1 7 7 1" "3 5 5 3"; do
  read -r a b c d <<<"$move"
  click "$(cell_px "$a")" "$(cell_py "$b")"
  click "$(cell_px "$c")" "$(cell_py "$d")"
  sleep 1.2
done
xdotool mousemove "$(screen_x 780)" "$(screen_y 580)" # no button lit
shown playing
click 144 444 # How to Play
click 703 467 # the next page, twice: the special balls
click 703 467
shown help
click 532 465 # Back
click 144 398 # Options
shown options
click 532 465 # Back
click 144 490 # High Scores
shown scores
click 457 465 # Back
click 144 536 # Exit
click 466 344 # Yes
wait_for_exit

# The next start in German (the texts and the pictures with words follow the language) offers
# the game kept from the first.
export LANG=de_DE.UTF-8
start_game
wait_for_log "Loading config ..."
locate_window
xdotool mousemove "$(screen_x 780)" "$(screen_y 580)"
shown german
click 466 344 # Ja: the game goes on
click 144 536 # Beenden
click 466 344 # Ja
wait_for_exit
rm -f "$OUT"/*-a.png
echo "screenshots: $(ls "$OUT")"
