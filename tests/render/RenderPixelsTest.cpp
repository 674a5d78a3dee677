#include "platform/Bitmap.h"
#include "tests/render/RenderTestSupport.h"
#include "tests/render/TestFiles.h"
#include "tests/support/SampleScene.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

TEST_F(OffscreenTest, PatternLandsOnItsExactPixels) {
    TPatternImage image;
    // 4 x 4 pattern, every texel its own colour, on an 8 x 8 texture.
    MakePatternSet(device.Device(), image, 8, 8, 4, 4, [](int x, int y) {
        return 0xFF000000u | uint32_t(40 + 50 * x) << 16 | uint32_t(40 + 50 * y) << 8 | 0x20;
    });
    Frame([&] { ASSERT_TRUE(device.DrawImage(&image, 10, 20, 0, fxNone)); });
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(At(10 + x, 20 + y),
                      uint32_t(40 + 50 * x) << 16 | uint32_t(40 + 50 * y) << 8 | 0x20)
                << x << "," << y;
    for (auto [x, y] : {std::pair{9, 20}, {14, 20}, {10, 19}, {10, 24}, {14, 24}})
        EXPECT_EQ(At(x, y), 0u) << x << "," << y;
}

namespace {

// A set of one 1 x 1 pattern of a colour, drawn stretched as a background.
void SolidSet(TRenderDevice& device, TPatternImage& image, uint32_t argb) {
    MakePatternSet(device.Device(), image, 1, 1, 1, 1, [=](int, int) { return argb; });
}

void Fill(TRenderDevice& device, TPatternImage& solid, int x0, int y0, int x1, int y1,
          uint32_t effect = fxNone) {
    ASSERT_TRUE(device.DrawQuad(&solid, x0, y0, x1, y0, x1, y1, x0, y1, 0, effect));
}

// Left half red, right half blue, opaque.
uint32_t HalvesTexel(int x, int) {
    return x < 50 ? 0xFFFF0000u : 0xFF0000FFu;
}

} // namespace

TEST_F(OffscreenTest, UprightRotationIsTheImageCentred) {
    TPatternImage image;
    MakePatternSet(device.Device(), image, 128, 32, 100, 20, [](int x, int y) {
        return 0xFF000000u | uint32_t(x * 2) << 16 | uint32_t(y * 10);
    });
    Frame([&] { ASSERT_TRUE(device.DrawRotated(&image, 400, 300, 64, 256, 0, fxNone)); });
    const auto rotated = frame;
    Frame([&] {
        TPatternImage black;
        SolidSet(device, black, 0xFF000000);
        Fill(device, black, 0, 0, 800, 600);
        ASSERT_TRUE(device.DrawImage(&image, 350, 290, 0, fxNone));
    });
    EXPECT_EQ(rotated, frame);
    EXPECT_EQ(At(350, 290), 0x000000u);
    EXPECT_EQ(At(449, 309), uint32_t(198) << 16 | 190);
}

TEST_F(OffscreenTest, AngleZeroTurnsAQuarterCounterClockwise) {
    TPatternImage image;
    MakePatternSet(device.Device(), image, 128, 32, 100, 20, HalvesTexel);
    Frame([&] { ASSERT_TRUE(device.DrawRotated(&image, 400, 300, 0, 256, 0, fxNone)); });
    // The pattern's left (red) half is now at the bottom, its right (blue) half at the top.
    EXPECT_EQ(At(400, 340), 0xFF0000u);
    EXPECT_EQ(At(395, 300 + 45), 0xFF0000u);
    EXPECT_EQ(At(400, 260), 0x0000FFu);
    EXPECT_EQ(At(405, 255), 0x0000FFu);
    EXPECT_EQ(At(385, 300), 0u); // outside x 390..409
    EXPECT_EQ(At(412, 300), 0u);
    EXPECT_EQ(At(400, 245), 0u); // outside y 250..349
    EXPECT_EQ(At(400, 352), 0u);
}

TEST_F(OffscreenTest, SquareAtAngle32IsADiamond) {
    TPatternImage image;
    MakePatternSet(device.Device(), image, 64, 64, 52, 52, [](int, int) { return 0xFFFFFFFFu; });
    Frame([&] { ASSERT_TRUE(device.DrawRotated(&image, 100, 100, 32, 256, 0, fxNone)); });
    // Corners (63, 100), (100, 63), (137, 100), (100, 137).
    for (auto [x, y] :
         {std::pair{100, 100}, {66, 100}, {100, 66}, {134, 100}, {100, 134}, {110, 110}})
        EXPECT_EQ(At(x, y), 0xFFFFFFu) << x << "," << y;
    for (auto [x, y] : {std::pair{70, 70}, {130, 70}, {70, 130}, {130, 130}, {60, 100}, {100, 140}})
        EXPECT_EQ(At(x, y), 0u) << x << "," << y;
}

TEST_F(OffscreenTest, AdditiveAndAlphaBlending) {
    TPatternImage grey, add, blue, halfRed;
    SolidSet(device, grey, 0xFF404040);
    SolidSet(device, add, 0xFF302010);
    SolidSet(device, blue, 0xFF0000FF);
    SolidSet(device, halfRed, 0x80FF0000);
    Frame([&] {
        Fill(device, grey, 0, 0, 100, 100);
        Fill(device, add, 50, 0, 100, 100, fxAdd);
        Fill(device, blue, 100, 0, 200, 100);
        Fill(device, halfRed, 150, 0, 200, 100, fxBlend);
        Fill(device, halfRed, 200, 0, 250, 100, fxNone); // opaque: alpha ignored
    });
    EXPECT_EQ(At(10, 10), 0x404040u);
    EXPECT_EQ(At(60, 10), 0x706050u);
    EXPECT_EQ(At(110, 10), 0x0000FFu);
    EXPECT_TRUE(Near(At(160, 10), 0x80007F, 2)) << std::hex << At(160, 10);
    EXPECT_EQ(At(210, 10), 0xFF0000u);
}

TEST_F(OffscreenTest, DiffuseAlphaScalesOpacityOnlyWithItsFlag) {
    TPatternImage white;
    SolidSet(device, white, 0xFFFFFFFF);
    Frame([&] {
        ASSERT_TRUE(device.DrawQuadCol(&white, 0, 0, 50, 0, 50, 50, 0, 50, 0x44FFFFFF, 0, 0x102));
        ASSERT_TRUE(
            device.DrawQuadCol(&white, 50, 0, 100, 0, 100, 50, 50, 50, 0x44FFFFFF, 0, fxBlend));
        // The colour tints: 0xAABBGGRR 0xFF00FF00 is opaque green.
        ASSERT_TRUE(device.DrawImageCol(&white, 100, 0, 0xFF00FF00, 0, fxNone));
        ASSERT_TRUE(device.DrawImageCol(&white, 101, 0, 0xFF0000FF, 0, fxNone)); // red
    });
    EXPECT_TRUE(Near(At(10, 10), 0x444444, 2)) << std::hex << At(10, 10);
    EXPECT_EQ(At(60, 10), 0xFFFFFFu);
    EXPECT_EQ(At(100, 0), 0x00FF00u);
    EXPECT_EQ(At(101, 0), 0xFF0000u);
}

TEST_F(OffscreenTest, RotatedDiffuseAlphaAlsoScalesOpacity) {
    TPatternImage white;
    MakePatternSet(device.Device(), white, 32, 32, 32, 32, [](int, int) { return 0xFFFFFFFFu; });
    Frame([&] {
        ASSERT_TRUE(device.DrawRotatedCol(&white, 100, 100, 20, 256, 0x44FFFFFF, 0, 0x102));
    });
    EXPECT_TRUE(Near(At(100, 100), 0x444444, 3)) << std::hex << At(100, 100);
}

TEST_F(OffscreenTest, MirrorAndFlip) {
    TPatternImage image; // 2 x 2: red green / blue white
    const uint32_t texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    MakePatternSet(device.Device(), image, 2, 2, 2, 2,
                   [&](int x, int y) { return texels[y * 2 + x]; });
    Frame([&] {
        ASSERT_TRUE(device.DrawImage(&image, 0, 0, 0, fxNone));
        ASSERT_TRUE(device.DrawImage(&image, 10, 0, 0, fxfMirror));
        ASSERT_TRUE(device.DrawImage(&image, 20, 0, 0, fxfFlip));
        ASSERT_TRUE(device.DrawImage(&image, 30, 0, 0, fxfMirror | fxfFlip));
    });
    EXPECT_EQ(At(0, 0), 0xFF0000u);
    EXPECT_EQ(At(1, 1), 0xFFFFFFu);
    EXPECT_EQ(At(10, 0), 0x00FF00u);
    EXPECT_EQ(At(11, 1), 0x0000FFu);
    EXPECT_EQ(At(20, 0), 0x0000FFu);
    EXPECT_EQ(At(21, 0), 0xFFFFFFu);
    EXPECT_EQ(At(30, 0), 0xFFFFFFu);
    EXPECT_EQ(At(31, 1), 0xFF0000u);
}

TEST_F(OffscreenTest, ScaledImageRepeatsTexels) {
    TPatternImage image;
    const uint32_t texels[4] = {0xFFFF0000, 0xFF00FF00, 0xFF0000FF, 0xFFFFFFFF};
    MakePatternSet(device.Device(), image, 2, 2, 2, 2,
                   [&](int x, int y) { return texels[y * 2 + x]; });
    device.SetAntialias(false);
    Frame([&] { ASSERT_TRUE(device.DrawImageScaled(&image, 10, 10, 512, 0xFFFFFFFF, 0, fxNone)); });
    EXPECT_EQ(At(10, 10), 0xFF0000u);
    EXPECT_EQ(At(11, 11), 0xFF0000u);
    EXPECT_EQ(At(12, 10), 0x00FF00u);
    EXPECT_EQ(At(13, 13), 0xFFFFFFu);
    EXPECT_EQ(At(14, 14), 0u);
}

TEST_F(OffscreenTest, ClipRectLimitsDrawing) {
    TPatternImage white;
    SolidSet(device, white, 0xFFFFFFFF);
    Frame([&] {
        device.SetClipRect({0, 0, 400, 600});
        Fill(device, white, 390, 10, 410, 20);
        device.SetClipRect({0, 0, 800, 600});
        Fill(device, white, 390, 30, 410, 40);
    });
    EXPECT_EQ(At(395, 15), 0xFFFFFFu);
    EXPECT_EQ(At(405, 15), 0u);
    EXPECT_EQ(At(405, 35), 0xFFFFFFu);
}

// At density 2 the back buffer has twice the pixels each way; positions, sizes and clipping stay
// in picture pixels, and a dense pattern's texels land one to a pixel.
TEST_F(OffscreenTest, DensityTwoDrawsThePictureOnTwiceThePixels) {
    ASSERT_TRUE(device.SetDensity(2));
    EXPECT_EQ(device.Density(), 2);
    TPatternImage dense, white;
    dense.Density = 2;
    MakePatternSet(device.Device(), dense, 8, 8, 8, 8, [](int x, int y) {
        return 0xFF000000u | uint32_t(20 + 25 * x) << 16 | uint32_t(20 + 25 * y) << 8;
    });
    EXPECT_EQ(dense.PatternWidth, 4);
    SolidSet(device, white, 0xFFFFFFFF);
    ASSERT_TRUE(device.BeginFrame());
    ASSERT_TRUE(device.DrawImage(&dense, 10, 20, 0, fxNone));
    device.SetClipRect({0, 0, 400, 600});
    Fill(device, white, 390, 100, 410, 110);
    device.SetClipRect({0, 0, 800, 600});
    ASSERT_TRUE(device.EndFrame());
    ASSERT_TRUE(device.PresentFrame());
    const std::vector<uint32_t> pixels = device.ReadFrame();
    ASSERT_EQ(pixels.size(), 1600u * 1200u);
    const auto at = [&](int x, int y) { return pixels[size_t(y) * 1600 + size_t(x)] & 0xFFFFFF; };
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            EXPECT_EQ(at(20 + x, 40 + y), uint32_t(20 + 25 * x) << 16 | uint32_t(20 + 25 * y) << 8)
                << x << "," << y;
    EXPECT_EQ(at(19, 40), 0u);
    EXPECT_EQ(at(28, 47), 0u);
    EXPECT_EQ(at(799, 205), 0xFFFFFFu);
    EXPECT_EQ(at(800, 205), 0u);                    // the clip at picture x 400
    EXPECT_EQ(device.PixelsPerPicturePixel(), 1.0); // offscreen: no window to show it in
    // And back: the picture at its own size again.
    ASSERT_TRUE(device.SetDensity(1));
    Frame([&] { Fill(device, white, 0, 0, 2, 2); });
    EXPECT_EQ(At(1, 1), 0xFFFFFFu);
    EXPECT_FALSE(device.SetDensity(3));
}

TEST_F(OffscreenTest, ResetAfterDeviceLossKeepsTexturesDrawable) {
    int resets = 0;
    device.OnDeviceLost = [&](TRenderDevice& d) { resets += d.ResetDevice() ? 1 : 0; };
    TPatternImage image;
    MakePatternSet(device.Device(), image, 8, 8, 8, 8, [](int x, int y) {
        return 0xFF000000u | uint32_t(x * 30) << 16 | uint32_t(y * 30);
    });
    Frame([&] { ASSERT_TRUE(device.DrawImage(&image, 0, 0, 0, fxBlend)); });
    const uint32_t before = At(5, 6);
    ASSERT_EQ(before, uint32_t(150) << 16 | 180);

    device.SimulateDeviceLoss();
    ASSERT_TRUE(device.BeginFrame());
    ASSERT_TRUE(device.DrawImage(&image, 0, 0, 0, fxBlend));
    ASSERT_TRUE(device.EndFrame());
    EXPECT_FALSE(device.PresentFrame());
    EXPECT_EQ(resets, 1);

    Frame([&] { ASSERT_TRUE(device.DrawImage(&image, 100, 100, 0, fxBlend)); });
    EXPECT_EQ(At(105, 106), before);
}

// A set whose memory copy went after the upload: a lock would hand out a blank buffer that the
// unlock uploads over the picture, so it is refused and the picture stays.
TEST_F(OffscreenTest, ALockAfterTheCopyWasDroppedLeavesThePicture) {
    // An 8 x 8 32-bit TGA, bottom-up, every pixel 0x20C040: loading drops the memory copy.
    std::vector<uint8_t> tga = TgaHeader(2, 8, 8, 32, 8);
    for (int i = 0; i < 64; ++i) Append(tga, {0x40, 0xC0, 0x20, 0xFF});
    const std::string path = ::testing::TempDir() + "vo_dropped_copy.tga";
    WriteBytes(path, tga);
    TPatternImage image;
    ASSERT_EQ(image.LoadFromFile(device.Device(), path, 8, 8, 8, 8, D3DFMT_A8R8G8B8), 0);
    std::remove(path.c_str());
    Frame([&] { ASSERT_TRUE(device.DrawImage(&image, 0, 0, 0, fxNone)); });
    ASSERT_EQ(At(3, 3), 0x20C040u);
    int32_t pitch = 0;
    uint8_t* bits = nullptr;
    EXPECT_NE(image.LockTexture(0, pitch, bits), 0);
    image.UnlockTexture(0);
    Frame([&] { ASSERT_TRUE(device.DrawImage(&image, 20, 0, 0, fxNone)); });
    EXPECT_EQ(At(23, 3), 0x20C040u);
}

TEST_F(OffscreenTest, NarrowTextureFormatsAreExpandedOnUpload) {
    // One texel per format, written directly: R5G6B5 red, A8R3G3B2 half-transparent green,
    // X4R4G4B4 blue, A1R5G5B5 transparent white.
    struct Case {
        int32_t format;
        uint32_t texel;
        uint32_t expected; // over the grey background, drawn with fxBlend
    };
    const Case cases[] = {
        {D3DFMT_R5G6B5, 0xF800, 0xFF0000},
        {D3DFMT_A8R3G3B2, 0x801C, 0x20A020}, // 0x80 x green + 0x80 x 0x40 grey
        {D3DFMT_X4R4G4B4, 0x000F, 0x0000FF},
        {D3DFMT_A1R5G5B5, 0x7FFF, 0x404040},
        {D3DFMT_R3G3B2, 0xE3, 0xFF00FF},
    };
    std::vector<TPatternImage> images(std::size(cases));
    for (size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_EQ(images[i].CreateTextures(device.Device(), 1, 1, 1, 1, 1, cases[i].format), 0);
        int32_t pitch;
        uint8_t* bits;
        ASSERT_EQ(images[i].LockTexture(0, pitch, bits), 0);
        std::memcpy(bits, &cases[i].texel, size_t(GfxFormatBytes(cases[i].format)));
        ASSERT_EQ(images[i].UnlockTexture(0), 0);
    }
    TPatternImage grey;
    SolidSet(device, grey, 0xFF404040);
    Frame([&] {
        Fill(device, grey, 0, 0, 800, 10);
        for (size_t i = 0; i < images.size(); ++i)
            Fill(device, images[i], int(i) * 10, 0, int(i) * 10 + 10, 10, fxBlend);
    });
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_TRUE(Near(At(int(i) * 10 + 5, 5), cases[i].expected, 2))
            << i << ": " << std::hex << At(int(i) * 10 + 5, 5);
}

TEST_F(OffscreenTest, SavedFrameReadsBack) {
    TPatternImage image;
    MakePatternSet(device.Device(), image, 4, 4, 4, 4, [](int x, int y) {
        return 0xFF000000u | uint32_t(x * 60) << 8 | uint32_t(y * 60);
    });
    Frame(
        [&] { ASSERT_TRUE(device.DrawImage(&image, 798, 598, 0, fxNone)); }); // clipped at the edge
    EXPECT_EQ(At(799, 599), uint32_t(60) << 8 | 60);
    const std::string path = ::testing::TempDir() + "vo_frame_test.bmp";
    ASSERT_TRUE(device.SaveFrame(path));
    TBitmap bmp;
    ASSERT_TRUE(bmp.LoadFromFile(path));
    EXPECT_EQ(bmp.Width(), 800);
    EXPECT_EQ(bmp.Height(), 600);
    EXPECT_EQ(bmp.PixelARGB(799, 599) & 0xFFFFFF, uint32_t(60) << 8 | 60);
    std::remove(path.c_str());
}

// The sample playing screen: balls upright and turned, translucent cells, blended text. Set
// VO_SAVE_FRAME to a file name to keep the frame as a BMP.
TEST_F(OffscreenTest, SampleSceneDrawsBallsCellsAndText) {
    TScratchDir dir;
    TSampleScene scene;
    ASSERT_TRUE(scene.Load(device, dir.File("")));
    Frame([&] { scene.Draw(device, 0); });
    if (const char* path = std::getenv("VO_SAVE_FRAME")) {
        EXPECT_TRUE(device.SaveFrame(path));
    }
    // A ball's centre region is lit colour (the first ball is red), its cell corner shows the rim.
    const uint32_t centre = At(TSampleScene::kFieldX + 26, TSampleScene::kFieldY + 26);
    EXPECT_GT(centre >> 16 & 0xFF, 2 * (centre & 0xFF)) << std::hex << centre;
    const uint32_t rim = At(TSampleScene::kFieldX, TSampleScene::kFieldY + 26);
    EXPECT_GT(rim & 0xFF, 120u) << std::hex << rim;
    // Between balls at a cell corner the backdrop shows through the translucent cell.
    const uint32_t between = At(TSampleScene::kFieldX + 3, TSampleScene::kFieldY + 3);
    EXPECT_LT(between & 0xFF, 150u) << std::hex << between;
    // Text: the 'V' at (20, 520) has its left stroke at the cell's third column.
    EXPECT_TRUE(Near(At(22, 521), 0xFFE040, 8)) << std::hex << At(22, 521);
    scene.Free();
}

// Tinted copies are blended by the graphics layer itself (SDL's own blit is slow whenever a
// texture's tint changes); the pixels must be the ones SDL's software renderer gives.
TEST_F(OffscreenTest, TintedCopiesBlendAsSdlsSoftwareRendererDoes) {
    constexpr int kSide = 64;
    uint32_t seed = 12345;
    const auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    std::vector<uint32_t> under(kSide * kSide), texels(kSide * kSide);
    for (uint32_t& p : under) p = next() | 0xFF000000u;
    for (size_t i = 0; i < texels.size(); ++i) {
        texels[i] = next();
        if (i % 5 == 0) texels[i] |= 0xFF000000u; // some opaque texels
        if (i % 7 == 0) texels[i] &= 0x00FFFFFFu; // some clear ones
    }
    TPatternImage background, sprite;
    MakePatternSet(device.Device(), background, kSide, kSide, kSide, kSide,
                   [&](int x, int y) { return under[size_t(y * kSide + x)]; });
    // 61 wide: rows of four texels at a time and a rest of one.
    constexpr int kSprite = 61;
    MakePatternSet(device.Device(), sprite, kSide, kSide, kSprite, kSprite,
                   [&](int x, int y) { return texels[size_t(y * kSide + x)]; });

    SDL_Surface* target =
        SDL_CreateRGBSurfaceWithFormat(0, kSide, kSide, 32, SDL_PIXELFORMAT_ARGB8888);
    SDL_Renderer* sdl = SDL_CreateSoftwareRenderer(target);
    SDL_Texture* texture =
        SDL_CreateTexture(sdl, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STATIC, kSide, kSide);
    ASSERT_TRUE(target && sdl && texture);
    SDL_UpdateTexture(texture, nullptr, texels.data(), kSide * 4);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    for (const uint32_t tint : {0xFF80FF40u, 0x80FFFFFFu, 0x33C0A010u, 0xFE0000FFu}) { // 0xAABBGGRR
        Frame([&] {
            ASSERT_TRUE(device.DrawImage(&background, 0, 0, 0, fxNone));
            ASSERT_TRUE(device.DrawImageCol(&sprite, 0, 0, tint, 0, fxBlend | fxfDiffuseAlpha));
        });
        std::memcpy(target->pixels, under.data(), under.size() * 4); // pitch is 256 bytes
        SDL_SetTextureColorMod(texture, Uint8(tint), Uint8(tint >> 8), Uint8(tint >> 16));
        SDL_SetTextureAlphaMod(texture, Uint8(tint >> 24));
        const SDL_Rect part{0, 0, kSprite, kSprite};
        SDL_RenderCopy(sdl, texture, &part, &part);
        SDL_RenderFlush(sdl);
        int differing = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                differing +=
                    At(x, y) !=
                    (static_cast<const uint32_t*>(target->pixels)[y * kSide + x] & 0xFFFFFF);
        EXPECT_EQ(differing, 0) << std::hex << tint;
    }
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(sdl);
    SDL_FreeSurface(target);
}
