#include "state/GameState.h"
#include "tests/support/FieldTestSupport.h"

namespace {

class Lines : public FieldTest {};

} // namespace

TEST_F(Lines, PlainLinesScoreByLength) {
    for (int x = 0; x < 5; ++x) Put(x, 4, 2);
    EXPECT_EQ(field.ClearMatches(), 5);
    EXPECT_EQ(GameState.Score, 50);
    EXPECT_EQ(field.FreeCellCount(), 81);

    for (int x = 2; x < 8; ++x) Put(x, 1, 2); // six in a row: two overlapping runs
    EXPECT_EQ(field.ClearMatches(), 6);
    EXPECT_EQ(GameState.Score, 50 + 70);
}

TEST_F(Lines, CrossingLinesShareTheirCell) {
    for (int i = 0; i < 5; ++i) {
        Put(i, 2, 3);
        Put(2, i, 3);
    }
    EXPECT_EQ(field.ClearMatches(), 9);
    EXPECT_EQ(GameState.Score, 130);
}

TEST_F(Lines, DiagonalsInBothDirectionsAndOnlyWhereTheyFit) {
    for (int k = 0; k < 5; ++k) Put(4 + k, 4 + k, 1); // falling, ends in the corner
    EXPECT_EQ(field.ClearMatches(), 5);
    for (int k = 0; k < 5; ++k) Put(k, 8 - k, 5); // rising from the bottom-left corner
    EXPECT_EQ(field.ClearMatches(), 5);
    // Four in a row and a gap: nothing.
    for (int k = 0; k < 4; ++k) Put(k, 0, 1);
    Put(5, 0, 1);
    EXPECT_EQ(field.ClearMatches(), 0);
    EXPECT_EQ(field.FreeCellCount(), 76);
}

TEST_F(Lines, MultiplierMultipliesButNotTheChainBonus) {
    for (int x = 0; x < 4; ++x) Put(x, 0, 4);
    Put(4, 0, 20); // x6 rainbow multiplier
    EXPECT_EQ(field.ClearMatches(), 5);
    EXPECT_EQ(GameState.Score, 300);

    GameState.Score = 0;
    field.ChainCount = 1;
    for (int x = 0; x < 4; ++x) Put(x, 3, 4);
    Put(4, 3, 20);
    field.ClearMatches();
    EXPECT_EQ(GameState.Score, 300 + 50);
}

TEST_F(Lines, LastMultiplierInScanOrderCounts) {
    Put(0, 0, 19); // x3, scanned first
    Put(1, 0, 1);
    Put(2, 0, 1);
    Put(3, 0, 21); // x9
    Put(4, 0, 1);
    field.ClearMatches();
    EXPECT_EQ(GameState.Score, 450);
}

TEST_F(Lines, BombsAndPaintBallsLineUpAmongThemselves) {
    for (int x = 0; x < 5; ++x) Put(x, 0, kindEntryBomb);
    for (int x = 0; x < 5; ++x) Put(x, 2, 12 + x); // paint balls of five different colours
    for (int x = 0; x < 4; ++x) Put(x, 6, 1);
    Put(4, 6, kindEntryBomb); // a bomb never lines up with coloured balls
    EXPECT_EQ(field.ClearMatches(), 10);
    EXPECT_EQ(GameState.Score, 150); // both lines in one call: B = 2 * 10 - 5
    EXPECT_EQ(CountKind(kindBomb), 1);
}

TEST_F(Lines, TwoColourBallCompletesTwoLinesInOneMove) {
    // Colour 4 in row 3 and colour 6 in column 5, both missing (5, 3).
    for (int x = 1; x < 5; ++x) Put(x, 3, 4);
    for (int y = 4; y < 8; ++y) Put(5, y, 6);
    Put(8, 8, 8); // the 0x28 ball
    field.ChainCount = 0;
    Move(8, 8, 5, 3);
    EXPECT_EQ(field.FreeCellCount(), 81);
    EXPECT_EQ(GameState.Score, 130);
    EXPECT_EQ(field.ChainCount, 1);
}

TEST_F(Lines, ChainBonusGrowsWithConsecutiveLineMoves) {
    field.BallsPerTurn = 3;
    // Three moves, each completing a line of five.
    for (int row = 0; row < 3; ++row) {
        for (int x = 0; x < 4; ++x) Put(x, row * 2, 1);
        Put(8, row * 2 + 1, 1);
    }
    Move(8, 1, 4, 0);
    EXPECT_EQ(GameState.Score, 50);
    Move(8, 3, 4, 2);
    EXPECT_EQ(GameState.Score, 50 + 50 + 50);
    Move(8, 5, 4, 4);
    EXPECT_EQ(GameState.Score, 150 + 50 + 100);
    EXPECT_EQ(field.ChainCount, 3);
    // A quiet move brings balls and resets the chain.
    Put(0, 8, 2);
    field.Preview = {BallKinds[5], BallKinds[5], BallKinds[5], BallKinds[5], BallKinds[5]};
    Move(0, 8, 1, 8);
    EXPECT_EQ(field.ChainCount, 0);
    EXPECT_EQ(CountKind(BallKinds[5].Kind), 3);
}

TEST_F(Lines, PaintBallWithoutNeighboursStaysAndTheTurnGoesOn) {
    Put(0, 0, 14); // paint ball of colour 3
    field.BallsPerTurn = 2;
    field.Preview = {BallKinds[1], BallKinds[2], BallKinds[3], BallKinds[4], BallKinds[5]};
    Move(0, 0, 4, 4);
    EXPECT_EQ(field.Cell(4, 4), BallKinds[14]);
    EXPECT_EQ(field.FreeCellCount(), 81 - 3);
    EXPECT_EQ(field.PaintColour, 0);
}

TEST_F(Lines, PaintBallNextToBallsVanishesAndRepaintsThemLater) {
    Put(3, 3, 1);
    Put(5, 5, kindEntryBomb);
    Put(5, 3, 19); // a multiplier turns plain too
    Put(8, 8, 15); // paint ball of colour 4
    field.BallsPerTurn = 3;
    ClickCell(8, 8);
    ClickCell(4, 4);
    // Run until the ball has arrived and the paint is pending.
    for (int i = 0; i < 400 && !(field.PaintColour > 0); ++i) Frame();
    ASSERT_EQ(field.PaintColour, 4);
    EXPECT_EQ(field.Cell(4, 4).Kind, 0u);
    EXPECT_DOUBLE_EQ(field.TurnTimer, 6.5);
    EXPECT_EQ(field.Cell(3, 3), BallKinds[1]); // not yet
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(field.Cell(3, 3), BallKinds[4]);
    EXPECT_EQ(field.Cell(5, 5), BallKinds[4]);
    EXPECT_EQ(field.Cell(5, 3), BallKinds[4]);
    EXPECT_EQ(field.FreeCellCount(), 81 - 3); // no new balls
    EXPECT_EQ(field.ChainCount, 0);
}

TEST_F(Lines, PaintBallLineIsScoredBeforeTheRepaint) {
    for (int x = 0; x < 4; ++x) Put(x, 0, 2);
    Put(6, 6, 13); // paint of colour 2 completes the row at (4, 0)
    Put(4, 1, 3);  // a neighbour to repaint
    Move(6, 6, 4, 0);
    EXPECT_EQ(GameState.Score, 50);
    EXPECT_EQ(field.Cell(4, 1), BallKinds[2]);
    EXPECT_EQ(field.ChainCount, 0); // a paint move resets the chain
}

TEST_F(Lines, BombDestroysItsBlockAndSetsOffBombsInIt) {
    Put(2, 2, 1);
    Put(3, 2, 2);
    Put(4, 2, kindEntryBomb); // in the moved bomb's block: goes off too
    Put(2, 3, 3);             // in neither block
    Put(3, 3, 4);
    Put(4, 3, 5);
    Put(5, 3, 6); // reached only by the second bomb
    Put(0, 8, 1);
    Put(8, 8, kindEntryBomb);
    field.BallsPerTurn = 3;
    GameState.Score = 10;
    Move(8, 8, 3, 1);
    for (auto [x, y] : {std::pair{2, 2}, {3, 2}, {4, 2}, {3, 3}, {4, 3}, {5, 3}, {3, 1}})
        EXPECT_EQ(field.Cell(x, y).Kind, 0u) << x << "," << y;
    EXPECT_EQ(field.Cell(2, 3), BallKinds[3]);
    EXPECT_EQ(GameState.Score, 10);           // bombs score nothing
    EXPECT_EQ(field.FreeCellCount(), 81 - 2); // and bring no new balls
}

TEST_F(Lines, BombChainReachesFurtherBombs) {
    Put(4, 4, kindEntryBomb);
    Put(5, 5, 3);
    Put(3, 3, 2);
    Put(0, 0, kindEntryBomb);
    field.BallsPerTurn = 3;
    Move(0, 0, 4, 3);
    EXPECT_EQ(field.FreeCellCount(), 81);
}

TEST_F(Lines, BombWithoutNeighboursStaysABomb) {
    Put(0, 0, kindEntryBomb);
    field.BallsPerTurn = 2;
    field.Preview = {BallKinds[1], BallKinds[2], BallKinds[3], BallKinds[4], BallKinds[5]};
    Move(0, 0, 6, 6);
    EXPECT_EQ(field.Cell(6, 6), BallKinds[kindEntryBomb]);
    EXPECT_EQ(CountKind(kindDetonating), 0);
    EXPECT_EQ(field.FreeCellCount(), 81 - 3); // the turn went on: two new balls
}

TEST_F(Lines, BombWhoseOnlyNeighbourIsABomb) {
    // Directly: the other bomb goes off and destroys the moved one among its neighbours, but the
    // moved bomb itself destroyed nothing.
    Put(3, 4, kindEntryBomb);
    Put(4, 4, kindEntryBomb);
    Put(5, 4, 1);
    EXPECT_FALSE(field.ExplodeBomb(3, 4, kindBomb));
    EXPECT_EQ(field.FreeCellCount(), 81);

    // In a move: the turn goes on as usual and brings new balls.
    Put(4, 4, kindEntryBomb);
    Put(5, 4, 1);
    Put(0, 0, kindEntryBomb);
    field.BallsPerTurn = 2;
    field.Preview = {BallKinds[6], BallKinds[6], BallKinds[6], BallKinds[6], BallKinds[6]};
    Move(0, 0, 3, 4);
    EXPECT_EQ(CountKind(kindBomb), 0);
    EXPECT_EQ(CountKind(BallKinds[6].Kind), 2);
    EXPECT_EQ(field.FreeCellCount(), 81 - 2);
}
