#pragma once
// Headless play: the game's own player plays whole games on a field of its own, without a window
// or sound, and prints one line per game and a summary. Used by `velm-orra --autoplay` and the
// strength benchmark; nothing is read or written but the output.
#include "game/Player.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct TAutoplayOptions {
    uint8_t Mode = 1; // 0 Kids, 1 Normal, 2 Professional
    int Games = 1;
    uint64_t Seed = 1;   // game i (from 0) deals its balls from seed + i
    int MaxMoves = 2000; // a game stops after this many moves if it has not ended
    TPlayerKind Player = TPlayerKind::Best;
    TSearchBudget Budget;
};

// Reads the options that follow --autoplay: --mode kids|normal|professional, --games N,
// --seed S, --max-moves M, --player best|greedy. False, with the reason, on anything else.
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
};

// Plays one game from `seed` with the game's own field and rules.
TAutoplayGame PlayAutoGame(const TAutoplayOptions& options, uint64_t seed);

// Plays the games, printing each (its thinking times: mean, median and 95th percentile) and then
// "autoplay: player=best mode=normal games=3 mean=1234 median=1100 moves=287 ms_per_move=210
// p95=380" (one line): the mean and median score, the mean number of moves, and the player's mean
// and 95th-percentile time a move. Returns 0.
int RunAutoplay(const TAutoplayOptions& options, std::FILE* out);
