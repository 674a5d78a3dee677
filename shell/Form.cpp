// The main form's life: its components made and torn down, activation and the device-lost
// handler. The start sequence is in FormCreate.cpp, the save on exit in FormSettings.cpp.
#include "shell/Form.h"

#include "fx/FrameTiming.h"
#include "fx/ParticleEngine.h"
#include "fx/SoundBank.h"
#include "game/GameField.h"
#include "layout/Layout.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"
#include "shell/DemoPlayer.h"
#include "shell/FormKeys.h"
#include "shell/HintSearch.h"
#include "shell/PictureLoader.h"
#include "shell/SettingsStore.h"
#include "shell/TableReplays.h"
#include "state/GameState.h"
#include "ui/Buttons.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(TFormOptions options) : options_(std::move(options)) {
    store_ = std::make_unique<TSettingsStore>(options_.ConfigFile, options_.ExtraFile,
                                              options_.StatsFile);
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
    loader_->Release();
    keys_->FreeTextures();
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

void TForm1::RenderDevice1DeviceLost() {
    if (device_->ResetDevice()) loader_->RestoreLostContents();
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
