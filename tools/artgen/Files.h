#pragma once
// Writing the generated data: pictures through the game's own image code (TBitmapEx for TGA,
// TBitmap for BMP), the background through libjpeg-turbo, and plain files.
#include "tools/artgen/Canvas.h"

#include <string>
#include <vector>

namespace artgen {

// Straight-alpha 32-bit rows (B, G, R, A) of the canvas's pixels; pattern sizes are in picture
// units. Fully transparent pixels take the colour of their
// visible neighbours within the same pattern, so filtering at shape edges shows no dark fringe.
std::vector<unsigned char> StraightBgra(const TCanvas& canvas, int patternWidth, int patternHeight);

// By extension: ".tga" a 32-bit TGA (run-length coded on a canvas of density 2), ".bmp" a 24-bit
// BMP (over black), ".jpg" a JPEG (over black). Creates missing folders. False with the reason in
// `error`.
bool WritePicture(const std::string& path, const TCanvas& canvas, int patternWidth,
                  int patternHeight, std::string* error);
// A 32-bit BMP with straight alpha (the font's glyph picture).
bool WriteAlphaBmp(const std::string& path, const TCanvas& canvas, int patternWidth,
                   int patternHeight, std::string* error);
bool WriteFileBytes(const std::string& path, const std::string& bytes, std::string* error);

} // namespace artgen
