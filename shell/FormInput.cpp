// Input handlers, the buttons' commands and the answers to the messages.
#include "shell/Form.h"

#include "fx/ParticleEngine.h"
#include "fx/SoundBank.h"
#include "game/DailySeed.h"
#include "game/GameField.h"
#include "game/GameModes.h"
#include "game/HighScores.h"
#include "game/Player.h"
#include "game/ReplayPlayer.h"
#include "layout/Layout.h"
#include "platform/HostScreen.h"
#include "render/PatternImage.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
#include "shell/Guidance.h"
#include "shell/HintSearch.h"
#include "shell/Language.h"
#include "shell/Log.h"
#include "shell/OptionsScreen.h"
#include "shell/SettingsStore.h"
#include "state/GameState.h"
#include "state/HelpState.h"
#include "state/OptionsState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"
#include "ui/Buttons.h"
#include "ui/VOStrings.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {

// The press and release cells come from client pixels, truncating toward zero.
bool MessageOpen() {
    return HasFlag(Shell.Word, scrMessageBox);
}
bool StartSequence() {
    return Shell.Word == scrLogo || Shell.Word == scrLoading;
}

} // namespace

// --- Pointer and buttons -------------------------------------------------------------------------

void TForm1::FormMouseMove(uint32_t, int32_t x, int32_t y) {
    NoteInput();
    if (!app_ || app_->PointerMoved()) keys_->MouseUsed();
    int32_t w = kPictureWidth, h = kPictureHeight;
    if (app_) app_->ClientSize(w, h);
    if (w <= 0 || h <= 0) return;
    // Integer products, floating division, rounded half to even.
    Pointer.X = static_cast<int32_t>(std::nearbyint(static_cast<double>(x * kPictureWidth) / w));
    Pointer.Y = static_cast<int32_t>(std::nearbyint(static_cast<double>(y * kPictureHeight) / h));
}

void TForm1::FormMouseDown(int32_t button, uint32_t, int32_t x, int32_t y) {
    if (paused_) ApplicationActivate(); // the player is back, focused or not
    if (NoteInput()) return;            // a press that ends the demo does nothing else
    keys_->MouseUsed();
    pressCellX_ = ColumnAt(x);
    pressCellY_ = RowAt(y);
    SkipLogo();
    if (StartSequence()) return;
    // A press during a new high score's celebration only ends it.
    if (Celebrating()) {
        EndCelebration();
        return;
    }
    Pointer.PressedButton = button;
    Pointer.Held = button == 0;
    Pointer.PressX = Pointer.X;
    Pointer.PressY = Pointer.Y;
    if (WatchPress(button)) return;
    if (Buttons) Buttons->MouseDown();
    const bool noGame = FieldShowsNoGame();
    if (HasFlag(Shell.Word, scrPlaying) && !MessageOpen() && field_)
        field_->Click(ColumnAt(Pointer.X), RowAt(Pointer.Y), Pointer.PressedButton);
    if (noGame && button == 0) CmdFieldClick();
    // A press on a table's row with a replay watches it.
    if (HasFlag(Shell.Word, scrHighScores) && !Tables.StatisticsShown && !MessageOpen() &&
        !watch_ && button == 0 && Pointer.X >= kMarkedRow.Left && Pointer.X < kFieldRight &&
        Pointer.Y >= kTableRowTop + kMarkedRow.Top) {
        const int row = (Pointer.Y - kTableRowTop - kMarkedRow.Top) / kTableRowPitch;
        if (row < kHighScoreRows)
            CmdWatchReplay(Tables.HighScorePage % kHighScoreModes, static_cast<size_t>(row));
    }
    if (HasFlag(Shell.Word, scrOptions) && !MessageOpen()) {
        const int32_t barWidth =
            Pictures.SoundOptG ? Pictures.SoundOptG->PatternWidth : kVolumeBarWidth;
        if (SoundBank) PressVolumeBars(*SoundBank, Pointer.X, Pointer.Y, barWidth);
        if (Pointer.X > kFullScreenHit.Left && Pointer.X < kFullScreenHit.Right &&
            Pointer.Y > kFullScreenHit.Top && Pointer.Y < kFullScreenHit.Bottom)
            CmdToggleFullScreen();
    }
}

void TForm1::FormMouseUp(int32_t, uint32_t, int32_t x, int32_t y) {
    Pointer.Held = false;
    if (StartSequence()) return;
    Pointer.PressedButton = 0;
    if (Buttons) Buttons->MouseUp();
    const int releaseX = ColumnAt(x);
    const int releaseY = RowAt(y);
    // A press on a ball and a release on another cell sends the ball there (drag and drop).
    if ((releaseX != pressCellX_ || releaseY != pressCellY_) && HasFlag(Shell.Word, scrPlaying) &&
        !MessageOpen() && field_)
        field_->Click(ColumnAt(Pointer.X), RowAt(Pointer.Y), Pointer.PressedButton);
}

// --- Keys ----------------------------------------------------------------------------------------

void TForm1::FormKeyDown(uint16_t& key, uint32_t shift) {
    if (paused_) ApplicationActivate();
    if (NoteInput()) return; // a key that ends the demo does nothing else
    SkipLogo();
    // A key during a new high score's celebration ends it and goes on to the name entry.
    EndCelebration();
    if (WatchKey(key)) return;
    if (key == 'D' && !(shift & (ssCtrl | ssAlt)) && !MessageOpen() && !StartSequence()) {
        CmdDaily();
        return;
    }
    // On a table, a row's number (0 for the tenth) watches its replay.
    if (HasFlag(Shell.Word, scrHighScores) && !Tables.StatisticsShown && !MessageOpen() &&
        key >= '0' && key <= '9' && !(shift & (ssCtrl | ssAlt)) &&
        CmdWatchReplay(Tables.HighScorePage % kHighScoreModes,
                       key == '0' ? 9 : static_cast<size_t>(key - '1')))
        return;
    const bool nameEntry = HasFlag(Shell.Word, scrMsgEnterName);
    if ((key == 'Z' && (shift & ssCtrl)) || (key == VK_BACK && !nameEntry)) CmdUndo();
    if (key == 'S' && !(shift & (ssCtrl | ssAlt)) && !MessageOpen()) CmdStatistics();
    if (key == 'C' && !(shift & (ssCtrl | ssAlt)) && !MessageOpen() &&
        HasFlag(Shell.Word, scrHighScores) && Tables.StatisticsShown)
        CmdCopyDaily();
    if ((key == 'H' && !(shift & (ssCtrl | ssAlt))) || key == VK_GAMEPAD_Y) CmdHint();
    // The name entry keeps Backspace and Enter for itself (Alt+Enter switches full screen).
    // With the focus ring over Yes or No, Enter presses that button (either stores the name).
    if (nameEntry && key == VK_RETURN && !(shift & ssAlt) && keys_->Focused() >= 0) {
        keys_->KeyDown(key, shift);
        return;
    }
    if (nameEntry && !(shift & ssAlt) && (key == VK_BACK || key == VK_RETURN)) {
        if (key == VK_BACK && Tables.NameSelected) Tables.PlayerName.clear();
        if (key == VK_BACK && !Tables.PlayerName.empty()) Tables.PlayerName.pop_back();
        Tables.NameSelected = false;
        if (key == VK_RETURN) {
            StorePlayerName();
            Shell.Word = scrHighScores;
        }
        if (SoundBank) SoundBank->Play(TSample::Press);
        return;
    }
    keys_->KeyDown(key, shift);
}

void TForm1::FormKeyPress(char& key) {
    if (DemoActive()) return;
    if (!HasFlag(Shell.Word, scrMsgEnterName) || !NameByte(key)) return;
    if (Tables.NameSelected) Tables.PlayerName.clear(); // typing replaces the proposed name
    Tables.NameSelected = false;
    if (Tables.PlayerName.size() < kMaxNameLength) {
        Tables.PlayerName.push_back(key);
        if (SoundBank) SoundBank->Play(TSample::Press);
    }
}

void TForm1::FormCloseQuery(bool& canClose) {
    canClose = false;
    StopDemo();
    if (StartSequence()) {
        // Before the screens exist there is no message to ask with: the program ends at once
        // and leaves the settings file alone, since it has not been read yet.
        Terminate();
        return;
    }
    CmdExit();
}

// --- Commands ------------------------------------------------------------------------------------

void TForm1::OpenMessage(uint32_t flag) {
    // One message at a time: a request while another is open waits for its answer.
    if (MessageOpen() || StartSequence()) return;
    Shell.ReturnState = Shell.Word;
    Shell.Word += scrMessageBox + flag;
    if (HasFlag(flag, scrDestructiveMessages)) keys_->FocusButton(btnNo);
}

void TForm1::CmdNewGame() {
    StartMode(GameState.CurrentMode);
}

// A new game of `mode` through its menu command; anything but Kids or Professional is Normal.
void TForm1::StartMode(int32_t mode) {
    switch (mode) {
    case modeKids:
        CmdKids();
        break;
    case modeProfessional:
        CmdProfessional();
        break;
    default:
        CmdNormal();
        break;
    }
}

void TForm1::CmdKids() {
    GameState.ChosenMode = modeKids;
    RequestNewGame();
}

void TForm1::CmdNormal() {
    GameState.ChosenMode = modeNormal;
    RequestNewGame();
}

void TForm1::CmdProfessional() {
    GameState.ChosenMode = modeProfessional;
    RequestNewGame();
}

void TForm1::CmdDaily() {
    options_.FirstDaily = UtcToday();
    options_.FirstSeed = DailySeed(*options_.FirstDaily);
    options_.FirstMode = modeNormal;
    GameState.ChosenMode = modeNormal;
    RequestNewGame();
}

void TForm1::RequestNewGame() {
    Shell.ReturnState = Shell.Word;
    if (GameState.GameTouched)
        OpenMessage(scrMsgNew);
    else
        StartNewGame();
}

void TForm1::StartNewGame() {
    // The first new game of a start that was given a deal (--seed, --daily) is dealt from it.
    if (field_ && options_.FirstSeed) {
        if (options_.FirstMode) GameState.ChosenMode = *options_.FirstMode;
        dailyDay_ = options_.FirstDaily;
        field_->NewGame(GameState.ChosenMode, *options_.FirstSeed);
        options_.FirstSeed.reset();
        options_.FirstDaily.reset();
    } else if (field_) {
        dailyDay_.reset();
        field_->NewGame(GameState.ChosenMode);
    }
    Shell.BackState = scrMenu;
    if (Buttons) Buttons->SelectMode();
    Shell.Word = scrPlaying;
    GameState.GameTouched = false;
    keys_->CentreCursor();
    RequestSave();                               // the game left behind is not offered again
    store_->RememberMode(GameState.CurrentMode); // the next start begins in this mode
}

void TForm1::StartInRememberedMode() {
    StartMode(store_->RememberedMode());
}

bool TForm1::GameInProgress() const {
    return field_ && !StartSequence() && !DemoActive() && field_->GameCounted &&
           !field_->GameOver && field_->HasBalls();
}

void TForm1::MarkScreenButton(int index) {
    if (Buttons && index < static_cast<int>(Buttons->Items.size()))
        Buttons->Items[static_cast<size_t>(index)].Selected = true;
}

void TForm1::ShowScreen(uint32_t word, int button) {
    Tables.HighScorePage = GameState.CurrentMode;
    Tables.StatisticsShown = false;
    if (HasFlag(Shell.Word, scrPlaying)) Shell.BackState = Shell.Word;
    Shell.Word = word;
    if (Buttons) Buttons->SelectMode();
    MarkScreenButton(button);
}

void TForm1::CmdOptions() {
    ShowScreen(scrOptions, btnOptions);
}

void TForm1::CmdInstructions() {
    ShowScreen(scrHelp, btnInstructions);
    Help.Page = 0;
}

void TForm1::CmdHighScores() {
    ShowScreen(scrHighScores, btnHighScores);
}

void TForm1::CmdExit() {
    if (HasFlag(Shell.Word, scrMsgExit)) return;
    OpenMessage(scrMsgExit);
}

// The arrows go round six pages: the three tables, then the three modes' statistics.
void TForm1::CmdPreviousTable() {
    if (Tables.HighScorePage == 0) Tables.StatisticsShown = !Tables.StatisticsShown;
    Tables.HighScorePage =
        Tables.HighScorePage == 0 ? 2 : static_cast<uint8_t>(Tables.HighScorePage - 1);
}

void TForm1::CmdNextTable() {
    if (Tables.HighScorePage >= 2) Tables.StatisticsShown = !Tables.StatisticsShown;
    Tables.HighScorePage =
        Tables.HighScorePage >= 2 ? 0 : static_cast<uint8_t>(Tables.HighScorePage + 1);
}

void TForm1::CmdStatistics() {
    if (Shell.Word == scrHighScores) Tables.StatisticsShown = !Tables.StatisticsShown;
}

// The refusal: a short shake of the undo button, over this many game time units.
constexpr double kUndoShakeTime = 6.0;

void TForm1::CmdUndo() {
    if (Shell.Word != scrPlaying || !field_) return;
    if (field_->Undo()) {
        if (SoundBank) SoundBank->Play(TSample::Click);
        RequestSave(); // kept like a move: a restart shows the board the undo left
    } else {
        undoShake_ = kUndoShakeTime;
    }
}

bool TForm1::FieldAwaitsMove() const {
    return Shell.Word == scrPlaying && field_ && field_->HasBalls() && !field_->GameOver &&
           !field_->Moving && field_->TurnTimer == kTurnIdle;
}

void TForm1::CmdHint() {
    // Professional plays without help.
    if (!FieldAwaitsMove() || GameState.CurrentMode >= 2) return;
    if (!hint_) hint_ = std::make_unique<THintSearch>();
    const TBoard board = BoardOf(*field_);
    hint_->Start(board, PositionSeed(board));
}

bool TForm1::HintPending() const {
    return hint_ && hint_->Busy();
}

void TForm1::HintStep() {
    TMove move;
    uint64_t asked = 0;
    if (!hint_ || !hint_->Poll(move, asked)) return;
    if (!FieldAwaitsMove() || PositionSeed(BoardOf(*field_)) != asked) return; // played on
    if (!field_->Selected || field_->SelX != static_cast<uint8_t>(move.FromX) ||
        field_->SelY != static_cast<uint8_t>(move.FromY))
        field_->Click(move.FromX, move.FromY, 0);
    keys_->ShowCursorAt(move.ToX, move.ToY);
    if (!field_->Hinted) {
        field_->Hinted = true;
        Statistics().GameHinted(GameState.CurrentMode);
    }
}

void TForm1::UpdateUndoButton(double delta) {
    if (!Buttons || btnUndo >= static_cast<int>(Buttons->Items.size())) return;
    TButton& undo = Buttons->Items[btnUndo];
    undo.Disabled = !field_ || !field_->HasUndo();
    undoShake_ = std::max(0.0, undoShake_ - delta);
    // Three swings, two units each, up to 5 pixels to a side, fading out. With reduced motion
    // the button stays still: its faded look tells that there is nothing to take back.
    if (Options.ReducedMotion) undoShake_ = 0.0;
    constexpr double kPi = 3.14159265358979;
    undo.OffsetX = static_cast<int32_t>(
        std::lround(5.0 * std::sin(undoShake_ * kPi) * undoShake_ / kUndoShakeTime));
}

bool TForm1::FieldShowsNoGame() const {
    if (Shell.Word == scrMenu) return true;
    return Shell.Word == scrPlaying && field_ && !field_->HasBalls() &&
           field_->TurnTimer == kTurnIdle;
}

void TForm1::CmdFieldClick() {
    if (!FieldShowsNoGame()) return;
    const int x = ColumnAt(Pointer.X), y = RowAt(Pointer.Y);
    if (Pointer.X < kFieldLeft || Pointer.Y < kFieldTop || !field_ || !field_->Inside(x, y)) return;
    CmdNewGame(); // in the mode whose button is lit, as the invitation's New Game would
}

void TForm1::CmdBack() {
    Shell.Word = Shell.BackState;
    if (Buttons) Buttons->SelectMode();
    RequestSave(); // volumes changed in the options are kept now
}

void TForm1::CmdClearTable() {
    OpenMessage(Tables.StatisticsShown ? scrMsgResetStats : scrMsgClear);
}

void TForm1::CmdPreviousPage() {
    if (Help.Page > 0) --Help.Page;
}

void TForm1::CmdNextPage() {
    const uint8_t last = Strings ? Strings->LastHelpPage : 4;
    if (Help.Page < last) ++Help.Page;
}

void TForm1::CmdMusicDown() {
    if (SoundBank) SoundBank->MusicDown();
}
void TForm1::CmdMusicUp() {
    if (SoundBank) SoundBank->MusicUp();
}
void TForm1::CmdSoundDown() {
    if (SoundBank) SoundBank->SoundDown();
}
void TForm1::CmdSoundUp() {
    if (SoundBank) SoundBank->SoundUp();
}

// The options' check box: full screen on or off at once, as F11.
void TForm1::CmdToggleFullScreen() {
    if (MessageOpen()) return;
    SwitchFullScreenLive();
}

void TForm1::SwitchFullScreenLive() {
    // A page's full screen is the page's to give: asked for, never kept.
    if (HostOwnsFullScreen()) {
        HostSetFullScreen(!HostInFullScreen());
        return;
    }
    if (StartSequence()) return;
    const bool on = !device_->FullScreen();
    if (app_) app_->NoteWindowChange();
    const bool switched = device_->SwitchFullScreen(on);
    if (app_) app_->NoteWindowChange();
    if (!switched) {
        Log.Line(on ? "Cannot switch to full screen" : "Cannot switch back to a window");
        return;
    }
    Options.FullScreen = on;
    // In full screen the game draws its own pointer.
    if (app_) app_->SetCursor(on ? TCursorShape::None : TCursorShape::Arrow);
    store_->KeepFullScreen(on);
}

void TForm1::CmdReducedMotion() {
    SetSwitch(btnReducedMotion, !Options.ReducedMotion);
}

void TForm1::CmdBallSymbols() {
    SetSwitch(btnBallSymbols, !Options.ClearSymbols);
}

void TForm1::CmdTips() {
    SetSwitch(btnTips, !Options.Tips);
}

void TForm1::SetSwitch(int button, bool second) {
    if (MessageOpen()) return;
    if (button == btnReducedMotion && second != Options.ReducedMotion) {
        Options.ReducedMotion = second;
        store_->KeepReducedMotion(second);
    } else if (button == btnBallSymbols && second != Options.ClearSymbols) {
        Options.ClearSymbols = second;
        store_->KeepBallSymbols(second);
        LoadBallSymbols();
    } else if (button == btnTips && second != Options.Tips) {
        if (guidance_) guidance_->SetOn(second);
        Options.Tips = second;
    }
    ShowSwitches();
}

void TForm1::CmdPreviousLanguage() {
    StepLanguage(-1);
}

void TForm1::CmdNextLanguage() {
    StepLanguage(1);
}

// The choices go round: the system's language, then every language in the list. The texts and
// the pictures with words follow at once.
void TForm1::StepLanguage(int step) {
    if (MessageOpen()) return;
    const int count = static_cast<int>(language::All().size()) + 1;
    languageChoice_ = ((languageChoice_ + step) % count + count) % count;
    store_->KeepLanguageChoice(language::ChoiceValue(languageChoice_));
    const std::string code =
        language::Resolve(language::ChoiceValue(languageChoice_), [](const char* name) {
            return static_cast<const char*>(std::getenv(name));
        });
    if (code == language::Current()) return;
    language::SetCurrent(code);
    Log.Line("Language: " + code);
    StartReload(device_->Density(), true);
}

void TForm1::StorePlayerName() {
    const uint8_t mode = GameState.CurrentMode % kHighScoreModes;
    const uint8_t row = Tables.NewEntryRow % kHighScoreRows;
    HighScores.Blocks[mode][row].SetName(Tables.PlayerName);
    Tables.NameSelected = false;
    store_->RememberName(Tables.PlayerName);
    RequestSave();
    Tables.MarkedMode = mode;
    Tables.MarkedRow = row;
    Tables.HighScorePage = mode;
    Tables.StatisticsShown = false;
}

// Yes tests the flags in this order, each seeing what the earlier ones changed.
void TForm1::CmdYes() {
    if (HasFlag(Shell.Word, scrMsgExit)) {
        Terminate();
        return;
    }
    if (HasFlag(Shell.Word, scrMsgNew)) StartNewGame();
    if (HasFlag(Shell.Word, scrMsgOld)) Shell.Word = scrPlaying;
    if (HasFlag(Shell.Word, scrMsgClear)) {
        HighScores.Blocks[Tables.HighScorePage % kHighScoreModes] = FreshHighScoreBlock();
        HighScoreReplays[Tables.HighScorePage % kHighScoreModes] = {};
        if (Tables.MarkedMode == Tables.HighScorePage % kHighScoreModes) Tables.MarkedRow = 255;
        Shell.Word = Shell.ReturnState;
    }
    if (HasFlag(Shell.Word, scrMsgResetStats)) {
        Statistics().Reset(Tables.HighScorePage % kHighScoreModes);
        Shell.Word = Shell.ReturnState;
        WriteSettings(true);
    }
    if (HasFlag(Shell.Word, scrMsgEnterName)) {
        Shell.ReturnState = scrHighScores;
        StorePlayerName();
        RequestNewGame();
    }
    if (HasFlag(Shell.Word, scrMsgLowScore)) {
        Shell.ReturnState = scrHighScores;
        RequestNewGame();
    }
}

void TForm1::CmdNo() {
    if (HasFlag(Shell.Word, scrMsgOld)) {
        if (Buttons) Buttons->SelectMode();
        GameState.Score = 0;
        GameState.GameTouched = false; // declined: nothing is left to protect
        if (field_) field_->Clear();
        RequestSave(); // the declined game is not offered again
    }
    if (HasFlag(Shell.Word, scrMsgEnterName)) {
        Shell.ReturnState = scrHighScores;
        StorePlayerName();
    }
    if (HasFlag(Shell.Word, scrMsgLowScore)) Shell.ReturnState = scrHighScores;
    // A declined new game takes its deal with it (the day's game asked for with D).
    if (HasFlag(Shell.Word, scrMsgNew)) options_.FirstSeed.reset();
    Shell.Word = Shell.ReturnState;
}
