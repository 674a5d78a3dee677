#include "platform/App.h"
#include "platform/InstanceLock.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "shell/Language.h"
#include "shell/Log.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

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

// A second hard link makes the log some other file too: the log begins anew in its place and
// the other file keeps what it held, at the start and when a link appears during the run.
TEST(LogFile, AHardLinkedLogIsReplacedNotWrittenThrough) {
    const std::string dir = Scratch("log-hardlink");
    const std::string file = dir + "/Log.txt";
    std::ofstream(dir + "/other") << "keep";
    std::filesystem::create_hard_link(dir + "/other", file);
    TLog log;
    ASSERT_TRUE(log.Start(file));
    EXPECT_EQ(Slurp(dir + "/other"), "keep");
    EXPECT_NE(Slurp(file).find("Program started"), std::string::npos);
    std::filesystem::create_hard_link(file, dir + "/later");
    const std::string before = Slurp(dir + "/later");
    ASSERT_TRUE(log.Line("Loading config ..."));
    EXPECT_EQ(Slurp(dir + "/later"), before);
    EXPECT_NE(Slurp(file).find("Loading config ..."), std::string::npos);
    EXPECT_EQ(std::filesystem::hard_link_count(file), 1u);
    std::filesystem::remove_all(dir);
}

// A log that grows all run (an error in every frame) stays under its cap: the older half of the
// lines goes, the start's line and the newest lines stay.
TEST(LogFile, StaysUnderItsCapByDroppingTheOlderHalf) {
    const std::string dir = Scratch("log-cap");
    const std::string file = dir + "/Log.txt";
    TLog log;
    log.SetCap(4096);
    ASSERT_TRUE(log.Start(file));
    for (int i = 0; i < 2000; ++i) {
        ASSERT_TRUE(log.Line("line " + std::to_string(i)));
        ASSERT_LE(std::filesystem::file_size(file), 4096u) << "after line " << i;
    }
    const std::string text = Slurp(file);
    EXPECT_NE(text.find(" -=- Program started\n\n"), std::string::npos);
    EXPECT_NE(text.find("Older lines were dropped"), std::string::npos);
    EXPECT_NE(text.find("-=- line 1999\n"), std::string::npos);
    EXPECT_EQ(text.find("-=- line 0\n"), std::string::npos);
    EXPECT_GT(text.size(), 1500u) << "more than half dropped";
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
    // A symlink to a private file is not read through: its lines never reach a new registry.
    std::filesystem::remove(file);
    std::ofstream(dir + "/private") << "Fullscreen=1\ntoken=secret\n";
    std::filesystem::create_symlink(dir + "/private", file);
    EXPECT_FALSE(reg.ReadInteger("fullscreen").has_value());
    EXPECT_FALSE(reg.WriteInteger("Fullscreen", 0));
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    EXPECT_EQ(Slurp(dir + "/private"), "Fullscreen=1\ntoken=secret\n");
    // A run that must write nothing leaves even a plain registry as it is.
    std::filesystem::remove(file);
    TRegistry::SetReadOnly(true);
    EXPECT_FALSE(reg.WriteInteger("Fullscreen", 1));
    TRegistry::SetReadOnly(false);
    EXPECT_FALSE(std::filesystem::exists(file));
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

// A damaged registry file (control bytes, lines that are no "Name=value", too large to read) is
// kept aside at the start, and only its sound lines stay; a sound one, a link or a run that
// writes nothing leave it as it is.
TEST(RegistryFile, ADamagedFileIsKeptAsideAndItsSoundLinesStay) {
    const std::string dir = Scratch("registry-damaged");
    const std::string file = dir + "/registry";
    TRegistry reg(file);
    const std::string damaged = "Fullscreen=1\n\x01\x02\n\nno value here\nLanguage=de\r\n";
    std::ofstream(file, std::ios::binary) << damaged;
    const std::optional<std::string> note = reg.KeepDamagedAside();
    ASSERT_TRUE(note.has_value());
    EXPECT_NE(note->find("2 damaged lines"), std::string::npos) << *note;
    EXPECT_EQ(Slurp(file + ".damaged"), damaged);
    EXPECT_EQ(Slurp(file), "Fullscreen=1\n\nLanguage=de\r\n");
    EXPECT_EQ(reg.ReadInteger("Fullscreen"), 1);
    EXPECT_EQ(reg.ReadString("language"), "de");
    EXPECT_FALSE(reg.KeepDamagedAside().has_value()) << "a sound file is left as it is";

    std::ofstream(file, std::ios::binary) << "Fullscreen=1\n" << std::string(100000, 'x') << "\n";
    ASSERT_TRUE(reg.KeepDamagedAside().has_value());
    EXPECT_EQ(std::filesystem::file_size(file + ".damaged"), 100014u);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(reg.WriteInteger("Fullscreen", 0));
    EXPECT_EQ(Slurp(file), "Fullscreen=0\n");

    std::ofstream(dir + "/private", std::ios::binary) << "\x01secret\n";
    std::filesystem::remove(file);
    std::filesystem::create_symlink(dir + "/private", file);
    EXPECT_FALSE(reg.KeepDamagedAside().has_value());
    EXPECT_TRUE(std::filesystem::is_symlink(file));
    std::filesystem::remove(file);
    std::ofstream(file, std::ios::binary) << "junk\n";
    TRegistry::SetReadOnly(true);
    EXPECT_FALSE(reg.KeepDamagedAside().has_value());
    TRegistry::SetReadOnly(false);
    EXPECT_EQ(Slurp(file), "junk\n");
    std::filesystem::remove_all(dir);
}

// The copy that holds the lock forks a child (SDL shows its desktop message box from one) and
// is killed while the child lives on: the next start must get the lock. Anything but a regular
// file in the lock's place makes the lock unavailable, with the reason.
TEST(InstanceLock, OneHolderPerFolderAndNoneLeftByItsChildren) {
    const std::string dir = Scratch("lock");
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const pid_t holder = ::fork();
    ASSERT_GE(holder, 0);
    if (holder == 0) {
        TInstanceLock lock;
        const bool held = lock.Acquire(dir) == TInstanceLock::TResult::Acquired;
        const pid_t box = ::fork();
        if (box == 0) {
            ::pause();
            ::_exit(0);
        }
        const pid_t report[2] = {held ? 1 : 0, box};
        if (::write(fds[1], report, sizeof report) != sizeof report) ::_exit(1);
        ::pause();
        ::_exit(0);
    }
    pid_t report[2] = {0, 0};
    ASSERT_EQ(::read(fds[0], report, sizeof report), static_cast<ssize_t>(sizeof report));
    EXPECT_EQ(report[0], 1);
    TInstanceLock lock;
    EXPECT_EQ(lock.Acquire(dir), TInstanceLock::TResult::AlreadyRunning);
    ::kill(holder, SIGKILL);
    ::waitpid(holder, nullptr, 0);
    EXPECT_EQ(::kill(report[1], 0), 0); // the box still lives
    EXPECT_EQ(lock.Acquire(dir), TInstanceLock::TResult::Acquired);
    ::kill(report[1], SIGKILL);
    lock.Release();
    ::close(fds[0]);
    ::close(fds[1]);

    const std::string file = dir + "/velm-orra.lock";
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    EXPECT_EQ(lock.Acquire(dir), TInstanceLock::TResult::Unavailable);
    EXPECT_NE(lock.Reason().find("velm-orra.lock"), std::string::npos) << lock.Reason();
    std::filesystem::remove(file);
    std::ofstream(dir + "/elsewhere") << "";
    std::filesystem::create_symlink(dir + "/elsewhere", file);
    EXPECT_EQ(lock.Acquire(dir), TInstanceLock::TResult::Unavailable);
    std::filesystem::remove(file);
    ASSERT_EQ(::mkfifo(file.c_str(), 0644), 0);
    EXPECT_EQ(lock.Acquire(dir), TInstanceLock::TResult::Unavailable);
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
