#pragma once
// Every ball picture: the ball at rest with its hover shimmer (%d_0), the bounce of the selected
// ball (%d_1), the bomb pictures, the four idle sparkles (%d_2 .. %d_5) and the paint splash
// (%d_6) of each colour.
#include "tools/artgen/Canvas.h"
#include "tools/artgen/Output.h"

namespace artgen {

void MakeBalls(TPictureSet& set);

// The ball of picture k (0-based) at rest, centre (cx, cy), radius r, with its shadow and its
// decoration (paint drops, multiplier figure, bomb fuse). `shine` 0..1 brightens the highlight;
// `spin` turns the surface; `spark` 0..1 is the fuse spark's phase of a bomb.
void DrawBall(TCanvas& canvas, int picture, double cx, double cy, double r, double shine = 0,
              double spin = 0, double spark = 0, bool clearSymbols = false);
// The bomb alone: body centre (cx, cy), radius r; `heat` 0..1 grows the spark and the glow.
void DrawBomb(TCanvas& canvas, double cx, double cy, double r, double spark, double heat);

} // namespace artgen
