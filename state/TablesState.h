#pragma once
// The ten-best tables, and the high-score screen with its name entry: which table it shows, the
// row a new score took, the row marked as new, and the name the player types.
#include "game/HighScores.h"

#include <cstdint>
#include <string>

struct TTablesState {
    uint8_t HighScorePage = 0; // which mode's table the high-score screen shows
    uint8_t NewEntryRow = 0;   // table row the name entry fills
    // The row of the newest high score, marked on its mode's table until the player leaves the
    // high-score screen.
    uint8_t MarkedRow = 255; // 255: none
    uint8_t MarkedMode = 0;
    bool StatisticsShown = false; // the high-score screen shows the statistics of its mode
    std::string PlayerName = "Player";
};

extern TTablesState Tables;

// The tables as the settings file keeps them.
extern THighScoreTable HighScores;
