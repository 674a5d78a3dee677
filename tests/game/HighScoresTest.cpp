#include "game/HighScores.h"
#include "game/GameField.h"
#include "state/GameEndScreens.h"
#include "state/GameState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

class HighScoreInsertion : public ::testing::Test {
protected:
    void SetUp() override {
        ResetShellState();
        HighScores = FreshHighScoreTable();
    }
    // Ends a game with `score` in `mode` and returns the row it entered (or kNotEntered).
    int End(uint8_t mode, int32_t score) {
        GameState.CurrentMode = mode;
        GameState.Score = score;
        Tables.NewEntryRow = 77;
        ShowGameEnd({mode, score, field.InsertHighScore()});
        return Shell.Word == scrMessageBox + scrMsgEnterName + scrHighScores ? Tables.NewEntryRow
                                                                             : kNotEntered;
    }
    const THighScoreBlock& Block(int mode) { return HighScores.Blocks[static_cast<size_t>(mode)]; }

    TGameField field{9, 9, ScreenGameContext()};
};

} // namespace

TEST_F(HighScoreInsertion, FreshTableHasPlaceholdersFrom1000Down) {
    for (int m = 0; m < 3; ++m) {
        for (int i = 0; i < 10; ++i) {
            const auto& e = Block(m)[static_cast<size_t>(i)];
            EXPECT_EQ(e.Score, 1000 - 100 * i);
            EXPECT_GE(e.NameLength, 4);
            EXPECT_LE(e.NameLength, 9);
            EXPECT_EQ(e.NameText(), DefaultHighScoreNames[static_cast<size_t>(i)]);
            EXPECT_EQ(e.Pad, 0);
        }
    }
}

TEST_F(HighScoreInsertion, GoesBelowEqualScoresAndPushesTheTenthOut) {
    // Entry 3 holds 700: an equal score enters at 4.
    EXPECT_EQ(End(1, 700), 4);
    EXPECT_EQ(Block(1)[3].Score, 700);
    EXPECT_EQ(Block(1)[4].Score, 700);
    EXPECT_EQ(Block(1)[4].NameText(), "Elowen"); // the name copied down stays until name entry
    EXPECT_EQ(Block(1)[5].Score, 600);
    EXPECT_EQ(Block(1)[9].Score, 200); // 100 dropped out
    EXPECT_EQ(Block(1)[9].NameText(), "Isolde");
}

TEST_F(HighScoreInsertion, TopScoreEntersFirst) {
    EXPECT_EQ(End(2, 5000), 0);
    EXPECT_EQ(Block(2)[0].Score, 5000);
    for (int i = 1; i < 10; ++i) EXPECT_EQ(Block(2)[static_cast<size_t>(i)].Score, 1100 - 100 * i);
}

TEST_F(HighScoreInsertion, ScoresThatDoNotBeatTheTenthShowTheLowScoreMessage) {
    EXPECT_EQ(End(0, 100), kNotEntered); // equal to the tenth
    EXPECT_EQ(Shell.Word, scrMessageBox + scrMsgLowScore + scrHighScores);
    EXPECT_EQ(Tables.NewEntryRow, 77);
    EXPECT_EQ(End(0, 0), kNotEntered);
    EXPECT_EQ(End(0, 101), 9);
    EXPECT_EQ(Block(0)[9].Score, 101);
}

TEST_F(HighScoreInsertion, ScoreAbove16BitsIsStoredAs65535) {
    EXPECT_EQ(End(1, 65536 + 50), 0);
    EXPECT_EQ(Block(1)[0].Score, 65535);
    // The position follows the full value: a larger score still goes on top, and 65535 itself
    // goes below both stored 65535s.
    EXPECT_EQ(End(1, 70000), 0);
    EXPECT_EQ(Block(1)[1].Score, 65535);
    EXPECT_EQ(End(1, 65535), 2);
    EXPECT_EQ(Block(1)[3].Score, 1000);
    // The whole scores are kept beside the 16-bit field, shown, and ordered by.
    EXPECT_EQ(Block(1)[0].Points(), 70000);
    EXPECT_EQ(Block(1)[1].Points(), 65586);
    EXPECT_EQ(Block(1)[2].Points(), 65535);
    EXPECT_EQ(End(1, 68000), 1);
    EXPECT_EQ(Block(1)[1].Points(), 68000);
    EXPECT_EQ(Block(1)[2].Points(), 65586);
}

TEST_F(HighScoreInsertion, EachModeTouchesOnlyItsBlock) {
    const THighScoreTable before = HighScores;
    End(0, 950);
    EXPECT_EQ(std::memcmp(&Block(1), &before.Blocks[1], sizeof(THighScoreBlock)), 0);
    EXPECT_EQ(std::memcmp(&Block(2), &before.Blocks[2], sizeof(THighScoreBlock)), 0);
    EXPECT_NE(std::memcmp(&Block(0), &before.Blocks[0], sizeof(THighScoreBlock)), 0);
}

TEST(HighScoreTable, ByteLayoutIs600BytesOf20ByteRecords) {
    THighScoreTable t = FreshHighScoreTable();
    t.Blocks[2][9].SetName("ABCDEFGHIJKLMNOPQRS"); // cut to 16
    t.Blocks[2][9].Score = 0xBEEF;
    t.Blocks[2][9].Pad = 7;
    std::vector<uint8_t> bytes(kHighScoreBytes, 0xCC);
    t.ToBytes(bytes.data());
    // Kids entry 0: length, name, pad, score 1000 = 0x03E8 little-endian.
    EXPECT_EQ(bytes[0], 7);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[1]), 7), "Aurelia");
    EXPECT_EQ(bytes[17], 0);
    EXPECT_EQ(bytes[18], 0xE8);
    EXPECT_EQ(bytes[19], 0x03);
    // Professional entry 9 is the last record.
    const size_t last = 400 + 9 * 20;
    EXPECT_EQ(bytes[last], 16);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(&bytes[last + 1]), 16), "ABCDEFGHIJKLMNOP");
    EXPECT_EQ(bytes[last + 17], 7);
    EXPECT_EQ(bytes[598], 0xEF);
    EXPECT_EQ(bytes[599], 0xBE);

    THighScoreTable back;
    back.FromBytes(bytes.data());
    std::vector<uint8_t> again(kHighScoreBytes);
    back.ToBytes(again.data());
    EXPECT_EQ(again, bytes);
}
