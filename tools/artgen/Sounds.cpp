#include "tools/artgen/Audio.h"

#include <cmath>
#include <functional>
#include <map>

namespace artgen {

namespace {

constexpr double kTwoPi = 6.283185307179586;

double Note(double semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

class TNoise {
public:
    explicit TNoise(unsigned seed) : state_(seed * 747796405u + 2891336453u) {}
    double Next() { // -1..1
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return (state_ >> 8) / 8388608.0 - 1.0;
    }

private:
    unsigned state_;
};

// One-pole low-pass filter with a cut-off in Hz.
class TLowPass {
public:
    double Run(double x, double cutoff) {
        const double a = 1 - std::exp(-kTwoPi * cutoff / kRate);
        y_ += a * (x - y_);
        return y_;
    }

private:
    double y_ = 0;
};

struct TBuffer {
    std::vector<double> S;
    explicit TBuffer(double seconds) : S(static_cast<size_t>(seconds * kRate)) {}
    int Size() const { return static_cast<int>(S.size()); }
    void Add(int i, double v) {
        if (i >= 0 && i < Size()) S[static_cast<size_t>(i)] += v;
    }
};

// Attack-then-exponential-decay envelope.
double Env(double t, double attack, double tau) {
    if (t < 0) return 0;
    if (t < attack) return t / attack;
    return std::exp(-(t - attack) / tau);
}

// A tone gliding from f0 to f1 (exponentially over `glide` seconds) with a few harmonics.
void Tone(TBuffer& b, double at, double f0, double f1, double glide, double dur, double attack,
          double tau, double amp, std::initializer_list<double> harmonics = {1.0}) {
    double phase = 0;
    const int start = static_cast<int>(at * kRate), n = static_cast<int>(dur * kRate);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double f = f0 * std::pow(f1 / f0, std::min(1.0, t / glide));
        phase += f / kRate;
        double v = 0;
        int h = 1;
        for (double w : harmonics) v += w * std::sin(kTwoPi * phase * h++);
        // Short fade at the end so nothing clicks.
        const double tail = std::min(1.0, (n - i) / (0.005 * kRate));
        b.Add(start + i, amp * v * Env(t, attack, tau) * tail);
    }
}

// A bell: frequency modulation with a decaying index.
void Bell(TBuffer& b, double at, double f, double dur, double amp, double ratio = 3.5,
          double index = 2.0) {
    const int start = static_cast<int>(at * kRate), n = static_cast<int>(dur * kRate);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double mod = index * std::exp(-t / 0.15) * std::sin(kTwoPi * f * ratio * t);
        const double tail = std::min(1.0, (n - i) / (0.01 * kRate));
        b.Add(start + i, amp * std::sin(kTwoPi * f * t + mod) * Env(t, 0.002, dur / 3.5) * tail);
    }
}

// Filtered noise with its own envelope; the low-pass cut-off slides from c0 to c1.
void Noise(TBuffer& b, double at, double dur, double c0, double c1, double attack, double tau,
           double amp, unsigned seed, bool highPass = false) {
    TNoise rng(seed);
    TLowPass lp, lp2;
    const int start = static_cast<int>(at * kRate), n = static_cast<int>(dur * kRate);
    for (int i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double c = c0 * std::pow(c1 / c0, t / dur);
        const double x = rng.Next();
        double v = lp2.Run(lp.Run(x, c), c);
        if (highPass) v = x - v;
        const double tail = std::min(1.0, (n - i) / (0.005 * kRate));
        b.Add(start + i, amp * v * Env(t, attack, tau) * tail);
    }
}

// Makes the end of a looping sound run into its start: the last `fade` seconds are blended into
// the first ones and cut off, so the loop has no seam.
void MakeLoop(TBuffer& b, double fade) {
    const int n = static_cast<int>(fade * kRate), size = b.Size() - n;
    for (int i = 0; i < n; ++i) {
        const double w = static_cast<double>(i) / n;
        b.S[static_cast<size_t>(i)] =
            b.S[static_cast<size_t>(i)] * w + b.S[static_cast<size_t>(size + i)] * (1 - w);
    }
    b.S.resize(static_cast<size_t>(size));
}

TSound Finish(const TBuffer& b, double peak = 0.8) {
    double m = 1e-9;
    for (double v : b.S) m = std::max(m, std::abs(v));
    TSound s;
    s.Samples.resize(b.S.size());
    for (size_t i = 0; i < b.S.size(); ++i) s.Samples[i] = static_cast<float>(b.S[i] * peak / m);
    return s;
}

// Base note of a sound family (semitones from A4): a pentatonic scale over the seven colours.
double FamilyNote(const std::string& family) {
    static const std::map<std::string, double> notes = {{"c1", 3},  {"c2", 5},    {"c3", 7},
                                                        {"c4", 10}, {"c5", 12},   {"c6", 15},
                                                        {"c7", 17}, {"multi", 8}, {"bomb", -2}};
    auto it = notes.find(family);
    return it == notes.end() ? 3 : it->second;
}

// The selected ball's bounce: a soft rubbery "boop" on a chord tone of its family.
TSound Selection(const std::string& family, char variant) {
    const double steps[4] = {0, 4, 7, 12};
    const double f = Note(FamilyNote(family) + steps[variant - 'a']);
    TBuffer b(0.3);
    Tone(b, 0, f * 0.8, f, 0.03, 0.3, 0.004, 0.07, 0.7, {1.0, 0.25, 0.08});
    Tone(b, 0, f * 2, f * 2, 1, 0.12, 0.002, 0.03, 0.15);
    return Finish(b, 0.55);
}

// The pointer rests on a ball: a quiet glassy pluck.
TSound HoverBall(const std::string& family) {
    TBuffer b(0.25);
    if (family == "bomb") {
        Noise(b, 0, 0.2, 3000, 5000, 0.003, 0.05, 0.8, 91, true);
        return Finish(b, 0.35);
    }
    const double f = Note(FamilyNote(family) + 12);
    Bell(b, 0, f, 0.25, 0.6, 2.0, 0.8);
    return Finish(b, 0.35);
}

using TMaker = std::function<TSound()>;

const std::map<std::string, TMaker>& Named() {
    static const std::map<std::string, TMaker> makers = {
        {"sounds/appear.ogg",
         [] {
             TBuffer b(0.6);
             Bell(b, 0.00, Note(19), 0.45, 0.5, 2.0, 1.0);
             Bell(b, 0.07, Note(26), 0.5, 0.4, 2.0, 1.0);
             Noise(b, 0, 0.3, 6000, 9000, 0.05, 0.08, 0.08, 3, true);
             return Finish(b, 0.55);
         }},
        {"sounds/clear1.ogg",
         [] {
             TBuffer b(0.55);
             Tone(b, 0, 500, 1400, 0.06, 0.12, 0.002, 0.04, 0.6);
             Bell(b, 0.04, Note(27), 0.5, 0.5);
             return Finish(b, 0.7);
         }},
        {"sounds/clear2.ogg",
         [] {
             TBuffer b(0.8);
             const double notes[3] = {15, 19, 22};
             for (int i = 0; i < 3; ++i) Bell(b, i * 0.06, Note(notes[i]), 0.6, 0.5);
             Noise(b, 0, 0.5, 5000, 9000, 0.02, 0.15, 0.1, 5, true);
             return Finish(b, 0.75);
         }},
        {"sounds/clear3.ogg",
         [] {
             TBuffer b(1.3);
             const double notes[5] = {15, 19, 22, 27, 31};
             for (int i = 0; i < 5; ++i) Bell(b, i * 0.07, Note(notes[i]), 0.9, 0.5);
             Bell(b, 0.38, Note(34), 0.9, 0.35);
             Noise(b, 0.05, 1.0, 6000, 11000, 0.1, 0.3, 0.12, 7, true);
             return Finish(b, 0.8);
         }},
        {"sounds/roll.ogg",
         [] {
             TBuffer b(1.2);
             Noise(b, 0, 1.2, 300, 300, 0.001, 100, 1.0, 11);
             for (int i = 0; i < b.Size(); ++i) {
                 const double t = static_cast<double>(i) / kRate;
                 b.S[static_cast<size_t>(i)] *= 0.75 + 0.25 * std::sin(kTwoPi * 6 * t);
                 b.S[static_cast<size_t>(i)] += 0.05 * std::sin(kTwoPi * 75 * t);
             }
             MakeLoop(b, 0.2);
             return Finish(b, 0.4);
         }},
        {"sounds/turn.ogg",
         [] {
             TBuffer b(0.12);
             Tone(b, 0, 1300, 1100, 0.03, 0.1, 0.001, 0.02, 0.6, {1.0, 0.3});
             Noise(b, 0, 0.02, 4000, 2000, 0.0005, 0.004, 0.4, 13);
             return Finish(b, 0.45);
         }},
        {"sounds/click.ogg",
         [] {
             TBuffer b(0.1);
             Tone(b, 0, 900, 1300, 0.02, 0.08, 0.001, 0.02, 0.6, {1.0, 0.2});
             Noise(b, 0, 0.015, 5000, 3000, 0.0005, 0.003, 0.3, 17);
             return Finish(b, 0.5);
         }},
        {"sounds/hover.ogg",
         [] {
             TBuffer b(0.08);
             Tone(b, 0, 2400, 2600, 0.02, 0.06, 0.002, 0.012, 0.5);
             return Finish(b, 0.25);
         }},
        {"sounds/key.ogg",
         [] {
             TBuffer b(0.07);
             Noise(b, 0, 0.05, 3500, 1500, 0.0005, 0.008, 0.8, 19);
             Tone(b, 0, 1800, 1700, 0.02, 0.04, 0.001, 0.01, 0.3);
             return Finish(b, 0.45);
         }},
        {"sounds/paint.ogg",
         [] {
             TBuffer b(0.6);
             Noise(b, 0, 0.5, 3000, 500, 0.005, 0.12, 0.8, 23);
             Tone(b, 0.02, 320, 140, 0.2, 0.3, 0.01, 0.08, 0.6);
             return Finish(b, 0.65);
         }},
        {"sounds/land.ogg",
         [] {
             TBuffer b(0.2);
             Tone(b, 0, 160, 90, 0.08, 0.18, 0.002, 0.05, 0.9);
             Noise(b, 0, 0.03, 2500, 1000, 0.0005, 0.006, 0.3, 29);
             return Finish(b, 0.5);
         }},
        {"sounds/shatter.ogg",
         [] {
             TBuffer b(0.6);
             Noise(b, 0, 0.5, 2000, 8000, 0.001, 0.09, 0.7, 31, true);
             const double partials[5] = {2637, 3322, 3951, 4699, 5588};
             for (int i = 0; i < 5; ++i) Bell(b, i * 0.015, partials[i], 0.4, 0.18, 1.41, 1.5);
             return Finish(b, 0.65);
         }},
        {"sounds/h_bomb.ogg",
         [] {
             TBuffer b(0.45);
             Noise(b, 0, 0.45, 4000, 6000, 0.01, 0.15, 0.7, 37, true);
             TNoise crackle(41);
             for (int k = 0; k < 9; ++k) {
                 const double at = 0.02 + 0.045 * k + 0.02 * crackle.Next();
                 Noise(b, at, 0.01, 6000, 3000, 0.0003, 0.002, 0.9, 43 + k);
             }
             return Finish(b, 0.45);
         }},
        {"sounds/a_bomb.ogg",
         [] {
             TBuffer b(1.25);
             Noise(b, 0, 1.25, 4500, 4500, 0.001, 100, 0.6, 47, true);
             TNoise crackle(53);
             for (int k = 0; k < 20; ++k) {
                 const double at = 0.05 * k + 0.02 * crackle.Next() + 0.02;
                 Noise(b, at, 0.012, 6000, 3000, 0.0003, 0.002, 0.9, 59 + k);
             }
             MakeLoop(b, 0.25);
             return Finish(b, 0.4);
         }},
        {"sounds/Bomb_boom.ogg",
         [] {
             TBuffer b(1.8);
             Noise(b, 0, 0.06, 8000, 3000, 0.0005, 0.02, 0.8, 61);
             Noise(b, 0, 1.8, 1200, 120, 0.003, 0.45, 1.0, 67);
             Tone(b, 0, 110, 32, 0.6, 1.5, 0.004, 0.4, 0.9, {1.0, 0.3});
             return Finish(b, 0.9);
         }},
    };
    return makers;
}

} // namespace

TSound MakeEffect(const std::string& file) {
    const auto& named = Named();
    auto it = named.find(file);
    if (it != named.end()) return it->second();
    // sounds/sel_<family>_<v>.ogg and sounds/hover_<family>.ogg
    const std::string stem = file.substr(7, file.size() - 7 - 4);
    if (stem.rfind("sel_", 0) == 0) return Selection(stem.substr(4, stem.size() - 6), stem.back());
    if (stem.rfind("hover_", 0) == 0) return HoverBall(stem.substr(6));
    TBuffer silence(0.05);
    return Finish(silence);
}

} // namespace artgen
