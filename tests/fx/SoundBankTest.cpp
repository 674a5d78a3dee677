#include "fx/SoundBank.h"
#include "state/OptionsState.h"
#include "state/ShellState.h"
#include "tests/support/RecordingAudio.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <set>

namespace fs = std::filesystem;

namespace {

class SoundBankTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetShellState();
        dir_ = testart::MakeTempDir("vo_soundbank_");
    }
    void TearDown() override { fs::remove_all(dir_); }

    // Writes the sound list and loads it into `bank`.
    bool LoadList(const std::string& text) {
        std::ofstream(dir_ / "sounds.txt", std::ios::binary) << text;
        return bank.Load(ListPath(), Data(), &error);
    }
    std::string ListPath() const { return (dir_ / "sounds.txt").string(); }
    std::string Data() const { return dir_.string(); }
    std::string In(const std::string& rel) const { return Data() + "/" + rel; }

    fs::path dir_;
    TRecordingAudio audio;
    TSoundBank bank{&audio};
    std::string error;
};

} // namespace

TEST_F(SoundBankTest, NamedSamplesMatchExactlyAndResolveAgainstTheDataFolder) {
    ASSERT_TRUE(LoadList("s_app\t./sounds/app.ogg\t1.0\n"
                         "S_CLICK\t./sounds/click.ogg\t1\n"
                         "s_hover\tsounds\\hover.ogg\t0.5\n"))
        << error;
    EXPECT_EQ(bank.Named(TSample::App), audio.HandleOf(In("sounds/app.ogg")));
    EXPECT_NE(bank.Named(TSample::App), 0u);
    EXPECT_EQ(bank.Named(TSample::Click), 0u) << "names are case-sensitive";
    EXPECT_EQ(bank.Named(TSample::Hover), audio.HandleOf(In("sounds/hover.ogg")));

    // Only files inside the data folder: absolute paths and ".." are not opened.
    const size_t before = audio.Loads.size();
    ASSERT_TRUE(LoadList("s_app\t/etc/passwd\t1\n"
                         "s_pin\t../../outside.ogg\t1\n"
                         "s_paint\tsounds/..\\..\\outside.ogg\t1\n"
                         "_a1\t..\t1\n"
                         "s_press\tsounds/..more.ogg\t1\n"))
        << error;
    EXPECT_EQ(bank.Named(TSample::App), 0u);
    EXPECT_EQ(bank.Named(TSample::Pin), 0u);
    EXPECT_EQ(bank.Named(TSample::Paint), 0u);
    EXPECT_EQ(bank.Named(TSample::Press), audio.HandleOf(In("sounds/..more.ogg")));
    for (size_t i = before; i < audio.Loads.size(); ++i)
        EXPECT_EQ(audio.Loads[i].Path.rfind(Data() + "/", 0), 0u) << audio.Loads[i].Path;
    for (const auto& load : audio.Loads) {
        EXPECT_EQ(load.MaxPlays, 32u);
        EXPECT_EQ(load.Flags, audLoop);
    }
}

TEST_F(SoundBankTest, PictureTablesTakeTheirNumberedEntriesAndIgnoreNumbersOutside) {
    ASSERT_TRUE(LoadList("_a1\tsa1\t1\n_b2\tsb2\t1\n_c3\tsc3\t1\n_d23\tsd23\t1\n"
                         "_h5\tsh5\t1\n_f7\tsf7\t1\n_r22\tsr22\t1\n_o1\tso1\t1\n"
                         "_r23\tsr23\t1\n_o23\tso23\t1\n_a24\tsa24\t1\n_h0\tsh0\t1\n"
                         "_f-1\tsf-1\t1\n"))
        << error;
    EXPECT_EQ(bank.Selection(0, 0), audio.HandleOf(In("sa1")));
    EXPECT_EQ(bank.Selection(1, 1), audio.HandleOf(In("sb2")));
    EXPECT_EQ(bank.Selection(2, 2), audio.HandleOf(In("sc3")));
    EXPECT_EQ(bank.Selection(3, 22), audio.HandleOf(In("sd23")));
    EXPECT_EQ(bank.HoverSound(4), audio.HandleOf(In("sh5")));
    EXPECT_EQ(bank.BlastSound(6), audio.HandleOf(In("sf7")));
    EXPECT_EQ(bank.ArrivalSound(21), audio.HandleOf(In("sr22")));
    EXPECT_EQ(bank.BlastHitSound(0), audio.HandleOf(In("so1")));
    EXPECT_NE(bank.ArrivalSound(21), 0u);
    // Numbers outside a table load nothing; lookups outside return 0.
    for (const char* p : {"sr23", "so23", "sa24", "sh0", "sf-1"})
        EXPECT_EQ(audio.HandleOf(In(p)), 0u) << p;
    EXPECT_EQ(bank.ArrivalSound(22), 0u);
    EXPECT_EQ(bank.BlastHitSound(22), 0u);
    EXPECT_EQ(bank.Selection(4, 0), 0u);
    EXPECT_EQ(bank.HoverSound(-1), 0u);
    EXPECT_EQ(bank.HoverSound(23), 0u);
}

TEST_F(SoundBankTest, ErrorsNameFileAndLineAndKeepWhatLoadedBefore) {
    EXPECT_FALSE(LoadList("s_app\tapp\t1\n_x5\tx\t2.5\n_q\tq\t1\ns_pin\tpin\t1\n"));
    EXPECT_EQ(error, ListPath() + ":3: \"_q\" does not end in a whole number");
    EXPECT_NE(bank.Named(TSample::App), 0u);
    EXPECT_EQ(audio.HandleOf(In("x")), 0u) << "an unknown table loads nothing";
    EXPECT_EQ(bank.Named(TSample::Pin), 0u) << "lines after the error are not read";

    TSoundBank other(&audio);
    std::ofstream(dir_ / "bad.txt") << "s_app\tapp\t1,5\n";
    EXPECT_FALSE(other.Load((dir_ / "bad.txt").string(), Data(), &error));
    EXPECT_EQ(error, (dir_ / "bad.txt").string() + ":1: \"1,5\" is not a decimal number");
    EXPECT_EQ(other.Named(TSample::App), 0u) << "the number is checked before loading";

    for (const char* text : {"_a1.5\tp\t1\n", "_zz\tp\t1\n", "s_app\tp\t\n", "s_app\tp\tnan\n",
                             "s_app\tp\t1x\n", "_\tp\t1\n", "_d99999999999\tp\t1\n"}) {
        TSoundBank b(&audio);
        std::ofstream(dir_ / "bad.txt", std::ios::trunc) << text;
        EXPECT_FALSE(b.Load((dir_ / "bad.txt").string(), Data(), &error)) << text;
        EXPECT_NE(error.find("bad.txt:1: "), std::string::npos) << error;
    }
}

TEST_F(SoundBankTest, LinesWithoutTabsMustBeNumbersSoEmptyLinesAreErrors) {
    EXPECT_TRUE(LoadList("2.5\r\n  -3e2 \r\ns_app\tapp\t+7\r\n")) << error;
    EXPECT_NE(bank.Named(TSample::App), 0u) << "CRLF line ends are accepted";
    EXPECT_FALSE(LoadList("s_app\tapp\t1\n\ns_pin\tpin\t1\n"));
    EXPECT_EQ(error, ListPath() + ":2: \"\" is not a decimal number");
}

TEST_F(SoundBankTest, LaterLinesReplaceEarlierOnesAndBombFilesOverrideTheList) {
    ASSERT_TRUE(LoadList("s_app\tfirst\t1\ns_app\tsecond\t1\n"
                         "_h23\tlist_h\t1\n_a23\tlist_a\t1\n_f23\tlist_f\t1\n_b23\tlist_b\t1\n"));
    EXPECT_EQ(bank.Named(TSample::App), audio.HandleOf(In("second")));
    EXPECT_EQ(bank.HoverSound(22), audio.HandleOf(In("sounds/h_bomb.ogg")));
    EXPECT_EQ(bank.Selection(0, 22), audio.HandleOf(In("sounds/a_bomb.ogg")));
    EXPECT_EQ(bank.BlastSound(22), audio.HandleOf(In("sounds/Bomb_boom.ogg")));
    EXPECT_EQ(bank.Selection(1, 22), audio.HandleOf(In("list_b"))) << "only variant a is fixed";
    EXPECT_NE(bank.HoverSound(22), audio.HandleOf(In("list_h")));
}

TEST_F(SoundBankTest, MissingListIsAnErrorButTheBombStillSounds) {
    EXPECT_FALSE(bank.Load((dir_ / "none.txt").string(), Data(), &error));
    EXPECT_NE(error.find("none.txt"), std::string::npos);
    EXPECT_NE(bank.BlastSound(22), 0u);
    EXPECT_EQ(audio.Loads.size(), 3u);
    EXPECT_FALSE(bank.Load(Data(), Data(), &error)) << "a folder is no sound list";
    EXPECT_EQ(error, Data() + ": cannot open the sound list");
}

TEST_F(SoundBankTest, FailedLoadsLeaveTheirHandleZero) {
    audio.FailPaths.insert(In("sounds/h_bomb.ogg"));
    audio.FailPaths.insert(In("app"));
    ASSERT_TRUE(LoadList("s_app\tapp\t1\n"));
    EXPECT_EQ(bank.Named(TSample::App), 0u);
    EXPECT_EQ(bank.HoverSound(22), 0u);
    EXPECT_NE(bank.BlastSound(22), 0u);
}

TEST_F(SoundBankTest, PlaysUseTheSoundVolumeAndLoopOnlyWhenAsked) {
    ASSERT_TRUE(LoadList("s_click\tclick\t1\n"));
    const uint32_t click = bank.Named(TSample::Click);
    Options.SoundVolume = 42;
    bank.Play(click);
    bank.PlayLooping(TSample::Click);
    bank.Stop(TSample::Click);
    bank.Play(TSample::Paint); // not loaded: handle 0 goes to the library and fails there
    ASSERT_EQ(audio.Plays.size(), 3u);
    for (const auto& p : audio.Plays) {
        EXPECT_EQ(p.Start, 0u);
        EXPECT_EQ(p.Frequency, -1);
        EXPECT_EQ(p.Volume, 42);
        EXPECT_EQ(p.Pan, -1);
        EXPECT_EQ(p.Gain, 1.0f);
    }
    EXPECT_EQ(audio.Plays[0].Loop, 0);
    EXPECT_EQ(audio.Plays[1].Loop, -1);
    EXPECT_EQ(audio.Plays[2].Sample, 0u);
    EXPECT_EQ(audio.Stops, std::vector<uint32_t>{click});
}

TEST_F(SoundBankTest, GainColumnScalesPlaysAndRoutineSoundsVaryWithinBounds) {
    ASSERT_TRUE(LoadList("s_click\tclick\t0.5\n"
                         "s_hover\thover\t7\n"
                         "s_paint\tpaint\t-1\n"
                         "s_pin\tpin\t1\n"
                         "s_app\tapp\t0.8\n"
                         "_r3\tland\t1\n"));
    bank.Play(TSample::Click);
    bank.Play(TSample::Hover);
    bank.Play(TSample::Paint);
    ASSERT_EQ(audio.Plays.size(), 3u);
    EXPECT_FLOAT_EQ(audio.Plays[0].Gain, 0.5f);
    EXPECT_FLOAT_EQ(audio.Plays[1].Gain, 4.0f) << "held at the largest gain";
    EXPECT_FLOAT_EQ(audio.Plays[2].Gain, 0.0f);

    // Routine sounds: gain within +-2 dB of the listed one, a rate on the steps that keep their
    // notes on the scale (a minor third down, a whole tone up; the new balls also a fourth down),
    // never the same rate twice in a row, and not all alike.
    const auto semitones = [](int32_t hz) { return 12.0 * std::log2(hz / 44100.0); };
    for (const uint32_t sample :
         {bank.Named(TSample::Pin), bank.Named(TSample::App), bank.ArrivalSound(2)}) {
        const bool tuned = sample == bank.Named(TSample::App);
        const float listed = tuned ? 0.8f : 1.0f;
        audio.Plays.clear();
        for (int i = 0; i < 40; ++i) bank.Play(sample);
        std::set<int32_t> rates;
        float lowest = 10, highest = 0;
        for (size_t i = 0; i < audio.Plays.size(); ++i) {
            const auto& p = audio.Plays[i];
            EXPECT_GT(p.Frequency, 0);
            const double st = semitones(p.Frequency);
            EXPECT_TRUE((tuned && std::abs(st + 5) < 0.01) || std::abs(st + 3) < 0.01 ||
                        std::abs(st) < 0.01 || std::abs(st - 2) < 0.01)
                << st;
            if (i > 0) {
                EXPECT_NE(p.Frequency, audio.Plays[i - 1].Frequency);
            }
            rates.insert(p.Frequency);
            lowest = std::min(lowest, p.Gain / listed);
            highest = std::max(highest, p.Gain / listed);
        }
        EXPECT_EQ(rates.size(), tuned ? 4u : 3u);
        EXPECT_GE(lowest, 0.794f);
        EXPECT_LE(highest, 1.259f);
        EXPECT_GT(highest / lowest, 1.3f);
    }
}

TEST_F(SoundBankTest, RemovalSoundFollowsTheScoreUnits) {
    ASSERT_TRUE(LoadList("s_disapp\td1\t1\ns_disapp2\td2\t1\ns_disapp3\td3\t1\n"));
    const uint32_t d1 = bank.Named(TSample::Disapp), d2 = bank.Named(TSample::Disapp2),
                   d3 = bank.Named(TSample::Disapp3);
    const std::pair<int, uint32_t> cases[] = {{0, d1},  {6, d1},   {7, d2},  {12, d2},
                                              {13, d3}, {100, d3}, {101, 0}, {5000, 0}};
    for (const auto& [units, expected] : cases) {
        audio.Plays.clear();
        bank.PlayRemoval(units);
        if (expected == 0) {
            EXPECT_TRUE(audio.Plays.empty()) << units;
        } else {
            ASSERT_EQ(audio.Plays.size(), 1u) << units;
            EXPECT_EQ(audio.Plays[0].Sample, expected) << units;
        }
    }
}

TEST_F(SoundBankTest, RewardsGrowWithTheMoveDuckTheMusicAndABlastSoundsAsOne) {
    ASSERT_TRUE(LoadList("s_disapp\td1\t1\ns_disapp2\td2\t1\ns_disapp3\td3\t1\n"
                         "s_chain2\tc2\t1\ns_chain6\tc6\t1\ns_big\tbig\t1\ns_multi\tm\t1\n"
                         "_o1\tsounds/shatter.ogg\t1\n_o2\tsounds/shatter.ogg\t1\n"
                         "_o3\t./sounds/shatter.ogg\t1\n_o4\tsounds/crack.ogg\t1\n"));
    // Each larger removal: its sound louder (or a larger one) and the music ducked deeper.
    const auto deepest = [this] {
        float d = 0;
        for (const auto& [db, ms] : audio.Ducks) d = std::max(d, db);
        return d;
    };
    struct TCase {
        TClearSize Size;
        TSample Removal;
    };
    const TCase moves[] = {
        {{5, 5, 1, 0, false}, TSample::Disapp},   // a line of five
        {{7, 6, 1, 0, false}, TSample::Disapp2},  // six
        {{15, 5, 3, 0, false}, TSample::Disapp3}, // five with x3
        {{9, 7, 1, 0, false}, TSample::Disapp2},  // seven: a big moment too
        {{63, 7, 9, 0, false}, TSample::Disapp3}, // seven with x9
    };
    float lastGain = 0, lastDuck = 0;
    for (TCase c : moves) {
        SCOPED_TRACE(c.Size.Units);
        c.Size.Big = c.Size.Balls >= 7;
        audio.ClearRecords();
        bank.PlayLineClear(c.Size);
        ASSERT_FALSE(audio.Plays.empty());
        EXPECT_EQ(audio.Plays[0].Sample, bank.Named(c.Removal));
        EXPECT_GE(audio.Plays[0].Gain, lastGain);
        EXPECT_LE(audio.Plays[0].Gain, 1.8f);
        EXPECT_GE(deepest(), lastDuck);
        EXPECT_GE(deepest(), 3.0f);
        EXPECT_EQ(audio.PlaysOf(bank.Named(TSample::Big)), c.Size.Big ? 1 : 0);
        // The multiplier's sparkle: as made for x3, an octave up for x9.
        EXPECT_EQ(audio.PlaysOf(bank.Named(TSample::Multiply)), c.Size.Multiplier > 1 ? 1 : 0);
        if (c.Size.Multiplier == 9) {
            EXPECT_EQ(audio.Plays[1].Frequency, 88200);
        }
        lastGain = audio.Plays[0].Gain, lastDuck = deepest();
    }
    EXPECT_GT(lastGain, 1.5f);
    EXPECT_GE(lastDuck, 6.0f);

    // Chains: the run of their length, from six on the sixth's, louder for every line more.
    audio.ClearRecords();
    for (int length : {1, 2, 6, 8}) bank.PlayChain(length);
    ASSERT_EQ(audio.Plays.size(), 3u);
    EXPECT_EQ(audio.Plays[0].Sample, bank.Named(TSample::Chain2));
    EXPECT_EQ(audio.Plays[2].Sample, bank.Named(TSample::Chain6));
    EXPECT_GT(audio.Plays[2].Gain, audio.Plays[1].Gain);

    // A bomb setting off another: seven balls of one file, one of another, two blasts.
    audio.ClearRecords();
    bank.BeginBlast();
    for (int picture : {0, 1, 2, 0, 1}) bank.AddBlastHit(picture);
    bank.BeginBlast();
    for (int picture : {3, 2, 0}) bank.AddBlastHit(picture);
    bank.EndBlast(true);
    EXPECT_TRUE(audio.Plays.empty()) << "nothing before the outermost blast ends";
    bank.EndBlast(true);
    ASSERT_EQ(audio.Plays.size(), 3u);
    EXPECT_EQ(audio.PlaysOf(bank.BlastHitSound(0)), 1);
    EXPECT_NEAR(audio.Plays[0].Gain, std::pow(7.0, 0.25), 1e-5);
    EXPECT_LT(audio.Plays[0].Frequency, 44100);
    EXPECT_GT(audio.Plays[0].Frequency, 40000);
    EXPECT_EQ(audio.Plays[1].Sample, bank.BlastHitSound(3));
    EXPECT_EQ(audio.Plays[1].Gain, 1.0f);
    EXPECT_EQ(audio.Plays[1].Frequency, -1);
    EXPECT_EQ(audio.Plays[2].Sample, bank.BlastSound(22));
    EXPECT_NEAR(audio.Plays[2].Gain, std::pow(2.0, 0.25), 1e-5);
    EXPECT_EQ(audio.Ducks.size(), 1u);

    // A bomb that destroyed nothing is silent.
    audio.ClearRecords();
    bank.BeginBlast();
    bank.EndBlast(false);
    EXPECT_TRUE(audio.Plays.empty());
    EXPECT_TRUE(audio.Ducks.empty());
}

TEST_F(SoundBankTest, SelectionBounceCalmsDownAndANewSelectionStartsFull) {
    ASSERT_TRUE(LoadList("_a5\ta\t1\n_b5\tb\t1\n_c5\tc\t1\n_d5\td\t1\n"));
    for (int i = 0; i < 20; ++i) bank.PlaySelection(i % 4, 4);
    ASSERT_EQ(audio.Plays.size(), 20u);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(audio.Plays[static_cast<size_t>(i)].Gain, 1.0f);
    for (size_t i = 4; i < 20; ++i) EXPECT_LE(audio.Plays[i].Gain, audio.Plays[i - 1].Gain);
    EXPECT_LT(audio.Plays[8].Gain, 0.6f);
    EXPECT_NEAR(audio.Plays[19].Gain, 0.178f, 0.001f) << "-15 dB at the floor, still heard";
    EXPECT_EQ(audio.Plays[5].Sample, bank.Selection(1, 4));
    bank.RestartSelection();
    bank.PlaySelection(0, 4);
    EXPECT_EQ(audio.Plays.back().Gain, 1.0f);
}

TEST_F(SoundBankTest, MusicStartsLoopingAtTheMusicVolumeAndPausesAndResumes) {
    Options.MusicVolume = 30;
    bank.StartMusic("music/theme.ogg");
    const uint32_t music = audio.HandleOf("music/theme.ogg");
    ASSERT_NE(music, 0u);
    EXPECT_EQ(audio.Calls,
              (std::vector<std::string>{"StreamCreateFile", "ChannelSetAttributes", "StreamPlay"}));
    ASSERT_EQ(audio.Attributes.size(), 1u);
    EXPECT_EQ(audio.Attributes[0].Handle, music);
    EXPECT_EQ(audio.Attributes[0].Frequency, 44100);
    EXPECT_EQ(audio.Attributes[0].Volume, 30);
    EXPECT_EQ(audio.Attributes[0].Pan, 0);
    EXPECT_EQ(audio.StreamPlays[0].Flags, audLoop);
    EXPECT_FALSE(audio.StreamPlays[0].Flush);
    bank.PauseMusic();
    bank.ResumeMusic();
    EXPECT_EQ(audio.Pauses, std::vector<uint32_t>{music});
    EXPECT_EQ(audio.Resumes, std::vector<uint32_t>{music});

    // A silent music stands paused (it would be decoded for nothing); the window coming back
    // does not wake it, its volume does.
    bank.SetMuted(true);
    EXPECT_EQ(audio.Pauses.size(), 2u);
    bank.PauseMusic();
    bank.ResumeMusic();
    bank.SetMuted(false);
    EXPECT_EQ(audio.Pauses.size(), 2u);
    EXPECT_EQ(audio.Resumes.size(), 2u);
    bank.SetMusicVolume(0);
    bank.PauseMusic();
    bank.SetMusicVolume(40);
    EXPECT_EQ(audio.Resumes.size(), 2u) << "still away";
    bank.ResumeMusic();
    EXPECT_EQ(audio.Pauses.size(), 3u);
    EXPECT_EQ(audio.Resumes.size(), 3u);
}

TEST_F(SoundBankTest, VolumeStepsStayWithinZeroToHundredAndOnlyMusicIsApplied) {
    bank.StartMusic("m");
    audio.Attributes.clear();
    Options.MusicVolume = 95;
    bank.MusicUp();
    EXPECT_EQ(Options.MusicVolume, 100);
    bank.MusicUp();
    EXPECT_EQ(Options.MusicVolume, 100);
    Options.MusicVolume = 5;
    bank.MusicDown();
    EXPECT_EQ(Options.MusicVolume, 0);
    bank.MusicDown();
    EXPECT_EQ(Options.MusicVolume, 0);
    ASSERT_EQ(audio.Attributes.size(), 4u);
    EXPECT_EQ(audio.Attributes[0].Volume, 100);
    EXPECT_EQ(audio.Attributes[2].Volume, 0);

    Options.SoundVolume = 95;
    bank.SoundUp();
    EXPECT_EQ(Options.SoundVolume, 100);
    bank.SoundDown();
    bank.SoundDown();
    EXPECT_EQ(Options.SoundVolume, 80);
    EXPECT_EQ(audio.Attributes.size(), 4u) << "sound steps apply at the next play";

    // Set outright, the volumes stay within 0..100 too; only the music's applies at once.
    bank.SetSoundVolume(150);
    EXPECT_EQ(Options.SoundVolume, 100);
    EXPECT_EQ(audio.Attributes.size(), 4u);
    bank.SetMusicVolume(-5);
    EXPECT_EQ(Options.MusicVolume, 0);
    ASSERT_EQ(audio.Attributes.size(), 5u);
    EXPECT_EQ(audio.Attributes[4].Volume, 0);
}

TEST(SoundBankWithoutAudio, EveryCallIsSilent) {
    ResetShellState();
    TSoundBank bank(nullptr);
    std::string error;
    EXPECT_FALSE(bank.Load("/nonexistent/sounds.txt", "", &error));
    bank.Play(TSample::App);
    bank.PlayLooping(1);
    bank.Stop(1);
    bank.PlayRemoval(3);
    bank.StartMusic("m");
    bank.MusicUp();
    bank.PauseMusic();
    bank.ResumeMusic();
    bank.SetMusicVolume(10);
    EXPECT_EQ(Options.MusicVolume, 10);
    EXPECT_EQ(bank.BlastSound(22), 0u);
}
