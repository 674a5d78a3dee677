// The form's screens and messages by mouse: the menu, options, tables, their questions, the
// name entry, the game's end and the empty field.
#include "tests/shell/FormFixture.h"

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

TEST_F(Form, ScreensOpenAndBackRestoresTheGame) {
    Start();
    ClickButton(btnOptions);
    EXPECT_EQ(Shell.Word, scrOptions);
    EXPECT_EQ(Shell.BackState, scrPlaying);
    EXPECT_TRUE(Buttons->Items[btnOptions].Selected);
    Frames(2); // the field is not advanced meanwhile
    // The language row's arrows go round the choices and store each one at once; another
    // language loads its texts and pictures beside the ones on show, which the screen goes on
    // drawing (no loading screen), and they change together once all are in.
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
    const TPatternImage* row = Pictures.LanguageRow;
    EXPECT_TRUE(row->Loaded);
    EXPECT_NE(TextOfNextFrame().find("Options"), std::string::npos); // the screen, in English
    EXPECT_EQ(Shell.Word, scrOptions);
    ASSERT_TRUE(reloaded());
    EXPECT_EQ(Pictures.LanguageRow, row); // the same set, with the new pictures
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
    // Another density likewise: the screen and its buttons go on with the pictures on show,
    // and the new set replaces them at once when it is in.
    form->StartReload(2, false);
    ASSERT_TRUE(form->Reloading());
    EXPECT_TRUE(Pictures.LanguageRow->Loaded);
    EXPECT_EQ(Pictures.LanguageRow->Density, 1);
    ClickButton(13);
    EXPECT_EQ(Shell.Word, scrPlaying); // a press acts meanwhile
    ASSERT_TRUE(reloaded());
    EXPECT_EQ(Pictures.LanguageRow, row);
    EXPECT_TRUE(Pictures.LanguageRow->Loaded);
    EXPECT_EQ(Pictures.LanguageRow->Density, 2);
    EXPECT_EQ(Game(), game);

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

// The demo waits for a first finished game, then plays on a game of its own: the dealt board,
// the preview, the score, the undo, the balls to come, the tips and the registry are as before
// when a key ends it; while the window has lost the focus its label says it is paused.
TEST_F(Form, DemoWaitsForAFinishedGameAndLeavesThePlayersGameAsItWas) {
    Start();
    ASSERT_EQ(Shell.Word, scrPlaying);
    ASSERT_TRUE(GameField->HasBalls());
    Frames(700, 1.0); // 47 seconds untouched, no game finished yet
    EXPECT_FALSE(form->DemoActive());

    FillForTheLastMove(10);
    PlayTheLastMove();
    ASSERT_TRUE(HasFlag(Shell.Word, scrMessageBox));
    ClickButton(btnYes); // play again: a board dealt, no move made
    ASSERT_EQ(Shell.Word, scrPlaying);
    ASSERT_TRUE(GameField->HasBalls());
    SettleField();

    const TGame before = Game();
    const uint64_t ballsBefore = RandState();
    const TGuidance& tips = *form->Guidance();
    std::array<bool, tipCount> seenBefore{};
    for (size_t t = 0; t < tipCount; ++t) seenBefore[t] = tips.Seen(static_cast<TTip>(t));
    const TTip showingBefore = tips.Showing();
    const auto registry = [] {
        std::ifstream in(TRegistry().File(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string registryBefore = registry();
    const TStatistics statsBefore = form->Statistics();
    const uint32_t turnsBefore = GameField->TurnsCompleted;
    const TGameField* fieldBefore = GameField;

    Frames(452, 1.0); // 30.1 seconds
    ASSERT_TRUE(form->DemoActive());
    EXPECT_EQ(GameField, fieldBefore); // the screen's field, playing the demo's game
    for (int i = 0; i < 4000 && GameField->TurnsCompleted < 4; ++i) {
        Frames(1, 1.0);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_GE(GameField->TurnsCompleted, 4u);
    EXPECT_EQ(tips.Showing(), tipCount);

    form->ApplicationDeactivate();
    std::string text = TextOfNextFrame();
    EXPECT_NE(text.find("Paused"), std::string::npos) << text;
    EXPECT_EQ(text.find("Demo:"), std::string::npos) << text;
    EXPECT_TRUE(form->DemoActive());
    form->ApplicationActivate();
    EXPECT_NE(TextOfNextFrame().find("Demo: press any key to play"), std::string::npos);

    Key(VK_SPACE);
    EXPECT_FALSE(form->DemoActive());
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_TRUE(Game() == before);
    EXPECT_EQ(RandState(), ballsBefore);
    EXPECT_EQ(GameField->TurnsCompleted, turnsBefore);
    EXPECT_FALSE(GameField->HasUndo());
    EXPECT_FALSE(GameField->GameCounted);
    for (size_t t = 0; t < tipCount; ++t)
        EXPECT_EQ(tips.Seen(static_cast<TTip>(t)), seenBefore[t]) << kTipKeys[t];
    EXPECT_EQ(tips.Showing(), showingBefore);
    Frames(30);
    EXPECT_EQ(registry(), registryBefore);
    EXPECT_EQ(form->Statistics().ToText(), statsBefore.ToText());
    EXPECT_TRUE(Game() == before);

    // The player's game goes on from where it stood.
    MakeAMove();
    EXPECT_TRUE(GameField->GameCounted);
}
