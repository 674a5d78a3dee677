// A picture of the interface elements: text in its sizes and colours, a dialog block, a caret,
// right-aligned numbers and buttons in their three states. Rendered offscreen and saved as
// "ui_showcase.bmp" in the working folder for a look by eye. With VO_SHOWCASE_DATA naming a
// game data folder (the build's game/ folder) it uses the game's own font, buttons and
// background; otherwise the tiny test font and plain test buttons.
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

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

struct TArt {
    std::string FontDir;
    std::string Background; // empty: none
    std::string Buttons[3];
    int ButtonW = 40, ButtonH = 20, TextureW = 64, TextureH = 32;
};

TArt ChooseArt(const fs::path& scratch) {
    TArt art;
    const char* data = std::getenv("VO_SHOWCASE_DATA");
    if (data && fs::exists(fs::path(data) / "graphics/font/font.rls")) {
        const fs::path g = fs::path(data) / "graphics";
        art.FontDir = (g / "font").string();
        art.Background = (g / "background.jpg").string();
        art.Buttons[0] = (g / "buttons/options.tga").string();
        art.Buttons[1] = (g / "buttons/instructions.tga").string();
        art.Buttons[2] = (g / "buttons/high scores.tga").string();
        art.ButtonW = 143, art.ButtonH = 31, art.TextureW = 256, art.TextureH = 32;
        return art;
    }
    testart::WriteFont(scratch.string());
    art.FontDir = scratch.string();
    for (int i = 0; i < 3; ++i) {
        art.Buttons[i] = (scratch / ("button" + std::to_string(i) + ".bmp")).string();
        testart::WriteButton(art.Buttons[i], 0x804020, 0xC08040, 0x2040C0);
    }
    return art;
}

} // namespace

TEST(Showcase, TextInItsSizesAndColoursAndButtonsInTheirThreeStates) {
    const fs::path scratch = testart::MakeTempDir("vo_showcase_");
    const TArt art = ChooseArt(scratch);

    ResetShellState();
    TRenderDevice dev;
    dev.SetOffscreen(true);
    dev.SetWidth(800);
    dev.SetHeight(600);
    ASSERT_EQ(dev.InitDevice(), 0);
    TVOFont font(&dev);
    std::string error;
    ASSERT_TRUE(font.LoadMetrics(art.FontDir + "/font.rls", &error)) << error;
    ASSERT_TRUE(font.LoadGlyphs(art.FontDir + "/font.bmp", &error)) << error;

    TPatternImage background;
    if (!art.Background.empty())
        background.LoadFromFile(dev.Device(), art.Background, 400, 300, 512, 512, D3DFMT_R5G6B5);
    std::unique_ptr<TPatternImage> pictures[3];
    TButtons buttons(&dev);
    for (int i = 0; i < 3; ++i) {
        pictures[i] = std::make_unique<TPatternImage>();
        ASSERT_EQ(pictures[i]->LoadFromFile(dev.Device(), art.Buttons[i], art.ButtonW, art.ButtonH,
                                            art.TextureW, art.TextureH, D3DFMT_A8R8G8B8, &error),
                  0)
            << error;
        buttons.Add(80 + 220 * i, 520, pictures[i].get(), 0xFFFFFFFF, {});
    }
    Shell.Word = scrMenu;
    Pointer.X = 310, Pointer.Y = 530; // over the middle button
    GameState.CurrentMode = 1;        // SelectMode marks button 2
    buttons.SelectMode();

    ASSERT_TRUE(dev.BeginFrame());
    for (int q = 0; q < 4; ++q) dev.DrawImage(&background, 400 * (q % 2), 300 * (q / 2), q, fxNone);
    // A screen caption with its drop shadow.
    font.DrawTextCentered("High Scores", 402, 22, 0xFF888888);
    font.DrawTextCentered("High Scores", 400, 20, 0xFFFFFFFF);
    // Sizes.
    const uint16_t scales[] = {50, 70, 85, 100, 150, 200};
    for (int i = 0; i < 6; ++i)
        font.DrawTextScaled("Scale " + std::to_string(scales[i]) + "% Velm Orra", 200,
                            uint16_t(60 + 34 * i), scales[i], 0xFFFFFFFF);
    // Colours (0xAABBGGRR).
    const uint32_t colours[] = {0xFF0000FF, 0xFF00FFFF, 0xFF00FF00, 0xFFFFFF00,
                                0xFFFF00FF, 0x80FFFFFF, 0xFF888888};
    const char* names[] = {"red", "yellow", "green", "cyan", "magenta", "half alpha", "grey"};
    for (int i = 0; i < 7; ++i) font.DrawText(names[i], 420, uint16_t(60 + 24 * i), colours[i]);
    // A dialog: caption and block.
    font.DrawTextScaled("Exit the game?", 600, 280, 70, 0xFF0000FF);
    font.DrawTextBlock({"Do you really want", "to leave Velm Orra?", "Your game is kept."}, 600,
                       310, 70, 0xFF00FFFF);
    // Name entry with the caret, and a score column ending at x 380.
    font.DrawTextCaret("Player", 200, 300, 85, 0xFFFFFFFF);
    const int32_t scores[] = {1000, 900, 85, -15};
    for (int i = 0; i < 4; ++i) {
        font.DrawText("Row " + std::to_string(i + 1), 100, uint16_t(360 + 25 * i), 0xFFFFFFFF);
        font.DrawNumber(scores[i], 380, uint16_t(360 + 25 * i), 0xFFFFFFFF);
    }
    buttons.DrawAll();
    ASSERT_TRUE(dev.EndFrame());
    ASSERT_TRUE(dev.PresentFrame());
    ASSERT_TRUE(dev.SaveFrame("ui_showcase.bmp"));

    const std::vector<uint32_t> frame = dev.ReadFrame();
    auto at = [&](int x, int y) { return frame[size_t(y) * 800 + size_t(x)] & 0xFFFFFF; };
    // The three button states differ from each other.
    const uint32_t normal = at(82, 522), hovered = at(302, 522), pressed = at(522, 522);
    EXPECT_NE(normal, hovered);
    EXPECT_NE(hovered, pressed);
    EXPECT_NE(normal, pressed);
    for (auto& p : pictures) p->FreeTextures();
    background.FreeTextures();
    fs::remove_all(scratch);
}
