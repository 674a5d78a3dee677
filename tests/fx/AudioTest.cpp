// The SDL2_mixer audio layer on SDL's "dummy" output (set by CTest), with WAV files written here.
#include "platform/Audio.h"
#include "fx/SoundBank.h"
#include "state/ShellState.h"
#include "tests/ui/TempDir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

void Put16(std::ofstream& out, uint16_t v) {
    out.put(char(v & 0xFF)).put(char(v >> 8));
}
void Put32(std::ofstream& out, uint32_t v) {
    Put16(out, uint16_t(v & 0xFFFF));
    Put16(out, uint16_t(v >> 16));
}

// A mono 16-bit PCM WAV of a quiet square wave, `seconds` long.
void WriteWav(const fs::path& path, double seconds) {
    const uint32_t rate = 22050;
    const auto samples = static_cast<uint32_t>(rate * seconds);
    std::ofstream out(path, std::ios::binary);
    out << "RIFF";
    Put32(out, 36 + samples * 2);
    out << "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, 1); // mono
    Put32(out, rate);
    Put32(out, rate * 2);
    Put16(out, 2);
    Put16(out, 16);
    out << "data";
    Put32(out, samples * 2);
    for (uint32_t i = 0; i < samples; ++i) Put16(out, (i / 50) % 2 ? 0x0800 : 0xF800);
}

class AudioTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = testart::MakeTempDir("vo_audio_");
        fs::create_directories(dir_ / "sounds");
        WriteWav(dir_ / "long.wav", 2.0);
    }
    void TearDown() override { fs::remove_all(dir_); }

    std::unique_ptr<IAudio> Make() {
        return CreateSdlAudio([this](const std::string& line) { log.push_back(line); });
    }

    fs::path dir_;
    std::vector<std::string> log;
};

} // namespace

TEST_F(AudioTest, PlaysStopsAndLimitsSimultaneousPlays) {
    auto audio = Make();
    EXPECT_EQ(audio->GetVersion(), 2u);
    ASSERT_TRUE(audio->Init(1, 44100, 0, nullptr)) << (log.empty() ? "" : log[0]);
    EXPECT_TRUE(audio->Start());

    const uint32_t sample = audio->SampleLoad((dir_ / "long.wav").string(), 2, audLoop);
    ASSERT_NE(sample, 0u);
    const uint32_t first = audio->SamplePlayEx(sample, 0, -1, 75, -1, 0, 1.0f);
    const uint32_t second = audio->SamplePlayEx(sample, 0, -1, 75, -1, audLoopAsLoaded, 1.0f);
    EXPECT_NE(first, 0u);
    EXPECT_NE(second, 0u);
    EXPECT_NE(first, second);
    EXPECT_EQ(audio->SamplePlayEx(sample, 0, -1, 75, -1, 0, 1.0f), 0u) << "at most 2 at once";
    EXPECT_TRUE(audio->ChannelSetAttributes(first, -1, 20, 50));

    EXPECT_TRUE(audio->SampleStop(sample));
    EXPECT_NE(audio->SamplePlayEx(sample, 0, -1, 75, -1, 0, 1.0f), 0u) << "stop frees every play";
    EXPECT_TRUE(log.empty());
}

TEST_F(AudioTest, BadHandlesAndMissingFilesFailQuietlyWithOneLogLine) {
    auto audio = Make();
    ASSERT_TRUE(audio->Init(1, 44100, 0, nullptr));
    EXPECT_EQ(audio->SampleLoad((dir_ / "missing.ogg").string(), 32, audLoop), 0u);
    ASSERT_EQ(log.size(), 1u);
    EXPECT_NE(log[0].find("missing.ogg"), std::string::npos);

    std::ofstream(dir_ / "junk.wav") << "not a sound";
    EXPECT_EQ(audio->SampleLoad((dir_ / "junk.wav").string(), 32, 0), 0u);
    EXPECT_EQ(audio->StreamCreateFile((dir_ / "missing.ogg").string(), 0), 0u);
    EXPECT_EQ(audio->StreamCreateFile((dir_ / "junk.wav").string(), 0), 0u);
    EXPECT_EQ(log.size(), 4u);

    for (uint32_t bad : {0u, 1u, 7u, 0x40000001u, 0x80000041u, 0xFFFFFFFFu}) {
        EXPECT_EQ(audio->SamplePlayEx(bad, 0, -1, 50, 0, 0, 1.0f), 0u) << bad;
        EXPECT_FALSE(audio->SampleStop(bad)) << bad;
        EXPECT_FALSE(audio->StreamPlay(bad, false, audLoop)) << bad;
        EXPECT_FALSE(audio->ChannelPause(bad)) << bad;
    }
}

TEST_F(AudioTest, MusicStreamLoopsPausesAndResumes) {
    auto audio = Make();
    ASSERT_TRUE(audio->Init(1, 44100, 0, nullptr));
    const uint32_t music = audio->StreamCreateFile((dir_ / "long.wav").string(), 0);
    ASSERT_NE(music, 0u);
    EXPECT_FALSE(audio->ChannelPause(music)) << "not playing yet";
    EXPECT_TRUE(audio->ChannelSetAttributes(music, 44100, 50, 0));
    EXPECT_TRUE(audio->StreamPlay(music, false, audLoop));
    EXPECT_TRUE(audio->ChannelPause(music));
    EXPECT_TRUE(audio->ChannelResume(music));
    EXPECT_TRUE(audio->ChannelSetAttributes(music, 44100, 0, 0));
}

TEST_F(AudioTest, WithoutAnOutputEverythingIsSilentAfterOneLine) {
    {
        auto audio = Make();
        EXPECT_FALSE(audio->Init(0, 44100, 0, nullptr));
        EXPECT_EQ(audio->SampleLoad((dir_ / "long.wav").string(), 32, audLoop), 0u);
        EXPECT_EQ(audio->StreamCreateFile((dir_ / "long.wav").string(), 0), 0u);
        EXPECT_FALSE(audio->Start());
        EXPECT_EQ(log.size(), 1u);
    }
    log.clear();
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string driver = saved ? saved : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    {
        auto audio = Make();
        EXPECT_FALSE(audio->Init(1, 44100, 0, nullptr));
        EXPECT_EQ(audio->SampleLoad((dir_ / "long.wav").string(), 32, audLoop), 0u);
        EXPECT_EQ(log.size(), 1u);
    }
    if (saved)
        setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
}

TEST_F(AudioTest, SoundBankLoadsAndPlaysRealFiles) {
    WriteWav(dir_ / "sounds" / "h_bomb.ogg", 0.1); // SDL_mixer detects the format by content
    WriteWav(dir_ / "sounds" / "a_bomb.ogg", 0.1);
    WriteWav(dir_ / "sounds" / "Bomb_boom.ogg", 0.1);
    WriteWav(dir_ / "sounds" / "click.wav", 0.1);
    std::ofstream(dir_ / "sounds.txt") << "s_click\t./sounds/click.wav\t1.0\n"
                                       << "s_app\t./sounds/missing.wav\t1.0\n";
    auto audio = Make();
    ASSERT_TRUE(audio->Init(1, 44100, 0, nullptr));
    Shell = TShellState{};
    TSoundBank bank(audio.get());
    std::string error;
    ASSERT_TRUE(bank.Load((dir_ / "sounds.txt").string(), dir_.string(), &error)) << error;
    EXPECT_NE(bank.Named(TSample::Click), 0u);
    EXPECT_EQ(bank.Named(TSample::App), 0u);
    EXPECT_NE(bank.BlastSound(22), 0u);
    EXPECT_EQ(log.size(), 1u) << "one line for the missing file";
    bank.Play(TSample::Click);
    bank.PlayLooping(bank.Selection(0, 22));
    bank.Stop(bank.Selection(0, 22));
    bank.Play(TSample::App); // handle 0: silent
}
