#include "FormHarness.h"

#include "fx/SoundBank.h"
#include "game/Random.h"
#include "platform/Registry.h"
#include "render/RenderDevice.h"
#include "shell/Settings.h"

#include <algorithm>

namespace {

class Form : public FormHarness {
protected:
    // A ball and an empty cell it can reach, found on the current field.
    bool FindMove(int& fx, int& fy, int& tx, int& ty) {
        TGameField& f = *GameField;
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y) {
                if (f.Cell(x, y).Kind == 0) continue;
                for (int i = 0; i < 9; ++i)
                    for (int j = 0; j < 9; ++j)
                        if (f.Cell(i, j).Kind == 0 &&
                            f.FindPath(static_cast<uint8_t>(x), static_cast<uint8_t>(y),
                                       static_cast<uint8_t>(i),
                                       static_cast<uint8_t>(j)) != kNoPath) {
                            fx = x, fy = y, tx = i, ty = j;
                            return true;
                        }
            }
        return false;
    }
    // One move with two clicks, then the turn is left to finish.
    void MakeAMove() {
        SettleField();
        int fx, fy, tx, ty;
        ASSERT_TRUE(FindMove(fx, fy, tx, ty));
        ClickAt(CellX(fx), CellY(fy));
        ClickAt(CellX(tx), CellY(ty));
        ASSERT_TRUE(GameField->Moving);
        SettleField();
    }
    std::vector<uint8_t> ReadConfig() {
        std::vector<uint8_t> bytes;
        std::ifstream in(ConfigFile(), std::ios::binary);
        bytes.assign(std::istreambuf_iterator<char>(in), {});
        return bytes;
    }
};

} // namespace

TEST_F(Form, FirstStartLogsInOrderAndStartsANormalGame) {
    Start();
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(Shell.CurrentMode, 1);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 6);
    EXPECT_EQ(HighScores.Blocks[2][0].Score, 1000);
    EXPECT_EQ(Shell.MusicVolume, 50);

    std::vector<std::string> steps;
    int startupPictures = 0, ingamePictures = 0;
    bool ingame = false;
    for (const std::string& line : logLines) {
        if (line.rfind("Loaded Texture \"", 0) == 0) {
            ++(ingame ? ingamePictures : startupPictures);
            continue;
        }
        if (line == "Loading Ingame Resources ...") ingame = true;
        steps.push_back(line.rfind("Device - ", 0) == 0 ? "Device - "
                        : line.rfind("CPU - ", 0) == 0  ? "CPU - "
                                                        : line);
    }
    const std::vector<std::string> expected = {"Program started",
                                               "Initializing Direct3D Device...",
                                               "...Ok",
                                               "Device - ",
                                               "CPU - ",
                                               "Initializing Font Render Device...",
                                               "Loading textures...",
                                               "Starting Logo",
                                               "Loading Ingame Resources ...",
                                               "Initializing BASS ...",
                                               "Initializing XWindows :) ...",
                                               "...Ok",
                                               "Loading font ...",
                                               "Releasing loading stuff ...",
                                               "Loading ingame strings...",
                                               "Starting game...",
                                               "Loading config ..."};
    EXPECT_EQ(steps, expected);
    EXPECT_EQ(startupPictures, 10);
    EXPECT_EQ(ingamePictures, 117 + 2); // and the Options screen's language row

    std::ifstream in(LogFile());
    std::string first, second;
    std::getline(in, first);
    std::getline(in, second);
    EXPECT_NE(first.find(" -=- Program started"), std::string::npos);
    EXPECT_EQ(second, "");
    // The music loops at the music volume.
    ASSERT_EQ(audio.StreamPlays.size(), 1u);
    EXPECT_EQ(audio.StreamPlays[0].Flags & audLoop, audLoop);
}

TEST_F(Form, ScreensOpenAndBackRestoresTheGame) {
    Start();
    ClickButton(btnOptions);
    EXPECT_EQ(Shell.Word, scrOptions);
    EXPECT_EQ(Shell.BackState, scrPlaying);
    EXPECT_TRUE(Buttons->Items[btnOptions].Selected);
    Frames(2); // the field is not advanced meanwhile
    // The language row's arrows go round the choices and store each one at once.
    const auto stored = [] { return TRegistry().ReadString("Language").value_or("none"); };
    ClickButton(23);
    EXPECT_EQ(stored(), "en");
    ClickButton(23);
    EXPECT_EQ(stored(), "de");
    ClickButton(22);
    ClickButton(22);
    EXPECT_EQ(stored(), "auto");
    ClickButton(22);
    EXPECT_EQ(stored(), "pt");
    ClickButton(13);
    EXPECT_EQ(Shell.Word, scrPlaying);

    ClickButton(btnInstructions);
    EXPECT_EQ(Shell.Word, scrHelp);
    EXPECT_EQ(Shell.HelpPage, 0);
    ClickButton(btnPrevPage); // hidden and inactive on page 0
    EXPECT_EQ(Shell.HelpPage, 0);
    for (int i = 0; i < 6; ++i) ClickButton(btnNextPage);
    EXPECT_EQ(Shell.HelpPage, 4);
    ClickButton(btnPrevPage);
    EXPECT_EQ(Shell.HelpPage, 3);

    // Another screen while one is open: the back state still holds the game.
    ClickButton(btnHighScores);
    EXPECT_EQ(Shell.Word, scrHighScores);
    EXPECT_EQ(Shell.HighScorePage, 1);
    ClickButton(9);
    ClickButton(9);
    EXPECT_EQ(Shell.HighScorePage, 0); // Next from Professional wraps to Kids
    ClickButton(8);
    EXPECT_EQ(Shell.HighScorePage, 2);
    ClickButton(10);
    EXPECT_EQ(Shell.Word, scrPlaying);
}

TEST_F(Form, ExitAsksOnceAndNoReturns) {
    Start();
    ClickButton(7);
    EXPECT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgExit);
    bool canClose = true;
    form->FormCloseQuery(canClose); // a second request opens nothing more
    EXPECT_FALSE(canClose);
    EXPECT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgExit);
    ClickButton(btnOptions); // menu buttons do not respond under a message
    EXPECT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgExit);
    ClickButton(btnNo);
    EXPECT_EQ(Shell.Word, scrPlaying);
    ClickButton(7);
    ClickButton(btnYes);
    EXPECT_TRUE(form->Terminated());
}

TEST_F(Form, NewGameAsksOnlyAfterTheFirstMove) {
    Start();
    ClickButton(btnKids);
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(Shell.CurrentMode, 0);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 3);
    MakeAMove();
    EXPECT_TRUE(Shell.GameTouched);

    ClickButton(3);
    EXPECT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgNew);
    ClickButton(btnNo);
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(Shell.CurrentMode, 0);

    // From the options screen the message opens over it; Yes starts the game.
    ClickButton(btnOptions);
    ClickButton(3);
    EXPECT_EQ(Shell.Word, scrOptions + scrMessageBox + scrMsgNew);
    ClickButton(btnYes);
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(Shell.CurrentMode, 2);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 9);
    EXPECT_FALSE(Shell.GameTouched);
    EXPECT_TRUE(Buttons->Items[3].Selected);
}

TEST_F(Form, ClearTableAnswers) {
    Start();
    HighScores.Blocks[1][0].Score = 9999;
    HighScores.Blocks[0][0].Score = 8888;
    ClickButton(btnHighScores);
    ClickButton(11);
    EXPECT_EQ(Shell.Word, scrHighScores + scrMessageBox + scrMsgClear);
    ClickButton(btnNo);
    EXPECT_EQ(HighScores.Blocks[1][0].Score, 9999);
    ClickButton(11);
    ClickButton(btnYes);
    EXPECT_EQ(Shell.Word, scrHighScores);
    EXPECT_EQ(HighScores.Blocks[1][0].Score, 1000); // the shown page only
    EXPECT_EQ(HighScores.Blocks[0][0].Score, 8888);
}

TEST_F(Form, VolumesSlidersAndTheFullScreenBox) {
    Start();
    ClickButton(btnOptions);
    for (int i = 0; i < 6; ++i) ClickButton(19);
    EXPECT_EQ(Shell.MusicVolume, 100);
    for (int i = 0; i < 8; ++i) ClickButton(20);
    EXPECT_EQ(Shell.SoundVolume, 0);
    ClickAt(490 + 97, 180); // the middle of the 194-pixel music bar
    EXPECT_EQ(Shell.MusicVolume, 50);
    EXPECT_EQ(audio.Attributes.back().Volume, 50);

    ClickAt(420, 370);
    EXPECT_TRUE(Shell.FullScreen);
    EXPECT_EQ(Shell.Word, scrOptions + scrMessageBox + scrMsgFullScreen);
    ClickAt(420, 370); // the box ignores presses while the message is open
    EXPECT_TRUE(Shell.FullScreen);
    ClickButton(btnNo);
    EXPECT_FALSE(Shell.FullScreen);
    EXPECT_EQ(Shell.Word, scrOptions);
    Frames(1);
}

TEST_F(Form, DragAndDropMovesABall) {
    Start();
    SettleField();
    int fx = -1, fy = -1, tx = -1, ty = -1;
    TGameField& f = *GameField;
    for (int x = 0; x < 9 && fx < 0; ++x)
        for (int y = 0; y < 9 && fx < 0; ++y)
            if (f.Cell(x, y).Kind != 0)
                for (int i = 0; i < 9 && fx < 0; ++i)
                    for (int j = 0; j < 9; ++j)
                        if (f.Cell(i, j).Kind == 0 && f.FindPath(x, y, i, j) != kNoPath) {
                            fx = x, fy = y, tx = i, ty = j;
                            break;
                        }
    ASSERT_GE(fx, 0);
    const TCell ball = f.Cell(fx, fy);
    Press(CellX(fx), CellY(fy));
    EXPECT_TRUE(f.Selected);
    Release(CellX(tx), CellY(ty));
    EXPECT_TRUE(f.Moving);
    SettleField();
    EXPECT_EQ(f.Cell(tx, ty), ball);
}

TEST_F(Form, NameEntryTakesKeysAndStoresTheName) {
    Start();
    SettleField();
    // Fill the field so that the next quiet move ends the game with a qualifying score.
    TGameField& f = *GameField;
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y)
            if (!(y == 0 && x < 4))
                f.Cell(x, y) = BallKinds[static_cast<size_t>(1 + (x + 2 * y) % 6)];
    f.Cell(0, 0) = BallKinds[7];
    f.BallsPerTurn = 3;
    f.Preview.fill(BallKinds[7]);
    Shell.Score = 1500;
    ClickAt(CellX(0), CellY(0));
    ClickAt(CellX(3), CellY(0)); // 3 free cells at the spawn: no room, the game ends
    for (int i = 0; i < 600 && !HasFlag(Shell.Word, scrMessageBox); ++i) Frames(1);
    ASSERT_EQ(Shell.Word, scrMessageBox + scrMsgEnterName + scrHighScores);
    EXPECT_EQ(Shell.NewEntryRow, 0);
    EXPECT_EQ(Shell.Score, 0);
    EXPECT_EQ(f.FreeCellCount(), 81);

    const uint32_t press = SoundBank->Named(TSample::Press);
    const int before = audio.PlaysOf(press);
    for (int i = 0; i < 7; ++i) Key(VK_BACK); // "Player" and one more on the empty name
    EXPECT_EQ(Shell.PlayerName, "");
    EXPECT_EQ(audio.PlaysOf(press), before + 7);
    Type("Ann");
    Type(std::string(1, '\x1f'));
    Type(std::string(1, '\x81'));
    Type(std::string(1, '\x80')); // 128 is accepted
    Type(std::string(1, '\x9f')); // the rest of 129..159 is not
    Type("\xe9\xff");             // accented letters from 160 on are
    EXPECT_EQ(Shell.PlayerName, "Ann\x80\xe9\xff");
    Type("bcdefghijklmnopq"); // only 10 more fit
    EXPECT_EQ(Shell.PlayerName.size(), 16u);
    Frames(3); // the caret blinks over the name box
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrHighScores);
    EXPECT_EQ(HighScores.Blocks[1][0].NameText(), Shell.PlayerName);
    EXPECT_EQ(HighScores.Blocks[1][0].Score, 1500);
}

TEST_F(Form, SavedGameResumesUnderTheOldMessage) {
    Start();
    SettleField();
    Shell.Score = 120;
    const auto cells = GameField->Cells;
    const auto preview = GameField->Preview;
    ClickButton(7);
    ClickButton(btnYes);
    ASSERT_TRUE(form->Terminated());
    Stop();
    auto bytes = ReadConfig();
    ASSERT_EQ(bytes.size(), 1450u);
    EXPECT_EQ(bytes[608], 1);

    Shell = TShellState{};
    Start();
    EXPECT_EQ(Shell.Word, scrMessageBox + scrMsgOld + scrPlaying);
    EXPECT_EQ(Shell.Score, 120);
    EXPECT_EQ(Shell.ChosenMode, 0); // keeps its start value
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) EXPECT_EQ(GameField->Cell(x, y), cells(x, y));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GameField->Preview[static_cast<size_t>(i)], preview[static_cast<size_t>(i)]);
    ClickButton(btnYes);
    EXPECT_EQ(Shell.Word, scrPlaying);

    // Leaving the game from the options screen does not save it.
    ClickButton(btnOptions);
    ClickButton(7);
    ClickButton(btnYes);
    Stop();
    bytes = ReadConfig();
    ASSERT_EQ(bytes.size(), 1450u);
    EXPECT_EQ(bytes[608], 0);
}

TEST_F(Form, NoToTheOldMessageShowsTheEmptyMenu) {
    TSavedGame g;
    g.Mode = 0;
    g.Score = 50;
    g.BallsPerTurn = 2;
    g.Preview.fill(BallKinds[1]);
    g.Cells[4][4] = BallKinds[3];
    const auto bytes = EncodeConfig(FreshHighScoreTable(), 10, 20, true, g);
    std::ofstream(ConfigFile(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    Start();
    EXPECT_EQ(Shell.MusicVolume, 10);
    EXPECT_EQ(Shell.CurrentMode, 0);
    EXPECT_TRUE(Buttons->Items[btnKids].Selected);
    ClickButton(btnNo);
    EXPECT_EQ(Shell.Word, scrMenu);
    EXPECT_EQ(Shell.Score, 0);
    EXPECT_FALSE(GameField->HasBalls());
    Frames(2);
}

TEST_F(Form, DamagedConfigStartsSafely) {
    TSavedGame g;
    g.Mode = 9;
    g.Score = 50;
    auto bytes = EncodeConfig(FreshHighScoreTable(), 500, 75, true, g);
    std::ofstream(ConfigFile(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    Start();
    EXPECT_EQ(Shell.Word, scrPlaying); // a new Normal game instead
    EXPECT_EQ(Shell.MusicVolume, 100);
    EXPECT_NE(std::find(logLines.begin(), logLines.end(),
                        "Config.bin: the saved game has mode 9 and was dropped"),
              logLines.end());
}

TEST_F(Form, InputDuringTheLogoChangesNothingAndLeavesTheSettingsAlone) {
    std::ofstream(ConfigFile(), std::ios::binary) << "precious";
    MakeForm();
    ASSERT_TRUE(form->FormCreate());
    Frames(3, 1.0);
    ASSERT_EQ(Shell.Word, scrLogo);
    ClickAt(140, 180);
    Key(VK_RETURN, /*alt=*/true);
    EXPECT_EQ(Shell.Word, scrLogo);
    EXPECT_FALSE(Shell.FullScreen);
    bool canClose = true;
    form->FormCloseQuery(canClose);
    EXPECT_FALSE(canClose);
    EXPECT_TRUE(form->Terminated());
    Stop();
    EXPECT_EQ(ReadConfig(), (std::vector<uint8_t>{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
}

TEST_F(Form, AltEnterOpensOneFullScreenMessage) {
    Start();
    Key(VK_RETURN, true);
    EXPECT_TRUE(Shell.FullScreen);
    EXPECT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgFullScreen);
    Key(VK_RETURN, true); // no second box, no second flip
    EXPECT_TRUE(Shell.FullScreen);
    EXPECT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgFullScreen);
    ClickButton(btnNo);
    EXPECT_FALSE(Shell.FullScreen);
    EXPECT_EQ(Shell.Word, scrPlaying);
}

TEST_F(Form, DrawingGoesOnAfterADeviceLoss) {
    Start();
    ClickButton(btnHighScores); // a still screen
    Frames(2);
    const std::vector<uint32_t> before = form->Device().ReadFrame();
    ASSERT_FALSE(before.empty());
    form->Device().SimulateDeviceLoss();
    Frames(1); // presenting finds the device lost and resets it
    Frames(2);
    const std::vector<uint32_t> after = form->Device().ReadFrame();
    ASSERT_EQ(after.size(), before.size());
    int differing = 0;
    for (size_t i = 0; i < after.size(); ++i) differing += after[i] != before[i];
    EXPECT_LT(differing, static_cast<int>(after.size() / 100)); // only the animated bits
}
