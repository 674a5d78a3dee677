// The deal of the game on the screen: a start given a seed (--seed, --daily) deals its first new
// game from it, and a game played in the window, frames, hover and undo included, replays from
// its recording to the same board and score.
#include "tests/support/FormHarness.h"

#include "game/AutoPlay.h"
#include "game/DailySeed.h"
#include "game/Player.h"
#include "game/ReplayPlayer.h"
#include "game/ReplayRecorder.h"
#include "platform/App.h"
#include "shell/TableReplays.h"

#include <optional>

namespace {

class Deal : public FormHarness {
protected:
    void StartWith(const TFormOptions& deal) {
        TFormOptions o = deal;
        o.Offscreen = true;
        o.Clock = &clock;
        o.Audio = &audio;
        o.LogFile = LogFile();
        o.ConfigFile = ConfigFile();
        form = std::make_unique<TForm1>(o);
        ASSERT_TRUE(form->FormCreate());
        for (int i = 0; i < 400 && (Shell.Word == scrLogo || Shell.Word == scrLoading); ++i)
            form->FrameTimer1RealTime(1.0);
        ASSERT_EQ(Shell.Word, scrPlaying);
    }
    // The first ball (column by column) that can reach an empty cell, sent there with two clicks
    // and left to finish its turn.
    void MoveSomething() {
        TGameField& f = *GameField;
        SettleField();
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y)
                for (int i = 8; f.Cell(x, y).Kind && i >= 0; --i)
                    for (int j = 8; j >= 0; --j)
                        if (f.Cell(i, j).Kind == 0 &&
                            f.FindPath(static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                       static_cast<uint8_t>(i),
                                       static_cast<uint8_t>(j)) != kNoPath) {
                            ClickAt(CellX(x), CellY(y));
                            Frames(3);
                            ClickAt(CellX(i), CellY(j));
                            ASSERT_TRUE(f.Moving);
                            SettleField();
                            Frames(5);
                            return;
                        }
        FAIL() << "no move";
    }
};

std::string DealtFrom(uint8_t mode, uint64_t seed) {
    TStandaloneGame own;
    TGameField field(9, 9, own.Context());
    field.NewGame(mode, seed);
    return BoardText(field);
}

} // namespace

TEST_F(Deal, AGivenSeedDealsTheFirstNewGameOnly) {
    TFormOptions daily;
    daily.FirstSeed = DailySeed({2025, 1, 1});
    daily.FirstMode = modeNormal;
    TRegistry().WriteInteger("Mode", modeKids); // the mode the last run played
    StartWith(daily);
    EXPECT_EQ(GameState.CurrentMode, modeNormal);
    EXPECT_EQ(BoardText(*GameField), DealtFrom(modeNormal, *daily.FirstSeed));
    ClickButton(btnKids); // a new game: the last was untouched, so it starts at once
    ASSERT_EQ(GameState.CurrentMode, modeKids);
    ClickButton(btnKids + 1);
    ASSERT_EQ(GameState.CurrentMode, modeNormal);
    EXPECT_NE(BoardText(*GameField), DealtFrom(modeNormal, *daily.FirstSeed));
}

TEST_F(Deal, AWindowGameReplaysFromItsRecording) {
    StartWith({});
    TReplayRecorder recorder(*GameField);
    ClickButton(btnKids);
    ASSERT_TRUE(recorder.Recording());
    for (int i = 0; i < 8; ++i) {
        MoveSomething();
        if (i % 3 == 2) {
            Key(VK_BACK); // undo
            Frames(4);
        }
    }
    const TReplay replay = recorder.Replay();
    EXPECT_EQ(replay.Undos(), 2);
    TReplayPlayer player(replay);
    const TReplayCheck check = player.PlayToEnd();
    EXPECT_TRUE(check.Verified) << check.Why;
    EXPECT_EQ(BoardText(player.Field()), BoardText(*GameField));
    EXPECT_EQ(check.Score, GameState.Score);
}

namespace {

// Hears the end of a game.
struct TEndSeen final : IFieldEvents {
    void GameEnded(const TGameEnd& e) override { end = e; }
    std::optional<TGameEnd> end;
};

} // namespace

// A game that ends files its replay at the row its score took, the replays below moving down
// with their entries; the replay plays again to that very score.
TEST(TableRecorder, AFinishedGameFilesItsReplayWhereItsScoreWent) {
    TStandaloneGame own(11);
    TGameField field(9, 9, own.Context());
    THighScoreReplays replays;
    for (size_t r = 0; r < kHighScoreRows; ++r) {
        replays[modeNormal][r] = {uint8_t(r + 1)};
        // Low rows within reach of a short game: it enters in the middle.
        own.Tables.Blocks[modeNormal][r].SetPoints(r < 4 ? 1000 - 100 * int(r) : 60 - 5 * int(r));
    }
    TTableRecorder recorder(field, replays);
    TEndSeen seen;
    field.AddListener(&seen);
    field.NewGame(modeNormal, 77);
    for (int i = 0; i < 2000 && !seen.end; ++i) {
        if (field.GameOver || !SettleHeadless(field)) {
            field.Update(1.0, 15);
            continue;
        }
        const std::vector<TMove> moves = LegalMoves(BoardOf(field));
        ASSERT_FALSE(moves.empty());
        const TMove& m = moves[static_cast<size_t>(i * 7) % moves.size()];
        field.Click(m.FromX, m.FromY, 0);
        field.Click(m.ToX, m.ToY, 0);
    }
    field.RemoveListener(&seen);
    ASSERT_TRUE(seen.end && seen.end->Entered()) << "the game did not end in the table";
    EXPECT_LT(seen.end->Row, 9);
    const auto row = static_cast<size_t>(seen.end->Row);
    const std::vector<uint8_t>& bytes = replays[modeNormal][row];
    const TReplayCheck check = VerifyReplayBytes(bytes.data(), bytes.size());
    EXPECT_TRUE(check.Verified) << check.Why;
    EXPECT_EQ(check.Score, seen.end->Score);
    EXPECT_EQ(own.Tables.Blocks[modeNormal][row].Points(), seen.end->Score);
    for (size_t r = 0; r < kHighScoreRows; ++r) {
        if (r == row) continue;
        const std::vector<uint8_t> moved = {uint8_t(r < row ? r + 1 : r)};
        EXPECT_EQ(replays[modeNormal][r], moved) << "row " << r;
    }
}
