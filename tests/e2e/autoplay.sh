# The headless player through the real binary: no window and no files, one line per game and the
# summary in its fixed form, the same games for the same arguments, and the searching player well
# ahead of the greedy one on the same seeds. Expects GAME (the binary).
set -euo pipefail
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

best=$(field "$WORK/best.txt" mean)
greedy=$(field "$WORK/greedy1.txt" mean)
[ "$(field "$WORK/best.txt" moves)" -ge "$(field "$WORK/greedy1.txt" moves)" ] ||
  fail "the best player played fewer moves than the greedy one"
[ "$best" -ge $((3 * greedy)) ] || fail "best's mean $best is not 3 x greedy's $greedy"
echo "autoplay: best $best, greedy $greedy over the same seeds"
