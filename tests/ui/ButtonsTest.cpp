#include "ui/Buttons.h"

#include "fx/SoundBank.h"
#include "render/PatternImage.h"
#include "state/GameState.h"
#include "state/HelpState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "tests/support/RecordingAudio.h"
#include "tests/support/TempDir.h"
#include "ui/VOStrings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;

namespace {

// 22 buttons laid out like the game's: menu buttons on every screen, dialog buttons, help-page
// buttons. Every picture is 100 x 30.
class ButtonsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetShellState();
        Shell.Word = scrMenu;
        const fs::path dir = testart::MakeTempDir("vo_buttons_");
        std::ofstream(dir / "sounds.txt") << "s_hover\thover\t1\ns_click\tclick\t1\n";
        std::string error;
        bank.Load((dir / "sounds.txt").string(), "", &error);
        fs::remove_all(dir);
        SoundBank = &bank;

        picture.PatternWidth = 100;
        picture.PatternHeight = 30;
        for (int i = 0; i < 22; ++i) {
            uint32_t mask = 0xFFFFFFFF;
            int32_t x = 10, y = 10 + 40 * i;
            if (i == btnYes || i == btnNo) mask = scrMessageBox;
            if (i == btnPrevPage || i == btnNextPage) mask = scrHelp;
            if (i == btnYes) x = 300, y = 300;
            if (i == btnNo) x = 420, y = 300;
            buttons.Add(x, y, &picture, mask, [this, i] { ++fired[i]; });
        }
        buttons.OnDraw = [this](int32_t index, int32_t pattern) { drawn[index] = pattern; };
        buttons.OnSound = [](TButtonSound s) {
            if (SoundBank)
                SoundBank->Play(s == TButtonSound::Hover ? TSample::Hover : TSample::Click);
        };
    }
    void TearDown() override {
        SoundBank = nullptr;
        Strings = nullptr;
    }

    // Centre of button i.
    void PointAt(int i) {
        Pointer.X = buttons.Items[size_t(i)].X + 50;
        Pointer.Y = buttons.Items[size_t(i)].Y + 15;
    }
    void Click(int i) {
        PointAt(i);
        buttons.MouseDown();
        buttons.MouseUp();
    }
    int Plays(TSample s) const { return audio.PlaysOf(bank.Named(s)); }
    int Drawn(int i) {
        drawn.clear();
        buttons.DrawAll();
        return drawn.count(i) ? drawn[i] : -1;
    }

    TRecordingAudio audio;
    TSoundBank bank{&audio};
    TPatternImage picture;
    TButtons buttons{nullptr};
    std::map<int, int> fired;
    std::map<int, int> drawn;
};

} // namespace

TEST_F(ButtonsTest, ThePointerMustBeStrictlyInside) {
    const TButton& b = buttons.Items[4]; // (10, 170) .. (110, 200)
    const std::pair<int, int> outside[] = {{10, 180}, {50, 170}, {110, 180}, {50, 200}};
    for (const auto& [x, y] : outside) {
        Pointer.X = x, Pointer.Y = y;
        EXPECT_EQ(Drawn(4), 0) << x << "," << y;
        buttons.MouseDown();
        EXPECT_FALSE(b.Pressed) << x << "," << y;
    }
    const std::pair<int, int> inside[] = {{11, 171}, {109, 199}};
    for (const auto& [x, y] : inside) {
        Pointer.X = x, Pointer.Y = y;
        EXPECT_EQ(Drawn(4), 1) << x << "," << y;
    }
    EXPECT_EQ(Plays(TSample::Click), 0);
}

TEST_F(ButtonsTest, HoverSoundsOnlyWhenComingOntoAnotherButton) {
    PointAt(0);
    buttons.DrawAll();
    EXPECT_EQ(Plays(TSample::Hover), 0) << "HoverIndex starts at button 0";

    PointAt(4);
    buttons.DrawAll();
    buttons.DrawAll();
    EXPECT_EQ(Plays(TSample::Hover), 1);
    Pointer.X = 700; // empty space
    buttons.DrawAll();
    PointAt(4);
    buttons.DrawAll();
    EXPECT_EQ(Plays(TSample::Hover), 1) << "back onto the same button: silent";
    PointAt(5);
    buttons.DrawAll();
    PointAt(4);
    buttons.DrawAll();
    EXPECT_EQ(Plays(TSample::Hover), 3);
    EXPECT_EQ(buttons.HoverIndex, 4);
}

TEST_F(ButtonsTest, WhileADialogIsShownOnlyItsOwnButtonsRespond) {
    Shell.Word = scrPlaying | scrMessageBox | scrMsgExit;
    PointAt(7);
    EXPECT_EQ(Drawn(7), 0) << "menu buttons are drawn but not lit";
    EXPECT_EQ(Plays(TSample::Hover), 0);
    EXPECT_EQ(drawn.count(btnYes), 1u) << "DrawAll draws the dialog buttons too";
    buttons.MouseDown();
    EXPECT_FALSE(buttons.ButtonDown);
    EXPECT_FALSE(buttons.Items[7].Pressed);

    PointAt(btnYes);
    drawn.clear();
    buttons.DrawButton(btnYes);
    EXPECT_EQ(drawn[btnYes], 1) << "DrawButton lights the dialog button";
    buttons.MouseDown();
    EXPECT_TRUE(buttons.Items[btnYes].Pressed);
    EXPECT_EQ(Plays(TSample::Click), 1);
    EXPECT_EQ(Drawn(btnYes), 2);

    PointAt(7); // released over a menu button: it must not fire under the dialog
    buttons.MouseUp();
    EXPECT_FALSE(buttons.Items[btnYes].Pressed);
    EXPECT_TRUE(fired.empty());
}

TEST_F(ButtonsTest, PressingHereAndReleasingThereFiresTheButtonUnderThePointer) {
    PointAt(4);
    buttons.MouseDown();
    EXPECT_EQ(Drawn(4), 2);
    PointAt(5);
    buttons.MouseUp();
    EXPECT_EQ(fired, (std::map<int, int>{{5, 1}}));
    EXPECT_EQ(Drawn(4), 0) << "the pressed button is released";

    fired.clear();
    PointAt(5);
    buttons.MouseUp(); // no press before: nothing
    Pointer.X = 700;
    buttons.MouseDown(); // a press on nothing arms nothing
    PointAt(5);
    buttons.MouseUp();
    EXPECT_TRUE(fired.empty());
}

TEST_F(ButtonsTest, ACommandThatChangesTheScreenCanFireALaterButtonInTheSameRelease) {
    buttons.Items[8].X = buttons.Items[3].X;
    buttons.Items[8].Y = buttons.Items[3].Y;
    buttons.Items[8].StateMask = scrOptions;
    buttons.Items[3].OnClick = [this] {
        ++fired[3];
        Shell.Word = scrOptions;
    };
    Click(3);
    EXPECT_EQ(fired, (std::map<int, int>{{3, 1}, {8, 1}}));
}

TEST_F(ButtonsTest, SelectedButtonsShowPressedAndIgnoreTheMouse) {
    GameState.CurrentMode = modeProfessional;
    buttons.SelectMode();
    for (int i = 0; i < buttons.Count; ++i) EXPECT_EQ(buttons.Items[size_t(i)].Selected, i == 3);
    PointAt(3);
    EXPECT_EQ(Drawn(3), 2);
    EXPECT_EQ(Plays(TSample::Hover), 0);
    Click(3);
    EXPECT_TRUE(fired.empty());
    EXPECT_EQ(Plays(TSample::Click), 0);

    GameState.CurrentMode = modeKids;
    buttons.SelectMode();
    EXPECT_TRUE(buttons.Items[1].Selected);
    EXPECT_FALSE(buttons.Items[3].Selected);
}

TEST_F(ButtonsTest, PageButtonsHideOnTheFirstAndLastHelpPage) {
    Shell.Word = scrHelp;
    Help.Page = 0;
    EXPECT_EQ(Drawn(btnPrevPage), -1);
    EXPECT_EQ(drawn.count(btnNextPage), 1u);
    Click(btnPrevPage);
    EXPECT_TRUE(fired.empty());

    Help.Page = 4; // no string table: the last page is 4
    EXPECT_EQ(Drawn(btnNextPage), -1);
    EXPECT_EQ(drawn.count(btnPrevPage), 1u);
    Click(btnNextPage);
    EXPECT_TRUE(fired.empty());
    Click(btnPrevPage);
    EXPECT_EQ(fired[btnPrevPage], 1);

    TVOStrings strings;
    strings.LastHelpPage = 2;
    Strings = &strings;
    Help.Page = 2;
    EXPECT_EQ(Drawn(btnNextPage), -1);
    Help.Page = 4;
    EXPECT_EQ(Drawn(btnNextPage), 0);
}

TEST_F(ButtonsTest, InactiveButtonsAndBadIndicesDrawNothing) {
    Shell.Word = scrMenu;
    EXPECT_EQ(Drawn(btnYes), -1);
    EXPECT_EQ(Drawn(btnPrevPage), -1);
    drawn.clear();
    buttons.DrawButton(btnYes);
    buttons.DrawButton(-1);
    buttons.DrawButton(22);
    EXPECT_TRUE(drawn.empty());
}

TEST_F(ButtonsTest, CommandsMayAddButtonsAndEverythingToleratesMissingParts) {
    buttons.Items[0].OnClick = [this] {
        for (int i = 0; i < 50; ++i) buttons.Add(500, 500, &picture, scrMenu, {});
    };
    Click(0);
    EXPECT_EQ(buttons.Count, 72);

    SoundBank = nullptr;
    TButtons bare(nullptr);
    bare.Add(0, 0, nullptr, 0xFFFFFFFF, {});
    bare.SelectMode(); // mode 1: no such button
    bare.DrawAll();
    bare.MouseDown();
    bare.MouseUp();
    EXPECT_FALSE(bare.ButtonDown) << "a button without a picture has no area";
}
