// The generated pictures against the places the game draws them.
#include "render/TGAReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

const std::string kData = VO_GAME_DATA_DIR;

TBitmapEx Load(const std::string& file) {
    TBitmapEx b;
    std::string error;
    EXPECT_TRUE(b.LoadFromFile(kData + "/" + file, &error)) << error;
    return b;
}

unsigned Alpha(const TBitmap& b, int x, int y) {
    return b.PixelARGB(x, y) >> 24;
}

// Sum of absolute channel differences between two patterns stacked vertically (pattern p at
// y = p h).
long PatternDifference(const TBitmap& b, int h, int p, int q) {
    long d = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const uint32_t a = b.PixelARGB(x, p * h + y), c = b.PixelARGB(x, q * h + y);
            for (int k = 0; k < 32; k += 8)
                d +=
                    std::abs(static_cast<int>((a >> k) & 0xFF) - static_cast<int>((c >> k) & 0xFF));
        }
    return d;
}

// The in-game background is the first picture of every frame: it must cover the screen.
TEST(Layout, InGameBackgroundIsOpaque) {
    const TBitmapEx b = Load("graphics/ingame.tga");
    ASSERT_EQ(b.Width(), 800);
    ASSERT_EQ(b.Height(), 600);
    for (int y = 0; y < 600; y += 7)
        for (int x = 0; x < 800; x += 7) ASSERT_EQ(Alpha(b, x, y), 255u) << x << "," << y;
}

TEST(Layout, EveryButtonStateLooksDifferent) {
    struct TButton {
        const char* File;
        int Height;
    };
    for (const TButton& button :
         {TButton{"new game.tga", 26}, TButton{"kids.tga", 25}, TButton{"normal.tga", 25},
          TButton{"professional.tga", 25}, TButton{"options.tga", 31},
          TButton{"instructions.tga", 31}, TButton{"high scores.tga", 31}, TButton{"exit.tga", 31},
          TButton{"back.tga", 40}, TButton{"clear.tga", 40}, TButton{"yes.tga", 48},
          TButton{"no.tga", 48}, TButton{"prev.tga", 24}, TButton{"next.tga", 24},
          TButton{"high_mode_l.tga", 34}, TButton{"high_mode_r.tga", 34}, TButton{"up.tga", 18},
          TButton{"down.tga", 18}}) {
        SCOPED_TRACE(button.File);
        const TBitmapEx b = Load(std::string("graphics/buttons/") + button.File);
        ASSERT_GE(b.Height() / button.Height, 3);
        const long area = static_cast<long>(b.Width()) * button.Height;
        EXPECT_GT(PatternDifference(b, button.Height, 0, 1), area * 4); // hover shows
        EXPECT_GT(PatternDifference(b, button.Height, 0, 2), area * 4); // pressed shows
        EXPECT_GT(PatternDifference(b, button.Height, 1, 2), area * 4);
    }
}

// The check box is drawn at (410, 360) and answers to x 411..433, y 362..383: the tick must
// fall inside that square; the label beside it stays the same.
TEST(Layout, FullScreenCheckBoxTicksInsideItsHitArea) {
    const TBitmapEx b = Load("graphics/buttons/fullscreen.tga");
    const int h = 25;
    long inside = 0, outside = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const uint32_t a = b.PixelARGB(x, y), c = b.PixelARGB(x, h + y);
            long d = 0;
            for (int k = 0; k < 32; k += 8)
                d +=
                    std::abs(static_cast<int>((a >> k) & 0xFF) - static_cast<int>((c >> k) & 0xFF));
            (x >= 1 && x <= 23 && y >= 2 && y <= 23 ? inside : outside) += d;
        }
    EXPECT_GT(inside, 255 * 20);
    EXPECT_EQ(outside, 0);
}

TEST(Layout, VolumeBarIsLightSoTheTintShows) {
    const TBitmapEx b = Load("graphics/buttons/sound_opt_g.tga");
    ASSERT_EQ(b.Width(), 194);
    long sum = 0, n = 0;
    for (int y = 14; y < 28; ++y)
        for (int x = 0; x < 194; ++x)
            if (Alpha(b, x, y) == 255) {
                const uint32_t p = b.PixelARGB(x, y);
                sum += ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
                n += 3;
            }
    ASSERT_GT(n, 194 * 3 * 6);
    EXPECT_GT(sum / n, 160);
}

TEST(Layout, PointerTipIsTheTopLeftPixel) {
    const TBitmapEx b = Load("graphics/cursor.tga");
    EXPECT_GT(Alpha(b, 1, 1), 128u);
    EXPECT_EQ(Alpha(b, 16, 2), 0u);
}

// Bounding box of the visible pixels of a picture, in screen coordinates when drawn at (ox, oy).
struct TBox {
    int X0 = 1 << 20, Y0 = 1 << 20, X1 = -1, Y1 = -1;
};

TBox VisibleBox(const TBitmap& b, int ox, int oy, unsigned threshold) {
    TBox box;
    for (int y = 0; y < b.Height(); ++y)
        for (int x = 0; x < b.Width(); ++x)
            if (Alpha(b, x, y) > threshold) {
                box.X0 = std::min(box.X0, ox + x);
                box.Y0 = std::min(box.Y0, oy + y);
                box.X1 = std::max(box.X1, ox + x);
                box.Y1 = std::max(box.Y1, oy + y);
            }
    return box;
}

// The shine (235 x 75 at (281, 233)) runs over the second word, drawn at (270, 120); the
// progress bar (at (286, 330)) fits the trough of the loading backdrop.
TEST(Layout, LogoShineCoversTheSecondWordAndTheBarFitsItsTrough) {
    const TBox orra = VisibleBox(Load("graphics/logo/orra.tga"), 270, 120, 128);
    EXPECT_GE(orra.X0, 281 - 4);
    EXPECT_LE(orra.X1, 281 + 235 + 4);
    EXPECT_GE(orra.Y0, 233 - 4);
    EXPECT_LE(orra.Y1, 233 + 75);
    const TBitmapEx bar = Load("graphics/statusline.tga");
    const TBitmapEx backdrop = Load("graphics/loading_element.tga");
    ASSERT_EQ(backdrop.Width(), 800);
    // The trough is darker than its surroundings along the whole bar.
    for (int x = 286; x < 286 + bar.Width(); x += 4) {
        EXPECT_GT(Alpha(backdrop, x, 330 + bar.Height() / 2), 150u) << x;
    }
}

// The small logo rests on its last frame: frame 37 is the logo at rest, with the ball.
TEST(Layout, SmallLogoEndsAtRest) {
    const TBitmapEx b = Load("graphics/logo_small.tga");
    const int across = b.Width() / 125;
    ASSERT_GE(across * (b.Height() / 100), 38);
    const int x0 = (37 % across) * 125, y0 = (37 / across) * 100;
    const TBox box = VisibleBox(b, -x0, -y0, 200);
    EXPECT_GE(box.X0, x0 - x0);
    EXPECT_LE(box.X1 - box.X0, 124);
    long visible = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 125; ++x) visible += Alpha(b, x0 + x, y0 + y) > 200;
    EXPECT_GT(visible, 125 * 100 / 10);
}

} // namespace
