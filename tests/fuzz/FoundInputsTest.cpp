// What the fuzzers found, pinned down: each case is a fault a generated input exposed, with the
// behaviour the reader has now. The inputs themselves are replayed from regressions/ as well.
#include "platform/Bitmap.h"
#include "shell/Settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<size_t>(i)] = static_cast<uint8_t>(v >> (8 * i));
}

// A 24-bit 2 x 2 BMP with a 40-byte info header; the tests damage one field at a time.
std::vector<uint8_t> SmallBmp() {
    std::vector<uint8_t> b(14 + 40 + 16, 0);
    b[0] = 'B';
    b[1] = 'M';
    Put32(b, 2, static_cast<uint32_t>(b.size()));
    Put32(b, 10, 54);
    Put32(b, 14, 40);
    Put32(b, 18, 2);
    Put32(b, 22, 2);
    b[26] = 1;
    b[28] = 24;
    for (size_t i = 54; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 13);
    return b;
}

std::string Refusal(const std::vector<uint8_t>& bytes) {
    TBitmap picture;
    std::string error;
    EXPECT_FALSE(picture.LoadBMPFromMemory(bytes.data(), bytes.size(), "found.bmp", &error));
    EXPECT_TRUE(picture.Empty());
    EXPECT_NE(error.find("found.bmp"), std::string::npos) << error;
    return error;
}

TEST(FoundInputs, BmpHeadersThatWouldMakeTheReaderAskForHugeMemoryAreRefused) {
    TBitmap picture;
    const std::vector<uint8_t> good = SmallBmp();
    ASSERT_TRUE(picture.LoadBMPFromMemory(good.data(), good.size(), "good.bmp"));
    EXPECT_EQ(picture.Width(), 2);

    // The fuzzer's find: an info header claiming to be 4 MiB long made SDL size a buffer of
    // over a terabyte from a 78-byte file.
    auto damaged = good;
    Put32(damaged, 14, 0x003E0000);
    EXPECT_NE(Refusal(damaged).find("header is damaged"), std::string::npos);

    damaged = good;
    Put32(damaged, 18, 100000);
    Put32(damaged, 22, 100000);
    EXPECT_NE(Refusal(damaged).find("too large"), std::string::npos);

    damaged = good;
    Put32(damaged, 22, 0x80000000u); // -2^31 rows, top first
    EXPECT_NE(Refusal(damaged).find("too large"), std::string::npos);

    damaged = good;
    damaged[28] = 8;
    Put32(damaged, 46, 0x7A000000); // palette colours an 8-bit picture cannot index
    EXPECT_NE(Refusal(damaged).find("palette colours"), std::string::npos);

    damaged = good;
    Put32(damaged, 18, 4000); // rows the file does not hold
    EXPECT_NE(Refusal(damaged).find("ends inside its pixel data"), std::string::npos);

    damaged = good;
    damaged[28] = 7;
    EXPECT_NE(Refusal(damaged).find("unknown depth"), std::string::npos);

    EXPECT_NE(Refusal({'B', 'M', 0}).find("not a BMP file"), std::string::npos);
    // The picture that was there stays when a load is refused.
    EXPECT_FALSE(picture.LoadBMPFromMemory(damaged.data(), damaged.size(), "x.bmp"));
    EXPECT_EQ(picture.Width(), 2);
}

TEST(FoundInputs, AnEmptySettingsFileMayComeAsNoDataAtAll) {
    // An empty file read into an empty buffer gives a null pointer; copying 0 bytes from it was
    // undefined behaviour.
    const TConfigContents c = DecodeConfig(nullptr, 0);
    EXPECT_EQ(c.MusicVolume, 50);
    EXPECT_FALSE(c.HasGame);
    EXPECT_EQ(c.Table.Blocks[0][0].Score, 1000);
}

} // namespace
