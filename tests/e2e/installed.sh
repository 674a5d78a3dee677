#!/usr/bin/env bash
# The installed game (cmake --install) runs from any working directory with its data under
# share/velm-orra, and comes with a desktop entry and icons.
NAME=installed
source "$(dirname "$0")/lib.sh"

cmake --install "$BUILD_DIR" --prefix "$WORK/prefix" >/dev/null || fail "cmake --install failed"
[ -f "$WORK/prefix/share/applications/velm-orra.desktop" ] || fail "no desktop entry"
[ -f "$WORK/prefix/share/icons/hicolor/48x48/apps/velm-orra.png" ] || fail "no 48x48 icon"
GAME=$WORK/prefix/bin/velm-orra
cd /
start_game
wait_for_log "Loading config ..."
grep -q "Cannot load" "$LOG" && fail "pictures missing in the installed game"
grep -q "Sounds:" "$LOG" && fail "sounds missing in the installed game"
sleep 1
locate_window
wait_for_balls 6 game
click 144 536
click 466 344
wait_for_exit
echo "PASS ($NAME)"
