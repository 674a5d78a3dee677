#!/usr/bin/env bash
# Measures the real game as a player meets it, under an X server of its own (Xvfb) with temporary
# data folders: launch to first painted frame, launch to the playing screen with and without a
# skip click (and the processor time the game took for it, which a busy machine changes less),
# resident memory, and the CPU share of one core (as the scheduler counts it) over 10 s at rest,
# with a ball selected and while hidden. KLines and Five or More are measured the same way when
# installed.
# Usage: bench/rest.sh [binary] (default build/game/velm-orra); VO_DISPLAY picks the display,
# VO_WINDOW=<width>x<height> starts the game in a window of that size (kept in its registry file,
# as a resized window is) on a screen large enough for it.
set -euo pipefail
cd "$(dirname "$0")/.."
export PATH=$PATH:/usr/games
GAME=$(realpath "${1:-build/game/velm-orra}")
DISPLAY_NO=${VO_DISPLAY:-:61}
SECONDS_CPU=${VO_CPU_SECONDS:-10}
WORK=$(mktemp -d /tmp/vo-rest-XXXXXX)
XVFB_PID= PID=

cleanup() {
  [ -n "$PID" ] && kill "$PID" 2>/dev/null || true
  [ -n "$XVFB_PID" ] && kill "$XVFB_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

WINDOW=${VO_WINDOW:-}
SCREEN=1024x768
if [ -n "$WINDOW" ]; then
  SCREEN=$(awk -F x '{ printf "%dx%d", ($1 > 1024 ? $1 : 1024), ($2 > 768 ? $2 : 768) }' <<<"$WINDOW")
fi
Xvfb "$DISPLAY_NO" -screen 0 "${SCREEN}x24" -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
export DISPLAY=$DISPLAY_NO SDL_AUDIODRIVER=dummy
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

now() { date +%s.%N; }
elapsed() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", b - a }'; }
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
rss_mb() { awk '/VmRSS/ { printf "%.0f", $2 / 1024 }' "/proc/$1/status"; }
# run_ns <pid> [main]: the nanoseconds its threads (or its main thread) have run, as the scheduler
# counts them. The tick-sampled times of /proc/<pid>/stat miss most of a program that wakes for
# well under a tick at a time (a frame at rest), so they are not used for the shares.
run_ns() {
  local tasks=("/proc/$1/task/"*)
  [ "${2:-}" = main ] && tasks=("/proc/$1/task/$1")
  cat "${tasks[@]/%//schedstat}" 2>/dev/null | awk '{ s += $1 } END { printf "%d", s }'
}
# cpu <pid>: percent of one core over SECONDS_CPU seconds, all threads, and in brackets the main
# thread's (the frame loop's; the rest is sound).
cpu() {
  local t0 t1 m0 m1
  t0=$(run_ns "$1") m0=$(run_ns "$1" main)
  sleep "$SECONDS_CPU"
  t1=$(run_ns "$1") m1=$(run_ns "$1" main)
  awk -v a="$t0" -v b="$t1" -v c="$m0" -v d="$m1" -v s="$SECONDS_CPU" \
    'BEGIN { printf "%.2f %% (main thread %.2f %%)", (b - a) / 1e7 / s, (d - c) / 1e7 / s }'
}
# window_of <pid or ""> <name> [--class]: the id of the visible window with that name (or window
# class), waiting up to 20 s.
window_of() {
  local id= by=()
  [ -n "$1" ] && by=(--pid "$1")
  for _ in $(seq 400); do
    id=$(xdotool search "${by[@]}" --onlyvisible "${3:---name}" "$2" 2>/dev/null | tail -n 1) || true
    [ -n "$id" ] && break
    sleep 0.05
  done
  echo "$id"
}

# start <skip>: starts the game in fresh folders; prints the times to the first frame and to the
# playing screen. With skip 1 it clicks into the window as soon as the logo runs.
start_game() {
  local skip=$1 t0 first= ready= log id
  export XDG_DATA_HOME=$WORK/data$skip XDG_CONFIG_HOME=$WORK/config$skip
  log=$XDG_DATA_HOME/velm-orra/Log.txt
  if [ -n "$WINDOW" ]; then
    mkdir -p "$XDG_CONFIG_HOME/velm-orra"
    printf 'WindowWidth=%s\nWindowHeight=%s\n' "${WINDOW%x*}" "${WINDOW#*x}" \
      >"$XDG_CONFIG_HOME/velm-orra/registry"
  fi
  t0=$(now)
  "$GAME" >"$WORK/out$skip.txt" 2>&1 &
  PID=$!
  for _ in $(seq 3000); do
    if [ -z "$first" ] && [ -f "$log" ] && grep -q "Initializing Direct3D" "$log"; then first=$(now); fi
    if [ "$skip" = 1 ] && [ -f "$log" ] && grep -q "Starting Logo" "$log" && [ -z "${clicked:-}" ]; then
      id=$(window_of "$PID" "Velm Orra")
      xdotool mousemove --window "$id" 400 300 click 1 2>/dev/null || true
      clicked=1
    fi
    if [ -f "$log" ] && grep -q "Starting game" "$log"; then
      ready=$(now)
      READY_CPU=$(awk -v t="$(ticks "$PID")" -v hz="$(getconf CLK_TCK)" 'BEGIN { printf "%.2f", t / hz }')
      break
    fi
    sleep 0.01
  done
  unset clicked
  [ -n "$ready" ] || { echo "the game did not reach the playing screen" >&2; exit 1; }
  FIRST=$(elapsed "$t0" "${first:-$ready}")
  READY=$(elapsed "$t0" "$ready")
}

echo "Velm Orra ($GAME) on $DISPLAY_NO (screen $SCREEN${WINDOW:+, window $WINDOW})"
start_game 1
echo "launch -> first painted frame: ${FIRST} s"
echo "launch -> playing screen, skip click: ${READY} s (processor time of the game: ${READY_CPU} s)"
kill "$PID"; wait "$PID" 2>/dev/null || true; PID=
start_game 0
echo "launch -> playing screen, no click: ${READY} s"
sleep 2
ID=$(window_of "$PID" "Velm Orra")
echo "resident memory: $(rss_mb "$PID") MB"
echo "CPU at rest: $(cpu "$PID")"
# Select a ball of the new game: the brightest cell centre of a screenshot holds one. The
# picture fills the window with its proportions kept, centred: S window pixels a picture pixel.
eval "$(xdotool getwindowgeometry --shell "$ID")"
S=$(awk -v w="$WIDTH" -v h="$HEIGHT" 'BEGIN { s = w / 800; if (h / 600 < s) s = h / 600; print s }')
at() { awk -v s="$S" -v o="$2" -v v="$1" 'BEGIN { printf "%d", o + v * s }'; }
OX=$(awk -v s="$S" -v w="$WIDTH" 'BEGIN { printf "%d", (w - 800 * s) / 2 }')
OY=$(awk -v s="$S" -v h="$HEIGHT" 'BEGIN { printf "%d", (h - 600 * s) / 2 }')
import -display "$DISPLAY" -window "$ID" "$WORK/field.png"
best=0 bx=0 by=0
for c in 0 1 2 3 4 5 6 7 8; do
  for r in 0 1 2 3 4 5 6 7 8; do
    v=$(convert "$WORK/field.png" -crop 8x8+$(at $((298 + 52 * c + 22)) "$OX")+$(at $((26 + 52 * r + 22)) "$OY") \
      -format "%[fx:int(1000*mean)]" info:)
    if [ "$v" -gt "$best" ]; then best=$v bx=$c by=$r; fi
  done
done
xdotool mousemove --window "$ID" "$(at $((298 + 52 * bx + 26)) "$OX")" "$(at $((26 + 52 * by + 26)) "$OY")" click 1
sleep 0.5
echo "CPU with a ball selected: $(cpu "$PID")"
xdotool windowunmap "$ID"
sleep 0.5
echo "CPU while hidden: $(cpu "$PID")"
xdotool windowmap "$ID"
kill "$PID"; wait "$PID" 2>/dev/null || true; PID=

# peer <binary> <window name>: the same figures for another game, started in a session bus of its
# own when one can be made (KDE programs stop without one).
peer() {
  local bin=$1 name=$2 t0 id runner=()
  command -v "$bin" >/dev/null || { echo "$name: not installed"; return; }
  command -v dbus-run-session >/dev/null && runner=(dbus-run-session --)
  export XDG_DATA_HOME=$WORK/p$bin XDG_CONFIG_HOME=$WORK/pc$bin
  t0=$(now)
  "${runner[@]}" "$bin" >/dev/null 2>&1 &
  local outer=$! pid=
  id=$(window_of "" "$bin" --class)
  echo "$name: window after $(elapsed "$t0" "$(now)") s"
  pid=$(pgrep -n -x "$(basename "$bin")")
  [ -n "$pid" ] || { echo "$name: did not start"; kill "$outer" 2>/dev/null; return; }
  PID=$pid
  sleep 3
  echo "$name: resident memory $(rss_mb "$PID") MB"
  echo "$name: CPU at rest $(cpu "$PID")"
  [ -n "$id" ] && xdotool windowunmap "$id" && sleep 0.5 && echo "$name: CPU while hidden $(cpu "$PID")"
  kill "$PID" 2>/dev/null; kill "$outer" 2>/dev/null; wait "$outer" 2>/dev/null || true; PID=
}
peer klines "Kolor Lines"
peer five-or-more "Five or More"
