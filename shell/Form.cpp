// The main form's life: construction, the start sequence, the save on exit, the settings file,
// activation and the device-lost handler.
#include "shell/Form.h"

#include "fx/FrameTiming.h"
#include "fx/ParticleEngine.h"
#include "fx/SoundBank.h"
#include "game/GameField.h"
#include "game/GameModes.h"
#include "game/HighScores.h"
#include "game/Random.h"
#include "layout/Layout.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/Cpu.h"
#include "platform/DataPack.h"
#include "platform/Files.h"
#include "platform/HostScreen.h"
#include "platform/Memory.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "render/Catalogue.h"
#include "render/PatternImage.h"
#include "render/PictureReader.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/DataNeeds.h"
#include "shell/DemoPlayer.h"
#include "shell/FormKeys.h"
#include "shell/Guidance.h"
#include "shell/HintSearch.h"
#include "shell/KeptFiles.h"
#include "shell/Language.h"
#include "shell/Log.h"
#include "shell/PictureLoader.h"
#include "shell/Settings.h"
#include "state/GameEndScreens.h"
#include "state/GameState.h"
#include "state/OptionsState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"
#include "ui/Buttons.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"
#include "view/FieldEffects.h"
#include "view/FieldPayoff.h"
#include "view/FieldSounds.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

TForm1* Form1 = nullptr;

namespace {

// A cleared field marks the current mode's button, and no other.
class TModeButtonsFollowField final : public IFieldEvents {
public:
    void FieldCleared() override {
        if (Buttons) Buttons->SelectMode();
    }
};

// A game that ended with a new high score is celebrated before its name is asked for.
class TRecordFollowsField final : public IFieldEvents {
public:
    explicit TRecordFollowsField(TForm1& form) : form_(form) {}
    void GameEnded(const TGameEnd& end) override {
        if (end.Entered()) form_.StartCelebration();
    }

private:
    TForm1& form_;
};

} // namespace

TForm1::TForm1(TFormOptions options) : options_(std::move(options)) {
    // Without a settings file (no usable data folder) there is no statistics file either.
    if (options_.StatsFile.empty() && !options_.ConfigFile.empty())
        options_.StatsFile =
            (std::filesystem::path(options_.ConfigFile).parent_path() / kStatisticsFile).string();
    if (options_.ExtraFile.empty() && !options_.ConfigFile.empty())
        options_.ExtraFile =
            (std::filesystem::path(options_.ConfigFile).parent_path() / kConfigExtraFile).string();
    kept_ =
        std::make_unique<TKeptFiles>(options_.ConfigFile, options_.ExtraFile, options_.StatsFile);
    app_ = options_.Offscreen ? nullptr : (options_.App ? options_.App : &Application);
    IClock& clock = options_.Clock ? *options_.Clock : SystemClock();

    frameTimer_ = std::make_unique<TFrameTimer>(clock, app_);
    frameTimer_->SetFPS(15);
    frameTimer_->OnRealTime = [this](TFrameTimer&, double delta) {
        FrameTimer1RealTime(delta);
        SaveIfRequested();
    };

    device_ = std::make_unique<TRenderDevice>();
    device_->SetAntialias(true);
    device_->SetDithering(false);
    device_->SetHardware(true);
    device_->SetFullScreen(false);
    device_->SetWidth(kPictureWidth);
    device_->SetHeight(kPictureHeight);
    device_->SetBackBufferCount(1);
    device_->SetBitDepth(bd_High);
    device_->SetZBuffer(zb_None);
    device_->SetVSync(false);
    device_->SetRefreshRate(rr_default);
    device_->SetOffscreen(options_.Offscreen);
    device_->OnDeviceLost = [this](TRenderDevice&) { RenderDevice1DeviceLost(); };
    loader_ = std::make_unique<TPictureLoader>(*device_);
    keys_ = std::make_unique<TFormKeys>(*this);

    Form1 = this;
    FrameTimer1 = frameTimer_.get();
    RenderDevice1 = device_.get();
}

TForm1::~TForm1() {
    if (created_ && !destroyed_) FormDestroy();
    if (app_) SetDisplayLostHandler(nullptr);
    // What was created during start-up and loading goes with the form, textures before the device.
    loader_->FreeTextures();
    keys_->FreeTextures();
    Pictures = TPictures{};
    font_.reset();
    Buttons = nullptr;
    Strings = nullptr;
    Font = nullptr;
    SoundBank = nullptr;
    ParticleEngine = nullptr;
    DebrisPhase = nullptr;
    GameField = nullptr;
    device_->DoneDevice();
    if (app_) {
        app_->SetRestQuery(nullptr);
        app_->DestroyMainWindow(!loadingFailed_);
    }
    FrameTimer1 = nullptr;
    RenderDevice1 = nullptr;
    if (Form1 == this) Form1 = nullptr;
}

bool TForm1::InitialiseDevice() {
    int32_t result = device_->InitDevice();
    if (result == -3 && device_->FullScreen() && !device_->DesktopFullScreen()) {
        // No listed 800 x 600 mode: full screen on the desktop's own mode, picture scaled and
        // centred.
        Log.Line("No 800x600 display mode; using the desktop mode with the picture scaled");
        device_->SetDesktopFullScreen(true);
        result = device_->InitDevice();
    }
    if (result != 0) return false;
    if (app_) {
        app_->SetPointMapper(
            [this](int32_t& x, int32_t& y) { return device_->WindowToPicture(x, y); },
            kPictureWidth, kPictureHeight);
    }
    return true;
}

bool TForm1::FormCreate() {
    created_ = true;
    try {
        return CreateSteps();
    } catch (const std::bad_alloc&) {
        FailShortOfMemory("while starting");
    } catch (const std::system_error& e) {
        FailShortOfMemory(std::string("while starting (") + e.what() + ")");
    }
    return false;
}

bool TForm1::CreateSteps() {
    // The window is borderless in full screen and on a desktop of the picture's size. Both random
    // generators are seeded from the clock, once.
    bool borderless = false;
    if (Options.FullScreen) {
        borderless = true;
        device_->SetFullScreen(true);
    }
    int64_t seed = 0;
    (options_.Clock ? *options_.Clock : SystemClock()).QueryPerformanceCounter(seed);
    RandSeed(static_cast<uint64_t>(seed));
    DecorSeed(static_cast<uint64_t>(seed));
    if (app_) {
        int32_t dw = 0, dh = 0;
        app_->DesktopSize(dw, dh);
        if (dw == kPictureWidth && dh == kPictureHeight) borderless = true;
        std::string error;
        if (!app_->CreateMainWindow("Velm Orra (loading...)", kPictureWidth, kPictureHeight,
                                    borderless, this, &error)) {
            Log.Start(options_.LogFile);
            Log.Line("Cannot open the window: " + error);
            return false;
        }
        // Without a display nothing can be shown any more; what the player has is still saved.
        SetDisplayLostHandler([this] {
            Log.Line("The connection to the display was lost");
            if (!destroyed_) FormDestroy();
        });
        app_->SetCursor(TCursorShape::AppStart);
        app_->PaintStartText("Initializing...", kStartText.X, kStartText.Y);
        device_->SetOwnerWindow(app_->MainWindow());
        app_->SetRestQuery([this] { return AtRest(); });
    }

    // The logo comes first, and the log starts afresh.
    Shell.Word = scrLogo;
    Tables.PlayerName = "Player";
    Log.Start(options_.LogFile);
    for (const std::string& note : options_.StartNotes) Log.Line(note);

    // The device, then the adapter and the processor into the log.
    Log.Line("Initializing Direct3D Device...");
    if (InitialiseDevice()) {
        Log.Line("...Ok");
        // The pictures load at the density the window shows them at from the start.
        if (device_->SetDensity(WantedDensity()) && device_->Density() > 1)
            Log.Line("Pictures at " + std::to_string(device_->Density()) + "x");
    }
    const TAdapterInfo& adapter = device_->AdapterInfo();
    Log.Line(std::string("Device - ") + adapter.Description + " (" + adapter.Driver + ")");
    std::string vendor, brand;
    ReadCpuIdentification(vendor, brand);
    Log.Line("CPU - " + vendor + " " + brand);

    // The pictures come from the data pack when the data folder holds one.
    std::string packError;
    if (const size_t packed = OpenDataPack(paths::DataDir(), &packError))
        Log.Line("Pictures from " + std::string(kDataPackName) + " (" + std::to_string(packed) +
                 " files)");
    else if (!packError.empty())
        Log.Line("Cannot use the picture pack (" + packError + "); the data folder's files serve");

    // The pictures of the logo; the others load under the loading bar.
    Log.Line("Initializing Font Render Device...");
    Log.Line("Loading textures...");
    {
        std::vector<const TCatalogueEntry*> entries;
        for (const TCatalogueEntry& entry : StartupCatalogue()) entries.push_back(&entry);
        const std::unique_ptr<TPictureReader> reader = loader_->ReadAhead(entries);
        for (size_t i = 0; i < entries.size(); ++i)
            loader_->LoadPicture(*entries[i], reader.get(), i);
    }
    EndIfShortOfMemory();

    // The frames start; the logo's letters wait 20 units before they move.
    Log.Line("Starting Logo");
    frameTimer_->MayRealTime = true;
    logo_.LogoClock = -20.0;
    Shell.ReturnState = scrMenu;
    Shell.BackState = scrMenu;

    // The field with its listeners, and the particle engine.
    field_ = std::make_unique<TGameField>(kFieldCells, kFieldCells, ScreenGameContext(&stats_));
    GameField = field_.get();
    // The game's end turns into its screens before any other listener hears of it.
    fieldListeners_.push_back(std::make_unique<TGameEndScreens>());
    fieldListeners_.push_back(std::make_unique<TFieldSounds>());
    fieldListeners_.push_back(std::make_unique<TFieldEffects>());
    fieldListeners_.push_back(std::make_unique<TModeButtonsFollowField>());
    fieldListeners_.push_back(std::make_unique<TRecordFollowsField>(*this));
    auto payoff = std::make_unique<TFieldPayoff>();
    payoff_ = payoff.get();
    fieldListeners_.push_back(std::move(payoff));
    auto guidance = std::make_unique<TGuidance>(*field_);
    guidance_ = guidance.get();
    fieldListeners_.push_back(std::move(guidance));
    for (const auto& listener : fieldListeners_) field_->AddListener(listener.get());
    demo_ = std::make_unique<TDemoPlayer>(*field_, guidance_);
    particles_ = std::make_unique<TVOParticleEngine>(device_.get(), kPictureHeight);
    ParticleEngine = particles_.get();
    DebrisPhase = &field_->BouncePhase;
    // How the game moves, marks its balls and guides: read before the balls' pictures load.
    ReadAccessSettings();
    // The data those pictures need starts on its way while the logo plays; the first tips speak
    // of the input the host expects until another is used.
    RequestData(loader_->NeededData(device_->Density()));
    if (app_ && HostPrefersTouch()) inputKind_ = TInputKind::Touch;
    // Activation reaches ApplicationActivate / ApplicationDeactivate through the App layer.
    return true;
}

void TForm1::FormDestroy() {
    StopDemo();
    destroyed_ = true;
    // A game that ended but has not reached its table yet (its board shown, or emptying) gets
    // its place now, under the name last typed.
    if (field_ && field_->GameOver && Shell.Word != scrLogo && Shell.Word != scrLoading) {
        field_->GameOver = false;
        field_->EndGame();
        if (HasFlag(Shell.Word, scrMsgEnterName)) StorePlayerName();
    }
    Log.Line("Saving config ...");
    if (options_.ConfigFile.empty())
        Log.Line("There is no folder to keep Config.bin in; nothing was saved");
    else if (!settingsLoaded_)
        Log.Line("Config.bin was not read in this run and is left as it is");
    // The statistics after the settings, which matter more; each left alone when not read.
    WriteSettings(true);
    if (!loadingFailed_ && !HostOwnsFullScreen() &&
        !TRegistry().WriteInteger("Fullscreen", Options.FullScreen ? 1 : 0))
        Log.Line("Cannot save the full-screen setting");
}

// The pictures keep no copy of their texels beside the device's: when the loss took the textures'
// contents, they are read again from their files.
void TForm1::RenderDevice1DeviceLost() {
    if (!device_->ResetDevice()) return;
    std::vector<TPatternImage*> sets = loader_->Sets();
    if (font_ && font_->Glyphs) sets.push_back(font_->Glyphs);
    int reloaded = 0;
    for (TPatternImage* set : sets) {
        if (!set->ContentsLost()) continue;
        std::string error;
        if (set->Reload(&error) == 0)
            ++reloaded;
        else if (!error.empty())
            Log.Line("Cannot load again: " + error);
    }
    if (reloaded > 0)
        Log.Line("Pictures loaded again after a lost device: " + std::to_string(reloaded));
}

// While another window has the focus the game stands still: its time does not pass and the
// music pauses. Frames still run (at the rest rate, drawing only what changed, which is
// nothing), so that whatever a window uncovers is painted again; a press or key given to the
// unfocused window resumes the game as the focus would.
void TForm1::ApplicationActivate() {
    paused_ = false;
    frameTimer_->MayProcess = true;
    if (SoundBank) SoundBank->ResumeMusic();
}

void TForm1::ApplicationDeactivate() {
    paused_ = true;
    frameTimer_->MayProcess = false;
    if (SoundBank) SoundBank->PauseMusic();
}

void TForm1::Terminate() {
    terminated_ = true;
    if (app_) app_->Terminate();
}

void TForm1::ReadSettings() {
    stats_ = kept_->ReadStatistics();
    finishedSeen_ = FinishedGames();
    Log.Line("Loading config ...");
    const TKeptConfig kept = kept_->ReadConfig();
    settingsLoaded_ = kept_->ConfigWritable();
    const TConfigContents& c = kept.Contents;
    HighScores = c.Table;
    Options.MusicVolume = c.MusicVolume;
    Options.SoundVolume = c.SoundVolume;
    if (!c.HasGame) {
        StartInRememberedMode();
        return;
    }
    Log.Line("Config.bin holds a game of " + std::to_string(c.Game.Score) + " points");
    GameState.CurrentMode = c.Game.Mode;
    // "Play again" after the restored game ends starts the mode that game was played in.
    GameState.ChosenMode = c.Game.Mode;
    GameState.Score = c.Game.Score;
    // A kept game has moves: whatever would discard it asks first, as in the run it was played.
    GameState.GameTouched = true;
    field_->BallsPerTurn = c.Game.BallsPerTurn;
    for (size_t i = 0; i < c.Game.Preview.size(); ++i) field_->Preview[i] = c.Game.Preview[i];
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y)
            field_->Cell(x, y) = c.Game.Cells[static_cast<size_t>(x)][static_cast<size_t>(y)];
    field_->GameCounted = true; // counted as played when it began
    if (kept.Extra.HasRandom) {
        SetRandState(kept.Extra.Random);
        field_->History.SetReplayStates(kept.Extra.Replay);
    }
    if (Buttons) Buttons->SelectMode();
    Shell.Word = scrMessageBox + scrMsgOld + scrPlaying;
}

std::vector<uint8_t> TForm1::EncodeCurrent() const {
    TSavedGame game;
    const bool hasGame = GameInProgress();
    game.Mode = GameState.CurrentMode;
    game.Score = GameState.Score;
    if (field_) {
        game.BallsPerTurn = field_->BallsPerTurn;
        for (size_t i = 0; i < game.Preview.size(); ++i) game.Preview[i] = field_->Preview[i];
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y)
                game.Cells[static_cast<size_t>(x)][static_cast<size_t>(y)] = field_->Cell(x, y);
    }
    return EncodeConfig(HighScores, Options.MusicVolume, Options.SoundVolume, hasGame, game);
}

TConfigExtra TForm1::EncodeExtra() const {
    TConfigExtra extra;
    if (GameInProgress()) {
        extra.HasRandom = true;
        extra.Random = RandState();
        extra.Replay = field_->History.ReplayStates();
    }
    for (size_t m = 0; m < HighScores.Blocks.size(); ++m)
        for (size_t r = 0; r < HighScores.Blocks[m].size(); ++r)
            extra.Scores[m][r] = HighScores.Blocks[m][r].Points();
    return extra;
}

bool TForm1::WriteSettings(bool statistics) {
    const std::string stats = stats_.ToText();
    const bool saved = kept_->Save(EncodeCurrent(), EncodeExtra(), statistics ? &stats : nullptr);
    if (statistics && saved) finishedSeen_ = FinishedGames();
    return saved;
}

void TForm1::SaveIfRequested() {
    if (DemoActive()) return; // its turns are nobody's game
    if (field_ && field_->TurnsCompleted != savedTurns_) {
        savedTurns_ = field_->TurnsCompleted;
        saveRequested_ = true;
    }
    if (!saveRequested_) return;
    saveRequested_ = false;
    // Only what the file was read from may be replaced, and only with something new.
    if (!settingsLoaded_ || destroyed_) return;
    if (kept_->ConfigSaved(EncodeCurrent(), EncodeExtra())) return;
    WriteSettings();
}
