#!/usr/bin/env bash
# The Windows downloads under Wine on the private X server of with_xvfb.sh.
# The zip: at most 60 MB, one folder whose pictures are all in pictures.pak; unpacked, the program
# reaches the playing screen (Log.txt under %APPDATA%\velm-orra\) with every picture read from the
# pack, a ball moved with two clicks arrives and brings new balls, and Exit and Yes end it with a
# 1450-byte Config.bin beside the log.
# The installer: /S puts the same files under Program Files, a Start-menu entry that starts the
# game (which offers the first run's game again), and an entry in Windows' list of programs; the uninstaller's /S removes all three and
# leaves the player's files.
# With a file of "daily: date=… board=…" lines (the Linux build's deals), the program deals the same
# board for each of those days (--autoplay --daily <date>).
# Usage: with_xvfb.sh <display> windows_smoke.sh <zip> <setup.exe> <screenshot folder> [daily deals]
ZIP=$(realpath "$1")
SETUP=$(realpath "$2")
DAILY=${4:+$(realpath "$4")}
export SHOTS=$3 NAME=windows
source "$(dirname "$0")/../e2e/lib.sh"

export WINEPREFIX=$WORK/wine WINEDEBUG=-all WINEARCH=win64
# No installers of Wine's .NET and HTML engines: the game needs neither.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Wine's sound goes nowhere here: SDL's dummy driver plays in silence.
export SDL_AUDIODRIVER=dummy
USERDIR=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/velm-orra
LOG=$USERDIR/Log.txt
CONFIG=$USERDIR/Config.bin
trap '{ wineserver -k && wineserver -w; } 2>/dev/null || true; cleanup' EXIT

zip_bytes=$(stat -c %s "$ZIP")
[ "$zip_bytes" -le 60000000 ] || fail "the zip has $zip_bytes bytes, more than 60 MB"
unzip -q "$ZIP" -d "$WORK/unzipped"
DIST=$(find "$WORK/unzipped" -mindepth 1 -maxdepth 1 -type d)
[ "$(echo "$DIST" | wc -l)" -eq 1 ] && [ -f "$DIST/velm-orra.exe" ] && [ -f "$DIST/pictures.pak" ] ||
  fail "the zip holds no single folder with velm-orra.exe and pictures.pak"
loose=$(find "$DIST" -name '*.tga' -o -name '*.jpg' -o -path '*/graphics/*' | head -n 3)
[ -z "$loose" ] || fail "pictures lie outside the pack: $loose"
echo "windows: the zip has $zip_bytes bytes, $(find "$DIST" -type f | wc -l) files"

started=$SECONDS
wineboot --init >"$WORK/wineboot.txt" 2>&1 || fail "wineboot failed: $(tail -n 3 "$WORK/wineboot.txt")"
wineserver -w
echo "windows: Wine prepared in $((SECONDS - started)) s"
if [ -n "$DAILY" ]; then
  doing "comparing the daily deals with Linux's"
  while read -r expected; do
    date=${expected#daily: date=}
    date=${date%% *}
    seen=$(cd "$DIST" && wine ./velm-orra.exe --autoplay --daily "$date" --max-moves 1 2>&1 |
      tr -d '\r' | grep -m 1 '^daily: ') || true
    [ "$seen" = "$expected" ] || fail "the deal of $date is \"$seen\", on Linux \"$expected\""
  done <"$DAILY"
  echo "windows: the daily deals of $(wc -l <"$DAILY") days are Linux's"
fi
started=$SECONDS
(cd "$DIST" && exec wine ./velm-orra.exe) >"$WORK/stdout.txt" 2>&1 &
GAME_PID=$!
wait_for_log "Starting game..." 120
wait_for_log "Loading config ..."
echo "windows: the playing screen after $((SECONDS - started)) s"
grep -q -- "-=- Device - SDL direct3d" "$LOG" || fail "not drawn with Direct3D: $(grep -- '-=- Device' "$LOG")"
grep -q -- "-=- Pictures from pictures.pak (" "$LOG" || fail "the pictures did not come from the pack"
! grep -q -- "-=- Cannot" "$LOG" || fail "something could not be loaded: $(grep -- '-=- Cannot' "$LOG")"
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
echo "windows: Config.bin written in %APPDATA%\\velm-orra\\"
wineserver -w

# The installer, without questions, then the game through its Start-menu entry.
started=$SECONDS
wine "$SETUP" /S >"$WORK/setup.txt" 2>&1 || fail "the installer failed: $(tail -n 3 "$WORK/setup.txt")"
wineserver -w
INSTALLED="$WINEPREFIX/drive_c/Program Files/Velm Orra"
SHORTCUT="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Velm Orra.lnk"
KEY='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\io.github.velmorra.velm_orra'
[ -f "$SHORTCUT" ] || fail "no Start-menu entry"
diff -r "$DIST" "$INSTALLED" -x uninstall.exe >"$WORK/diff.txt" ||
  fail "the installed files differ from the zip's: $(head -n 3 "$WORK/diff.txt")"
[ -f "$INSTALLED/uninstall.exe" ] || fail "no uninstaller"
wine reg query "$KEY" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe' ||
  fail "the program is not in Windows' list of programs"
echo "windows: installed in $((SECONDS - started)) s ($(du -sm "$INSTALLED" | cut -f1) MB)"
wine start "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs\\Velm Orra.lnk" \
  >"$WORK/start.txt" 2>&1 || fail "the Start-menu entry does not start: $(tail -n 3 "$WORK/start.txt")"
for _ in $(seq 600); do
  GAME_PID=$(pgrep -f 'Velm Orra.velm-orra\.exe' | head -n 1) && break
  sleep 0.1
done
[ -n "$GAME_PID" ] || fail "the Start-menu entry started no game"
wait_for_log "Loading config ..." 120
grep -q -- "-=- Pictures from pictures.pak (" "$LOG" || fail "the installed game read no pack"
locate_window
# Nobody gives the new window the focus here (no window manager); without it Wine drops clicks.
for ((i = 0; i < 20; i++)); do
  xdotool windowfocus --sync "$WIN_ID" 2>/dev/null && break
  sleep 0.5
done
# The game of the first run comes back: "Welcome back!", then its nine balls.
# Yes until the saved game's nine balls show (a click while the message opens is lost).
for ((i = 0; i < 20; i++)); do
  click 466 344
  sleep 1
  shot installed
  FIELD=$(read_field)
  [ "$(count_balls)" -eq 9 ] && break
done
[ "$(count_balls)" -eq 9 ] || fail "the saved game did not come back (see $LAST_SHOT)"
click 144 536 # Exit
click 466 344 # Yes
wait_for_log "Saving config ..."
GAME_PID=
timeout 60 wineserver -w || fail "the installed game did not end"

started=$SECONDS
wine "$INSTALLED/uninstall.exe" /S >"$WORK/uninstall.txt" 2>&1 || fail "the uninstaller failed"
# The uninstaller runs on from a copy of itself: Wine's processes end when it is done.
wineserver -w
[ ! -e "$INSTALLED" ] || fail "the uninstaller left $(find "$INSTALLED" | head -n 3)"
[ ! -e "$SHORTCUT" ] || fail "the uninstaller left the Start-menu entry"
! wine reg query "$KEY" >/dev/null 2>&1 || fail "the uninstaller left the entry in the list of programs"
[ -f "$CONFIG" ] || fail "the uninstaller took the player's Config.bin"
echo "windows: uninstalled in $((SECONDS - started)) s; screenshots in $SHOTS"
echo "PASS ($NAME)"
