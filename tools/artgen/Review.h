#pragma once
// Review material that is not game data: the contact sheet of every picture with its patterns,
// mock-ups of the screens composed the way the game draws them, and the application icons.
#include "tools/artgen/Output.h"

#include <string>

namespace artgen {

// Draws pattern `pattern` of a generated picture with its top-left corner at (x, y).
void DrawPattern(TCanvas& target, const TPictureSet& set, const std::string& file, int pattern,
                 double x, double y, double alpha = 1.0);
// The same, centred on (cx, cy) as the game's rotated draws place it.
void DrawPatternCentred(TCanvas& target, const TPictureSet& set, const std::string& file,
                        int pattern, double cx, double cy);

bool WriteReview(const TPictureSet& set, const std::string& reviewDir, std::string* error);

} // namespace artgen
