#include "fx/ParticleEngine.h"
#include "layout/Layout.h"

#include "ui/VOFont.h"

#include <gtest/gtest.h>

#include <cmath>

TEST(ParticleEngine, TheFirstUpdateUsesAZeroStepAndLaterOnesThePreviousDelta) {
    TVOParticleEngine e(nullptr, kPictureHeight);
    e.AddDebris(nullptr, 0, 100, 1, 0);
    e.Update(2.0);
    EXPECT_EQ(e.Particles()[0].X, 0.0f);
    e.Update(0.5);
    EXPECT_EQ(e.Particles()[0].X, 2.0f) << "moved by the stored 2.0";
    e.Update(0.0);
    EXPECT_EQ(e.Particles()[0].X, 2.5f);
}

TEST(ParticleEngine, FloatingTextsRiseFadeAndLiveThirtyUnits) {
    TVOParticleEngine e(nullptr, kPictureHeight);
    e.AddText("+5", 100, 200);
    EXPECT_EQ(TVOParticleEngine::TextAlpha(e.Particles()[1]), 255);
    e.Update(15.0);
    e.Update(14.0); // applies 15
    ASSERT_EQ(e.Particles().size(), 2u);
    EXPECT_EQ(e.Particles()[1].Age, 0.5f);
    EXPECT_EQ(e.Particles()[1].Y, 170.0f) << "2 pixels per unit";
    EXPECT_EQ(TVOParticleEngine::TextAlpha(e.Particles()[1]), 128) << "127.5 rounds to even";
    e.Update(2.0); // applies 14: 29 units in all
    EXPECT_EQ(e.Particles().size(), 2u);
    e.Update(0.0); // applies 2
    EXPECT_TRUE(e.Particles().empty());
}

TEST(ParticleEngine, PopsGrowOrShrinkAndEndAfterTheirLife) {
    TVOParticleEngine e(nullptr, kPictureHeight);
    e.AddPop(nullptr, true, 0, 0);
    e.AddPop(nullptr, false, 0, 0);
    e.Update(3.0);
    e.Update(4.0); // applies 3
    EXPECT_EQ(e.Particles()[0].Scale, 120.0);
    EXPECT_EQ(e.Particles()[1].Scale, 136.0);
    e.Update(0.5); // applies 4: 7 units, past the shrinking pop's 6.9
    ASSERT_EQ(e.Particles().size(), 1u);
    EXPECT_TRUE(e.Particles()[0].Grow);
    EXPECT_EQ(e.Particles()[0].Scale, 280.0);
    e.Update(0.0); // applies 0.5: past 7.2
    EXPECT_TRUE(e.Particles().empty());
}

TEST(ParticleEngine, AnimationsPlayEveryFrameAndShowTheLastFrameUnwrapped) {
    TVOParticleEngine e(nullptr, kPictureHeight);
    e.AddAnimation(nullptr, 18, 0, 0, 2.0f, 2); // lives 18 units
    e.Update(0.5);
    double last = 0;
    for (int i = 0; i < 17; ++i) {
        e.Update(0.5);
        last = e.Particles()[0].Scale;
        EXPECT_EQ(last, i + 1.0);
    }
    e.Update(0.5);
    EXPECT_EQ(e.Particles()[0].Scale, 18.0) << "exactly Frames: not wrapped";
    e.Update(0.5);
    EXPECT_EQ(e.Particles()[0].Scale, 1.0);

    TVOParticleEngine one(nullptr, kPictureHeight);
    one.AddAnimation(nullptr, 18, 0, 0, 2.0f, 1);
    one.Update(0.5);
    for (int i = 0; i < 17; ++i) one.Update(0.5);
    ASSERT_EQ(one.Particles().size(), 1u);
    EXPECT_EQ(one.Particles()[0].Scale, 17.0) << "the last frame shown";
    one.Update(0.5);
    EXPECT_TRUE(one.Particles().empty()) << "gone after 9 units";

    TVOParticleEngine still(nullptr, kPictureHeight);
    still.AddAnimation(nullptr, 18, 0, 0, 0.0f, 1);
    EXPECT_TRUE(still.Particles().empty()) << "no animation that could never end";
}

TEST(ParticleEngine, DebrisRisesFallsAndLeavesOnlyAtTheBottomEdge) {
    TVOParticleEngine e(nullptr, kPictureHeight);
    e.AddDebris(nullptr, 400, 300, 0, -80);
    e.Update(1.0);
    float top = 300;
    int updates = 0;
    while (!e.Particles().empty() && updates < 1000) {
        const float y = e.Particles()[0].Y;
        top = std::min(top, y);
        EXPECT_LT(y, 600.0f);
        e.Update(1.0);
        ++updates;
    }
    EXPECT_TRUE(e.Particles().empty());
    EXPECT_LT(top, 300.0f - 50) << "it rose first";
    EXPECT_GT(updates, 30) << "its age is no limit (30 units would be age 1)";
}

TEST(ParticleEngine, FlashGrowsModeratelyAtAnyFrameRateAndLastsOneAndAHalfUnits) {
    for (const double step : {0.0, 0.01, 0.25, 1.5}) {
        TVOParticleEngine e(nullptr, kPictureHeight);
        e.AddFlash(10, 10);
        e.Update(step);
        double scale = 128;
        for (int i = 0; i < 10000 && !e.Particles().empty(); ++i) {
            scale = e.Particles()[0].Scale;
            ASSERT_TRUE(std::isfinite(scale));
            e.Update(step == 0.0 ? 0.01 : step);
        }
        EXPECT_TRUE(e.Particles().empty()) << step;
        EXPECT_GE(scale, 128.0) << step;
        EXPECT_LE(scale, 4 * 256.0) << step;
    }
    TParticle flash;
    flash.Life = 0.05f;
    EXPECT_EQ(TVOParticleEngine::FlashAlpha(flash), 0) << "round(5) div 10";
}

// Sparks, glows and callouts run on game time: after the same time they stand at the same place
// and size whatever the steps, and end with their lives. A cell's removal leaves them be.
TEST(ParticleEngine, PayoffParticlesKeepTheirPaceAtAnyFrameRate) {
    std::vector<std::vector<TParticle>> at;
    for (const double step : {0.1, 0.5, 2.0}) {
        TVOParticleEngine e(nullptr, kPictureHeight);
        e.AddSpark(nullptr, 0, 100, 100, 3, -4, 0xFFFFFF, 10);
        e.AddGlow(nullptr, 100, 100, 200, 40, 0xFFFFFF, 235, 8);
        e.AddCallout("Chain", 100, 100, 120, 0xFFFFFF, 24, kCalloutRise);
        e.RemoveAt(100, 100);
        ASSERT_EQ(e.Particles().size(), 3u);
        e.Update(step); // the first update moves nothing
        for (int i = 0; i < static_cast<int>(std::lround(6 / step)); ++i) e.Update(step);
        at.push_back(e.Particles());
        for (int i = 0; i < 1000 && !e.Particles().empty(); ++i) e.Update(step);
        EXPECT_TRUE(e.Particles().empty()) << step;
    }
    ASSERT_EQ(at[0].size(), 3u);
    EXPECT_NEAR(at[0][0].X, 118.0f, 0.01f);
    EXPECT_NEAR(at[0][0].Y, 100 - 24 + 1.2 * 36 / 2, 0.01);
    for (const std::vector<TParticle>& other : {at[1], at[2]}) {
        ASSERT_EQ(other.size(), 3u);
        for (size_t k = 0; k < 3; ++k) {
            EXPECT_NEAR(other[k].X, at[0][k].X, 0.01f) << k;
            EXPECT_NEAR(other[k].Y, at[0][k].Y, 0.01f) << k;
            EXPECT_NEAR(other[k].Scale, at[0][k].Scale, 0.01) << k;
            EXPECT_NEAR(other[k].Age, at[0][k].Age, 0.01f) << k;
        }
    }
}

TEST(ParticleEngine, RemoveAtTakesEverythingWithinThreePixelsOnBothAxes) {
    TVOParticleEngine e(nullptr, kPictureHeight);
    e.AddText("+5", 100, 100); // shadow at 102, 102
    e.AddPop(nullptr, false, 103, 100);
    e.RemoveAt(96, 100);
    EXPECT_EQ(e.Particles().size(), 3u) << "4 pixels left: neither text part";
    e.RemoveAt(100, 100);
    ASSERT_EQ(e.Particles().size(), 1u) << "text and shadow go; the pop 3 away stays";
    EXPECT_EQ(e.Particles()[0].Kind, pkPop);
}

TEST(ParticleEngine, ClearAnimationsRemovesOnlyAnimations) {
    TVOParticleEngine e(nullptr, kPictureHeight);
    e.AddAnimation(nullptr, 18, 0, 0, 2, 1);
    e.AddText("x", 0, 0);
    e.AddAnimation(nullptr, 36, 0, 0, 1, 2);
    e.AddPop(nullptr, true, 0, 0);
    e.AddDebris(nullptr, 0, 0, 0, 0);
    e.AddFlash(0, 0);
    e.ClearAnimations();
    ASSERT_EQ(e.Particles().size(), 5u);
    for (const auto& p : e.Particles()) EXPECT_NE(p.Kind, pkAnimation);
}

TEST(ParticleEngine, DrawingWithoutDeviceOrFontIsHarmless) {
    TVOParticleEngine e(nullptr, kPictureHeight);
    e.Update(1.0);
    e.Draw(0);
    e.AddText("+5", 10, 10);
    e.AddPop(nullptr, false, 0, 0);
    e.AddAnimation(nullptr, 18, 0, 0, 2, 1);
    e.AddDebris(nullptr, 0, 0, 0, 0);
    e.AddFlash(0, 0);
    TVOFont font(nullptr);
    std::vector<std::pair<int32_t, uint32_t>> glyphs;
    font.Advance.fill(5);
    font.OnGlyph = [&](uint8_t, int32_t x, int32_t, int32_t, uint32_t colour) {
        glyphs.push_back({x, colour});
    };
    Font = &font;
    e.Draw(1);
    EXPECT_TRUE(glyphs.empty()) << "another layer";
    e.Draw(0);
    Font = nullptr;
    ASSERT_EQ(glyphs.size(), 4u);
    EXPECT_EQ(glyphs[0], (std::pair<int32_t, uint32_t>{12, 0xFF888888}));
    EXPECT_EQ(glyphs[2], (std::pair<int32_t, uint32_t>{10, 0xFFFFFFFF}));
}
