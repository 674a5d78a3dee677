#pragma once
// A recorded game: the seed it was dealt from, its mode, the rules version it was played by, and
// every move and undo in order. A game is determined by these: the balls' generator starts from
// the seed and advances only by the game's events, and a move played again after an undo brings
// the balls it brought before. Replaying the steps through the rules therefore gives the same game
// ball for ball and point for point, which is what verifying a replay means.
//
// The file (all numbers little-endian):
//   0  4  "VORP"
//   4  1  format version (kReplayFormatVersion)
//   5  1  mode: 0 Kids, 1 Normal, 2 Professional
//   6  2  rules version (kRulesVersion of the game that recorded it)
//   8  8  seed
//  16  4  score after the last step (signed, 0 or more): the final score of an ended game
//  20  1  flags: bit 0 the game ended after the last step (no room for the next balls)
//  21  4  N, the bytes of the steps
//  25  N  the steps: a move is two bytes, its ball's cell and its target (x + 9 y, 0..80); an
//         undo is one byte 255
//  25+N 4 CRC-32 (the polynomial of zip and PNG) of every byte before it
// 500 moves take 1029 bytes. The check value finds damage and careless edits; anyone can compute
// it again, so it proves nothing against a forger. What a replay proves comes from replaying it:
// its moves, played by the rules from its seed, make its score.
#include "game/GameModes.h"
#include "game/Rules.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint8_t kReplayFormatVersion = 1;
constexpr size_t kReplayHeaderBytes = 25;
constexpr size_t kReplayCheckBytes = 4;
// Larger files are refused before they are read: over 100,000 moves, far beyond any game.
constexpr size_t kMaxReplayBytes = size_t{256} * 1024;

struct TReplayStep {
    bool Undo = false; // a taken-back move; the cells are unused
    uint8_t FromX = 0, FromY = 0, ToX = 0, ToY = 0;
    bool operator==(const TReplayStep&) const = default;
};

struct TReplay {
    uint16_t RulesVersion = kRulesVersion;
    uint8_t Mode = modeNormal;
    uint64_t Seed = 0;
    std::vector<TReplayStep> Steps;
    bool Ended = false; // the game came to its end after the last step
    int32_t Score = 0;  // the score after the last step; the final score when Ended
    bool operator==(const TReplay&) const = default;

    int Moves() const; // steps that sent a ball (undone ones included)
    int Undos() const;
};

// CRC-32 of `size` bytes, continuing from `crc` (0 to begin).
uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0);

// The replay in its file form; empty when a step's cells lie outside the 9 x 9 field or the
// result would exceed kMaxReplayBytes.
std::vector<uint8_t> EncodeReplay(const TReplay& replay);
// Reads a replay file; false, with the reason, for anything but a whole, sound replay of a
// known format version (a replay of other rules reads, and VerifyReplay refuses it).
bool DecodeReplay(const uint8_t* data, size_t size, TReplay& replay, std::string* why);
