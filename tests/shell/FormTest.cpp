#include "FormHarness.h"

#include "fx/FrameTiming.h"
#include "fx/SoundBank.h"
#include "game/Random.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Window.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
#include "shell/Guidance.h"
#include "shell/OptionsScreen.h"
#include "shell/Settings.h"
#include "ui/VOStrings.h"

#include "fx/ParticleEngine.h"
#include "state/GameEndScreens.h"
#include "state/GameState.h"
#include "state/HelpState.h"
#include "state/OptionsState.h"
#include "state/TablesState.h"
#include "ui/VOFont.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include <SDL.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define VO_LSAN_PAUSE 1
#endif
#endif

namespace {

// Leak checking is paused while it lives (only under LeakSanitizer).
struct TThirdPartyAllocations {
#ifdef VO_LSAN_PAUSE
    TThirdPartyAllocations() {
        __lsan_disable();
    }
    ~TThirdPartyAllocations() {
        __lsan_enable();
    }
#else
    TThirdPartyAllocations() = default;
#endif
    TThirdPartyAllocations(const TThirdPartyAllocations&) = delete;
    TThirdPartyAllocations& operator=(const TThirdPartyAllocations&) = delete;
};

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
    // One move with two clicks, the ball left travelling.
    void StartAMove() {
        SettleField();
        int fx, fy, tx, ty;
        ASSERT_TRUE(FindMove(fx, fy, tx, ty));
        ClickAt(CellX(fx), CellY(fy));
        ClickAt(CellX(tx), CellY(ty));
        ASSERT_TRUE(GameField->Moving);
    }
    // One move with two clicks, then the turn is left to finish.
    void MakeAMove() {
        StartAMove();
        SettleField();
    }
    // Keys with a shift state, as the App layer sends them.
    void Keys(std::initializer_list<uint16_t> keys, uint32_t shift = 0) {
        for (uint16_t k : keys) form->FormKeyDown(k, shift);
    }
    // Walks the field cursor to (x, y) from wherever it is, with arrows only.
    void CursorTo(int x, int y) {
        TFormKeys& k = form->Keys();
        if (!k.CursorShown()) Key(VK_LEFT); // the first key only shows it
        while (k.CursorX() < x) Key(VK_RIGHT);
        while (k.CursorX() > x) Key(VK_LEFT);
        while (k.CursorY() < y) Key(VK_DOWN);
        while (k.CursorY() > y) Key(VK_UP);
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
        TGame g{{}, GameField->Preview, GameState.Score, GameField->BallsPerTurn};
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
        GameState.Score = score;
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
    EXPECT_EQ(GameState.CurrentMode, 1);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 6);
    EXPECT_EQ(HighScores.Blocks[2][0].Score, 1000);
    EXPECT_EQ(Options.MusicVolume, 50);

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
    // The undo button, the language row, the Options screen's switches panel, the effects with
    // the screens' card and the hint button.
    EXPECT_EQ(ingamePictures, 117 + 1 + 2 + 3 + 6 + 1);

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
    // The language row's arrows go round the choices and store each one at once; another
    // language loads its texts and pictures at once, under the loading bar, while the screen and
    // the game underneath stay and input waits.
    const auto stored = [] { return TRegistry().ReadString("Language").value_or("none"); };
    const auto reloaded = [&] {
        for (int i = 0; i < 2000 && form->Reloading(); ++i) Frames(1);
        return !form->Reloading();
    };
    const TGame game = Game();
    ClickButton(btnLanguageNext);
    EXPECT_EQ(stored(), "en");
    EXPECT_FALSE(form->Reloading()); // English already
    ClickButton(btnLanguageNext);
    EXPECT_EQ(stored(), "de");
    ASSERT_TRUE(form->Reloading());
    EXPECT_EQ(Pictures.LanguageRow->Textures.size(), 0u); // the old pictures went first
    ClickButton(btnLanguagePrevious);
    EXPECT_EQ(stored(), "de");
    ASSERT_TRUE(reloaded());
    EXPECT_EQ(Shell.Word, scrOptions);
    EXPECT_EQ(::Strings->Options, "Optionen");
    EXPECT_NE(TextOfNextFrame().find("Optionen"), std::string::npos);
    EXPECT_TRUE(Pictures.LanguageRow->Loaded);
    EXPECT_FALSE(Pictures.LoadingElement->Loaded); // the loading bar's pictures went again
    EXPECT_EQ(Game(), game);
    ClickButton(btnLanguagePrevious);
    ASSERT_TRUE(reloaded());
    EXPECT_EQ(::Strings->Options, "Options");
    ClickButton(btnLanguagePrevious);
    EXPECT_EQ(stored(), "auto"); // the environment's language, whichever it is
    ASSERT_TRUE(reloaded());
    ClickButton(btnLanguagePrevious);
    EXPECT_EQ(stored(), "pt");
    ASSERT_TRUE(reloaded());
    EXPECT_EQ(::Strings->Options, "Op\xE7\xF5"
                                  "es");
    ClickButton(13);
    EXPECT_EQ(Shell.Word, scrPlaying);

    ClickButton(btnInstructions);
    EXPECT_EQ(Shell.Word, scrHelp);
    EXPECT_EQ(Help.Page, 0);
    ClickButton(btnPrevPage); // hidden and inactive on page 0
    EXPECT_EQ(Help.Page, 0);
    for (int i = 0; i < 6; ++i) ClickButton(btnNextPage);
    EXPECT_EQ(Help.Page, 4);
    ClickButton(btnPrevPage);
    EXPECT_EQ(Help.Page, 3);

    // Another screen while one is open: the back state still holds the game.
    ClickButton(btnHighScores);
    EXPECT_EQ(Shell.Word, scrHighScores);
    EXPECT_EQ(Tables.HighScorePage, 1);
    ClickButton(9);
    ClickButton(9);
    EXPECT_EQ(Tables.HighScorePage, 0); // Next from Professional wraps to Kids
    ClickButton(8);
    EXPECT_EQ(Tables.HighScorePage, 2);
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
    EXPECT_EQ(GameState.CurrentMode, 0);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 3);
    MakeAMove();
    EXPECT_TRUE(GameState.GameTouched);

    ClickButton(3);
    EXPECT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgNew);
    ClickButton(btnNo);
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(GameState.CurrentMode, 0);

    // From the options screen the message opens over it; Yes starts the game.
    ClickButton(btnOptions);
    ClickButton(3);
    EXPECT_EQ(Shell.Word, scrOptions + scrMessageBox + scrMsgNew);
    ClickButton(btnYes);
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(GameState.CurrentMode, 2);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 9);
    EXPECT_FALSE(GameState.GameTouched);
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

    // The question opens with the focus on No, and a bare Enter (the ring hidden by the mouse)
    // answers No too: the file stays as it was. Y answers Yes.
    ClickButton(8); // to the Kids table
    ASSERT_EQ(Tables.HighScorePage, 0);
    form->RequestSave();
    form->SaveIfRequested();
    const std::vector<uint8_t> before = ReadConfig();
    ClickButton(11);
    EXPECT_EQ(form->Keys().Focused(), btnNo);
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrHighScores);
    ClickButton(11);
    Move(10, 10);
    ASSERT_EQ(form->Keys().Focused(), -1);
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrHighScores);
    Frames(2);
    EXPECT_EQ(HighScores.Blocks[0][0].Score, 8888);
    EXPECT_EQ(ReadConfig(), before);
    ClickButton(11);
    Key('Y');
    EXPECT_EQ(HighScores.Blocks[0][0].Score, 1000);
    // A new game over a touched one asks the same way.
    ClickButton(10); // Back to the game
    MakeAMove();
    Keys({'N'}, ssCtrl);
    ASSERT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgNew);
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_TRUE(GameState.GameTouched);
}

// A frame drawn only where it changed must look like the same frame drawn whole: the same play
// runs twice from the same start, once drawn whole and once in part, through a ball's hop, path
// and travel, a line vanishing with its particles, button highlights, the volume bars' clipping,
// a message box and the screens' changes.
TEST_F(Form, FramesDrawnInPartLookLikeWholeFrames) {
    const auto play = [this](bool partial) {
        std::vector<std::vector<uint32_t>> frames;
        Stop();
        std::filesystem::remove(ConfigFile());
        std::filesystem::remove(TRegistry().File()); // a first start each time, with its tip
        ResetShellState();
        HighScores = THighScoreTable{};
        Start();
        form->Device().SetPartialFrames(partial);
        RandSeed(11);
        const auto run = [&](int n, double delta) {
            for (int i = 0; i < n; ++i) {
                form->FrameTimer1RealTime(delta);
                frames.push_back(form->Device().ReadFrame());
            }
        };
        SettleField();
        run(3, 0.5);
        TGameField& f = *GameField;
        f.Clear();
        for (int x = 0; x < 4; ++x) f.Cell(x, 0) = BallKinds[1];
        f.Cell(8, 8) = BallKinds[1];
        f.Cell(5, 5) = BallKinds[9];
        ClickAt(CellX(8), CellY(8));
        run(6, 0.3);
        Move(CellX(4), CellY(0)); // the path shows
        run(2, 0.3);
        ClickAt(CellX(4), CellY(0));
        run(60, 0.25); // the travel, the line vanishing, the scores flying
        ClickAt(CellX(5), CellY(5));
        Move(CellX(5), CellY(5) + 10);
        run(4, 0.7);
        Move(100, 250); // across the buttons
        run(2, 0.5);
        ClickButton(btnOptions);
        run(2, 0.5);
        ClickAt(490 + 60, 180); // a volume bar cut at another place
        run(2, 0.5);
        ClickAt(420, 370); // the full-screen box, on and off
        run(4, 0.5);
        ClickAt(420, 370);
        ClickButton(btnInstructions);
        run(2, 0.5);
        return frames;
    };
    const auto whole = play(false);
    const auto part = play(true);
    ASSERT_EQ(part.size(), whole.size());
    std::vector<size_t> differing;
    for (size_t i = 0; i < part.size(); ++i)
        if (part[i].empty() || part[i] != whole[i]) differing.push_back(i);
    EXPECT_TRUE(differing.empty()) << differing.size() << " of " << part.size()
                                   << " frames differ, the first: " << differing.front();
}

// The Options screen's switches and the first-game tips live in the registry file: each switch is
// stored when pressed and read at the next start; the symbols load the balls' pictures again; each
// tip shows once, and tips switched on again all show again.
TEST_F(Form, AccessSwitchesAndTipsAreKeptInTheRegistry) {
    Start();
    TGuidance& tips = *form->Guidance();
    EXPECT_EQ(tips.Showing(), tipStart);
    EXPECT_EQ(TRegistry().ReadString("TipsSeen"), "start");
    SettleField();
    TGameField& f = *GameField;
    f.Clear();
    f.Cell(2, 2) = BallKinds[1];
    f.Cell(6, 6) = BallKinds[2];
    ClickAt(CellX(2), CellY(2));
    EXPECT_EQ(tips.Showing(), tipSelect);
    ClickAt(CellX(2), CellY(2)); // dropped
    Frames(400);                 // the tip's time runs out
    EXPECT_EQ(tips.Showing(), tipCount);
    ClickAt(CellX(6), CellY(6)); // another ball picked: the tip is not shown twice
    EXPECT_EQ(tips.Showing(), tipCount);
    EXPECT_EQ(TRegistry().ReadString("TipsSeen"), "start,select");

    ClickButton(btnOptions);
    Frames(2);
    ClickButton(btnReducedMotion);
    ClickButton(btnBallSymbols);
    ClickButton(btnTips);
    EXPECT_TRUE(Options.ReducedMotion);
    EXPECT_TRUE(Options.ClearSymbols);
    EXPECT_FALSE(Options.Tips);
    EXPECT_EQ(Buttons->Items[btnReducedMotion].PatternBase, 3); // the switch shows "on"
    EXPECT_TRUE(std::any_of(logLines.begin(), logLines.end(), [](const std::string& l) {
        return l.rfind("Ball symbols: clear, ", 0) == 0 &&
               l.find(", 0 pictures") == std::string::npos;
    }));
    Stop();
    const TRegistry registry;
    EXPECT_EQ(registry.ReadInteger("ReducedMotion"), 1);
    EXPECT_EQ(registry.ReadString("BallSymbols"), "clear");
    EXPECT_EQ(registry.ReadInteger("Tips"), 0);

    Options = TOptionsState{};
    Start();
    EXPECT_TRUE(Options.ReducedMotion);
    EXPECT_TRUE(Options.ClearSymbols);
    EXPECT_FALSE(Options.Tips);
    EXPECT_EQ(form->Guidance()->Showing(), tipCount);
    EXPECT_EQ(Buttons->Items[btnTips].PatternBase, 0);
    form->SetSwitch(btnTips, true); // on again: every tip may show once more
    EXPECT_FALSE(form->Guidance()->Seen(tipStart));
    EXPECT_EQ(TRegistry().ReadInteger("Tips"), 1);
}

TEST_F(Form, VolumesSlidersAndTheFullScreenBox) {
    Start();
    ClickButton(btnOptions);
    for (int i = 0; i < 6; ++i) ClickButton(19);
    EXPECT_EQ(Options.MusicVolume, 100);
    for (int i = 0; i < 8; ++i) ClickButton(20);
    EXPECT_EQ(Options.SoundVolume, 0);
    ClickAt(kVolumeBarLeft + 97, kMusicBarTop + 8); // the middle of the 194-pixel music bar
    EXPECT_EQ(Options.MusicVolume, 50);
    EXPECT_EQ(audio.Attributes.back().Volume, 50);

    // The check box switches at once, as F11 does: no message, no restart.
    ClickAt(kFullScreenBox.X + 10, kFullScreenBox.Y + 10);
    EXPECT_TRUE(Options.FullScreen);
    EXPECT_TRUE(form->Device().FullScreen());
    EXPECT_EQ(Shell.Word, scrOptions);
    Frames(1);
    ClickAt(kFullScreenBox.X + 10, kFullScreenBox.Y + 10);
    EXPECT_FALSE(Options.FullScreen);
    EXPECT_FALSE(form->Device().FullScreen());
    EXPECT_EQ(TRegistry().ReadInteger("Fullscreen"), 0);
    Frames(1);
}

// The Options screen's volume bars: a press strictly inside a bar sets its volume.
TEST(OptionsScreen, SlidersTakeStrictlyInnerClicksAndRoundHalvesToEven) {
    ResetShellState();
    TRecordingAudio audio;
    TSoundBank bank{&audio};
    bank.StartMusic("m");
    audio.Attributes.clear();
    const int w = 200;
    const int music = kMusicBarTop, sound = kSoundBarTop;
    PressVolumeBars(bank, 490, music + 8, w);
    PressVolumeBars(bank, 690, music + 8, w);
    EXPECT_EQ(Options.MusicVolume, 50);
    EXPECT_TRUE(audio.Attributes.empty()) << "the bar's ends are outside";

    PressVolumeBars(bank, 491, music + 8, w); // 0.5 -> 0
    EXPECT_EQ(Options.MusicVolume, 0);
    PressVolumeBars(bank, 493, music + 8, w); // 1.5 -> 2
    EXPECT_EQ(Options.MusicVolume, 2);
    PressVolumeBars(bank, 689, music + 17, w); // 99.5 -> 100
    EXPECT_EQ(Options.MusicVolume, 100);
    PressVolumeBars(bank, 590, music, w); // on the row's edge: nothing set
    EXPECT_EQ(Options.MusicVolume, 100);
    PressVolumeBars(bank, 587, sound + 1, w); // 48.5 -> 48
    EXPECT_EQ(Options.SoundVolume, 48);
    EXPECT_EQ(Options.MusicVolume, 100);
    EXPECT_EQ(audio.Attributes.size(), 5u) << "every click in the span re-applies the music";
    PressVolumeBars(bank, 600, sound + 40, 0); // no bar: nothing, and no division
    EXPECT_EQ(audio.Attributes.size(), 5u);
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
    FillForTheLastMove(1500); // a qualifying score
    ClickAt(CellX(0), CellY(0));
    ClickAt(CellX(3), CellY(0)); // 3 free cells at the spawn: no room, the game ends
    for (int i = 0; i < 600 && !HasFlag(Shell.Word, scrMessageBox); ++i) Frames(1);
    ASSERT_EQ(Shell.Word, scrMessageBox + scrMsgEnterName + scrHighScores);
    EXPECT_EQ(Tables.NewEntryRow, 0);
    EXPECT_EQ(GameState.Score, 0);
    EXPECT_EQ(GameField->FreeCellCount(), 81);

    const uint32_t press = SoundBank->Named(TSample::Press);
    const int before = audio.PlaysOf(press);
    // The proposed name stands selected: typing replaces it.
    EXPECT_EQ(Tables.PlayerName, "Player");
    Type("Ann");
    EXPECT_EQ(Tables.PlayerName, "Ann");
    for (int i = 0; i < 4; ++i) Key(VK_BACK); // "Ann" and one more on the empty name
    EXPECT_EQ(Tables.PlayerName, "");
    EXPECT_EQ(audio.PlaysOf(press), before + 3 + 4);
    Type("Ann");
    Type(std::string(1, '\x1f'));
    Type(std::string(1, '\x81'));
    Type(std::string(1, '\x80')); // 128 is accepted
    Type(std::string(1, '\x9f')); // the rest of 129..159 is not
    Type("\xe9\xff");             // accented letters from 160 on are
    EXPECT_EQ(Tables.PlayerName, "Ann\x80\xe9\xff");
    Type("bcdefghijklmnopq"); // only 10 more fit
    EXPECT_EQ(Tables.PlayerName.size(), 16u);
    Frames(3); // the caret blinks over the name box
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrHighScores);
    EXPECT_EQ(HighScores.Blocks[1][0].NameText(), Tables.PlayerName);
    EXPECT_EQ(HighScores.Blocks[1][0].Score, 1500);
    // The name entered is the one proposed next time, also after a restart.
    const std::string name = Tables.PlayerName;
    Keys({'Q'}, ssCtrl);
    Key('Y');
    Stop();
    ResetShellState();
    Start();
    EXPECT_EQ(Tables.PlayerName, name);
}

TEST_F(Form, SavedGameResumesUnderTheOldMessage) {
    Start();
    MakeAMove();
    GameState.Score = 120;
    const auto cells = GameField->Cells;
    const auto preview = GameField->Preview;
    ClickButton(7);
    ClickButton(btnYes);
    ASSERT_TRUE(form->Terminated());
    Stop();
    auto bytes = ReadConfig();
    ASSERT_EQ(bytes.size(), 1450u);
    EXPECT_EQ(bytes[608], 1);

    ResetShellState();
    Start();
    EXPECT_EQ(Shell.Word, scrMessageBox + scrMsgOld + scrPlaying);
    EXPECT_EQ(GameState.Score, 120);
    EXPECT_EQ(GameState.ChosenMode, modeNormal); // a new game after this one keeps its mode
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) EXPECT_EQ(GameField->Cell(x, y), cells(x, y));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(GameField->Preview[static_cast<size_t>(i)], preview[static_cast<size_t>(i)]);
    ClickButton(btnYes);
    EXPECT_EQ(Shell.Word, scrPlaying);
    // The kept game is protected as one moved in this run: Ctrl+N, New Game and a mode ask
    // first, on No, and No keeps it.
    for (const int command : {-1, int(btnNewGame), int(btnKids)}) {
        if (command < 0)
            Keys({'N'}, ssCtrl);
        else
            ClickButton(command);
        ASSERT_EQ(Shell.Word, scrMessageBox + scrMsgNew + scrPlaying) << command;
        EXPECT_EQ(form->Keys().Focused(), btnNo);
        Key(VK_RETURN);
        EXPECT_EQ(Shell.Word, scrPlaying);
        EXPECT_EQ(GameState.Score, 120);
    }

    // Leaving from the options screen keeps the game too, and the message says so.
    ClickButton(btnOptions);
    ClickButton(7);
    EXPECT_NE(TextOfNextFrame().find("Your game is kept"), std::string::npos);
    ClickButton(btnYes);
    Stop();
    bytes = ReadConfig();
    ASSERT_EQ(bytes.size(), 1450u);
    EXPECT_EQ(bytes[608], 1);

    // A game with a move and no points, quit from the Options screen by Ctrl+Q: kept, in its
    // mode; the mode of the last game started is where the next start begins without one.
    ResetShellState();
    Start();
    ClickButton(btnNo); // the saved game declined
    ClickButton(btnKids);
    MakeAMove();
    ASSERT_EQ(GameState.Score, 0);
    ClickButton(btnOptions);
    Keys({'Q'}, ssCtrl);
    Key('Y');
    Stop();
    bytes = ReadConfig();
    EXPECT_EQ(bytes[608], 1);
    EXPECT_EQ(bytes[609], modeKids);
    ResetShellState();
    Start();
    ASSERT_EQ(Shell.Word, scrMessageBox + scrMsgOld + scrPlaying);
    EXPECT_EQ(GameState.CurrentMode, modeKids);
    ClickButton(btnNo);
    Stop();
    ResetShellState();
    Start();
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(GameState.CurrentMode, modeKids);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 3);
    // A game without a move is not kept, whatever screen it is left from.
    Keys({'Q'}, ssCtrl);
    EXPECT_EQ(TextOfNextFrame().find("Your game is kept"), std::string::npos);
    Key('Y');
    Stop();
    EXPECT_EQ(ReadConfig()[608], 0);
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
    EXPECT_EQ(Options.MusicVolume, 10);
    EXPECT_EQ(GameState.CurrentMode, 0);
    EXPECT_TRUE(Buttons->Items[btnKids].Selected);
    ClickButton(btnNo);
    EXPECT_EQ(Shell.Word, scrMenu);
    EXPECT_EQ(GameState.Score, 0);
    EXPECT_FALSE(GameField->HasBalls());
    EXPECT_NE(TextOfNextFrame().find("Click New Game to play"), std::string::npos);
    ClickAt(CellX(4), CellY(4)); // a new game in the mode whose button is lit
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(GameState.CurrentMode, modeKids);
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
    EXPECT_EQ(Options.MusicVolume, 100);
    EXPECT_NE(std::find(logLines.begin(), logLines.end(),
                        "Config.bin: the saved game has mode 9 and was dropped"),
              logLines.end());
}

// A click or key during the logo skips to the loading step with the logo's state where a logo
// that ran its course leaves it; nothing else of the input acts, and the settings stay alone.
TEST_F(Form, InputDuringTheLogoSkipsItAndLeavesTheSettingsAlone) {
    MakeForm();
    ASSERT_TRUE(form->FormCreate());
    while (Shell.Word == scrLogo) Frames(1, 1.0);
    const TLogoState ran = form->Logo();
    Stop();

    for (const bool byKey : {false, true}) {
        std::ofstream(ConfigFile(), std::ios::binary) << "precious";
        ResetShellState();
        MakeForm();
        ASSERT_TRUE(form->FormCreate());
        Frames(3, 1.0);
        ASSERT_EQ(Shell.Word, scrLogo);
        if (byKey)
            Key(VK_ESCAPE);
        else
            ClickAt(140, 180);
        EXPECT_EQ(Shell.Word, scrLoading);
        const TLogoState& skipped = form->Logo();
        EXPECT_EQ(skipped.Phase, ran.Phase);
        EXPECT_EQ(skipped.LogoClock, ran.LogoClock);
        EXPECT_GE(skipped.ShineClock, 28.0);
        EXPECT_EQ(skipped.FlareClock, ran.FlareClock);
        // The bar stands where the logo's own frames would have left it (their last step may
        // overshoot by part of a frame).
        EXPECT_NEAR(skipped.LoadProgress, ran.LoadProgress, 1.0);
        Key(VK_RETURN, /*alt=*/true);
        EXPECT_EQ(Shell.Word, scrLoading);
        EXPECT_FALSE(Options.FullScreen);
        bool canClose = true;
        form->FormCloseQuery(canClose);
        EXPECT_FALSE(canClose);
        EXPECT_TRUE(form->Terminated());
        Stop();
        EXPECT_EQ(ReadConfig(), (std::vector<uint8_t>{'p', 'r', 'e', 'c', 'i', 'o', 'u', 's'}));
    }
}

TEST_F(Form, F11AndAltEnterSwitchFullScreenAtOnceAndTheCheckBoxFollows) {
    Start();
    Key(VK_RETURN, true);
    EXPECT_TRUE(Options.FullScreen);
    EXPECT_TRUE(form->Device().FullScreen());
    EXPECT_EQ(Shell.Word, scrPlaying); // no message, no restart
    EXPECT_EQ(TRegistry().ReadInteger("Fullscreen"), 1);
    Frames(2);
    EXPECT_FALSE(form->Device().ReadFrame().empty()); // drawing goes on after the switch

    // The check box shows the live state and switches it at once too.
    ClickButton(btnOptions);
    ClickAt(kFullScreenBox.X + 10, kFullScreenBox.Y + 10);
    EXPECT_FALSE(Options.FullScreen);
    EXPECT_FALSE(form->Device().FullScreen());
    EXPECT_EQ(Shell.Word, scrOptions);
    ClickAt(kFullScreenBox.X + 10, kFullScreenBox.Y + 10);
    EXPECT_TRUE(Options.FullScreen);

    Key(VK_F11);
    EXPECT_FALSE(Options.FullScreen);
    EXPECT_FALSE(form->Device().FullScreen());
    EXPECT_EQ(TRegistry().ReadInteger("Fullscreen"), 0);
    Frames(2);
    EXPECT_FALSE(form->Device().ReadFrame().empty());
}

TEST_F(Form, DrawingGoesOnAfterADeviceLoss) {
    Start();
    ClickButton(btnHighScores); // a still screen
    Frames(6);                  // past the cross-fade
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

TEST_F(Form, AWholeGameByKeyboard) {
    Start();
    SettleField();
    TGameField& f = *GameField;
    TFormKeys& k = form->Keys();
    EXPECT_FALSE(k.CursorShown());
    Key(VK_RIGHT); // the first arrow shows the cursor where it was, without moving it
    ASSERT_TRUE(k.CursorShown());
    EXPECT_EQ(k.CursorX(), 4);
    Keys({VK_HOME, VK_PRIOR, VK_LEFT, VK_UP}); // the corner, and no wrap past it
    EXPECT_EQ(k.CursorX(), 0);
    EXPECT_EQ(k.CursorY(), 0);
    Keys({VK_END, VK_NEXT, VK_RIGHT});
    EXPECT_EQ(k.CursorX(), 8);
    EXPECT_EQ(k.CursorY(), 8);

    // Pick and send, twice, with the turns played out between.
    for (int move = 0; move < 2; ++move) {
        int fx, fy, tx, ty;
        ASSERT_TRUE(FindMove(fx, fy, tx, ty));
        const TCell ball = f.Cell(fx, fy);
        CursorTo(fx, fy);
        Key(VK_SPACE);
        ASSERT_TRUE(f.Selected);
        EXPECT_EQ(f.SelX, fx);
        CursorTo(tx, ty);
        Frames(2); // the hover search shows the path
        EXPECT_NE(f.PathMarks(tx, ty), 0);
        Key(VK_RETURN);
        EXPECT_TRUE(f.Moving);
        SettleField();
        EXPECT_EQ(f.Cell(tx, ty), ball);
    }
    EXPECT_TRUE(GameState.GameTouched);

    // A walled-in target shows the blocked mark and Enter there drops the selection.
    f.Clear();
    f.Cell(0, 0) = BallKinds[1];
    f.Cell(7, 8) = BallKinds[2];
    f.Cell(8, 7) = BallKinds[3];
    CursorTo(0, 0);
    Key(VK_RETURN);
    ASSERT_TRUE(f.Selected);
    CursorTo(8, 8);
    Frames(2);
    EXPECT_EQ(f.PathMarks(8, 8), kBlockedMark);
    Key(VK_RETURN);
    EXPECT_FALSE(f.Selected);
    EXPECT_FALSE(f.Moving);
    EXPECT_EQ(f.Cell(0, 0), BallKinds[1]);

    // Escape drops a selection; the mouse hides the cursor, the next arrow brings it back.
    CursorTo(0, 0);
    Key(VK_SPACE);
    ASSERT_TRUE(f.Selected);
    Key(VK_ESCAPE);
    EXPECT_FALSE(f.Selected);
    Move(CellX(3), CellY(5));
    EXPECT_FALSE(k.CursorShown());
    Key(VK_DOWN);
    EXPECT_TRUE(k.CursorShown());
    EXPECT_EQ(k.CursorX(), 0); // where the keys left it, not under the idle pointer
    EXPECT_EQ(k.CursorY(), 0);

    // Ctrl+N asks first in a touched game; Escape answers No and the game goes on. The cursor
    // sits on a cell under the box's Yes button: the pointer it placed there must not light
    // Yes up as if the mouse hovered it (nor any button on another screen).
    Key('N');
    EXPECT_EQ(Shell.Word, scrPlaying); // N alone is no shortcut
    CursorTo(2, 6);
    Keys({'N'}, ssCtrl);
    EXPECT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgNew);
    std::vector<int32_t> lit;
    Buttons->OnDraw = [&](int32_t index, int32_t pattern) {
        if (pattern == 1) lit.push_back(index);
    };
    Frames(2);
    Key(VK_ESCAPE);
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(f.Cell(0, 0), BallKinds[1]);
    Frames(1);
    EXPECT_EQ(k.CursorX(), 2); // back on the field the cursor's cell is hovered again
    EXPECT_EQ(f.HoverX, 2);
    EXPECT_EQ(f.HoverY, 6);
    Buttons->OnDraw = nullptr;
    EXPECT_TRUE(lit.empty());
}

TEST_F(Form, MessagesAnswerByKey) {
    Start();
    for (uint16_t no : {uint16_t(VK_ESCAPE), uint16_t('N')}) {
        Keys({'Q'}, ssCtrl); // quitting asks, as closing the window does
        ASSERT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgExit);
        Key(VK_F1); // the menu's shortcuts wait for the answer
        EXPECT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgExit);
        Key(no);
        EXPECT_EQ(Shell.Word, scrPlaying);
        EXPECT_FALSE(form->Terminated());
    }
    // The ring over Yes and No: Tab to No, Enter presses it rather than answering Yes.
    ClickButton(7); // Exit
    Keys({VK_TAB, VK_TAB});
    EXPECT_EQ(form->Keys().Focused(), btnNo);
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrPlaying);
    ClickButton(7);
    Key('Y');
    EXPECT_TRUE(form->Terminated());
}

TEST_F(Form, NameEntryKeepsEnterBackspaceAndLetters) {
    Start();
    GameState.Score = 5000;
    ShowGameEnd({GameState.CurrentMode, GameState.Score, GameField->InsertHighScore()});
    ASSERT_TRUE(HasFlag(Shell.Word, scrMsgEnterName));
    Key(VK_BACK); // the whole proposed name, which stands selected
    EXPECT_EQ(Tables.PlayerName, "");
    for (char c : std::string("MYN")) {
        Keys({static_cast<uint16_t>(c)});
        Type(std::string(1, c));
    }
    EXPECT_TRUE(HasFlag(Shell.Word, scrMsgEnterName)); // Y and N are letters here, M no mute
    EXPECT_FALSE(SoundBank->Muted());
    Key(VK_BACK);
    EXPECT_EQ(Tables.PlayerName, "MY");
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrHighScores);
    EXPECT_EQ(HighScores.Blocks[1][Tables.NewEntryRow].NameText(), "MY");
    Key(VK_ESCAPE); // Back from the table
    EXPECT_EQ(Shell.Word, scrMenu);

    // With the ring over Yes, Enter presses Yes: the name is stored and a new game starts.
    GameState.Score = 5000;
    ShowGameEnd({GameState.CurrentMode, GameState.Score, GameField->InsertHighScore()});
    ASSERT_TRUE(HasFlag(Shell.Word, scrMsgEnterName));
    Key(VK_TAB);
    ASSERT_EQ(form->Keys().Focused(), btnYes);
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(HighScores.Blocks[1][Tables.NewEntryRow].NameText(), "MY"); // proposed again
}

TEST_F(Form, TheFocusRingWalksEachScreensButtons) {
    Start();
    TFormKeys& k = form->Keys();
    // Playing: the Undo and Hint buttons, then the whole menu top to bottom (the lit mode's
    // button too: every screen has a fixed count of stops).
    EXPECT_EQ(k.RingOrder(), (std::vector<int32_t>{btnUndo, btnHint, 0, 1, 2, 3, 4, 5, 6, 7}));
    Key(VK_TAB);
    EXPECT_EQ(k.Focused(), btnUndo);
    Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN});
    EXPECT_EQ(k.Focused(), btnOptions);
    Key(VK_RETURN);
    ASSERT_EQ(Shell.Word, scrOptions);
    // Options: the volume rows left to right, the language row, the three switches, Back, then
    // the menu.
    const std::vector<int32_t> options{18,
                                       19,
                                       20,
                                       21,
                                       btnLanguagePrevious,
                                       btnLanguageNext,
                                       btnReducedMotion,
                                       btnBallSymbols,
                                       btnTips,
                                       13,
                                       0,
                                       1,
                                       2,
                                       3,
                                       4,
                                       5,
                                       6,
                                       7};
    EXPECT_EQ(k.RingOrder(), options);
    EXPECT_EQ(k.Focused(), 18); // the new screen's first stop
    const int32_t music = Options.MusicVolume, sound = Options.SoundVolume;
    Key(VK_RIGHT);
    EXPECT_EQ(Options.MusicVolume, music + 10);
    Keys({VK_TAB, VK_TAB, VK_LEFT});
    EXPECT_EQ(Options.SoundVolume, sound - 10);
    Keys({VK_TAB}, ssShift);
    EXPECT_EQ(k.Focused(), 19);
    // M mutes and unmutes; the volumes stay.
    Key('M');
    EXPECT_TRUE(SoundBank->Muted());
    EXPECT_EQ(Options.MusicVolume, music + 10);
    Key('M');
    EXPECT_FALSE(SoundBank->Muted());
    // Space presses the focused button, as everywhere (not the full-screen box).
    Key(VK_SPACE);
    EXPECT_EQ(Options.MusicVolume, music + 20);
    EXPECT_FALSE(Options.FullScreen);
    EXPECT_EQ(Shell.Word, scrOptions);
    // On a switch Right and Left pick its sides; the volumes stay.
    while (k.Focused() != btnReducedMotion) Key(VK_TAB);
    Keys({VK_RIGHT, VK_RIGHT});
    EXPECT_TRUE(Options.ReducedMotion);
    Key(VK_LEFT);
    EXPECT_FALSE(Options.ReducedMotion);
    EXPECT_EQ(Options.MusicVolume, music + 20);
    // A lit button takes Enter and does nothing; the ring stays on it.
    while (k.Focused() != btnOptions) Key(VK_TAB);
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrOptions);
    EXPECT_EQ(k.Focused(), btnOptions);
    Key(VK_ESCAPE);
    EXPECT_EQ(Shell.Word, scrPlaying);

    // Help: Prev is hidden on the first page; Left and Right turn pages.
    Key(VK_F1);
    ASSERT_EQ(Shell.Word, scrHelp);
    EXPECT_EQ(k.RingOrder().front(), 12); // the help screen's Back, before Next on its row
    Key(VK_RIGHT);
    EXPECT_EQ(Help.Page, 1);
    EXPECT_EQ(k.RingOrder(),
              (std::vector<int32_t>{btnPrevPage, 12, btnNextPage, 0, 1, 2, 3, 4, 5, 6, 7}));
    Key(VK_LEFT);
    EXPECT_EQ(Help.Page, 0);
    Key(VK_ESCAPE);
    EXPECT_EQ(Shell.Word, scrPlaying);

    // The mouse hides the ring; a press of the pad's Back (Options) and Start (New Game).
    Move(10, 10);
    EXPECT_EQ(k.Focused(), -1);
    Key(VK_GAMEPAD_VIEW);
    EXPECT_EQ(Shell.Word, scrOptions);
    Key(VK_GAMEPAD_MENU);
    EXPECT_EQ(Shell.Word, scrPlaying); // an untouched game starts anew at once
}

namespace {

// Events as SDL delivers them, for the App layer's own path from the window to the form.
void Send(SDL_Event e) {
    Application.Dispatch(&e);
}
void MouseButton(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    Send(e);
}
void Click(int x, int y) {
    MouseButton(SDL_MOUSEBUTTONDOWN, x, y);
    MouseButton(SDL_MOUSEBUTTONUP, x, y);
}
void KeyEvent(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    Send(e);
}
void PadButton(SDL_GameControllerButton button, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    e.cbutton.button = static_cast<Uint8>(button);
    Send(e);
}
void PadAxis(SDL_GameControllerAxis axis, Sint16 value) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.axis = static_cast<Uint8>(axis);
    e.caxis.value = value;
    Send(e);
}

} // namespace

// The real window path on SDL's offscreen video driver: a resized window letterboxes the
// picture, F11 goes full screen and back with the pointer mapped exactly, and a pad's events
// play like keys.
TEST_F(Form, AWindowOfAnySizeFullScreenAndAPad) {
    // The offscreen video driver loads the system's GL libraries, which keep allocations of
    // their own for the life of the process: not ours to report.
    [[maybe_unused]] const TThirdPartyAllocations driverAllocations;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    std::string error;
    ASSERT_TRUE(Application.Initialize(&error)) << error;
    TFormOptions o;
    o.Clock = &clock;
    o.Audio = &audio;
    o.LogFile = LogFile();
    o.ConfigFile = ConfigFile();
    form = std::make_unique<TForm1>(o);
    ASSERT_TRUE(form->FormCreate());
    for (int i = 0; i < 400 && (Shell.Word == scrLogo || Shell.Word == scrLoading); ++i)
        form->FrameTimer1RealTime(1.0);
    ASSERT_EQ(Shell.Word, scrPlaying);
    SettleField();
    TGameField& f = *GameField;
    f.Clear();
    f.Cell(0, 0) = BallKinds[1];
    SDL_Window* window = SdlWindowOf(Application.MainWindow());
    ASSERT_TRUE(window);
    ASSERT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE);

    // A tall window: bars above and below. A click in the top bar, straight above the ball,
    // lands nowhere; the same column inside the picture picks the ball.
    SDL_SetWindowSize(window, 800, 1000);
    Frames(1);
    const TRect tall = form->Device().PictureRectInWindow();
    EXPECT_EQ(tall.Top, 200);
    EXPECT_EQ(tall.Bottom, 800);
    Click(CellX(0), 190);
    EXPECT_FALSE(f.Selected);
    Click(CellX(0), 200 + CellY(0));
    EXPECT_TRUE(f.Selected);
    Click(CellX(0), 200 + CellY(0));
    ASSERT_FALSE(f.Selected);

    // F11: the display's size, the pointer scaled to it; F11 again: the tall window is back.
    KeyEvent(SDLK_F11);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window, &ww, &wh);
    const TRect full = form->Device().PictureRectInWindow();
    EXPECT_EQ((full.Right - full.Left) * 600, (full.Bottom - full.Top) * 800);
    EXPECT_TRUE(full.Left == 0 || full.Top == 0);
    const double scale = (full.Right - full.Left) / 800.0;
    Frames(1);
    Click(full.Left + static_cast<int>(CellX(0) * scale),
          full.Top + static_cast<int>(CellY(0) * scale));
    EXPECT_TRUE(f.Selected);
    KeyEvent(SDLK_ESCAPE);
    EXPECT_FALSE(f.Selected);
    KeyEvent(SDLK_F11);
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_GetWindowSize(window, &ww, &wh);
    EXPECT_EQ(ww, 800);
    EXPECT_EQ(wh, 1000);
    EXPECT_FALSE(Options.FullScreen);
    Frames(1);

    // The pad: the D-pad and the stick move the cursor, A picks, B drops; a pad that was never
    // opened going away changes nothing.
    SDL_Event removed{};
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = 99;
    Send(removed);
    TFormKeys& k = form->Keys();
    PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true); // shows the cursor
    PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    ASSERT_TRUE(k.CursorShown());
    for (int i = 0; i < 9; ++i) {
        PadAxis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
        PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 12000); // still pushed: no second move
        PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
        PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
        PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    }
    EXPECT_EQ(k.CursorX(), 0);
    EXPECT_EQ(k.CursorY(), 0);
    PadButton(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(f.Selected);
    PadButton(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_FALSE(f.Selected);
    // A window that changes size reports moves under a still pointer: no use of the mouse,
    // the keys keep their cursor.
    SDL_Event resized{};
    resized.type = SDL_WINDOWEVENT;
    resized.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    Send(resized);
    SDL_Event moved{};
    moved.type = SDL_MOUSEMOTION;
    moved.motion.x = 370;
    moved.motion.y = 500;
    Send(moved);
    EXPECT_TRUE(k.CursorShown());
    PadButton(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_EQ(Shell.Word, scrOptions);
    EXPECT_EQ(Shell.BackState, scrPlaying);

    // A start in full screen: F11 brings the window back at its kept size (not at 800 x 600),
    // and that size stays kept.
    form.reset();
    ASSERT_TRUE(TRegistry().WriteInteger("WindowWidth", 640));
    ASSERT_TRUE(TRegistry().WriteInteger("WindowHeight", 480));
    ResetShellState();
    Options.FullScreen = true;
    form = std::make_unique<TForm1>(o);
    ASSERT_TRUE(form->FormCreate());
    for (int i = 0; i < 400 && (Shell.Word == scrLogo || Shell.Word == scrLoading); ++i)
        form->FrameTimer1RealTime(1.0);
    window = SdlWindowOf(Application.MainWindow());
    ASSERT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    KeyEvent(SDLK_F11);
    EXPECT_FALSE(Options.FullScreen);
    SDL_GetWindowSize(window, &ww, &wh);
    EXPECT_EQ(ww, 640);
    EXPECT_EQ(wh, 480);
    Application.ProcessMessages(); // the size change reaches the window's record
    form.reset();
    EXPECT_EQ(TRegistry().ReadInteger("WindowWidth"), 640);
    EXPECT_EQ(TRegistry().ReadInteger("WindowHeight"), 480);
    unsetenv("SDL_VIDEODRIVER");

    // A held direction repeats like a key: first after the delay, then at the interval, also
    // across the wrap of the millisecond counter.
    TPadRepeat r;
    const uint32_t t = 0xFFFFFF00u;
    EXPECT_EQ(r.Press(TPadButton::Right, t), VK_RIGHT);
    EXPECT_EQ(r.Due(t + TPadRepeat::kFirstDelay - 1), 0);
    EXPECT_EQ(r.Due(t + TPadRepeat::kFirstDelay), VK_RIGHT);
    EXPECT_EQ(r.Due(t + TPadRepeat::kFirstDelay + TPadRepeat::kInterval - 1), 0);
    EXPECT_EQ(r.Due(t + TPadRepeat::kFirstDelay + TPadRepeat::kInterval), VK_RIGHT);
    r.Release(TPadButton::Left);
    EXPECT_TRUE(r.Held());
    r.Release(TPadButton::Right);
    EXPECT_EQ(r.Due(t + 5000), 0);
}

TEST_F(Form, UndoTakesBackMovesPerModeAndReplaysTheSameNewBalls) {
    Start();
    ClickButton(btnKids);
    ASSERT_EQ(GameState.CurrentMode, modeKids);
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
    StartAMove();
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
    ASSERT_EQ(GameState.CurrentMode, modeNormal);
    SettleField();
    int fx, fy, tx, ty;
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    const TGame one = Game();
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    Frames(1);
    const TButton& undo = Buttons->Items[btnUndo];
    EXPECT_FALSE(undo.Disabled);
    CtrlZ();
    EXPECT_EQ(Game(), one);
    CtrlZ();
    EXPECT_EQ(Game(), one);
    // Used up: the button shows it, and the refused undo shakes the button for a moment.
    std::vector<int32_t> offsets;
    for (int i = 0; i < 12; ++i) {
        Frames(1);
        offsets.push_back(undo.OffsetX);
    }
    EXPECT_TRUE(undo.Disabled);
    EXPECT_GT(*std::max_element(offsets.begin(), offsets.end()), 0);
    EXPECT_LT(*std::min_element(offsets.begin(), offsets.end()), 0);
    EXPECT_EQ(offsets.back(), 0);

    // Professional: none, and no button.
    ClickButton(btnKids + 2);
    ClickButton(btnYes);
    ASSERT_EQ(GameState.CurrentMode, modeProfessional);
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

// The balls come from the game's own generator, which only the game's events advance: what is
// drawn per frame (the idle sparkles, the emptying of a finished field) has its own, so the same
// moves bring the same balls at any frame rate.
TEST_F(Form, TheSameMovesAtTwoFrameRatesBringTheSameBalls) {
    const double units[2] = {0.25, 1.0}; // a frame's time: 60 and 15 frames a second
    std::vector<TGame> games[2];
    for (int run = 0; run < 2; ++run) {
        SCOPED_TRACE(run);
        clock = TFakeClock{}; // the same seed in both runs
        ResetShellState();
        std::filesystem::remove(ConfigFile());
        std::filesystem::remove(StatsFile());
        Start();
        ASSERT_EQ(Shell.Word, scrPlaying);
        int sparkles = 0;
        const auto frames = [&](double gameUnits) {
            for (double t = 0; t < gameUnits; t += units[run]) {
                clock.AdvanceSeconds(units[run] / form->FrameTimer().FPS());
                bool done = false;
                form->FrameTimer().IdleStep(done);
                for (const TParticle& p : ParticleEngine->Particles())
                    sparkles += p.Kind == pkAnimation && p.Age == 0.0f;
            }
        };
        for (int move = 0; move < 6; ++move) {
            frames(45); // three seconds of rest: the new balls settle, sparkles come and go
            ASSERT_EQ(GameField->TurnTimer, kTurnIdle);
            int fx, fy, tx, ty;
            ASSERT_TRUE(FindMove(fx, fy, tx, ty));
            ClickAt(CellX(fx), CellY(fy));
            ClickAt(CellX(tx), CellY(ty));
            ASSERT_TRUE(GameField->Moving);
            frames(30);
            games[run].push_back(Game());
        }
        EXPECT_GT(form->FrameTimer().FrameRate(), 10); // a rate at which sparkles can start
        EXPECT_GT(sparkles, 0);
        Stop();
    }
    EXPECT_EQ(games[0], games[1]);
}

TEST_F(Form, GameEndShowsScoreAndPlaceThenMarksTheNewRow) {
    Start();
    FillForTheLastMove(950);
    PlayTheLastMove();
    ASSERT_EQ(Shell.Word, scrMessageBox + scrMsgEnterName + scrHighScores);
    EXPECT_EQ(Tables.NewEntryRow, 1); // below 1000, above 900
    CtrlZ();                          // the game is over: nothing to undo
    EXPECT_EQ(Shell.Word, scrMessageBox + scrMsgEnterName + scrHighScores);
    std::string text = TextOfNextFrame();
    EXPECT_NE(text.find("Your score: 950  Place 2nd of 10"), std::string::npos) << text;

    Key(VK_RETURN);
    ASSERT_EQ(Shell.Word, scrHighScores);
    EXPECT_EQ(Tables.HighScorePage, modeNormal);
    EXPECT_EQ(Tables.MarkedRow, 1);
    text = TextOfNextFrame();
    EXPECT_NE(text.find("\n1."), std::string::npos) << text;
    EXPECT_NE(text.find("\n10."), std::string::npos) << text;
    Frames(2);
    EXPECT_EQ(Tables.MarkedRow, 1);
    ClickButton(btnOptions);
    Frames(1);
    EXPECT_EQ(Tables.MarkedRow, 255); // left: the mark is gone

    // A game that does not reach the table says its score too, over the table even when the
    // statistics were the page last looked at.
    ClickButton(btnHighScores);
    Key('S');
    ASSERT_TRUE(Tables.StatisticsShown);
    ClickButton(0); // New Game
    HighScores = FreshHighScoreTable();
    for (auto& e : HighScores.Blocks[1]) e.Score = 60000;
    FillForTheLastMove(70);
    PlayTheLastMove();
    ASSERT_EQ(Shell.Word, scrMessageBox + scrMsgLowScore + scrHighScores);
    EXPECT_FALSE(Tables.StatisticsShown);
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

    // Thirty seconds untouched: the game plays itself under its label, and any input ends it
    // without a trace (no score, no statistics, no saved game) and does nothing else.
    const TStatistics statsBefore = form->Statistics();
    const std::vector<uint8_t> configBefore = ReadConfig();
    const TGameState stateBefore = GameState;
    Frames(440, 1.0); // 29.3 seconds
    EXPECT_FALSE(form->DemoActive());
    Frames(12, 1.0);
    ASSERT_TRUE(form->DemoActive());
    EXPECT_TRUE(GameField->HasBalls());
    const uint32_t turns = GameField->TurnsCompleted;
    for (int i = 0; i < 4000 && GameField->TurnsCompleted < turns + 3; ++i) {
        Frames(1, 1.0);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_GE(GameField->TurnsCompleted, turns + 3);
    EXPECT_NE(TextOfNextFrame().find("Demo: press any key to play"), std::string::npos);
    Key(VK_SPACE);
    EXPECT_FALSE(form->DemoActive());
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_FALSE(GameField->HasBalls());
    EXPECT_EQ(GameState.Score, stateBefore.Score);
    EXPECT_EQ(GameState.CurrentMode, stateBefore.CurrentMode);
    EXPECT_FALSE(GameState.GameTouched);
    Frames(2);
    EXPECT_EQ(form->Statistics().ToText(), statsBefore.ToText());
    EXPECT_EQ(ReadConfig(), configBefore);
    EXPECT_NE(TextOfNextFrame().find("Click New Game to play"), std::string::npos);

    ClickAt(60, 300); // beside the field: nothing
    EXPECT_FALSE(GameField->HasBalls());
    ClickAt(CellX(4), CellY(8));
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(GameState.CurrentMode, modeNormal);
    EXPECT_EQ(GameField->FreeCellCount(), 81 - 6);
    EXPECT_EQ(TextOfNextFrame().find("Click New Game"), std::string::npos);
}

// H asks the game's own player: frames later the suggested ball is selected and the cursor sits
// on its target, the game's generator untouched. A game with a hint ends in the hinted figures of
// the statistics; Professional gives no hint.
TEST_F(Form, HintSelectsTheBallAndPointsAtItsTarget) {
    Start();
    SettleField();
    ASSERT_EQ(GameState.CurrentMode, modeNormal);
    const uint64_t generator = RandState();
    Key('H');
    // The search runs beside the frames (on a loaded machine it may take a while).
    for (int i = 0; i < 3000 && form->HintPending(); ++i) {
        Frames(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_FALSE(form->HintPending());
    Frames(1);
    TGameField& f = *GameField;
    ASSERT_TRUE(f.Selected);
    ASSERT_TRUE(form->Keys().CursorShown());
    const int tx = form->Keys().CursorX(), ty = form->Keys().CursorY();
    EXPECT_EQ(f.Cell(tx, ty).Kind, 0u);
    EXPECT_NE(f.FindPath(f.SelX, f.SelY, static_cast<uint8_t>(tx), static_cast<uint8_t>(ty)),
              kNoPath);
    EXPECT_EQ(RandState(), generator);
    EXPECT_EQ(form->Statistics().Modes[modeNormal].HintedGames, 1u);
    Key(VK_RETURN); // the suggestion taken as it stands
    EXPECT_TRUE(f.Moving);
    FillForTheLastMove(700);
    PlayTheLastMove();
    Key(VK_RETURN);
    const TModeStatistics normal = form->Statistics().Modes[modeNormal];
    EXPECT_EQ(normal.HintedFinished, 1u);
    EXPECT_EQ(normal.HintedBest, 700);
    EXPECT_EQ(normal.GamesFinished, 0u);
    EXPECT_EQ(normal.BestScore, 0);

    ClickButton(btnKids + 2);
    SettleField();
    ASSERT_EQ(GameState.CurrentMode, modeProfessional);
    Key('H');
    EXPECT_FALSE(form->HintPending());
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
    EXPECT_EQ(kids.BestMove, GameState.Score);
    EXPECT_GT(kids.BestMove, 0);
    CtrlZ(); // an undone move takes its figures back
    EXPECT_EQ(form->Statistics().Modes[modeKids].LinesCleared, 0u);
    EXPECT_EQ(form->Statistics().Modes[modeKids].GamesPlayed, 1u);
    MoveBall(8, 8, 4, 4);

    // The statistics page and its reset, which asks first.
    ClickButton(btnHighScores);
    ClickButton(btnHighScores);
    Key('S');
    ASSERT_TRUE(Tables.StatisticsShown);
    const std::string page = TextOfNextFrame();
    EXPECT_NE(page.find("Games finished"), std::string::npos) << page;
    // The page's title says statistics, not the table's "Top ten": its band differs from the
    // table's of the same mode.
    const auto titleBand = [this] {
        Frames(1);
        const std::vector<uint32_t> frame = form->Device().ReadFrame();
        std::vector<uint32_t> band;
        for (int y = 100; y < 118; ++y)
            for (int x = 470; x < 600; ++x) band.push_back(frame.at(size_t(y) * 800 + size_t(x)));
        return band;
    };
    const std::vector<uint32_t> statisticsTitle = titleBand();
    Key('S');
    EXPECT_NE(titleBand(), statisticsTitle);
    Key('S');
    ClickButton(11); // Clear
    ASSERT_EQ(Shell.Word, scrHighScores + scrMessageBox + scrMsgResetStats);
    ClickButton(btnNo);
    EXPECT_EQ(form->Statistics().Modes[modeKids].LinesCleared, 1u);
    Stop();

    ResetShellState();
    Start();
    if (HasFlag(Shell.Word, scrMsgOld)) ClickButton(btnNo);
    normal = form->Statistics().Modes[modeNormal];
    EXPECT_EQ(normal.GamesFinished, 1u);
    EXPECT_EQ(normal.BestScore, 950);
    EXPECT_EQ(form->Statistics().Modes[modeKids].LinesCleared, 1u);
    ClickButton(btnHighScores);
    // The arrows reach the statistics past the last table.
    for (int i = 0; i < 6 && !(Tables.StatisticsShown && Tables.HighScorePage == modeKids); ++i)
        ClickButton(9);
    ASSERT_TRUE(Tables.StatisticsShown);
    ASSERT_EQ(Tables.HighScorePage, modeKids);
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
    ResetShellState();
    Start();
    EXPECT_EQ(form->Statistics().Modes[modeNormal].BestScore, 950);
    EXPECT_TRUE(std::filesystem::exists(StatsFile() + ".damaged"));
    EXPECT_NE(std::find(logLines.begin(), logLines.end(),
                        StatsFile() + ": line 29 is damaged; the rest of the file is ignored"),
              logLines.end());
}

// The last move's board stays for a beat, dimmed and saying why, before it empties and the
// message comes; nothing can be undone meanwhile. Quitting then still enters the score.
TEST_F(Form, TheLastMoveShowsTheFinalBoardForABeat) {
    Start();
    FillForTheLastMove(950);
    ClickAt(CellX(0), CellY(0));
    ClickAt(CellX(3), CellY(0));
    for (int i = 0; i < 200 && !GameField->GameOver; ++i) Frames(1);
    ASSERT_TRUE(GameField->GameOver);
    const int32_t balls = 81 - GameField->FreeCellCount();
    EXPECT_NE(TextOfNextFrame().find("No room for new balls"), std::string::npos);
    Frames(50); // 25 units
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(81 - GameField->FreeCellCount(), balls);
    EXPECT_TRUE(Buttons->Items[btnUndo].Disabled);
    for (int i = 0; i < 600 && !HasFlag(Shell.Word, scrMessageBox); ++i) Frames(1);
    EXPECT_EQ(Shell.Word, scrMessageBox + scrMsgEnterName + scrHighScores);
    Key(VK_RETURN);

    ClickButton(0);
    FillForTheLastMove(960);
    ClickAt(CellX(0), CellY(0));
    ClickAt(CellX(3), CellY(0));
    for (int i = 0; i < 200 && !GameField->GameOver; ++i) Frames(1);
    ASSERT_TRUE(GameField->GameOver);
    Keys({'Q'}, ssCtrl);
    Key('Y');
    Stop();
    ResetShellState();
    Start();
    EXPECT_EQ(HighScores.Blocks[1][1].Score, 960); // below the table's 1000
    EXPECT_EQ(HighScores.Blocks[1][1].NameText(), "Player");
    EXPECT_EQ(HighScores.Blocks[1][2].Score, 950);
}

// While another window has the focus the game's time stands still, frames still run (to paint
// what was uncovered), and the first press resumes it.
TEST_F(Form, AnUnfocusedGameStandsStillAndAPressResumesIt) {
    Start();
    StartAMove();
    form->ApplicationDeactivate();
    EXPECT_EQ(audio.Pauses.size(), 1u);
    const double timer = GameField->TurnTimer;
    EXPECT_TRUE(form->AtRest());
    Frames(20);
    EXPECT_EQ(GameField->TurnTimer, timer);
    EXPECT_FALSE(form->Device().ReadFrame().empty());
    Press(10, 10);
    EXPECT_FALSE(form->Paused());
    EXPECT_EQ(audio.Resumes.size(), 1u);
    Frames(2);
    EXPECT_LT(GameField->TurnTimer, timer);
}

// A saved game goes on as it would have without the quit: the same new balls, also after an
// undo (no fishing for others by quitting). Scores above 65535 are kept whole beside the
// table's 16-bit field, which holds 65535.
TEST_F(Form, ARestoredGameDrawsWhatItWouldHaveDrawnAndScoresStayWhole) {
    const std::string extra =
        (std::filesystem::path(ConfigFile()).parent_path() / "Config.extra").string();
    Start();
    SettleField();
    int fx, fy, tx, ty;
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    const TGame once = Game();
    form->SaveIfRequested(); // the move's, as after its frame
    CtrlZ();
    // The undo is saved as a move is: a kill now leaves the board it left.
    const TGame undone = Game();
    form->SaveIfRequested();
    {
        const std::vector<uint8_t> kept = ReadConfig();
        const TConfigContents c = DecodeConfig(kept.data(), kept.size());
        ASSERT_TRUE(c.HasGame);
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y)
                EXPECT_EQ(c.Game.Cells[size_t(x)][size_t(y)],
                          undone.Cells[size_t(x) * 9 + size_t(y)]);
        EXPECT_EQ(c.Game.Score, undone.Score);
    }
    HighScores.Blocks[1][0].SetPoints(70000);
    ClickButton(7);
    ClickButton(btnYes);
    Stop();
    EXPECT_EQ(ReadConfig().at(218), 0xFF); // the Normal table's first score: 65535
    EXPECT_EQ(ReadConfig().at(219), 0xFF);

    ResetShellState();
    HighScores = THighScoreTable{};
    clock.AdvanceCounts(654321);
    Start();
    ASSERT_TRUE(HasFlag(Shell.Word, scrMsgOld));
    EXPECT_EQ(HighScores.Blocks[1][0].Points(), 70000);
    ClickButton(btnYes);
    RandSeed(99); // whatever the generator drew since: the saved state holds
    MoveBall(fx, fy, tx, ty);
    EXPECT_EQ(Game(), once);

    // Without an undo: the next move after a restart brings what it brings without one.
    ClickButton(btnHighScores);
    EXPECT_NE(TextOfNextFrame().find("70000"), std::string::npos);
    ClickButton(10);
    Stop();
    const std::vector<uint8_t> config = ReadConfig();
    std::vector<uint8_t> extraBytes;
    ASSERT_TRUE(ReadFileBytes(extra, extraBytes, nullptr));
    ResetShellState();
    Start();
    ClickButton(btnYes);
    ASSERT_TRUE(FindMove(fx, fy, tx, ty));
    MoveBall(fx, fy, tx, ty);
    const TGame onward = Game();
    Stop();
    WriteFileAtomically(ConfigFile(), config, nullptr);
    WriteFileAtomically(extra, extraBytes, nullptr);
    ResetShellState();
    clock.AdvanceCounts(123457); // the generator is seeded from the clock at each start
    Start();
    ClickButton(btnYes);
    Frames(37); // frames draw nothing from the balls' generator
    MoveBall(fx, fy, tx, ty);
    EXPECT_EQ(Game(), onward);
    Stop();

    // A "Config.bin" the extra file does not go with (written by hand, a crash between the two
    // writes) leaves the extra file unused: 65535 shows.
    std::vector<uint8_t> other = config;
    other[600] ^= 1; // the music volume
    WriteFileAtomically(ConfigFile(), other, nullptr);
    WriteFileAtomically(extra, extraBytes, nullptr);
    ResetShellState();
    Start();
    EXPECT_EQ(HighScores.Blocks[1][0].Points(), 65535);
    EXPECT_NE(std::find(logLines.begin(), logLines.end(),
                        "Config.extra goes with another Config.bin and is not used"),
              logLines.end());
}