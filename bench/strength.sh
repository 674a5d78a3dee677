#!/usr/bin/env bash
# The player's strength: `velm-orra --autoplay` for each mode and both players, each game to its
# end or the move limit, and a table of the summary lines (mean and median score, mean moves,
# thinking time a move: mean and 95th percentile, processor time of the thinking thread).
# Usage: bench/strength.sh [binary] [games for best] [games for greedy] [max moves] [modes...]
# (default build/game/velm-orra, 100, 100, 2000, kids normal professional). The best player
# thinks ~55 ms a move: 100 games of 2,000 moves are about 3 hours of one core. Pieces played
# side by side (--seed, --games) are merged by bench/strength_merge.py.
set -euo pipefail
cd "$(dirname "$0")/.."
GAME=$(realpath "${1:-build/game/velm-orra}")
BEST_GAMES=${2:-100}
GREEDY_GAMES=${3:-100}
MAX_MOVES=${4:-2000}
shift $(($# < 4 ? $# : 4))
MODES=("$@")
[ ${#MODES[@]} -gt 0 ] || MODES=(kids normal professional)
echo "strength: $GAME, best $BEST_GAMES games, greedy $GREEDY_GAMES games, seeds from 1, at most $MAX_MOVES moves"
echo "| Mode | Player | Games | Mean | Median | Moves | ms a move | p95 ms |"
echo "|---|---|---:|---:|---:|---:|---:|---:|"
for mode in "${MODES[@]}"; do
  for player in greedy best; do
    games=$GREEDY_GAMES
    [ "$player" = best ] && games=$BEST_GAMES
    [ "$games" -gt 0 ] || continue
    line=$("$GAME" --autoplay --mode "$mode" --player "$player" --games "$games" --seed 1 \
      --max-moves "$MAX_MOVES" | tee >(cat >&2) | tail -n 1)
    echo "$line" | awk '{
      for (i = 2; i <= NF; ++i) { split($i, kv, "="); v[kv[1]] = kv[2] }
      printf "| %s | %s | %s | %s | %s | %s | %s | %s |\n", v["mode"], v["player"], v["games"],
             v["mean"], v["median"], v["moves"], v["ms_per_move"], v["p95"] }'
  done
done
