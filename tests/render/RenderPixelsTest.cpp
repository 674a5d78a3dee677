#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

TEST_F(OffscreenTest, PatternLandsOnItsExactPixels) {
    TPatternImage image;
    // 4 x 4 pattern, every texel its own colour, on an 8 x 8 texture.
    MakePatternSet(device.Device(), image, 8, 8, 4, 4, [](int x, int y) {
        return 0xFF000000u | uint32_t(40 + 50 * x) << 16 | uint32_t(40 + 50 * y) << 8 | 0x20;
    });
    Frame([&] { ASSERT_TRUE(device.DrawImage(&image, 10, 20, 0, fxNone)); });
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(At(10 + x, 20 + y), uint32_t(40 + 50 * x) << 16 | uint32_t(40 + 50 * y) << 8 | 0x20)
                << x << "," << y;
    for (auto [x, y] : {std::pair{9, 20}, {14, 20}, {10, 19}, {10, 24}, {14, 24}})
        EXPECT_EQ(At(x, y), 0u) << x << "," << y;
}
