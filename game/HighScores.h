#pragma once
// The ten-best tables, one per mode, kept byte for byte as the first 600 bytes of "Config.bin".
#include <array>
#include <cstdint>
#include <string>

// Stored as 20 bytes (ToBytes): name length (0..16), 16 name bytes (single-byte code page; only
// the first NameLength count), one unused byte, score as unsigned 16-bit little-endian. A score
// above 65535 is stored as 65535 there; the whole score is kept beside, in FullScore.
struct THighScoreEntry {
    uint8_t NameLength = 0;
    char Name[16] = {};
    uint8_t Pad = 0;
    uint16_t Score = 0;
    int32_t FullScore = 0; // the score when Score stands at 65535 for more; 0 otherwise

    std::string NameText() const;
    // Stores at most the first 16 characters.
    void SetName(const std::string& name);
    // The score as played: FullScore where the 16-bit field is saturated and it is known.
    int32_t Points() const;
    // Sets both fields from a score of 0 or more.
    void SetPoints(int32_t score);
};

constexpr int kHighScoreRows = 10;
constexpr int kHighScoreModes = 3;
constexpr int kHighScoreBytes = 600;

using THighScoreBlock = std::array<THighScoreEntry, kHighScoreRows>; // best first

struct THighScoreTable {
    std::array<THighScoreBlock, kHighScoreModes> Blocks{}; // Kids, Normal, Professional

    // The 600-byte form of "Config.bin" and back.
    void ToBytes(uint8_t* out) const;
    void FromBytes(const uint8_t* in);
};

// Placeholder names of a fresh table, one per rank.
extern const std::array<const char*, kHighScoreRows> DefaultHighScoreNames;

// A fresh block: the placeholder names with scores 1000, 900, ..., 100.
THighScoreBlock FreshHighScoreBlock();
THighScoreTable FreshHighScoreTable();

constexpr int kNotEntered = 10;

// Inserts `score` into `block` below every equal score (compared as played, Points) and returns
// its row, or kNotEntered when it does not beat the tenth entry. The entries below move down one
// place (the tenth is lost); the new entry keeps the name copied down into it until the name
// entry replaces it. A score above 65535 is stored as 65535 in the 16-bit field (its low bits
// would show a wrong score out of order at the top of the table) and whole in FullScore.
int InsertHighScore(THighScoreBlock& block, int32_t score);
