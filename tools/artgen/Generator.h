#pragma once
#include "tools/artgen/Output.h"

#include <string>

namespace artgen {

// The folder of the 2x pictures inside the game's data folder: the same relative names as the 1x
// pictures (per-language ones included), each picture twice as many pixels each way.
inline constexpr const char* kDenseFolder = "@2x";

// Makes every picture, the font, the texts, the sounds and the music into `gameDir` (graphics/,
// sounds/, music/, strings.txt, sounds.txt), the pictures and the font's glyphs once more at 2x
// under kDenseFolder, and the contact sheet and icons into `reviewDir`. Fails, with the reason in
// `error`, when a picture does not satisfy the catalogue or a file cannot be written.
bool GenerateAll(const std::string& gameDir, const std::string& reviewDir, std::string* error);

// The font's metrics file as the 1x font lays it out.
std::string BaseFontMetrics();

} // namespace artgen

namespace artgen {

// The pictures with words in them (buttons, option rows, table titles, the in-game and loading
// backdrops, the help pages) in `language`, with every text that does not fit noted in the set.
TPictureSet MakeWordSet(const std::string& language);

} // namespace artgen
