// The generator's own checks and its determinism.
#include "state/Catalogue.h"
#include "tools/artgen/Output.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

using artgen::TCanvas;
using artgen::TPictureSet;

std::vector<TCanvas> Frames(int w, int h, int n) {
    std::vector<TCanvas> f;
    for (int i = 0; i < n; ++i) f.emplace_back(w, h);
    return f;
}

bool Mentions(const std::vector<std::string>& problems, const std::string& what) {
    for (const std::string& p : problems)
        if (p.find(what) != std::string::npos) return true;
    return false;
}

TEST(CatalogueCheck, ReportsMissingShortAndMisfitPictures) {
    TPictureSet set;
    auto tooFew = Frames(40, 40, 20); // the ball set needs 26 patterns
    set.AddFrames("graphics/balls/1_0.tga", tooFew, 6);
    auto wrongSize = Frames(42, 40, 26);
    set.AddFrames("graphics/balls/2_0.tga", wrongSize, 6);
    auto enough = Frames(40, 40, 26);
    set.AddFrames("graphics/balls/3_0.tga", enough, 6);
    const std::vector<std::string> problems = artgen::CheckAgainstCatalogue(set);
    EXPECT_TRUE(Mentions(problems, "graphics/balls/1_0.tga: holds 24 patterns"));
    EXPECT_TRUE(Mentions(problems, "graphics/balls/2_0.tga: drawn with 42 x 40"));
    EXPECT_FALSE(Mentions(problems, "graphics/balls/3_0.tga"));
    EXPECT_TRUE(Mentions(problems, "graphics/cursor.tga: not generated"));
}

TEST(CatalogueCheck, FramesAreLaidOutLikeTheTextureRows) {
    TPictureSet set;
    auto frames = Frames(40, 40, 26);
    set.AddFrames("graphics/balls/4_0.tga", frames, artgen::AcrossFor("graphics/balls/4_0.tga"));
    const artgen::TPicture* p = set.Find("graphics/balls/4_0.tga");
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->Image->Width(), 6 * 40); // 256 / 40 patterns in a texture row
    EXPECT_EQ(artgen::PatternCount(p->Image->Width(), p->Image->Height(), 40, 40), 30);
}

std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Two runs of the generator give the same files, byte for byte.
TEST(Generator, TwoRunsGiveIdenticalData) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("artgen-test-" + std::to_string(::getpid()));
    fs::remove_all(root);
    for (const char* run : {"a", "b"}) {
        const std::string cmd = std::string("\"") + VO_ARTGEN_EXE + "\" \"" +
                                (root / run / "game").string() + "\" \"" +
                                (root / run / "review").string() + "\"";
        ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    }
    size_t compared = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root / "a" / "game")) {
        if (!entry.is_regular_file()) continue;
        const fs::path rel = fs::relative(entry.path(), root / "a" / "game");
        ASSERT_TRUE(fs::exists(root / "b" / "game" / rel)) << rel;
        EXPECT_TRUE(ReadAll(entry.path()) == ReadAll(root / "b" / "game" / rel)) << rel;
        ++compared;
    }
    size_t inSecond = 0;
    for (const auto& entry : fs::recursive_directory_iterator(root / "b" / "game"))
        inSecond += entry.is_regular_file();
    EXPECT_EQ(compared, inSecond);
    EXPECT_GT(compared, 150u);
    fs::remove_all(root);
}

} // namespace
