// The sound list and every OGG file it names, decoded the way the audio layer decodes them.
#include "tools/artgen/Analysis.h"
#include "tools/artgen/Loudness.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kData = VO_GAME_DATA_DIR;

struct TEntry {
    std::string Name, Path, Number;
};

std::vector<TEntry> ReadSoundList() {
    std::ifstream in(kData + "/sounds.txt", std::ios::binary);
    std::vector<TEntry> entries;
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t a = line.find('\t'), b = line.find('\t', a + 1);
        EXPECT_NE(a, std::string::npos) << line;
        EXPECT_NE(b, std::string::npos) << line;
        if (a == std::string::npos || b == std::string::npos) continue;
        entries.push_back({line.substr(0, a), line.substr(a + 1, b - a - 1), line.substr(b + 1)});
    }
    return entries;
}

// Decodes a whole OGG file to interleaved floats; false when libvorbisfile refuses it.
bool Decode(const std::string& path, std::vector<float>& samples, int& channels, long& rate) {
    OggVorbis_File vf;
    if (ov_fopen(path.c_str(), &vf) != 0) return false;
    const vorbis_info* info = ov_info(&vf, -1);
    channels = info->channels;
    rate = info->rate;
    samples.clear();
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n < 0) {
            ov_clear(&vf);
            return false;
        }
        if (n == 0) break;
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c) samples.push_back(pcm[c][i]);
    }
    ov_clear(&vf);
    return true;
}

double Rms(const std::vector<float>& s) {
    double sum = 0;
    for (float v : s) sum += static_cast<double>(v) * v;
    return s.empty() ? 0 : std::sqrt(sum / static_cast<double>(s.size()));
}

double TruePeak(const std::vector<float>& samples, int channels) {
    artgen::TSound sound;
    sound.Channels = channels;
    sound.Samples = samples;
    return artgen::TruePeakDb(sound);
}

TEST(GeneratedSounds, ListHasEveryNameWithReadableFields) {
    const std::vector<TEntry> entries = ReadSoundList();
    std::set<std::string> names;
    for (const TEntry& e : entries) {
        SCOPED_TRACE(e.Name);
        names.insert(e.Name);
        char* end = nullptr;
        std::strtod(e.Number.c_str(), &end);
        EXPECT_FALSE(e.Number.empty());
        EXPECT_EQ(*end, '\0') << "not a decimal number: " << e.Number;
        ASSERT_EQ(e.Path.rfind("./sounds/", 0), 0u) << e.Path;
        EXPECT_TRUE(std::filesystem::exists(kData + "/" + e.Path.substr(2))) << e.Path;
    }
    for (const char* n : {"s_app", "s_disapp", "s_disapp2", "s_disapp3", "s_ballmove", "s_pin",
                          "s_click", "s_hover", "s_press", "s_paint"})
        EXPECT_TRUE(names.count(n)) << n;
    for (int n = 1; n <= 23; ++n)
        for (const char* table : {"_a", "_b", "_c", "_d", "_h", "_f"})
            EXPECT_TRUE(names.count(table + std::to_string(n))) << table << n;
    for (int n = 1; n <= 22; ++n)
        for (const char* table : {"_r", "_o"}) EXPECT_TRUE(names.count(table + std::to_string(n)));
}

// What every shipped file must be as decoded: audible and short; in key (every line of its
// spectrum within 20 dB of the strongest on a note of D major, within 25 cents); no DC; no peak
// more than 10 dB over the loudest 50 ms; a one-shot died away to -70 dBFS by its last 10 ms.
// Rewards are stereo (the channels' correlation 0.5-0.95) with 1 % of their power above 6 kHz;
// the bomb keeps its loudness through a small speaker's 200 Hz high-pass (3 LU lost at most).
TEST(GeneratedSounds, EverySoundDecodesInKeyCleanAndRewardsWideAndBright) {
    std::set<std::string> files;
    for (const TEntry& e : ReadSoundList()) files.insert(e.Path.substr(2));
    for (const char* fixed : {"sounds/h_bomb.ogg", "sounds/a_bomb.ogg", "sounds/Bomb_boom.ogg"})
        files.insert(fixed);
    const std::set<std::string> rewards = {
        "sounds/clear1.ogg",  "sounds/clear2.ogg",    "sounds/clear3.ogg", "sounds/paint.ogg",
        "sounds/shatter.ogg", "sounds/Bomb_boom.ogg", "sounds/chain2.ogg", "sounds/chain3.ogg",
        "sounds/chain4.ogg",  "sounds/chain5.ogg",    "sounds/chain6.ogg", "sounds/big.ogg",
        "sounds/record.ogg",  "sounds/multiply.ogg"};
    for (const std::string& f : files) {
        SCOPED_TRACE(f);
        artgen::TSound s;
        long rate = 0;
        ASSERT_TRUE(Decode(kData + "/" + f, s.Samples, s.Channels, rate));
        EXPECT_EQ(rate, 44100);
        const double seconds = static_cast<double>(s.Frames()) / rate;
        EXPECT_GT(seconds, 0.03);
        EXPECT_LT(seconds, 3.0); // short effects
        EXPECT_GT(Rms(s.Samples), 0.003);
        EXPECT_LE(TruePeak(s.Samples, s.Channels), -1.0) << "dBTP as decoded";

        const artgen::TSpectrum spectrum = artgen::PowerSpectrum(s);
        for (const artgen::TPeak& p : artgen::SpectralPeaks(spectrum))
            EXPECT_LE(std::abs(p.Cents), 25.0) << p.Hz << " Hz, " << p.Db << " dB";
        EXPECT_LT(artgen::DcOffset(s), 1e-4);
        EXPECT_LE(artgen::CrestDb(s), 10.0);
        if (f != "sounds/roll.ogg" && f != "sounds/a_bomb.ogg") {
            EXPECT_LE(artgen::TailDb(s), -70.0);
        }
        if (rewards.count(f)) {
            ASSERT_EQ(s.Channels, 2);
            EXPECT_GE(artgen::Correlation(s), 0.5);
            EXPECT_LE(artgen::Correlation(s), 0.95);
            EXPECT_GE(artgen::Balance(spectrum).Above6k, 0.01);
        }
    }
    artgen::TSound boom;
    long rate = 0;
    ASSERT_TRUE(Decode(kData + "/sounds/Bomb_boom.ogg", boom.Samples, boom.Channels, rate));
    EXPECT_LE(artgen::HighPassLoss(boom), 3.0);
}

// The theme as decoded: under -1 dBTP, in key, and with air: 0.5-2 % of its power above 4 kHz, at
// most 40 % under 250 Hz, its centroid at 600 Hz or more.
TEST(GeneratedSounds, ThemeIsInKeyAndBright) {
    artgen::TSound theme;
    long rate = 0;
    ASSERT_TRUE(Decode(kData + "/music/theme.ogg", theme.Samples, theme.Channels, rate));
    EXPECT_LE(TruePeak(theme.Samples, theme.Channels), -1.0) << "dBTP as decoded";
    const artgen::TSpectrum spectrum = artgen::PowerSpectrum(theme);
    for (const artgen::TPeak& p : artgen::SpectralPeaks(spectrum))
        EXPECT_LE(std::abs(p.Cents), 25.0) << p.Hz << " Hz";
    const artgen::TBalance b = artgen::Balance(spectrum);
    EXPECT_GE(b.Above4k, 0.005);
    EXPECT_LE(b.Above4k, 0.02);
    EXPECT_LE(b.Below250, 0.40);
    EXPECT_GE(b.CentroidHz, 600.0);
    EXPECT_LT(artgen::DcOffset(theme), 1e-4);
    EXPECT_LE(artgen::CrestDb(theme), 10.0);
}

// A looping sound must end where it begins: the jump from the last frame to the first is no
// larger than the largest step inside the sound.
void ExpectSeamlessLoop(const std::string& file, double minSeconds) {
    SCOPED_TRACE(file);
    std::vector<float> s;
    int channels = 0;
    long rate = 0;
    ASSERT_TRUE(Decode(kData + "/" + file, s, channels, rate));
    const size_t frames = s.size() / static_cast<size_t>(channels);
    EXPECT_GE(static_cast<double>(frames) / rate, minSeconds);
    EXPECT_GT(Rms(s), 0.02);
    for (int c = 0; c < channels; ++c) {
        double largest = 0;
        for (size_t i = 1; i < frames; ++i)
            largest = std::max(largest, std::abs(static_cast<double>(s[i * channels + c]) -
                                                 s[(i - 1) * channels + c]));
        const double seam = std::abs(static_cast<double>(s[c]) - s[(frames - 1) * channels + c]);
        EXPECT_LE(seam, largest) << "channel " << c;
    }
}

TEST(GeneratedSounds, ThemeIsALongLoop) {
    ExpectSeamlessLoop("music/theme.ogg", 150.0);
}

TEST(GeneratedSounds, LoopingEffectsLoopCleanly) {
    ExpectSeamlessLoop("sounds/roll.ogg", 0.3);
    ExpectSeamlessLoop("sounds/a_bomb.ogg", 0.3);
}

} // namespace
