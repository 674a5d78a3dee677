// The generator's own checks and its determinism.
#include "tools/artgen/Generator.h"
#include "render/Catalogue.h"
#include "shell/Language.h"
#include "tools/artgen/Output.h"
#include "tools/artgen/Texts.h"
#include "tools/artgen/Translations.h"

#include <gtest/gtest.h>

#include <algorithm>
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

// Every language gives every text a player reads (the English keys of the pictures and of the
// string table), in letters the game's single-byte font can draw.
TEST(Languages, EveryLanguageHasEveryTextInWindows1252) {
    std::vector<std::string> keys = artgen::TTexts().Keys();
    for (const auto& [key, text] : artgen::EnglishTexts()) keys.push_back(key);
    ASSERT_EQ(artgen::Languages().size(), 7u);
    for (const artgen::TLanguageInfo& l : artgen::Languages()) {
        if (l.Code == "en") continue;
        for (const std::string& key : keys) {
            const std::string* text = artgen::Lookup(l.Code, key);
            ASSERT_NE(text, nullptr) << l.Code << " lacks " << key;
            EXPECT_FALSE(text->empty()) << l.Code << " " << key;
            bool lossless = true;
            artgen::ToCp1252(*text, &lossless);
            EXPECT_TRUE(lossless) << l.Code << " " << key << ": " << *text;
        }
        for (const auto& [key, text] : *l.Texts)
            EXPECT_NE(std::find(keys.begin(), keys.end(), key), keys.end())
                << l.Code << " has a text for the unknown key " << key;
    }
    bool lossless = true;
    EXPECT_EQ(artgen::ToCp1252("Zoë „€“ – ok", &lossless), "Zo\xEB \x84\x80\x93 \x96 ok");
    EXPECT_TRUE(lossless);
    EXPECT_EQ(artgen::ToCp1252("a→b", &lossless), "a?b");
    EXPECT_FALSE(lossless);
}

// The Options screen draws pattern 1 + i of the generated language names for the game's
// language i: both lists must hold the same languages in the same order.
TEST(Languages, TheGameListsTheLanguagesInTheGeneratorsOrder) {
    const auto& game = language::All();
    const auto& generated = artgen::Languages();
    ASSERT_EQ(game.size(), generated.size());
    for (size_t i = 0; i < game.size(); ++i) {
        EXPECT_EQ(game[i].Code, generated[i].Code);
        EXPECT_EQ(game[i].Name, artgen::ToCp1252(generated[i].Name));
    }
}

// Every label fits its button, row or plaque and every help text its page, in every language,
// measured the way the generator draws them.
TEST(Languages, EveryLabelAndHelpTextFits) {
    for (const artgen::TLanguageInfo& l : artgen::Languages()) {
        const TPictureSet set = artgen::MakeWordSet(l.Code);
        for (const std::string& m : set.Misfits()) ADD_FAILURE() << m;
        EXPECT_NE(set.Find("graphics/help4.tga"), nullptr);
        EXPECT_NE(set.Find("graphics/buttons/languages.tga"), nullptr);
    }
    EXPECT_EQ(artgen::CurrentLanguage(), "en");
}

} // namespace
