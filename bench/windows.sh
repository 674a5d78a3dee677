#!/usr/bin/env bash
# Measures the Windows program under Wine as a player meets it, on an X server of its own
# (1024 x 768, where full screen draws from the 2x set): launch to the logo's first frame and to
# the playing screen (the logo left to run its course, Wine's own start included; the loading
# bar's part of it apart), then F11 to
# full screen until the 2x pictures are loaded again, and F11 back until the 1x ones are. Each
# run starts from an empty %APPDATA% in one Wine prefix made at the start (Wine's first start is
# shown apart). Prints one line per run and the range of each figure.
# Usage: bench/windows.sh [folder with velm-orra.exe] [runs]   (default dist/windows, 3);
# VO_KEEP_LOGS=<folder> keeps each run's Log.txt there.
set -euo pipefail
cd "$(dirname "$0")/.."
DIST=$(realpath "${1:-dist/windows}")
RUNS=${2:-3}
DISPLAY_NO=${VO_DISPLAY:-:63}
WORK=$(mktemp -d /tmp/vo-winbench-XXXXXX)
XVFB_PID= PID=
export WINEPREFIX=$WORK/wine WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
export SDL_AUDIODRIVER=dummy
USERDIR=$WINEPREFIX/drive_c/users/$(id -un)/AppData/Roaming/velm-orra
LOG=$USERDIR/Log.txt

cleanup() {
  [ -n "$PID" ] && kill "$PID" 2>/dev/null || true
  wineserver -k 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

Xvfb "$DISPLAY_NO" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY=$DISPLAY_NO
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.1f", b - a }'; }
# until_log <text> <seconds>: waits for a line of Log.txt ending with the text (a count of them
# with a third argument: until there are that many).
until_log() {
  local i
  for ((i = 0; i < $2 * 20; i++)); do
    [ -f "$LOG" ] && [ "$(grep -cF -- "-=- $1" "$LOG")" -ge "${3:-1}" ] && return 0
    kill -0 "$PID" 2>/dev/null || { echo "windows.sh: the game ended" >&2; exit 1; }
    sleep 0.05
  done
  echo "windows.sh: \"$1\" did not come within $2 s" >&2
  tail -n 5 "$LOG" >&2
  exit 1
}
press() { # press <key>: to the game's window, which has the focus nobody else gives it here
  local id
  id=$(xdotool search --name "Velm Orra" | tail -n 1)
  xdotool windowfocus --sync "$id" 2>/dev/null || xdotool windowfocus "$id"
  sleep 0.5
  xdotool key "$1"
}

started=$(now)
wineboot --init >/dev/null 2>&1
wineserver -w
echo "Wine's first start (wineboot): $(elapsed "$started" "$(now)") s"
all=()
for ((run = 1; run <= RUNS; run++)); do
  rm -rf "$USERDIR"
  started=$(now)
  (cd "$DIST" && exec wine ./velm-orra.exe) >/dev/null 2>&1 &
  PID=$!
  until_log "Starting Logo" 120
  logo=$(elapsed "$started" "$(now)")
  until_log "Loading Ingame Resources ..." 120
  loading=$(now)
  until_log "Starting game..." 120
  playing=$(elapsed "$started" "$(now)")
  loading=$(elapsed "$loading" "$(now)")
  sleep 2
  press F11
  started=$(now)
  until_log "Pictures loaded again: " 300
  dense=$(elapsed "$started" "$(now)")
  sleep 2
  press F11
  started=$(now)
  until_log "Pictures loaded again: " 300 2
  plain=$(elapsed "$started" "$(now)")
  grep -q "Loading the pictures again at 2x" "$LOG" || { echo "windows.sh: no 2x reload" >&2; exit 1; }
  echo "run $run: logo $logo s, playing screen $playing s (loading bar $loading s)," \
    "F11 to 2x $dense s, back to 1x $plain s"
  all+=("$logo $playing $loading $dense $plain")
  [ -z "${VO_KEEP_LOGS:-}" ] || cp "$LOG" "$VO_KEEP_LOGS/Log-$run.txt"
  kill "$PID" 2>/dev/null || true
  wait "$PID" 2>/dev/null || true
  PID=
  wineserver -w
done
printf '%s\n' "${all[@]}" | awk '
  { for (i = 1; i <= 5; i++) { if (NR == 1 || $i < lo[i]) lo[i] = $i; if (NR == 1 || $i > hi[i]) hi[i] = $i } }
  END { printf "range: logo %s-%s s, playing screen %s-%s s (loading bar %s-%s s), F11 to 2x %s-%s s, back to 1x %s-%s s\n",
        lo[1], hi[1], lo[2], hi[2], lo[3], hi[3], lo[4], hi[4], lo[5], hi[5] }'
