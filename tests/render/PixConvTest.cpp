#include "render/PixConv.h"
#include "platform/GfxTypes.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// Converts pixels given as 0xAARRGGBB and returns the texels' bytes plus one guard byte that the
// converter must not touch.
std::vector<uint8_t> Convert(TPixConvLine convert, int32_t bytesPerTexel,
                             const std::vector<uint32_t>& argb) {
    std::vector<uint8_t> source;
    for (uint32_t p : argb)
        source.insert(source.end(),
                      {uint8_t(p), uint8_t(p >> 8), uint8_t(p >> 16), uint8_t(p >> 24)});
    std::vector<uint8_t> dest(argb.size() * size_t(bytesPerTexel) + 1, 0xEE);
    convert(source.data(), dest.data(), int32_t(argb.size()));
    EXPECT_EQ(dest.back(), 0xEE) << "wrote past Count texels";
    dest.pop_back();
    return dest;
}

uint16_t Texel16(const std::vector<uint8_t>& d, size_t i) {
    return uint16_t(d[2 * i] | d[2 * i + 1] << 8);
}

} // namespace

TEST(PixConv, SixteenBitFormatsPackRoundedChannels) {
    const std::vector<uint32_t> px = {0xFFFFFFFF, 0x00000000, 0x80FF0000,
                                      0x7F00FF00, 0xFF0000FF, 0x40808080};
    auto d = Convert(pconvLine24to16, 2, px);
    EXPECT_EQ(Texel16(d, 0), 0xFFFF);
    EXPECT_EQ(Texel16(d, 1), 0x0000);
    EXPECT_EQ(Texel16(d, 2), 0xF800);
    EXPECT_EQ(Texel16(d, 3), 0x07E0);
    EXPECT_EQ(Texel16(d, 4), 0x001F);
    EXPECT_EQ(Texel16(d, 5), 16 << 11 | 32 << 5 | 16); // 0x80 rounds to the middle level

    d = Convert(pconvLine24to15, 2, px);
    EXPECT_EQ(Texel16(d, 0), 0x7FFF); // no alpha bit
    EXPECT_EQ(Texel16(d, 2), 0x7C00);
    d = Convert(pconvLine32to15, 2, px);
    EXPECT_EQ(Texel16(d, 0), 0xFFFF);
    EXPECT_EQ(Texel16(d, 2), 0x8000 | 0x7C00); // alpha 0x80 sets the bit
    EXPECT_EQ(Texel16(d, 3), 0x03E0);          // alpha 0x7F does not

    d = Convert(pconvLine24to12, 2, px);
    EXPECT_EQ(Texel16(d, 0), 0x0FFF);
    EXPECT_EQ(Texel16(d, 4), 0x000F);
    d = Convert(pconvLine32to12, 2, px);
    EXPECT_EQ(Texel16(d, 0), 0xFFFF);
    EXPECT_EQ(Texel16(d, 2), 0x8F00);
    EXPECT_EQ(Texel16(d, 5), 0x4888);
}

TEST(PixConv, EightBitAndThirtyTwoBitFormats) {
    const std::vector<uint32_t> px = {0xFFFFFFFF, 0x12FF0000, 0x3400FF00, 0x560000FF};
    auto d = Convert(pconvLine24to8, 1, px);
    EXPECT_EQ(d, (std::vector<uint8_t>{0xFF, 0xE0, 0x1C, 0x03}));
    d = Convert(pconvLine32to8, 2, px);
    EXPECT_EQ(Texel16(d, 0), 0xFFFF);
    EXPECT_EQ(Texel16(d, 1), 0x12E0);
    EXPECT_EQ(Texel16(d, 3), 0x5603);
    d = Convert(pconvLine24to24, 4, px);
    uint32_t t;
    std::memcpy(&t, &d[4], 4);
    EXPECT_EQ(t, 0xFFFF0000u); // alpha ignored, X byte filled
    d = Convert(pconvLineCopy32, 4, px);
    std::memcpy(&t, &d[8], 4);
    EXPECT_EQ(t, 0x3400FF00u);
}

TEST(PixConv, ConverterPerFormat) {
    EXPECT_EQ(PixConvForFormat(D3DFMT_A8R8G8B8), pconvLineCopy32);
    EXPECT_EQ(PixConvForFormat(D3DFMT_X8R8G8B8), pconvLine24to24);
    EXPECT_EQ(PixConvForFormat(D3DFMT_R5G6B5), pconvLine24to16);
    EXPECT_EQ(PixConvForFormat(D3DFMT_X1R5G5B5), pconvLine24to15);
    EXPECT_EQ(PixConvForFormat(D3DFMT_A1R5G5B5), pconvLine32to15);
    EXPECT_EQ(PixConvForFormat(D3DFMT_A4R4G4B4), pconvLine32to12);
    EXPECT_EQ(PixConvForFormat(D3DFMT_R3G3B2), pconvLine24to8);
    EXPECT_EQ(PixConvForFormat(D3DFMT_A8R3G3B2), pconvLine32to8);
    EXPECT_EQ(PixConvForFormat(D3DFMT_X4R4G4B4), pconvLine24to12);
    EXPECT_EQ(PixConvForFormat(D3DFMT_A8), nullptr);
    EXPECT_EQ(PixConvForFormat(20), nullptr);
    EXPECT_EQ(PixConvLibraryName, "PixConv.dll");
    EXPECT_TRUE(LoadPixConv());
}
