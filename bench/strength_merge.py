#!/usr/bin/env python3
"""The strength table from the per-game lines of `velm-orra --autoplay` runs played in pieces.

Usage: bench/strength_merge.py FILE...  Each file holds one run's output (a player and a mode,
named on its summary line or, for a run stopped early, in the file name as
<mode>-<player>-*.txt). Games are merged by mode, player and seed; a seed played twice must
have played the same game (the same score and moves), else the script says so and fails.
Prints a row per mode and player: games (seed range), mean and median score, mean moves, the
time a move (mean over all moves, in ms) and the median of the games' 95th percentiles.
"""
import collections
import math
import os
import re
import statistics
import sys

GAME = re.compile(r"game \d+ seed=(\d+) score=(\d+) moves=(\d+) end=(\S+) ms_per_move=(\d+)"
                  r"(?: median=\d+)? p95=(\d+)")
SUMMARY = re.compile(r"autoplay: player=(\S+) mode=(\S+)")


def whole(x):
    """Rounded half up, as the game's summary line rounds."""
    return f"{math.floor(x + 0.5):,}"


def key_of(path, text):
    m = SUMMARY.search(text)
    if m:
        return m.group(2), m.group(1)
    parts = os.path.basename(path).split("-")
    if len(parts) >= 2:
        return parts[0], parts[1]
    sys.exit(f"{path}: no summary line and no <mode>-<player>- in the name")


def main(paths):
    runs = collections.defaultdict(dict)  # (mode, player) -> seed -> game
    failed = False
    for path in paths:
        text = open(path, encoding="utf-8").read()
        key = key_of(path, text)
        for m in GAME.finditer(text):
            seed, score, moves, end, ms, p95 = m.groups()
            game = (int(score), int(moves), end, int(ms), int(p95))
            old = runs[key].get(int(seed))
            if old and old[:2] != game[:2]:
                print(f"{key} seed {seed}: {old[:2]} in one run, {game[:2]} in {path}")
                failed = True
            runs[key][int(seed)] = game
    print("| Mode | Player | Games (seeds) | Mean | Median | Moves (mean) | ms a move | p95 ms |")
    print("|---|---|---:|---:|---:|---:|---:|---:|")
    for (mode, player), games in sorted(runs.items()):
        seeds = sorted(games)
        scores = [games[s][0] for s in seeds]
        moves = [games[s][1] for s in seeds]
        ms = sum(games[s][3] * games[s][1] for s in seeds) / max(1, sum(moves))
        ended = sum(games[s][2] == "full" for s in seeds)
        span = f"{seeds[0]}–{seeds[-1]}" if seeds == list(range(seeds[0], seeds[-1] + 1)) else "…"
        print(f"| {mode} | {player} | {len(seeds)} ({span}) | {whole(statistics.mean(scores))} | "
              f"{whole(statistics.median(scores))} | {whole(statistics.mean(moves))} "
              f"({ended} ended) | {whole(ms)} | {whole(statistics.median(games[s][4] for s in seeds))} |")
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
