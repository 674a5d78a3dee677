#pragma once
#include "render/Catalogue.h"
#include "tools/artgen/Output.h"

#include <string>
#include <vector>

namespace artgen {

// Makes every picture, the font, the texts, the sounds and the music into `gameDir` (graphics/,
// sounds/, music/, strings.txt, sounds.txt), the pictures and the font's glyphs once more at 2x
// under kDenseFolder, and the contact sheet and icons into `reviewDir`. Fails, with the reason in
// `error`, when a picture does not satisfy the catalogue or a file cannot be written.
bool GenerateAll(const std::string& gameDir, const std::string& reviewDir, std::string* error);

// The font's metrics file as the 1x font lays it out.
std::string BaseFontMetrics();

// The texts of `language` the game sets with its own font that would not fit: a message's text
// or caption that fits its box at none of the message scales, a tip that takes more lines than
// the tips' box holds. One line each; empty when all fit.
std::vector<std::string> TextMisfits(const std::string& language);

} // namespace artgen

namespace artgen {

// The pictures with words in them (buttons, option rows, table titles, the in-game and loading
// backdrops, the help pages) in `language`, with every text that does not fit noted in the set.
TPictureSet MakeWordSet(const std::string& language);

} // namespace artgen
