// Where the font puts each glyph, observed through its per-glyph hook (no device needed).
#include "ui/VOFont.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Glyph {
    uint8_t Code;
    int32_t X, Y, Scale;
    uint32_t Colour;
    bool operator==(const Glyph&) const = default;
};

std::ostream& operator<<(std::ostream& os, const Glyph& g) {
    return os << "'" << char(g.Code) << "'@(" << g.X << "," << g.Y << ") s" << g.Scale << " c"
              << std::hex << g.Colour << std::dec;
}

class FontLayoutTest : public ::testing::Test {
protected:
    void SetUp() override {
        font.Advance.fill(8);
        font.Advance['A'] = 10;
        font.Advance['B'] = 6;
        font.Advance['i'] = 5;
        font.Advance['w'] = 7;
        font.Advance['-'] = 4;
        font.Advance['1'] = 5;
        font.Advance['5'] = 9;
        font.Advance['I'] = 3;
        font.Advance[' '] = 3;
        font.Advance['z'] = 0;
        font.OnGlyph = [this](uint8_t c, int32_t x, int32_t y, int32_t s, uint32_t col) {
            drawn.push_back({c, x, y, s, col});
        };
    }
    std::vector<int32_t> Xs() const {
        std::vector<int32_t> xs;
        for (const auto& g : drawn) xs.push_back(g.X);
        return xs;
    }

    TVOFont font{nullptr};
    std::vector<Glyph> drawn;
};

} // namespace

TEST_F(FontLayoutTest, LeftAlignedTextAdvancesThePenByEachCode) {
    font.DrawText("ABzA", 100, 40, 0xFF112233);
    EXPECT_EQ(drawn, (std::vector<Glyph>{{'A', 100, 40, 0, 0xFF112233},
                                         {'B', 110, 40, 0, 0xFF112233},
                                         {'z', 116, 40, 0, 0xFF112233},
                                         {'A', 116, 40, 0, 0xFF112233}}))
        << "a zero advance draws its glyph and leaves the pen";
    drawn.clear();
    font.DrawText("", 100, 40, 0);
    font.DrawTextCentered("", 100, 40, 0);
    font.DrawTextScaled("", 100, 40, 70, 0);
    EXPECT_TRUE(drawn.empty());
}

TEST_F(FontLayoutTest, CentredTextMayStartLeftOfTheScreen) {
    font.DrawTextCentered("AAB", 400, 0, 0); // width 26, half 13
    EXPECT_EQ(Xs(), (std::vector<int32_t>{387, 397, 407}));
    drawn.clear();
    font.DrawTextCentered("AAAAB", 10, 0, 0); // width 46, half 23
    EXPECT_EQ(Xs(), (std::vector<int32_t>{-13, -3, 7, 17, 27}));
}

TEST_F(FontLayoutTest, PensWrapAt16Bits) {
    font.DrawText("AAA", 65530, 0, 0);
    EXPECT_EQ(Xs(), (std::vector<int32_t>{65530, 4, 14}));
}

TEST_F(FontLayoutTest, ScaledTextRoundsEachAdvanceHalvesToEven) {
    font.DrawTextCentered("AiwB", 300, 10, 0);
    const auto unscaled = Xs();
    drawn.clear();
    font.DrawTextScaled("AiwB", 300, 10, 100, 0);
    EXPECT_EQ(Xs(), unscaled) << "100 percent places glyphs as the centred text";
    EXPECT_EQ(drawn[0].Scale, 256);

    drawn.clear();
    // At 50: A 10 -> 5, i 5 -> 2 (2.5), w 7 -> 4 (3.5), B 6 -> 3; width 14, half 7.
    font.DrawTextScaled("AiwB", 300, 10, 50, 0);
    EXPECT_EQ(Xs(), (std::vector<int32_t>{293, 298, 300, 304}));
    EXPECT_EQ(drawn[0].Scale, 128);

    drawn.clear();
    font.DrawTextScaled("A", 300, 10, 70, 0); // 2.56 * 70 = 179.2
    EXPECT_EQ(drawn[0].Scale, 179);
    drawn.clear();
    font.DrawTextScaled("A", 300, 10, 85, 0); // 217.6
    EXPECT_EQ(drawn[0].Scale, 218);
}

TEST_F(FontLayoutTest, NumbersEndAtTheirRightEdge) {
    font.DrawNumber(-15, 200, 30, 0xFFFFFFFF);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0], (Glyph{'-', 182, 30, 0, 0xFFFFFFFF}));
    EXPECT_EQ(drawn[2].Code, '5');
    EXPECT_EQ(drawn[2].X + font.Advance['5'], 200);
    drawn.clear();
    font.DrawNumber(0, 50, 0, 0);
    EXPECT_EQ(drawn, (std::vector<Glyph>{{'0', 42, 0, 0, 0}}));
}

TEST_F(FontLayoutTest, BlocksCentreEveryLineFifteenPixelsApart) {
    font.DrawTextBlock({"AA", "B", ""}, 400, 230, 100, 0xFF00FFFF);
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0], (Glyph{'A', 390, 230, 256, 0xFF00FFFF}));
    EXPECT_EQ(drawn[1], (Glyph{'A', 400, 230, 256, 0xFF00FFFF}));
    EXPECT_EQ(drawn[2], (Glyph{'B', 397, 245, 256, 0xFF00FFFF}));
    drawn.clear();
    font.DrawTextBlock({"i", "i", "i"}, 400, 230, 50, 0);
    EXPECT_EQ(drawn[1].Y, 245);
    EXPECT_EQ(drawn[2].Y, 260) << "the pitch does not scale";
    drawn.clear();
    font.DrawTextBlock({}, 400, 230, 70, 0);
    EXPECT_TRUE(drawn.empty());
}

TEST_F(FontLayoutTest, TheCaretTakesPartInTheCentring) {
    // The caret's room is as wide as an "I" and is no glyph: the caller draws a bar there.
    EXPECT_EQ(font.DrawTextCaret("", 400, 100, 100, 0), 399) << "3 wide, half 1";
    EXPECT_TRUE(drawn.empty());
    EXPECT_EQ(font.DrawTextCaret("AB", 400, 100, 100, 0), 407); // 19 wide, half 9
    EXPECT_EQ(Xs(), (std::vector<int32_t>{391, 401}));
}

TEST(FontWithoutDevice, LoadsNothingAndDrawsNothingWithoutFailing) {
    TVOFont font(nullptr);
    std::string error;
    EXPECT_TRUE(font.LoadMetrics("/nonexistent/font.rls", &error));
    EXPECT_TRUE(font.LoadGlyphs("/nonexistent/font.bmp", &error));
    EXPECT_EQ(font.Glyphs, nullptr);
    EXPECT_EQ(font.GlyphWidth, 0);
    font.DrawText("abc", 10, 10, 0xFFFFFFFF);
    font.DrawTextBlock({"x"}, 10, 10, 70, 0xFFFFFFFF);
}
