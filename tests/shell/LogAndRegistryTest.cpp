#include "platform/App.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "shell/Language.h"
#include "shell/Log.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <sstream>

namespace {

std::string Slurp(const std::string& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

std::string Scratch(const std::string& name) {
    const auto dir = std::filesystem::temp_directory_path() / ("vo-shell-" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

} // namespace

TEST(LogFile, StartsAnewAndAppendsTimedLines) {
    const std::string dir = Scratch("log");
    const std::string file = dir + "/Log.txt";
    {
        std::ofstream old(file);
        old << "old run\n";
    }
    TLog log;
    ASSERT_TRUE(log.Start(file));
    ASSERT_TRUE(log.Line("Initializing Direct3D Device..."));
    const std::string text = Slurp(file);
    EXPECT_TRUE(std::regex_match(
        text, std::regex(R"(\d\d:\d\d:\d\d -=- Program started\n\n\d\d:\d\d:\d\d -=- )"
                         R"(Initializing Direct3D Device\.\.\.\n)")))
        << text;
    std::filesystem::remove_all(dir);
}

TEST(LogFile, ASymlinkOrAFifoInItsPlaceIsNotWritten) {
    const std::string dir = Scratch("log-links");
    std::ofstream(dir + "/victim") << "keep";
    std::filesystem::create_symlink(dir + "/victim", dir + "/Log.txt");
    TLog log;
    EXPECT_FALSE(log.Start(dir + "/Log.txt"));
    EXPECT_FALSE(log.Line("Loading config ..."));
    EXPECT_EQ(Slurp(dir + "/victim"), "keep");
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0644), 0);
    EXPECT_FALSE(log.Start(dir + "/fifo")) << "no reader: refused, not waited for";
    std::filesystem::remove_all(dir);
}

TEST(LogFile, AnUnwritableLogNeverStopsTheCaller) {
    TLog log;
    std::vector<std::string> seen;
    log.Observer = [&](const std::string& m) { seen.push_back(m); };
    EXPECT_FALSE(log.Start("/nonexistent-folder/sub/Log.txt"));
    EXPECT_FALSE(log.Line("Loading config ..."));
    EXPECT_EQ(seen, (std::vector<std::string>{"Program started", "Loading config ..."}));
}

TEST(RegistryFile, ValueIsCreatedReadIgnoringCaseAndKeptBesideOthers) {
    const std::string dir = Scratch("registry");
    TRegistry reg(dir + "/sub/registry");
    EXPECT_FALSE(reg.ReadInteger("fullscreen").has_value());
    ASSERT_TRUE(reg.WriteInteger("Fullscreen", 0));
    EXPECT_EQ(reg.ReadInteger("fullscreen"), 0);
    ASSERT_TRUE(reg.WriteInteger("Other", 7));
    ASSERT_TRUE(reg.WriteInteger("FULLSCREEN", 1));
    EXPECT_EQ(reg.ReadInteger("Fullscreen"), 1);
    EXPECT_EQ(reg.ReadInteger("other"), 7);

    std::ofstream(dir + "/sub/registry") << "Fullscreen=yes\n";
    EXPECT_FALSE(reg.ReadInteger("fullscreen").has_value());

    // What cannot be read as a registry file is left alone, at once and without a temporary
    // file: a folder, a FIFO (which would block a plain open for ever), /dev/zero (endless).
    const std::string file = dir + "/sub/registry";
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_FALSE(reg.WriteInteger("Fullscreen", 1));
    EXPECT_TRUE(std::filesystem::is_directory(file));
    std::filesystem::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
    EXPECT_FALSE(reg.ReadInteger("fullscreen").has_value());
    EXPECT_FALSE(reg.WriteInteger("Fullscreen", 1));
    EXPECT_EQ(std::filesystem::status(file).type(), std::filesystem::file_type::fifo);
    std::filesystem::remove(file);
    std::filesystem::create_symlink("/dev/zero", file);
    EXPECT_FALSE(reg.ReadInteger("fullscreen").has_value());
    EXPECT_FALSE(reg.WriteInteger("Fullscreen", 1));
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));
    std::filesystem::remove_all(dir);
}

TEST(RegistryFile, TextValuesStayOneLineBesideTheNumbers) {
    const std::string dir = Scratch("registry-text");
    TRegistry reg(dir + "/registry");
    EXPECT_FALSE(reg.ReadString("Language").has_value());
    ASSERT_TRUE(reg.WriteInteger("Fullscreen", 1));
    ASSERT_TRUE(reg.WriteString("Language", "de"));
    ASSERT_TRUE(reg.WriteString("language", "fr\nFullscreen=0"));
    EXPECT_EQ(reg.ReadString("LANGUAGE"), "frFullscreen=0");
    EXPECT_EQ(reg.ReadInteger("Fullscreen"), 1);
    std::filesystem::remove_all(dir);
}

TEST(Language, TheEnvironmentNamesTheFirstSupportedLanguage) {
    using Env = std::map<std::string, std::string>;
    const auto from = [](const Env& env) {
        return language::FromEnvironment([&env](const char* name) -> const char* {
            const auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        });
    };
    EXPECT_EQ(from({}), "en");
    EXPECT_EQ(from({{"LANG", "C"}}), "en");
    EXPECT_EQ(from({{"LANG", "de_DE.UTF-8"}}), "de");
    EXPECT_EQ(from({{"LANG", "nl_BE@euro"}}), "nl");
    EXPECT_EQ(from({{"LANGUAGE", "sv:PT_br:fr"}, {"LANG", "de_DE.UTF-8"}}), "pt");
    EXPECT_EQ(from({{"LANGUAGE", "ja:ko"}, {"LC_ALL", "es_ES.UTF-8"}}), "es");
    EXPECT_EQ(from({{"LANGUAGE", ""}, {"LC_MESSAGES", "it_IT"}, {"LANG", "fr_FR"}}), "it");
    EXPECT_EQ(from({{"LC_ALL", "en_GB.UTF-8"}, {"LANG", "de_DE.UTF-8"}}), "en");
    EXPECT_EQ(from({{"LC_ALL", "POSIX"}, {"LANG", "fr_CA"}}), "fr");

    const auto german = [](const char* name) -> const char* {
        return std::string(name) == "LANG" ? "de_AT.UTF-8" : nullptr;
    };
    EXPECT_EQ(language::Resolve("es", german), "es");
    EXPECT_EQ(language::Resolve("PT", german), "pt");
    for (const char* choice : {"", "auto", "xx", "deutsch"})
        EXPECT_EQ(language::Resolve(choice, german), "de") << choice;
    for (int i = 0; i <= static_cast<int>(language::All().size()); ++i)
        EXPECT_EQ(language::ChoiceIndex(language::ChoiceValue(i)), i);
    EXPECT_EQ(language::ChoiceValue(0), "auto");
    EXPECT_EQ(language::ChoiceIndex("klingon"), 0);
}

TEST(Language, LocalisedFilesFallBackToTheEnglishPlace) {
    const std::string dir = Scratch("language");
    std::filesystem::create_directories(dir + "/lang/de/graphics");
    std::ofstream(dir + "/lang/de/strings.txt") << "$Options\nOptionen\n";
    std::filesystem::create_directories(dir + "/lang/fr/strings.txt"); // a folder is no file
    paths::SetDataDir(dir);
    language::SetCurrent("de");
    EXPECT_EQ(language::LocalisedName(".\\strings.txt"), "lang/de/strings.txt");
    EXPECT_EQ(language::LocalisedName("graphics/help0.tga"), "graphics/help0.tga");
    language::SetCurrent("fr");
    EXPECT_EQ(language::LocalisedName("strings.txt"), "strings.txt");
    language::SetCurrent("");
    EXPECT_EQ(language::Current(), "en");
    EXPECT_EQ(language::LocalisedName("./strings.txt"), "strings.txt");
    paths::SetDataDir("");
    std::filesystem::remove_all(dir);
}

TEST(DataPaths, GameNamesAreNormalisedUnderTheDataFolder) {
    paths::SetDataDir("/opt/vo");
    EXPECT_EQ(paths::DataPath(".\\graphics\\balls\\1_0.tga"), "/opt/vo/graphics/balls/1_0.tga");
    EXPECT_EQ(paths::DataPath("./sounds/a_bomb.ogg"), "/opt/vo/sounds/a_bomb.ogg");
    EXPECT_EQ(paths::DataPath("strings.txt"), "/opt/vo/strings.txt");
    EXPECT_EQ(paths::DataPath("/abs/file"), "/abs/file");
    paths::SetDataDir("");
}

TEST(DataPaths, RelativeOrEmptyXdgValuesAreIgnoredAndNothingFallsIntoTheWorkingFolder) {
    EXPECT_EQ(paths::UserDirFrom("/x/data", "/home/p", ".local/share"), "/x/data/velm-orra");
    EXPECT_EQ(paths::UserDirFrom("", "/home/p", ".local/share"), "/home/p/.local/share/velm-orra");
    EXPECT_EQ(paths::UserDirFrom("rel/data", "/home/p", ".config"), "/home/p/.config/velm-orra");
    EXPECT_EQ(paths::UserDirFrom("rel", "", ".config"), "");
    EXPECT_EQ(paths::UserDirFrom("", ".", ".config"), "") << "never the working folder";
}

TEST(TextInput, CodePointsMapToWindows1252) {
    EXPECT_EQ(CodePointTo1252('A'), 'A');
    EXPECT_EQ(CodePointTo1252(0xE9), 0xE9);   // é
    EXPECT_EQ(CodePointTo1252(0x20AC), 0x80); // €
    EXPECT_EQ(CodePointTo1252(0x2019), 0x92); // ’
    EXPECT_EQ(CodePointTo1252(0x0416), -1);   // Ж has no single byte
    EXPECT_EQ(CodePointTo1252(0x1F600), -1);
}
