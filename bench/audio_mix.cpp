// Renders the loud moments of a game through the real mixer and reports what leaves it: the game
// field's own bomb and line code plays the generated sounds through the sound bank into SDL_mixer,
// whose output SDL's "disk" driver writes to a file in real time.
// Usage: audio_mix <data folder> <work folder>. Prints one line per moment and leaves
// <work folder>/<moment>.wav for bench/audio.sh to measure.
#include "fx/SoundBank.h"
#include "game/GameField.h"
#include "game/Random.h"
#include "platform/Audio.h"
#include "state/GameState.h"
#include "state/OptionsState.h"
#include "state/ShellState.h"
#include "view/FieldSounds.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kRate = 44100;

struct TMoment {
    const char* Name;
    int Neighbours; // balls round the bomb
    bool Line;      // a seven-ball line clears with it
    int Music, Sound;
    bool Bypass; // the output limiter off
};

const TMoment kMoments[] = {
    {"bomb2", 2, false, 50, 75, false},           {"bomb4", 4, false, 50, 75, false},
    {"bomb8", 8, false, 50, 75, false},           {"worst", 8, true, 100, 100, false},
    {"worst_unlimited", 8, true, 100, 100, true},
};

// The field for a moment: a bomb at (4, 4) with `neighbours` balls of different colours round it,
// and, with `line`, seven balls of one colour along the top row.
void Lay(TGameField& field, const TMoment& m) {
    field.Clear();
    field.Cell(4, 4) = BallKinds[kindEntryBomb];
    const int around[8][2] = {{3, 3}, {4, 3}, {5, 3}, {3, 4}, {5, 4}, {3, 5}, {4, 5}, {5, 5}};
    for (int i = 0; i < m.Neighbours; ++i)
        field.Cell(around[i][0], around[i][1]) = BallKinds[static_cast<size_t>(1 + i % 7)];
    if (m.Line)
        for (int x = 0; x < 7; ++x) field.Cell(x, 0) = BallKinds[1];
}

void WriteWav(const std::string& path, const std::vector<float>& samples) {
    std::ofstream out(path, std::ios::binary);
    const auto put = [&out](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF));
    };
    const uint32_t data = static_cast<uint32_t>(samples.size() * 4);
    out << "RIFF";
    put(50 + data, 4);
    out << "WAVEfmt ";
    put(18, 4);
    put(3, 2); // IEEE float
    put(2, 2);
    put(kRate, 4);
    put(kRate * 8, 4);
    put(8, 2);
    put(32, 2);
    put(0, 2); // no further format bytes
    out << "fact";
    put(4, 4);
    put(static_cast<uint32_t>(samples.size() / 2), 4);
    out << "data";
    put(data, 4);
    out.write(reinterpret_cast<const char*>(samples.data()), static_cast<std::streamsize>(data));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: audio_mix <data folder> <work folder>\n");
        return 2;
    }
    const std::string data = argv[1], work = argv[2];
    std::printf("%-16s %5s %5s %10s %10s %8s %9s\n", "moment", "music", "sound", "peak in",
                "peak out", "gain", "clamped");
    for (const TMoment& m : kMoments) {
        const std::string raw = work + "/" + m.Name + ".raw";
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
        ResetShellState();
        Options.MusicVolume = m.Music;
        Options.SoundVolume = m.Sound;
        TMixMeter meter;
        {
            auto audio = CreateSdlAudio();
            if (!audio->Init(1, kRate, 0, nullptr)) {
                std::fprintf(stderr, "audio_mix: no disk output\n");
                return 1;
            }
            audio->Start();
            audio->BypassLimiter(m.Bypass);
            TSoundBank bank(audio.get());
            std::string error;
            if (!bank.Load(data + "/sounds.txt", data, &error)) {
                std::fprintf(stderr, "audio_mix: %s\n", error.c_str());
                return 1;
            }
            SoundBank = &bank;
            TGameField field(9, 9, ScreenGameContext());
            GameField = &field;
            TFieldSounds sounds;
            field.AddListener(&sounds);
            RandSeed(7);
            Lay(field, m);
            bank.StartMusic(data + "/music/theme.ogg");
            std::this_thread::sleep_for(std::chrono::milliseconds(1500));
            audio->TakeMixMeter();
            field.ExplodeBomb(4, 4, kindBomb);
            field.ClearMatches();
            std::this_thread::sleep_for(std::chrono::milliseconds(2500));
            meter = audio->TakeMixMeter();
            GameField = nullptr;
            SoundBank = nullptr;
        }
        std::ifstream in(raw, std::ios::binary);
        std::vector<float> samples;
        float v = 0;
        while (in.read(reinterpret_cast<char*>(&v), sizeof v)) samples.push_back(v);
        float peak = 0;
        long clamped = 0;
        for (float s : samples) {
            peak = std::max(peak, std::abs(s));
            clamped += std::abs(s) >= 1.0f;
        }
        WriteWav(work + "/" + m.Name + ".wav", samples);
        std::remove(raw.c_str());
        const auto db = [](float x) { return 20.0 * std::log10(std::max(x, 1e-9f)); };
        std::printf("%-16s %5d %5d %7.1f dB %7.1f dB %5.1f dB %6.1f ms\n", m.Name, m.Music, m.Sound,
                    db(meter.PeakIn), db(peak), db(meter.MinGain), clamped * 1000.0 / 2 / kRate);
    }
    return 0;
}
