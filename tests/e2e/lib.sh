# Helpers of the end-to-end tests: the real game under an X server (xvfb-run gives each test its
# own), driven by xdotool, checked through Log.txt, Config.bin and screenshots.
# Expects GAME (the binary), SHOTS (a folder for screenshots) and NAME (the test's name).
set -euo pipefail

WORK=$(mktemp -d /tmp/vo-e2e-XXXXXX)
export XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config
export SDL_AUDIODRIVER=dummy
USERDIR=$XDG_DATA_HOME/velm-orra
LOG=$USERDIR/Log.txt
CONFIG=$USERDIR/Config.bin
REGISTRY=$XDG_CONFIG_HOME/velm-orra/registry
GAME_PID=
mkdir -p "$SHOTS"

fail() {
  echo "FAIL ($NAME): $*" >&2
  [ -f "$LOG" ] && { echo "--- Log.txt" >&2; tail -n 20 "$LOG" >&2; }
  exit 1
}

cleanup() {
  [ -n "$GAME_PID" ] && kill -9 "$GAME_PID" 2>/dev/null || true
  rm -rf "$WORK"
}
trap cleanup EXIT

start_game() {
  "$GAME" >"$WORK/stdout.txt" 2>&1 &
  GAME_PID=$!
}

# wait_for_log <text> [seconds]: until a line of Log.txt ends with <text>.
wait_for_log() {
  local text=$1 limit=${2:-60} i
  for ((i = 0; i < limit * 10; i++)); do
    if [ -f "$LOG" ] && grep -qF -- "-=- $text" "$LOG"; then return 0; fi
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended while waiting for \"$text\""
    sleep 0.1
  done
  fail "\"$text\" did not appear in Log.txt within $limit s"
}

# wait_for_exit [seconds]: the game ends by itself.
wait_for_exit() {
  local limit=${1:-20} i
  for ((i = 0; i < limit * 10; i++)); do
    kill -0 "$GAME_PID" 2>/dev/null || { wait "$GAME_PID" || true; GAME_PID=; return 0; }
    sleep 0.1
  done
  fail "the game did not end within $limit s"
}

# The picture's place on the screen: the window's position, and its scale (1 in a window).
locate_window() {
  local id= w
  for _ in $(seq 200); do
    id=$(xdotool search --pid "$GAME_PID" --name "Velm Orra" 2>/dev/null | tail -n 1) || true
    if [ -z "$id" ]; then
      # Some servers miss the process property for a moment: the largest window of that name.
      for w in $(xdotool search --name "Velm Orra" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        [ -z "$id" ] || [ "$WIDTH" -gt "${best:-0}" ] && { id=$w; best=$WIDTH; }
      done
    fi
    [ -n "$id" ] && break
    sleep 0.1
  done
  if [ -z "$id" ]; then
    echo "--- windows on $DISPLAY" >&2
    xwininfo -root -children >&2 2>&1 || true
    echo "--- the game's output" >&2
    tail -n 20 "$WORK/stdout.txt" >&2 || true
    fail "no game window"
  fi
  eval "$(xdotool getwindowgeometry --shell "$id")"
  WIN_X=$X WIN_Y=$Y WIN_W=$WIDTH WIN_H=$HEIGHT WIN_ID=$id
}

# Keys go to the focused window; without a window manager nobody gives it the focus, and SDL
# takes a moment to notice it.
key() { # key <xdotool keys, e.g. alt+Return>
  xdotool windowfocus --sync "$WIN_ID" 2>/dev/null || xdotool windowfocus "$WIN_ID"
  sleep 0.6
  xdotool key --delay 100 "$1"
  sleep 0.4
}

# key_until_message <keys> <shot name>: presses the key until a message box covers the middle
# of the field (a second press while the box is open changes nothing), at most three times.
key_until_message() {
  local before i j d
  shot "$2-before"
  before=$LAST_SHOT
  for ((i = 0; i < 3; i++)); do
    key "$1"
    for ((j = 0; j < 6; j++)); do
      shot "$2"
      d=$(region_diff "$before" "$LAST_SHOT" 330 150 400 250)
      [ "$d" -gt 60 ] && return 0
      sleep 0.5
    done
  done
  fail "\"$1\" opened no message"
}

# Screen position of a picture position.
screen_x() { echo $((WIN_X + $1 * WIN_W / 800)); }
screen_y() { echo $((WIN_Y + $1 * WIN_H / 600)); }

click() { # click <picture x> <picture y> [button]
  xdotool mousemove "$(screen_x "$1")" "$(screen_y "$2")"
  sleep 0.15
  xdotool click "${3:-1}"
  sleep 0.35
}

drag() { # drag <from x> <from y> <to x> <to y>
  xdotool mousemove "$(screen_x "$1")" "$(screen_y "$2")"
  sleep 0.15
  xdotool mousedown 1
  sleep 0.2
  xdotool mousemove "$(screen_x "$3")" "$(screen_y "$4")"
  sleep 0.2
  xdotool mouseup 1
  sleep 0.35
}

shot() { # shot <name>: the screen as $SHOTS/<test>-<name>.png
  import -window root "$SHOTS/$NAME-$1.png"
  LAST_SHOT=$SHOTS/$NAME-$1.png
}

# Mean brightness (0..255) of a picture rectangle in the last screenshot.
brightness() { # brightness <x> <y> <w> <h> (picture coordinates)
  local x y w h
  x=$(screen_x "$1") y=$(screen_y "$2") w=$(($3 * WIN_W / 800)) h=$(($4 * WIN_H / 600))
  convert "$LAST_SHOT" -crop "${w}x${h}+${x}+${y}" +repage -colorspace Gray \
    -format '%[fx:int(255*mean)]' info:
}

# How different a picture rectangle is between two screenshots: RMSE in thousandths.
region_diff() { # region_diff <shot a> <shot b> <x> <y> <w> <h>
  local x y w h
  x=$(screen_x "$3") y=$(screen_y "$4") w=$(($5 * WIN_W / 800)) h=$(($6 * WIN_H / 600))
  convert "$1" -crop "${w}x${h}+${x}+${y}" +repage "$WORK/region-a.png"
  convert "$2" -crop "${w}x${h}+${x}+${y}" +repage "$WORK/region-b.png"
  # compare exits 1 when the pictures differ, which is no failure here.
  { compare -metric RMSE "$WORK/region-a.png" "$WORK/region-b.png" null: 2>&1 || true; } |
    sed -E 's/.*\(([0-9.e-]+)\).*/\1/' | awk '{printf "%d", $1 * 1000}'
}

# Which cells hold a ball, as a string of 81 characters ('o' ball, '.' empty), column by column.
# A cell's middle is compared with the colour most cells' middles share: the empty cell. That
# holds only while empty cells outnumber the balls of any one colour; on a fuller field (some
# forty balls on) the commonest ball colour wins and the reading goes wrong.
read_field() {
  local x y crops=() list=() s=""
  for ((x = 0; x < 9; x++)); do
    for ((y = 0; y < 9; y++)); do
      crops+=("(" -clone 0 -crop "6x6+$(screen_x $((298 + 52 * x + 23)))+$(screen_y $((26 + 52 * y + 23)))"
        +repage -scale '1x1!' ")")
    done
  done
  # One convert for all cells (a busy machine starts processes slowly): each middle averaged to
  # one pixel, the 81 pixels in a row, read back as "r,g,b" in the same order.
  mapfile -t list < <(convert "$LAST_SHOT" "${crops[@]}" -delete 0 +append -depth 8 txt:- |
    sed -nE 's/^[0-9]+,0: *\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/p')
  local empty
  empty=$(printf '%s\n' "${list[@]}" | sort | uniq -c | sort -rn | head -n 1 | awk '{print $2}')
  IFS=, read -r er eg eb <<<"$empty"
  for c in "${list[@]}"; do
    IFS=, read -r r g b <<<"$c"
    local d=$(((r - er) * (r - er) + (g - eg) * (g - eg) + (b - eb) * (b - eb)))
    if [ $d -gt 900 ]; then s+="o"; else s+="."; fi
  done
  echo "$s"
}
# wait_for_balls <n> <shot name> [seconds]: screenshots until the field shows n balls (the screen
# can lag behind the game on a busy software-rendered X server).
wait_for_balls() {
  local n=$1 name=$2 limit=${3:-30} i
  for ((i = 0; i < limit * 2; i++)); do
    shot "$name"
    FIELD=$(read_field)
    [ "$(count_balls)" -eq "$n" ] && return 0
    sleep 0.5
  done
  fail "the field shows $(count_balls) balls, not $n (see $LAST_SHOT)"
}
cell_of() { echo "${FIELD:$(($1 * 9 + $2)):1}"; } # cell_of <x> <y> in $FIELD
count_balls() { local t=${FIELD//./}; echo ${#t}; }
cell_px() { echo $((298 + 52 * $1 + 26)); }
cell_py() { echo $((26 + 52 * $1 + 26)); }

config_flag() { od -An -tu1 -j608 -N1 "$CONFIG" | tr -d ' '; }
config_size() { stat -c %s "$CONFIG"; }
