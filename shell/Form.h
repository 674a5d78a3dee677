#pragma once
// TForm1: the main form. It owns the frame timer and the render device, creates everything else
// during start-up and loading, runs the frame handler, and turns input into commands.
#include "game/DailySeed.h"
#include "game/Statistics.h"
#include "platform/App.h"
#include "shell/Arrangement.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class IAudio;
class IClock;
class IFieldEvents;
class TFrameTimer;
class TGameField;
class TPatternImage;
class TPictureLoader;
class TPictureReader;
class TRenderDevice;
class TSettingsStore;
struct TGameEnd;
class TSoundBank;
class TVOFont;
class TVOParticleEngine;
class TVOStrings;
class TButtons;
class TDemoPlayer;
class TTableRecorder;
class TReplayMarks;
class TReplayPlayer;
class TFormKeys;
class TFieldPayoff;
class TGuidance;
class THintSearch;
struct TCatalogueEntry;
struct TShellGame;

// How a form is built. The defaults are the real game; tests draw offscreen with a fake clock and
// a recording audio double.
struct TFormOptions {
    bool Offscreen = false;      // draw into memory instead of a window
    IClock* Clock = nullptr;     // null: the system clock
    IAudio* Audio = nullptr;     // null: the form opens the real audio output
    TApplication* App = nullptr; // null: the global Application (ignored offscreen)
    std::string LogFile = "Log.txt";
    std::string ConfigFile = "Config.bin"; // empty: nothing is read or written
    std::string StatsFile;                 // empty: "Stats.txt" in the folder of ConfigFile
    int Density = 1;       // offscreen: back-buffer pixels per picture pixel (a window: its own)
    std::string ExtraFile; // empty: "Config.extra" in the folder of ConfigFile
    std::vector<std::string> StartNotes; // what the start found before the log began, logged
    bool Demo = true; // false: the demo never starts (end-to-end tests that drive the game)
    // The first new game is dealt from FirstSeed, in FirstMode when one is given (--seed, --daily).
    std::optional<uint64_t> FirstSeed;
    std::optional<uint8_t> FirstMode;
    // The day whose game FirstSeed deals (--daily, D).
    std::optional<TDate> FirstDaily;
};

// Logo and loading progress (the logo phases run 0 letters, 1 flare, 2 shine).
struct TLogoState {
    uint8_t Phase = 0;
    double LogoClock = 0.0; // -20 at start, capped at 32
    double FlareClock = 0.0;
    double ShineClock = 0.0;
    double LoadProgress = 0.0; // 195 is a full bar
};

class TForm1 final : public IFormEvents {
public:
    explicit TForm1(TFormOptions options = {});
    ~TForm1() override; // FormDestroy, then the components
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // The start sequence; false when the program cannot go on (no window).
    bool FormCreate();
    void FormDestroy();
    void RenderDevice1DeviceLost();
    // The frame handler: the frame timer's OnRealTime.
    void FrameTimer1RealTime(double delta);

    // True while nothing the player caused is moving: no logo or loading, no travelling or
    // appearing ball, no turn in progress, no particle but the idle sparkles, no fade. Only
    // animation that steps a pattern a game time unit runs then (the ambient loops, a selected
    // ball's bounce, a tip's pulse), which needs fewer frames a second; input wakes a frame at
    // once.
    bool AtRest() const;

    // IFormEvents
    void FormMouseMove(uint32_t shift, int32_t x, int32_t y) override;
    void FormMouseDown(int32_t button, uint32_t shift, int32_t x, int32_t y) override;
    void FormMouseUp(int32_t button, uint32_t shift, int32_t x, int32_t y) override;
    void FormKeyDown(uint16_t& key, uint32_t shift) override;
    void FormKeyPress(char& key) override;
    void FormCloseQuery(bool& canClose) override;
    void ApplicationActivate() override;
    void ApplicationDeactivate() override;
    void FormInputKind(TInputKind kind) override { inputKind_ = kind; }
    // The kind of input used last (at first the one the host expects): the tips word their
    // advice for it.
    TInputKind InputKind() const { return inputKind_; }

    // Commands of the buttons and the answers.
    void CmdNewGame();
    void StartMode(int32_t mode);
    void CmdKids();
    void CmdNormal();
    void CmdProfessional();
    void RequestNewGame();
    // A new game of Normal dealt from today's seed (the UTC date; D): the same deal for everybody
    // that day. A game in progress is asked about first, as for New Game.
    void CmdDaily();
    void StartNewGame();
    void CmdOptions();
    void CmdInstructions();
    void CmdHighScores();
    void CmdExit();
    void CmdPreviousTable();
    void CmdNextTable();
    void CmdBack();
    void CmdClearTable();
    void CmdPreviousPage();
    void CmdNextPage();
    void CmdMusicDown();
    void CmdMusicUp();
    void CmdSoundDown();
    void CmdSoundUp();
    void CmdToggleFullScreen();
    // Full screen on and off at once (F11, Alt+Enter), stored for the next start; the options'
    // check box follows.
    void SwitchFullScreenLive();
    void CmdPreviousLanguage();
    void CmdNextLanguage();
    void CmdYes();
    void CmdNo();
    // Takes back the last move where the mode allows it, on the playing screen with no message;
    // with nothing to take back there the undo button shakes.
    void CmdUndo();
    // On the high-score screen: between the mode's table and its statistics.
    void CmdStatistics();
    // Asks the game's own player for a move (H, the pad's Y) on the playing screen while the
    // field waits for the player, in Kids and Normal (Professional has no hints). The answer
    // comes frames later (HintStep) and shows as the selected ball with the cursor on its
    // target, the path between them previewed.
    void CmdHint();
    bool HintPending() const;

    // The replay of a table entry, watched on the high-score screen: its game plays again on a
    // field of its own at a watching pace (nothing of the player's game, tables or files is
    // touched). Space or a left click pauses, F or + goes faster (up to 8 times), Escape,
    // Backspace or a right click stops; leaving the table stops too. False when the entry has no
    // replay.
    bool CmdWatchReplay(size_t mode, size_t row);
    bool Watching() const { return watch_ != nullptr; }
    const TReplayPlayer* WatchedReplay() const { return watch_.get(); }
    void StopWatching();
    // The seed of the game dealt last on the field in this run (none for a kept game resumed).
    std::optional<uint64_t> LastSeed() const;

    // The demo (shell/DemoPlayer.h): the game's own player on the field while nobody plays.
    bool DemoActive() const;
    void StopDemo();
    // A click on the field while it shows no game: a new game in the mode whose button is lit.
    void CmdFieldClick();
    // The Options screen's switches: reduced motion, the symbols on the balls (faint or clear),
    // the first-game tips. Each is stored in the registry file at once; the symbols load their
    // ball pictures again.
    void CmdReducedMotion();
    void CmdBallSymbols();
    void CmdTips();
    // A switch's choice by key: the left (first) or right (second) one.
    void SetSwitch(int button, bool second);

    // The moments of the game: the field's shake and the score counting up, a screen changing
    // with a cross-fade, a new high score celebrated before its name is asked for.
    TFieldPayoff* Payoff() const { return payoff_; }
    TGuidance* Guidance() const { return guidance_; }
    int32_t ShownScore() const;
    bool CrossFading() const { return fadeLeft_ > 0; }
    bool Celebrating() const { return recordLeft_ > 0; }
    // A new high score's banner and fanfare over the table; its name entry opens under it and
    // shows when it ends: after a while, or at once on a press (which does nothing else) or a
    // key (which then does what it does in the name entry).
    void StartCelebration();
    // A game has ended: today's daily game keeps its result (shell/FormDaily.cpp).
    void DailyGameEnded(const TGameEnd& end);
    // The share text of the daily game that ended last in this run; empty before one.
    const std::string& DailyShareText() const { return dailyShare_; }
    // Today's share text: the last daily game's of this run, else made from today's kept result
    // (without the course, which the file does not keep); empty when today has no result.
    std::string TodayShareText() const;
    // Copies TodayShareText to the clipboard (C on the Statistics page).
    void CmdCopyDaily();
    // Today's result and the streak on the Statistics page, under the seed's line.
    void DrawDailyLine();
    void EndCelebration();

    TStatistics& Statistics();
    // The game summary's rows as drawn: each label (the last one the new best's mark when the
    // game set it) with its figure.
    std::vector<std::pair<std::string, std::string>> SummaryRows() const;

    // The player's files (Config.bin, Config.extra, Stats.txt; shell/SettingsStore.h), read at
    // the end of the loading step. WriteSettings writes at once what changed, with `statistics`
    // the statistics file too (when a game has ended, on a reset and at the end); RequestSave asks
    // for a write after the current frame, which happens only when the files would change. A
    // completed turn requests one by itself.
    void ReadSettings();
    bool WriteSettings(bool statistics = false);
    void RequestSave();
    // After each frame: writes "Config.bin" when a save was requested or a turn was completed.
    void SaveIfRequested();

    // Pictures and texts loaded again while the game runs: at another density when the window
    // shows a picture pixel at another size, in another language when the player picks one. The
    // loaded pictures and the font's glyphs are released first (one set in memory at a time), then
    // loaded again a few at a time, each frame under the loading bar lasting about one display
    // refresh and one picture; the screen and the game underneath stay as they were, and input
    // waits. `texts` reads the string table again as well. A reload under way starts over.
    void StartReload(int32_t density, bool texts);
    bool Reloading() const;
    // The density the pictures should have now: 2 where a picture pixel shows larger than 1.25
    // real pixels, 1 otherwise (offscreen: the options' density).
    int32_t WantedDensity() const;

    // Logo and loading.
    void LogoStep(double delta);
    // Ends the logo as if it had run to its end (a click or key during it); no-op otherwise.
    void SkipLogo();
    void LoadingStep();

    // A game with at least one move is on the field and not over: it is kept whatever screen
    // the program is left from (and offered again at the next start).
    bool GameInProgress() const;

    TFrameTimer& FrameTimer() { return *frameTimer_; }
    TRenderDevice& Device() { return *device_; }
    TLogoState& Logo() { return logo_; }
    TFormKeys& Keys() { return *keys_; }
    bool Terminated() const { return terminated_; }
    bool Paused() const { return paused_; }
    // True once the settings file has been read: only then is it written at the end.
    bool SettingsLoaded() const;
    // The loading step stopped (a missing string table or font) and the program is ending.
    bool LoadingFailed() const { return loadingFailed_; }
    // Why the start or the loading failed.
    const std::string& FailureReason() const { return failure_; }

private:
    void Terminate();
    void OpenMessage(uint32_t flag);
    void StorePlayerName();
    void MarkScreenButton(int index);
    void ShowScreen(uint32_t word, int button);
    // Loads the pictures again for about a refresh under the loading bar; the texts with them
    // when asked for.
    void ReloadStep();
    // While pictures load again: a small bar of their share in the corner, over the screen.
    void DrawReloadMark();
    // True once the data the loading step reads is there, or will not come (what is missing is
    // then drawn without it); until then it shows the loading screen as the logo left it.
    bool LoadingDataArrived();
    // Once a frame: the caret's blink and the small logo's animation.
    void AdvanceFrameClocks(double delta);
    // Once a frame on a page: the arrangement for the page's shape, and its full-screen state.
    void FollowPage();
    // Starts a reload once the window has wanted another density for a moment.
    void FollowWindowDensity();
    void ProgressLoad(const TCatalogueEntry& entry, TPictureReader& reader, size_t index);
    void DrawBackdrop();
    void DrawProgressBar(int32_t revealRight);
    int32_t ProgressBarRight() const;
    void DrawQuadrants(TPatternImage* image);
    void DrawScreenHead(const std::string& title);
    // The solid card the Options and High Scores screens stand on, over the field's cells.
    void DrawCard();
    void DrawOptions();
    void DrawHighScores();
    // The playing screen's frame: the field's (its update, then its drawing), the score's count,
    // then the rest of the screen drawn.
    void PlayFrame(double delta);
    void DrawPlaying();
    void DrawMessageBox();
    void DrawStatistics(uint8_t mode);
    void DrawInvitation();
    void DrawGameEndLine(uint16_t centreX, uint16_t y);
    // The summary of the game that ended last, under its game-end message; the mode's best
    // score by the score while playing.
    void DrawGameSummary();
    void DrawPersonalBest();
    void CountPlayTime(double delta);
    // The field shows no game: the menu over the empty grid, or the playing screen emptied by
    // the end of a game. No message is open.
    bool FieldShowsNoGame() const;
    void AddButtons();
    // The switches show the choices of the options.
    void ShowSwitches();
    // The registry's reduced motion and symbols, and the tips' state; before the pictures load.
    void ReadAccessSettings();
    // The ball pictures with symbols again, in the look the options ask for (one set in memory).
    void LoadBallSymbols();
    void DrawAccessPanel();
    // The clocks of the score's count, the celebration and the cross-fade move by `delta`; the
    // drawings show them as they stand.
    void AdvanceScore(double delta);
    void DrawScore();
    void AdvanceCelebration(double delta);
    void DrawCelebration();
    // Starts a cross-fade from the frame presented last when the screen shown has changed.
    void FollowScreen();
    void AdvanceCrossFade(double delta);
    void DrawCrossFade();
    bool InitialiseDevice();
    bool StartAudio();
    void FailLoading(const std::string& message);
    // Out of memory at the start or while loading: the program ends, writing nothing.
    void FailShortOfMemory(const std::string& when);
    void EndIfShortOfMemory();
    void CreateField();
    bool CreateSteps();    // FormCreate's work; may throw std::bad_alloc
    void LoadEverything(); // the loading step's work; may throw std::bad_alloc
    // The font and the string table, each read once; false with the reason while either is
    // missing. LoadTextsEarly reads them for the logo screen once their data is there.
    bool LoadFontAndTexts(std::string* error);
    void LoadTextsEarly();
    // A new game in the mode of the last one started (kept in the registry), Normal at first.
    void StartInRememberedMode();
    // Once a frame before anything is drawn: the undo button's look and shake.
    void UpdateUndoButton(double delta);
    // Once a frame before the keys move the pointer: a finished hint search shows its move when
    // the position it was asked for still stands.
    void HintStep();
    // The field waits for the player's move: a game on it, nothing moving, no message.
    bool FieldAwaitsMove() const;
    // Once a frame: counts the idle time, starts the demo, and plays its moves.
    void DemoStep(double delta);
    // No game on the field (none, or one dealt but not played) and no message.
    bool DemoMayStart() const;
    // Any input: the idle time starts again; true when it ended a demo (the input is spent).
    bool NoteInput();
    void DrawDemoLabel();
    // The end of a game on the field: its board dimmed, with the reason.
    void DrawFinalBoard();
    void DrawNameEntry();
    // Once a frame: the watched replay moves on (stopped when its table is left).
    void WatchStep(double delta);
    // Keys and presses while a replay is watched; true when spent.
    bool WatchKey(uint16_t key);
    bool WatchPress(int32_t button);
    void DrawWatching();
    // The marks of the entries with a replay, and the line that explains them.
    void DrawReplayMarks(uint8_t page);

    TFormOptions options_;
    TApplication* app_ = nullptr;
    std::unique_ptr<TFrameTimer> frameTimer_;
    std::unique_ptr<TRenderDevice> device_;
    std::unique_ptr<IAudio> ownedAudio_;
    IAudio* audio_ = nullptr;
    std::unique_ptr<TGameField> field_;
    // The field's listeners: its sounds, its effects, and the mode buttons (which follow a
    // cleared field).
    std::vector<std::unique_ptr<IFieldEvents>> fieldListeners_;
    std::unique_ptr<TVOParticleEngine> particles_;
    std::unique_ptr<TSoundBank> sounds_;
    std::unique_ptr<TButtons> buttons_;
    std::unique_ptr<TVOFont> font_;
    std::unique_ptr<TVOStrings> strings_;
    bool earlyTextsTried_ = false; // the logo's attempt at the font and the texts was made
    std::unique_ptr<TPictureLoader> loader_; // the pictures, loaded and loaded again
    bool dataFailureLogged_ = false;
    TArrangement arrangement_ = TArrangement::Whole;
    std::unique_ptr<TFormKeys> keys_;
    TLogoState logo_;
    int32_t pressCellX_ = 0, pressCellY_ = 0;
    // The Options screen's language choice (language::ChoiceIndex), read when the buttons are
    // made; a change is stored and takes effect at once (through a reload).
    int languageChoice_ = 0;
    void StepLanguage(int step);
    bool created_ = false;
    bool destroyed_ = false;
    bool terminated_ = false;
    bool loadingFailed_ = false;
    std::string failure_;
    bool paused_ = false;                   // another window has the focus: game time stands still
    std::unique_ptr<TSettingsStore> store_; // what the player keeps between runs
    std::optional<TDate> dailyDay_;         // the day whose game is on the board, if it is one
    std::string dailyShare_;
    bool progressShown_ = false;        // a progress frame of the loading step has been presented
    int64_t lastProgressFrame_ = 0;     // its performance-counter time
    double undoShake_ = 0.0;            // game time units left of the undo button's refusal shake
    std::unique_ptr<THintSearch> hint_; // made at the first hint
    std::unique_ptr<TDemoPlayer> demo_; // made with the field
    // Records the games on the field for the tables' replays; after the field, gone before it.
    std::unique_ptr<TTableRecorder> tableRecorder_;
    std::unique_ptr<TReplayMarks> replayMarks_;
    // The replay watched, if any; deleted where its player's type is known (FormReplays.cpp),
    // so that the form's other parts need not include it.
    struct TWatchEnd {
        void operator()(TReplayPlayer* player) const;
    };
    std::unique_ptr<TReplayPlayer, TWatchEnd> watch_;
    uint8_t watchPage_ = 0; // the table it was started from

    TInputKind inputKind_ = TInputKind::Mouse;
    TFieldPayoff* payoff_ = nullptr; // owned among the field's listeners
    TGuidance* guidance_ = nullptr;
    double shownScore_ = 0.0; // the score box's figure, counting up to the score
    double scoreGlow_ = 0.0;  // units the score box still glows
    // The cross-fade: the frame before the change, drawn over the new screen as it fades.
    std::unique_ptr<TPatternImage> fadeFrom_;
    double fadeLeft_ = 0.0;    // units
    uint64_t shownScreen_ = 0; // what the last frame showed (0: nothing yet)
    // A new high score's celebration, before the name entry's message.
    double recordLeft_ = 0.0; // units
    double recordAge_ = 0.0;
};

extern TForm1* Form1;
