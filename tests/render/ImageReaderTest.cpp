#include "render/ImageReader.h"
#include "platform/DataPack.h"
#include "tests/render/TestFiles.h"
#include "tools/pack/PackWriter.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <jpeglib.h>
#include <random>

namespace {

// A w x h picture whose pixel i (in stored order) is (i, i+1, i+2[, 255-i]).
std::vector<uint8_t> StoredPixels(int w, int h, int b) {
    std::vector<uint8_t> px;
    for (int i = 0; i < w * h; ++i) {
        px.push_back(uint8_t(i));
        px.push_back(uint8_t(i + 1));
        px.push_back(uint8_t(i + 2));
        if (b == 4) px.push_back(uint8_t(255 - i));
    }
    return px;
}

std::string LoadError(const std::vector<uint8_t>& file) {
    TBitmapEx bmp;
    std::string error;
    EXPECT_FALSE(bmp.LoadTGAFromMemory(file.data(), file.size(), "x.tga", &error));
    return error;
}

std::vector<uint8_t> EncodeJpeg(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    jpeg_compress_struct info;
    jpeg_error_mgr err;
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &out, &size);
    info.image_width = JDIMENSION(w);
    info.image_height = JDIMENSION(h);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<uint8_t> row;
    for (int x = 0; x < w; ++x) row.insert(row.end(), {r, g, b});
    while (info.next_scanline < info.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&info, &p, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<uint8_t> bytes(out, out + size);
    jpeg_destroy_compress(&info);
    std::free(out);
    return bytes;
}

} // namespace

TEST(TgaReader, TopFirst32BitKeepsRowOrderAndAlpha) {
    auto file = TgaHeader(2, 3, 2, 32, 0x28);
    const auto px = StoredPixels(3, 2, 4);
    Append(file, px);
    TBitmapEx bmp;
    std::string error;
    ASSERT_TRUE(bmp.LoadTGAFromMemory(file.data(), file.size(), "x.tga", &error)) << error;
    EXPECT_EQ(bmp.BitsPerPixel(), 32);
    EXPECT_EQ(bmp.Width(), 3);
    EXPECT_EQ(bmp.Height(), 2);
    EXPECT_TRUE(std::equal(px.begin(), px.begin() + 12, bmp.ScanLine(0)));
    EXPECT_TRUE(std::equal(px.begin() + 12, px.end(), bmp.ScanLine(1)));
}

TEST(TgaReader, BottomFirst24BitLoadsUpsideUp) {
    auto file = TgaHeader(2, 2, 3, 24, 0x00);
    const auto px = StoredPixels(2, 3, 3);
    Append(file, px);
    TBitmapEx bmp;
    ASSERT_TRUE(bmp.LoadTGAFromMemory(file.data(), file.size(), "x.tga"));
    EXPECT_EQ(bmp.BitsPerPixel(), 24);
    EXPECT_TRUE(std::equal(px.end() - 6, px.end(), bmp.ScanLine(0)));
    EXPECT_TRUE(std::equal(px.begin(), px.begin() + 6, bmp.ScanLine(2)));
}

TEST(TgaReader, IdFieldIsSkipped) {
    auto file = TgaHeader(2, 1, 1, 24, 0x20, 3);
    Append(file, {'a', 'b', 'c', 7, 8, 9});
    TBitmapEx bmp;
    ASSERT_TRUE(bmp.LoadTGAFromMemory(file.data(), file.size(), "x.tga"));
    EXPECT_EQ(bmp.PixelARGB(0, 0), 0xFF090807u);
}

TEST(TgaReader, RunLengthPacketsRepeatOrCopyAndCrossRows) {
    // 3 x 2 picture: a run of four copies (crossing the row end), then two literal pixels.
    auto file = TgaHeader(10, 3, 2, 24, 0x20);
    Append(file, {0x83, 1, 2, 3, 0x01, 4, 5, 6, 7, 8, 9});
    TBitmapEx bmp;
    std::string error;
    ASSERT_TRUE(bmp.LoadTGAFromMemory(file.data(), file.size(), "x.tga", &error)) << error;
    for (int i = 0; i < 4; ++i) EXPECT_EQ(bmp.PixelARGB(i % 3, i / 3), 0xFF030201u) << i;
    EXPECT_EQ(bmp.PixelARGB(1, 1), 0xFF060504u);
    EXPECT_EQ(bmp.PixelARGB(2, 1), 0xFF090807u);

    auto literal = TgaHeader(10, 4, 1, 32, 0x20);
    Append(literal, {0x03, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4});
    ASSERT_TRUE(bmp.LoadTGAFromMemory(literal.data(), literal.size(), "x.tga"));
    EXPECT_EQ(bmp.PixelARGB(3, 0), 0x04040404u);
}

TEST(TgaReader, HeaderRefusalsUseTheirMessagesInOrder) {
    EXPECT_EQ(LoadError(TgaHeader(1, 1, 1, 24, 0x20, 0, 1)), "TGA graphics is not in True-Color");
    EXPECT_EQ(LoadError(TgaHeader(3, 1, 1, 24, 0x20)), "TGA graphics is not in True-Color");
    EXPECT_EQ(LoadError(TgaHeader(2, 1, 1, 24, 0x20, 0, 1)), "Color-mapped TGA is not supported");
    EXPECT_EQ(LoadError(TgaHeader(2, 1, 1, 16, 0x20)), "Invalid TGA Bit-depth!");
    EXPECT_EQ(LoadError(TgaHeader(10, 1, 1, 8, 0x30)), "Invalid TGA Bit-depth!");
    EXPECT_EQ(LoadError(TgaHeader(2, 1, 1, 32, 0x30)), "Mirrored TGA is not supported!");
}

TEST(TgaReader, APictureTooLargeForTheGameIsRefusedByItsHeader) {
    // A run-length file of a few megabytes claiming 16384 x 16384 pixels would need a gigabyte
    // of pixels: refused before anything is allocated.
    std::vector<uint8_t> file = TgaHeader(10, 16384, 16384, 32, 0x20);
    for (int i = 0; i < 200000; ++i) file.insert(file.end(), {0xFF, 1, 2, 3, 4});
    EXPECT_NE(LoadError(file).find("16384 x 16384"), std::string::npos) << LoadError(file);
    EXPECT_NE(LoadError(TgaHeader(2, 4097, 1, 24, 0x20)), "");
}

TEST(TgaReader, DamagedDataFailsSafelyNamingTheFile) {
    const std::vector<std::vector<uint8_t>> damaged = {
        {0, 0, 2, 0, 0},                       // shorter than the header
        TgaHeader(2, 0, 5, 24, 0x20),          // no width
        TgaHeader(2, 5, 0, 24, 0x20),          // no height
        TgaHeader(2, 2, 2, 24, 0x20, 200),     // ID field past the end
        TgaHeader(2, 65535, 65535, 32, 0x20),  // absurd size, no data
        TgaHeader(10, 40000, 40000, 32, 0x20), // over the pixel cap
        [] {
            auto f = TgaHeader(2, 2, 2, 24, 0x20); // pixel data cut short
            Append(f, {1, 2, 3, 4, 5, 6, 7, 8, 9});
            return f;
        }(),
        [] {
            auto f = TgaHeader(10, 2, 1, 24, 0x20); // run past the end of the picture
            Append(f, {0x82, 1, 2, 3});
            return f;
        }(),
        [] {
            auto f = TgaHeader(10, 4, 1, 24, 0x20); // literal packet cut short
            Append(f, {0x03, 1, 2, 3, 4, 5});
            return f;
        }(),
        [] {
            auto f = TgaHeader(10, 300, 1, 24, 0x20); // stream ends before the picture is full
            Append(f, {0xFF, 1, 2, 3, 0xFF, 1, 2, 3});
            return f;
        }(),
    };
    for (size_t i = 0; i < damaged.size(); ++i) {
        TBitmapEx bmp;
        ASSERT_TRUE(bmp.SetSize(1, 1, 24));
        std::string error;
        EXPECT_FALSE(bmp.LoadTGAFromMemory(damaged[i].data(), damaged[i].size(), "bad.tga", &error))
            << "case " << i;
        EXPECT_NE(error.find("bad.tga"), std::string::npos) << "case " << i << ": " << error;
        EXPECT_EQ(bmp.Width(), 1) << "case " << i; // the old picture stays
    }
}

// Random mutations and truncations of valid files must never crash or write out of bounds (run
// under the sanitizer build); whatever loads has the size its header claims.
TEST(TgaReader, FuzzedHeadersAndStreamsNeverCrash) {
    std::vector<std::vector<uint8_t>> seeds;
    {
        auto f = TgaHeader(2, 7, 5, 32, 0x28, 2);
        Append(f, {'i', 'd'});
        Append(f, StoredPixels(7, 5, 4));
        seeds.push_back(f);
    }
    {
        auto f = TgaHeader(10, 9, 4, 24, 0x00);
        for (int i = 0; i < 6; ++i) Append(f, {0x85, uint8_t(i), 2, 3, 0x00, 9, 9, 9});
        seeds.push_back(f);
    }
    std::mt19937 rng(12345);
    int loaded = 0;
    for (int round = 0; round < 4000; ++round) {
        auto file = seeds[size_t(round) % seeds.size()];
        const int mutations = 1 + int(rng() % 4);
        for (int m = 0; m < mutations; ++m) {
            const size_t at = rng() % (round % 3 == 0 ? 18 : file.size()); // bias to the header
            file[at] = uint8_t(rng());
        }
        if (rng() % 3 == 0) file.resize(rng() % (file.size() + 1));
        TBitmapEx bmp;
        std::string error;
        if (bmp.LoadTGAFromMemory(file.data(), file.size(), "fuzz.tga", &error)) {
            ++loaded;
            ASSERT_GE(file.size(), 18u);
            EXPECT_EQ(bmp.Width(), file[12] | file[13] << 8);
            EXPECT_EQ(bmp.Height(), file[14] | file[15] << 8);
        } else {
            EXPECT_FALSE(error.empty());
        }
    }
    EXPECT_GT(loaded, 0); // the mutations leave some files valid, so both paths ran
}

TEST(TgaReader, SaveWritesTopFirstAndLoadsBackTheSame) {
    TScratchDir dir;
    TBitmapEx bmp;
    ASSERT_TRUE(bmp.SetSize(3, 2, 32));
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 12; ++x) bmp.ScanLine(y)[x] = uint8_t(17 * x + y);
    std::string error;
    ASSERT_TRUE(bmp.SaveToFile(dir.File("s.TGA"), &error)) << error;
    const auto bytes = ReadBytes(dir.File("s.TGA"));
    ASSERT_EQ(bytes.size(), 18u + 24u);
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 18),
              TgaHeader(2, 3, 2, 32, 0x20));
    EXPECT_TRUE(std::equal(bytes.begin() + 18, bytes.begin() + 30, bmp.ScanLine(0)));

    TBitmapEx back;
    ASSERT_TRUE(back.LoadFromFile(dir.File("s.TGA"), &error)) << error;
    ASSERT_EQ(back.BitsPerPixel(), 32);
    for (int y = 0; y < 2; ++y)
        EXPECT_TRUE(std::equal(bmp.ScanLine(y), bmp.ScanLine(y) + 12, back.ScanLine(y)));

    TBitmapEx b24;
    ASSERT_TRUE(b24.SetSize(2, 2, 24));
    ASSERT_TRUE(b24.SaveToFile(dir.File("t.tga")));
    EXPECT_EQ(ReadBytes(dir.File("t.tga"))[16], 24);
}

TEST(TgaReader, SavingOtherDepthsAsTgaIsRefused) {
    TScratchDir dir;
    TBitmapEx bmp;
    ASSERT_TRUE(bmp.SetSize(2, 2, 16));
    std::string error;
    EXPECT_FALSE(bmp.SaveToFile(dir.File("x.tga"), &error));
    EXPECT_EQ(error, "Invalid pixel format!");
}

TEST(TgaReader, MissingFileGivesTheNoImagePlaceholder) {
    TScratchDir dir;
    TBitmapEx bmp;
    std::string error;
    ASSERT_TRUE(bmp.LoadFromFile(dir.File("absent.tga"), &error));
    EXPECT_EQ(bmp.Width(), 64);
    EXPECT_EQ(bmp.Height(), 64);
    EXPECT_EQ(bmp.BitsPerPixel(), 32);
    const uint32_t orange = 0xFFFFAE00, white = 0xFFFFFFFF, black = 0xFF000000;
    EXPECT_EQ(bmp.PixelARGB(0, 0), orange); // both diagonals cross at the origin
    EXPECT_EQ(bmp.PixelARGB(1, 0), white);
    EXPECT_EQ(bmp.PixelARGB(7, 0), orange);
    EXPECT_EQ(bmp.PixelARGB(9, 1), orange);
    // "NO IMAGE" at (5, 25): 'N' has its left stem in the first column of its cell.
    EXPECT_EQ(bmp.PixelARGB(5, 25), black);
    EXPECT_EQ(bmp.PixelARGB(6, 25), orange);
    int blacks = 0;
    for (int y = 25; y < 33; ++y)
        for (int x = 5; x < 53; ++x) blacks += bmp.PixelARGB(x, y) == black;
    EXPECT_GT(blacks, 80);
}

TEST(TgaReader, ExtensionChoosesTheReader) {
    TScratchDir dir;
    const auto jpeg = EncodeJpeg(16, 8, 200, 40, 10);
    WriteBytes(dir.File("pic.JPG"), jpeg);
    WriteBytes(dir.File("pic.jpeg"), jpeg);
    auto tga = TgaHeader(2, 1, 1, 24, 0x20);
    Append(tga, {1, 2, 3});
    WriteBytes(dir.File("pic.TGA"), tga);

    TBitmapEx bmp;
    std::string error;
    ASSERT_TRUE(bmp.LoadFromFile(dir.File("pic.JPG"), &error)) << error;
    EXPECT_EQ(bmp.Width(), 16);
    EXPECT_EQ(bmp.Height(), 8);
    EXPECT_EQ(bmp.BitsPerPixel(), 24);
    const uint32_t c = bmp.PixelARGB(5, 3);
    EXPECT_NEAR(int(c >> 16 & 0xFF), 200, 4);
    EXPECT_NEAR(int(c >> 8 & 0xFF), 40, 4);
    EXPECT_NEAR(int(c & 0xFF), 10, 4);

    ASSERT_TRUE(bmp.LoadFromFile(dir.File("pic.TGA"), &error)) << error;
    EXPECT_EQ(bmp.PixelARGB(0, 0), 0xFF030201u);

    // ".jpeg" goes to the BMP reader, which refuses it.
    EXPECT_FALSE(bmp.LoadFromFile(dir.File("pic.jpeg"), &error));
    EXPECT_NE(error.find("pic.jpeg"), std::string::npos);
    EXPECT_EQ(bmp.Width(), 1);
}

TEST(TgaReader, DamagedJpegFailsWithAMessage) {
    TScratchDir dir;
    auto jpeg = EncodeJpeg(32, 32, 1, 2, 3);
    jpeg.resize(jpeg.size() - 20); // the end of the scan data and the end marker
    WriteBytes(dir.File("cut.jpg"), jpeg);
    WriteBytes(dir.File("empty.jpg"), {});
    WriteBytes(dir.File("text.jpg"), {'h', 'e', 'l', 'l', 'o'});
    TBitmapEx bmp;
    std::string error;
    // A cut stream decodes with the missing part filled in (libjpeg warns, not fails); the other
    // two are refused.
    EXPECT_TRUE(bmp.LoadFromFile(dir.File("cut.jpg"), &error)) << error;
    EXPECT_EQ(bmp.Width(), 32);
    EXPECT_FALSE(bmp.LoadFromFile(dir.File("empty.jpg"), &error));
    EXPECT_NE(error.find("empty.jpg"), std::string::npos);
    EXPECT_FALSE(bmp.LoadFromFile(dir.File("text.jpg"), &error));
    EXPECT_NE(error.find("text.jpg"), std::string::npos);
}

// --- Pictures from a data pack ------------------------------------------------------------------

namespace {

// A top-first 32-bit TGA of w x h pixels of one colour (0xAARRGGBB).
std::vector<uint8_t> PlainTga(int w, int h, uint32_t argb) {
    auto tga = TgaHeader(2, w, h, 32, 0x28);
    for (int i = 0; i < w * h; ++i)
        Append(tga, {uint8_t(argb), uint8_t(argb >> 8), uint8_t(argb >> 16), uint8_t(argb >> 24)});
    return tga;
}

// A data folder with two loose pictures ("graphics/a.tga" red 2 x 2, "graphics/loose.tga") and a
// pack holding a newer "graphics/a.tga" (blue, 3 x 3) and "@2x/graphics/b.bmp" (5 x 4).
struct TPackedFolder {
    TScratchDir scratch;
    std::string dir = scratch.File("data");
    std::string pack = dir + "/" + kDataPackName;

    TPackedFolder() {
        std::filesystem::create_directories(dir + "/graphics");
        WriteBytes(dir + "/graphics/a.tga", PlainTga(2, 2, 0xFFFF0000));
        WriteBytes(dir + "/graphics/loose.tga", PlainTga(1, 1, 0xFF00FF00));
        TBitmap bmp;
        bmp.SetSize(5, 4, 24);
        bmp.SaveToFile(scratch.File("b.bmp"));
        std::string error;
        EXPECT_TRUE(WriteDataPack(pack,
                                  {{"graphics/a.tga", PlainTga(3, 3, 0xFF0000FF)},
                                   {"@2x/graphics/b.bmp", ReadBytes(scratch.File("b.bmp"))}},
                                  3, 2, &error))
            << error;
    }
    ~TPackedFolder() { CloseDataPack(); }
};

} // namespace

TEST(DataPack, PicturesComeFromThePackFirstAndLooseFilesServeTheRest) {
    TPackedFolder f;
    std::string error;
    ASSERT_EQ(OpenDataPack(f.dir, &error), 2u) << error;
    TBitmapEx picture;
    // The pack wins over a loose file of the same name (an older download unpacked below).
    ASSERT_TRUE(picture.LoadFromFile(f.dir + "/graphics/a.tga", &error)) << error;
    EXPECT_EQ(picture.Width(), 3);
    EXPECT_EQ(picture.PixelARGB(2, 2), 0xFF0000FFu);
    // Windows' separators find the same member.
    EXPECT_TRUE(DataFileExists(f.dir + "\\@2x\\graphics\\b.bmp"));
    ASSERT_TRUE(picture.LoadFromFile(f.dir + "/@2x/graphics/b.bmp", &error)) << error;
    EXPECT_EQ(picture.Width(), 5);
    ASSERT_TRUE(picture.LoadFromFile(f.dir + "/graphics/loose.tga", &error)) << error;
    EXPECT_EQ(picture.PixelARGB(0, 0), 0xFF00FF00u);
    EXPECT_FALSE(DataFileExists(f.dir + "/graphics/b.bmp"));
    ASSERT_TRUE(picture.LoadFromFile(f.dir + "/graphics/absent.tga", &error));
    EXPECT_EQ(picture.Width(), 64); // the placeholder
    // A name outside the data folder is never looked up in the pack.
    EXPECT_FALSE(DataFileExists(f.scratch.File("graphics/a.tga")));

    CloseDataPack();
    ASSERT_TRUE(picture.LoadFromFile(f.dir + "/graphics/a.tga", &error)) << error;
    EXPECT_EQ(picture.Width(), 2);
}

TEST(DataPack, ADamagedPackOrMemberIsRefusedWithItsReasonAndTheRestReads) {
    TPackedFolder f;
    const std::vector<uint8_t> good = ReadBytes(f.pack);
    std::vector<TPackMember> members;
    std::string error;
    ASSERT_TRUE(ParseDataPackIndex(good.data(), good.size(), good.size(), members, &error));
    ASSERT_EQ(members.size(), 2u);
    ASSERT_EQ(members[1].Name, "graphics/a.tga"); // "@" sorts before "g"
    const size_t secondName =
        kDataPackHeaderBytes + 2 * kDataPackEntryBytes + members[0].Name.size();

    struct TCase {
        const char* Why;
        std::function<void(std::vector<uint8_t>&)> Damage;
    };
    const std::vector<TCase> cases = {
        {"ends inside its header", [](auto& b) { b.resize(10); }},
        {"not a data pack", [](auto& b) { b[0] = 'X'; }},
        {"version 7", [](auto& b) { b[8] = 7; }},
        {"claims", [](auto& b) { b[15] = 0x7F; }},
        {"ends inside its index", [](auto& b) { b.resize(kDataPackHeaderBytes + 20); }},
        {"lies outside the pack", [&](auto& b) { b.resize(members[1].Offset + 3); }},
        {"out of order", [&](auto& b) { b[secondName] = '0'; }},
        {"no usable name", [&](auto& b) { b[secondName] = '/'; }},
        {"no usable name", [&](auto& b) { std::copy_n("../", 3, &b[secondName]); }},
    };
    for (const TCase& c : cases) {
        std::vector<uint8_t> bytes = good;
        c.Damage(bytes);
        WriteBytes(f.pack, bytes);
        error.clear();
        EXPECT_EQ(OpenDataPack(f.dir, &error), 0u) << c.Why;
        EXPECT_NE(error.find(f.pack), std::string::npos) << error;
        EXPECT_NE(error.find(c.Why), std::string::npos) << error;
        // The loose file serves in its place.
        TBitmapEx picture;
        ASSERT_TRUE(picture.LoadFromFile(f.dir + "/graphics/a.tga", &error)) << error;
        EXPECT_EQ(picture.Width(), 2) << c.Why;
    }

    // A member whose bytes changed fails its checksum alone.
    std::vector<uint8_t> bytes = good;
    bytes[members[1].Offset + members[1].StoredSize / 2] ^= 0x10;
    WriteBytes(f.pack, bytes);
    ASSERT_EQ(OpenDataPack(f.dir, &error), 2u) << error;
    TBitmapEx picture;
    EXPECT_FALSE(picture.LoadFromFile(f.dir + "/graphics/a.tga", &error));
    EXPECT_NE(error.find(f.pack + ": graphics/a.tga: "), std::string::npos) << error;
    EXPECT_NE(error.find("damaged"), std::string::npos) << error;
    EXPECT_TRUE(picture.LoadFromFile(f.dir + "/@2x/graphics/b.bmp", &error)) << error;
    // A pack cut short after its index was read: the member cannot be read whole.
    bytes.resize(members[1].Offset + 2);
    WriteBytes(f.pack, bytes);
    EXPECT_FALSE(picture.LoadFromFile(f.dir + "/graphics/a.tga", &error));
    EXPECT_NE(error.find("ends before byte"), std::string::npos) << error;
}
