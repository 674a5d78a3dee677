#include "tests/support/TempDir.h"
#include "ui/VOStrings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;

namespace {

using Lines = std::vector<std::string>;

TVOStrings With(Lines lines) {
    TVOStrings s;
    s.SetSource(std::move(lines));
    return s;
}

Lines ListOf(const TVOStrings& s, const std::string& key) {
    Lines out;
    s.GetList(key, out);
    return out;
}

} // namespace

TEST(StringTable, KeysMatchWithoutRegardToCaseAndSurroundingBlanks) {
    const auto s = With({"  \t$OPTIONS  \t", "Game options", "@exit_text ", "{", "a", "}"});
    EXPECT_EQ(s.GetString("Options"), "Game options");
    EXPECT_EQ(s.GetString("options"), "Game options");
    EXPECT_EQ(ListOf(s, "Exit_Text"), Lines{"a"});
}

TEST(StringTable, ValuesAreTakenExactlyAsWritten) {
    const auto s = With({"$Kids", ";not a comment here", "$Normal", "", "$Proff", "  spaced  ",
                         "; $Help", "skipped", "$Help", "Help!"});
    EXPECT_EQ(s.GetString("Kids"), ";not a comment here");
    EXPECT_EQ(s.GetString("Normal"), "");
    EXPECT_EQ(s.GetString("Proff"), "  spaced  ");
    EXPECT_EQ(s.GetString("Help"), "Help!") << "a ';' line is never a key line";
}

TEST(StringTable, KeysMustMatchWholeAndWithTheirOwnPrefix) {
    const auto s = With({"$Help1", "one", "@Exit_Text", "{", "bye", "}", "$Help", "help"});
    EXPECT_EQ(s.GetString("Help"), "help");
    EXPECT_EQ(s.GetString("Exit_Text"), "");
    EXPECT_TRUE(ListOf(s, "Help").empty());
    EXPECT_EQ(s.GetString("Missing"), "");
}

TEST(StringTable, TheFirstOfTwoEqualKeysWins) {
    const auto s = With({"$Kids", "first", "@New_Text", "{", "one", "}", "$kids", "second",
                         "@NEW_TEXT", "{", "two", "}"});
    EXPECT_EQ(s.GetString("Kids"), "first");
    EXPECT_EQ(ListOf(s, "New_Text"), Lines{"one"});
}

TEST(StringTable, ListsKeepIndentationEmptyLinesAndCommentsUpToTheTrimmedBrace) {
    const auto s = With({"@Old_Text", "{", "  indented", "", "; kept", "\t}\t", "after"});
    EXPECT_EQ(ListOf(s, "Old_Text"), (Lines{"  indented", "", "; kept"}));
    Lines appended{"existing"};
    s.GetList("Old_Text", appended);
    EXPECT_EQ(appended.size(), 4u) << "GetList appends";
}

TEST(StringTable, EntriesCutShortByTheEndOfTheFileStopThere) {
    EXPECT_EQ(With({"$Kids", "k", "$Normal"}).GetString("Normal"), "");
    EXPECT_EQ(ListOf(With({"@Exit_Text", "{", "a", "b"}), "Exit_Text"), (Lines{"a", "b"}));
    EXPECT_TRUE(ListOf(With({"x", "@Exit_Text"}), "Exit_Text").empty());
    EXPECT_TRUE(ListOf(With({"@Exit_Text", "{"}), "Exit_Text").empty());
    EXPECT_EQ(With({}).GetString("Kids"), "");
}

class StringFileTest : public ::testing::Test {
protected:
    void SetUp() override { dir_ = testart::MakeTempDir("vo_strings_"); }
    void TearDown() override { fs::remove_all(dir_); }
    fs::path dir_;
};

TEST_F(StringFileTest, LoadFillsEveryFieldAndForgetsTheSource) {
    // A byte-order mark before the first key, as editors write one, is no part of the key.
    std::ofstream(dir_ / "strings.txt", std::ios::binary)
        << "\xEF\xBB\xBF$MainCaption\r\nVelm Orra\r\n$Options\r\nOptions\r\n"
           "$HighScores\r\nHall of fame\r\n$Help\r\nHow to play\r\n$Kids\r\nKids\r\n"
           "$Normal\r\nNormal\r\n$Proff\r\nProfessional\r\n"
           "$Exit_Caption\r\nLeave?\r\n@Exit_Text\r\n{\r\nReally leave\r\nthe game?\r\n}\r\n"
           "$FullScreen_Caption\r\nScreen\r\n@FullScreen_Text\r\n{\r\nRestart to apply.\r\n}\r\n";
    TVOStrings s;
    s.New_Text = {"stale"};
    std::string error;
    ASSERT_TRUE(s.LoadFromFile((dir_ / "strings.txt").string(), &error)) << error;
    EXPECT_EQ(s.MainCaption, "Velm Orra") << "no carriage return left in values";
    EXPECT_EQ(s.HighScores, "Hall of fame");
    EXPECT_EQ(s.Help, "How to play");
    EXPECT_EQ(s.Proff, "Professional");
    EXPECT_EQ(s.Exit_Caption, "Leave?");
    EXPECT_EQ(s.Exit_Text, (Lines{"Really leave", "the game?"}));
    EXPECT_EQ(s.FullScreen_Text, Lines{"Restart to apply."});
    // Keys the file lacks take the English texts built into the program, never blanks.
    EXPECT_EQ(s.New_Text,
              (Lines{"The game in progress will be lost.", "", "Start a new one anyway?"}));
    EXPECT_EQ(s.Old_Caption, "Welcome back!");
    EXPECT_EQ(s.GetString("Kids"), "") << "the source is emptied after loading";
}

TEST_F(StringFileTest, AMissingOrUnreadableFileFailsWithItsNameAndFillsNothing) {
    TVOStrings s;
    s.Kids = "before";
    std::string error;
    const std::string missing = (dir_ / "none.txt").string();
    EXPECT_FALSE(s.LoadFromFile(missing, &error));
    EXPECT_EQ(error, missing + ": cannot read the string table");
    EXPECT_EQ(s.Kids, "before");
    EXPECT_FALSE(s.LoadFromFile(dir_.string(), &error)) << "a folder is not a file";
    EXPECT_FALSE(s.LoadFromFile(missing)) << "the error text is optional";
}

// A tip is worded for the input last used: the file's own wording for it; a file without one
// keeps its own language (the plain wording) rather than the built-in English one; a tip the file
// lacks altogether takes the built-in wording for that input, or the plain one.
TEST(StringTable, TipsAreWordedForEachKindOfInputWithinTheFilesLanguage) {
    TVOStrings s;
    s.LoadFromText("$Tip_Start\nKlicke.\n$Tip_Start_Touch\nTippe.\n$Tip_Line\nReihe.\n");
    EXPECT_EQ(s.TipsFor(TInputKind::Mouse)[tipStart], "Klicke.");
    EXPECT_EQ(s.TipsFor(TInputKind::Touch)[tipStart], "Tippe.");
    EXPECT_EQ(s.TipsFor(TInputKind::Keys)[tipStart], "Klicke.");
    EXPECT_EQ(s.TipsFor(TInputKind::Pad)[tipLine], "Reihe.");
    EXPECT_NE(s.TipsFor(TInputKind::Pad)[tipSelect].find("press A"), std::string::npos);
    EXPECT_NE(s.TipsFor(TInputKind::Touch)[tipSelect].find("tap one"), std::string::npos);
    EXPECT_EQ(s.TipsFor(TInputKind::Touch)[tipBomb], s.TipsFor(TInputKind::Mouse)[tipBomb]);
    EXPECT_FALSE(s.TipsFor(TInputKind::Touch)[tipBomb].empty());
}
