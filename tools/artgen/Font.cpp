#include "tools/artgen/Font.h"

#include <cmath>

namespace artgen {

unsigned Cp1252ToUnicode(unsigned char c) {
    static const unsigned high[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    if (c < 32) return 0;
    if (c >= 128 && c < 160) return high[c - 128];
    return c;
}

namespace {

std::string Utf8(unsigned cp) {
    std::string s;
    if (cp < 0x80) {
        s += static_cast<char>(cp);
    } else if (cp < 0x800) {
        s += static_cast<char>(0xC0 | (cp >> 6));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        s += static_cast<char>(0xE0 | (cp >> 12));
        s += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        s += static_cast<char>(0x80 | (cp & 0x3F));
    }
    return s;
}

constexpr double kSize = 16.5;   // pixel size of the face
constexpr double kBaseline = 16; // baseline inside the cell
constexpr double kPenX = 1;      // glyphs start one pixel into their cell
constexpr double kRim = 1.5;     // width of the dark rim round each glyph

// Scaled advance: round(advance / 100 * scale), halves to even.
int ScaledAdvance(int advance, int scale) {
    return static_cast<int>(std::nearbyint(advance / 100.0 * scale));
}

} // namespace

TFontImage::TFontImage() : glyphs_(kGlyphWidth * kGlyphsAcross, kGlyphHeight * 16) {
    cairo_t* cr = glyphs_.Cr();
    SetFont(cr, TFace::Bold, kSize);
    for (int code = 0; code < 256; ++code) {
        const unsigned cp = Cp1252ToUnicode(static_cast<unsigned char>(code));
        if (cp == 0) continue;
        const std::string s = Utf8(cp);
        // Glyphs wider than the cell with their rim (per mille, ellipsis, dash, fractions) are
        // narrowed to fit instead of being cut off at the cell's edge.
        cairo_text_extents_t ink;
        cairo_text_extents(cr, s.c_str(), &ink);
        const double room = kGlyphWidth - kPenX - kRim;
        const double right = ink.x_bearing + ink.width + kRim;
        const double narrow = right > room ? room / right : 1.0;
        const double adv = TextWidth(cr, s) * narrow;
        advance_[static_cast<size_t>(code)] =
            static_cast<unsigned char>(std::min(kGlyphWidth - 1.0, std::round(adv)));
        const double x = (code % kGlyphsAcross) * kGlyphWidth;
        const double y = (code / kGlyphsAcross) * kGlyphHeight;
        cairo_save(cr);
        cairo_rectangle(cr, x, y, kGlyphWidth, kGlyphHeight);
        cairo_clip(cr);
        cairo_new_path(cr);
        cairo_translate(cr, x + kPenX, y + kBaseline);
        cairo_scale(cr, narrow, 1.0);
        TextPath(cr, s, 0, 0);
        cairo_identity_matrix(cr); // the rim keeps its width however the glyph was narrowed
        // A black rim under the white face: the game tints the face and leaves the rim black,
        // so every colour of text stands off any background (red on the message box reaches
        // 5.2 : 1 against its own rim) and floating scores stay readable over every ball.
        cairo_set_source_rgba(cr, 0, 0, 0, 1);
        cairo_set_line_width(cr, kRim * 2);
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        cairo_stroke_preserve(cr);
        cairo_set_source_rgba(cr, 1, 1, 1, 1);
        cairo_fill(cr);
        cairo_restore(cr);
    }
}

std::string TFontImage::Metrics() const {
    std::string m;
    m += static_cast<char>(kGlyphHeight);
    m += static_cast<char>(kGlyphWidth);
    for (unsigned char a : advance_) m += static_cast<char>(a);
    return m;
}

int MetricsWidth(const std::string& metrics, const std::string& text, int scale) {
    int w = 0;
    for (unsigned char c : text)
        if (2u + c < metrics.size())
            w += ScaledAdvance(static_cast<unsigned char>(metrics[2u + c]), scale);
    return w;
}

int MetricsCellHeight(const std::string& metrics) {
    return metrics.empty() ? 0 : static_cast<unsigned char>(metrics[0]);
}

int TFontImage::Width(const std::string& text, int scale) const {
    int w = 0;
    for (unsigned char c : text) w += ScaledAdvance(advance_[c], scale);
    return w;
}

void TFontImage::DrawLeft(TCanvas& target, const std::string& text, double x, double y,
                          const TRgb& colour, int scale) const {
    cairo_t* cr = target.Cr();
    const double s = std::nearbyint(scale * 2.56) / 256.0;
    double pen = x;
    for (unsigned char c : text) {
        const double sx = (c % kGlyphsAcross) * kGlyphWidth,
                     sy = (c / kGlyphsAcross) * kGlyphHeight;
        cairo_save(cr);
        cairo_translate(cr, pen, y);
        cairo_scale(cr, s, s);
        cairo_rectangle(cr, 0, 0, kGlyphWidth, kGlyphHeight);
        cairo_clip(cr);
        SetSource(cr, colour);
        cairo_mask_surface(cr, glyphs_.Surface(), -sx, -sy);
        cairo_restore(cr);
        pen += ScaledAdvance(advance_[c], scale);
    }
}

void TFontImage::DrawCentred(TCanvas& target, const std::string& text, double x, double y,
                             int scale, const TRgb& colour) const {
    DrawLeft(target, text, x - Width(text, scale) / 2, y, colour, scale);
}

void TFontImage::DrawRight(TCanvas& target, const std::string& text, double x, double y,
                           const TRgb& colour) const {
    DrawLeft(target, text, x - Width(text), y, colour);
}

} // namespace artgen
