// The logo, the loading step with its progress frames, and the form's side of loading again.
#include "shell/Form.h"

#include "fx/SoundBank.h"
#include "layout/Layout.h"
#include "platform/Audio.h"
#include "platform/Clock.h"
#include "platform/HostScreen.h"
#include "platform/Memory.h"
#include "platform/Paths.h"
#include "render/Catalogue.h"
#include "render/PatternImage.h"
#include "render/PictureReader.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/DataNeeds.h"
#include "shell/FormKeys.h"
#include "shell/Guidance.h"
#include "shell/Language.h"
#include "shell/Log.h"
#include "shell/PictureLoader.h"
#include "shell/SettingsStore.h"
#include "state/GameState.h"
#include "state/OptionsState.h"
#include "state/ShellState.h"
#include "ui/Buttons.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <system_error>

namespace {

int32_t RoundEven(double v) {
    return static_cast<int32_t>(std::nearbyint(v));
}

constexpr double kFullBar = 195.0; // progress of a full bar: about 77 logo units + 117 loads
constexpr uint32_t kAudioVersion = 2;
constexpr uint32_t kPressKeyColour = 0xFFE8E0D0; // 0xAABBGGRR: a soft white
constexpr uint32_t kPressKeyShadow = 0xA0000000;
constexpr uint32_t kReloadMarkTrack = 0x60000000; // 0xAABBGGRR
constexpr uint32_t kReloadMarkDone = 0xC0F0F0F0;

// The loaded picture set of a catalogued file; null when the catalogue has no such file.
TPatternImage* LoadedPicture(const std::string& file) {
    for (const auto* catalogue : {&IngameCatalogue(), &OptionsCatalogue(), &EffectsCatalogue()})
        for (const TCatalogueEntry& e : *catalogue)
            if (e.File == file && e.Slot) return *e.Slot;
    return nullptr;
}

} // namespace

// --- Logo ----------------------------------------------------------------------------------------

void TForm1::DrawBackdrop() {
    DrawQuadrants(Pictures.LoadingElement);
    device_->DrawImage(Pictures.Velm, kLogoWords.X, kLogoWords.Y, 0, fxBlend);
    device_->DrawImage(Pictures.Orra, kLogoWords.X, kLogoWords.Y, 0, fxBlend);
    // Below 0 the clock truncates to a pattern below 0, which draws the first frame.
    const auto frame = static_cast<int32_t>(std::trunc(logo_.LogoClock));
    device_->DrawImage(Pictures.LogoI, kLogoLetters.X, kLogoLetters.Y, frame, fxBlend);
    device_->DrawImage(Pictures.LogoBall, kLogoLetters.X, kLogoLetters.Y, frame, fxBlend);
}

int32_t TForm1::ProgressBarRight() const {
    const double w = Pictures.StatusLine ? Pictures.StatusLine->PatternWidth : 0;
    return kProgressBar.X + RoundEven(w / kFullBar * logo_.LoadProgress);
}

void TForm1::DrawProgressBar(int32_t revealRight) {
    device_->SetClipRect(TRect{0, 0, revealRight, kPictureHeight});
    device_->DrawImage(Pictures.StatusLine, kProgressBar.X, kProgressBar.Y, 0, fxBlend);
    device_->SetClipRect(TRect{0, 0, kPictureWidth, kPictureHeight});
}

// The letters animate, then a flare turns and grows over them, then a shine runs over the name;
// the logo runs 1.25 times faster than the rest of the game.
void TForm1::LogoStep(double delta) {
    logo_.LoadProgress += delta;
    const double d = delta * 1.25;
    if (logo_.Phase == 0) {
        logo_.LogoClock += d;
        if (logo_.LogoClock > 32) {
            logo_.LogoClock = 32;
            logo_.Phase = 1;
        }
    }
    DrawBackdrop();
    if (logo_.Phase == 1) {
        logo_.FlareClock += d;
        if (logo_.FlareClock >= 16) logo_.Phase = 2;
        // One turn over 16 units; grows to 240/256 until 8, then 272/256 shrinking to 32/256.
        const int32_t angle = RoundEven(logo_.FlareClock * 16);
        const int32_t scale = logo_.FlareClock * 32 < 256 ? RoundEven(logo_.FlareClock * 30)
                                                          : RoundEven(512 - logo_.FlareClock * 30);
        device_->DrawRotated(Pictures.Flare, kLogoFlare.X, kLogoFlare.Y, angle, scale, 0, fxBlend);
    }
    if (logo_.Phase == 2) {
        logo_.ShineClock += d;
        if (logo_.ShineClock >= 28) {
            Shell.Word = scrLoading;
            logo_.FlareClock = 0;
        }
        device_->DrawImage(Pictures.BlikOrra, kLogoShine.X, kLogoShine.Y,
                           RoundEven(logo_.ShineClock), fxBlend);
    }
    DrawProgressBar(ProgressBarRight());
    // Any key or click skips the logo, which it says as soon as the font is there.
    LoadTextsEarly();
    if (Font && Strings) {
        Font->DrawTextScaled(Strings->PressAnyKey, kLogoPressKey.X + 1, kLogoPressKey.Y + 1,
                             kLogoPressKeyScale, kPressKeyShadow);
        Font->DrawTextScaled(Strings->PressAnyKey, kLogoPressKey.X, kLogoPressKey.Y,
                             kLogoPressKeyScale, kPressKeyColour);
    }
}

// A click or key during the logo ends it at once: the clocks, phase and progress bar stand where
// a logo that ran its course leaves them, and the next frame runs the loading step.
void TForm1::SkipLogo() {
    if (Shell.Word != scrLogo) return;
    // Logo units still to run at the logo's 1.25 speed-up; the progress bar counts them unscaled.
    double remaining = 28.0 - logo_.ShineClock;
    if (logo_.Phase == 0) remaining += (32.0 - logo_.LogoClock) + 16.0;
    if (logo_.Phase == 1) remaining += 16.0 - logo_.FlareClock;
    logo_.LoadProgress += std::max(0.0, remaining) / 1.25;
    logo_.Phase = 2;
    logo_.LogoClock = 32.0;
    logo_.ShineClock = 28.0;
    logo_.FlareClock = 0.0;
    Shell.Word = scrLoading;
}

// --- Loading -------------------------------------------------------------------------------------

// Loads one picture; the progress frame around it is drawn at most once per display refresh
// (60 Hz), since presenting costs more than loading a picture on a slow renderer.
void TForm1::ProgressLoad(const TCatalogueEntry& entry, TPictureReader& reader, size_t index) {
    IClock& clock = options_.Clock ? *options_.Clock : SystemClock();
    int64_t frequency = 0, now = 0;
    const bool timed = clock.QueryPerformanceFrequency(frequency) && frequency > 0 &&
                       clock.QueryPerformanceCounter(now);
    const bool due = !timed || !progressShown_ || now - lastProgressFrame_ >= frequency / 60;
    if (!due) {
        loader_->LoadPicture(entry, &reader, index);
        logo_.LoadProgress += 1;
        return;
    }
    progressShown_ = true;
    lastProgressFrame_ = now;
    const int32_t bar = ProgressBarRight(); // before this picture counts
    device_->BeginFrame();
    DrawQuadrants(Pictures.Background);
    loader_->LoadPicture(entry, &reader, index);
    DrawBackdrop();
    DrawProgressBar(bar);
    device_->EndFrame();
    device_->PresentFrame();
    logo_.LoadProgress += 1;
}

bool TForm1::StartAudio() {
    if (!audio_) {
        if (options_.Audio) {
            audio_ = options_.Audio;
        } else {
            ownedAudio_ = CreateSdlAudio([](const std::string& line) { Log.Line(line); });
            audio_ = ownedAudio_.get();
        }
    }
    sounds_ = std::make_unique<TSoundBank>(audio_);
    SoundBank = sounds_.get();
    if (audio_->GetVersion() != kAudioVersion) {
        Log.Line("The audio library is not version 2.0; the game goes on without sound");
        return false;
    }
    audio_->Init(1, 44100, 0, app_ ? app_->MainWindow() : nullptr);
    audio_->Start();
    std::string error;
    if (!sounds_->Load(paths::DataPath("sounds.txt"), paths::DataDir(), &error))
        Log.Line("Sounds: " + error);
    return true;
}

void TForm1::AddButtons() {
    // The command of each button, by its number; its picture, place and screens are the
    // layout's.
    static constexpr void (TForm1::*kCommands[])() = {
        &TForm1::CmdNewGame,      &TForm1::CmdKids,          &TForm1::CmdNormal,
        &TForm1::CmdProfessional, &TForm1::CmdOptions,       &TForm1::CmdInstructions,
        &TForm1::CmdHighScores,   &TForm1::CmdExit,          &TForm1::CmdPreviousTable,
        &TForm1::CmdNextTable,    &TForm1::CmdBack,          &TForm1::CmdClearTable,
        &TForm1::CmdBack,         &TForm1::CmdBack,          &TForm1::CmdYes,
        &TForm1::CmdNo,           &TForm1::CmdPreviousPage,  &TForm1::CmdNextPage,
        &TForm1::CmdMusicDown,    &TForm1::CmdMusicUp,       &TForm1::CmdSoundDown,
        &TForm1::CmdSoundUp,      &TForm1::CmdUndo,          &TForm1::CmdPreviousLanguage,
        &TForm1::CmdNextLanguage, &TForm1::CmdReducedMotion, &TForm1::CmdBallSymbols,
        &TForm1::CmdTips,         &TForm1::CmdHint,
    };
    static_assert(std::size(kCommands) == kButtonCount, "a command for every button");
    for (int i = 0; i < kButtonCount; ++i) {
        const TButtonPlace& place = kButtonPlaces[i];
        const auto command = kCommands[i];
        buttons_->Add(place.X, place.Y, LoadedPicture(std::string(kButtonFolder) + place.Picture),
                      place.Screens, [this, command] { (this->*command)(); });
    }
    languageChoice_ = language::ChoiceIndex(language::ChoiceFromRegistry());
    ShowSwitches();
}

void TForm1::ShowSwitches() {
    if (!Buttons) return;
    const std::pair<int, bool> switches[] = {{btnReducedMotion, Options.ReducedMotion},
                                             {btnBallSymbols, Options.ClearSymbols},
                                             {btnTips, Options.Tips}};
    for (const auto& [button, second] : switches)
        if (static_cast<size_t>(button) < Buttons->Items.size())
            Buttons->Items[static_cast<size_t>(button)].PatternBase = second ? 3 : 0;
}

void TForm1::ReadAccessSettings() {
    store_->ReadAccessSettings();
    if (guidance_) guidance_->Load();
}

void TForm1::LoadBallSymbols() {
    if (!loader_->LoadBallSymbols()) ShowSwitches();
}

void TForm1::FailLoading(const std::string& message) {
    Log.Line(message);
    failure_ = message;
    loadingFailed_ = true;
    if (app_) ShowNativeError("Velm Orra", message, app_->MainWindow());
    Terminate();
}

// Memory running short at any point of the loading ends the program with a clear message and
// leaves every file as it is: what could not be loaded cannot be played or saved sensibly.
void TForm1::LoadingStep() {
    try {
        LoadEverything();
    } catch (const std::bad_alloc&) {
        FailShortOfMemory("while loading the game");
    } catch (const std::system_error& e) {
        FailShortOfMemory(std::string("while loading the game (") + e.what() + ")");
    }
}

void TForm1::FailShortOfMemory(const std::string& when) {
    NoteMemoryShort();      // the reserve makes room for what follows
    store_->WriteNothing(); // what was read may be half in place: nothing is written
    FailLoading("Out of memory " + when + "; nothing was saved");
}

// A shortage noted anywhere (a library's allocation, a picture, a thread that could not start)
// ends the start or the loading at its next step, before anything is read or written.
void TForm1::EndIfShortOfMemory() {
    if (MemoryRanShort()) throw std::bad_alloc();
}

void TForm1::LoadEverything() {
    Log.Line("Loading Ingame Resources ...");
    {
        std::vector<const TCatalogueEntry*> entries;
        for (const TCatalogueEntry& entry : IngameCatalogue()) entries.push_back(&entry);
        const std::unique_ptr<TPictureReader> reader = loader_->ReadAhead(entries);
        for (size_t i = 0; i < entries.size(); ++i) {
            ProgressLoad(*entries[i], *reader, i);
            EndIfShortOfMemory();
        }
    }
    for (const TCatalogueEntry& entry : OptionsCatalogue()) loader_->LoadPicture(entry);
    for (const TCatalogueEntry& entry : EffectsCatalogue()) loader_->LoadPicture(entry);
    EndIfShortOfMemory();

    Log.Line("Initializing BASS ...");
    StartAudio();
    EndIfShortOfMemory();

    buttons_ = std::make_unique<TButtons>(device_.get());
    Buttons = buttons_.get();
    buttons_->OnSound = [](TButtonSound sound) {
        if (SoundBank)
            SoundBank->Play(sound == TButtonSound::Hover ? TSample::Hover : TSample::Click);
    };
    Log.Line("Initializing XWindows :) ...");
    if (Buttons) Log.Line("...Ok");
    AddButtons();

    std::string error;
    if (!LoadFontAndTexts(&error)) {
        FailLoading(error);
        return;
    }

    Log.Line("Releasing loading stuff ...");
    // The logo and loading pictures: no screen after this one draws them again.
    for (TPatternImage* done :
         {Pictures.LoadingElement, Pictures.StatusLine, Pictures.Background, Pictures.Flare,
          Pictures.LogoBall, Pictures.LogoI, Pictures.BlikOrra, Pictures.Velm, Pictures.Orra})
        if (done) done->FreeTextures();
    ReturnFreeMemory();

    EndIfShortOfMemory();
    Log.Line("Starting game...");
    Shell.Word = scrMenu;
    GameState.CurrentMode = modeNormal;
    ReadSettings();

    if (SoundBank) SoundBank->StartMusic(paths::DataPath("music/theme.ogg"));
    strings_->LastHelpPage = 4;
    if (app_) app_->SetCursor(device_->FullScreen() ? TCursorShape::None : TCursorShape::Arrow);
}

bool TForm1::LoadFontAndTexts(std::string* error) {
    if (!font_) {
        Log.Line("Loading font ...");
        auto font = std::make_unique<TVOFont>(device_.get());
        loader_->SetFont(font.get());
        std::string why;
        if (!font->LoadMetrics(paths::DataPath("graphics/font/font.rls"), &why) ||
            !loader_->LoadFontGlyphs(&why)) {
            loader_->SetFont(nullptr);
            if (error) *error = "Cannot load the font: " + why;
            return false;
        }
        font_ = std::move(font);
        Font = font_.get();
    }
    if (!strings_) {
        Log.Line("Loading ingame strings...");
        auto strings = std::make_unique<TVOStrings>();
        std::string why;
        if (!strings->LoadFromFile(paths::DataPath(language::LocalisedName("strings.txt")), &why)) {
            if (error) *error = "Cannot load the texts: " + why;
            return false;
        }
        strings_ = std::move(strings);
        Strings = strings_.get();
        if (app_) app_->SetCaption(strings_->MainCaption);
    }
    return true;
}

// Once the data of the pictures is there (at once from a folder, after its fetch in a page); a
// file that cannot be read is left to the loading step, which says so and ends.
void TForm1::LoadTextsEarly() {
    if (earlyTextsTried_ || (font_ && strings_)) return;
    if (RequestData(loader_->NeededData(device_->Density())) == TDataState::Pending) return;
    earlyTextsTried_ = true;
    LoadFontAndTexts(nullptr);
}

// --- Loading again -------------------------------------------------------------------------------

bool TForm1::Reloading() const {
    return loader_->Reloading();
}

int32_t TForm1::WantedDensity() const {
    if (!app_) return options_.Density == 2 ? 2 : 1;
    // A page scales the canvas itself: the screen's density decides.
    if (const int32_t host = HostPictureDensity(); host > 0) return host;
    return device_->PixelsPerPicturePixel() > 1.25 ? 2 : 1;
}

void TForm1::FollowWindowDensity() {
    if (!app_ || !device_->Initialized()) return;
    loader_->FollowWindowDensity(WantedDensity());
}

bool TForm1::LoadingDataArrived() {
    const TDataState data = RequestData(loader_->NeededData(device_->Density()));
    if (data == TDataState::Pending) {
        device_->BeginFrame();
        DrawQuadrants(Pictures.Background);
        DrawBackdrop();
        DrawProgressBar(ProgressBarRight());
        device_->EndFrame();
        device_->PresentFrame();
        return false;
    }
    if (data == TDataState::Failed && device_->Density() > 1) {
        Log.Line("The pictures at " + std::to_string(device_->Density()) +
                 "x could not be fetched; they are drawn at 1x");
        loader_->RefuseDensity(device_->Density());
        device_->SetDensity(1);
        return false; // the 1x data next
    }
    if (data == TDataState::Failed && !dataFailureLogged_) {
        dataFailureLogged_ = true;
        Log.Line("Some of the game data could not be fetched; what it holds is missing");
        if (Options.ClearSymbols &&
            RequestData(DataNeededFor("en", device_->Density(), true)) == TDataState::Failed) {
            Log.Line("The balls with clear symbols could not be fetched; the faint ones are drawn");
            Options.ClearSymbols = false;
        }
    }
    return true;
}

void TForm1::StartReload(int32_t density, bool texts) {
    loader_->StartReload(density, texts);
}

// The pictures load for about one display refresh a frame, beside the ones on show.
void TForm1::ReloadStep() {
    if (!loader_->ReloadStep()) return;
    if (loader_->ReloadsTexts()) {
        std::string error;
        auto strings = std::make_unique<TVOStrings>();
        const std::string file = paths::DataPath(language::LocalisedName("strings.txt"));
        if (strings->LoadFromFile(file, &error)) {
            strings->LastHelpPage = strings_ ? strings_->LastHelpPage : 4;
            strings_ = std::move(strings);
            Strings = strings_.get();
            if (app_) app_->SetCaption(strings_->MainCaption);
        } else {
            Log.Line("Cannot load the texts again (" + error + "); the old ones stay");
        }
    }
    loader_->FinishReload();
}

void TForm1::DrawReloadMark() {
    if (!Reloading()) return;
    TPatternImage* white = keys_->White(*device_);
    if (!white) return;
    const int32_t left = kReloadMark.X, top = kReloadMark.Y;
    const int32_t right = left + kReloadMarkWidth, low = top + kReloadMarkHeight;
    const int32_t done = left + RoundEven(kReloadMarkWidth * loader_->ReloadShare());
    device_->DrawQuadCol(white, left, top, right, top, right, low, left, low, kReloadMarkTrack, 0,
                         fxBlend | fxfDiffuseAlpha);
    device_->DrawQuadCol(white, left, top, done, top, done, low, left, low, kReloadMarkDone, 0,
                         fxBlend | fxfDiffuseAlpha);
}
