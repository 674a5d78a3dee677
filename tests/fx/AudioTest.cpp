// The SDL2_mixer audio layer on SDL's "dummy" output (set by CTest), with WAV files written here.
#include "platform/Audio.h"
#include "fx/SoundBank.h"
#include "platform/Limiter.h"
#include "platform/Resample.h"
#include "state/ShellState.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>
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

// A mono 16-bit PCM WAV, `seconds` long: a quiet square wave, or with `sineHz` a sine at half
// scale at 44.1 kHz.
void WriteWav(const fs::path& path, double seconds, double sineHz = 0) {
    const uint32_t rate = sineHz > 0 ? 44100 : 22050;
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
    for (uint32_t i = 0; i < samples; ++i)
        Put16(out, sineHz > 0 ? static_cast<uint16_t>(static_cast<int16_t>(
                                    std::lround(16384 * std::sin(2 * M_PI * sineHz * i / rate))))
                              : ((i / 50) % 2 ? 0x0800 : 0xF800));
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
    ResetShellState();
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

TEST(Limiter, HoldsEveryPeakUnderTheCeilingAndLeavesTheRestAlone) {
    // Half a second of a quiet tone, bursts up to four times full scale, then the tone again.
    const int rate = 44100, frames = rate * 2;
    std::vector<float> in(static_cast<size_t>(2 * frames));
    uint32_t noise = 12345;
    for (int i = 0; i < frames; ++i) {
        const float tone = 0.5f * static_cast<float>(std::sin(2 * M_PI * 1000.0 * i / rate));
        float l = tone, r = -tone;
        if (i >= rate / 2 && i < rate) {
            noise = noise * 1664525u + 1013904223u;
            const float burst = 4.0f * (static_cast<float>(noise >> 8) / 8388608.0f - 1.0f);
            l += burst, r -= 0.5f * burst;
        }
        in[static_cast<size_t>(2 * i)] = l, in[static_cast<size_t>(2 * i + 1)] = r;
    }
    TLimiter limiter(rate);
    std::vector<float> out = in;
    // Uneven blocks, as the mixer may hand them over.
    for (int at = 0, block = 1; at < frames; at += block, block = block * 7 % 1500 + 1)
        limiter.Process(out.data() + 2 * at, std::min(block, frames - at));
    const int delay = limiter.Delay();
    float peak = 0;
    for (float v : out) peak = std::max(peak, std::abs(v));
    EXPECT_LE(peak, limiter.Ceiling() + 1e-6f);
    for (int i = 0; i < rate / 2 - delay; ++i)
        ASSERT_EQ(out[static_cast<size_t>(2 * (i + delay))], in[static_cast<size_t>(2 * i)]) << i;
    // 0.6 s after the bursts the gain is back: the tone passes within 0.1 dB.
    for (int i = rate * 16 / 10; i < frames - delay; ++i)
        ASSERT_NEAR(out[static_cast<size_t>(2 * (i + delay))], in[static_cast<size_t>(2 * i)],
                    0.006)
            << i;
    const TLimiter::TMeter m = limiter.TakeMeter();
    EXPECT_GT(m.PeakIn, 3.0f);
    EXPECT_LE(m.PeakOut, limiter.Ceiling() + 1e-6f);
    EXPECT_LT(m.MinGain, 0.3f);
    EXPECT_EQ(m.Clamped, 0);
    EXPECT_EQ(limiter.TakeMeter().PeakIn, 0.0f) << "taking the meter starts it afresh";
}

TEST(Resample, ChangesPitchAndLengthTogetherKeepsLoopsRoundAndFoldsNothingBack) {
    const auto tone = [](double hz, int frames) {
        std::vector<float> s(static_cast<size_t>(2 * frames));
        for (int i = 0; i < frames; ++i)
            s[static_cast<size_t>(2 * i)] = s[static_cast<size_t>(2 * i + 1)] =
                static_cast<float>(0.5 * std::sin(2 * M_PI * hz * i / 44100));
        return s;
    };
    const auto crossings = [](const std::vector<float>& s) {
        int n = 0;
        for (size_t i = 2; i < s.size(); i += 2) n += (s[i - 2] < 0) != (s[i] < 0);
        return n;
    };
    // A semitone up: 467.2 Hz, and 1/1.0595 of the length.
    const double up = std::pow(2.0, 1.0 / 12);
    const std::vector<float> in = tone(441, 44100);
    const std::vector<float> out = Resample(in.data(), 44100, 2, up, false);
    EXPECT_EQ(out.size(), 2 * static_cast<size_t>(std::lround(44100 / up)));
    EXPECT_NEAR(crossings(out) / 2.0 / (out.size() / 2 / 44100.0), 441 * up, 1.0);

    // A loop of exactly 40 cycles, a semitone down: the step from its end to its start is no
    // larger than the steps inside.
    const std::vector<float> loop = tone(441, 4000);
    const std::vector<float> slow = Resample(loop.data(), 4000, 2, 1 / up, true);
    float largest = 0;
    for (size_t i = 2; i < slow.size(); i += 2)
        largest = std::max(largest, std::abs(slow[i] - slow[i - 2]));
    EXPECT_LE(std::abs(slow[0] - slow[slow.size() - 2]), largest * 1.05f);

    // Half as fast again: an 18 kHz tone would fold back to 4.05 kHz; it is filtered away.
    const std::vector<float> high = tone(18000, 8820);
    const std::vector<float> folded = Resample(high.data(), 8820, 2, 1.5, false);
    double power = 0;
    for (size_t i = 400; i + 400 < folded.size(); ++i)
        power += static_cast<double>(folded[i]) * folded[i];
    EXPECT_LT(std::sqrt(power / static_cast<double>(folded.size() - 800)), 0.005);
}

// What the mixer writes on SDL's "disk" output: a play at twice the rate sounds an octave up for
// half as long, and a stopped loop fades out instead of breaking off.
TEST_F(AudioTest, PlaysAtOtherRatesAndFadesOutWhenStopped) {
    WriteWav(dir_ / "tone.wav", 0.5, 441.0); // 100 samples a cycle
    const std::string raw = (dir_ / "out.raw").string();
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string driver = saved ? saved : "";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    {
        auto audio = Make();
        ASSERT_TRUE(audio->Init(1, 44100, 0, nullptr));
        audio->Start();
        const uint32_t tone = audio->SampleLoad((dir_ / "tone.wav").string(), 4, audLoop);
        ASSERT_NE(tone, 0u);
        EXPECT_NE(audio->SamplePlayEx(tone, 0, 2 * audSampleRate, 100, 0, 0, 1.0f), 0u);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        EXPECT_NE(audio->SamplePlayEx(tone, 0, audDefaultRate, 100, 0, 1, 1.0f), 0u);
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        EXPECT_TRUE(audio->SampleStop(tone));
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    if (saved)
        setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");

    std::ifstream file(raw, std::ios::binary);
    std::vector<float> left;
    float frame[2];
    while (file.read(reinterpret_cast<char*>(frame), sizeof frame)) left.push_back(frame[0]);
    // The sounding stretches, split by silences of at least 50 ms.
    std::vector<std::pair<size_t, size_t>> runs;
    size_t quiet = 0;
    for (size_t i = 0; i < left.size(); ++i) {
        if (std::abs(left[i]) < 1e-4f) {
            ++quiet;
            continue;
        }
        if (runs.empty() || quiet >= 2205)
            runs.push_back({i, i + 1});
        else
            runs.back().second = i + 1;
        quiet = 0;
    }
    ASSERT_EQ(runs.size(), 2u);
    const auto [start, end] = runs[0];
    EXPECT_NEAR(static_cast<double>(end - start) / 44100, 0.25, 0.01);
    int crossings = 0;
    for (size_t i = start + 1; i < end; ++i) crossings += (left[i - 1] < 0) != (left[i] < 0);
    EXPECT_NEAR(crossings / 2.0 / ((end - start) / 44100.0), 882.0, 882.0 * 0.02);

    // The loop: full level, then down to nothing within 20-50 ms, never a step larger than the
    // tone's own.
    const auto [loopStart, loopEnd] = runs[1];
    float level = 0, step = 0;
    for (size_t i = loopStart; i < loopStart + 4410; ++i)
        level = std::max(level, std::abs(left[i]));
    EXPECT_GT(level, 0.45f);
    for (size_t i = loopStart + 1; i < loopEnd; ++i)
        step = std::max(step, std::abs(left[i] - left[i - 1]));
    EXPECT_LT(step, 0.5f * 2 * static_cast<float>(M_PI) / 100 * 1.1f);
    size_t lastFull = loopStart;
    for (size_t i = loopStart; i < loopEnd; ++i)
        if (std::abs(left[i]) > 0.9f * level) lastFull = i;
    const double fade = static_cast<double>(loopEnd - lastFull) / 44100;
    EXPECT_GT(fade, 0.015);
    EXPECT_LT(fade, 0.05);
}

// The music under a duck, on the disk output: 4 dB down while it holds, then back.
TEST_F(AudioTest, MusicDucksAndComesBack) {
    WriteWav(dir_ / "music.wav", 1.0, 441.0);
    const std::string raw = (dir_ / "music.raw").string();
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string driver = saved ? saved : "";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    {
        auto audio = Make();
        ASSERT_TRUE(audio->Init(1, 44100, 0, nullptr));
        const uint32_t music = audio->StreamCreateFile((dir_ / "music.wav").string(), 0);
        ASSERT_NE(music, 0u);
        EXPECT_TRUE(audio->StreamPlay(music, false, audLoop));
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        audio->DuckMusic(4.0f, 400);
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    }
    if (saved)
        setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");

    std::ifstream file(raw, std::ios::binary);
    std::vector<float> peaks; // per 50 ms
    float frame[2], peak = 0;
    for (long i = 0; file.read(reinterpret_cast<char*>(frame), sizeof frame); ++i) {
        peak = std::max(peak, std::abs(frame[0]));
        if (i % 2205 == 2204) peaks.push_back(peak), peak = 0;
    }
    ASSERT_GT(peaks.size(), 30u);
    const float full = peaks[3], lowest = *std::min_element(peaks.begin() + 3, peaks.end());
    EXPECT_GT(full, 0.3f);
    EXPECT_NEAR(20 * std::log10(lowest / full), -4.0, 0.5);
    EXPECT_NEAR(peaks[peaks.size() - 2], full, 0.02f) << "back at full level";
}

// The volume settings on the disk output: equal steps of the setting are equal steps in dB
// (3 dB for every 10: 50 is 15 dB under 100), 0 is silent; and a duck asked while a deeper one
// holds leaves it deep.
TEST_F(AudioTest, VolumesFollowTheDecibelLawAndDucksMerge) {
    WriteWav(dir_ / "tone.wav", 0.3, 441.0);
    WriteWav(dir_ / "music.wav", 1.0, 441.0);
    const std::string raw = (dir_ / "law.raw").string();
    const char* saved = std::getenv("SDL_AUDIODRIVER");
    const std::string driver = saved ? saved : "";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    {
        auto audio = Make();
        ASSERT_TRUE(audio->Init(1, 44100, 0, nullptr));
        audio->Start();
        const uint32_t tone = audio->SampleLoad((dir_ / "tone.wav").string(), 4, 0);
        ASSERT_NE(tone, 0u);
        for (int32_t volume : {100, 50, 0}) {
            EXPECT_NE(audio->SamplePlayEx(tone, 0, audDefaultRate, volume, 0, 0, 1.0f), 0u);
            std::this_thread::sleep_for(std::chrono::milliseconds(500));
        }
        const uint32_t music = audio->StreamCreateFile((dir_ / "music.wav").string(), 0);
        ASSERT_TRUE(audio->StreamPlay(music, false, audLoop));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        audio->DuckMusic(8.0f, 600);
        audio->DuckMusic(2.0f, 100);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    if (saved)
        setenv("SDL_AUDIODRIVER", driver.c_str(), 1);
    else
        unsetenv("SDL_AUDIODRIVER");
    unsetenv("SDL_DISKAUDIOFILE");

    std::ifstream file(raw, std::ios::binary);
    std::vector<float> left;
    float frame[2];
    while (file.read(reinterpret_cast<char*>(frame), sizeof frame)) left.push_back(frame[0]);
    // The sounding stretches, split by silences of at least 50 ms: the plays at 100 and 50, none
    // for the play at 0, then the music.
    std::vector<std::pair<size_t, size_t>> runs;
    size_t quiet = 0;
    for (size_t i = 0; i < left.size(); ++i) {
        if (std::abs(left[i]) < 1e-5f) {
            ++quiet;
            continue;
        }
        if (runs.empty() || quiet >= 2205)
            runs.push_back({i, i + 1});
        else
            runs.back().second = i + 1;
        quiet = 0;
    }
    ASSERT_EQ(runs.size(), 3u);
    const auto peak = [&](std::pair<size_t, size_t> run) {
        float p = 0;
        for (size_t i = run.first; i < run.second; ++i) p = std::max(p, std::abs(left[i]));
        return p;
    };
    ASSERT_GT(peak(runs[0]), 0.4f);
    EXPECT_NEAR(20 * std::log10(peak(runs[1]) / peak(runs[0])), -15.0, 0.3);
    // A sounding play at 0 would be a run of its own or lengthen the one at 50 (the disk output
    // runs behind the test's clock on a loaded machine, so the gap's length proves nothing).
    EXPECT_LT(runs[1].second - runs[1].first, 44100 * 4 / 10) << "the play at 0 is silent";
    // The music's last 100 ms: still 8 dB down, not 2.
    float music = 0;
    for (size_t i = left.size() - 4410; i < left.size(); ++i)
        music = std::max(music, std::abs(left[i]));
    EXPECT_NEAR(20 * std::log10(music / 0.5f), -8.0, 1.0);
}
