// Renders moments of a game through the real mixer and reports what leaves it: the game field's
// own rules play the generated sounds through the sound bank into SDL_mixer, whose output SDL's
// "disk" driver writes to a file in real time.
// Usage: audio_mix <data folder> <work folder>. Prints the figures of each moment and leaves
// <work folder>/<moment>.wav for bench/audio.sh to measure.
//
// Two groups: the loud moments (bombs, a bomb with a long line at full volume), whose peaks before
// and after the output limiter show that nothing clips; and the moves of a game with the music
// off, whose loudest 100 ms show whether a reward stands out from a plain move, with the music's
// duck each asks for.
#include "fx/SoundBank.h"
#include "game/GameField.h"
#include "game/Random.h"
#include "platform/Audio.h"
#include "state/GameState.h"
#include "state/OptionsState.h"
#include "state/ShellState.h"
#include "tools/artgen/Loudness.h"
#include "view/FieldSounds.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kRate = 44100;

// The audio layer with the deepest duck asked of it and the plays of one sample noted on the way.
class TWatch final : public IAudio {
public:
    explicit TWatch(IAudio& inner) : a_(inner) {}
    float Deepest = 0;
    uint32_t Counted = 0; // the sample whose plays are counted
    int Plays = 0;

    uint32_t GetVersion() override { return a_.GetVersion(); }
    bool Init(int32_t d, uint32_t f, uint32_t fl, TNativeWindow* w) override {
        return a_.Init(d, f, fl, w);
    }
    bool Start() override { return a_.Start(); }
    uint32_t SampleLoad(const std::string& p, uint32_t m, uint32_t f) override {
        return a_.SampleLoad(p, m, f);
    }
    uint32_t SamplePlayEx(uint32_t s, uint32_t st, int32_t f, int32_t v, int32_t p, int32_t l,
                          float g) override {
        if (s == Counted) ++Plays;
        return a_.SamplePlayEx(s, st, f, v, p, l, g);
    }
    bool SampleStop(uint32_t s) override { return a_.SampleStop(s); }
    uint32_t StreamCreateFile(const std::string& p, uint32_t f) override {
        return a_.StreamCreateFile(p, f);
    }
    bool ChannelSetAttributes(uint32_t h, int32_t f, int32_t v, int32_t p) override {
        return a_.ChannelSetAttributes(h, f, v, p);
    }
    bool StreamPlay(uint32_t h, bool fl, uint32_t f) override { return a_.StreamPlay(h, fl, f); }
    bool ChannelPause(uint32_t h) override { return a_.ChannelPause(h); }
    bool ChannelResume(uint32_t h) override { return a_.ChannelResume(h); }
    void DuckMusic(float db, int32_t ms) override {
        Deepest = std::max(Deepest, db);
        a_.DuckMusic(db, ms);
    }
    TMixMeter TakeMixMeter() override { return a_.TakeMixMeter(); }
    void BypassLimiter(bool b) override { a_.BypassLimiter(b); }

private:
    IAudio& a_;
};

// A move as the player makes it: the ball at (fromX, fromY) picked and sent to (toX, toY) at
// once, then the field's frames at 15 a second until the turn has resolved.
void Move(TGameField& field, int fromX, int fromY, int toX, int toY) {
    field.Click(fromX, fromY, 0);
    field.Click(toX, toY, 0);
    const auto frame = std::chrono::microseconds(1000000 / 15);
    auto next = std::chrono::steady_clock::now();
    for (int i = 0; i < 15 * 6 && (i < 3 || field.TurnTimer != kTurnIdle); ++i) {
        field.Update(1.0, 15);
        next += frame;
        std::this_thread::sleep_until(next);
    }
}

struct TMoment {
    std::string Name;
    int Music, Sound;
    bool Bypass; // the output limiter off
    std::function<void(TGameField&)> Play;
};

// The bomb at (4, 4) with `neighbours` balls of different colours round it and, with `line`,
// seven balls of one colour along the top row.
std::function<void(TGameField&)> Bomb(int neighbours, bool line) {
    return [=](TGameField& field) {
        field.Cell(4, 4) = BallKinds[kindEntryBomb];
        const int around[8][2] = {{3, 3}, {4, 3}, {5, 3}, {3, 4}, {5, 4}, {3, 5}, {4, 5}, {5, 5}};
        for (int i = 0; i < neighbours; ++i)
            field.Cell(around[i][0], around[i][1]) = BallKinds[static_cast<size_t>(1 + i % 7)];
        if (line)
            for (int x = 0; x < 7; ++x) field.Cell(x, 0) = BallKinds[1];
        field.ExplodeBomb(4, 4, kindBomb);
        field.ClearMatches();
    };
}

// A plain move that brings `balls` new balls: a ball of colour 2 sent across the field, turning
// corners round two balls in its way.
std::function<void(TGameField&)> PlainMove(int balls) {
    return [=](TGameField& field) {
        field.Cell(0, 0) = BallKinds[2];
        field.Cell(3, 0) = BallKinds[4];
        field.Cell(3, 2) = BallKinds[5];
        field.BallsPerTurn = balls;
        for (size_t i = 0; i < field.Preview.size(); ++i) field.Preview[i] = BallKinds[3 + i % 4];
        Move(field, 0, 0, 6, 1);
    };
}

// A move that completes a line of `length` balls of colour 1 along the bottom row (the moved ball
// last, at its left end), with a multiplier ball in it when `multiplier` (entry 19, 20 or 21),
// after `chain` line-making moves in a row.
std::function<void(TGameField&)> LineMove(int length, int multiplier, int chain) {
    return [=](TGameField& field) {
        for (int x = 1; x < length; ++x) field.Cell(x, 8) = BallKinds[1];
        if (multiplier) field.Cell(2, 8) = BallKinds[static_cast<size_t>(multiplier)];
        field.Cell(0, 4) = BallKinds[1];
        field.Cell(5, 3) = BallKinds[6];
        field.ChainCount = static_cast<uint8_t>(chain);
        field.BallsPerTurn = 3;
        Move(field, 0, 4, 0, 8);
    };
}

std::vector<float> ReadRaw(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<float> samples;
    float v = 0;
    while (in.read(reinterpret_cast<char*>(&v), sizeof v)) samples.push_back(v);
    return samples;
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

struct TResult {
    TMixMeter Meter;
    float Duck = 0;
    int NewBallSounds = 0;
    std::vector<float> Samples;
};

bool Render(const std::string& data, const std::string& raw, const TMoment& m, TResult& r) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", raw.c_str(), 1);
    ResetShellState();
    Options.MusicVolume = m.Music;
    Options.SoundVolume = m.Sound;
    {
        auto audio = CreateSdlAudio();
        if (!audio->Init(1, kRate, 0, nullptr)) {
            std::fprintf(stderr, "audio_mix: no disk output\n");
            return false;
        }
        audio->Start();
        audio->BypassLimiter(m.Bypass);
        TWatch watch(*audio);
        TSoundBank bank(&watch);
        std::string error;
        if (!bank.Load(data + "/sounds.txt", data, &error)) {
            std::fprintf(stderr, "audio_mix: %s\n", error.c_str());
            return false;
        }
        SoundBank = &bank;
        watch.Counted = bank.Named(TSample::App);
        TGameField field(9, 9, ScreenGameContext());
        GameField = &field;
        TFieldSounds sounds;
        field.AddListener(&sounds);
        RandSeed(7);
        field.Clear();
        if (m.Music > 0) bank.StartMusic(data + "/music/theme.ogg");
        std::this_thread::sleep_for(std::chrono::milliseconds(m.Music > 0 ? 1500 : 300));
        audio->TakeMixMeter();
        m.Play(field);
        std::this_thread::sleep_for(std::chrono::milliseconds(2500));
        r.Meter = audio->TakeMixMeter();
        r.Duck = watch.Deepest;
        r.NewBallSounds = watch.Plays;
        GameField = nullptr;
        SoundBank = nullptr;
    }
    r.Samples = ReadRaw(raw);
    std::remove(raw.c_str());
    return true;
}

double LoudestTenth(const std::vector<float>& samples) {
    artgen::TSound s;
    s.Channels = 2;
    s.Samples = samples;
    return artgen::Measure(s, false, false).ShortMax;
}

double Db(float x) {
    return 20.0 * std::log10(std::max(x, 1e-9f));
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: audio_mix <data folder> <work folder>\n");
        return 2;
    }
    const std::string data = argv[1], work = argv[2];

    const TMoment loud[] = {
        {"bomb2", 50, 75, false, Bomb(2, false)},
        {"bomb4", 50, 75, false, Bomb(4, false)},
        {"bomb8", 50, 75, false, Bomb(8, false)},
        {"worst", 100, 100, false, Bomb(8, true)},
        {"worst_unlimited", 100, 100, true, Bomb(8, true)},
    };
    std::printf("%-16s %5s %5s %10s %10s %8s %9s\n", "moment", "music", "sound", "peak in",
                "peak out", "gain", "clamped");
    for (const TMoment& m : loud) {
        TResult r;
        if (!Render(data, work + "/" + m.Name + ".raw", m, r)) return 1;
        float peak = 0;
        long clamped = 0;
        for (float s : r.Samples) {
            peak = std::max(peak, std::abs(s));
            clamped += std::abs(s) >= 1.0f;
        }
        WriteWav(work + "/" + m.Name + ".wav", r.Samples);
        std::printf("%-16s %5d %5d %7.1f dB %7.1f dB %5.1f dB %6.1f ms\n", m.Name.c_str(), m.Music,
                    m.Sound, Db(r.Meter.PeakIn), Db(r.Meter.PeakOut), Db(r.Meter.MinGain),
                    clamped * 1000.0 / 2 / kRate);
    }

    // The moves, effects alone at the default sound volume.
    const TMoment moves[] = {
        {"move_2_new", 0, 75, false, PlainMove(2)},
        {"move_3_new", 0, 75, false, PlainMove(3)},
        {"move_5_new", 0, 75, false, PlainMove(5)},
        {"line_5", 0, 75, false, LineMove(5, 0, 0)},
        {"line_6", 0, 75, false, LineMove(6, 0, 0)},
        {"line_7", 0, 75, false, LineMove(7, 0, 0)},
        {"line_5_x3", 0, 75, false, LineMove(5, 19, 0)},
        {"line_5_x9", 0, 75, false, LineMove(5, 21, 0)},
        {"chain_2", 0, 75, false, LineMove(5, 0, 1)},
        {"chain_4", 0, 75, false, LineMove(5, 0, 3)},
    };
    std::printf("\nmoves, sound 75 and the music off: the loudest 100 ms of the output (LUFS), "
                "against the loudest plain move, and the music's duck asked for\n");
    std::map<std::string, double> loudness;
    double loudestMove = -120;
    for (const TMoment& m : moves) {
        TResult r;
        if (!Render(data, work + "/" + m.Name + ".raw", m, r)) return 1;
        WriteWav(work + "/" + m.Name + ".wav", r.Samples);
        const double l = LoudestTenth(r.Samples);
        loudness[m.Name] = l;
        if (m.Name.rfind("move_", 0) == 0) loudestMove = std::max(loudestMove, l);
        if (m.Name.rfind("move_", 0) == 0)
            std::printf("  %-12s %6.1f LUFS  new-ball sounds: %d\n", m.Name.c_str(), l,
                        r.NewBallSounds);
        else
            std::printf(
                "  %-12s %6.1f LUFS  %+5.1f LU over the loudest move, music ducked %.1f dB\n",
                m.Name.c_str(), l, l - loudestMove, r.Duck);
    }
    std::printf("reward gap: a five-ball line %+.1f LU over the loudest plain move\n",
                loudness["line_5"] - loudestMove);
    return 0;
}
