#!/usr/bin/env bash
# Nothing lost, nothing hung: the real game killed (SIGKILL) at random moments of loading, play
# and saving; a name entered right before a kill; a second copy; a hang-up; a data folder that
# cannot be used; FIFOs and /dev/zero in the player's files; a lock file that cannot be taken;
# too little memory to load; the display going away.
NAME=data_safety
source "$(dirname "$0")/lib.sh"
export XDG_RUNTIME_DIR=$WORK/runtime
mkdir -m 700 "$XDG_RUNTIME_DIR"
mkdir -p "$USERDIR"

check_config() { # check_config <when>: a whole file the game could have written
  [ -f "$CONFIG" ] || return 0
  [ "$(config_size)" -eq 1450 ] || fail "$1: Config.bin is $(config_size) bytes"
  "$MAKE_CONFIG" --check "$CONFIG" >"$WORK/check.txt" 2>&1 || {
    cat "$WORK/check.txt" >&2
    fail "$1: Config.bin does not read as a sound file"
  }
}

# Each start waits for its own log lines: the log of the run before goes first.
start_anew() {
  rm -f "$LOG"
  start_game
}

kill_game() {
  kill -9 "$GAME_PID" 2>/dev/null || true
  wait "$GAME_PID" 2>/dev/null || true
  GAME_PID=
}

# --- A normal start says nothing on the terminal; a hang-up saves like SIGTERM ---------------
start_anew
wait_for_log "Loading config ..."
[ ! -s "$WORK/stdout.txt" ] || { cat "$WORK/stdout.txt" >&2; fail "output on a normal start"; }
kill -HUP "$GAME_PID"
wait_for_exit
grep -qF -- "-=- Saving config ..." "$LOG" || fail "SIGHUP ended the game without the exit save"
[ -f "$CONFIG" ] || fail "SIGHUP: no Config.bin"

# --- A name entered is on disk before the program ends ----------------------------------------
"$MAKE_CONFIG" "$CONFIG" 5000 nearfull || fail "cannot write the nearly full game"
start_anew
wait_for_log "Loading config ..."
locate_window
shot offered
click 466 344 # Yes: go on with the saved game
click "$(cell_px 8)" "$(cell_py 6)"
click "$(cell_px 8)" "$(cell_py 7)" # the move fills the field: the game ends
# The ended game is saved at once (no game in the file any more); the name entry follows.
game_saved() { [ "$(config_flag)" -eq 0 ]; }
wait_until 30 "the ended game saved" game_saved
xdotool windowfocus "$WIN_ID" 2>/dev/null || true
sleep 0.5
xdotool key --delay 80 BackSpace BackSpace BackSpace BackSpace BackSpace BackSpace # "Player"
xdotool type --delay 80 Kilroy
xdotool key Return
wait_until 10 "the name entered saved" grep -qa Kilroy "$CONFIG"
kill_game
check_config "after the name"
grep -qx Kilroy "$WORK/check.txt" || fail "the name is not in the table"

# --- Killed at random moments: always a whole file, the name kept, the game resumed ----------
"$MAKE_CONFIG" "$CONFIG" 120 || fail "cannot write the saved game"
kills=0 started=$SECONDS
RANDOM=14
while [ "$kills" -lt 20 ] && [ $((SECONDS - started)) -lt 150 ]; do
  start_anew
  if ((kills % 4 != 3)); then
    sleep "$((RANDOM % 3)).$((RANDOM % 10))" # somewhere in the start, the loading or the play
  else
    wait_for_log "Loading config ..."
    [ ! -e "$CONFIG.tmp" ] || fail "a stale Config.bin.tmp was not removed at start"
    locate_window
    click 466 344 # Yes: go on with the saved game
    for ((m = 1 + RANDOM % 3; m > 0; m--)); do
      ball=$((RANDOM % 3 * 4)) # one of the balls the game started with, if still there
      click "$(cell_px $ball)" "$(cell_py $ball)"
      click "$(cell_px $((RANDOM % 9)))" "$(cell_py $((RANDOM % 9)))"
    done
    sleep "0.$((RANDOM % 10))"
  fi
  kill_game
  kills=$((kills + 1))
  check_config "kill $kills"
done
[ "$kills" -ge 10 ] || fail "only $kills kills in the time"
echo "$kills kills in $((SECONDS - started)) s"

# The last state resumes: a saved game is offered again.
flag=$(config_flag)
start_anew
wait_for_log "Loading config ..."
if [ "$flag" -eq 1 ]; then
  grep -qF -- "-=- Config.bin holds a game of" "$LOG" || fail "the saved game was not resumed"
fi

# --- A second copy does not play and touches nothing; the first goes on -----------------------
sum=$(md5sum "$LOG" "$CONFIG")
second=0
"$GAME" >"$WORK/second.txt" 2>&1 &
second_pid=$!
# It says so on the terminal and, where the display has the fonts for it, in a message box that
# waits for OK (Return): a top-level window of that title without the game's window class.
for ((i = 0; i < 200; i++)); do
  kill -0 "$second_pid" 2>/dev/null || break
  if ((i % 10 == 9)); then
    for box in $(xwininfo -root -children 2>/dev/null | awk '/"Velm Orra": \(\)/ { print $1 }'); do
      xdotool key --window "$box" Return 2>/dev/null || true
    done
  fi
  sleep 0.1
done
kill -0 "$second_pid" 2>/dev/null && { kill -9 "$second_pid"; fail "the second copy did not end"; }
wait "$second_pid" || second=$?
[ "$second" -eq 1 ] || fail "the second copy ended with $second"
grep -qF "Velm Orra is already running" "$WORK/second.txt" || fail "the second copy said nothing"
[ "$(md5sum "$LOG" "$CONFIG")" = "$sum" ] || fail "the second copy changed the first's files"
kill -0 "$GAME_PID" || fail "the first copy ended"
kill -TERM "$GAME_PID"
wait_for_exit
check_config "after SIGTERM"

# --- A FIFO and /dev/zero in the place of Config.bin and of the registry never block ---------
for kind in fifo zero; do
  for target in "$CONFIG" "$REGISTRY"; do
    mkdir -p "$(dirname "$target")"
    rm -f "$target"
    if [ $kind = fifo ]; then mkfifo "$target"; else ln -s /dev/zero "$target"; fi
    start_anew
    wait_for_log "Loading config ..." 60
    kill -TERM "$GAME_PID"
    wait_for_exit
    if [ $kind = fifo ]; then kept=$([ -p "$target" ] && echo y); else kept=$([ -L "$target" ] && echo y); fi
    [ "$kept" = y ] || fail "$target ($kind) was replaced"
    rm -f "$target"
  done
done

# --- Symlinked Log.txt is not followed -------------------------------------------------------
echo "keep" >"$WORK/victim.txt"
rm -f "$LOG"
ln -s "$WORK/victim.txt" "$LOG"
start_game
locate_window # the log tells nothing: it is not written
kill -TERM "$GAME_PID"
wait_for_exit
[ "$(cat "$WORK/victim.txt")" = keep ] || fail "Log.txt was written through its symlink"
rm -f "$LOG"

# --- A data folder that cannot be used: said, played, nothing in the working folder ----------
(
  export XDG_DATA_HOME=$WORK/blocked
  mkdir -p "$XDG_DATA_HOME" "$WORK/cwd"
  echo "not a folder" >"$XDG_DATA_HOME/velm-orra"
  cd "$WORK/cwd"
  "$GAME" >"$WORK/blocked.txt" 2>&1 &
  pid=$!
  GAME_PID=$pid
  wait_until 30 "the word that nothing is kept" grep -qF "Scores and settings will not be kept" \
    "$WORK/blocked.txt"
  locate_window
  kill -0 "$pid" || { cat "$WORK/blocked.txt" >&2; fail "the game did not start without a data folder"; }
  kill -TERM "$pid"
  wait "$pid" || true
  grep -qF "Scores and settings will not be kept this time" "$WORK/blocked.txt" ||
    fail "no word that nothing is kept"
  [ -z "$(ls -A "$WORK/cwd")" ] || fail "files left in the working folder: $(ls -A "$WORK/cwd")"
  [ "$(cat "$XDG_DATA_HOME/velm-orra")" = "not a folder" ] || fail "the file in the way changed"
)

# --- A lock file that cannot be taken: both copies play, neither writes -----------------------
# A folder in the lock's place: a second copy could not be stopped, so no copy writes anything.
echo "an earlier run" >"$LOG"
rm -f "$USERDIR/velm-orra.lock"
mkdir "$USERDIR/velm-orra.lock"
sum=$(md5sum "$LOG" "$CONFIG")
pids=()
for copy in 1 2; do
  "$GAME" >"$WORK/nolock$copy.txt" 2>&1 &
  pids+=($!)
done
# Each says so (and in a message box, answered, where the display has the fonts for one) and
# reaches its window.
both_playing() {
  local box copy
  for box in $(xwininfo -root -children 2>/dev/null | awk '/"Velm Orra": \(\)/ { print $1 }'); do
    xdotool key --window "$box" Return 2>/dev/null || true
  done
  for copy in 1 2; do
    grep -qF "Scores and settings will not be kept" "$WORK/nolock$copy.txt" || return 1
    [ -n "$(xdotool search --pid "${pids[copy - 1]}" --name "Velm Orra" 2>/dev/null)" ] || return 1
  done
}
end=$((SECONDS + 90))
doing "waiting for two copies without the lock playing"
until both_playing; do
  if [ "$SECONDS" -ge "$end" ]; then
    for copy in 1 2; do
      echo "--- copy $copy ($(kill -0 "${pids[copy - 1]}" 2>/dev/null && echo running || echo ended))" >&2
      cat "$WORK/nolock$copy.txt" >&2
    done
    echo "--- windows" >&2
    xwininfo -root -children 2>/dev/null | grep -F '"' >&2 || true
    fail "two copies without the lock were not both playing within 90 s"
  fi
  sleep 0.1
done
for pid in "${pids[@]}"; do
  if ! kill -0 "$pid" 2>/dev/null; then
    status=0
    wait "$pid" || status=$?
    cat "$WORK"/nolock*.txt >&2
    fail "a copy without the lock did not play (it ended with $status)"
  fi
  kill -TERM "$pid"
  wait "$pid" || true
done
for copy in 1 2; do
  grep -qF "Scores and settings will not be kept this time" "$WORK/nolock$copy.txt" ||
    fail "copy $copy did not say that nothing is kept"
done
[ "$(md5sum "$LOG" "$CONFIG")" = "$sum" ] || fail "a copy without the lock wrote the files"
rmdir "$USERDIR/velm-orra.lock"

# --- Short of memory: the start or the loading ends with its reason, writing nothing ----------
# From far too little address space to enough (how much is enough depends on the machine's
# libraries). Each run is waited for until it ends or reaches its first screen; one that plays is
# ended by SIGTERM and saves as usual.
short=0 played=0
# A registry value of its own, so that no start creates one.
mkdir -p "$(dirname "$REGISTRY")"
printf 'Fullscreen=0\n' >"$REGISTRY"
for limit in 40 45 50 55 60 65 70 80 90 100 120 140 200; do
  rm -rf "$USERDIR" && mkdir -p "$USERDIR"
  registry=$(cat "$REGISTRY")
  (
    ulimit -v $((limit * 1024))
    exec "$GAME"
  ) >"$WORK/stdout.txt" 2>&1 &
  GAME_PID=$!
  doing "running with $limit MB of address space"
  end=$((SECONDS + 60))
  while kill -0 "$GAME_PID" 2>/dev/null && ! grep -qF -- "-=- Loading config ..." "$LOG" 2>/dev/null; do
    [ "$SECONDS" -lt "$end" ] || fail "with $limit MB the game neither ended nor reached its game in 60 s"
    sleep 0.1
  done
  if kill -0 "$GAME_PID" 2>/dev/null; then
    kill -TERM "$GAME_PID"
    wait_for_exit 30
    [ "$EXIT_STATUS" -eq 0 ] || fail "with $limit MB the game played, then ended with $EXIT_STATUS"
    check_config "$limit MB, played"
    played=$((played + 1))
    continue
  fi
  wait_for_exit
  [ "$EXIT_STATUS" -eq 1 ] || fail "with $limit MB the game ended with $EXIT_STATUS, not 1"
  grep -q "^Velm Orra: Out of memory" "$WORK/stdout.txt" ||
    fail "with $limit MB no reason on the terminal: $(cat "$WORK/stdout.txt")"
  grep -qF -- "-=- Out of memory" "$LOG" || fail "with $limit MB no reason in the log"
  kept=$(cd "$USERDIR" && ls -A | tr '\n' ' ')
  [ "$kept" = "Log.txt velm-orra.lock " ] || fail "with $limit MB the data folder holds: $kept"
  [ "$(cat "$REGISTRY")" = "$registry" ] || fail "with $limit MB the registry changed"
  short=$((short + 1))
done
[ "$short" -ge 6 ] || fail "only $short limits were too small: the shortage was not tried"
echo "short of memory: $short limits ended cleanly, $played played"

# --- The display goes away: the game saves and ends ------------------------------------------
# On an X server of its own, which can be ended without ending the one of this test.
n=${SPARE_DISPLAY:-$((150 + $$ % 50))}
while [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ]; do n=$((n + 1)); done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xserver=$!
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
rm -f "$CONFIG"
rm -f "$LOG"
DISPLAY=":$n" "$GAME" >"$WORK/stdout.txt" 2>&1 &
GAME_PID=$!
wait_for_log "Loading config ..."
kill -9 "$xserver"
wait_for_exit 20
grep -qF -- "-=- The connection to the display was lost" "$LOG" || fail "the display loss was not logged"
[ -f "$CONFIG" ] || fail "no save when the display went away"
check_config "after the display went away"
echo "PASS ($NAME)"
