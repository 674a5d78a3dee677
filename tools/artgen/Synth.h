#pragma once
// The building blocks of the generated sounds and music: a seeded noise source, filters, modal
// voices (struck objects as sums of decaying partials) and buffers that can wrap round, so that a
// loop's tails run on into its start.
#include <cmath>
#include <initializer_list>
#include <vector>

namespace artgen::synth {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2 * kPi;
constexpr double kRateHz = 44100.0;

// The frequency of a note in semitones from A4 (440 Hz).
inline double Note(double semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}
inline double FromDb(double db) {
    return std::pow(10.0, db / 20.0);
}

// xorshift32: the same seed gives the same numbers on every machine.
class TRandom {
public:
    explicit TRandom(unsigned seed) : state_(seed * 747796405u + 2891336453u) {
        if (state_ == 0) state_ = 1;
    }
    unsigned Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    double Uniform() { return (Next() >> 8) / 16777216.0; } // 0..1
    double Signed() { return 2 * Uniform() - 1; }           // -1..1
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

private:
    unsigned state_;
};

// A second-order filter (the cookbook forms). Set may be called between samples to sweep it.
class TBiquad {
public:
    enum TKind { LowPass, HighPass, BandPass, Peak, HighShelf, LowShelf };
    TBiquad() = default;
    TBiquad(TKind kind, double hz, double q = 0.7071, double gainDb = 0) {
        Set(kind, hz, q, gainDb);
    }
    void Set(TKind kind, double hz, double q = 0.7071, double gainDb = 0);
    double Run(double x) {
        const double y = b0_ * x + z1_;
        z1_ = b1_ * x - a1_ * y + z2_;
        z2_ = b2_ * x - a2_ * y;
        return y;
    }

private:
    double b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0, z1_ = 0, z2_ = 0;
};

// Mono samples in -1..1 (before mastering, any level). With `Wrap`, whatever is added past the
// end continues at the start: the buffer is one turn of a loop.
struct TBuffer {
    std::vector<double> S;
    bool Wrap = false;
    explicit TBuffer(double seconds, bool wrap = false)
        : S(static_cast<size_t>(seconds * kRateHz + 0.5)), Wrap(wrap) {}
    int Size() const { return static_cast<int>(S.size()); }
    void Add(long i, double v) {
        const long n = static_cast<long>(S.size());
        if (Wrap) {
            i %= n;
            if (i < 0) i += n;
        } else if (i < 0 || i >= n) {
            return;
        }
        S[static_cast<size_t>(i)] += v;
    }
};

// One partial of a struck object: frequency as a multiple of the fundamental, level, and the
// time in seconds in which it falls by 1/e.
struct TPartial {
    double Ratio, Level, Decay;
};

// A struck object at `at` seconds: the partials with their own decays, an attack of `attack`
// seconds, nothing above `ceilingHz`. The phases start at 0, so the strike itself is smooth.
void Modal(TBuffer& b, double at, double hz, double level, std::initializer_list<TPartial> partials,
           double attack = 0.001, double ceilingHz = 7000);
// A tone that glides from hz0 to hz1 over `glide` seconds (exponentially), with harmonic levels
// `harmonics` (1st, 2nd, ...), an attack, an exponential decay and a short end fade.
void Glide(TBuffer& b, double at, double seconds, double hz0, double hz1, double glide,
           double attack, double decay, double level, std::initializer_list<double> harmonics);
// A burst of noise through a band-pass that sweeps from hz0 to hz1 (q its sharpness), with an
// attack and an exponential decay. Seeds keep every burst its own.
void NoiseBurst(TBuffer& b, double at, double seconds, double hz0, double hz1, double q,
                double attack, double decay, double level, unsigned seed);
// Runs `filter` over the buffer in place; a wrapping buffer is run twice round, so that the
// filter's memory at the start comes from the end.
template <class TFilter> void Filter(TBuffer& b, TFilter& filter) {
    if (b.Wrap)
        for (double v : b.S) filter.Run(v);
    for (double& v : b.S) v = filter.Run(v);
}
// A fade of `seconds` at the end (raised cosine), so that nothing clicks when the sound stops.
void FadeEnd(TBuffer& b, double seconds);

// A sound made in two channels.
struct TStereo {
    TBuffer L, R;
    explicit TStereo(double seconds) : L(seconds), R(seconds) {}
    int Size() const { return L.Size(); }
};
// Adds `mono` to both channels at `pan` (-1 left .. 1 right), with equal power across.
void Pan(const TBuffer& mono, double pan, TStereo& out);
// The one small room every reward sounds in: early reflections and a feedback delay network of
// eight lines, about 0.8 s to fall by 60 dB, its highs dying faster. Its two channels differ, so
// that what it adds widens the sound; `wet` scales it (1: about as much energy as the dry sound
// of a struck note).
void Room(TStereo& s, double wet);

} // namespace artgen::synth
