// The generated pictures against the places the game draws them.
#include "layout/Layout.h"
#include "render/Catalogue.h"
#include "render/ImageReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

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

// The check box answers to the square of kFullScreenHit: the tick must fall inside that square;
// the label beside it stays the same.
TEST(Layout, FullScreenCheckBoxTicksInsideItsHitArea) {
    const TBitmapEx b = Load("graphics/buttons/fullscreen.tga");
    const int h = 25;
    // The hit square in the picture's own pixels, edges included.
    const int left = kFullScreenHit.Left - kFullScreenBox.X;
    const int right = kFullScreenHit.Right - kFullScreenBox.X;
    const int top = kFullScreenHit.Top - kFullScreenBox.Y;
    const int bottom = kFullScreenHit.Bottom - kFullScreenBox.Y;
    long inside = 0, outside = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < b.Width(); ++x) {
            const uint32_t a = b.PixelARGB(x, y), c = b.PixelARGB(x, h + y);
            long d = 0;
            for (int k = 0; k < 32; k += 8)
                d +=
                    std::abs(static_cast<int>((a >> k) & 0xFF) - static_cast<int>((c >> k) & 0xFF));
            (x >= left && x <= right && y >= top && y <= bottom ? inside : outside) += d;
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

// The shine (235 x 75) runs over the second word; the progress bar fits the trough of the
// loading backdrop.
TEST(Layout, LogoShineCoversTheSecondWordAndTheBarFitsItsTrough) {
    const TBox orra = VisibleBox(Load("graphics/logo/orra.tga"), kLogoWords.X, kLogoWords.Y, 128);
    EXPECT_GE(orra.X0, kLogoShine.X - 4);
    EXPECT_LE(orra.X1, kLogoShine.X + 235 + 4);
    EXPECT_GE(orra.Y0, kLogoShine.Y - 4);
    EXPECT_LE(orra.Y1, kLogoShine.Y + 75);
    const TBitmapEx bar = Load("graphics/statusline.tga");
    const TBitmapEx backdrop = Load("graphics/loading_element.tga");
    ASSERT_EQ(backdrop.Width(), 800);
    // The trough is darker than its surroundings along the whole bar.
    for (int x = kProgressBar.X; x < kProgressBar.X + bar.Width(); x += 4) {
        EXPECT_GT(Alpha(backdrop, x, kProgressBar.Y + bar.Height() / 2), 150u) << x;
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

const TCatalogueEntry* Catalogued(const std::string& file) {
    for (const auto* catalogue : {&IngameCatalogue(), &OptionsCatalogue(), &EffectsCatalogue()})
        for (const TCatalogueEntry& e : *catalogue)
            if (e.File == file) return &e;
    return nullptr;
}

// Share of the pixels of the rectangle (x, y, w, h) of `b` whose alpha is above 128.
double OpaqueShare(const TBitmap& b, int x, int y, int w, int h) {
    long opaque = 0;
    for (int j = y; j < y + h; ++j)
        for (int i = x; i < x + w; ++i) opaque += Alpha(b, i, j) > 128;
    return static_cast<double>(opaque) / (w * h);
}

// Every place the game takes a press at shows its generated picture there, so that a place moved
// in the layout cannot leave its picture behind: each button's picture fills its hit rectangle
// (its pattern rectangle at its place, inside the screen) and shows at its middle, where the
// other buttons are not; the volume bars lie in the bands a press sets them in, over their
// rows' troughs; every cell of the field shows the empty cell's picture inside the field's frame.
// (The check box has its own test above.)
TEST(Layout, EveryClickablePlaceLiesOnItsPicture) {
    struct TRect {
        int X, Y, W, H;
    };
    // Every button picture is a column of patterns (normal, hovered, pressed) of the catalogue's
    // size.
    std::vector<TRect> buttons;
    for (int i = 0; i < kButtonCount; ++i) {
        const TButtonPlace& place = kButtonPlaces[i];
        const std::string file = std::string(kButtonFolder) + place.Picture;
        SCOPED_TRACE(file);
        const TCatalogueEntry* e = Catalogued(file);
        ASSERT_NE(e, nullptr);
        const TRect r{place.X, place.Y, e->PatternWidth, e->PatternHeight};
        EXPECT_GE(r.X, 0);
        EXPECT_GE(r.Y, 0);
        EXPECT_LE(r.X + r.W, kPictureWidth);
        EXPECT_LE(r.Y + r.H, kPictureHeight);
        const TBitmapEx b = Load(file);
        ASSERT_GE(b.Width(), r.W);
        ASSERT_GE(b.Height(), r.H);
        EXPECT_GT(OpaqueShare(b, 0, 0, r.W, r.H), 0.5);
        EXPECT_GT(Alpha(b, r.W / 2, r.H / 2), 128u);
        // Buttons shown on the same screen do not overlap.
        for (int j = 0; j < i; ++j) {
            const TRect& o = buttons[static_cast<size_t>(j)];
            const bool overlap =
                r.X < o.X + o.W && o.X < r.X + r.W && r.Y < o.Y + o.H && o.Y < r.Y + r.H;
            EXPECT_FALSE(overlap && (place.Screens & kButtonPlaces[j].Screens) != 0)
                << "overlaps button " << j;
        }
        buttons.push_back(r);
    }

    const TCatalogueEntry* barEntry = Catalogued("graphics/buttons/sound_opt_g.tga");
    ASSERT_NE(barEntry, nullptr);
    const TBitmapEx bar = Load("graphics/buttons/sound_opt_g.tga");
    const TBitmapEx row = Load("graphics/buttons/sound_opt.tga");
    // The lit bar, pattern 1, below the unlit one.
    TBox lit;
    for (int y = 0; y < barEntry->PatternHeight; ++y)
        for (int x = 0; x < barEntry->PatternWidth; ++x)
            if (Alpha(bar, x, barEntry->PatternHeight + y) > 200) {
                lit.X0 = std::min(lit.X0, kVolumeBarLeft + x);
                lit.X1 = std::max(lit.X1, kVolumeBarLeft + x);
                lit.Y0 = std::min(lit.Y0, y);
                lit.Y1 = std::max(lit.Y1, y);
            }
    for (const auto& [rowPlace, top, pattern] :
         {std::tuple{kMusicRow, kMusicBarTop, 1}, std::tuple{kSoundRow, kSoundBarTop, 0}}) {
        SCOPED_TRACE(top);
        // The bar's visible pixels lie strictly inside the band a press answers to.
        EXPECT_GT(lit.X0, kVolumeBarLeft);
        EXPECT_LT(lit.X1, kVolumeBarLeft + barEntry->PatternWidth);
        EXPECT_GT(top + lit.Y0, top);
        EXPECT_LT(top + lit.Y1, top + kVolumeBarHitHeight);
        // The row's picture is under the whole bar.
        const int rowTop = pattern * 45; // the rows' patterns are 45 pixels high, stacked
        for (int x = lit.X0; x <= lit.X1; x += 3)
            EXPECT_GT(Alpha(row, x - rowPlace.X, rowTop + top + 7 - rowPlace.Y), 128u) << x;
    }

    const TBitmapEx field = Load("graphics/field.tga");
    const TCatalogueEntry* cell = Catalogued("graphics/field.tga");
    ASSERT_NE(cell, nullptr);
    const int across = field.Width() / cell->PatternWidth;
    const int emptyX = (3 % across) * cell->PatternWidth,
              emptyY = (3 / across) * cell->PatternHeight;
    // A cell's press square is kCellPitch wide; its picture leaves a pixel between the cells.
    EXPECT_GE(cell->PatternWidth, kCellPitch - 1);
    EXPECT_GT(OpaqueShare(field, emptyX, emptyY, cell->PatternWidth, cell->PatternHeight), 0.9);
    // The cells lie inside the frame the in-game background draws: the well under every cell's
    // middle is darker than the frame around the field.
    const TBitmapEx ingame = Load("graphics/ingame.tga");
    auto brightness = [&](int x, int y) {
        const uint32_t p = ingame.PixelARGB(x, y);
        return ((p >> 16) & 0xFF) + ((p >> 8) & 0xFF) + (p & 0xFF);
    };
    EXPECT_GE(kFieldLeft, 0);
    EXPECT_LE(kFieldRight, kPictureWidth);
    EXPECT_LE(kFieldBottom, kPictureHeight);
    const uint32_t frame = brightness(kFieldLeft - 4, kFieldTop + 200);
    for (int y = 0; y < kFieldCells; ++y)
        for (int x = 0; x < kFieldCells; ++x)
            EXPECT_LT(brightness(CellCentreX(x), CellCentreY(y)), frame) << x << "," << y;
}

} // namespace

// Upright on a narrow page, every place the player presses must be shown whole in one piece of
// the arrangement (a button cut between pieces could not be pressed where it shows), the pieces
// must lie in the arranged picture without overlapping, and the field's frame must span its
// width: a 390-pixel-wide phone then shows a cell 40 pixels or more.
TEST(Layout, UprightArrangementsShowEveryPlaceToPressWhole) {
    struct TArranged {
        const char* Name;
        std::vector<TShownPiece> Pieces;
        uint32_t Screens; // whose buttons it must show
    };
    const TArranged arrangements[] = {
        {"upright",
         {std::begin(kPortraitPlaying), std::end(kPortraitPlaying)},
         scrPlaying | scrMenu | scrHelp | scrHighScores | scrOptions | scrMessageBox}};
    EXPECT_GE(390.0 * kCellPitch / kPortraitWidth, 40.0);
    const auto inside = [](const TEdges& r, const TShownPiece& p) {
        return r.Left >= p.From.Left && r.Top >= p.From.Top && r.Right <= p.From.Right &&
               r.Bottom <= p.From.Bottom;
    };
    for (const TArranged& a : arrangements) {
        SCOPED_TRACE(a.Name);
        EXPECT_EQ(a.Pieces.front().From.Right - a.Pieces.front().From.Left, kPortraitWidth);
        for (size_t i = 0; i < a.Pieces.size(); ++i) {
            const TShownPiece& p = a.Pieces[i];
            const int w = p.From.Right - p.From.Left, h = p.From.Bottom - p.From.Top;
            EXPECT_TRUE(p.From.Left >= 0 && p.From.Top >= 0 && p.From.Right <= kPictureWidth &&
                        p.From.Bottom <= kPictureHeight && w > 0 && h > 0)
                << "piece " << i;
            EXPECT_TRUE(p.To.X >= 0 && p.To.Y >= 0 && p.To.X + w <= kPortraitWidth &&
                        p.To.Y + h <= kPortraitHeight)
                << "piece " << i;
            for (size_t j = 0; j < i; ++j) {
                const TShownPiece& q = a.Pieces[j];
                const int qw = q.From.Right - q.From.Left, qh = q.From.Bottom - q.From.Top;
                EXPECT_FALSE(p.To.X < q.To.X + qw && q.To.X < p.To.X + w && p.To.Y < q.To.Y + qh &&
                             q.To.Y < p.To.Y + h)
                    << "pieces " << j << " and " << i << " overlap";
            }
        }
        std::vector<TEdges> places{kFieldFrame, kTipBox};
        for (int i = 0; i < kButtonCount; ++i) {
            const TButtonPlace& b = kButtonPlaces[i];
            if (!(b.Screens & a.Screens)) continue;
            const TCatalogueEntry* e = Catalogued(std::string(kButtonFolder) + b.Picture);
            ASSERT_NE(e, nullptr);
            places.push_back({b.X, b.Y, b.X + e->PatternWidth, b.Y + e->PatternHeight});
        }
        for (const TEdges& r : places) {
            bool whole = false;
            for (const TShownPiece& p : a.Pieces) whole = whole || inside(r, p);
            EXPECT_TRUE(whole) << r.Left << "," << r.Top << " - " << r.Right << "," << r.Bottom;
        }
    }
}
