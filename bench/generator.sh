#!/usr/bin/env bash
# Times the build-time generator as the build runs it (all pictures at 1x and 2x, the font, the
# texts, the sounds and the music into a scratch folder): wall time and processor time of its
# threads, and the size of what it wrote. Run it on a machine at rest: the wall time follows the
# load of the other cores.
# Usage: bench/generator.sh [artgen binary] [runs] (default build/tools/artgen/artgen, 3 runs).
set -euo pipefail
cd "$(dirname "$0")/.."
ARTGEN=$(realpath "${1:-build/tools/artgen/artgen}")
RUNS=${2:-3}
WORK=$(mktemp -d /tmp/vo-generator-XXXXXX)
trap 'rm -rf "$WORK"' EXIT
echo "generator: $ARTGEN, $RUNS runs"
for run in $(seq "$RUNS"); do
  rm -rf "$WORK/game" "$WORK/review"
  /usr/bin/time -f "%e %U %S" -o "$WORK/time" "$ARTGEN" "$WORK/game" "$WORK/review"
  read -r wall user sys <"$WORK/time"
  echo "run $run: wall ${wall} s, processor $(awk -v u="$user" -v s="$sys" 'BEGIN { printf "%.1f", u + s }') s"
done
echo "data written: $(du -sm "$WORK/game" | cut -f1) MB ($(du -sm "$WORK/game/@2x" 2>/dev/null | cut -f1 || echo 0) MB of it at 2x)"
