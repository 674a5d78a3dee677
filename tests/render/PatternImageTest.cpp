#include "render/PatternImage.h"
#include "render/ImageReader.h"
#include "tests/render/TestFiles.h"
#include "tests/support/GfxRecorder.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

// Pixel (x, y) of the test pictures: red = x, green = y (mod 256), blue = x / 256 + 16 * (y /
// 256), alpha 0xA0; unique for pictures up to 4096 x 4096.
uint32_t PictureArgb(int x, int y) {
    return 0xA0000000u | uint32_t(x & 0xFF) << 16 | uint32_t(y & 0xFF) << 8 |
           uint32_t((x >> 8) + 16 * (y >> 8));
}

std::string WritePicture(const TScratchDir& dir, const std::string& name, int w, int h) {
    TBitmapEx bmp;
    EXPECT_TRUE(bmp.SetSize(w, h, 32));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const uint32_t p = PictureArgb(x, y);
            std::memcpy(bmp.ScanLine(y) + x * 4, &p, 4);
        }
    const std::string path = dir.File(name);
    EXPECT_TRUE(bmp.SaveToFile(path));
    return path;
}

uint32_t Texel32(const TRecordingGfxTexture& t, int x, int y) {
    uint32_t v;
    std::memcpy(&v, &t.Texels[(size_t(y) * t.Width() + size_t(x)) * 4], 4);
    return v;
}

TRecordingGfxTexture& Tex(const TPatternImage& image, size_t i) {
    return static_cast<TRecordingGfxTexture&>(*image.Textures.at(i));
}

} // namespace

class PatternImageTest : public ::testing::Test {
protected:
    TScratchDir dir;
    TRecordingGfxDevice device;
    TPatternImage image;
};

TEST_F(PatternImageTest, FourQuartersOnFourTextures) {
    const auto path = WritePicture(dir, "bg.tga", 800, 600);
    ASSERT_EQ(image.LoadFromFile(&device, path, 400, 300, 512, 512, D3DFMT_A8R8G8B8), 0);
    EXPECT_TRUE(image.Loaded);
    EXPECT_EQ(image.PatternCount, 4);
    EXPECT_EQ(image.PatternsPerTexture, 1);
    ASSERT_EQ(image.Textures.size(), 4u);
    EXPECT_EQ(Texel32(Tex(image, 3), 0, 0), PictureArgb(400, 300));
    EXPECT_EQ(Texel32(Tex(image, 3), 399, 299), PictureArgb(799, 599));
    EXPECT_EQ(Texel32(Tex(image, 1), 5, 7), PictureArgb(405, 7));
    // The edges go on one texel into the empty texture (a filtering sampler reads there), no
    // further.
    EXPECT_EQ(Texel32(Tex(image, 0), 400, 7), PictureArgb(399, 7));
    EXPECT_EQ(Texel32(Tex(image, 2), 5, 300), PictureArgb(5, 599));
    EXPECT_EQ(Texel32(Tex(image, 3), 400, 300), PictureArgb(799, 599));
    EXPECT_EQ(Texel32(Tex(image, 0), 401, 7), 0u);
    TPatternSelection s;
    ASSERT_TRUE(image.SelectPattern(3, false, false, s));
    EXPECT_EQ(s.Texture, image.Textures[3].get());
    EXPECT_FLOAT_EQ(s.U[3], 400.0f / 512);
    EXPECT_FLOAT_EQ(s.V[3], 300.0f / 512);
}

TEST_F(PatternImageTest, OnePatternSmallerThanItsTexture) {
    const auto path = WritePicture(dir, "small.tga", 25, 18);
    ASSERT_EQ(image.LoadFromFile(&device, path, 25, 18, 32, 32, D3DFMT_A8R8G8B8), 0);
    EXPECT_EQ(image.PatternCount, 1);
    TPatternSelection s;
    ASSERT_TRUE(image.SelectPattern(0, false, false, s));
    EXPECT_FLOAT_EQ(s.U[0], 0.0f);
    EXPECT_FLOAT_EQ(s.V[0], 0.0f);
    EXPECT_FLOAT_EQ(s.U[3], 25.0f / 32);
    EXPECT_FLOAT_EQ(s.V[3], 18.0f / 32);
}

TEST_F(PatternImageTest, AutoLoadRoundsTheTextureUpToPowersOfTwo) {
    const auto path = WritePicture(dir, "auto.tga", 300, 400);
    ASSERT_EQ(image.LoadAuto(&device, path, D3DFMT_A8R8G8B8), 0);
    EXPECT_EQ(image.TextureWidth, 512);
    EXPECT_EQ(image.TextureHeight, 512);
    EXPECT_EQ(image.PatternCount, 1);
    TPatternSelection s;
    ASSERT_TRUE(image.SelectPattern(0, false, false, s));
    EXPECT_FLOAT_EQ(s.U[1], 300.0f / 512);
    EXPECT_FLOAT_EQ(s.V[2], 400.0f / 512);
    EXPECT_EQ(NextPow2(1), 1);
    EXPECT_EQ(NextPow2(3), 4);
    EXPECT_EQ(NextPow2(64), 64);
    EXPECT_EQ(NextPow2(600), 1024);
}

// A dense picture (two texels a picture pixel) keeps the catalogue's sizes in picture pixels and
// packs the same patterns per texture as the plain one, on textures cut to the patterns.
TEST_F(PatternImageTest, DensePicturesKeepPictureSizesOnTightTextures) {
    const auto path = WritePicture(dir, "bg2x.tga", 1600, 600);
    image.Density = 2;
    ASSERT_EQ(image.LoadFromFile(&device, path, 100, 150, 256, 256, D3DFMT_A8R8G8B8), 0);
    EXPECT_EQ(image.PatternWidth, 100);
    EXPECT_EQ(image.PatternHeight, 150);
    EXPECT_EQ(image.Columns, 2);
    EXPECT_EQ(image.Rows, 1);
    EXPECT_EQ(image.TextureWidth, 400); // 2 x 100 pixels of 2 texels; not 512
    EXPECT_EQ(image.TextureHeight, 300);
    EXPECT_EQ(image.PatternCount, 16);
    ASSERT_EQ(image.Textures.size(), 8u);
    // Pattern 5 is the second of the third texture, from texels (1000, 0) of the picture.
    EXPECT_EQ(Texel32(Tex(image, 2), 200, 0), PictureArgb(1000, 0));
    EXPECT_EQ(Texel32(Tex(image, 2), 399, 299), PictureArgb(1199, 299));
    TPatternSelection s;
    ASSERT_TRUE(image.SelectPattern(5, false, false, s));
    EXPECT_EQ(s.Texture, image.Textures[2].get());
    EXPECT_FLOAT_EQ(s.U[0], 0.5f);
    EXPECT_FLOAT_EQ(s.U[3], 1.0f);
    EXPECT_FLOAT_EQ(s.V[3], 1.0f);

    TPatternImage whole;
    whole.Density = 2;
    ASSERT_EQ(whole.LoadAuto(&device, WritePicture(dir, "w2x.tga", 66, 42), D3DFMT_A8R8G8B8), 0);
    EXPECT_EQ(whole.PatternWidth, 33);
    EXPECT_EQ(whole.PatternHeight, 21);
    // Patterns that fill part of one texture get a texture of the rows they fill.
    TPatternImage few;
    few.Density = 2;
    ASSERT_EQ(few.LoadFromFile(&device, WritePicture(dir, "few2x.tga", 200, 40), 20, 10, 128, 128,
                               D3DFMT_A8R8G8B8),
              0);
    EXPECT_EQ(few.PatternCount, 10);
    EXPECT_EQ(few.TextureWidth, 240); // 6 patterns across, as in 128 pixels
    EXPECT_EQ(few.TextureHeight, 40);
    ASSERT_EQ(few.Textures.size(), 1u);
    EXPECT_EQ(Texel32(Tex(few, 0), 0, 20), PictureArgb(40, 20)); // the seventh pattern
    ASSERT_TRUE(few.SelectPattern(9, false, false, s));
    EXPECT_FLOAT_EQ(s.U[3], 160.0f / 240);
    EXPECT_FLOAT_EQ(s.V[3], 1.0f);
    // Freed and loaded again at another density, the same set takes the new sizes.
    ASSERT_EQ(image.FreeTextures(), 0);
    image.Density = 1;
    ASSERT_EQ(image.LoadFromFile(&device, WritePicture(dir, "bg1x.tga", 800, 300), 100, 150, 256,
                                 256, D3DFMT_A8R8G8B8),
              0);
    EXPECT_EQ(image.TextureWidth, 256);
    EXPECT_EQ(image.PatternWidth, 100);
    EXPECT_EQ(image.Textures.size(), 8u);
}

TEST_F(PatternImageTest, PatternsFillTexturesInOrderAndIndicesAreClamped) {
    const auto path = WritePicture(dir, "six.tga", 300, 200);
    ASSERT_EQ(image.LoadFromFile(&device, path, 100, 100, 256, 256, D3DFMT_A8R8G8B8), 0);
    EXPECT_EQ(image.Columns, 2);
    EXPECT_EQ(image.Rows, 2);
    EXPECT_EQ(image.PatternsPerTexture, 4);
    EXPECT_EQ(image.PatternCount, 6);
    ASSERT_EQ(image.Textures.size(), 2u);
    // Pattern 3 (picture x 0, y 100) is slot 3 of texture 0: texel (100, 100).
    EXPECT_EQ(Texel32(Tex(image, 0), 100, 100), PictureArgb(0, 100));
    // Patterns 4 and 5 are slots 0 and 1 of texture 1; its last two slots stay empty.
    EXPECT_EQ(Texel32(Tex(image, 1), 0, 0), PictureArgb(100, 100));
    EXPECT_EQ(Texel32(Tex(image, 1), 199, 99), PictureArgb(299, 199));
    EXPECT_EQ(Texel32(Tex(image, 1), 0, 100), 0u);

    TPatternSelection s;
    ASSERT_TRUE(image.SelectPattern(-5, false, false, s));
    EXPECT_EQ(s.Texture, image.Textures[0].get());
    EXPECT_FLOAT_EQ(s.U[0], 0.0f);
    ASSERT_TRUE(image.SelectPattern(1000, false, false, s));
    EXPECT_EQ(s.Texture, image.Textures[1].get());
    EXPECT_FLOAT_EQ(s.U[0], 100.0f / 256);
    EXPECT_FLOAT_EQ(s.V[0], 0.0f);
    ASSERT_TRUE(image.SelectPattern(5, true, true, s));
    EXPECT_FLOAT_EQ(s.U[0], 200.0f / 256); // mirrored: left shows the right edge
    EXPECT_FLOAT_EQ(s.V[0], 100.0f / 256); // flipped: top shows the bottom edge
}

TEST_F(PatternImageTest, RefusalsAndReloading) {
    const auto path = WritePicture(dir, "p.tga", 64, 64);
    EXPECT_EQ(image.LoadFromFile(&device, path, 32, 32, 64, 64, D3DFMT_A8), -2);
    EXPECT_EQ(image.LoadFromFile(&device, path, 32, 32, 64, 64, 31), -2);
    EXPECT_EQ(image.LoadFromFile(&device, path, 128, 32, 64, 64, D3DFMT_A8R8G8B8), -3);
    EXPECT_EQ(image.LoadFromFile(&device, path, 0, 0, 32, 32, D3DFMT_A8R8G8B8), -3);
    EXPECT_FALSE(image.Loaded);
    ASSERT_EQ(image.LoadFromFile(&device, path, 32, 32, 64, 64, D3DFMT_A8R8G8B8), 0);
    EXPECT_EQ(image.LoadFromFile(&device, path, 32, 32, 64, 64, D3DFMT_A8R8G8B8), -4);
    EXPECT_EQ(image.LoadAuto(&device, path, D3DFMT_A8R8G8B8), -4);
    EXPECT_EQ(image.FreeTextures(), 0);
    EXPECT_FALSE(image.Loaded);
    EXPECT_EQ(image.PatternCount, 0);
    EXPECT_TRUE(image.Textures.empty());
    EXPECT_EQ(image.FreeTextures(), -1);
    TPatternSelection s;
    EXPECT_FALSE(image.SelectPattern(0, false, false, s));
    EXPECT_EQ(s.Texture, nullptr);
    EXPECT_EQ(image.LoadFromFile(&device, path, 32, 32, 64, 64, D3DFMT_R5G6B5), 0);
}

TEST_F(PatternImageTest, CreateTexturesChecksAndCleansUp) {
    EXPECT_EQ(image.CreateTextures(&device, 64, 64, 32, 32, 0, D3DFMT_A8R8G8B8), -3);
    EXPECT_EQ(image.CreateTextures(&device, 64, 64, 65, 32, 1, D3DFMT_A8R8G8B8), -3);
    EXPECT_EQ(image.CreateTextures(&device, 64, 64, -1, 32, 1, D3DFMT_A8R8G8B8), -3);
    EXPECT_EQ(image.CreateTextures(&device, 0, 0, 0, 0, 1, D3DFMT_A8R8G8B8), -3);
    device.CreateTextureFailsFrom = 3;
    EXPECT_EQ(image.CreateTextures(&device, 64, 64, 32, 32, 5, D3DFMT_A8R8G8B8), -4);
    EXPECT_FALSE(image.Loaded);
    EXPECT_TRUE(image.Textures.empty());
    device.CreateTextureFailsFrom = 0;
    ASSERT_EQ(image.CreateTextures(&device, 64, 32, 0, 0, 2, D3DFMT_A8R8G8B8), 0);
    EXPECT_EQ(image.PatternWidth, 64); // 0 means the texture's size
    EXPECT_EQ(image.PatternCount, 2);
    EXPECT_EQ(image.CreateTextures(&device, 64, 64, 32, 32, 1, D3DFMT_A8R8G8B8), -3); // loaded

    int32_t pitch = 0;
    uint8_t* bits = nullptr;
    EXPECT_EQ(image.LockTexture(2, pitch, bits), -3);
    EXPECT_EQ(image.LockTexture(-1, pitch, bits), -3);
    EXPECT_EQ(image.UnlockTexture(2), -3);
    ASSERT_EQ(image.LockTexture(1, pitch, bits), 0);
    EXPECT_EQ(pitch, 256);
    Tex(image, 0).LockResult = GFXERR_INVALIDCALL;
    EXPECT_EQ(image.LockTexture(0, pitch, bits), -1);
}

TEST_F(PatternImageTest, LockFailureWhileFillingKeepsTheSetLoaded) {
    const auto path = WritePicture(dir, "p.tga", 64, 64);
    device.NewTextureLockResult = GFXERR_INVALIDCALL;
    EXPECT_EQ(image.LoadFromFile(&device, path, 32, 32, 64, 64, D3DFMT_A8R8G8B8), -1);
    EXPECT_TRUE(image.Loaded);
    EXPECT_EQ(image.Textures.size(), 1u);
    EXPECT_EQ(image.FreeTextures(), 0);

    device.NewTextureLockResult = GFX_OK;
    device.NewTextureUnlockResult = GFXERR_INVALIDCALL;
    EXPECT_EQ(image.LoadFromFile(&device, path, 32, 32, 32, 32, D3DFMT_A8R8G8B8), -1);
    EXPECT_TRUE(image.Loaded);
    EXPECT_EQ(Tex(image, 0).Unlocks, 1); // stopped at the first texture of four
}

TEST_F(PatternImageTest, DamagedFileIsReportedAndMissingFileGivesThePlaceholder) {
    auto bad = TgaHeader(2, 4, 4, 24, 0x20);
    bad.resize(bad.size() + 10); // 48 bytes of pixels promised, 10 given
    WriteBytes(dir.File("bad.tga"), bad);
    std::string error;
    EXPECT_EQ(image.LoadFromFile(&device, dir.File("bad.tga"), 0, 0, 4, 4, D3DFMT_A8R8G8B8, &error),
              -7);
    EXPECT_NE(error.find("bad.tga"), std::string::npos);
    EXPECT_FALSE(image.Loaded);
    EXPECT_TRUE(device.Textures.empty());

    WriteBytes(dir.File("deep.tga"), TgaHeader(2, 4, 4, 16, 0x20));
    EXPECT_EQ(
        image.LoadFromFile(&device, dir.File("deep.tga"), 0, 0, 4, 4, D3DFMT_A8R8G8B8, &error), -7);
    EXPECT_NE(error.find("Invalid TGA Bit-depth!"), std::string::npos);
    EXPECT_NE(error.find("deep.tga"), std::string::npos);

    ASSERT_EQ(image.LoadAuto(&device, dir.File("missing.tga"), D3DFMT_A8R8G8B8), 0);
    EXPECT_EQ(image.PatternWidth, 64);
    EXPECT_EQ(image.TextureWidth, 64);
    EXPECT_EQ(Texel32(Tex(image, 0), 0, 0), 0xFFFFAE00u); // orange hatch
}

TEST_F(PatternImageTest, SixteenBitTexturesAreConvertedRowByRow) {
    const auto path = WritePicture(dir, "p.tga", 40, 10);
    ASSERT_EQ(image.LoadFromFile(&device, path, 20, 10, 32, 16, D3DFMT_R5G6B5), 0);
    ASSERT_EQ(image.Textures.size(), 2u);
    const auto& t = Tex(image, 1);
    ASSERT_EQ(t.Texels.size(), 32u * 16 * 2);
    // Texel (3, 2) of texture 1 is picture pixel (23, 2): red 23, green 2, blue 0.
    const uint16_t v = uint16_t(t.Texels[(2 * 32 + 3) * 2] | t.Texels[(2 * 32 + 3) * 2 + 1] << 8);
    EXPECT_EQ(v, uint16_t(((23 * 31 + 127) / 255) << 11 | ((2 * 63 + 127) / 255) << 5));
    // Columns 20..31 of each texture received no picture data.
    EXPECT_EQ(t.Texels[(2 * 32 + 25) * 2], 0);
}
