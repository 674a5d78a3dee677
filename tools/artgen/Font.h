#pragma once
// The game's bitmap font: DejaVu Sans Bold rendered into 256 cells (Windows-1252, codes 32..255;
// 0..31 and the unused codes stay empty): a white face with a black rim, coverage in
// alpha, with the advance widths.
// Cells are 22 x 21 pixels so that text at scale 70 stays within the 15-pixel line pitch of the
// message boxes (21 x 0.7 = 14.7).
#include "tools/artgen/Canvas.h"

#include <array>
#include <string>

namespace artgen {

constexpr int kGlyphWidth = 22;
constexpr int kGlyphHeight = 21;
constexpr int kGlyphsAcross = 16;

class TFontImage {
public:
    TFontImage(); // renders the glyphs

    // font.rls: cell height, cell width, 256 advances.
    std::string Metrics() const;
    const TCanvas& Glyphs() const { return glyphs_; } // 16 cells across, 16 down
    int Advance(unsigned char c) const { return advance_[c]; }

    // Drawing as the game does it (for mock-ups): text is Windows-1252 bytes, y is the top of the
    // cells, scale in percent with advances rounded per character (halves to even).
    void DrawLeft(TCanvas& target, const std::string& text, double x, double y, const TRgb& colour,
                  int scale = 100) const;
    void DrawCentred(TCanvas& target, const std::string& text, double x, double y, int scale,
                     const TRgb& colour) const;
    void DrawRight(TCanvas& target, const std::string& text, double x, double y,
                   const TRgb& colour) const;
    int Width(const std::string& text, int scale = 100) const;

private:
    std::array<unsigned char, 256> advance_{};
    TCanvas glyphs_;
};

// Width of Windows-1252 `text` at `scale` percent as the game lays it out, from the font's
// metrics file (cell height, cell width, 256 advances), and the cells' height.
int MetricsWidth(const std::string& metrics, const std::string& text, int scale);
int MetricsCellHeight(const std::string& metrics);

// The Unicode code point of a Windows-1252 byte, or 0 for codes without a character.
unsigned Cp1252ToUnicode(unsigned char c);

} // namespace artgen
