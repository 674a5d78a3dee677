// The deal of the game on the screen: a start given a seed (--seed, --daily) deals its first new
// game from it, and a game played in the window, frames, hover and undo included, replays from
// its recording to the same board and score.
#include "tests/support/FormHarness.h"

#include "game/AutoPlay.h"
#include "game/DailySeed.h"
#include "game/ReplayPlayer.h"
#include "game/ReplayRecorder.h"
#include "platform/App.h"

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
