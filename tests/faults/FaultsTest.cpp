// The game under faults of its surroundings: a working folder that is read-only or full when
// "Config.bin" is saved, a log that cannot be written, missing pictures, sounds, music, texts or
// font, no audio device, and a device lost in the middle of a frame. Each runs the real main form
// offscreen (tests/shell/FormHarness.h) and checks that nothing is lost and the game goes on or
// ends cleanly with a message.
#include "tests/support/AutoPlayer.h"
#include "tests/support/FormHarness.h"

#include "platform/Files.h"
#include "render/RenderDevice.h"
#include "shell/Settings.h"
#include "state/GameState.h"
#include "state/OptionsState.h"
#include "state/TablesState.h"
#include "tests/support/WriteFaults.h"
#include "ui/VOFont.h"

#include <cerrno>
#include <cstring>
#include <functional>
#include <random>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

std::vector<uint8_t> ReadBytes(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& file, const std::vector<uint8_t>& bytes) {
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

bool Contains(const std::vector<std::string>& lines, const std::string& part) {
    return std::any_of(lines.begin(), lines.end(),
                       [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

// A mount namespace of this test process alone, so that a tmpfs mounted in it is seen by nobody
// else and goes away with the process. False where mounting is not permitted (no privilege, a
// container without it): the tests that need it are then skipped.
bool OwnMountNamespace() {
    static const bool own = unshare(CLONE_NEWNS) == 0 &&
                            mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    return own;
}

bool MountTmpfs(const std::string& dir, int kib) {
    const std::string options = "size=" + std::to_string(kib) + "k";
    return OwnMountNamespace() &&
           mount("tmpfs", dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) == 0;
}

bool RemountReadOnly(const std::string& dir) {
    return mount("tmpfs", dir.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
                 nullptr) == 0;
}

class Faults : public FormHarness {
protected:
    void SetUp() override {
        FormHarness::SetUp();
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name =
            std::string("vo-faults-") + info->name() + "-" + std::to_string(getpid());
        std::replace(name.begin(), name.end(), '/', '_'); // parameterised tests
        scratch_ = fs::temp_directory_path() / name;
        fs::remove_all(scratch_);
        fs::create_directories(scratch_);
    }
    void TearDown() override {
        form.reset();
        InjectWriteFault({});
        for (const std::string& dir : mounts_) umount2(dir.c_str(), MNT_DETACH);
        FormHarness::TearDown();
        std::error_code ec;
        fs::remove_all(scratch_, ec);
    }

    fs::path Scratch(const std::string& name) const { return scratch_ / name; }

    // A folder of links to the generated game data, leaving out the files (paths relative to the
    // data folder) that `leaveOut` names, and made the game's data folder.
    void UseDataWithout(const std::function<bool(const std::string&)>& leaveOut) {
        const fs::path source = VO_GAME_DATA_DIR;
        const fs::path data = Scratch("data");
        for (const auto& entry : fs::recursive_directory_iterator(source)) {
            const fs::path relative = fs::relative(entry.path(), source);
            if (entry.is_directory()) {
                fs::create_directories(data / relative);
            } else if (!leaveOut(relative.generic_string())) {
                fs::create_directories(data / relative.parent_path());
                fs::create_symlink(entry.path(), data / relative);
            }
        }
        paths::SetDataDir(data.string());
    }

    // A form whose player files are `config` and `log`, run to its first screen or to the end
    // of a failed loading step.
    void StartWith(const fs::path& config, const fs::path& log, IAudio* withAudio) {
        ResetShellState();
        HighScores = THighScoreTable{};
        TFormOptions o;
        o.Offscreen = true;
        o.Clock = &clock;
        o.Audio = withAudio;
        o.LogFile = log.string();
        o.ConfigFile = config.string();
        form = std::make_unique<TForm1>(o);
        ASSERT_TRUE(form->FormCreate());
        for (int i = 0; i < 400 && !form->LoadingFailed() &&
                        (Shell.Word == scrLogo || Shell.Word == scrLoading);
             ++i)
            form->FrameTimer1RealTime(1.0);
    }
    void StartWith(const fs::path& config, const fs::path& log) { StartWith(config, log, &audio); }

    // Settings worth keeping: a high score, two volumes and no saved game.
    static std::vector<uint8_t> KeptSettings() {
        THighScoreTable table = FreshHighScoreTable();
        table.Blocks[1][0].SetName("Keeper");
        table.Blocks[1][0].Score = 4321;
        return EncodeConfig(table, 20, 30, false, TSavedGame{});
    }
    static void ExpectKeptSettingsInForce() {
        EXPECT_EQ(Options.MusicVolume, 20);
        EXPECT_EQ(Options.SoundVolume, 30);
        EXPECT_EQ(HighScores.Blocks[1][0].NameText(), "Keeper");
        EXPECT_EQ(HighScores.Blocks[1][0].Score, 4321);
    }

    // Starts on the kept settings in `folder`, changes the volumes, makes a move and quits; the
    // save fails (`breakSave` makes it fail, right before the end). The old file must be there
    // as it was, with no temporary file beside it, and the next start must read it.
    void ExpectSaveFailureKeepsTheOldFile(const fs::path& folder, const fs::path& log,
                                          const std::function<void()>& breakSave,
                                          const std::string& reason) {
        const fs::path config = folder / "Config.bin";
        ASSERT_EQ(ReadBytes(config).size(), kConfigSize);
        StartWith(config, log);
        ASSERT_EQ(Shell.Word, scrPlaying);
        ExpectKeptSettingsInForce();
        TAutoPlayer player(*form, clock, 7);
        for (int i = 0; i < 40; ++i) player.Frame();
        // What the saves during play left (the game in progress, perhaps); the exit's save of
        // the changed volume is the one that fails.
        const std::vector<uint8_t> before = ReadBytes(config);
        Options.MusicVolume = 90;
        breakSave();
        ClickButton(7);
        ClickButton(btnYes);
        ASSERT_TRUE(form->Terminated());
        Stop();
        EXPECT_TRUE(Contains(logLines, "Cannot save Config.bin (")) << "no message in the log";
        EXPECT_TRUE(Contains(logLines, "the previous file is kept"));
        EXPECT_TRUE(Contains(logLines, reason)) << "the log does not say: " << reason;
        EXPECT_EQ(ReadBytes(config), before) << "the old settings file changed";
        EXPECT_FALSE(fs::exists(folder / "Config.bin.tmp"));

        logLines.clear();
        StartWith(config, Scratch("second-log.txt"));
        EXPECT_EQ(Shell.Word, scrPlaying);
        ExpectKeptSettingsInForce();
        EXPECT_FALSE(Contains(logLines, "Config.bin: ")) << "the kept file reads with notes";
    }

    std::vector<std::string> mounts_;

private:
    fs::path scratch_;
};

// --- The settings file cannot be written ---------------------------------------------------

TEST_F(Faults, ReadOnlyFolderKeepsTheOldSettings) {
    const fs::path folder = Scratch("readonly");
    fs::create_directories(folder);
    if (!MountTmpfs(folder.string(), 256)) GTEST_SKIP() << "mounting is not permitted here";
    mounts_.push_back(folder.string());
    WriteBytes(folder / "Config.bin", KeptSettings());
    // The whole working folder is read-only: the log there cannot be written either.
    ASSERT_TRUE(RemountReadOnly(folder.string()));
    ExpectSaveFailureKeepsTheOldFile(
        folder, folder / "Log.txt", [] {}, "Read-only file system");
    EXPECT_FALSE(fs::exists(folder / "Log.txt"));
}

TEST_F(Faults, FolderFilledDuringPlayKeepsTheOldSettings) {
    const fs::path folder = Scratch("full");
    fs::create_directories(folder);
    if (!MountTmpfs(folder.string(), 64)) GTEST_SKIP() << "mounting is not permitted here";
    mounts_.push_back(folder.string());
    WriteBytes(folder / "Config.bin", KeptSettings());
    const auto fill = [&] {
        std::FILE* f = std::fopen((folder / "filler").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        const std::vector<char> block(4096, 'x');
        while (std::fwrite(block.data(), 1, block.size(), f) == block.size() &&
               std::fflush(f) == 0) {
        }
        std::fclose(f);
    };
    ExpectSaveFailureKeepsTheOldFile(folder, Scratch("Log.txt"), fill, "No space left on device");
}

TEST_F(Faults, FullDiskKeepsTheOldSettings) {
    // Works for any user: the write of the temporary file fails as on a full disk.
    const fs::path folder = Scratch("full-disk");
    fs::create_directories(folder);
    WriteBytes(folder / "Config.bin", KeptSettings());
    ExpectSaveFailureKeepsTheOldFile(
        folder, Scratch("Log.txt"),
        [] {
            InjectWriteFault({TWriteFault::Write, ENOSPC, "Config.bin"});
        },
        "No space left on device");
}

TEST_F(Faults, RefusedSaveKeepsTheOldSettings) {
    const fs::path folder = Scratch("refused");
    fs::create_directories(folder);
    WriteBytes(folder / "Config.bin", KeptSettings());
    ExpectSaveFailureKeepsTheOldFile(
        folder, Scratch("Log.txt"),
        [] {
            InjectWriteFault({TWriteFault::Create, EROFS, "Config.bin"});
        },
        "Read-only file system");
}

TEST_F(Faults, EveryFailingStepOfASaveKeepsTheOldFile) {
    const fs::path file = Scratch("Config.bin");
    const std::vector<uint8_t> old = KeptSettings();
    const std::vector<uint8_t> fresh(kConfigSize, 7);
    const std::pair<TWriteFault, const char*> faults[] = {
        {{TWriteFault::Create, EROFS, ""}, "cannot create"},
        {{TWriteFault::Write, ENOSPC, ""}, "cannot write"},
        {{TWriteFault::Flush, EIO, ""}, "cannot flush"},
        {{TWriteFault::Rename, EROFS, ""}, "cannot replace"},
    };
    for (const auto& [fault, message] : faults) {
        SCOPED_TRACE(message);
        WriteBytes(file, old);
        InjectWriteFault(fault);
        std::string error;
        EXPECT_FALSE(WriteFileAtomically(file.string(), fresh, &error));
        EXPECT_NE(error.find(message), std::string::npos) << error;
        EXPECT_NE(error.find(std::strerror(fault.Error)), std::string::npos) << error;
        EXPECT_NE(error.find("Config.bin"), std::string::npos) << error;
        EXPECT_EQ(ReadBytes(file), old);
        EXPECT_FALSE(fs::exists(file.string() + ".tmp"));
    }
    // A fault is used once: the next save goes through.
    EXPECT_TRUE(WriteFileAtomically(file.string(), fresh, nullptr));
    EXPECT_EQ(ReadBytes(file), fresh);
}

// --- The log cannot be written --------------------------------------------------------------

TEST_F(Faults, UnwritableLogNeverStopsTheGame) {
    // A folder where the log should be: no one can open it as a file, root included.
    const fs::path log = Scratch("Log.txt");
    fs::create_directories(log);
    StartWith(Scratch("Config.bin"), log);
    ASSERT_EQ(Shell.Word, scrPlaying);
    TAutoPlayer player(*form, clock, 11);
    ASSERT_TRUE(player.PlayGame(modeProfessional, 60000));
    ClickButton(7);
    ClickButton(btnYes);
    Stop();
    EXPECT_TRUE(fs::is_directory(log));
    EXPECT_EQ(ReadBytes(Scratch("Config.bin")).size(), kConfigSize);
    EXPECT_TRUE(Contains(logLines, "Saving config ..."));
}

TEST_F(Faults, LogOnAFullDeviceNeverStopsTheGame) {
    const fs::path log = Scratch("Log.txt");
    fs::create_symlink("/dev/full", log);
    StartWith(Scratch("Config.bin"), log);
    ASSERT_EQ(Shell.Word, scrPlaying);
    TAutoPlayer player(*form, clock, 12);
    for (int i = 0; i < 200; ++i) player.Frame();
    ClickButton(7);
    ClickButton(btnYes);
    Stop();
    EXPECT_EQ(ReadBytes(Scratch("Config.bin")).size(), kConfigSize);
}

// A statistics file that cannot be written (a folder in its temporary file's place) is tried
// again every frame: the failure is logged once, not in every frame, and the save goes through
// once its cause is gone.
TEST_F(Faults, AStatisticsSaveFailingInEveryFrameIsLoggedOnce) {
    fs::create_directories(Scratch("Stats.txt.tmp"));
    StartWith(Scratch("Config.bin"), Scratch("Log.txt"));
    TAutoPlayer player(*form, clock, 11);
    ASSERT_TRUE(player.PlayGame(modeProfessional, 60000));
    for (int i = 0; i < 300; ++i) form->FrameTimer1RealTime(1.0);
    EXPECT_EQ(std::count_if(
                  logLines.begin(), logLines.end(),
                  [](const std::string& l) { return l.find("Cannot save the statistics") == 0; }),
              1);
    fs::remove(Scratch("Stats.txt.tmp"));
    form->FrameTimer1RealTime(1.0);
    EXPECT_TRUE(fs::exists(Scratch("Stats.txt")));
}

// --- Missing game data ----------------------------------------------------------------------

TEST_F(Faults, EveryPictureMissingShowsPlaceholdersAndThePlayGoesOn) {
    UseDataWithout([](const std::string& file) {
        return file.rfind("graphics/", 0) == 0 && file.rfind("graphics/font/", 0) != 0;
    });
    StartWith(Scratch("Config.bin"), Scratch("Log.txt"));
    ASSERT_EQ(Shell.Word, scrPlaying);
    EXPECT_FALSE(Contains(logLines, "Cannot load \"")); // a missing picture is no error
    form->FrameTimer1RealTime(1.0);
    const std::vector<uint32_t> frame = form->Device().ReadFrame();
    ASSERT_FALSE(frame.empty());
    // The placeholder's orange (0xFFAE00), also after a 16-bit texture.
    const auto orange = [](uint32_t argb) {
        const uint32_t r = (argb >> 16) & 0xFF, g = (argb >> 8) & 0xFF, b = argb & 0xFF;
        return r >= 0xF0 && g >= 0xA0 && g <= 0xBA && b <= 0x10;
    };
    EXPECT_GT(std::count_if(frame.begin(), frame.end(), orange), 1000) << "no placeholder shown";

    // Whole games, with the menu buttons and the answers still working.
    TAutoPlayer player(*form, clock, 13);
    ASSERT_TRUE(player.PlayGame(modeProfessional, 60000));
    ASSERT_TRUE(player.PlayGame(modeKids, 60000));
    ClickButton(7);
    EXPECT_TRUE(HasFlag(Shell.Word, scrMsgExit));
    ClickButton(btnYes);
    EXPECT_TRUE(form->Terminated());
}

TEST_F(Faults, SoundsAndMusicMissingPlaySilently) {
    UseDataWithout([](const std::string& file) {
        return file == "sounds.txt" || file.rfind("sounds/", 0) == 0 ||
               file.rfind("music/", 0) == 0;
    });
    // The real audio output (SDL's dummy driver), which finds no files.
    StartWith(Scratch("Config.bin"), Scratch("Log.txt"), nullptr);
    ASSERT_EQ(Shell.Word, scrPlaying);
    EXPECT_TRUE(Contains(logLines, "sounds.txt: cannot open the sound list"));
    TAutoPlayer player(*form, clock, 14);
    ASSERT_TRUE(player.PlayGame(modeProfessional, 60000));
    Stop();
}

TEST_F(Faults, SamplesThatAreNoFilesAreSkippedWithoutWaiting) {
    UseDataWithout([](const std::string& file) {
        return file == "sounds/appear.ogg" || file == "sounds/roll.ogg" || file == "sounds.txt";
    });
    ASSERT_EQ(::mkfifo(paths::DataPath("sounds/appear.ogg").c_str(), 0644), 0);
    fs::create_symlink("/dev/zero", paths::DataPath("sounds/roll.ogg"));
    // The list also names a file outside the data folder, which is not opened.
    const std::string list =
        "s_app\tsounds/appear.ogg\t1\ns_ballmove\tsounds/roll.ogg\t1\ns_pin\t/dev/zero\t1\n";
    WriteBytes(paths::DataPath("sounds.txt"), std::vector<uint8_t>(list.begin(), list.end()));
    StartWith(Scratch("Config.bin"), Scratch("Log.txt"), nullptr); // SDL's dummy audio driver
    ASSERT_EQ(Shell.Word, scrPlaying);
    EXPECT_TRUE(Contains(logLines, "appear.ogg\": not a regular file"));
    EXPECT_TRUE(Contains(logLines, "roll.ogg\": not a regular file"));
    EXPECT_FALSE(Contains(logLines, "/dev/zero"));
    TAutoPlayer player(*form, clock, 17);
    for (int i = 0; i < 200; ++i) player.Frame();
    Stop();
}

TEST_F(Faults, ADamagedSettingsFileIsKeptAsideAndOnlyItsSoundPartsAreUsed) {
    std::mt19937 rng(1450);
    std::vector<uint8_t> noise(kConfigSize);
    for (auto& b : noise) b = static_cast<uint8_t>(rng());
    noise[600] = 40; // a sound music volume among the noise: it is used
    noise[601] = noise[602] = noise[603] = 0;
    const fs::path config = Scratch("Config.bin");
    WriteBytes(config, noise);
    StartWith(config, Scratch("Log.txt"));
    EXPECT_EQ(ReadBytes(Scratch("Config.bin.damaged")), noise) << "no copy kept aside";
    EXPECT_TRUE(Contains(logLines, "a copy is kept as"));
    EXPECT_EQ(Options.MusicVolume, 40);
    for (const auto& block : HighScores.Blocks)
        for (size_t i = 1; i < block.size(); ++i) EXPECT_LE(block[i].Score, block[i - 1].Score);
    Stop();
    // What the game wrote back is sound, and the copy aside is still the damaged file.
    const std::vector<uint8_t> written = ReadBytes(config);
    const TConfigContents c = DecodeConfig(written.data(), written.size());
    EXPECT_TRUE(c.Notes.empty()) << c.Notes.front();
    EXPECT_EQ(c.MusicVolume, 40);
    EXPECT_EQ(ReadBytes(Scratch("Config.bin.damaged")), noise);
}

TEST_F(Faults, NoAudioDevicePlaysSilently) {
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    StartWith(Scratch("Config.bin"), Scratch("Log.txt"), nullptr);
    ASSERT_EQ(Shell.Word, scrPlaying);
    EXPECT_TRUE(Contains(logLines, "the game stays silent"));
    TAutoPlayer player(*form, clock, 15);
    ASSERT_TRUE(player.PlayGame(modeProfessional, 60000));
    Stop();
}

TEST_F(Faults, AnotherAudioLibraryVersionPlaysSilently) {
    audio.Version = 3;
    StartWith(Scratch("Config.bin"), Scratch("Log.txt"));
    ASSERT_EQ(Shell.Word, scrPlaying);
    EXPECT_TRUE(Contains(logLines, "not version 2.0"));
    EXPECT_TRUE(audio.Loads.empty());
    TAutoPlayer player(*form, clock, 16);
    ASSERT_TRUE(player.PlayGame(modeProfessional, 60000));
    Stop();
}

// A data file the loading step cannot do without: the program says which and why, ends, and
// leaves the settings file alone.
struct TEssential {
    const char* File;    // relative to the data folder
    const char* Message; // the start of the log line, before the file's path
    // What is in the file's place: nothing, a FIFO (a plain open would wait for a writer for
    // ever) or a symlink to /dev/zero (a read would never end).
    enum { Missing, Fifo, Zero } Instead = Missing;
    friend void PrintTo(const TEssential& e, std::ostream* os) { *os << e.File; }
};

class MissingEssential : public Faults, public ::testing::WithParamInterface<TEssential> {};

TEST_P(MissingEssential, EndsCleanlyWithAMessage) {
    const std::string missing = GetParam().File;
    UseDataWithout([&](const std::string& file) { return file == missing; });
    if (GetParam().Instead == TEssential::Fifo) {
        ASSERT_EQ(::mkfifo(paths::DataPath(missing).c_str(), 0644), 0);
    }
    if (GetParam().Instead == TEssential::Zero)
        fs::create_symlink("/dev/zero", paths::DataPath(missing));
    const fs::path config = Scratch("Config.bin");
    WriteBytes(config, KeptSettings());
    StartWith(config, Scratch("Log.txt"));
    EXPECT_TRUE(form->LoadingFailed());
    EXPECT_TRUE(form->Terminated());
    const std::string expected = std::string(GetParam().Message) + paths::DataPath(missing);
    EXPECT_TRUE(Contains(logLines, expected)) << "no line starting " << expected;
    for (int i = 0; i < 5; ++i) form->FrameTimer1RealTime(1.0); // frames until the loop stops
    ClickAt(400, 300);
    EXPECT_EQ(std::count(logLines.begin(), logLines.end(), "Loading Ingame Resources ..."), 1)
        << "a frame after the failure loaded again";
    Stop();
    EXPECT_TRUE(Contains(logLines, "Config.bin was not read in this run"));
    EXPECT_EQ(ReadBytes(config), KeptSettings());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, MissingEssential,
    ::testing::Values(
        TEssential{"strings.txt", "Cannot load the texts: "},
        TEssential{"graphics/font/font.rls", "Cannot load the font: "},
        TEssential{"graphics/font/font.bmp", "Cannot load the font: "},
        TEssential{"graphics/font/font.rls", "Cannot load the font: ", TEssential::Fifo},
        TEssential{"graphics/font/font.rls", "Cannot load the font: ", TEssential::Zero},
        TEssential{"strings.txt", "Cannot load the texts: ", TEssential::Fifo},
        TEssential{"strings.txt", "Cannot load the texts: ", TEssential::Zero}),
    [](const auto& info) {
        std::string name = fs::path(info.param.File).filename().string() +
                           (info.param.Instead == TEssential::Fifo   ? "_fifo"
                            : info.param.Instead == TEssential::Zero ? "_zero"
                                                                     : "");
        std::replace(name.begin(), name.end(), '.', '_');
        return name;
    });

TEST_F(Faults, ShortFontMetricsEndCleanlyWithAMessage) {
    UseDataWithout([](const std::string& file) { return file == "graphics/font/font.rls"; });
    const fs::path metrics = paths::DataPath("graphics/font/font.rls");
    WriteBytes(metrics, std::vector<uint8_t>(100, 9));
    StartWith(Scratch("Config.bin"), Scratch("Log.txt"));
    EXPECT_TRUE(form->LoadingFailed());
    EXPECT_TRUE(Contains(logLines, "font.rls: read beyond end of file"));
    Stop();
}

// --- The device is lost -----------------------------------------------------------------------

class DeviceLoss : public Faults {
protected:
    // Loses the device while the font draws every `every`-th glyph, `times` times in all: in the
    // middle of frames, with draws before and after the loss.
    void LoseAtGlyphs(int every, int times) {
        Font->OnGlyph = [this, every, times, count = 0](uint8_t, int32_t, int32_t, int32_t,
                                                        uint32_t) mutable {
            if (++count % every == 0 && losses < times) {
                form->Device().SimulateDeviceLoss();
                ++losses;
            }
        };
    }
    // The still high-score screen after a few frames (past the cross-fade).
    std::vector<uint32_t> StillFrame() {
        Frames(6);
        return form->Device().ReadFrame();
    }
    static int Differing(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
        int n = 0;
        for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) n += a[i] != b[i];
        return n;
    }
    int losses = 0;
};

TEST_F(DeviceLoss, InTheMiddleOfAFrameTheDeviceIsResetAndTexturesSurvive) {
    Start();
    ClickButton(btnHighScores);
    const std::vector<uint32_t> before = StillFrame();
    ASSERT_FALSE(before.empty());
    LoseAtGlyphs(5, 1);
    Frames(1); // the rest of the frame draws on; presenting finds the loss and resets
    EXPECT_EQ(losses, 1);
    Font->OnGlyph = nullptr;
    const std::vector<uint32_t> after = StillFrame();
    ASSERT_EQ(after.size(), before.size());
    EXPECT_LT(Differing(before, after), static_cast<int>(after.size() / 100));
}

TEST_F(DeviceLoss, LossesWhileLoadingAndPlayingLeaveTheGameWhole) {
    // A first run without losses gives the picture the second one must show.
    Start();
    ClickButton(btnHighScores);
    const std::vector<uint32_t> reference = StillFrame();
    Stop();

    ResetShellState();
    MakeForm();
    ASSERT_TRUE(form->FormCreate());
    for (int i = 0; i < 400 && Shell.Word == scrLogo; ++i) form->FrameTimer1RealTime(1.0);
    ASSERT_EQ(Shell.Word, scrLoading);
    form->Device().SimulateDeviceLoss(); // the first progress frame finds it lost
    form->FrameTimer1RealTime(1.0);
    ASSERT_EQ(Shell.Word, scrPlaying);
    ClickButton(btnHighScores);
    const std::vector<uint32_t> after = StillFrame();
    ASSERT_EQ(after.size(), reference.size());
    EXPECT_LT(Differing(reference, after), static_cast<int>(after.size() / 100));

    // A whole game whose first frames lose the device again and again, while balls travel.
    ClickButton(10);
    TAutoPlayer player(*form, clock, 17);
    LoseAtGlyphs(7, 25);
    ASSERT_TRUE(player.PlayGame(modeNormal, 60000));
    EXPECT_EQ(losses, 25);
    EXPECT_GT(player.Stats.Moves, 5);
}

} // namespace
