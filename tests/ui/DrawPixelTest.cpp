// Text, buttons and fading texts rendered offscreen and checked by their pixels.
#include "fx/ParticleEngine.h"
#include "layout/Layout.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"
#include "state/GameState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "tests/support/TempDir.h"
#include "tests/ui/TestArt.h"
#include "ui/Buttons.h"
#include "ui/VOFont.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

namespace fs = std::filesystem;

namespace {

constexpr uint32_t kRed = 0xFF0000FF; // 0xAABBGGRR
constexpr uint32_t kRedArgb = 0xFFFF0000;

class DrawPixelTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetShellState();
        dir_ = testart::MakeTempDir("vo_pixels_");
        ASSERT_TRUE(testart::WriteFont(dir_.string()));
        dev.SetOffscreen(true);
        dev.SetWidth(800);
        dev.SetHeight(600);
        ASSERT_EQ(dev.InitDevice(), 0);
        std::string error;
        ASSERT_TRUE(font.LoadMetrics(Path("font.rls"), &error)) << error;
        ASSERT_TRUE(font.LoadGlyphs(Path("font.bmp"), &error)) << error;
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::string Path(const std::string& name) const { return (dir_ / name).string(); }

    // Renders one frame with `draw` and keeps its pixels.
    void Render(const std::function<void()>& draw) {
        ASSERT_TRUE(dev.BeginFrame());
        draw();
        ASSERT_TRUE(dev.EndFrame());
        ASSERT_TRUE(dev.PresentFrame());
        frame = dev.ReadFrame();
        ASSERT_EQ(frame.size(), 800u * 600u);
    }
    uint32_t At(int x, int y) const { return frame[size_t(y) * 800 + size_t(x)] | 0xFF000000; }
    bool Lit(int x, int y) const { return (At(x, y) & 0xFFFFFF) != 0; }
    // The columns of row y within [x0, x1) that hold any colour.
    std::string Row(int y, int x0, int x1) const {
        std::string s;
        for (int x = x0; x < x1; ++x) s += Lit(x, y) ? '#' : '.';
        return s;
    }

    fs::path dir_;
    TRenderDevice dev;
    TVOFont font{&dev};
    std::vector<uint32_t> frame;
};

} // namespace

TEST_F(DrawPixelTest, TheMetricsFileGivesCellSizeAndAdvances) {
    EXPECT_EQ(font.GlyphWidth, 8);
    EXPECT_EQ(font.GlyphHeight, 10);
    EXPECT_EQ(font.Advance['A'], 6);
    EXPECT_EQ(font.Advance[1], 0);
    ASSERT_NE(font.Glyphs, nullptr);
    EXPECT_EQ(font.Glyphs->PatternCount, 256);
}

TEST_F(DrawPixelTest, BlocksLandWhereTheAdvancesPutThem) {
    const std::string blocks(2, char(testart::kBlock));
    Render([&] {
        font.DrawText(blocks, 100, 50, kRed);
        font.DrawTextCentered(std::string(3, char(testart::kBlock)), 400, 100, kRed); // from 391
        font.DrawNumber(-15, 300, 150, kRed);
        font.DrawText("\x01\x7f", 500, 50, kRed); // zero advance: both at 500
    });
    EXPECT_EQ(At(100, 50), kRedArgb);
    EXPECT_EQ(At(104, 59), kRedArgb);
    EXPECT_EQ(Row(50, 98, 113), "..#####.#####..");
    EXPECT_FALSE(Lit(100, 49));
    EXPECT_FALSE(Lit(100, 60));
    EXPECT_EQ(Row(105, 389, 410), "..#####.#####.#####..");
    EXPECT_EQ(Row(55, 498, 507), "..#####..");
    // "-15" ends at 300: its glyphs lie in 282..299 and the last column is the 5's.
    bool any = false;
    for (int y = 150; y < 160; ++y) {
        EXPECT_FALSE(Lit(281, y) || Lit(300, y) || Lit(301, y)) << y;
        any = any || Lit(298, y);
    }
    EXPECT_TRUE(any);
}

TEST_F(DrawPixelTest, ScaledTextShrinksGlyphsAndAdvances) {
    // At 50 percent a 5 x 10 block draws about 2.5 x 5 and advances 3.
    Render([&] { font.DrawTextScaled(std::string(4, char(testart::kBlock)), 400, 200, 50, kRed); });
    // Width 12, half 6: blocks start at 394, 397, 400, 403.
    int lit = 0;
    for (int x = 390; x < 410; ++x) lit += Lit(x, 201);
    EXPECT_GE(lit, 8);
    EXPECT_LE(lit, 12);
    EXPECT_TRUE(Lit(394, 200));
    EXPECT_FALSE(Lit(393, 200));
    EXPECT_FALSE(Lit(406, 200));
    EXPECT_FALSE(Lit(395, 206)) << "half height";
}

TEST_F(DrawPixelTest, ColourTintsAndItsAlphaFades) {
    Render([&] {
        font.DrawText(std::string(1, char(testart::kBlock)), 10, 10, 0xFF00FF00);
        font.DrawText(std::string(1, char(testart::kBlock)), 30, 10, 0x800000FF);
    });
    EXPECT_EQ(At(12, 12), 0xFF00FF00);
    const uint32_t half = At(32, 12);
    EXPECT_NEAR(int((half >> 16) & 0xFF), 128, 2);
    EXPECT_EQ(half & 0xFFFF, 0u);
}

TEST_F(DrawPixelTest, FloatingTextsFadeToHalfAtHalfAge) {
    Font = &font;
    TVOParticleEngine engine(&dev, kPictureHeight);
    engine.AddText(std::string(1, char(testart::kBlock)), 100, 300);
    engine.Update(15.0);
    engine.Update(0.0); // half its life: alpha 128
    Render([&] { engine.Draw(0); });
    Font = nullptr;
    // The white text at (100, 270) over its grey shadow at (102, 272).
    EXPECT_NEAR(int(At(100, 270) & 0xFF), 128, 2);
    const uint32_t over = At(103, 273); // text over shadow
    EXPECT_GT(int(over & 0xFF), 128);
}

TEST_F(DrawPixelTest, ButtonsShowTheirThreeStates) {
    TPatternImage picture;
    ASSERT_TRUE(testart::WriteButton(Path("button.bmp"), 0xFF0000, 0x00FF00, 0x0000FF));
    ASSERT_EQ(picture.LoadFromFile(dev.Device(), Path("button.bmp"), 40, 20, 64, 32, 21), 0);
    TButtons buttons(&dev);
    for (int i = 0; i < 3; ++i) buttons.Add(100 + 60 * i, 400, &picture, 0xFFFFFFFF, {});
    Shell.Word = scrMenu;
    GameState.CurrentMode = modeKids; // selects button 1
    buttons.SelectMode();
    Pointer.X = 120, Pointer.Y = 410; // over button 0
    Render([&] { buttons.DrawAll(); });
    EXPECT_EQ(At(110, 405), 0xFF00FF00) << "hovered";
    EXPECT_EQ(At(170, 405), 0xFFFF0000) << "selected: pressed look";
    EXPECT_EQ(At(230, 405), 0xFF0000FF) << "normal";
    picture.FreeTextures();
}

TEST_F(DrawPixelTest, DamagedMetricsAreReportedWithWhatWasReadKept) {
    std::ofstream(Path("short.rls"), std::ios::binary) << "\x0c\x09" << std::string(10, '\x04');
    TVOFont other(&dev);
    std::string error;
    EXPECT_FALSE(other.LoadMetrics(Path("short.rls"), &error));
    EXPECT_EQ(error, Path("short.rls") + ": read beyond end of file (258 bytes expected)");
    EXPECT_EQ(other.GlyphHeight, 12);
    EXPECT_EQ(other.GlyphWidth, 9);
    EXPECT_EQ(other.Advance[9], 4);
    EXPECT_EQ(other.Advance[10], 0);
    EXPECT_FALSE(other.LoadMetrics(Path("none.rls"), &error));
    EXPECT_EQ(error, Path("none.rls") + ": file not found");
    other.DrawText("abc", 10, 10, kRed); // no glyphs: nothing drawn, nothing fails
}

TEST_F(DrawPixelTest, ParticlePicturesAreCentredAndAnimated) {
    TPatternImage picture;
    ASSERT_TRUE(testart::WriteButton(Path("frames.bmp"), 0xFF0000, 0x00FF00, 0x0000FF));
    ASSERT_EQ(picture.LoadFromFile(dev.Device(), Path("frames.bmp"), 40, 20, 64, 32, 21), 0);
    TVOParticleEngine engine(&dev, kPictureHeight);
    engine.AddAnimation(&picture, 3, 200, 100, 1.0f, 1);
    engine.AddPop(&picture, true, 400, 100);    // scale 0: nothing to see yet
    engine.AddDebris(&picture, 600, 100, 0, 0); // natural size, pattern 0 without a phase
    engine.Update(1.5);
    engine.Update(0.0); // the animation shows frame 1
    Render([&] { engine.Draw(0); });
    EXPECT_EQ(At(200, 100), 0xFF00FF00);
    EXPECT_EQ(At(181, 91), 0xFF00FF00);
    EXPECT_FALSE(Lit(178, 100)) << "40 wide, centred on 200";
    EXPECT_FALSE(Lit(200, 88));
    EXPECT_TRUE(Lit(400, 100)) << "grown by 60 after 1.5 units";
    EXPECT_FALSE(Lit(390, 100));
    EXPECT_EQ(At(600, 100), 0xFF0000FF);
    picture.FreeTextures();
}
