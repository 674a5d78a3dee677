#pragma once
// Pattern sets made in memory and an offscreen device for the drawing tests.
#include "platform/GfxTypes.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

// Fills a one-texture set with texels of format A8R8G8B8 from `texel(x, y)` (0xAARRGGBB), x and
// y in texture pixels, and cuts it into patterns of the given size.
inline void MakePatternSet(IGfxDevice* device, TPatternImage& image, int32_t textureWidth,
                           int32_t textureHeight, int32_t patternWidth, int32_t patternHeight,
                           const std::function<uint32_t(int32_t, int32_t)>& texel) {
    ASSERT_EQ(image.CreateTextures(device, textureWidth, textureHeight, patternWidth, patternHeight,
                                   1, D3DFMT_A8R8G8B8),
              0);
    int32_t pitch = 0;
    uint8_t* bits = nullptr;
    ASSERT_EQ(image.LockTexture(0, pitch, bits), 0);
    for (int32_t y = 0; y < textureHeight; ++y)
        for (int32_t x = 0; x < textureWidth; ++x) {
            const uint32_t v = texel(x, y);
            std::memcpy(bits + y * pitch + x * 4, &v, 4);
        }
    ASSERT_EQ(image.UnlockTexture(0), 0);
}

// An 800 x 600 offscreen device, black at the start.
class OffscreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        device.SetOffscreen(true);
        device.SetWidth(800);
        device.SetHeight(600);
        ASSERT_EQ(device.InitDevice(), 0);
    }
    // One frame: `draw` between BeginFrame and EndFrame, then present and read back.
    void Frame(const std::function<void()>& draw) {
        ASSERT_TRUE(device.BeginFrame());
        draw();
        ASSERT_TRUE(device.EndFrame());
        ASSERT_TRUE(device.PresentFrame());
        frame = device.ReadFrame();
        ASSERT_EQ(frame.size(), 800u * 600u);
    }
    // The colour at (x, y) of the last frame as 0xRRGGBB.
    uint32_t At(int x, int y) const { return frame[size_t(y) * 800 + size_t(x)] & 0xFFFFFF; }

    TRenderDevice device;
    std::vector<uint32_t> frame;
};

// True when every channel of two 0xRRGGBB colours differs by at most `tolerance`.
inline bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int d = int((a >> shift) & 0xFF) - int((b >> shift) & 0xFF);
        if (d > tolerance || d < -tolerance) return false;
    }
    return true;
}
