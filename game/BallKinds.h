#pragma once
// The cell record and the kinds of balls. Every ball that enters the field is a copy of one
// BallKinds entry; the record is also the unit of the preview and of the saved game.
#include <array>
#include <cstddef>
#include <cstdint>

// Kind bits. Colours 1..7 are bits 0..6; a line is any run of five whose Kinds share a bit.
constexpr uint32_t kindEmpty = 0;
constexpr uint32_t kindColourMask = 0x7F;
constexpr uint32_t kindBomb = 0x00010000;
constexpr uint32_t kindDetonating = 0x00020000; // a bomb being detonated, while its chain runs
constexpr uint32_t kindPaint = 0x01000000;
constexpr uint32_t kindMultiplier = 0x02000000; // factor = Kind >> 28

constexpr uint32_t ColourBit(int colour) {
    return 1u << (colour - 1);
}

// 8 bytes, little-endian in "Config.bin": Kind, then Picture (low byte used).
struct TCell {
    uint32_t Kind = 0;    // 0 = empty; emptiness is tested on Kind alone
    uint32_t Picture = 0; // index into the ball picture sets; 255 in the empty entry
    friend bool operator==(const TCell&, const TCell&) = default;
};
static_assert(sizeof(TCell) == 8);

constexpr int kBallKindCount = 23;
constexpr int kindEntryBomb = 22;
constexpr uint32_t kPictureBomb = 21;

// Entries: 0 empty; 1..7 plain colours 1..7; 8..10 two-colour; 11 rainbow; 12..18 paint balls
// of colours 1..7; 19..21 rainbow multipliers x3, x6, x9; 22 bomb.
constexpr std::array<TCell, kBallKindCount> BallKinds = {{
    {0x00000000, 255},
    {0x01, 0},
    {0x02, 1},
    {0x04, 2},
    {0x08, 3},
    {0x10, 4},
    {0x20, 5},
    {0x40, 6},
    {0x28, 7},
    {0x05, 8},
    {0x12, 9},
    {0x7F, 10},
    {kindPaint | 0x01, 11},
    {kindPaint | 0x02, 12},
    {kindPaint | 0x04, 13},
    {kindPaint | 0x08, 14},
    {kindPaint | 0x10, 15},
    {kindPaint | 0x20, 16},
    {kindPaint | 0x40, 17},
    {0x3200007F, 18},
    {0x6200007F, 19},
    {0x9200007F, 20},
    {kindBomb, 21},
}};

// True when the record equals one of the placeable entries 1..22.
bool IsBallKindEntry(const TCell& cell);
