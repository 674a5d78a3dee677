#include "render/ModeList.h"
#include "tests/support/GfxRecorder.h"

#include <gtest/gtest.h>

namespace {

std::vector<int32_t> Rates(const TModeList& list) {
    std::vector<int32_t> rates;
    for (const TModeRecord* r = list.First.get(); r; r = r->Next.get())
        rates.push_back(r->RefreshRate);
    return rates;
}

int32_t Chosen(TModeList& list, TRefreshRate rate) {
    const TModeRecord* r = list.ChooseMode(rate);
    return r ? r->RefreshRate : -100;
}

} // namespace

TEST(ModeList, ChoosesByRateSetting) {
    TRecordingGfxSystem system;
    system.Modes = {{800, 600, 60, D3DFMT_R5G6B5},
                    {800, 600, 75, D3DFMT_R5G6B5},
                    {800, 600, 85, D3DFMT_R5G6B5}};
    TModeList list;
    ASSERT_TRUE(list.EnumModes(&system, 800, 600, 16));
    EXPECT_EQ(Rates(list), (std::vector<int32_t>{85, 75, 60})); // reverse enumeration order
    EXPECT_EQ(Chosen(list, rr_lowest), 60);
    EXPECT_EQ(Chosen(list, rr_default), 60);
    EXPECT_EQ(Chosen(list, rr_highest), 85);
    EXPECT_EQ(Chosen(list, rr_higher), 75);
    EXPECT_EQ(Chosen(list, rr_average), 75);
    list.CustomRate = 72; // no such mode: the lowest
    EXPECT_EQ(Chosen(list, rr_custom), 60);
    list.CustomRate = 75;
    EXPECT_EQ(Chosen(list, rr_custom), 75);

    TModeList two;
    two.AddMode(800, 600, 60, D3DFMT_R5G6B5);
    two.AddMode(800, 600, 85, D3DFMT_R5G6B5);
    EXPECT_EQ(Chosen(two, rr_higher), 85);
    EXPECT_EQ(Chosen(two, rr_average), 60);
}

TEST(ModeList, DepthClassesFilterFormats) {
    TRecordingGfxSystem system;
    system.Modes = {{800, 600, 60, D3DFMT_X8R8G8B8}, {800, 600, 70, D3DFMT_A8R8G8B8},
                    {800, 600, 72, D3DFMT_X1R5G5B5}, {800, 600, 75, D3DFMT_R5G6B5},
                    {800, 601, 60, D3DFMT_R5G6B5},   {640, 600, 60, D3DFMT_R5G6B5}};
    TModeList list;
    ASSERT_TRUE(list.EnumModes(&system, 800, 600, 16));
    EXPECT_EQ(Rates(list), (std::vector<int32_t>{75, 72}));
    ASSERT_TRUE(list.EnumModes(&system, 800, 600, 32));
    EXPECT_EQ(Rates(list), (std::vector<int32_t>{70, 60}));
    ASSERT_TRUE(list.EnumModes(&system, 800, 600, 24)); // no such class
    EXPECT_EQ(list.Count(), 0);
    ASSERT_TRUE(list.EnumModes(&system, 1024, 768, 16)); // no such size: still True
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.ChooseMode(rr_default), nullptr);
}

TEST(ModeList, FailedEnumerationEmptiesTheList) {
    TRecordingGfxSystem system;
    system.Modes = {{800, 600, 60, D3DFMT_R5G6B5}, {800, 600, 75, D3DFMT_R5G6B5}};
    TModeList list;
    list.AddMode(1, 1, 1, D3DFMT_R5G6B5);
    system.EnumModesFailures = 1;
    EXPECT_FALSE(list.EnumModes(&system, 800, 600, 16));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(list.Clear());
    EXPECT_FALSE(list.EnumModes(nullptr, 800, 600, 16));
}

TEST(ModeList, SortIsStableAndHighestFirst) {
    TModeList list;
    // Same rate in two formats: the one enumerated later (added later, so nearer the head)
    // stays first.
    list.AddMode(800, 600, 60, D3DFMT_X8R8G8B8);
    list.AddMode(800, 600, 60, D3DFMT_A8R8G8B8);
    list.AddMode(800, 600, 0, D3DFMT_A8R8G8B8);
    list.AddMode(800, 600, 100, D3DFMT_X8R8G8B8);
    list.SortByRate();
    EXPECT_EQ(Rates(list), (std::vector<int32_t>{100, 60, 60, 0}));
    EXPECT_EQ(list.First->Next->Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(list.First->Next->Next->Format, D3DFMT_X8R8G8B8);
    EXPECT_TRUE(list.Clear());
    EXPECT_EQ(list.Count(), 0);
}

TEST(ModeList, LongListIsFreedWithoutDeepRecursion) {
    TModeList list;
    for (int i = 0; i < 200000; ++i) list.AddMode(800, 600, i % 7, D3DFMT_R5G6B5);
    EXPECT_EQ(list.Count(), 200000);
    EXPECT_TRUE(list.Clear());
}
