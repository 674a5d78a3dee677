// Synthesis and encoding: every effect of the sound list, the theme's loop, and the encoder.
#include "tools/artgen/Audio.h"
#include "platform/VolumeLaw.h"
#include "state/OptionsState.h"
#include "tools/artgen/Loudness.h"
#include "tools/artgen/Synth.h"
#include "tools/artgen/Texts.h"
#include "ui/VOStrings.h"

#include <gtest/gtest.h>
#include <vorbis/vorbisfile.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>

namespace {

using namespace artgen;

struct TMemory {
    const std::string* Data;
    size_t Pos = 0;
};

size_t Read(void* ptr, size_t size, size_t n, void* src) {
    auto* m = static_cast<TMemory*>(src);
    const size_t bytes = std::min(size * n, m->Data->size() - m->Pos);
    std::memcpy(ptr, m->Data->data() + m->Pos, bytes);
    m->Pos += bytes;
    return size ? bytes / size : 0;
}

// Decodes an OGG held in memory.
std::vector<float> Decode(const std::string& ogg, int& channels) {
    TMemory m{&ogg};
    ov_callbacks cb{Read, nullptr, nullptr, nullptr};
    OggVorbis_File vf;
    std::vector<float> out;
    if (ov_open_callbacks(&m, &vf, nullptr, 0, cb) != 0) return out;
    channels = ov_info(&vf, -1)->channels;
    for (;;) {
        float** pcm = nullptr;
        int section = 0;
        const long n = ov_read_float(&vf, &pcm, 4096, &section);
        if (n <= 0) break;
        for (long i = 0; i < n; ++i)
            for (int c = 0; c < channels; ++c) out.push_back(pcm[c][i]);
    }
    ov_clear(&vf);
    return out;
}

TSound Sine(double hz, double seconds) {
    TSound s;
    s.Samples.resize(static_cast<size_t>(seconds * kRate));
    for (size_t i = 0; i < s.Samples.size(); ++i)
        s.Samples[i] = static_cast<float>(0.5 * std::sin(2 * M_PI * hz * i / kRate));
    return s;
}

TEST(OggEncoder, KeepsLengthAndPitchAndIsRepeatable) {
    const TSound tone = Sine(440, 0.5);
    std::string a, b, error;
    ASSERT_TRUE(EncodeOgg(tone, 0.4f, 1234, a, &error)) << error;
    ASSERT_TRUE(EncodeOgg(tone, 0.4f, 1234, b, &error)) << error;
    EXPECT_EQ(a, b);
    ASSERT_GT(a.size(), 28u);
    uint32_t serial = 0;
    std::memcpy(&serial, a.data() + 14, 4); // the first page header's stream serial
    EXPECT_EQ(serial, 1234u);
    int channels = 0;
    const std::vector<float> pcm = Decode(a, channels);
    ASSERT_EQ(channels, 1);
    EXPECT_EQ(pcm.size(), tone.Samples.size());
    int crossings = 0;
    for (size_t i = 1; i < pcm.size(); ++i) crossings += (pcm[i - 1] < 0) != (pcm[i] < 0);
    EXPECT_NEAR(crossings / 2.0 / 0.5, 440.0, 6.0);
}

TEST(Effects, EveryListedFileHasAnAudibleShortSound) {
    std::set<std::string> files;
    for (const TSoundEntry& e : SoundList()) files.insert(e.File);
    for (const std::string& f : files) {
        SCOPED_TRACE(f);
        const TSound s = MakeEffect(f);
        ASSERT_GT(s.Frames(), 0);
        EXPECT_LT(s.Frames(), 3 * kRate);
        float peak = 0;
        for (float v : s.Samples) peak = std::max(peak, std::abs(v));
        EXPECT_GT(peak, 0.05f);
        EXPECT_LE(peak, 1.0f);
        // Effects end in silence (no click when they stop), except the two loops.
        if (f != "sounds/roll.ogg" && f != "sounds/a_bomb.ogg") {
            EXPECT_LT(std::abs(s.Samples.back()), 0.02f);
        }
    }
}

TEST(Effects, SelectionVariantsRiseInPitch) {
    // a, b, c, d are the chord tones of the family: each variant crosses zero more often.
    int previous = 0;
    for (char v : {'a', 'b', 'c', 'd'}) {
        const TSound s = MakeEffect(std::string("sounds/sel_c3_") + v + ".ogg");
        int crossings = 0;
        for (int i = 1; i < kRate / 10; ++i)
            crossings += (s.Samples[static_cast<size_t>(i - 1)] < 0) !=
                         (s.Samples[static_cast<size_t>(i)] < 0);
        EXPECT_GT(crossings, previous) << v;
        previous = crossings;
    }
}

TEST(Theme, IsAStereoLoopOfTwoAndAHalfMinutesWithItsLevelsAndItsSections) {
    const TSound t = MakeTheme();
    ASSERT_EQ(t.Channels, 2);
    EXPECT_GE(t.Frames(), 150 * kRate);
    double largest = 0;
    for (int i = 1; i < t.Frames(); ++i)
        largest =
            std::max(largest, std::abs(static_cast<double>(t.Samples[static_cast<size_t>(2 * i)]) -
                                       t.Samples[static_cast<size_t>(2 * i - 2)]));
    const double seam = std::abs(static_cast<double>(t.Samples[0]) -
                                 t.Samples[static_cast<size_t>(2 * t.Frames() - 2)]);
    EXPECT_LT(seam, largest * 0.5);
    // -20 LUFS in game at music volume 50 (-6 dB), under -1 dBTP, and sections that differ in
    // loudness (3-6 LU), yet it never falls silent.
    const TLoudness m = Measure(t, true);
    EXPECT_NEAR(m.Integrated, -14.0, 0.5);
    EXPECT_LE(m.TruePeak, -1.5);
    EXPECT_GE(m.Range, 3.0);
    EXPECT_LE(m.Range, 6.0);
    for (int second = 0; second + 1 < t.Frames() / kRate; ++second) {
        double sum = 0;
        for (int i = second * kRate; i < (second + 1) * kRate; ++i)
            sum += std::abs(t.Samples[static_cast<size_t>(2 * i)]);
        EXPECT_GT(sum / kRate, 0.005) << "second " << second;
    }
}

// The mix the player hears: the loudest 100 ms of each effect, in game at the default sound
// volume (a mono file on both channels, +3 dB), against the theme at the default music volume.
TEST(Effects, ClassesKeepTheirLoudnessAndTheFuseItsHighsDown) {
    const TOptionsState defaults;
    const auto volumeDb = [](int32_t volume) { return 20 * std::log10(VolumeGain(volume)); };
    const auto inGame = [&](const std::string& file) {
        const TSound s = MakeEffect("sounds/" + file + ".ogg");
        return Measure(s).ShortMax + volumeDb(defaults.SoundVolume) + (s.Channels == 1 ? 3.01 : 0);
    };
    const double music = -14.0 + volumeDb(defaults.MusicVolume);
    double lowestInterface = 0, highestInterface = -99;
    for (const char* f : {"click", "hover", "key"}) {
        const double l = inGame(f);
        lowestInterface = std::min(lowestInterface, l);
        highestInterface = std::max(highestInterface, l);
    }
    EXPECT_GE(lowestInterface - music, 3.0);
    EXPECT_LE(highestInterface - music, 6.0);
    EXPECT_LE(highestInterface - lowestInterface, 6.0);
    const double clear1 = inGame("clear1");
    double lowestReward = clear1, highestReward = clear1;
    for (const char* f : {"clear2", "clear3", "paint", "Bomb_boom"}) {
        lowestReward = std::min(lowestReward, inGame(f));
        highestReward = std::max(highestReward, inGame(f));
    }
    EXPECT_LE(highestReward - lowestReward, 6.0);
    // A move's end (landing, the last corner, new balls) 4 LU under the smallest reward even if
    // the three peaked together.
    double arrival = 0;
    for (const char* f : {"appear", "land", "turn"}) arrival += std::pow(10.0, inGame(f) / 10);
    EXPECT_LE(10 * std::log10(arrival), lowestReward - 4.0);
    EXPECT_LE(inGame("roll"), lowestReward - 4.0);

    // Every file under the ceiling before encoding; the fuse keeps under 10 % of its power above
    // 8 kHz (four poles of high-pass there).
    std::set<std::string> files;
    for (const TSoundEntry& e : SoundList()) files.insert(e.File);
    for (const std::string& f : files) EXPECT_LE(TruePeakDb(MakeEffect(f)), -1.5) << f;
    const TSound fuse = MakeEffect("sounds/a_bomb.ogg");
    synth::TBiquad hp1(synth::TBiquad::HighPass, 8000, 0.54),
        hp2(synth::TBiquad::HighPass, 8000, 1.31);
    double all = 0, high = 0;
    for (float v : fuse.Samples) {
        const double h = hp2.Run(hp1.Run(v));
        all += static_cast<double>(v) * v;
        high += h * h;
    }
    EXPECT_LT(high / all, 0.10);
}

TEST(SoundList, NamesEveryTableEntryOnce) {
    std::set<std::string> names;
    for (const TSoundEntry& e : SoundList()) {
        EXPECT_TRUE(names.insert(e.Name).second) << e.Name << " twice";
        EXPECT_EQ(e.File.rfind("sounds/", 0), 0u);
    }
    EXPECT_EQ(names.size(), 18u + 23 * 6 + 22 * 2);
    const std::string file = SoundsFile();
    EXPECT_NE(file.find("_a23\t./sounds/a_bomb.ogg\t1.0\r\n"), std::string::npos);
    EXPECT_NE(file.find("_h23\t./sounds/h_bomb.ogg\t1.0\r\n"), std::string::npos);
    EXPECT_NE(file.find("_f23\t./sounds/Bomb_boom.ogg\t1.0\r\n"), std::string::npos);
}

TEST(StringsFile, UsesTheKeyFormatAndPlainAsciiButTheTimesSign) {
    const TTexts texts;
    const std::string file = texts.StringsFile();
    // The chain's callout and a tip write the times sign, 0xD7 in Windows-1252; the replays'
    // legend their mark, the double angle quotation mark 0xBB.
    for (unsigned char ch : file)
        EXPECT_TRUE(ch == '\r' || ch == '\n' || (ch >= 32 && ch < 127) || ch == 0xD7 || ch == 0xBB);
    EXPECT_NE(file.find("$MainCaption\r\nVelm Orra\r\n"), std::string::npos);
    for (const TDialogText& d : texts.Dialogs()) {
        std::string block = "@" + d.Name + "_Text\r\n{\r\n";
        for (const std::string& l : d.Lines) block += l + "\r\n";
        block += "}\r\n";
        EXPECT_NE(file.find(block), std::string::npos) << d.Name;
        // A text line that reads as "}" would end its list early.
        for (const std::string& l : d.Lines) EXPECT_NE(l, "}");
    }
    // The game's built-in English texts, shown for keys a string table lacks, are these.
    TVOStrings generated, builtIn;
    generated.LoadFromText(file);
    builtIn.LoadFromText("");
    EXPECT_EQ(builtIn.MainCaption, generated.MainCaption);
    EXPECT_EQ(builtIn.Options, generated.Options);
    EXPECT_EQ(builtIn.HighScores, generated.HighScores);
    EXPECT_EQ(builtIn.Help, generated.Help);
    EXPECT_EQ(builtIn.Kids + builtIn.Normal + builtIn.Proff,
              generated.Kids + generated.Normal + generated.Proff);
    const auto dialogs = [](const TVOStrings& s) {
        return std::vector<std::vector<std::string>>{
            {s.Exit_Caption},
            s.Exit_Text,
            {s.New_Caption},
            s.New_Text,
            {s.Old_Caption},
            s.Old_Text,
            {s.Clear_Caption},
            s.Clear_Text,
            {s.EnterName_Caption},
            s.EnterName_Text,
            {s.LowScore_Caption},
            s.LowScore_Text,
            {s.FullScreen_Caption},
            s.FullScreen_Text,
            {s.ResetStats_Caption},
            s.ResetStats_Text,
            {s.NewGameHint, s.FinalScore, s.FinalPlace, s.Statistics},
            s.Places,
            s.StatisticsRows,
            {s.ExitKeep_Caption},
            s.ExitKeep_Text,
            {s.GameOverReason, s.EnterNameChoice, s.NewBest},
            s.SummaryRows,
            {s.ReplayLegend, s.ReplayHead, s.ReplayKeys, s.ReplayPaused, s.LastSeed,
             s.DailyResult}};
    };
    EXPECT_EQ(dialogs(builtIn), dialogs(generated));
}

} // namespace
