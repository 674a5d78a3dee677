// The sound list and every OGG file it names, decoded the way the audio layer decodes them.
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

TEST(GeneratedSounds, EverySoundDecodesAndIsAudible) {
    std::set<std::string> files;
    for (const TEntry& e : ReadSoundList()) files.insert(e.Path.substr(2));
    for (const char* fixed : {"sounds/h_bomb.ogg", "sounds/a_bomb.ogg", "sounds/Bomb_boom.ogg"})
        files.insert(fixed);
    for (const std::string& f : files) {
        SCOPED_TRACE(f);
        std::vector<float> s;
        int channels = 0;
        long rate = 0;
        ASSERT_TRUE(Decode(kData + "/" + f, s, channels, rate));
        EXPECT_EQ(rate, 44100);
        const double seconds = static_cast<double>(s.size()) / channels / rate;
        EXPECT_GT(seconds, 0.03);
        EXPECT_LT(seconds, 3.0); // short effects
        EXPECT_GT(Rms(s), 0.01);
        EXPECT_LE(TruePeak(s, channels), -1.0) << "dBTP as decoded";
    }
    std::vector<float> theme;
    int channels = 0;
    long rate = 0;
    ASSERT_TRUE(Decode(kData + "/music/theme.ogg", theme, channels, rate));
    EXPECT_LE(TruePeak(theme, channels), -1.0) << "the theme, dBTP as decoded";
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
