// What the fuzzers found, pinned down: each case is a fault a generated input exposed, with the
// behaviour the reader has now. The inputs themselves are replayed from regressions/ as well.
#include "platform/Bitmap.h"
#include "render/ImageReader.h"
#include "shell/Settings.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
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

TEST(FoundInputs, ShortFilesClaimingHugePicturesAreRefusedBeforeTheyAreAllocated) {
    // A few hundred bytes of JPEG claiming 16000 x 16000 pixels: the decoder fills what is
    // missing with grey, so it took 768 MB and seconds of decoding, then twice that at 32 bits.
    std::ifstream in(std::string(VO_FUZZ_SOURCE_DIR) + "/corpus/jpeg/baseline.jpg",
                     std::ios::binary);
    std::vector<uint8_t> jpeg(std::istreambuf_iterator<char>(in), {});
    ASSERT_GT(jpeg.size(), 100u);
    TBitmapEx picture;
    std::string error;
    ASSERT_TRUE(picture.LoadJPEGFromMemory(jpeg.data(), jpeg.size(), "b.jpg", &error)) << error;
    size_t sof = 0;
    for (size_t i = 0; i + 9 < jpeg.size() && !sof; ++i)
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) sof = i;
    ASSERT_NE(sof, 0u);
    for (size_t at : {sof + 5, sof + 7}) { // height, width: big-endian 16000
        jpeg[at] = 16000 >> 8;
        jpeg[at + 1] = 16000 & 0xFF;
    }
    EXPECT_FALSE(picture.LoadJPEGFromMemory(jpeg.data(), jpeg.size(), "b.jpg", &error));
    EXPECT_NE(error.find("cut short"), std::string::npos) << error;
    EXPECT_EQ(picture.Width(), 16); // the picture that was there stays

    // The same for a run-length BMP: 8 bytes of runs for 10000 x 10000 pixels.
    std::vector<uint8_t> rle = SmallBmp();
    rle.resize(54 + 4 * 16 + 8);
    Put32(rle, 10, 54 + 4 * 16);
    Put32(rle, 18, 10000);
    Put32(rle, 22, 10000);
    rle[28] = 8;
    Put32(rle, 30, 1); // RLE8
    Put32(rle, 46, 16);
    const uint8_t runs[] = {255, 1, 255, 2, 0, 0, 0, 1};
    std::memcpy(&rle[54 + 64], runs, sizeof runs);
    EXPECT_NE(Refusal(rle).find("run-length"), std::string::npos);
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
