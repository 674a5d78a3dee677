#pragma once
// TPictureLoader: the catalogued pictures and the font's glyphs, read from the data folder at the
// device's density, and loaded again while the game runs (another density, another language,
// the balls' other look). It owns every picture set it loads; the catalogue's globals point at
// them.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

class TPatternImage;
class TPictureReader;
class TRenderDevice;
class TVOFont;
struct TCatalogueEntry;

class TPictureLoader {
public:
    explicit TPictureLoader(TRenderDevice& device);
    ~TPictureLoader();
    TPictureLoader(const TPictureLoader&) = delete;
    TPictureLoader& operator=(const TPictureLoader&) = delete;

    // The pictures come from the data pack when the data folder holds one; logged.
    void OpenPack();
    // The logo's pictures, read ahead, without progress frames.
    void LoadStartup();
    // Each entry's source, and a reader that reads them ahead in that order.
    std::unique_ptr<TPictureReader> ReadAhead(const std::vector<const TCatalogueEntry*>& entries);
    // A new set for the entry's global: the picture of `reader` (taken at `index`) or else read
    // from its file.
    void LoadPicture(const TCatalogueEntry& entry, TPictureReader* reader = nullptr,
                     size_t index = 0);
    // The font whose glyphs are released and loaded again with the pictures (null: none yet).
    void SetFont(TVOFont* font) { font_ = font; }
    // The font's glyphs at the device's density (the dense ones where they are).
    bool LoadFontGlyphs(std::string* error);
    // After the device was reset: the sets (the font's glyphs too) whose textures lost their
    // contents read again from their files. The pictures keep no copy of their texels beside the
    // device's.
    void RestoreLostContents();
    // Frees every set's textures and empties the globals that point at the sets.
    void Release();

    // The parts of the game data the pictures and texts need at `density` in the language and
    // look now chosen (platform/DataSets.h).
    std::vector<std::string> NeededData(int32_t density) const;

    // Loading again: the pictures are loaded a few at a time by ReloadStep into new sets beside
    // the ones on show, which the screens go on drawing; once all are in, the new sets take their
    // places at once and the font's glyphs follow (both sets are in memory meanwhile). `texts`
    // asks for the string table again as well (the caller reads it when the pictures are in). A
    // reload under way starts over; one whose data has not arrived waits for it
    // (StartDeferredReload).
    void StartReload(int32_t density, bool texts);
    bool Reloading() const { return reload_.Active; }
    bool ReloadsTexts() const { return reload_.Texts; }
    // Once a frame: starts a reload that waited for its data, when no other runs.
    void StartDeferredReload();
    // Loads the pictures the reader has read for about one display refresh (at least one); true
    // once all are in and have taken the old sets' places, the font's glyphs with them.
    bool ReloadStep();
    // The share of the pictures loaded again, 0 to 1.
    double ReloadShare() const;
    // Ends the reload.
    void FinishReload();

    // Once a frame with the density the window wants now: starts a reload once it has wanted
    // another density for a moment (a window being dragged to a new size crosses the threshold
    // often).
    void FollowWindowDensity(int32_t wanted);
    // A density the device could not take or whose data failed: not asked for again.
    void RefuseDensity(int32_t density) { densityRefused_ = density; }

    // The balls whose pictures carry symbols, loaded again in the look the options ask for. False
    // when the clear look could not be fetched: the options are back on the faint one.
    bool LoadBallSymbols();
    // The balls' other look waits for its data.
    bool SymbolsDeferred() const { return symbolsDeferred_; }

private:
    // Where the entry's picture is read from at the device's density: the dense folder's file
    // when there is one (`density` 2), else the 1x file (`density` 1).
    struct TPictureSource {
        std::string File;
        int32_t Density = 1;
    };
    TPictureSource SourceOf(const TCatalogueEntry& entry) const;
    // The density pictures are loaded at: a reload's, else the device's.
    int32_t LoadDensity() const;
    // Loads the entry's picture into `set`; false when it could not be read.
    bool LoadInto(TPatternImage& set, const TCatalogueEntry& entry, TPictureReader* reader,
                  size_t index);

    TRenderDevice& device_;
    TVOFont* font_ = nullptr;
    std::vector<std::unique_ptr<TPatternImage>> pictures_;
    // Each loaded set with the catalogue entry it came from, in loading order.
    std::vector<std::pair<const TCatalogueEntry*, TPatternImage*>> loadedFrom_;
    struct TReload {
        bool Active = false;
        bool Texts = false;
        int32_t Density = 1; // the device takes it when the new sets are in
        std::vector<std::pair<const TCatalogueEntry*, TPatternImage*>> Queue;
        std::vector<std::unique_ptr<TPatternImage>> Fresh; // the new set of each queued one
        size_t Next = 0;
        std::unique_ptr<TPictureReader> Reader; // reads the queue's pictures ahead
    };
    TReload reload_;
    // A reload that waits for its data to arrive; the game goes on as it is meanwhile.
    struct TDeferredReload {
        bool Active = false;
        int32_t Density = 1;
        bool Texts = false;
    };
    TDeferredReload deferredReload_;
    bool symbolsDeferred_ = false;
    int32_t densityWanted_ = 0;    // the density the window asked for at the last frame
    uint32_t densityWantedAt_ = 0; // since when (milliseconds of the system clock)
    int32_t densityRefused_ = 0;
};
