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
#include "platform/Files.h"
#include "shell/Settings.h"
#include "shell/TableReplays.h"

#include <filesystem>
#include <map>
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

// D deals today's game in Normal; over a game in progress it asks first, and No keeps that game
// and forgets the deal.
TEST_F(Deal, DDealsTodaysGameAndAsksOverAGameInProgress) {
    StartWith({});
    ClickButton(btnKids);
    MoveSomething();
    const std::string kept = BoardText(*GameField);
    Key('D');
    ASSERT_TRUE(HasFlag(Shell.Word, scrMsgNew));
    Key('N');
    EXPECT_EQ(BoardText(*GameField), kept);
    ClickButton(btnKids + 1);
    Key('Y');
    const std::string today = DealtFrom(modeNormal, DailySeed(UtcToday()));
    EXPECT_NE(BoardText(*GameField), today) << "the declined deal came back";
    Key('D');
    EXPECT_EQ(GameState.CurrentMode, modeNormal);
    EXPECT_EQ(BoardText(*GameField), today);

    // Played to its end, today's game keeps its result and gives its share text.
    EXPECT_EQ(form->TodayShareText(), "");
    SettleField();
    for (int x = 0; x < 9; ++x) // a full field but for (1..3, 0): the move ends the game
        for (int y = 0; y < 9; ++y)
            if (!(y == 0 && x < 4))
                GameField->Cell(x, y) = BallKinds[static_cast<size_t>(1 + (x + 2 * y) % 6)];
    GameField->Cell(0, 0) = BallKinds[7];
    GameField->Preview.fill(BallKinds[7]);
    GameState.Score = 950;
    ClickAt(CellX(0), CellY(0));
    ClickAt(CellX(3), CellY(0));
    for (int i = 0; i < 600 && !HasFlag(Shell.Word, scrMessageBox); ++i) Frames(1);
    ASSERT_TRUE(HasFlag(Shell.Word, scrMessageBox)) << "the game did not end";
    const std::string share = form->TodayShareText();
    EXPECT_EQ(share.rfind("Velm Orra daily " + DateText(UtcToday()) + "\nScore 950 ", 0), 0U)
        << share;
    EXPECT_NE(share.find("streak 1"), std::string::npos) << share;
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

// Plays random legal moves on `field` (dealt) until its game has ended; the end seen.
std::optional<TGameEnd> PlayToItsEnd(TGameField& field) {
    TEndSeen seen;
    field.AddListener(&seen);
    for (int i = 0; i < 2000 && !seen.end; ++i) {
        if (field.GameOver || !SettleHeadless(field)) {
            field.Update(1.0, 15);
            continue;
        }
        const std::vector<TMove> moves = LegalMoves(BoardOf(field));
        if (moves.empty()) break;
        const TMove& m = moves[static_cast<size_t>(i * 7) % moves.size()];
        field.Click(m.FromX, m.FromY, 0);
        field.Click(m.ToX, m.ToY, 0);
    }
    field.RemoveListener(&seen);
    return seen.end;
}

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
    field.NewGame(modeNormal, 77);
    const std::optional<TGameEnd> end = PlayToItsEnd(field);
    ASSERT_TRUE(end && end->Entered()) << "the game did not end in the table";
    EXPECT_LT(end->Row, 9);
    const auto row = static_cast<size_t>(end->Row);
    const std::vector<uint8_t>& bytes = replays[modeNormal][row];
    const TReplayCheck check = VerifyReplayBytes(bytes.data(), bytes.size());
    EXPECT_TRUE(check.Verified) << check.Why;
    EXPECT_EQ(check.Score, end->Score);
    EXPECT_EQ(own.Tables.Blocks[modeNormal][row].Points(), end->Score);
    for (size_t r = 0; r < kHighScoreRows; ++r) {
        if (r == row) continue;
        const std::vector<uint8_t> moved = {uint8_t(r < row ? r + 1 : r)};
        EXPECT_EQ(replays[modeNormal][r], moved) << "row " << r;
    }

    // The mark: verified once played, for that score only; an edited replay is refused.
    using TMark = TReplayMarks::TMark;
    TReplayMarks marks;
    EXPECT_EQ(marks.Mark(own.Tables, replays, modeNormal, row), TMark::Unchecked);
    while (marks.CheckOne(replays, modeNormal)) {
    }
    EXPECT_EQ(marks.Mark(own.Tables, replays, modeNormal, row), TMark::Verified);
    EXPECT_EQ(marks.Mark(own.Tables, replays, modeKids, row), TMark::None);
    THighScoreTable edited = own.Tables;
    edited.Blocks[modeNormal][row].SetPoints(end->Score + 10);
    EXPECT_EQ(marks.Mark(edited, replays, modeNormal, row), TMark::Refused);
    TReplay cut;
    ASSERT_TRUE(DecodeReplay(bytes.data(), bytes.size(), cut, nullptr));
    cut.Steps.pop_back();
    replays[modeNormal][row] = EncodeReplay(cut);
    EXPECT_EQ(marks.Mark(own.Tables, replays, modeNormal, row), TMark::Unchecked);
    EXPECT_TRUE(marks.CheckOne(replays, modeNormal));
    EXPECT_EQ(marks.Mark(own.Tables, replays, modeNormal, row), TMark::Refused);
}

// A table entry's replay, kept with the table, is watched from the High Scores screen: it plays
// on a field of its own, faster on F, to its end, and nothing of the player's game, tables,
// statistics or files changes; Escape stops it and leaves the table shown.
TEST_F(Deal, AWatchedReplayPlaysOnItsOwnAndWritesNothing) {
    TStandaloneGame own(11);
    for (THighScoreEntry& e : own.Tables.Blocks[modeNormal]) e.SetPoints(0);
    TGameField field(9, 9, own.Context());
    THighScoreReplays replays;
    TTableRecorder recorder(field, replays);
    field.NewGame(modeNormal, 77);
    const std::optional<TGameEnd> end = PlayToItsEnd(field);
    ASSERT_TRUE(end && end->Entered());
    THighScoreTable table = FreshHighScoreTable();
    for (THighScoreEntry& e : table.Blocks[modeNormal]) e.SetPoints(end->Score / 2);
    table.Blocks[modeNormal][0].SetPoints(end->Score + 2000);
    table.Blocks[modeNormal][1].SetPoints(end->Score);
    THighScoreReplays kept;
    kept[modeNormal][1] = replays[modeNormal][end->Row];
    ASSERT_TRUE(WriteFileAtomically(ConfigFile(), EncodeConfig(table, 50, 75, false, TSavedGame{}),
                                    nullptr));
    const std::string folder = std::filesystem::path(ConfigFile()).parent_path().string();
    ASSERT_TRUE(WriteFileAtomically(folder + "/Replays.bin", EncodeTableReplays(kept), nullptr));

    StartWith({});
    ASSERT_FALSE(kept[modeNormal][1].empty());
    ASSERT_EQ(HighScoreReplays, kept);
    ClickButton(btnHighScores);
    Frames(3);
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& f : std::filesystem::directory_iterator(folder))
        if (f.path().filename() != "Log.txt")
            ReadFileBytes(f.path().string(), files[f.path().filename().string()], nullptr);
    const int32_t score = GameState.Score;
    const std::string stats = form->Statistics().ToText();
    Key('1'); // the first row has no replay
    EXPECT_FALSE(form->Watching());
    Key('2');
    ASSERT_TRUE(form->Watching());
    for (int i = 0; i < 3; ++i) Key('F');
    const TReplayPlayer& watched = *form->WatchedReplay();
    EXPECT_EQ(watched.Speed, 8.0);
    for (int i = 0; i < 20000 && !watched.Finished(); ++i) Frames(1, 1.0);
    EXPECT_TRUE(watched.Finished());
    EXPECT_FALSE(watched.Failed()) << watched.Why();
    EXPECT_EQ(watched.Field().Game().Score, end->Score);
    Frames(40, 1.0);
    EXPECT_EQ(GameState.Score, score);
    EXPECT_EQ(form->Statistics().ToText(), stats);
    std::array<uint8_t, kHighScoreBytes> shown{}, before{};
    HighScores.ToBytes(shown.data());
    table.ToBytes(before.data());
    EXPECT_EQ(shown, before);
    for (const auto& [name, bytes] : files) {
        std::vector<uint8_t> now;
        ReadFileBytes(folder + "/" + name, now, nullptr);
        EXPECT_EQ(now, bytes) << name << " changed";
    }
    Key(VK_ESCAPE);
    EXPECT_FALSE(form->Watching());
    EXPECT_TRUE(HasFlag(Shell.Word, scrHighScores));
}
