#pragma once
// The full-screen pictures: the logo screen's background (JPEG), the loading backdrop and its
// progress bar, the in-game background that frames the field, the menu, the score and the
// preview tray, and the field cells.
#include "tools/artgen/Output.h"

namespace artgen {

void MakeScreens(TPictureSet& set);
// Only the screens with words on them (the loading backdrop, the in-game background), in the
// generator's current language; a part of MakeScreens.
void MakeWordScreens(TPictureSet& set);
// The shared deep blue-violet backdrop with soft lights, used by every screen.
void PaintBackdrop(TCanvas& canvas, unsigned seed);

} // namespace artgen
