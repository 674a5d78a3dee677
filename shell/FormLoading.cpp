// The logo, the loading step with its progress frames, and the picture loading routines.
#include "shell/Form.h"

#include "fx/FrameTiming.h"
#include "fx/SoundBank.h"
#include "layout/Layout.h"
#include "platform/Audio.h"
#include "platform/Bitmap.h"
#include "platform/Clock.h"
#include "platform/DataPack.h"
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
#include "shell/Guidance.h"
#include "shell/KeptFiles.h"
#include "shell/Language.h"
#include "shell/Log.h"
#include "state/GameState.h"
#include "state/OptionsState.h"
#include "state/ShellState.h"
#include "ui/Buttons.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <new>
#include <system_error>

namespace {

int32_t RoundEven(double v) {
    return static_cast<int32_t>(std::nearbyint(v));
}

constexpr double kFullBar = 195.0; // progress of a full bar: about 77 logo units + 117 loads
constexpr uint32_t kAudioVersion = 2;

// The loaded picture set of a catalogued file; null when the catalogue has no such file.
TPatternImage* LoadedPicture(const std::string& file) {
    for (const auto* catalogue : {&IngameCatalogue(), &OptionsCatalogue(), &EffectsCatalogue()})
        for (const TCatalogueEntry& e : *catalogue)
            if (e.File == file && e.Slot) return *e.Slot;
    return nullptr;
}

} // namespace

// --- Pictures ------------------------------------------------------------------------------------

void TForm1::LogLoaded(const TCatalogueEntry& entry) {
    char line[512];
    if (entry.Whole)
        std::snprintf(line, sizeof line, "Loaded Texture \"%s\". Size AUTO. Format %d",
                      entry.File.c_str(), entry.Format);
    else
        std::snprintf(line, sizeof line, "Loaded Texture \"%s\". Size %dx%d. Format %d",
                      entry.File.c_str(), entry.TextureWidth, entry.TextureHeight, entry.Format);
    Log.Line(line);
}

// At density 2 the dense folder's picture is taken when there is one; without it the 1x picture
// is drawn enlarged.
TForm1::TPictureSource TForm1::SourceOf(const TCatalogueEntry& entry) const {
    // A ball with symbols in the look asked for: its clear twin while clear symbols are on.
    const std::string clear = Options.ClearSymbols ? ClearSymbolsFile(entry.File) : std::string();
    const std::string name = clear.empty() ? language::LocalisedName(entry.File) : clear;
    if (device_->Density() > 1) {
        const std::string dense = paths::DataPath(std::string(kDenseFolder) + "/" + name);
        if (DataFileExists(dense)) return {dense, device_->Density()};
    }
    return {paths::DataPath(name), 1};
}

std::unique_ptr<TPictureReader>
TForm1::ReadAhead(const std::vector<const TCatalogueEntry*>& entries) {
    std::vector<std::string> files;
    files.reserve(entries.size());
    for (const TCatalogueEntry* entry : entries) files.push_back(SourceOf(*entry).File);
    return std::make_unique<TPictureReader>(std::move(files));
}

// A picture that cannot be read leaves the set empty (it draws nothing) and says why in the log;
// a missing file gives the "NO IMAGE" placeholder.
bool TForm1::LoadInto(TPatternImage& set, const TCatalogueEntry& entry, TPictureReader* reader,
                      size_t index) {
    const TPictureSource source = SourceOf(entry);
    set.Density = source.Density;
    if (reader)
        if (const std::unique_ptr<TBitmapEx> picture = reader->Take(index))
            return set.LoadFromPicture(device_->Device(), *picture, source.File, entry.Whole,
                                       entry.PatternWidth, entry.PatternHeight, entry.TextureWidth,
                                       entry.TextureHeight, entry.Format) == 0;
    std::string error;
    const int32_t result =
        entry.Whole ? set.LoadAuto(device_->Device(), source.File, entry.Format, &error)
                    : set.LoadFromFile(device_->Device(), source.File, entry.PatternWidth,
                                       entry.PatternHeight, entry.TextureWidth, entry.TextureHeight,
                                       entry.Format, &error);
    if (result != 0 && !error.empty()) Log.Line("Cannot load \"" + entry.File + "\": " + error);
    return result == 0;
}

// A new set for the entry's global.
void TForm1::LoadPicture(const TCatalogueEntry& entry, TPictureReader* reader, size_t index) {
    auto set = std::make_unique<TPatternImage>();
    LoadInto(*set, entry, reader, index);
    if (entry.Slot) *entry.Slot = set.get();
    loadedFrom_.emplace_back(&entry, set.get());
    pictures_.push_back(std::move(set));
    LogLoaded(entry);
}

bool TForm1::LoadFontGlyphs(std::string* error) {
    const std::string name = "graphics/font/font.bmp";
    const int32_t density = device_->Density();
    if (density > 1) {
        const std::string dense = paths::DataPath(std::string(kDenseFolder) + "/" + name);
        std::string denseError;
        if (DataFileExists(dense) && font_->LoadGlyphs(dense, &denseError, density)) return true;
        if (!denseError.empty()) Log.Line("Cannot load the dense font: " + denseError);
    }
    return font_->LoadGlyphs(paths::DataPath(name), error);
}

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
        LoadPicture(entry, &reader, index);
        logo_.LoadProgress += 1;
        return;
    }
    progressShown_ = true;
    lastProgressFrame_ = now;
    const int32_t bar = ProgressBarRight(); // before this picture counts
    device_->BeginFrame();
    DrawQuadrants(Pictures.Background);
    LoadPicture(entry, &reader, index);
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
    const TRegistry registry;
    Options.ReducedMotion = registry.ReadInteger("ReducedMotion").value_or(0) != 0;
    Options.ClearSymbols = registry.ReadString("BallSymbols").value_or("faint") == "clear";
    if (guidance_) guidance_->Load();
}

// The balls whose pictures carry symbols, loaded again into their sets from the look now asked
// for; every other picture stays. At most a few dozen small pictures: done at once.
void TForm1::LoadBallSymbols() {
    if (reload_.Active) return; // the reload under way reads them in the new look
    // The other look's pictures may still be on their way: the balls keep theirs until then.
    const TDataState data = RequestData(DataNeededFor("en", device_->Density(), true));
    symbolsDeferred_ = Options.ClearSymbols && data == TDataState::Pending;
    if (symbolsDeferred_) return;
    if (Options.ClearSymbols && data == TDataState::Failed) {
        Log.Line("The balls with clear symbols could not be fetched; the faint ones stay");
        Options.ClearSymbols = false;
        ShowSwitches();
        return;
    }
    int loaded = 0;
    for (auto& [entry, set] : loadedFrom_) {
        if (ClearSymbolsFile(entry->File).empty() || (entry->Slot && *entry->Slot != set)) continue;
        set->FreeTextures();
        LoadInto(*set, *entry, nullptr, 0);
        ++loaded;
    }
    ReturnFreeMemory();
    Log.Line(std::string("Ball symbols: ") + (Options.ClearSymbols ? "clear" : "faint") + ", " +
             std::to_string(loaded) + " pictures loaded again");
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
    NoteMemoryShort();       // the reserve makes room for what follows
    settingsLoaded_ = false; // what was read may be half in place: nothing is written
    kept_->WriteNothing();
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
        const std::unique_ptr<TPictureReader> reader = ReadAhead(entries);
        for (size_t i = 0; i < entries.size(); ++i) {
            ProgressLoad(*entries[i], *reader, i);
            EndIfShortOfMemory();
        }
    }
    for (const TCatalogueEntry& entry : OptionsCatalogue()) LoadPicture(entry);
    for (const TCatalogueEntry& entry : EffectsCatalogue()) LoadPicture(entry);
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

    Log.Line("Loading font ...");
    font_ = std::make_unique<TVOFont>(device_.get());
    Font = font_.get();
    std::string error;
    if (!font_->LoadMetrics(paths::DataPath("graphics/font/font.rls"), &error) ||
        !LoadFontGlyphs(&error)) {
        FailLoading("Cannot load the font: " + error);
        return;
    }

    Log.Line("Releasing loading stuff ...");
    // The logo and loading pictures: no screen after this one draws them again.
    for (TPatternImage* done :
         {Pictures.LoadingElement, Pictures.StatusLine, Pictures.Background, Pictures.Flare,
          Pictures.LogoBall, Pictures.LogoI, Pictures.BlikOrra, Pictures.Velm, Pictures.Orra})
        if (done) done->FreeTextures();
    ReturnFreeMemory();

    Log.Line("Loading ingame strings...");
    strings_ = std::make_unique<TVOStrings>();
    Strings = strings_.get();
    if (!strings_->LoadFromFile(paths::DataPath(language::LocalisedName("strings.txt")), &error)) {
        FailLoading("Cannot load the texts: " + error);
        return;
    }
    if (app_) app_->SetCaption(strings_->MainCaption);

    EndIfShortOfMemory();
    Log.Line("Starting game...");
    Shell.Word = scrMenu;
    GameState.CurrentMode = modeNormal;
    ReadSettings();

    if (SoundBank) SoundBank->StartMusic(paths::DataPath("music/theme.ogg"));
    strings_->LastHelpPage = 4;
    if (app_) app_->SetCursor(device_->FullScreen() ? TCursorShape::None : TCursorShape::Arrow);
}

// --- Loading again -------------------------------------------------------------------------------

namespace {

// The pictures the loading bar is drawn with; released again once the reload is done.
std::vector<TPatternImage*> LoadingScreenPictures() {
    const TPictures& p = Pictures;
    return {p.Background, p.LoadingElement, p.StatusLine, p.Velm, p.Orra, p.LogoI, p.LogoBall};
}

bool Holds(const std::vector<TPatternImage*>& list, const TPatternImage* set) {
    return std::find(list.begin(), list.end(), set) != list.end();
}

constexpr uint32_t kDensitySettleMs = 250;

} // namespace

int32_t TForm1::WantedDensity() const {
    if (!app_) return options_.Density == 2 ? 2 : 1;
    // A page scales the canvas itself: the screen's density decides.
    if (const int32_t host = HostPictureDensity(); host > 0) return host;
    return device_->PixelsPerPicturePixel() > 1.25 ? 2 : 1;
}

void TForm1::FollowWindowDensity() {
    if (!app_ || !device_->Initialized()) return;
    const int32_t wanted = WantedDensity();
    const uint32_t now = SystemClock().GetTickCount();
    if (wanted != densityWanted_) {
        densityWanted_ = wanted;
        densityWantedAt_ = now;
        densityRefused_ = 0;
    }
    if (wanted != device_->Density() && wanted != densityRefused_ &&
        now - densityWantedAt_ >= kDensitySettleMs)
        StartReload(wanted, false);
}

std::vector<std::string> TForm1::NeededData(int32_t density) const {
    return DataNeededFor(language::Current(), density, Options.ClearSymbols);
}

bool TForm1::LoadingDataArrived() {
    const TDataState data = RequestData(NeededData(device_->Density()));
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
        densityRefused_ = device_->Density();
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
    // The pictures of another language or density may not be there yet: the game goes on as it
    // is until they are.
    const TDataState data = RequestData(NeededData(density));
    if (data == TDataState::Pending) {
        deferredReload_ = {true, density,
                           texts || (deferredReload_.Active && deferredReload_.Texts)};
        return;
    }
    texts = texts || (deferredReload_.Active && deferredReload_.Texts);
    deferredReload_ = {};
    if (data == TDataState::Failed && density != device_->Density()) {
        Log.Line("The pictures at " + std::to_string(density) +
                 "x could not be fetched; they stay at " + std::to_string(device_->Density()) +
                 "x");
        densityRefused_ = density;
        if (!texts) return;
        density = device_->Density();
    }
    Log.Line("Loading the pictures again at " + std::to_string(density) + "x ...");
    for (auto& [entry, set] : loadedFrom_) set->FreeTextures();
    if (font_) font_->ReleaseGlyphs();
    ReturnFreeMemory();
    if (density != device_->Density() && !device_->SetDensity(density)) {
        Log.Line("Cannot draw at " + std::to_string(density) + "x; the pictures stay at " +
                 std::to_string(device_->Density()) + "x");
        densityRefused_ = density;
    }
    const bool textsPending = reload_.Active && reload_.Texts;
    reload_ = TReload{};
    reload_.Active = true;
    reload_.Texts = texts || textsPending;
    // The loading screen's pictures first, then every picture a screen draws: not the logo's
    // own, nor a set another one replaced in its global.
    const std::vector<TPatternImage*> screen = LoadingScreenPictures();
    for (const auto& item : loadedFrom_)
        if (Holds(screen, item.second)) reload_.Queue.push_back(item);
    for (const auto& item : loadedFrom_) {
        const auto& [entry, set] = item;
        const bool logoOnly = set == Pictures.Flare || set == Pictures.BlikOrra;
        const bool replaced = entry->Slot && *entry->Slot != set;
        if (!logoOnly && !replaced && !Holds(screen, set)) reload_.Queue.push_back(item);
    }
    std::vector<const TCatalogueEntry*> entries;
    for (const auto& item : reload_.Queue) entries.push_back(item.first);
    reload_.Reader = ReadAhead(entries);
}

// Loads the pictures the reader has read for about one display refresh, then shows the loading
// bar: a frame lasts at most a refresh and the making of one picture's textures.
void TForm1::ReloadStep() {
    IClock& clock = SystemClock(); // real time: what the player waits, whatever the game's clock
    int64_t frequency = 0, start = 0, now = 0;
    const bool timed = clock.QueryPerformanceFrequency(frequency) && frequency > 0 &&
                       clock.QueryPerformanceCounter(start);
    const int64_t budget = frequency / 60;
    for (bool first = true; reload_.Next < reload_.Queue.size(); first = false) {
        if (timed) {
            clock.QueryPerformanceCounter(now);
            const int64_t left = budget - (now - start);
            if (left <= 0 ||
                !reload_.Reader->WaitReady(reload_.Next,
                                           std::chrono::microseconds(left * 1000000 / frequency)))
                break;
        } else if (!first) {
            break; // without a clock: one picture a frame
        }
        const size_t index = reload_.Next++;
        const auto& [entry, set] = reload_.Queue[index];
        LoadInto(*set, *entry, reload_.Reader.get(), index);
    }
    if (reload_.Next >= reload_.Queue.size()) {
        FinishReload();
        return;
    }
    const double w = Pictures.StatusLine ? Pictures.StatusLine->PatternWidth : 0;
    const double share = static_cast<double>(reload_.Next) / reload_.Queue.size();
    device_->BeginFrame();
    DrawQuadrants(Pictures.Background);
    DrawBackdrop();
    DrawProgressBar(kProgressBar.X + RoundEven(w * share));
    device_->EndFrame();
    device_->PresentFrame();
}

void TForm1::FinishReload() {
    std::string error;
    if (font_ && !LoadFontGlyphs(&error)) Log.Line("Cannot load the font again: " + error);
    if (reload_.Texts) {
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
    for (TPatternImage* done : LoadingScreenPictures())
        if (done) done->FreeTextures();
    ReturnFreeMemory();
    Log.Line("Pictures loaded again: " + std::to_string(reload_.Queue.size()) + " at " +
             std::to_string(device_->Density()) + "x");
    reload_ = TReload{};
}
