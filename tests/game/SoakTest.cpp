// Thousands of moves by a simple automatic player in each mode, with the rules' invariants checked
// after every turn.
#include "tests/support/FieldTestSupport.h"

#include "game/GameModes.h"
#include "state/GameState.h"

#include <vector>

namespace {

struct TMoveChoice {
    int FromX, FromY, ToX, ToY;
};

class Soak : public FieldTest {
protected:
    // A random ball and a random reachable empty cell for it; false when no ball can move.
    bool ChooseMove(TMoveChoice& m) {
        std::vector<std::pair<int, int>> balls, holes;
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y) (field.Cell(x, y).Kind ? balls : holes).push_back({x, y});
        for (int attempt = 0; attempt < 200 && !balls.empty() && !holes.empty(); ++attempt) {
            const auto [bx, by] =
                balls[static_cast<size_t>(Random(static_cast<int>(balls.size())))];
            const auto [hx, hy] =
                holes[static_cast<size_t>(Random(static_cast<int>(holes.size())))];
            if (field.FindPath(bx, by, hx, hy) != kNoPath) {
                m = {bx, by, hx, hy};
                return true;
            }
        }
        return false;
    }

    void CheckInvariants(uint8_t mode, int32_t lastScore) {
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y) {
                const TCell& c = field.Cell(x, y);
                ASSERT_TRUE(c.Kind == 0 || IsBallKindEntry(c)) << x << "," << y << " " << c.Kind;
            }
        ASSERT_GE(GameState.Score, lastScore);
        ASSERT_GE(field.BallsPerTurn, ModeRules[mode].MinBallsPerTurn);
        ASSERT_LE(field.BallsPerTurn, ModeRules[mode].BallsPerTurn);
        for (const TCell& p : field.Preview) ASSERT_TRUE(IsBallKindEntry(p));
        ASSERT_EQ(field.PaintColour, 0);
    }

    // Plays games in `mode` until `moves` moves are made; returns the games finished.
    int Play(uint8_t mode, int moves, uint64_t seed) {
        RandSeed(seed);
        int games = 0, made = 0;
        double delta = 0.3;
        while (made < moves) {
            Shell.Word = scrPlaying;
            field.NewGame(mode);
            EXPECT_TRUE(RunUntilIdle(delta));
            int32_t lastScore = 0;
            while (made < moves) {
                TMoveChoice m;
                if (!ChooseMove(m)) break; // every ball is walled in: the player gives up
                ClickCell(m.FromX, m.FromY);
                ClickCell(m.ToX, m.ToY);
                if (!field.Moving) {
                    ADD_FAILURE() << "a reachable move did not start";
                    return games;
                }
                ++made;
                const int freeBefore = field.FreeCellCount();
                // Frames of varying length, as on a busy machine.
                delta = 0.1 + Random(14) / 10.0;
                bool ended = false;
                for (int i = 0; i < 5000; ++i) {
                    Frame(delta);
                    if (field.GameOver && !ended) {
                        // The game ends only when a spawn finds no room.
                        EXPECT_LT(field.FreeCellCount(), mode + 3);
                        EXPECT_EQ(field.FreeCellCount(), freeBefore);
                        ended = true;
                    }
                    if (field.TurnTimer == kTurnIdle && !field.GameOver) break;
                }
                if (ended || !HasFlag(Shell.Word, scrPlaying)) {
                    EXPECT_EQ(field.FreeCellCount(), 81);
                    EXPECT_EQ(GameState.Score, 0);
                    ++games;
                    break;
                }
                CheckInvariants(mode, lastScore);
                if (::testing::Test::HasFatalFailure()) return games;
                lastScore = GameState.Score;
            }
        }
        return games;
    }
};

} // namespace

TEST_F(Soak, KidsThousandsOfMoves) {
    EXPECT_GE(Play(0, 2500, 11), 1);
}
TEST_F(Soak, NormalThousandsOfMoves) {
    EXPECT_GE(Play(1, 2500, 22), 3);
}
TEST_F(Soak, ProfessionalThousandsOfMoves) {
    EXPECT_GE(Play(2, 2500, 33), 5);
}
