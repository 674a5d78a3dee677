#include "tests/support/FieldTestSupport.h"

#include "game/GameModes.h"
#include "state/GameState.h"
#include "state/TablesState.h"

#include <array>
#include <set>
#include <vector>

namespace {

class TurnCycle : public FieldTest {
protected:
    // Fills every cell but `freeCells` with a pattern that has no run of five anywhere.
    void FillLeaving(int freeCells) {
        int left = 81 - freeCells;
        for (int y = 8; y >= 0; --y)
            for (int x = 8; x >= 0 && left > 0; --x, --left) Put(x, y, 1 + (x + 2 * y) % 6);
    }
    // A move that completes no line: the first ball that can reach a free cell goes there.
    void QuietMove() {
        for (int by = 0; by < 9; ++by)
            for (int bx = 0; bx < 9; ++bx) {
                if (field.Cell(bx, by).Kind == 0) continue;
                for (int y = 0; y < 9; ++y)
                    for (int x = 0; x < 9; ++x)
                        if (field.Cell(x, y).Kind == 0 && field.FindPath(bx, by, x, y) != kNoPath) {
                            Move(bx, by, x, y);
                            return;
                        }
            }
        FAIL() << "no free cell reachable";
    }
};

} // namespace

TEST_F(TurnCycle, NewNormalGame) {
    field.NewGame(1);
    EXPECT_EQ(GameState.CurrentMode, 1);
    EXPECT_EQ(field.FreeCellCount(), 81 - 6);
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) {
            const TCell& c = field.Cell(x, y);
            if (c.Kind == 0) continue;
            EXPECT_LT(c.Picture, 6u); // plain colours 1..6
            EXPECT_EQ(c, BallKinds[c.Picture + 1]);
        }
    EXPECT_EQ(field.BallsPerTurn, 3);
    EXPECT_EQ(GameState.Score, 0);
    EXPECT_DOUBLE_EQ(field.TurnTimer, 7.0);

    // Clicks are ignored while the new balls settle (7 units).
    int bx = -1, by = -1;
    for (int x = 0; x < 9 && bx < 0; ++x)
        for (int y = 0; y < 9; ++y)
            if (field.Cell(x, y).Kind) {
                bx = x;
                by = y;
                break;
            }
    for (int i = 0; i < 27; ++i) Frame(0.25); // 6.75 units
    ClickCell(bx, by);
    EXPECT_FALSE(field.Selected);
    Frame(0.25);
    Frame(0.25);
    ClickCell(bx, by);
    EXPECT_TRUE(field.Selected);
}

TEST_F(TurnCycle, StartingBallsPerMode) {
    const int expected[3] = {3, 6, 9};
    for (uint8_t mode = 0; mode < 3; ++mode) {
        std::set<uint32_t> colours;
        for (int game = 0; game < 40; ++game) {
            field.NewGame(mode);
            EXPECT_EQ(81 - field.FreeCellCount(), expected[mode]);
            EXPECT_EQ(field.BallsPerTurn, mode + 2);
            for (int x = 0; x < 9; ++x)
                for (int y = 0; y < 9; ++y)
                    if (field.Cell(x, y).Kind) colours.insert(field.Cell(x, y).Picture);
        }
        // Kids starts with all seven colours, the other modes with six.
        EXPECT_EQ(colours.size(), mode == 0 ? 7u : 6u) << int(mode);
    }
}

TEST_F(TurnCycle, PreviewOddsFollowTheMode) {
    for (uint8_t mode = 0; mode < 3; ++mode) {
        GameState.CurrentMode = mode;
        std::set<uint32_t> pictures;
        for (int i = 0; i < 3000; ++i) {
            field.Clear();
            field.SpawnBalls(0, true);
            for (const TCell& c : field.Preview) {
                ASSERT_TRUE(IsBallKindEntry(c));
                pictures.insert(c.Picture);
            }
        }
        const bool hasBomb = pictures.count(kPictureBomb) > 0;
        const bool hasPaint = pictures.count(11) > 0;
        const bool hasMultiplier = pictures.count(18) > 0;
        EXPECT_EQ(hasBomb, mode != 0);
        EXPECT_EQ(hasPaint, mode != 0);
        EXPECT_EQ(hasMultiplier, mode != 0);
        EXPECT_EQ(pictures.count(6) > 0, mode == 2);  // plain colour 7 only in Professional
        EXPECT_EQ(pictures.count(17) > 0, mode == 2); // paint colour 7 likewise
        EXPECT_TRUE(pictures.count(10) > 0);          // rainbow in every mode
    }
}

TEST_F(TurnCycle, QuietMovePlacesThePreviewInOrderAndSetsBallsPerTurn) {
    FillLeaving(34);
    GameState.CurrentMode = 1;
    field.BallsPerTurn = 3;
    field.Preview = {BallKinds[7], BallKinds[8], BallKinds[9], BallKinds[2], BallKinds[2]};
    QuietMove();
    EXPECT_EQ(CountKind(BallKinds[7].Kind), 1);
    EXPECT_EQ(CountKind(BallKinds[8].Kind), 1);
    EXPECT_EQ(CountKind(BallKinds[9].Kind), 1);
    EXPECT_EQ(field.FreeCellCount(), 31);
    EXPECT_EQ(field.BallsPerTurn, 2);
    EXPECT_TRUE(GameState.GameTouched);

    field.Clear();
    FillLeaving(17);
    field.BallsPerTurn = 2;
    field.Preview.fill(BallKinds[7]);
    QuietMove();
    EXPECT_EQ(field.FreeCellCount(), 15);
    EXPECT_EQ(field.BallsPerTurn, 1);
}

TEST_F(TurnCycle, SpawnNeedsModePlusThreeEmptyCells) {
    // Normal with 3 empty cells: the game ends, nothing is placed, the preview stays.
    FillLeaving(3);
    GameState.CurrentMode = 1;
    field.Preview.fill(BallKinds[7]);
    field.SpawnBalls(1, false);
    EXPECT_TRUE(field.GameOver);
    EXPECT_DOUBLE_EQ(field.TurnTimer, 1000.0);
    EXPECT_EQ(field.FreeCellCount(), 3);
    EXPECT_EQ(field.Preview[0], BallKinds[7]);

    // Kids with 3 empty cells still takes the next ball.
    field.GameOver = false;
    GameState.CurrentMode = 0;
    field.SpawnBalls(1, false);
    EXPECT_FALSE(field.GameOver);
    EXPECT_EQ(field.FreeCellCount(), 2);

    // Professional needs 5.
    field.Clear();
    FillLeaving(4);
    GameState.CurrentMode = 2;
    field.SpawnBalls(1, false);
    EXPECT_TRUE(field.GameOver);
}

TEST_F(TurnCycle, SelectingDeselectingAndCancelling) {
    Put(2, 2, 1);
    Put(4, 4, 2);
    ClickCell(2, 2);
    EXPECT_TRUE(field.Selected);
    EXPECT_EQ(field.SelPicture, 0);
    ClickCell(4, 4); // another ball: selects it instead
    EXPECT_EQ(field.SelX, 4);
    ClickCell(4, 4); // the selected ball again: deselects
    EXPECT_FALSE(field.Selected);
    EXPECT_EQ(field.SelX, kNoSelection);

    ClickCell(2, 2);
    ClickCell(7, 7, /*button=*/1); // a right click anywhere cancels
    EXPECT_FALSE(field.Selected);
    EXPECT_EQ(field.SelX, kNoSelection);

    // A press in the strip left of the field counts as column 0.
    Put(0, 3, 3);
    field.Click(ColumnAt(kFieldLeft - 51), RowAt(PixelY(3)), 0);
    EXPECT_TRUE(field.Selected);
    EXPECT_EQ(field.SelX, 0);
    // Further left is outside and ignored.
    field.Click(ColumnAt(kFieldLeft - 53), RowAt(PixelY(3)), 0);
    EXPECT_TRUE(field.Selected);
}

TEST_F(TurnCycle, UnreachableTargetDropsTheSelection) {
    Put(0, 0, 1);
    Put(7, 8, 2);
    Put(8, 7, 2);
    ClickCell(0, 0);
    ClickCell(8, 8);
    EXPECT_FALSE(field.Selected);
    EXPECT_FALSE(field.Moving);
    EXPECT_EQ(field.SelX, kNoSelection);
    EXPECT_EQ(field.Cell(0, 0), BallKinds[1]);
}

TEST_F(TurnCycle, ClicksDuringATurnAreIgnored) {
    Put(0, 0, 1);
    Put(5, 5, 2);
    ClickCell(0, 0);
    ClickCell(0, 6); // L = 6
    ASSERT_TRUE(field.Moving);
    EXPECT_DOUBLE_EQ(field.TurnTimer, 6.0);
    EXPECT_DOUBLE_EQ(field.AppearTimers(0, 0), 7.0);
    Frame(1.0);
    ClickCell(5, 5);
    EXPECT_FALSE(field.Selected);
    ClickCell(5, 5, 1);
    EXPECT_EQ(field.SelX, 0); // the start cell is kept for the arrival
    ASSERT_TRUE(RunUntilIdle());
    EXPECT_EQ(field.Cell(0, 6), BallKinds[1]);
    EXPECT_EQ(field.Cell(0, 0).Kind, 0u);
}

TEST_F(TurnCycle, FullFieldEmptiesBallByBallIntoTheHighScores) {
    FillLeaving(3);
    GameState.CurrentMode = 1;
    GameState.Score = 1234;
    field.BallsPerTurn = 1;
    field.Preview.fill(BallKinds[7]);
    // Normal needs 4 empty cells to spawn: after this quiet move the game ends.
    QuietMove();
    // QuietMove ran until idle, through the emptying phase and EndGame.
    EXPECT_EQ(field.FreeCellCount(), 81);
    EXPECT_EQ(GameState.Score, 0);
    EXPECT_FALSE(GameState.GameTouched);
    EXPECT_EQ(Shell.Word, scrMessageBox + scrMsgEnterName + scrHighScores);
    EXPECT_EQ(HighScores.Blocks[1][0].Score, 1234);
    EXPECT_EQ(Tables.HighScorePage, 1);
    EXPECT_EQ(Shell.ReturnState, scrMenu);
}

// A field on a game of its own plays beside the one on the screen: the same seed deals the same
// game, and its end enters its own table and is reported to its listeners, while the screen's
// game, tables, screens and generators stay as they were.
TEST_F(TurnCycle, AFieldOnAGameOfItsOwnLeavesTheScreensGameAlone) {
    field.NewGame(1);
    const TShellGame game = GameState;
    std::array<uint8_t, kHighScoreBytes> tables{}, tablesAfter{};
    HighScores.ToBytes(tables.data());
    const uint64_t balls = BallsStream().State, decor = DecorStream().State;

    TStandaloneGame own(7), twin(7);
    TGameField other(9, 9, own.Context()), copy(9, 9, twin.Context());
    struct TEnds : IFieldEvents {
        std::vector<TGameEnd> Seen;
        void GameEnded(const TGameEnd& end) override { Seen.push_back(end); }
    } ends;
    other.AddListener(&ends);
    other.NewGame(2);
    copy.NewGame(2);
    for (int i = 0; i < 40; ++i) {
        other.Update(0.5, 60, true);
        copy.Update(0.5, 60, true);
    }
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) ASSERT_EQ(other.Cell(x, y), copy.Cell(x, y));
    EXPECT_EQ(other.Preview, copy.Preview);
    own.Game.Score = 5000;
    other.EndGame();
    ASSERT_EQ(ends.Seen.size(), 1u);
    EXPECT_EQ(ends.Seen[0].Mode, 2);
    EXPECT_EQ(ends.Seen[0].Score, 5000);
    EXPECT_EQ(ends.Seen[0].Row, 0);
    EXPECT_EQ(own.Tables.Blocks[2][0].Points(), 5000);
    EXPECT_EQ(own.Stats.Modes[2].GamesFinished, 1u);

    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(GameState.CurrentMode, game.CurrentMode);
    EXPECT_EQ(GameState.Score, game.Score);
    HighScores.ToBytes(tablesAfter.data());
    EXPECT_EQ(tablesAfter, tables);
    EXPECT_EQ(BallsStream().State, balls);
    EXPECT_EQ(DecorStream().State, decor);
}

TEST_F(TurnCycle, EmptyingRemovesAtMostOneBallPerFrame) {
    FillLeaving(2);
    GameState.CurrentMode = 0;
    field.SpawnBalls(2, false); // Kids needs 3: the game ends
    ASSERT_TRUE(field.GameOver);
    int balls = 81 - field.FreeCellCount();
    int frames = 0;
    while (field.GameOver && frames < 1000) {
        Frame(0.25);
        ++frames;
        const int now = 81 - field.FreeCellCount();
        EXPECT_GE(now, balls - 1);
        balls = now;
    }
    EXPECT_FALSE(field.GameOver);
    EXPECT_EQ(balls, 0);
    EXPECT_GE(frames, 79 + 20); // one ball per frame, then 5 units after the last
    EXPECT_EQ(Shell.Word, scrMessageBox + scrMsgLowScore + scrHighScores); // score 0
}
