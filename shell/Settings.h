#pragma once
// "Config.bin": the high-score tables, the two volumes and an unfinished game, 1450 bytes,
// little-endian:
//   0   600  high-score table (three blocks of ten 20-byte entries: Kids, Normal, Professional)
//   600   4  music volume (0..100)          604   4  sound volume (0..100)
//   608   1  saved-game flag (0 = none)     609   1  mode of the saved game (0..2)
//   610   4  score                          614   4  balls per turn
//   618  32  preview entries 0..3 (8-byte cell records: Kind, Picture)
//   650 800  cells: 10 x 10 slots, slot (x, y) at 650 + (10x + y) * 8; x = 9 or y = 9 unused
#include "game/BallKinds.h"
#include "game/HighScores.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

constexpr size_t kConfigSize = 1450;
constexpr size_t kConfigFlagOffset = 608;

// A saved game as stored in the file.
struct TSavedGame {
    uint8_t Mode = 1;
    int32_t Score = 0;
    int32_t BallsPerTurn = 3;
    std::array<TCell, 4> Preview{};
    std::array<std::array<TCell, 9>, 9> Cells{}; // [x][y]
};

// What a file holds after checking. Damaged parts are made safe and described in Notes: a short
// file keeps the defaults for what it lacks; volumes and name lengths are clamped; a table out of
// order or with control bytes in a name is replaced by a fresh one; a saved game with a mode
// outside 0..2, a record that is no ball kind, a score below 0, a full field
// or a file too short to hold it is dropped; balls per turn are clamped to the mode's
// range. A file with any note is damaged: the game keeps a copy of it aside.
struct TConfigContents {
    THighScoreTable Table;
    int32_t MusicVolume = 50;
    int32_t SoundVolume = 75;
    bool HasGame = false;
    TSavedGame Game;
    std::vector<std::string> Notes;
    bool Damaged() const { return !Notes.empty(); }
};

TConfigContents DecodeConfig(const uint8_t* data, size_t size);
std::vector<uint8_t> EncodeConfig(const THighScoreTable& table, int32_t musicVolume,
                                  int32_t soundVolume, bool hasGame, const TSavedGame& game);

// "Config.extra", beside "Config.bin": what its fixed layout cannot hold, as text lines in
// sections, each of which goes with one "Config.bin":
//   velm-orra config extra 2
//   config <16 hex digits>   begins the section of the "Config.bin" whose FNV-1a hash (64 bits)
//                            this is; the entries below it belong to that file:
//   random <16 hex digits>   the balls' generator state of the saved game
//   replay <16 hex digits>   a spawn state of an undone move, one line each, the next one last
//   score <mode> <row> <n>   a table score above 65535 (the table holds 65535 there)
// A save writes it before "Config.bin", with the section of the new "Config.bin" first and the
// section of the one still on disk after it: whichever of the two a stop leaves in place, its
// section is there. A reader uses the section of the "Config.bin" beside it. Version 1 (header
// "velm-orra config extra 1") holds one section whose lines come in any order.
constexpr const char* kConfigExtraFile = "Config.extra";
constexpr size_t kMaxExtraSections = 8;

// One section: what goes with one "Config.bin".
struct TConfigExtra {
    uint64_t ConfigHash = 0;
    bool HasRandom = false;
    uint64_t Random = 0;
    std::vector<uint64_t> Replay;
    std::array<std::array<int32_t, kHighScoreRows>, kHighScoreModes> Scores{}; // 0: none

    bool operator==(const TConfigExtra&) const = default;
};

// The hash of a missing "Config.bin" is that of no bytes.
uint64_t ConfigHash(const std::vector<uint8_t>& configBytes);
// Sections with different hashes, at most kMaxExtraSections, the newest first.
std::string EncodeConfigExtra(const std::vector<TConfigExtra>& sections);
// False, with the line at fault in `why`, for a text that is not such a file.
bool DecodeConfigExtra(const std::string& text, std::vector<TConfigExtra>& sections,
                       std::string* why);
// Gives `table`'s entries that hold 65535 the section's whole scores. The section must agree with
// the table it completes: a score for an entry that does not hold 65535, or whole scores out of
// the table's order (rank 1 at least rank 2, and so on), leave that mode's whole scores out of
// `table` and of `extra`; each such fault is described in `notes`.
void CompleteTableScores(THighScoreTable& table, TConfigExtra& extra,
                         std::vector<std::string>& notes);
