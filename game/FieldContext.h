#pragma once
// What a field acts on besides its own cells and clocks: the game in progress, the ten-best tables
// a finished game enters, the player's statistics and the two random generators. The field reads
// and writes them only through its context, so that a second field on a context of its own
// (headless play, a replay, a demo) runs beside the game on the screen and never touches it.
#include "game/GameModes.h"
#include "game/HighScores.h"
#include "game/Random.h"
#include "game/Statistics.h"

#include <cstdint>

// The game in progress: its mode, its score and whether the player has moved a ball in it.
struct TGameState {
    uint8_t CurrentMode = modeNormal;
    int32_t Score = 0;
    bool GameTouched = false;
};

// Not owned. Game, Tables, Balls and Decor are always set (a field fills what is left empty with
// parts of its own); Stats may stay empty, and then nothing is counted.
struct TFieldContext {
    TGameState* Game = nullptr;
    THighScoreTable* Tables = nullptr;
    TStatistics* Stats = nullptr;
    // The balls' generator advances only by the game's events (places, preview, debris), so that
    // the same moves bring the same balls at any frame rate.
    TRandomStream* Balls = nullptr;
    // Decoration and the emptying of a finished field: advanced by the frames.
    TRandomStream* Decor = nullptr;
};

// A context that owns all its parts: fresh tables, no game played, statistics of its own and
// both generators seeded from one number.
struct TStandaloneGame {
    TGameState Game;
    THighScoreTable Tables = FreshHighScoreTable();
    TStatistics Stats;
    TRandomStream Balls, Decor;

    explicit TStandaloneGame(uint64_t seed = 0) {
        Balls.Seed(seed);
        Decor.Seed(seed);
    }
    TFieldContext Context() { return {&Game, &Tables, &Stats, &Balls, &Decor}; }
};
