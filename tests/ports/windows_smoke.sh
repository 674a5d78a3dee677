#!/usr/bin/env bash
# The Windows build under Wine on the private X server of with_xvfb.sh: it reaches the playing
# screen (Log.txt under %APPDATA%\velm-orra\), a ball moved with two clicks arrives and brings
# new balls, and Exit and Yes end it with a 1450-byte Config.bin beside the log.
# Usage: with_xvfb.sh <display> windows_smoke.sh <dist/windows> <screenshot folder>
DIST=$(cd "$1" && pwd)
export SHOTS=$2 NAME=windows
source "$(dirname "$0")/../e2e/lib.sh"

export WINEPREFIX=$WORK/wine WINEDEBUG=-all WINEARCH=win64
# No installers of Wine's .NET and HTML engines: the game needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's sound goes nowhere here: SDL's dummy driver plays in silence.
export SDL_AUDIODRIVER=dummy
USERDIR=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/velm-orra
LOG=$USERDIR/Log.txt
CONFIG=$USERDIR/Config.bin
trap 'cleanup; wineserver -k 2>/dev/null || true' EXIT

started=$SECONDS
wineboot --init >"$WORK/wineboot.txt" 2>&1 || fail "wineboot failed: $(tail -n 3 "$WORK/wineboot.txt")"
wineserver -w
echo "windows: Wine prepared in $((SECONDS - started)) s"
started=$SECONDS
(cd "$DIST" && exec wine ./velm-orra.exe) >"$WORK/stdout.txt" 2>&1 &
GAME_PID=$!
wait_for_log "Starting game..." 120
wait_for_log "Loading config ..."
echo "windows: the playing screen after $((SECONDS - started)) s"
grep -q -- "-=- Device - SDL direct3d" "$LOG" || fail "not drawn with Direct3D: $(grep -- '-=- Device' "$LOG")"
locate_window
wait_for_balls 6 game 60

# A ball beside an empty cell goes there with two clicks.
moved=
for ((x = 0; x < 9; x++)); do
  for ((y = 0; y < 9; y++)); do
    [ -z "$moved" ] || break 2
    [ "$(cell_of $x $y)" = o ] || continue
    for d in "1 0" "-1 0" "0 1" "0 -1"; do
      set -- $d
      tx=$((x + $1)) ty=$((y + $2))
      [ $tx -ge 0 ] && [ $tx -le 8 ] && [ $ty -ge 0 ] && [ $ty -le 8 ] || continue
      [ "$(cell_of $tx $ty)" = . ] || continue
      click "$(cell_px $x)" "$(cell_py $y)"
      click "$(cell_px $tx)" "$(cell_py $ty)"
      moved="$tx $ty"
      break
    done
  done
done
[ -n "$moved" ] || fail "no ball can move"
wait_for_balls 9 moved 60
set -- $moved
[ "$(cell_of "$1" "$2")" = o ] || fail "the moved ball is not at $moved"

click 144 536 # Exit
shot exit-question
click 466 344 # Yes
wait_for_exit 60
[ -f "$CONFIG" ] && [ "$(config_size)" -eq 1450 ] || fail "no 1450-byte Config.bin in $USERDIR"
grep -q -- "-=- Saving config ..." "$LOG" || fail "the exit did not save"
echo "windows: Config.bin written in %APPDATA%\\velm-orra\\; screenshots in $SHOTS"
echo "PASS ($NAME)"
