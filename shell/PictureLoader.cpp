#include "shell/PictureLoader.h"

#include "platform/Clock.h"
#include "platform/DataPack.h"
#include "platform/Memory.h"
#include "platform/Paths.h"
#include "render/Catalogue.h"
#include "render/PatternImage.h"
#include "render/PictureReader.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/DataNeeds.h"
#include "shell/Language.h"
#include "shell/Log.h"
#include "state/OptionsState.h"
#include "ui/VOFont.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace {

// The pictures of the loading screen, released once the game has started.
std::vector<TPatternImage*> LoadingScreenPictures() {
    const TPictures& p = Pictures;
    return {p.Background, p.LoadingElement, p.StatusLine, p.Velm, p.Orra, p.LogoI, p.LogoBall};
}

bool Holds(const std::vector<TPatternImage*>& list, const TPatternImage* set) {
    return std::find(list.begin(), list.end(), set) != list.end();
}

constexpr uint32_t kDensitySettleMs = 250;

void LogLoaded(const TCatalogueEntry& entry) {
    char line[512];
    if (entry.Whole)
        std::snprintf(line, sizeof line, "Loaded Texture \"%s\". Size AUTO. Format %d",
                      entry.File.c_str(), entry.Format);
    else
        std::snprintf(line, sizeof line, "Loaded Texture \"%s\". Size %dx%d. Format %d",
                      entry.File.c_str(), entry.TextureWidth, entry.TextureHeight, entry.Format);
    Log.Line(line);
}

} // namespace

TPictureLoader::TPictureLoader(TRenderDevice& device) : device_(device) {}

TPictureLoader::~TPictureLoader() = default;

// At density 2 the dense folder's picture is taken when there is one; without it the 1x picture
// is drawn enlarged.
TPictureLoader::TPictureSource TPictureLoader::SourceOf(const TCatalogueEntry& entry) const {
    // A ball with symbols in the look asked for: its clear twin while clear symbols are on.
    const std::string clear = Options.ClearSymbols ? ClearSymbolsFile(entry.File) : std::string();
    const std::string name = clear.empty() ? language::LocalisedName(entry.File) : clear;
    const int32_t density = LoadDensity();
    if (density > 1) {
        const std::string dense = paths::DataPath(std::string(kDenseFolder) + "/" + name);
        if (DataFileExists(dense)) return {dense, density};
    }
    return {paths::DataPath(name), 1};
}

int32_t TPictureLoader::LoadDensity() const {
    return reload_.Active ? reload_.Density : device_.Density();
}

std::unique_ptr<TPictureReader>
TPictureLoader::ReadAhead(const std::vector<const TCatalogueEntry*>& entries) {
    std::vector<std::string> files;
    files.reserve(entries.size());
    for (const TCatalogueEntry* entry : entries) files.push_back(SourceOf(*entry).File);
    return std::make_unique<TPictureReader>(std::move(files));
}

void TPictureLoader::OpenPack() {
    std::string packError;
    if (const size_t packed = OpenDataPack(paths::DataDir(), &packError))
        Log.Line("Pictures from " + std::string(kDataPackName) + " (" + std::to_string(packed) +
                 " files)");
    else if (!packError.empty())
        Log.Line("Cannot use the picture pack (" + packError + "); the data folder's files serve");
}

void TPictureLoader::LoadStartup() {
    std::vector<const TCatalogueEntry*> entries;
    for (const TCatalogueEntry& entry : StartupCatalogue()) entries.push_back(&entry);
    const std::unique_ptr<TPictureReader> reader = ReadAhead(entries);
    for (size_t i = 0; i < entries.size(); ++i) LoadPicture(*entries[i], reader.get(), i);
}

// A picture that cannot be read leaves the set empty (it draws nothing) and says why in the log;
// a missing file gives the "NO IMAGE" placeholder.
bool TPictureLoader::LoadInto(TPatternImage& set, const TCatalogueEntry& entry,
                              TPictureReader* reader, size_t index) {
    const TPictureSource source = SourceOf(entry);
    set.Density = source.Density;
    if (reader)
        if (const std::unique_ptr<TBitmapEx> picture = reader->Take(index))
            return set.LoadFromPicture(device_.Device(), *picture, source.File, entry.Whole,
                                       entry.PatternWidth, entry.PatternHeight, entry.TextureWidth,
                                       entry.TextureHeight, entry.Format) == 0;
    std::string error;
    const int32_t result = entry.Whole
                               ? set.LoadAuto(device_.Device(), source.File, entry.Format, &error)
                               : set.LoadFromFile(device_.Device(), source.File, entry.PatternWidth,
                                                  entry.PatternHeight, entry.TextureWidth,
                                                  entry.TextureHeight, entry.Format, &error);
    if (result != 0 && !error.empty()) Log.Line("Cannot load \"" + entry.File + "\": " + error);
    return result == 0;
}

void TPictureLoader::LoadPicture(const TCatalogueEntry& entry, TPictureReader* reader,
                                 size_t index) {
    auto set = std::make_unique<TPatternImage>();
    LoadInto(*set, entry, reader, index);
    if (entry.Slot) *entry.Slot = set.get();
    loadedFrom_.emplace_back(&entry, set.get());
    pictures_.push_back(std::move(set));
    LogLoaded(entry);
}

bool TPictureLoader::LoadFontGlyphs(std::string* error) {
    const std::string name = "graphics/font/font.bmp";
    const int32_t density = device_.Density();
    if (density > 1) {
        const std::string dense = paths::DataPath(std::string(kDenseFolder) + "/" + name);
        std::string denseError;
        if (DataFileExists(dense) && font_->LoadGlyphs(dense, &denseError, density)) return true;
        if (!denseError.empty()) Log.Line("Cannot load the dense font: " + denseError);
    }
    return font_->LoadGlyphs(paths::DataPath(name), error);
}

void TPictureLoader::RestoreLostContents() {
    std::vector<TPatternImage*> sets;
    sets.reserve(pictures_.size() + reload_.Fresh.size() + 1);
    for (const auto& p : pictures_) sets.push_back(p.get());
    for (const auto& fresh : reload_.Fresh) sets.push_back(fresh.get()); // a reload's new sets
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

void TPictureLoader::Release() {
    for (auto& fresh : reload_.Fresh)
        if (fresh) fresh->FreeTextures();
    reload_ = TReload{};
    for (auto& p : pictures_) p->FreeTextures();
    Pictures = TPictures{};
}

std::vector<std::string> TPictureLoader::NeededData(int32_t density) const {
    return DataNeededFor(language::Current(), density, Options.ClearSymbols);
}

// The balls whose pictures carry symbols, loaded again into their sets; every other picture stays.
// At most a few dozen small pictures: done at once.
bool TPictureLoader::LoadBallSymbols() {
    if (reload_.Active) return true; // the reload under way reads them in the new look
    // The other look's pictures may still be on their way: the balls keep theirs until then.
    const TDataState data = RequestData(DataNeededFor("en", device_.Density(), true));
    symbolsDeferred_ = Options.ClearSymbols && data == TDataState::Pending;
    if (symbolsDeferred_) return true;
    if (Options.ClearSymbols && data == TDataState::Failed) {
        Log.Line("The balls with clear symbols could not be fetched; the faint ones stay");
        Options.ClearSymbols = false;
        return false;
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
    return true;
}

// --- Loading again -------------------------------------------------------------------------------

void TPictureLoader::FollowWindowDensity(int32_t wanted) {
    const uint32_t now = SystemClock().GetTickCount();
    if (wanted != densityWanted_) {
        densityWanted_ = wanted;
        densityWantedAt_ = now;
        densityRefused_ = 0;
    }
    if (wanted != LoadDensity() && wanted != densityRefused_ &&
        now - densityWantedAt_ >= kDensitySettleMs)
        StartReload(wanted, false);
}

void TPictureLoader::StartDeferredReload() {
    if (deferredReload_.Active && !reload_.Active)
        StartReload(deferredReload_.Density, deferredReload_.Texts);
}

void TPictureLoader::StartReload(int32_t density, bool texts) {
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
    if (data == TDataState::Failed && density != device_.Density()) {
        Log.Line("The pictures at " + std::to_string(density) +
                 "x could not be fetched; they stay at " + std::to_string(device_.Density()) + "x");
        densityRefused_ = density;
        if (!texts) return;
        density = device_.Density();
    }
    // The same reload under way goes on; another (a language asked for again) starts over; one
    // back to the pictures on show ends it.
    if (reload_.Active && reload_.Density == density && !texts) return;
    if (reload_.Active && !reload_.Texts && !texts && density == device_.Density()) {
        for (auto& fresh : reload_.Fresh)
            if (fresh) fresh->FreeTextures();
        reload_ = TReload{};
        Log.Line("Loading again given up: the pictures on show are at " + std::to_string(density) +
                 "x");
        return;
    }
    Log.Line("Loading the pictures again at " + std::to_string(density) + "x ...");
    // The sets on show stay and are drawn until the new ones are in. The device keeps its
    // density until then: a change of density makes its textures anew, from the copies the new
    // sets keep of their texels meanwhile (the old sets, which keep none, go at that moment).
    for (auto& fresh : reload_.Fresh)
        if (fresh) fresh->FreeTextures();
    const bool textsPending = reload_.Active && reload_.Texts;
    reload_ = TReload{};
    reload_.Active = true;
    reload_.Density = density;
    reload_.Texts = texts || textsPending;
    // Every picture a screen draws: not the logo's and the loading screen's (released once the
    // game had started), nor a set another one replaced in its global.
    const std::vector<TPatternImage*> screen = LoadingScreenPictures();
    for (const auto& item : loadedFrom_) {
        const auto& [entry, set] = item;
        const bool logoOnly = set == Pictures.Flare || set == Pictures.BlikOrra;
        const bool replaced = entry->Slot && *entry->Slot != set;
        if (!logoOnly && !replaced && !Holds(screen, set)) {
            reload_.Queue.push_back(item);
            reload_.Fresh.push_back(std::make_unique<TPatternImage>());
            reload_.Fresh.back()->KeepSystemCopies = density != device_.Density();
        }
    }
    std::vector<const TCatalogueEntry*> entries;
    for (const auto& item : reload_.Queue) entries.push_back(item.first);
    reload_.Reader = ReadAhead(entries);
}

// A frame lasts at most a refresh and the making of one picture's textures.
bool TPictureLoader::ReloadStep() {
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
        const TCatalogueEntry& entry = *reload_.Queue[index].first;
        if (!LoadInto(*reload_.Fresh[index], entry, reload_.Reader.get(), index))
            reload_.Fresh[index]->FreeTextures();
    }
    if (reload_.Next < reload_.Queue.size()) return false;
    // All in: the new sets take the old ones' places (where every pointer to a set stays valid)
    // in one go, then the font's glyphs follow. A picture that could not be read keeps the old.
    for (size_t i = 0; i < reload_.Queue.size(); ++i) {
        TPatternImage& fresh = *reload_.Fresh[i];
        if (!fresh.Loaded) continue;
        std::swap(*reload_.Queue[i].second, fresh);
        fresh.FreeTextures();
    }
    reload_.Fresh.clear();
    if (reload_.Density != device_.Density() && !device_.SetDensity(reload_.Density)) {
        Log.Line("Cannot draw at " + std::to_string(reload_.Density) + "x; the pictures stay at " +
                 std::to_string(device_.Density()) + "x");
        densityRefused_ = reload_.Density;
    }
    for (const auto& item : reload_.Queue) {
        item.second->KeepSystemCopies = false;
        item.second->DropSystemCopies();
    }
    std::string error;
    if (font_) {
        font_->ReleaseGlyphs();
        if (!LoadFontGlyphs(&error)) Log.Line("Cannot load the font again: " + error);
    }
    ReturnFreeMemory();
    return true;
}

double TPictureLoader::ReloadShare() const {
    if (reload_.Queue.empty()) return 1.0;
    return static_cast<double>(reload_.Next) / reload_.Queue.size();
}

void TPictureLoader::FinishReload() {
    Log.Line("Pictures loaded again: " + std::to_string(reload_.Queue.size()) + " at " +
             std::to_string(device_.Density()) + "x");
    reload_ = TReload{};
}
