#pragma once
// The catalogue of every picture: file (relative to the game's data folder), pattern size, texture
// size, format, and the global set it fills. The loading steps walk it in order; the artwork
// generator makes every file in it and checks the pattern counts.
#include <string>
#include <vector>

class TPatternImage;

// The folder of the dense pictures inside the data folder: every picture (the per-language ones
// under lang/ included) and the font's glyphs with the same relative names, drawn at twice the
// pixels each way. The game draws from it where a picture pixel shows larger than 1.25 real
// pixels; sizes in the catalogue stay those of the 800 x 600 picture.
inline constexpr const char* kDenseFolder = "@2x";

// The ball pictures with the colours' symbols at full contrast (the plain, two-colour and paint
// balls' %d_0 and %d_1, numbers 1..10 and 12..18): the same names under this folder, the same
// pattern sizes. While the player asks for clear symbols they are loaded in place of the others.
inline constexpr const char* kClearSymbolsFolder = "graphics/balls/clear/";

struct TCatalogueEntry {
    std::string File;     // e.g. "graphics/balls/1_0.tga"
    int PatternWidth = 0; // 0 with Whole: the whole picture is one pattern
    int PatternHeight = 0;
    int TextureWidth = 0;
    int TextureHeight = 0;
    int Format = 21;                // 21 A8R8G8B8 (with alpha), 23 R5G6B5 (no alpha)
    bool Whole = false;             // loaded with LoadAuto
    int MinPatterns = 1;            // patterns the game draws from it; the picture must hold these
    TPatternImage** Slot = nullptr; // the global picture set it fills (in Pictures)
};

// Loaded at start-up, before the logo, without progress frames.
const std::vector<TCatalogueEntry>& StartupCatalogue();
// Loaded by the loading step, one progress frame each: 117 entries. 22_0.tga fills ball set
// entry 21 and is then replaced there by bomb_0.tga; both count.
const std::vector<TCatalogueEntry>& IngameCatalogue();
// Loaded by the loading step after the in-game pictures, without progress frames: the language
// row of the Options screen and its second panel with the switches.
const std::vector<TCatalogueEntry>& OptionsCatalogue();
// Loaded after those, without progress frames: the sparks, rings and glows of the payoff, the
// tips' box and the new high score's banner.
const std::vector<TCatalogueEntry>& EffectsCatalogue();

// The clear-symbols twin of a catalogue file ("graphics/balls/3_1.tga" gives
// "graphics/balls/clear/3_1.tga"), or "" for a file without one.
std::string ClearSymbolsFile(const std::string& file);
