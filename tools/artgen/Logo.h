#pragma once
// The logo and its animations: the two words, the ball that drops into the V (letter layers
// i.tga and ball.tga, 33 frames, drawn at (300, -30)), the flare, the shine over the second word,
// the small animated logo of the menu, and the pictures of the low-score and name-entry boxes.
#include "tools/artgen/Output.h"

#include <string>

namespace artgen {

void MakeLogo(TPictureSet& set);
// The whole logo at rest, scaled by `s` with the picture point (ox, oy) at the canvas origin:
// for icons and the contact sheet.
void DrawLogo(TCanvas& canvas, double s, double ox, double oy);
// The application icon: the ball in the V on a rounded tile, `size` pixels square.
TCanvas MakeIcon(int size);
// The same icon as a scalable SVG document (64 x 64 user units), for the desktop's scalable size.
std::string IconSvg();

} // namespace artgen
