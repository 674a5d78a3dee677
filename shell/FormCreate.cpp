// The start sequence: the window, the device, the log's first lines, the logo's pictures, and the
// field with its listeners.
#include "shell/Form.h"

#include "fx/FrameTiming.h"
#include "fx/ParticleEngine.h"
#include "game/GameField.h"
#include "game/Random.h"
#include "layout/Layout.h"
#include "platform/Clock.h"
#include "platform/Cpu.h"
#include "platform/HostScreen.h"
#include "render/RenderDevice.h"
#include "shell/DataNeeds.h"
#include "shell/DemoPlayer.h"
#include "shell/Guidance.h"
#include "shell/Log.h"
#include "shell/PictureLoader.h"
#include "shell/SettingsStore.h"
#include "shell/TableReplays.h"
#include "state/GameEndScreens.h"
#include "state/GameState.h"
#include "state/OptionsState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"
#include "ui/Buttons.h"
#include "view/FieldEffects.h"
#include "view/FieldPayoff.h"
#include "view/FieldSounds.h"

#include <new>
#include <system_error>

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
        form_.DailyGameEnded(end);
    }

private:
    TForm1& form_;
};

} // namespace

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

// The field with its listeners (the game's end screens first, then sounds, effects, the mode
// buttons, the record, the payoff and the tips), the tables' recorder, the demo and the particle
// engine.
void TForm1::CreateField() {
    field_ = std::make_unique<TGameField>(kFieldCells, kFieldCells,
                                          ScreenGameContext(&store_->Statistics()));
    GameField = field_.get();
    // The game's end turns into its screens before any other listener hears of it.
    fieldListeners_.push_back(std::make_unique<TGameEndScreens>());
    fieldListeners_.push_back(std::make_unique<TFieldSounds>());
    fieldListeners_.push_back(std::make_unique<TFieldEffects>());
    // The demo's game is heard and seen through these: its sounds, effects and payoff.
    std::vector<IFieldEvents*> demoListeners = {fieldListeners_[1].get(), fieldListeners_[2].get()};
    fieldListeners_.push_back(std::make_unique<TModeButtonsFollowField>());
    fieldListeners_.push_back(std::make_unique<TRecordFollowsField>(*this));
    auto payoff = std::make_unique<TFieldPayoff>();
    payoff_ = payoff.get();
    demoListeners.push_back(payoff_);
    fieldListeners_.push_back(std::move(payoff));
    auto guidance = std::make_unique<TGuidance>(*field_);
    guidance_ = guidance.get();
    fieldListeners_.push_back(std::move(guidance));
    for (const auto& listener : fieldListeners_) field_->AddListener(listener.get());
    tableRecorder_ = std::make_unique<TTableRecorder>(*field_, HighScoreReplays);
    replayMarks_ = std::make_unique<TReplayMarks>();
    demo_ = std::make_unique<TDemoPlayer>(*field_, guidance_, std::move(demoListeners));
    particles_ = std::make_unique<TVOParticleEngine>(device_.get(), kPictureHeight);
    ParticleEngine = particles_.get();
    DebrisPhase = &field_->BouncePhase;
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
    Tables.PlayerName = store_->RememberedName();
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

    loader_->OpenPack();

    // The pictures of the logo; the others load under the loading bar.
    Log.Line("Initializing Font Render Device...");
    Log.Line("Loading textures...");
    loader_->LoadStartup();
    EndIfShortOfMemory();

    // The frames start; the logo's letters wait 20 units before they move.
    Log.Line("Starting Logo");
    frameTimer_->MayRealTime = true;
    logo_.LogoClock = -20.0;
    Shell.ReturnState = scrMenu;
    Shell.BackState = scrMenu;

    CreateField();
    // How the game moves, marks its balls and guides: read before the balls' pictures load.
    ReadAccessSettings();
    // The data those pictures need starts on its way while the logo plays; the first tips speak
    // of the input the host expects until another is used.
    RequestData(loader_->NeededData(device_->Density()));
    if (app_ && HostPrefersTouch()) inputKind_ = TInputKind::Touch;
    // Activation reaches ApplicationActivate / ApplicationDeactivate through the App layer.
    return true;
}
