#pragma once
// The ten-best tables, and the high-score screen with its name entry: which table it shows, the
// row a new score took, the row marked as new, and the name the player types.
#include "game/HighScores.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// The name entry takes single bytes in Windows-1252: the printable ASCII range (and 128, the
// euro sign) and the accented letters and signs from 160 up, all of which the font draws; at
// most kMaxNameLength of them.
constexpr size_t kMaxNameLength = 16;
constexpr bool NameByte(char c) {
    const auto code = static_cast<unsigned char>(c);
    return (code >= 32 && code <= 128) || code >= 160;
}
constexpr const char* kDefaultName = "Player";
// The registry's name of the name last entered.
constexpr const char* kNameKey = "PlayerName";

struct TTablesState {
    uint8_t HighScorePage = 0; // which mode's table the high-score screen shows
    uint8_t NewEntryRow = 0;   // table row the name entry fills
    // The row of the newest high score, marked on its mode's table until the player leaves the
    // high-score screen.
    uint8_t MarkedRow = 255; // 255: none
    uint8_t MarkedMode = 0;
    bool StatisticsShown = false; // the high-score screen shows the statistics of its mode
    bool Watching = false; // a table entry's replay is watched: the table's buttons stand hidden
    std::string PlayerName = kDefaultName;
    // The name entry opens with the proposed name selected: the first letter typed replaces it,
    // Backspace clears it.
    bool NameSelected = false;
};

extern TTablesState Tables;

// The tables as the settings file keeps them.
extern THighScoreTable HighScores;

// The replay file of each table entry (game/Replay.h), by mode and row like HighScores; empty
// where an entry has none. They move with their entries and are kept beside the tables.
using THighScoreReplays =
    std::array<std::array<std::vector<uint8_t>, kHighScoreRows>, kHighScoreModes>;
extern THighScoreReplays HighScoreReplays;
