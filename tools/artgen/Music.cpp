#include "tools/artgen/Audio.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace artgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kBeat = 0.75;     // 80 beats a minute
constexpr double kBar = 4 * kBeat; // 3 seconds
constexpr int kBarsPerChord = 2;
constexpr int kChords = 12;
constexpr double kLength = kChords * kBarsPerChord * kBar; // 72 seconds

double Hz(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

// Sine by table lookup: the theme sums many partials.
class TSine {
public:
    TSine() {
        for (size_t i = 0; i <= kSize; ++i) table_[i] = std::sin(kTwoPi * i / kSize);
    }
    double operator()(double phase) const {    // phase in turns
        long whole = static_cast<long>(phase); // floor, also for the small negative phases of FM
        if (phase < whole) --whole;
        const double p = (phase - whole) * kSize;
        const size_t i = static_cast<size_t>(p);
        const double t = p - i;
        return table_[i] + (table_[i + 1] - table_[i]) * t;
    }

private:
    static constexpr size_t kSize = 4096;
    std::array<double, kSize + 1> table_{};
};

const TSine& Sine() {
    static const TSine sine;
    return sine;
}

struct TChord {
    int Bass;
    std::array<int, 4> Pad; // semitones from A4
};

// D major, calm and open: Dmaj9, Bm9, Gmaj7, A6sus, F#m7, Bm7, Gmaj9, Asus4, Em9, D/F#, Gmaj7,
// A7sus; the last leads back to the first.
const std::array<TChord, kChords> kProgression = {{
    {-31, {-3, 0, 4, 7}},
    {-34, {-7, -3, 0, 4}},
    {-38, {-3, 2, 5, -2}},
    {-36, {-5, 0, 2, 4}},
    {-39, {-5, 0, 4, -3}},
    {-34, {-7, -3, 0, 2}},
    {-38, {0, 2, 5, 9}},
    {-36, {0, 5, 7, 2}},
    {-41, {-2, 2, 5, 9}},
    {-39, {0, 4, 5, 9}},
    {-38, {2, 5, 9, 12}},
    {-36, {5, 7, 10, 2}},
}};

// A stereo buffer that wraps around: whatever sounds past the end continues at the start, so
// the theme loops without a seam.
struct TLoop {
    std::vector<double> L, R;
    int Size;
    TLoop() : Size(static_cast<int>(kLength * kRate)) {
        L.assign(static_cast<size_t>(Size), 0.0);
        R.assign(static_cast<size_t>(Size), 0.0);
    }
    void Add(long i, double l, double r) {
        const size_t k = static_cast<size_t>(((i % Size) + Size) % Size);
        L[k] += l;
        R[k] += r;
    }
};

void Pad(TLoop& loop, double at, double dur, double f, double amp) {
    const TSine& sine = Sine();
    const double attack = 1.4, release = 1.8;
    const long start = static_cast<long>(at * kRate),
               n = static_cast<long>((dur + release) * kRate);
    const double harmonics[4] = {1.0, 0.42, 0.18, 0.07};
    double pl = 0, pr = 0;
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double env = std::min(1.0, t / attack);
        if (t > dur) env *= std::max(0.0, 1 - (t - dur) / release);
        env = env * env * (3 - 2 * env);
        const double vib = 1 + 0.0015 * sine(0.2 * t);
        pl += f * 0.9985 * vib / kRate;
        pr += f * 1.0015 * vib / kRate;
        double l = 0, r = 0;
        for (int h = 0; h < 4; ++h) {
            l += harmonics[h] * sine(pl * (h + 1));
            r += harmonics[h] * sine(pr * (h + 1));
        }
        loop.Add(start + i, amp * env * l, amp * env * r);
    }
}

void Bass(TLoop& loop, double at, double f, double amp) {
    const TSine& sine = Sine();
    const long start = static_cast<long>(at * kRate), n = static_cast<long>(3.2 * kRate);
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double env =
            std::min(1.0, t / 0.02) * std::exp(-t / 1.3) * std::min(1.0, (n - i) / (0.2 * kRate));
        const double v = sine(f * t) + 0.25 * sine(2 * f * t);
        loop.Add(start + i, amp * env * v, amp * env * v);
    }
}

// A soft electric-piano bell: FM with ratio 1 and a falling index.
void Key(TLoop& loop, double at, double f, double amp, double pan) {
    const TSine& sine = Sine();
    const long start = static_cast<long>(at * kRate), n = static_cast<long>(2.4 * kRate);
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double index = 1.1 * std::exp(-t / 0.35);
        const double env =
            std::min(1.0, t / 0.004) * std::exp(-t / 0.7) * std::min(1.0, (n - i) / (0.2 * kRate));
        const double v = sine(f * t + index * sine(f * t) / kTwoPi * 2);
        loop.Add(start + i, amp * env * v * (1 - pan), amp * env * v * (1 + pan));
    }
}

// Ping-pong echo, run twice round the loop so that its tail also wraps.
void Echo(TLoop& dry, TLoop& out, double delay, double feedback) {
    const int d = static_cast<int>(delay * kRate);
    std::vector<double> l(static_cast<size_t>(dry.Size)), r(static_cast<size_t>(dry.Size));
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < dry.Size; ++i) {
            const size_t k = static_cast<size_t>(i),
                         p = static_cast<size_t>((i - d + dry.Size) % dry.Size);
            l[k] = dry.L[k] + feedback * r[p];
            r[k] = dry.R[k] + feedback * l[p];
        }
    for (int i = 0; i < dry.Size; ++i) {
        const size_t k = static_cast<size_t>(i);
        out.L[k] += 0.6 * dry.L[k] + 0.4 * l[k];
        out.R[k] += 0.6 * dry.R[k] + 0.4 * r[k];
    }
}

} // namespace

TSound MakeTheme() {
    TLoop mix, keys;
    const int pattern[8] = {0, 2, 1, 3, 2, 1, 3, 2};
    for (int c = 0; c < kChords; ++c) {
        const TChord& chord = kProgression[static_cast<size_t>(c)];
        const double at = c * kBarsPerChord * kBar;
        for (int note : chord.Pad) Pad(mix, at, kBarsPerChord * kBar, Hz(note), 0.045);
        for (int bar = 0; bar < kBarsPerChord; ++bar) {
            Bass(mix, at + bar * kBar, Hz(chord.Bass), 0.16);
            for (int e = 0; e < 8; ++e) {
                // Rests keep the line airy: the last eighth of every bar, and more in the
                // second bar of each chord.
                if (e == 7 || (bar == 1 && (e == 3 || e == 5))) continue;
                const int note = chord.Pad[static_cast<size_t>(pattern[e])] + 12;
                const double vel = (e == 0 ? 0.11 : 0.075) * (1 - 0.1 * ((e * 3 + c) % 4) / 3.0);
                Key(keys, at + bar * kBar + e * kBeat / 2, Hz(note), vel, (e % 2 ? 0.3 : -0.3));
            }
        }
    }
    Echo(keys, mix, kBeat * 0.75, 0.38);
    double peak = 1e-9;
    for (int i = 0; i < mix.Size; ++i)
        peak = std::max({peak, std::abs(mix.L[static_cast<size_t>(i)]),
                         std::abs(mix.R[static_cast<size_t>(i)])});
    TSound s;
    s.Channels = 2;
    s.Samples.resize(static_cast<size_t>(mix.Size) * 2);
    for (int i = 0; i < mix.Size; ++i) {
        s.Samples[static_cast<size_t>(2 * i)] =
            static_cast<float>(mix.L[static_cast<size_t>(i)] * 0.7 / peak);
        s.Samples[static_cast<size_t>(2 * i + 1)] =
            static_cast<float>(mix.R[static_cast<size_t>(i)] * 0.7 / peak);
    }
    return s;
}

} // namespace artgen
