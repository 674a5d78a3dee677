#!/usr/bin/env bash
# Makes the AppStream screenshots (desktop/screenshots/*.png, 800 x 600) from the real game at
# its default settings under a private X server, driven like the end-to-end tests:
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
start_game
wait_for_log "Loading config ..."
sleep 1
locate_window
wait_for_balls 6 start
save menu
# A few clicks from corner to corner (each moves a ball where one stands), then the field as the
# player sees it.
for move in "0 0 8 8" "8 0 0 8" "4 0 4 8" "0 4 8 4"; do
  read -r a b c d <<<"$move"
  click "$(cell_px "$a")" "$(cell_py "$b")"
  click "$(cell_px "$c")" "$(cell_py "$d")"
  sleep 1.2
  shot move
done
shot playing
save playing
click 144 444
sleep 0.8
click 703 467
click 703 467
sleep 0.8
shot help
save help
click 144 536
click 466 344
wait_for_exit
echo "screenshots: $(ls "$OUT")"
