#pragma once
// The seven ball colours, each with the faint symbol that tells it apart without colour, and the
// shared colours of the interface.
#include "tools/artgen/Canvas.h"
#include "tools/artgen/Sphere.h"

#include <string>

namespace artgen {

constexpr int kColours = 7;

TRgb BallColour(int colour);           // colour 1..7
const TMask& ColourSymbol(int colour); // colour 1..7
const char* ColourName(int colour);    // "red", ... for the help pages
// Draws the symbol of `colour` filled, centred at (cx, cy), fitting a square of half-size r.
void SymbolPath(cairo_t* cr, int colour, double cx, double cy, double r);

// The look of ball picture k (0-based Picture: 0..6 plain, 7..9 two-colour, 10 rainbow,
// 11..17 paint, 18..20 multipliers, 21 bomb). `clearSymbols`: the colours' symbols at full
// contrast, larger, over a rim (a paint ball shows its colour's symbol for its drop, a two-colour
// ball both its colours' symbols, one on each half).
TBallPaint BallPaintFor(int picture, bool clearSymbols = false);
// The pictures that have a clear-symbols look of their own: the plain, two-colour and paint balls.
bool HasClearSymbols(int picture);
// Colours of the two-colour pictures 7, 8, 9.
void TwoColours(int picture, int& first, int& second);

// Interface palette.
namespace ui {
const TRgb kBackTop = Rgb(0x1E1650);
const TRgb kBackBottom = Rgb(0x0A0822);
const TRgb kPanel = Rgb(0x18123E);
const TRgb kPanelEdge = Rgb(0x8C7CFF);
const TRgb kAccent = Rgb(0x6FE3FF);
const TRgb kGold = Rgb(0xFFD36E);
const TRgb kText = Rgb(0xF2EEFF);
const TRgb kTextDim = Rgb(0xB9B0E8);
} // namespace ui

} // namespace artgen
