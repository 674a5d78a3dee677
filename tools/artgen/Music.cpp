#include "tools/artgen/Audio.h"
#include "tools/artgen/Loudness.h"
#include "tools/artgen/Synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace artgen {

using synth::kTwoPi;
using synth::TBiquad;
using synth::TRandom;

namespace {

// 90 beats a minute: an eighth lasts a third of a second, the pace of the selected ball's bounce.
constexpr double kBeat = 2.0 / 3.0;
constexpr double kBar = 4 * kBeat;
constexpr int kBars = 60;
constexpr double kLength = kBars * kBar; // 160 seconds

// Integrated loudness of the file: -29 LUFS in game at the default music volume 50 (-15 dB).
constexpr double kTarget = -14.0;
// True-peak ceiling, low enough that the limiter already holds the downbeats' peaks under the
// crest ceiling (the peak over the RMS of the loudest 50 ms), so one pass of mastering does; the
// encoder adds a little to it, and no decoded file passes 10 dB.
constexpr double kCeiling = -2.4;
constexpr double kMaxCrest = 9.6;

double Hz(double semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

// A single cycle by table lookup with linear interpolation; phase in turns.
class TTable {
public:
    // Harmonic h (1-based) at level levels[h - 1].
    explicit TTable(const std::vector<double>& levels) : t_(kSize + 1) {
        for (size_t i = 0; i <= kSize; ++i) {
            double v = 0;
            for (size_t h = 0; h < levels.size(); ++h)
                v += levels[h] * std::sin(kTwoPi * static_cast<double>((h + 1) * i) / kSize);
            t_[i] = v;
        }
    }
    double operator()(double phase) const {
        phase -= std::floor(phase);
        const double p = phase * kSize;
        const size_t i = static_cast<size_t>(p);
        return t_[i] + (t_[i + 1] - t_[i]) * (p - static_cast<double>(i));
    }

private:
    static constexpr size_t kSize = 4096;
    std::vector<double> t_;
};

const TTable& Sine() {
    static const TTable t({1.0});
    return t;
}
std::vector<double> Rolloff(int count, double power) {
    std::vector<double> l;
    for (int h = 1; h <= count; ++h) l.push_back(1.0 / std::pow(h, power));
    return l;
}
// The pad's two colours: dark (few, fast-falling harmonics) and bright (more, slower).
const TTable& PadDark() {
    static const TTable t(Rolloff(8, 2.0));
    return t;
}
const TTable& PadBright() {
    static const TTable t(Rolloff(14, 1.25));
    return t;
}

// exp(-t / tau) sample by sample, without an exp per sample.
class TDecay {
public:
    explicit TDecay(double tau) : factor_(std::exp(-1.0 / (tau * kRate))) {}
    double Next() {
        const double v = value_;
        value_ *= factor_;
        return v;
    }

private:
    double value_ = 1, factor_;
};

// A stereo buffer that wraps round: whatever sounds past the end continues at the start.
struct TLoop {
    std::vector<double> L, R;
    long Size;
    TLoop() : Size(std::lround(kLength * kRate)) {
        L.assign(static_cast<size_t>(Size), 0.0);
        R.assign(static_cast<size_t>(Size), 0.0);
    }
    void Add(long i, double l, double r) {
        if (i < 0 || i >= Size) i = ((i % Size) + Size) % Size;
        L[static_cast<size_t>(i)] += l;
        R[static_cast<size_t>(i)] += r;
    }
};

// --- The score ------------------------------------------------------------------------------

struct TChord {
    int Bass;                 // semitones from A4
    std::array<int, 4> Pad;   // voicing, semitones from A4
    std::array<int, 4> Tones; // chord tones for arpeggios, low to high, semitones from A4
};

// D major. Names are for the reader.
const TChord kDmaj9{-19, {-15, -12, -8, -5}, {-7, -3, 0, 4}};     // D  F# A C#(E)
const TChord kACs{-20, {-12, -8, -5, 0}, {-8, -5, 0, 4}};         // A/C#
const TChord kBm7{-22, {-12, -10, -7, -3}, {-10, -7, -3, 0}};     // Bm7
const TChord kGmaj7{-26, {-14, -10, -7, -3}, {-14, -10, -7, -3}}; // Gmaj7
const TChord kDFs{-27, {-15, -12, -7, -3}, {-7, -3, 0, 5}};       // D/F#
const TChord kGmaj9{-26, {-14, -10, -3, 0}, {-10, -7, -3, 0}};    // Gmaj9
const TChord kEm7{-29, {-17, -14, -10, -7}, {-17, -14, -10, -7}}; // Em7
const TChord kA7sus{-24, {-12, -10, -7, -2}, {-12, -7, -5, -2}};  // A7sus4
const TChord kA7{-24, {-12, -8, -5, -2}, {-12, -8, -5, -2}};      // A7
const TChord kD{-19, {-15, -12, -7, -3}, {-7, -3, 0, 5}};         // D
const TChord kA{-24, {-12, -8, -5, 0}, {-12, -8, -5, 0}};         // A
const TChord kAsus{-24, {-12, -10, -7, 0}, {-12, -7, -5, 0}};     // Asus4
const TChord kAoverG{-26, {-12, -8, -5, 0}, {-12, -8, -5, 0}};    // A/G
const TChord kFsm7{-27, {-15, -12, -8, -5}, {-15, -12, -8, -5}};  // F#m7
const TChord kEm9{-29, {-17, -14, -10, -3}, {-17, -14, -10, -3}}; // Em9

enum TSection { SecA1, SecA2, SecBreak, SecB, SecA3 };

struct TBarPlan {
    const TChord* Chord;
    TSection Section;
    int InSection; // bar number within the section
};

std::array<TBarPlan, kBars> Plan() {
    const TChord* a[8] = {&kDmaj9, &kACs, &kBm7, &kGmaj7, &kDFs, &kGmaj9, &kEm7, &kA7sus};
    const TChord* b[12] = {&kBm7,   &kGmaj7, &kD,     &kA,      &kBm7,  &kEm7,
                           &kGmaj7, &kAsus,  &kGmaj7, &kAoverG, &kFsm7, &kBm7};
    const TChord* brk[4] = {&kGmaj7, &kGmaj7, &kEm9, &kAsus};
    const TChord* turn[4] = {&kGmaj7, &kDFs, &kEm7, &kA7};
    std::array<TBarPlan, kBars> plan{};
    int bar = 0;
    for (int i = 0; i < 16; ++i) plan[static_cast<size_t>(bar++)] = {a[i % 8], SecA1, i};
    for (int i = 0; i < 16; ++i) plan[static_cast<size_t>(bar++)] = {a[i % 8], SecA2, i};
    for (int i = 0; i < 4; ++i) plan[static_cast<size_t>(bar++)] = {brk[i], SecBreak, i};
    for (int i = 0; i < 12; ++i) plan[static_cast<size_t>(bar++)] = {b[i], SecB, i};
    for (int i = 0; i < 12; ++i)
        plan[static_cast<size_t>(bar++)] = {i < 8 ? a[i] : turn[i - 8], SecA3, i};
    return plan;
}

// A melody note: semitones from A4 (kRest for none) and length in beats.
constexpr int kRest = 1000;
struct TNote {
    int Pitch;
    double Beats;
};

// The theme's two phrases (8 bars each) and the B section's line (12 bars).
const std::vector<TNote> kPhrase1 = {
    {12, 2},   {9, 1},     {7, 1},           // Dmaj9
    {7, 1.5},  {5, 0.5},   {4, 1},  {7, 1},  // A/C#
    {9, 3},    {12, 1},                      // Bm7
    {14, 1.5}, {12, 0.5},  {9, 2},           // Gmaj7
    {12, 2},   {17, 1},    {16, 1},          // D/F#
    {14, 1.5}, {12, 0.5},  {10, 1}, {9, 1},  // Gmaj9
    {7, 1},    {10, 1},    {14, 1}, {12, 1}, // Em7
    {12, 3},   {kRest, 1},                   // A7sus
};
const std::vector<TNote> kPhrase2 = {
    {17, 2},   {16, 1},  {12, 1},          //
    {14, 1},   {12, 1},  {7, 2},           //
    {9, 1},    {12, 1},  {14, 1}, {17, 1}, //
    {14, 3},   {12, 1},                    //
    {12, 1.5}, {9, 0.5}, {12, 1}, {17, 1}, //
    {19, 2},   {17, 1},  {14, 1},          //
    {10, 1},   {14, 1},  {19, 1}, {17, 1}, //
    {16, 2},   {7, 1},   {12, 1},          //
};
const std::vector<TNote> kLineB = {
    {9, 2},    {5, 1},     {2, 1},           // Bm7
    {5, 1.5},  {7, 0.5},   {9, 2},           // Gmaj7
    {12, 2},   {9, 2},                       // D
    {7, 3},    {kRest, 1},                   // A
    {5, 1},    {9, 1},     {14, 1}, {12, 1}, // Bm7
    {10, 2},   {7, 2},                       // Em7
    {14, 1.5}, {12, 0.5},  {9, 2},           // Gmaj7
    {7, 2},    {4, 2},                       // Asus A
    {5, 1},    {9, 1},     {12, 2},          // Gmaj7
    {16, 2},   {12, 2},                      // A/G
    {12, 1},   {9, 1},     {7, 1},  {4, 1},  // F#m7
    {5, 3},    {kRest, 1},                   // Bm7
};

// --- Instruments ----------------------------------------------------------------------------

// Each instrument adds to a dry loop and to the reverb's send.
struct TMix {
    TLoop Dry, Send;
    void Add(long i, double l, double r, double send) {
        Dry.Add(i, l, r);
        if (send > 0) Send.Add(i, l * send, r * send);
    }
};

// A pad chord tone: two slightly detuned voices (left and right), a slow swell, and a colour
// that moves between dark and bright with `brightness` (0..1) over the note.
void Pad(TMix& mix, double at, double seconds, double hz, double level, double bright0,
         double bright1) {
    const TTable &dark = PadDark(), &bright = PadBright(), &sine = Sine();
    const double attack = 0.9, release = 1.6;
    const long start = std::lround(at * kRate), n = std::lround((seconds + release) * kRate);
    double pl = 0, pr = 0.37;
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double env = std::min(1.0, t / attack);
        if (t > seconds) env *= std::max(0.0, 1 - (t - seconds) / release);
        env = env * env * (3 - 2 * env);
        const double drift = 1 + 0.0012 * sine(0.13 * t + at * 0.01);
        pl += hz * 0.9982 * drift / kRate;
        pr += hz * 1.0018 * drift / kRate;
        const double b = bright0 + (bright1 - bright0) * std::min(1.0, t / (seconds + release));
        const double l = (1 - b) * dark(pl) + b * 0.8 * bright(pl);
        const double r = (1 - b) * dark(pr) + b * 0.8 * bright(pr);
        mix.Add(start + i, level * env * l, level * env * r, 0.45);
    }
}

// The bass: a round plucked tone with two harmonics, so that it is heard on small speakers too.
void Bass(TMix& mix, double at, double seconds, double hz, double level) {
    const TTable& sine = Sine();
    const long start = std::lround(at * kRate), n = std::lround((seconds + 0.15) * kRate);
    double phase = 0;
    TDecay fall(1.1), dull(0.15);
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double env = std::min(1.0, t / 0.012) * fall.Next();
        if (t > seconds) env *= std::max(0.0, 1 - (t - seconds) / 0.15);
        phase += hz / kRate;
        const double bright = 0.35 * dull.Next();
        const double v = sine(phase) + (0.5 + bright) * sine(2 * phase) + 0.14 * sine(3 * phase) +
                         0.12 * sine(4 * phase);
        mix.Add(start + i, level * env * v, level * env * v, 0.05);
    }
}

// A soft electric piano: FM with ratio 1 and a falling index; `pan` -1..1.
void Keys(TMix& mix, double at, double hz, double level, double pan) {
    const TTable& sine = Sine();
    const long start = std::lround(at * kRate), n = std::lround(1.8 * kRate);
    double phase = 0;
    TDecay soften(0.3), fall(0.55);
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        phase += hz / kRate;
        const double index = 0.9 * soften.Next();
        const double env = std::min(1.0, t / 0.004) * fall.Next() *
                           std::min(1.0, static_cast<double>(n - i) / (0.1 * kRate));
        const double v = sine(phase + index * sine(phase) / kTwoPi * 2);
        mix.Add(start + i, level * env * v * (1 - pan), level * env * v * (1 + pan), 0.4);
    }
}

// The lead: a breathy flute-like tone (sine with weak harmonics, a delayed vibrato and a puff of
// noise at the start).
void Flute(TMix& mix, double at, double seconds, double hz, double level, unsigned seed) {
    const TTable& sine = Sine();
    const double release = 0.18;
    const long start = std::lround(at * kRate), n = std::lround((seconds + release) * kRate);
    TRandom rng(seed);
    TBiquad breath(TBiquad::BandPass, std::min(hz * 3, 6000.0), 2.0);
    double phase = 0;
    TDecay puffFall(0.06);
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        double env = std::min(1.0, t / 0.07);
        if (t > seconds) env *= std::max(0.0, 1 - (t - seconds) / release);
        env *= 1 - 0.15 * std::min(1.0, t / 1.5); // a slight fall over a long note
        const double vib = 1 + 0.004 * std::min(1.0, std::max(0.0, t - 0.25) / 0.3) * sine(5.2 * t);
        phase += hz * vib / kRate;
        const double puff = 0.25 * puffFall.Next() + 0.04;
        const double v = sine(phase) + 0.12 * sine(2 * phase) + 0.05 * sine(3 * phase) +
                         puff * breath.Run(rng.Signed());
        mix.Add(start + i, level * env * v * 0.85, level * env * v, 0.3);
    }
}

// A struck bar or glass: partials with their own decays; `glass` rings longer and brighter.
void Struck(TMix& mix, double at, double hz, double level, bool glass, double pan) {
    const TTable& sine = Sine();
    struct TPart {
        double Ratio, Level, Decay;
    };
    const TPart glassParts[3] = {{1, 1, 1.4}, {2.76, 0.25, 0.45}, {5.4, 0.08, 0.15}};
    const TPart barParts[3] = {{1, 1, 0.55}, {3.93, 0.25, 0.08}, {9.2, 0.05, 0.02}};
    const TPart* parts = glass ? glassParts : barParts;
    const long start = std::lround(at * kRate);
    for (int p = 0; p < 3; ++p) {
        const double f = hz * parts[p].Ratio;
        if (f > 12000) continue;
        const long n = std::lround(std::min(parts[p].Decay * 7, 6.0) * kRate);
        double phase = 0;
        TDecay fall(parts[p].Decay);
        for (long i = 0; i < n; ++i) {
            const double t = static_cast<double>(i) / kRate;
            phase += f / kRate;
            const double env = std::min(1.0, t / 0.002) * fall.Next();
            const double v = level * parts[p].Level * env * sine(phase);
            mix.Add(start + i, v * (1 - pan), v * (1 + pan), glass ? 0.55 : 0.3);
        }
    }
}

// Light percussion: a shaker (high noise), a wooden rim and a soft kick.
void Shaker(TMix& mix, double at, double level, double pan, unsigned seed) {
    TRandom rng(seed);
    TBiquad hp(TBiquad::HighPass, 6000, 0.8), lp(TBiquad::LowPass, 12000, 0.7);
    const long start = std::lround(at * kRate), n = std::lround(0.09 * kRate);
    TDecay fall(0.025);
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double env = std::min(1.0, t / 0.008) * fall.Next();
        const double v = level * env * lp.Run(hp.Run(rng.Signed()));
        mix.Add(start + i, v * (1 - pan), v * (1 + pan), 0.15);
    }
}
void Rim(TMix& mix, double at, double level, unsigned seed) {
    TRandom rng(seed);
    TBiquad band(TBiquad::BandPass, 1800, 1.5);
    const TTable& sine = Sine();
    const long start = std::lround(at * kRate), n = std::lround(0.12 * kRate);
    TDecay bodyFall(0.03), clickFall(0.004);
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double body = bodyFall.Next() * (sine(880 * t) + 0.4 * sine(2217.5 * t)); // A5, C#7
        const double click = clickFall.Next() * band.Run(rng.Signed());
        const double v = level * std::min(1.0, t / 0.0008) * (0.6 * body + click);
        mix.Add(start + i, v * 0.9, v, 0.2);
    }
}
void Kick(TMix& mix, double at, double level) {
    const TTable& sine = Sine();
    const long start = std::lround(at * kRate), n = std::lround(0.35 * kRate);
    double phase = 0;
    TDecay drop(0.03), fall(0.12);
    for (long i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        phase += (52 + 60 * drop.Next()) / kRate;
        const double env = std::min(1.0, t / 0.002) * fall.Next();
        const double v = level * env * (sine(phase) + 0.25 * sine(2 * phase));
        mix.Add(start + i, v, v, 0.03);
    }
}

// --- Space ----------------------------------------------------------------------------------

// A feedback delay network of eight lines (a Householder matrix), damped above 5 kHz, about
// 2.2 s to fall by 60 dB, added to the dry loop. It first runs over the last 6 s of the send so
// that the start of the loop already carries the end's tail.
void Reverb(TMix& mix) {
    constexpr int kLines = 8;
    const int lengths[kLines] = {1433, 1601, 1867, 2053, 2251, 2399, 2617, 2797};
    const double decay = 2.2;
    std::array<std::vector<double>, kLines> lines;
    std::array<size_t, kLines> pos{};
    std::array<double, kLines> gains{}, damp{};
    for (int k = 0; k < kLines; ++k) {
        lines[static_cast<size_t>(k)].assign(static_cast<size_t>(lengths[k]), 0.0);
        gains[static_cast<size_t>(k)] = std::pow(10.0, -3.0 * lengths[k] / (decay * kRate));
    }
    const double dampA = std::exp(-kTwoPi * 8000.0 / kRate);
    const long size = mix.Send.Size, prime = std::lround(6.0 * kRate);
    const long predelay = std::lround(0.018 * kRate);
    long i = ((-prime - predelay) % size + size) % size; // the send's frame entering now
    for (long step = -prime; step < size; ++step, i = i + 1 == size ? 0 : i + 1) {
        const double inL = mix.Send.L[static_cast<size_t>(i)],
                     inR = mix.Send.R[static_cast<size_t>(i)];
        std::array<double, kLines> out{};
        double sum = 0;
        for (int k = 0; k < kLines; ++k) {
            const auto kk = static_cast<size_t>(k);
            out[kk] = lines[kk][pos[kk]];
            sum += out[kk];
        }
        const double householder = 2.0 / kLines * sum;
        double l = 0, r = 0;
        for (int k = 0; k < kLines; ++k) {
            const auto kk = static_cast<size_t>(k);
            double v = (out[kk] - householder) * gains[kk];
            damp[kk] = v + dampA * (damp[kk] - v); // one-pole low-pass in the loop
            v = damp[kk] + (k % 2 ? inR : inL) * 0.5;
            lines[kk][pos[kk]] = v;
            if (++pos[kk] == lines[kk].size()) pos[kk] = 0;
            (k % 2 ? r : l) += out[kk];
        }
        if (step >= 0) {
            const auto at = static_cast<size_t>(step);
            mix.Dry.L[at] += 0.35 * l;
            mix.Dry.R[at] += 0.35 * r;
        }
    }
}

} // namespace

TSound MakeTheme() {
    TMix mix;
    const std::array<TBarPlan, kBars> plan = Plan();
    TRandom rng(2026);

    // Section levels (dB): the break breathes, the second A is the fullest.
    const auto level = [](TSection s) {
        switch (s) {
        case SecA1:
            return 0.0;
        case SecA2:
            return 1.5;
        case SecBreak:
            return -6.0;
        case SecB:
            return -2.0;
        case SecA3:
            return 0.5;
        }
        return 0.0;
    };

    for (int bar = 0; bar < kBars; ++bar) {
        const TBarPlan& p = plan[static_cast<size_t>(bar)];
        const TChord& c = *p.Chord;
        const double at = bar * kBar, g = std::pow(10.0, level(p.Section) / 20.0);
        // Pads: brighter as a section goes on, darker in the break.
        const double phase = p.Section == SecBreak ? 0.35 : 0.4 + 0.06 * (p.InSection % 8);
        for (int note : c.Pad) Pad(mix, at, kBar, Hz(note), 0.05 * g, phase, phase + 0.08);
        if (p.Section == SecBreak) {
            // Glass bells on the chord's tones, a few to a bar.
            for (int k = 0; k < 3; ++k) {
                const int tone = c.Tones[rng.Next() % 4] + 12;
                Struck(mix, at + (k * 1.25 + 0.25 * rng.Uniform()) * kBeat, Hz(tone), 0.07, true,
                       0.5 * rng.Signed());
            }
            continue;
        }
        // Bass: the root on one, the fifth or the octave on three; pickups in the fullest parts.
        Bass(mix, at, 1.5 * kBeat, Hz(c.Bass), 0.11 * g);
        Bass(mix, at + 2 * kBeat, 1.5 * kBeat, Hz(c.Bass + (bar % 2 ? 12 : 7)), 0.09 * g);
        if (p.Section == SecA2 && p.InSection % 2 == 1)
            Bass(mix, at + 3.5 * kBeat, 0.4 * kBeat, Hz(c.Bass + 12), 0.07 * g);

        // Keys: eighths over the chord tones; the B section plays in quarters.
        static const int patternA[8] = {0, 2, 1, 3, 2, 1, 3, 2};
        static const int patternA2[8] = {0, 1, 2, 3, 2, 3, 1, 2};
        for (int e = 0; e < 8; ++e) {
            if (p.Section == SecB && e % 2) continue;
            if (e == 7 && p.InSection % 2 == 1) continue;
            const int* pattern = p.Section == SecA2 ? patternA2 : patternA;
            const int tone = c.Tones[static_cast<size_t>(pattern[e])] + 12;
            const double velocity = (e % 4 == 0 ? 0.07 : 0.05) * (0.9 + 0.2 * rng.Uniform());
            Keys(mix, at + e * kBeat / 2 + 0.006 * rng.Signed(), Hz(tone), velocity * g,
                 e % 2 ? 0.35 : -0.35);
        }

        // Percussion: the shaker from the second half of the first A; rim and kick in the
        // second and third A; the B section keeps shaker and rim.
        const bool shaker = !(p.Section == SecA1 && p.InSection < 8);
        const bool rim = p.Section == SecA2 || p.Section == SecA3 || p.Section == SecB;
        const bool kick = p.Section == SecA2 || p.Section == SecA3;
        for (int e = 0; e < 8; ++e) {
            const double swing = e % 2 ? 0.04 * kBeat : 0.0;
            if (shaker)
                Shaker(mix, at + e * kBeat / 2 + swing, (e % 2 ? 0.13 : 0.08) * g,
                       e % 2 ? 0.3 : -0.2, 900u + static_cast<unsigned>(bar * 8 + e));
        }
        if (rim)
            for (int beat : {1, 3})
                Rim(mix, at + beat * kBeat, 0.09 * g, 300u + static_cast<unsigned>(bar * 4 + beat));
        if (kick) {
            Kick(mix, at, 0.14 * g);
            Kick(mix, at + 2 * kBeat, 0.1 * g);
        }
    }

    // The melody, phrase by phrase: the flute in the first A, flute doubled by glass an octave
    // up in the second, the bar (marimba-like) in B, the flute again in the last A with a
    // held note into the turnaround.
    const auto play = [&](const std::vector<TNote>& line, int firstBar, bool flute, bool glass,
                          bool bar, double gain) {
        double beat = 0;
        for (const TNote& n : line) {
            const double at = firstBar * kBar + beat * kBeat;
            if (n.Pitch != kRest) {
                const double hz = Hz(n.Pitch);
                if (flute)
                    Flute(mix, at, n.Beats * kBeat * 0.95, hz, 0.085 * gain,
                          7u + static_cast<unsigned>(beat * 4));
                if (glass) Struck(mix, at, hz * 2, 0.035 * gain, true, 0.3);
                if (bar) Struck(mix, at, hz, 0.12 * gain, false, -0.15);
            }
            beat += n.Beats;
        }
    };
    const double a2 = std::pow(10.0, 1.5 / 20), b = std::pow(10.0, -2.0 / 20),
                 a3 = std::pow(10.0, 0.5 / 20);
    play(kPhrase1, 0, true, false, false, 1.0);
    play(kPhrase2, 8, true, false, false, 1.0);
    play(kPhrase1, 16, true, true, false, a2);
    play(kPhrase2, 24, true, true, false, a2);
    play(kLineB, 36, false, false, true, b);
    play(kPhrase1, 48, true, false, false, a3);
    play({{9, 4}, {7, 4}, {10, 4}, {12, 3}, {kRest, 1}}, 56, true, true, false, a3);

    Reverb(mix);
    // The mix's tilt: a little less low end and a little more air, for small speakers.
    for (std::vector<double>* ch : {&mix.Dry.L, &mix.Dry.R}) {
        TBiquad low(TBiquad::LowShelf, 200, 0.7071, -3.0),
            high(TBiquad::HighShelf, 5000, 0.7071, 4.5);
        for (int pass = 0; pass < 2; ++pass) // twice round: the filters' memory wraps like the loop
            for (double& v : *ch) {
                const double y = high.Run(low.Run(v));
                if (pass == 1) v = y;
            }
    }

    TSound s;
    s.Channels = 2;
    s.Samples.resize(static_cast<size_t>(mix.Dry.Size) * 2);
    for (long i = 0; i < mix.Dry.Size; ++i) {
        s.Samples[static_cast<size_t>(2 * i)] =
            static_cast<float>(mix.Dry.L[static_cast<size_t>(i)]);
        s.Samples[static_cast<size_t>(2 * i + 1)] =
            static_cast<float>(mix.Dry.R[static_cast<size_t>(i)]);
    }
    Master(s, kTarget, true, kCeiling, kMaxCrest);
    return s;
}

} // namespace artgen
