# The headless player through the real binary: no window and no files, one line per game and the
# summary in its fixed form, the same games for the same arguments, and the searching player well
# ahead of the greedy one on the same seeds. Recorded games (the strength run's, the day's) verify
# to their scores; damaged, cut, foreign, huge and junk files are refused. Expects GAME (the
# binary).
set -euo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
WORK=$(mktemp -d /tmp/vo-autoplay-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
# No display and an empty home: a window or a written file would show.
unset DISPLAY WAYLAND_DISPLAY
export XDG_DATA_HOME=$WORK/data XDG_CONFIG_HOME=$WORK/config SDL_AUDIODRIVER=dummy
fail() {
  echo "FAIL (autoplay): $*" >&2
  exit 1
}
summary='^autoplay: player=(best|greedy) mode=normal games=3 mean=[0-9]+ median=[0-9]+ moves=[0-9]+ ms_per_move=[0-9]+ p95=[0-9]+$'
# The scores and moves, without the measured times.
played() { sed -E 's/ ms_per_move=.*$//' "$1"; }
field() { tail -n 1 "$1" | tr ' ' '\n' | sed -n "s/^$2=//p"; }

set +e
"$GAME" --autoplay --mode easy >"$WORK/bad.txt" 2>&1
rc=$?
set -e
[ "$rc" = 2 ] || fail "an unknown mode exits with $rc, not 2"
grep -q 'kids, normal or professional' "$WORK/bad.txt" || fail "an unknown mode is not explained"

args=(--autoplay --mode normal --games 3 --seed 11)
"$GAME" "${args[@]}" --max-moves 300 --player greedy >"$WORK/greedy1.txt"
"$GAME" "${args[@]}" --max-moves 300 --player greedy >"$WORK/greedy2.txt"
"$GAME" "${args[@]}" --max-moves 180 --player best >"$WORK/best.txt"
cat "$WORK/greedy1.txt" "$WORK/best.txt"
for f in greedy1 best; do
  [ "$(wc -l <"$WORK/$f.txt")" = 4 ] || fail "$f: not three game lines and a summary"
  tail -n 1 "$WORK/$f.txt" | grep -Eq "$summary" || fail "$f: the summary line is not in its form"
  grep -Ec '^game [123] seed=1[123] score=[0-9]+ moves=[0-9]+ end=(full|no-move|max-moves) ' \
    "$WORK/$f.txt" | grep -qx 3 || fail "$f: the game lines are not in their form"
done
[ "$(played "$WORK/greedy1.txt")" = "$(played "$WORK/greedy2.txt")" ] ||
  fail "the same arguments played different games"
# The best player's first moves, twice: the search is seeded from the position alone.
"$GAME" "${args[@]}" --games 1 --max-moves 15 --player best >"$WORK/short1.txt"
"$GAME" "${args[@]}" --games 1 --max-moves 15 --player best >"$WORK/short2.txt"
[ "$(played "$WORK/short1.txt")" = "$(played "$WORK/short2.txt")" ] ||
  fail "the best player chose differently on the same games"
[ -e "$WORK/data" ] || [ -e "$WORK/config" ] && fail "autoplay wrote files"

# The strength run's first greedy games, recorded again: each replay verifies to the score and
# moves the run kept.
mkdir "$WORK/replays"
"$GAME" --autoplay --mode normal --player greedy --games 3 --seed 1 \
  --record "$WORK/replays/run.vorp" >"$WORK/run.txt"
for i in 1 2 3; do
  kept=$(sed -En "s/^game $i seed=$i (score=[0-9]+ moves=[0-9]+) .*/\1/p" \
    "$ROOT/bench/results/normal-greedy-1.txt")
  out=$("$GAME" --verify "$WORK/replays/run-$i.vorp")
  [[ "$out" == "verified: $kept undos=0 mode=normal seed=$i end=full" ]] ||
    fail "replay $i: \"$out\", the run kept \"$kept\""
done
# The day's game: its seed and deal announced, its replay verified; a short searching game too.
"$GAME" --daily 2025-01-01 --autoplay --player greedy --record "$WORK/replays/day.vorp" \
  >"$WORK/day.txt"
head -n 1 "$WORK/day.txt" | grep -q '^daily: date=2025-01-01 seed=844048796 board=' ||
  fail "the daily game is not announced with its seed"
score=$(sed -n 's/^game 1 .* score=\([0-9]*\) .*/\1/p' "$WORK/day.txt")
"$GAME" --verify "$WORK/replays/day.vorp" | grep -q "^verified: score=$score " ||
  fail "the day's replay does not verify to $score"
"$GAME" "${args[@]}" --games 1 --max-moves 15 --player best --record "$WORK/replays/best.vorp" \
  >"$WORK/short3.txt"
score=$(sed -n 's/^game 1 .* score=\([0-9]*\) .*/\1/p' "$WORK/short3.txt")
"$GAME" --verify "$WORK/replays/best.vorp" | grep -q "^verified: score=$score moves=15 " ||
  fail "the searching player's replay does not verify to $score"

# Refusals, each with exit status 1 and its reason.
refused() { # <file> <expected part of the reason>
  set +e
  "$GAME" --verify "$1" >"$WORK/verify.txt" 2>&1
  local rc=$?
  set -e
  [ "$rc" = 1 ] || fail "--verify $1 exits with $rc, not 1"
  grep -q "^not verified: .*$2" "$WORK/verify.txt" || fail "$1: $(cat "$WORK/verify.txt")"
}
good=$WORK/replays/run-2.vorp
python3 - "$good" "$WORK" <<'PY'
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
out = sys.argv[2]
flip = bytearray(data); flip[30] ^= 0x10
open(out + "/changed.vorp", "wb").write(flip)
other = bytearray(data[:-4]); other[6:8] = struct.pack("<H", 2)
open(out + "/rules2.vorp", "wb").write(other + struct.pack("<I", zlib.crc32(other)))
PY
refused "$WORK/changed.vorp" "damaged or edited"
refused "$WORK/rules2.vorp" "recorded with rules version 2; this game plays rules version 1"
head -c 40 "$good" >"$WORK/cut.vorp"
refused "$WORK/cut.vorp" "truncated: 40 of its"
truncate -s 300K "$WORK/huge.vorp"
refused "$WORK/huge.vorp" "larger than 262144 bytes"
echo "not a replay at all" >"$WORK/junk.vorp"
refused "$WORK/junk.vorp" "not a replay of this game"
refused "$WORK/missing.vorp" "cannot read"
set +e
"$GAME" --autoplay --games 1 --max-moves 1 --player greedy --record "$WORK/none/x.vorp" \
  >/dev/null 2>"$WORK/record.txt"
rc=$?
set -e
[ "$rc" = 1 ] && grep -q "cannot keep the replay $WORK/none/x.vorp" "$WORK/record.txt" ||
  fail "a replay that cannot be written is not said (exit $rc)"

best=$(field "$WORK/best.txt" mean)
greedy=$(field "$WORK/greedy1.txt" mean)
[ "$(field "$WORK/best.txt" moves)" -ge "$(field "$WORK/greedy1.txt" moves)" ] ||
  fail "the best player played fewer moves than the greedy one"
[ "$best" -ge $((3 * greedy)) ] || fail "best's mean $best is not 3 x greedy's $greedy"
echo "autoplay: best $best, greedy $greedy over the same seeds"
