#include "tests/support/FieldTestSupport.h"

#include "game/AutoPlay.h"
#include "game/Player.h"
#include "state/GameState.h"

#include <algorithm>

namespace {

class Player : public FieldTest {
protected:
    // A budget small enough for a test, large enough to run several rounds of halving.
    static TSearchBudget Small() { return {6, 36, 3}; }
};

bool SameCells(const TBoard& a, const TBoard& b) {
    for (size_t i = 0; i < a.Cells.size(); ++i)
        if (a.Cells[i].Kind != b.Cells[i].Kind ||
            (a.Cells[i].Kind && a.Cells[i].Picture != b.Cells[i].Picture))
            return false;
    return true;
}

} // namespace

// A simulated turn is the field's turn: played on a copy with a generator in the game's state, it
// leaves the cells, preview, score, chain, balls per turn and generator where the field does,
// through lines, bombs, paint and multipliers in every mode.
TEST_F(Player, SimulatedTurnsAreTheFieldsTurns) {
    for (uint8_t mode = 0; mode < 3; ++mode) {
        RandSeed(77 + mode);
        field.NewGame(mode);
        ASSERT_TRUE(RunUntilIdle());
        int moves = 0, scoring = 0;
        while (!field.GameOver && moves < 80) {
            TBoard simulated = BoardOf(field);
            const TMove m = ChooseMove(simulated, TPlayerKind::Greedy);
            ASSERT_TRUE(m.Valid());
            TRandomStream random{RandState()};
            const TMoveOutcome o = PlayMove(simulated, m, random);
            ClickCell(m.FromX, m.FromY);
            ClickCell(m.ToX, m.ToY);
            ASSERT_TRUE(field.Moving) << "mode " << int{mode} << " move " << moves;
            RunUntilIdle();
            ++moves;
            scoring += o.Points > 0;
            if (o.GameOver) { // the field has ended the game: emptied, the score gone
                EXPECT_FALSE(field.HasBalls());
                break;
            }
            const TBoard real = BoardOf(field);
            ASSERT_TRUE(SameCells(simulated, real)) << "mode " << int{mode} << " move " << moves;
            EXPECT_EQ(simulated.Score, real.Score);
            EXPECT_EQ(simulated.Chain, real.Chain);
            EXPECT_EQ(simulated.BallsPerTurn, real.BallsPerTurn);
            for (size_t i = 0; i < 5; ++i)
                EXPECT_EQ(simulated.Preview[i].Kind, real.Preview[i].Kind);
            EXPECT_EQ(random.State, RandState())
                << "mode " << int{mode} << " move " << moves << " p" << o.Painted << " b"
                << o.Bombed << " s" << o.Spawned << " r" << int{o.Removed};
        }
        EXPECT_GT(scoring, 0) << "mode " << int{mode};
    }
}

// The search draws from generators of its own: the game's generator does not move, the same
// position gets the same move, and a search run in slices chooses what a whole search chooses.
TEST_F(Player, SearchIsReproducibleAndLeavesTheGameGenerator) {
    field.NewGame(1);
    ASSERT_TRUE(RunUntilIdle());
    for (int i = 0; i < 6 && !field.GameOver; ++i) {
        const TMove m = ChooseMove(BoardOf(field), TPlayerKind::Greedy);
        ClickCell(m.FromX, m.FromY);
        ClickCell(m.ToX, m.ToY);
        RunUntilIdle();
    }
    ASSERT_FALSE(field.GameOver);
    const TBoard board = BoardOf(field);
    const uint64_t before = RandState();
    const TMove whole = ChooseMove(board, TPlayerKind::Best, Small());
    EXPECT_EQ(RandState(), before);
    ASSERT_TRUE(whole.Valid());
    const std::vector<TMove> legal = LegalMoves(board);
    EXPECT_NE(std::find(legal.begin(), legal.end(), whole), legal.end());
    EXPECT_EQ(ChooseMove(board, TPlayerKind::Best, Small()), whole);
    TMoveSearch sliced;
    sliced.Start(board, TPlayerKind::Best, Small());
    int slices = 0;
    while (!sliced.Run(5)) ++slices;
    EXPECT_GT(slices, 3);
    EXPECT_EQ(sliced.Result(), whole);
}

// A ball walled in has no move, and only its walls can move into a walled-in cell.
TEST_F(Player, LegalMovesKnowTheWalls) {
    for (int y = 0; y < 4; ++y) Put(2, y, 3);
    Put(7, 7, 3);
    // (0, 8) walled in by balls at (0, 7) and (1, 8); the ball at (8, 0) walled in likewise.
    Put(0, 7, 1);
    Put(1, 8, 2);
    Put(8, 0, 4);
    Put(7, 0, 5);
    Put(8, 1, 6);
    const std::vector<TMove> moves = LegalMoves(BoardOf(field));
    EXPECT_EQ(moves.size(), 9u * 70 + 2); // nine balls to the large region, two walls inward
    for (const TMove& m : moves) {
        const bool wall = (m.FromX == 0 && m.FromY == 7) || (m.FromX == 1 && m.FromY == 8);
        EXPECT_FALSE(m.ToX == 0 && m.ToY == 8 && !wall);
        EXPECT_FALSE(m.FromX == 8 && m.FromY == 0);
    }
}

// With three free cells any quiet move ends the game (a spawn needs four in Normal): both players
// take the one line there is.
TEST_F(Player, TakesTheLineThatKeepsTheGameGoing) {
    GameState.CurrentMode = 1;
    field.BallsPerTurn = 1;
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) Put(x, y, 1 + (x + 2 * y) % 6); // no run of five anywhere
    for (int y = 0; y < 4; ++y) Put(2, y, 3);
    Put(3, 4, 3);
    field.Cell(2, 4).Kind = 0;
    field.Cell(8, 8).Kind = 0;
    field.Cell(0, 8).Kind = 0;
    const TBoard board = BoardOf(field);
    const TMove line{3, 4, 2, 4};
    EXPECT_EQ(ImmediatePoints(board, line), 50);
    EXPECT_EQ(ChooseMove(board, TPlayerKind::Greedy), line);
    EXPECT_EQ(ChooseMove(board, TPlayerKind::Best, Small()), line);
    EXPECT_EQ(ChooseMove(board, TPlayerKind::Best), line);
}

TEST(Autoplay, ReadsItsOptionsAndRefusesAnythingElse) {
    TAutoplayOptions o;
    std::string error;
    ASSERT_TRUE(ParseAutoplay({"--mode", "professional", "--games", "4", "--seed", "9",
                               "--max-moves", "50", "--player", "greedy"},
                              o, &error))
        << error;
    EXPECT_EQ(o.Mode, 2);
    EXPECT_EQ(o.Games, 4);
    EXPECT_EQ(o.Seed, 9u);
    EXPECT_EQ(o.MaxMoves, 50);
    EXPECT_EQ(o.Player, TPlayerKind::Greedy);
    // The day's game: its seed, Normal rules, one game; its replays numbered only when several.
    TAutoplayOptions daily;
    ASSERT_TRUE(ParseAutoplay({"--daily", "2025-01-01", "--record", "d.vorp"}, daily, &error));
    EXPECT_EQ(daily.Seed, DailySeed({2025, 1, 1}));
    EXPECT_EQ(daily.Mode, modeNormal);
    EXPECT_EQ(daily.Games, 1);
    EXPECT_EQ(daily.Record, "d.vorp");
    EXPECT_EQ(ReplayFileName("d.vorp", 0, 1), "d.vorp");
    EXPECT_EQ(ReplayFileName("runs/d.vorp", 1, 3), "runs/d-2.vorp");
    EXPECT_EQ(ReplayFileName("runs.x/d", 2, 3), "runs.x/d-3");
    EXPECT_EQ(ReplayFileName(".vorp", 0, 2), ".vorp-1");
    // Each refusal says what is wrong: the range a count takes, an unknown argument, an empty
    // value.
    const std::pair<std::vector<std::string>, std::string> bad[] = {
        {{"--mode", "easy"}, "--mode is kids, normal or professional, not \"easy\""},
        {{"--games", "0"}, "--games takes 1 to 2147483647, not \"0\""},
        {{"--games", "3x"}, "--games takes 1 to 2147483647, not \"3x\""},
        {{"--games", "99999999999"}, "--games takes 1 to 2147483647, not \"99999999999\""},
        {{"--max-moves", "-5"}, "--max-moves takes 1 to 2147483647, not \"-5\""},
        {{"--seed", "-1"}, "--seed takes 0 to 18446744073709551615, not \"-1\""},
        {{"--max-moves"}, "--max-moves needs a value"},
        {{"--games", ""}, "--games has an empty value"},
        {{"--mode", ""}, "--mode has an empty value"},
        {{"--player", "random"}, "--player is best or greedy, not \"random\""},
        {{"--speed", "2"}, "unknown argument \"--speed\""},
        {{"fast"}, "unknown argument \"fast\""},
        {{"--daily", "2025-02-29"}, "--daily takes a date: there is no day \"2025-02-29\""},
        {{"--seed", "4", "--daily", "2025-02-28"},
         "--daily plays that day's one game of Normal rules: no --mode, --seed or --games with it"},
        {{"--record"}, "--record needs a value"},
    };
    for (const auto& [args, why] : bad) {
        TAutoplayOptions unused;
        error.clear();
        EXPECT_FALSE(ParseAutoplay(args, unused, &error)) << args[0];
        EXPECT_EQ(error, why);
    }
}
