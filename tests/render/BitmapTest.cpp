#include "platform/Bitmap.h"
#include "tests/render/TestFiles.h"

#include <gtest/gtest.h>

TEST(Bitmap, SizeAndDepthLimits) {
    TBitmap bmp;
    EXPECT_TRUE(bmp.SetSize(3, 2, 24));
    EXPECT_EQ(bmp.RowBytes(), 9);
    EXPECT_EQ(bmp.ScanLine(1) - bmp.ScanLine(0), 9); // rows are packed
    EXPECT_FALSE(bmp.SetSize(3, 2, 12));
    EXPECT_FALSE(bmp.SetSize(-1, 2, 32));
    EXPECT_FALSE(bmp.SetSize(16385, 16384, 32));
    // A refused size leaves the picture as it was.
    EXPECT_EQ(bmp.Width(), 3);
    EXPECT_EQ(bmp.BitsPerPixel(), 24);
    EXPECT_TRUE(bmp.SetSize(0, 0, 32));
    EXPECT_TRUE(bmp.Empty());
}

TEST(Bitmap, WideningKeepsColourAndZeroesAlpha) {
    TBitmap bmp;
    ASSERT_TRUE(bmp.SetSize(2, 2, 24));
    bmp.SetPixel(1, 1, 0x00332211); // red 0x11, green 0x22, blue 0x33
    ASSERT_TRUE(bmp.SetBitsPerPixel(32));
    EXPECT_EQ(bmp.BitsPerPixel(), 32);
    const uint8_t* p = bmp.ScanLine(1) + 4;
    EXPECT_EQ(p[0], 0x33);
    EXPECT_EQ(p[1], 0x22);
    EXPECT_EQ(p[2], 0x11);
    EXPECT_EQ(p[3], 0x00);
    ASSERT_TRUE(bmp.SetBitsPerPixel(24));
    EXPECT_EQ(bmp.PixelARGB(1, 1), 0xFF112233u);
    ASSERT_TRUE(bmp.SetSize(1, 1, 16));
    EXPECT_FALSE(bmp.SetBitsPerPixel(32));
}

TEST(Bitmap, BmpRoundTripKeepsAlphaAt32Bits) {
    TScratchDir dir;
    TBitmap bmp;
    ASSERT_TRUE(bmp.SetSize(5, 3, 32));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            uint8_t* p = bmp.ScanLine(y) + x * 4;
            p[0] = uint8_t(10 * x);
            p[1] = uint8_t(20 * y);
            p[2] = uint8_t(x + y);
            p[3] = uint8_t(40 * x + y + 1);
        }
    std::string error;
    ASSERT_TRUE(bmp.SaveToFile(dir.File("a.bmp"), &error)) << error;
    TBitmap back;
    ASSERT_TRUE(back.LoadFromFile(dir.File("a.bmp"), &error)) << error;
    ASSERT_EQ(back.BitsPerPixel(), 32);
    ASSERT_EQ(back.Width(), 5);
    ASSERT_EQ(back.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) EXPECT_EQ(back.PixelARGB(x, y), bmp.PixelARGB(x, y));
}

TEST(Bitmap, BmpRoundTripAt24Bits) {
    TScratchDir dir;
    TBitmap bmp;
    ASSERT_TRUE(bmp.SetSize(7, 2, 24)); // 21-byte rows: BMP pads them, we do not
    for (int x = 0; x < 7; ++x) bmp.SetPixel(x, x % 2, 0x00102030u * uint32_t(x + 1));
    ASSERT_TRUE(bmp.SaveToFile(dir.File("b.bmp")));
    TBitmap back;
    ASSERT_TRUE(back.LoadFromFile(dir.File("b.bmp")));
    EXPECT_EQ(back.BitsPerPixel(), 24);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(back.PixelARGB(x, y), bmp.PixelARGB(x, y));
}

TEST(Bitmap, DamagedOrMissingBmpFailsNamingTheFileAndKeepsThePicture) {
    TScratchDir dir;
    TBitmap bmp;
    ASSERT_TRUE(bmp.SetSize(2, 2, 24));
    WriteBytes(dir.File("junk.bmp"), {'B', 'M', 1, 2, 3});
    std::string error;
    EXPECT_FALSE(bmp.LoadFromFile(dir.File("junk.bmp"), &error));
    EXPECT_NE(error.find("junk.bmp"), std::string::npos);
    EXPECT_FALSE(bmp.LoadFromFile(dir.File("none.bmp"), &error));
    EXPECT_EQ(bmp.Width(), 2);
    TBitmap odd;
    ASSERT_TRUE(odd.SetSize(2, 2, 16));
    EXPECT_FALSE(odd.SaveToFile(dir.File("odd.bmp"), &error));
}

TEST(Bitmap, TinyFontCoversPrintableAsciiAndDrawsCells) {
    for (int c = 33; c < 127; ++c) {
        const uint8_t* g = TinyFontGlyph(char(c));
        int bits = 0;
        for (int r = 0; r < 7; ++r) bits |= g[r];
        EXPECT_NE(bits, 0) << "glyph for '" << char(c) << "' is blank";
        EXPECT_EQ(bits & ~0x1F, 0);
    }
    // Descenders reach below the baseline, so that "Initializing" does not end in a 9.
    for (char c : std::string("gjpqy"))
        EXPECT_NE(TinyFontGlyph(c)[7] | TinyFontGlyph(c)[8], 0) << c;
    EXPECT_EQ(TinyFontGlyph('9')[7] | TinyFontGlyph('9')[8], 0);
    EXPECT_EQ(TinyFontGlyph('\x01'), TinyFontGlyph('?'));
    EXPECT_EQ(TBitmap::TextWidth("Initializing..."), 15 * kTinyFontCellWidth);

    TBitmap bmp;
    ASSERT_TRUE(bmp.SetSize(20, 10, 32));
    bmp.TextOut(1, 1, "I", 0x000000FF, 0x00FF0000); // red on blue
    // 'I': top row .###. ; the cell's sixth column and eighth row are background.
    EXPECT_EQ(bmp.PixelARGB(1, 1), 0xFF0000FFu);
    EXPECT_EQ(bmp.PixelARGB(2, 1), 0xFFFF0000u);
    EXPECT_EQ(bmp.PixelARGB(3, 4), 0xFFFF0000u); // stem
    EXPECT_EQ(bmp.PixelARGB(6, 1), 0xFF0000FFu);
    EXPECT_EQ(bmp.PixelARGB(3, 8), 0xFF0000FFu);
    EXPECT_EQ(bmp.PixelARGB(7, 1), 0x00000000u); // outside the cell: untouched
    bmp.TextOut(15, 5, "WW", 0, 0);              // clipped at the picture's edge, no crash
}

TEST(Bitmap, ExtensionIsTakenFromTheLastComponent) {
    EXPECT_EQ(ExtractFileExt("graphics/ball.TGA"), ".TGA");
    EXPECT_EQ(ExtractFileExt("a.b/c"), "");
    EXPECT_EQ(ExtractFileExt("x.tar.jpg"), ".jpg");
    EXPECT_EQ(ExtractFileExt("noext"), "");
}
