#pragma once
// Headless play: the game's own player plays whole games on a field of its own, without a window
// or sound, and prints one line per game and a summary. Used by `velm-orra --autoplay` and the
// strength benchmark; nothing is read or written but the output and the replays it is asked to
// keep.
#include "game/DailySeed.h"
#include "game/Player.h"
#include "game/Replay.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class TGameField;

struct TAutoplayOptions {
    uint8_t Mode = 1; // 0 Kids, 1 Normal, 2 Professional
    int Games = 1;
    uint64_t Seed = 1;   // game i (from 0) deals its balls from seed + i
    int MaxMoves = 2000; // a game stops after this many moves if it has not ended
    TPlayerKind Player = TPlayerKind::Best;
    TSearchBudget Budget;
    std::string Record;         // not empty: each game is kept as a replay (ReplayFileName)
    std::optional<TDate> Daily; // that day's game: its seed, Normal rules, one game
};

// Reads the options that follow --autoplay: --mode kids|normal|professional, --games N,
// --seed S, --max-moves M, --player best|greedy, --record FILE, --daily YYYY-MM-DD (which takes
// no --mode, --seed or --games). False, with the reason, on anything else.
bool ParseAutoplay(const std::vector<std::string>& args, TAutoplayOptions& options,
                   std::string* error);

// One game as played.
struct TAutoplayGame {
    uint64_t Seed = 0;
    int32_t Score = 0;
    int Moves = 0;
    bool Ended = false;         // the field found no room for the next balls
    bool Stuck = false;         // no ball could move (the field was emptied by lines)
    std::vector<double> MoveMs; // the player's thinking time for each move, milliseconds
    bool Recorded = false;      // Replay holds the game as played (not too long for one)
    TReplay Replay;
};

// Plays one game from `seed` with the game's own field and rules.
TAutoplayGame PlayAutoGame(const TAutoplayOptions& options, uint64_t seed);

// The file game `index` (from 0) of `games` is kept in: `base` for one game, else `base` with
// "-<index + 1>" before its extension ("run.vorp" -> "run-2.vorp"; "run" -> "run-2").
std::string ReplayFileName(const std::string& base, int index, int games);

// The field's balls, row by row from the top, rows parted by '/': '.' for an empty cell, else
// 'a' + the ball's picture; then " preview=" and the preview balls the next turn places.
std::string BoardText(const TGameField& field);
// "daily: date=YYYY-MM-DD seed=N board=... preview=...": the day's deal, as every build prints
// it (--autoplay --daily, and a window or page started on that day's game) to compare them by.
std::string DailyDealLine(const TDate& date);

// Keeps a replay's bytes in a file; false, with the reason, when it cannot.
using TReplayKeeper =
    std::function<bool(const std::string& file, const std::vector<uint8_t>& bytes, std::string*)>;

// Plays the games, printing each (its thinking times: mean, median and 95th percentile) and then
// "autoplay: player=best mode=normal games=3 mean=1234 median=1100 moves=287 ms_per_move=210
// p95=380" (one line): the mean and median score, the mean number of moves, and the player's mean
// and 95th-percentile time a move. A daily game is announced first: "daily: date=2025-06-01
// seed=N board=... preview=..." (BoardText of its deal). With Record, each game's replay goes to
// `keep` as it ends. Returns 0, or 1 (said on `err`) when a replay cannot be kept.
int RunAutoplay(const TAutoplayOptions& options, std::FILE* out, std::FILE* err = stderr,
                const TReplayKeeper& keep = {});
