#include "FormHarness.h"

#include "fx/SoundBank.h"
#include "game/Random.h"
#include "render/RenderDevice.h"
#include "shell/Settings.h"

#include "fx/ParticleEngine.h"
#include "ui/VOFont.h"

#include <algorithm>
#include <array>

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
    // The move from (fx, fy) to (tx, ty), its turn left to finish.
    void MoveBall(int fx, int fy, int tx, int ty) {
        SettleField();
        ClickAt(CellX(fx), CellY(fy));
        ClickAt(CellX(tx), CellY(ty));
        SettleField();
    }
    void CtrlZ() {
        uint16_t k = 'Z';
        form->FormKeyDown(k, ssCtrl);
    }
    struct TGame {
        std::vector<TCell> Cells;
        std::array<TCell, 5> Preview;
        int32_t Score, BallsPerTurn;
        bool operator==(const TGame&) const = default;
    };
    static TGame Game() {
        TGame g{{}, GameField->Preview, Shell.Score, GameField->BallsPerTurn};
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y) g.Cells.push_back(GameField->Cell(x, y));
        return g;
    }
    // Everything the font draws in the next frame, one string per call of a text drawing.
    std::string TextOfNextFrame() {
        std::string text;
        int32_t lastY = -1;
        Font->OnGlyph = [&](uint8_t c, int32_t, int32_t y, int32_t, uint32_t) {
            if (y != lastY) text += '\n';
            lastY = y;
            text += static_cast<char>(c);
        };
        Frames(1);
        Font->OnGlyph = nullptr;
        return text;
    }
    // Fills the field so that the next quiet move from (0, 0) to (3, 0) ends the game.
    void FillForTheLastMove(int32_t score) {
        SettleField();
        TGameField& f = *GameField;
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y)
                if (!(y == 0 && x < 4))
                    f.Cell(x, y) = BallKinds[static_cast<size_t>(1 + (x + 2 * y) % 6)];
        f.Cell(0, 0) = BallKinds[7];
        f.BallsPerTurn = 3;
        f.Preview.fill(BallKinds[7]);
        Shell.Score = score;
    }
    void PlayTheLastMove() {
        ClickAt(CellX(0), CellY(0));
        ClickAt(CellX(3), CellY(0));
        for (int i = 0; i < 600 && !HasFlag(Shell.Word, scrMessageBox); ++i) Frames(1);
    }
    std::string StatsFile() const {
        return (std::filesystem::path(ConfigFile()).parent_path() / "Stats.txt").string();
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
    EXPECT_EQ(ingamePictures, 118);

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
    EXPECT_EQ(Shell.PlayerName, "Ann\x80");
    Type("bcdefghijklmnopq"); // only 12 more fit
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
    EXPECT_NE(TextOfNextFrame().find("Click New Game to play"), std::string::npos);
    ClickAt(CellX(4), CellY(4)); // a new game in the mode whose button is lit
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(Shell.CurrentMode, modeKids);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 3);
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

TEST_F(Form, UndoTakesBackMovesPerModeAndReplaysTheSameNewBalls) {
    Start();
    ClickButton(btnKids);
    ASSERT_EQ(Shell.CurrentMode, modeKids);
    SettleField();
    const TGame start = Game();
    std::vector<std::array<int, 4>> moves;
    std::vector<TGame> after;
    for (int i = 0; i < 3; ++i) {
        int fx, fy, tx, ty;
        ASSERT_TRUE(FindMove(fx, fy, tx, ty));
        moves.push_back({fx, fy, tx, ty});
        MoveBall(fx, fy, tx, ty);
        after.push_back(Game());
        Frames(23); // idle frames draw random numbers for the sparkles
    }
    ASSERT_NE(after[2], start);

    // While the ball travels and under a message nothing is taken back.
    SettleField();
    int fx, fy, tx, ty;
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    ClickAt(CellX(fx), CellY(fy));
    ClickAt(CellX(tx), CellY(ty));
    ASSERT_TRUE(GameField->Moving);
    CtrlZ();
    EXPECT_TRUE(GameField->Moving);
    SettleField();
    const TGame four = Game();
    ClickButton(7); // Exit asks
    CtrlZ();
    Key(VK_BACK);
    EXPECT_EQ(Game(), four);
    ClickButton(btnNo);

    // Kids: back to the start, one move at a time, by key and by the button.
    audio.Stops.clear();
    Key(VK_BACK);
    EXPECT_EQ(Game(), after[2]);
    // No effect or sound of the move is left: particles gone, the new balls' sound stopped.
    EXPECT_TRUE(ParticleEngine->Particles().empty());
    EXPECT_NE(std::find(audio.Stops.begin(), audio.Stops.end(), SoundBank->Named(TSample::App)),
              audio.Stops.end());
    CtrlZ();
    EXPECT_EQ(Game(), after[1]);
    ClickButton(btnUndo);
    EXPECT_EQ(Game(), after[0]);
    CtrlZ();
    EXPECT_EQ(Game(), start);
    CtrlZ(); // nothing left
    EXPECT_EQ(Game(), start);

    // The same moves again bring the same new balls, whatever ran in between.
    for (size_t i = 0; i < moves.size(); ++i) {
        Frames(7 + static_cast<int>(i));
        MoveBall(moves[i][0], moves[i][1], moves[i][2], moves[i][3]);
        EXPECT_EQ(Game(), after[i]) << "move " << i;
    }

    // Normal: the last move only.
    ClickButton(btnKids + 1);
    ClickButton(btnYes); // the Kids game was touched: starting anew asks
    ASSERT_EQ(Shell.CurrentMode, modeNormal);
    SettleField();
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    const TGame one = Game();
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    CtrlZ();
    EXPECT_EQ(Game(), one);
    CtrlZ();
    EXPECT_EQ(Game(), one);

    // Professional: none, and no button.
    ClickButton(btnKids + 2);
    ClickButton(btnYes);
    ASSERT_EQ(Shell.CurrentMode, modeProfessional);
    SettleField();
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    const TGame pro = Game();
    CtrlZ();
    EXPECT_EQ(Game(), pro);
    bool undoDrawn = false;
    Buttons->OnDraw = [&](int32_t index, int32_t) { undoDrawn |= index == btnUndo; };
    Frames(1);
    EXPECT_FALSE(undoDrawn);
    ClickButton(btnKids);
    ClickButton(btnYes);
    Frames(1);
    EXPECT_TRUE(undoDrawn);
    Buttons->OnDraw = nullptr;
}

TEST_F(Form, GameEndShowsScoreAndPlaceThenMarksTheNewRow) {
    Start();
    FillForTheLastMove(950);
    PlayTheLastMove();
    ASSERT_EQ(Shell.Word, scrMessageBox + scrMsgEnterName + scrHighScores);
    EXPECT_EQ(Shell.NewEntryRow, 1); // below 1000, above 900
    CtrlZ();                         // the game is over: nothing to undo
    EXPECT_EQ(Shell.Word, scrMessageBox + scrMsgEnterName + scrHighScores);
    std::string text = TextOfNextFrame();
    EXPECT_NE(text.find("Your score: 950  Place 2nd of 10"), std::string::npos) << text;

    Key(VK_RETURN);
    ASSERT_EQ(Shell.Word, scrHighScores);
    EXPECT_EQ(Shell.HighScorePage, modeNormal);
    EXPECT_EQ(Shell.MarkedRow, 1);
    text = TextOfNextFrame();
    EXPECT_NE(text.find("\n1."), std::string::npos) << text;
    EXPECT_NE(text.find("\n10."), std::string::npos) << text;
    Frames(2);
    EXPECT_EQ(Shell.MarkedRow, 1);
    ClickButton(btnOptions);
    Frames(1);
    EXPECT_EQ(Shell.MarkedRow, 255); // left: the mark is gone

    // A game that does not reach the table says its score too.
    ClickButton(0); // New Game
    HighScores = FreshHighScoreTable();
    for (auto& e : HighScores.Blocks[1]) e.Score = 60000;
    FillForTheLastMove(70);
    PlayTheLastMove();
    ASSERT_EQ(Shell.Word, scrMessageBox + scrMsgLowScore + scrHighScores);
    text = TextOfNextFrame();
    EXPECT_NE(text.find("Your score: 70"), std::string::npos) << text;
    EXPECT_EQ(text.find("of 10"), std::string::npos);
}

TEST_F(Form, EmptyFieldInvitesAndAClickStartsTheChosenMode) {
    Start();
    EXPECT_EQ(TextOfNextFrame().find("Click New Game"), std::string::npos);
    ClickButton(btnHighScores);
    ClickButton(10); // Back, to the game
    ASSERT_EQ(Shell.Word, scrPlaying);
    FillForTheLastMove(10);
    PlayTheLastMove();
    ClickButton(btnNo); // no new game
    ClickButton(10);    // Back from the table: the emptied playing screen
    ASSERT_EQ(Shell.Word, scrPlaying);
    EXPECT_NE(TextOfNextFrame().find("Click New Game to play"), std::string::npos);
    ClickAt(60, 300); // beside the field: nothing
    EXPECT_FALSE(GameField->HasBalls());
    ClickAt(CellX(4), CellY(8));
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(Shell.CurrentMode, modeNormal);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 6);
    EXPECT_EQ(TextOfNextFrame().find("Click New Game"), std::string::npos);
}

TEST_F(Form, StatisticsCountGamesSurviveARestartAndADamagedFile) {
    Start();
    SettleField();
    int fx, fy, tx, ty;
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty); // game 1: played, then left for game 2
    Frames(30, 1.0);          // two seconds on the playing screen
    FillForTheLastMove(950);
    PlayTheLastMove();
    Key(VK_RETURN);
    TModeStatistics normal = form->Statistics().Modes[modeNormal];
    EXPECT_EQ(normal.GamesPlayed, 1u);
    EXPECT_EQ(normal.GamesFinished, 1u);
    EXPECT_EQ(normal.BestScore, 950);
    EXPECT_GE(normal.PlaySeconds, 2u);
    Frames(1);
    ASSERT_TRUE(std::filesystem::exists(StatsFile())); // written when the game ended

    // Lines and moves: a prepared line of five made by one move.
    ClickButton(btnKids);
    SettleField();
    TGameField& f = *GameField;
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) f.Cell(x, y) = TCell{};
    for (int x = 0; x < 4; ++x) f.Cell(x, 4) = BallKinds[2];
    f.Cell(8, 8) = BallKinds[2];
    MoveBall(8, 8, 4, 4);
    const TModeStatistics kids = form->Statistics().Modes[modeKids];
    EXPECT_EQ(kids.GamesPlayed, 1u);
    EXPECT_EQ(kids.LinesCleared, 1u);
    EXPECT_EQ(kids.BestMove, Shell.Score);
    EXPECT_GT(kids.BestMove, 0);
    CtrlZ(); // an undone move takes its figures back
    EXPECT_EQ(form->Statistics().Modes[modeKids].LinesCleared, 0u);
    EXPECT_EQ(form->Statistics().Modes[modeKids].GamesPlayed, 1u);
    MoveBall(8, 8, 4, 4);

    // The statistics page and its reset, which asks first.
    ClickButton(btnHighScores);
    Key('S');
    ASSERT_TRUE(Shell.StatisticsShown);
    const std::string page = TextOfNextFrame();
    EXPECT_NE(page.find("Games finished"), std::string::npos) << page;
    ClickButton(11); // Clear
    ASSERT_EQ(Shell.Word, scrHighScores + scrMessageBox + scrMsgResetStats);
    ClickButton(btnNo);
    EXPECT_EQ(form->Statistics().Modes[modeKids].LinesCleared, 1u);
    Stop();

    Shell = TShellState{};
    Start();
    if (HasFlag(Shell.Word, scrMsgOld)) ClickButton(btnNo);
    normal = form->Statistics().Modes[modeNormal];
    EXPECT_EQ(normal.GamesFinished, 1u);
    EXPECT_EQ(normal.BestScore, 950);
    EXPECT_EQ(form->Statistics().Modes[modeKids].LinesCleared, 1u);
    ClickButton(btnHighScores);
    // The arrows reach the statistics past the last table.
    for (int i = 0; i < 6 && !(Shell.StatisticsShown && Shell.HighScorePage == modeKids); ++i)
        ClickButton(9);
    ASSERT_TRUE(Shell.StatisticsShown);
    ASSERT_EQ(Shell.HighScorePage, modeKids);
    ClickButton(11);
    ClickButton(btnYes);
    EXPECT_EQ(form->Statistics().Modes[modeKids].LinesCleared, 0u);
    EXPECT_EQ(form->Statistics().Modes[modeNormal].GamesFinished, 1u);
    Stop();

    // A torn file: what comes before the damage is kept, the original set aside.
    std::string text;
    {
        std::ifstream in(StatsFile());
        text.assign(std::istreambuf_iterator<char>(in), {});
    }
    const size_t cut = text.find("[professional]");
    ASSERT_NE(cut, std::string::npos);
    std::ofstream(StatsFile(), std::ios::trunc)
        << text.substr(0, cut) << "[professional]\nplayed 1x\xff";
    Shell = TShellState{};
    Start();
    EXPECT_EQ(form->Statistics().Modes[modeNormal].BestScore, 950);
    EXPECT_TRUE(std::filesystem::exists(StatsFile() + ".damaged"));
    EXPECT_NE(std::find(logLines.begin(), logLines.end(),
                        StatsFile() + ": line 21 is damaged; the rest of the file is ignored"),
              logLines.end());
}
