// The generator's drawing pieces: straight-alpha output, colour bleeding, the sphere, masks,
// the font and the picture files.
#include "render/ImageReader.h"
#include "tools/artgen/Canvas.h"
#include "tools/artgen/Files.h"
#include "tools/artgen/Font.h"
#include "tools/artgen/Sphere.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace artgen;

// Writes one premultiplied pixel (0xAARRGGBB) into a canvas.
void Put(TCanvas& c, int x, int y, unsigned argb) {
    c.Flush();
    c.Pixels()[y * c.Stride() + x] = argb;
    c.MarkDirty();
}

unsigned Get(TCanvas& c, int x, int y) {
    c.Flush();
    return c.Pixels()[y * c.Stride() + x];
}

std::string TempDir() {
    const auto dir =
        std::filesystem::temp_directory_path() / ("artgen-drawing-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    return dir.string();
}

TEST(StraightAlpha, UndoesThePremultiplication) {
    TCanvas c(2, 1);
    Put(c, 0, 0, 0x80800000); // red at half coverage, premultiplied
    Put(c, 1, 0, 0xFF204060);
    const std::vector<unsigned char> px = StraightBgra(c, 0, 0);
    EXPECT_EQ(px[2], 255); // R
    EXPECT_EQ(px[1], 0);
    EXPECT_EQ(px[3], 0x80); // alpha kept
    EXPECT_EQ(px[4], 0x60);
    EXPECT_EQ(px[5], 0x40);
    EXPECT_EQ(px[6], 0x20);
    EXPECT_EQ(px[7], 0xFF);
}

TEST(StraightAlpha, TransparentPixelsTakeTheirNeighboursColourWithinThePattern) {
    // Two 2 x 1 patterns side by side: a green pixel at x 1 (end of pattern 0) and nothing else.
    TCanvas c(4, 1);
    Put(c, 1, 0, 0xFF00FF00);
    const std::vector<unsigned char> px = StraightBgra(c, 2, 1);
    EXPECT_EQ(px[0 * 4 + 1], 255); // x 0 is bled green, still transparent
    EXPECT_EQ(px[0 * 4 + 3], 0);
    EXPECT_EQ(px[2 * 4 + 1], 0); // x 2 belongs to the next pattern: untouched
    EXPECT_EQ(px[2 * 4 + 3], 0);
}

TEST(Sphere, CoversItsDiscWithSoftEdges) {
    TCanvas c(40, 40);
    TBallPaint paint;
    paint.Albedo = [](double, double, double) { return TRgb{0.8, 0.2, 0.2}; };
    RenderSphere(c, paint, TBallPose{20, 20, 10});
    EXPECT_EQ(Get(c, 20, 20) >> 24, 255u);
    EXPECT_EQ(Get(c, 2, 2) >> 24, 0u);
    EXPECT_EQ(Get(c, 20, 35) >> 24, 0u);
    const unsigned edge = Get(c, 26, 27) >> 24; // the outline crosses this pixel
    EXPECT_GT(edge, 0u);
    EXPECT_LT(edge, 255u);
    // Lit from the upper left: that side is brighter than the lower right.
    EXPECT_GT((Get(c, 16, 16) >> 16) & 0xFF, (Get(c, 25, 25) >> 16) & 0xFF);
}

TEST(Sphere, SquashWidensAndFlattensTheBall) {
    TCanvas c(40, 40);
    TBallPaint paint;
    paint.Albedo = [](double, double, double) { return TRgb{0.2, 0.8, 0.2}; };
    TBallPose pose{20, 20, 10, 1.3, 0.7};
    RenderSphere(c, paint, pose);
    EXPECT_GT(Get(c, 31, 20) >> 24, 200u); // beyond the round radius sideways
    EXPECT_EQ(Get(c, 20, 29) >> 24, 0u);   // inside it vertically
}

TEST(Sphere, SymbolTintsTheSurface) {
    const TMask square([](cairo_t* cr) {
        cairo_rectangle(cr, -0.5, -0.5, 1, 1);
        cairo_fill(cr);
    });
    EXPECT_NEAR(square.Sample(0, 0), 1.0, 1e-6);
    EXPECT_NEAR(square.Sample(0.9, 0.9), 0.0, 1e-6);
    EXPECT_EQ(square.Sample(3, 0), 0.0);
    TBallPaint plain;
    plain.Albedo = [](double, double, double) { return TRgb{0.2, 0.2, 0.8}; };
    TBallPaint marked = plain;
    marked.Symbol = &square;
    marked.SymbolColour = {1, 1, 1};
    marked.SymbolStrength = 0.5;
    TCanvas a(40, 40), b(40, 40);
    RenderSphere(a, plain, TBallPose{20, 20, 15});
    RenderSphere(b, marked, TBallPose{20, 20, 15});
    EXPECT_GT((Get(b, 20, 22) >> 16) & 0xFF, ((Get(a, 20, 22) >> 16) & 0xFF) + 30);
    EXPECT_EQ(Get(b, 20, 5), Get(a, 20, 5)); // outside the symbol nothing changes
}

TEST(Blur, SpreadsWithoutLosingCoverage) {
    TCanvas c(40, 40);
    cairo_rectangle(c.Cr(), 10, 10, 20, 20);
    cairo_set_source_rgba(c.Cr(), 1, 1, 1, 1);
    cairo_fill(c.Cr());
    Blur(c, 2);
    EXPECT_GT(Get(c, 8, 20) >> 24, 0u);    // spread outwards
    EXPECT_LT(Get(c, 10, 20) >> 24, 255u); // edge softened
    EXPECT_EQ(Get(c, 20, 20) >> 24, 255u); // middle still solid
    double total = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x) total += Get(c, x, y) >> 24;
    EXPECT_NEAR(total / 255.0, 400.0, 6.0);
}

TEST(Rng, IsDeterministicAndInRange) {
    TRng a(5), b(5), other(6);
    bool differs = false;
    for (int i = 0; i < 1000; ++i) {
        const double v = a.Uniform();
        EXPECT_EQ(v, b.Uniform());
        EXPECT_GE(v, 0.0);
        EXPECT_LT(v, 1.0);
        differs = differs || v != other.Uniform();
    }
    EXPECT_TRUE(differs);
}

TEST(Font, MapsWindows1252) {
    EXPECT_EQ(Cp1252ToUnicode('A'), 0x41u);
    EXPECT_EQ(Cp1252ToUnicode(0x80), 0x20ACu); // euro
    EXPECT_EQ(Cp1252ToUnicode(0x9F), 0x0178u); // Y diaeresis
    EXPECT_EQ(Cp1252ToUnicode(0xE9), 0xE9u);
    for (unsigned char unused : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
        EXPECT_EQ(Cp1252ToUnicode(unused), 0u);
    EXPECT_EQ(Cp1252ToUnicode(10), 0u);
}

TEST(Font, MetricsAndScaledWidthsFollowTheGamesRules) {
    const TFontImage font;
    const std::string m = font.Metrics();
    ASSERT_EQ(m.size(), 258u);
    EXPECT_EQ(static_cast<unsigned char>(m[0]), kGlyphHeight);
    EXPECT_EQ(static_cast<unsigned char>(m[1]), kGlyphWidth);
    EXPECT_EQ(font.Width("Ab", 100), font.Advance('A') + font.Advance('b'));
    // Scaled advances are rounded per character, halves to even.
    int expected = 0;
    for (unsigned char ch : std::string("Velm Orra"))
        expected += static_cast<int>(std::nearbyint(font.Advance(ch) * 0.7));
    EXPECT_EQ(font.Width("Velm Orra", 70), expected);
    EXPECT_EQ(font.Glyphs().Width() / kGlyphWidth * (font.Glyphs().Height() / kGlyphHeight), 256);
}

TEST(PictureFiles, TgaRoundTripsThroughTheGamesReader) {
    TCanvas c(3, 2);
    Put(c, 0, 0, 0xFF102030);
    Put(c, 2, 1, 0x80400000); // half-covered red
    const std::string path = TempDir() + "/sub/folder/p.tga";
    std::string error;
    ASSERT_TRUE(WritePicture(path, c, 0, 0, &error)) << error;
    TBitmapEx b;
    ASSERT_TRUE(b.LoadFromFile(path, &error)) << error;
    EXPECT_EQ(b.Width(), 3);
    EXPECT_EQ(b.BitsPerPixel(), 32);
    EXPECT_EQ(b.PixelARGB(0, 0), 0xFF102030u);
    EXPECT_EQ(b.PixelARGB(2, 1), 0x80800000u);
    EXPECT_EQ(b.PixelARGB(1, 0) >> 24, 0u);
}

TEST(PictureFiles, BmpAndJpegAreOpaque24Bit) {
    TCanvas c(16, 16);
    cairo_set_source_rgb(c.Cr(), 0.0, 0.5, 1.0);
    cairo_paint(c.Cr());
    const std::string dir = TempDir();
    std::string error;
    for (const std::string name : {"/e.bmp", "/e.jpg"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(WritePicture(dir + name, c, 0, 0, &error)) << error;
        TBitmapEx b;
        ASSERT_TRUE(b.LoadFromFile(dir + name, &error)) << error;
        EXPECT_EQ(b.BitsPerPixel(), 24);
        const unsigned p = b.PixelARGB(8, 8);
        EXPECT_NEAR(static_cast<int>((p >> 16) & 0xFF), 0, 4);
        EXPECT_NEAR(static_cast<int>((p >> 8) & 0xFF), 128, 4);
        EXPECT_NEAR(static_cast<int>(p & 0xFF), 255, 4);
    }
}

TEST(PictureFiles, UnwritablePathIsReportedWithItsName) {
    TCanvas c(4, 4);
    std::string error;
    EXPECT_FALSE(WritePicture("/proc/artgen/x.tga", c, 0, 0, &error));
    EXPECT_NE(error.find("/proc/artgen"), std::string::npos) << error;
    EXPECT_FALSE(WriteFileBytes("/proc/artgen/strings.txt", "x", &error));
    EXPECT_NE(error.find("/proc/artgen"), std::string::npos) << error;
}

} // namespace
