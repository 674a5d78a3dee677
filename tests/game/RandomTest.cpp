#include "game/Random.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

TEST(Random, EmptyOrNegativeRangeGivesZero) {
    RandSeed(1);
    EXPECT_EQ(Random(0), 0);
    EXPECT_EQ(Random(-5), 0);
    EXPECT_EQ(Random(1), 0);
}

TEST(Random, SeedRepeatsTheSequence) {
    RandSeed(12345);
    std::vector<int> a;
    for (int i = 0; i < 50; ++i) a.push_back(Random(1000));
    RandSeed(12345);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(Random(1000), a[static_cast<size_t>(i)]);
    RandSeed(12346);
    int same = 0;
    for (int i = 0; i < 50; ++i) same += Random(1000) == a[static_cast<size_t>(i)];
    EXPECT_LT(same, 5);
}

TEST(Random, StaysInRangeAndCoversItEvenly) {
    RandSeed(7);
    std::array<int, 9> counts{};
    for (int i = 0; i < 90000; ++i) {
        const int r = Random(9);
        ASSERT_GE(r, 0);
        ASSERT_LT(r, 9);
        ++counts[static_cast<size_t>(r)];
    }
    for (int c : counts) {
        EXPECT_GT(c, 9500);
        EXPECT_LT(c, 10500);
    }
}
