#include "game/GameField.h"
#include "game/GameModes.h"

#include <gtest/gtest.h>

TEST(FieldModel, NewFieldIsEmptyAndWaiting) {
    TGameField f(9, 9);
    EXPECT_EQ(f.MaxX, 8);
    EXPECT_EQ(f.MaxY, 8);
    EXPECT_EQ(f.FreeCellCount(), 81);
    EXPECT_FALSE(f.HasBalls());
    EXPECT_TRUE(f.HasFreeCells(81));
    EXPECT_FALSE(f.HasFreeCells(82));
    EXPECT_DOUBLE_EQ(f.TurnTimer, -200.0);
    EXPECT_EQ(f.ChainCount, 0);
    EXPECT_FALSE(f.Selected);
    EXPECT_FALSE(f.GameOver);
    for (const TCell& c : f.Preview) EXPECT_EQ(c, TCell{});
}

TEST(FieldModel, EmptinessIsTestedOnKindAlone) {
    TGameField f(9, 9);
    f.Cell(3, 4) = BallKinds[5];
    EXPECT_TRUE(f.HasBalls());
    EXPECT_EQ(f.FreeCellCount(), 80);
    f.Cell(3, 4).Kind = 0; // the picture stays, the cell is empty
    EXPECT_EQ(f.Cell(3, 4).Picture, 4u);
    EXPECT_FALSE(f.HasBalls());
    EXPECT_EQ(f.FreeCellCount(), 81);
}

TEST(FieldModel, HasFreeCellsCountsExactly) {
    TGameField f(9, 9);
    for (int i = 0; i < 78; ++i) f.Cell(i / 9, i % 9) = BallKinds[1];
    EXPECT_TRUE(f.HasFreeCells(3));
    EXPECT_FALSE(f.HasFreeCells(4));
}

TEST(BallKindTable, ColourBitsAndSpecials) {
    // Each plain colour n carries exactly bit n-1 and picture n-1.
    for (int n = 1; n <= 7; ++n) {
        EXPECT_EQ(BallKinds[static_cast<size_t>(n)].Kind, ColourBit(n));
        EXPECT_EQ(BallKinds[static_cast<size_t>(n + 11)].Kind, kindPaint | ColourBit(n));
    }
    EXPECT_EQ(BallKinds[8].Kind, ColourBit(4) | ColourBit(6));
    EXPECT_EQ(BallKinds[11].Kind & kindColourMask, 0x7Fu);
    // Multipliers carry every colour and their factor in the top nibble.
    EXPECT_EQ(BallKinds[19].Kind >> 28, 3u);
    EXPECT_EQ(BallKinds[20].Kind >> 28, 6u);
    EXPECT_EQ(BallKinds[21].Kind >> 28, 9u);
    for (int e = 19; e <= 21; ++e)
        EXPECT_TRUE(BallKinds[static_cast<size_t>(e)].Kind & kindMultiplier);
    // The bomb has no colour bit, so it never lines up with a coloured ball.
    EXPECT_EQ(BallKinds[kindEntryBomb].Kind & kindColourMask, 0u);
    EXPECT_EQ(BallKinds[kindEntryBomb].Picture, kPictureBomb);
    // Pictures are the entry numbers minus one.
    for (int e = 1; e < kBallKindCount; ++e)
        EXPECT_EQ(BallKinds[static_cast<size_t>(e)].Picture, static_cast<uint32_t>(e - 1));
}

TEST(BallKindTable, EntryRecognition) {
    EXPECT_TRUE(IsBallKindEntry(BallKinds[22]));
    EXPECT_TRUE(IsBallKindEntry(BallKinds[1]));
    EXPECT_FALSE(IsBallKindEntry(BallKinds[0]));
    EXPECT_FALSE(IsBallKindEntry(TCell{0x01, 5})); // colour 1 with another colour's picture
    EXPECT_FALSE(IsBallKindEntry(TCell{kindDetonating, 21}));
}

TEST(GameModes, BallsPerTurnByFreeCells) {
    // Normal: 3, then 2 below 32 free cells, 1 below 16.
    EXPECT_EQ(BallsPerTurnFor(1, 32), 3);
    EXPECT_EQ(BallsPerTurnFor(1, 31), 2);
    EXPECT_EQ(BallsPerTurnFor(1, 15), 1);
    // Kids never drops below 1, Professional never below 2.
    EXPECT_EQ(BallsPerTurnFor(0, 0), 1);
    EXPECT_EQ(BallsPerTurnFor(0, 40), 2);
    EXPECT_EQ(BallsPerTurnFor(2, 0), 2);
    for (uint8_t m = 0; m < 3; ++m) {
        EXPECT_EQ(BallsPerTurnFor(m, 81), ModeRules[m].BallsPerTurn);
        EXPECT_EQ(BallsPerTurnFor(m, 0), ModeRules[m].MinBallsPerTurn);
        EXPECT_EQ(ModeRules[m].SpawnRoom, m + 3);
        EXPECT_EQ(ModeRules[m].StartBalls, 3 * (m + 1));
    }
}
