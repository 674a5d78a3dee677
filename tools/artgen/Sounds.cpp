#include "tools/artgen/Audio.h"
#include "tools/artgen/Loudness.h"
#include "tools/artgen/Synth.h"

#include <cmath>
#include <functional>
#include <map>

namespace artgen {

using namespace synth;

namespace {

// Every effect is tuned to the music: D major, its pentatonic notes D E F# A B. Semitones from
// A4 of the pentatonic degrees from D5 upward.
double Pentatonic(int degree) {
    static const int steps[5] = {0, 2, 4, 7, 9}; // D E F# A B
    const int octave = degree >= 0 ? degree / 5 : -((4 - degree) / 5);
    const int inOctave = degree - 5 * octave;
    return Note(-7.0 + 12.0 * octave + steps[inOctave]);
}

// Loudness in game (the loudest 100 ms, LUFS, at the default sound volume 75 over the music at
// 50, which sits at -20 LUFS integrated): interface sounds 3.5-4.5 LU over the music, routine
// events -16.5 to -19 (at least 4 LU under the smallest reward), rewards -13 to -10.
constexpr double kClick = -15.5, kKey = -16.0, kHover = -16.5;
constexpr double kAppear = -16.5, kLand = -17.0, kTurn = -18.0, kRoll = -19.0;
constexpr double kSelection = -17.5, kHoverBall = -19.0, kFuse = -19.0;
constexpr double kClear1 = -12.0, kClear2 = -11.0, kClear3 = -10.0, kPaint = -12.0;
constexpr double kShatter = -13.0, kBoom = -10.0;
constexpr double kChain = -11.5, kBig = -10.5, kRecord = -10.0;
// A mono file plays on both output channels (+3 dB) at sound volume 75 (-2.5 dB).
constexpr double kInGameOffset = 3.01 - 2.50;
// True-peak ceiling before encoding; the encoder's error keeps the decoded file under -1 dBTP.
constexpr double kCeiling = -1.6;

TSound Finish(const TBuffer& b, double inGameLufs) {
    TSound s;
    s.Samples.resize(b.S.size());
    for (size_t i = 0; i < b.S.size(); ++i) s.Samples[i] = static_cast<float>(b.S[i]);
    Master(s, inGameLufs - kInGameOffset, false, kCeiling);
    return s;
}

// --- Interface --------------------------------------------------------------------------

// A button press: a bright tick of filtered noise, then a small hard body (two partials) and a
// low knock under it.
TSound Click() {
    TBuffer b(0.16);
    NoiseBurst(b, 0, 0.012, 4200, 3000, 1.2, 0.0004, 0.0022, 0.9, 17);
    Modal(b, 0.0015, Pentatonic(8), 0.5, {{1, 1, 0.030}, {2.31, 0.35, 0.012}, {4.1, 0.1, 0.005}});
    Modal(b, 0.0005, Note(-19), 0.3, {{1, 1, 0.012}, {2, 0.3, 0.008}}, 0.002); // D4 knock
    FadeEnd(b, 0.01);
    return Finish(b, kClick);
}

// The pointer reaches a button: a soft, short glassy blip, quieter than the press.
TSound Hover() {
    TBuffer b(0.12);
    NoiseBurst(b, 0, 0.006, 6000, 5000, 1.5, 0.0005, 0.0012, 0.25, 18);
    Modal(b, 0.001, Pentatonic(13), 0.5, {{1, 1, 0.028}, {2.0, 0.25, 0.012}}, 0.003);
    FadeEnd(b, 0.01);
    return Finish(b, kHover);
}

// A key of the name entry: a typewriter-like click with a wooden body.
TSound Key() {
    TBuffer b(0.12);
    NoiseBurst(b, 0, 0.008, 3200, 2200, 1.0, 0.0003, 0.0018, 0.8, 19);
    Modal(b, 0.001, 690, 0.45, {{1, 1, 0.022}, {2.72, 0.4, 0.008}, {5.2, 0.12, 0.004}});
    Modal(b, 0.0005, 185, 0.35, {{1, 1, 0.015}, {2, 0.4, 0.01}}, 0.002);
    FadeEnd(b, 0.01);
    return Finish(b, kKey);
}

// --- Routine events -----------------------------------------------------------------------

// New balls placed: a round woody pop that blooms into a glassy A.
TSound Appear() {
    TBuffer b(0.45);
    const double f = Note(12); // A5
    Glide(b, 0, 0.07, f * 0.62, f, 0.025, 0.002, 0.03, 0.45, {1.0, 0.2});
    Modal(b, 0.018, f, 0.55,
          {{1, 1, 0.16}, {2.0, 0.22, 0.07}, {2.76, 0.12, 0.035}, {5.4, 0.04, 0.01}}, 0.004);
    Modal(b, 0.018, f / 2, 0.18, {{1, 1, 0.09}}, 0.006); // body an octave under
    NoiseBurst(b, 0, 0.05, 1800, 900, 0.8, 0.002, 0.012, 0.25, 3);
    FadeEnd(b, 0.02);
    return Finish(b, kAppear);
}

// A ball settles on its cell: a muted wooden thock with its weight in the low middle
// (180-540 Hz), so that small speakers keep it.
TSound Land() {
    TBuffer b(0.26);
    NoiseBurst(b, 0, 0.012, 2400, 1200, 0.9, 0.0004, 0.003, 0.5, 29);
    Modal(b, 0.0005, Note(-7), 0.8, // D4
          {{1, 1, 0.05}, {1.58, 0.45, 0.035}, {2.32, 0.4, 0.025}, {4.25, 0.15, 0.012}}, 0.0015);
    Glide(b, 0, 0.07, 190, 140, 0.04, 0.002, 0.02, 0.35, {1.0, 0.6, 0.35});
    FadeEnd(b, 0.02);
    return Finish(b, kLand);
}

// The travelling ball turns a corner: a small wooden tock.
TSound Turn() {
    TBuffer b(0.12);
    NoiseBurst(b, 0, 0.006, 3000, 2000, 1.2, 0.0003, 0.0012, 0.45, 13);
    Modal(b, 0.0008, 1040, 0.5, {{1, 1, 0.028}, {2.57, 0.3, 0.01}, {4.9, 0.08, 0.004}});
    Modal(b, 0.0005, 330, 0.25, {{1, 1, 0.02}}, 0.002);
    FadeEnd(b, 0.01);
    return Finish(b, kTurn);
}

// The ball rolls: a loop of wooden rumble in two resonances, a rotation hum with its harmonics
// (each a whole number of cycles per loop) and small bumps, all made round so that the end runs
// into the start without a crossfade.
TSound Roll() {
    const double seconds = 1.2;
    TBuffer noise(seconds, true), hum(seconds, true), bumps(seconds, true);
    TRandom rng(11);
    for (double& v : noise.S) v = rng.Signed();
    TBuffer low = noise, mid = noise;
    TBiquad lowBand(TBiquad::BandPass, 230, 1.2), midBand(TBiquad::BandPass, 620, 2.0);
    Filter(low, lowBand);
    Filter(mid, midBand);
    // Rotation: 7.5 turns a second (9 per loop) shaping the rumble; hum on 170 Hz (204 cycles).
    for (int i = 0; i < noise.Size(); ++i) {
        const double t = i / kRateHz, turn = kTwoPi * 9 * t / seconds;
        const double wobble = 0.75 + 0.25 * std::sin(turn) + 0.08 * std::sin(3 * turn + 1);
        noise.S[static_cast<size_t>(i)] =
            wobble * (low.S[static_cast<size_t>(i)] * 1.0 + mid.S[static_cast<size_t>(i)] * 0.45);
        const double h = kTwoPi * 204 * t / seconds;
        hum.S[static_cast<size_t>(i)] =
            wobble * (0.05 * std::sin(h) + 0.04 * std::sin(2 * h + 0.5) + 0.02 * std::sin(3 * h));
    }
    // Small bumps of the board, twice per turn.
    for (int k = 0; k < 18; ++k) {
        const double at = (k + 0.3 * rng.Signed()) * seconds / 18;
        Modal(bumps, at, rng.Range(380, 460), 0.12 * rng.Range(0.6, 1.0),
              {{1, 1, 0.012}, {2.4, 0.4, 0.006}}, 0.002);
    }
    TBuffer b(seconds, true);
    for (int i = 0; i < b.Size(); ++i)
        b.S[static_cast<size_t>(i)] = noise.S[static_cast<size_t>(i)] +
                                      hum.S[static_cast<size_t>(i)] +
                                      bumps.S[static_cast<size_t>(i)];
    TBiquad top(TBiquad::LowPass, 2500, 0.7071);
    Filter(b, top);
    b.Wrap = false;
    return Finish(b, kRoll);
}

// A fuse burning: hiss and crackle under 5.5 kHz with a warm body, made round like the roll.
// `seconds` and `seed` make the loop and the shorter fizz of the hover.
TBuffer Fuse(double seconds, bool wrap, unsigned seed) {
    TBuffer hiss(seconds, wrap), body(seconds, wrap), sparks(seconds, wrap);
    TRandom rng(seed);
    for (double& v : hiss.S) v = rng.Signed();
    body.S = hiss.S;
    TBiquad hissBand(TBiquad::BandPass, 2600, 0.8), bodyBand(TBiquad::BandPass, 420, 1.4);
    Filter(hiss, hissBand);
    Filter(body, bodyBand);
    // Flutter: three slow sines with whole numbers of cycles per turn.
    const double n1 = std::round(11 * seconds), n2 = std::round(17 * seconds),
                 n3 = std::round(5 * seconds);
    for (int i = 0; i < hiss.Size(); ++i) {
        const double t = i / kRateHz / seconds;
        const double flutter = 0.7 + 0.15 * std::sin(kTwoPi * n1 * t) +
                               0.1 * std::sin(kTwoPi * n2 * t + 2) +
                               0.05 * std::sin(kTwoPi * n3 * t);
        hiss.S[static_cast<size_t>(i)] = flutter * (0.55 * hiss.S[static_cast<size_t>(i)] +
                                                    0.5 * body.S[static_cast<size_t>(i)]);
    }
    const int count = static_cast<int>(38 * seconds);
    for (int k = 0; k < count; ++k) {
        const double at = seconds * rng.Uniform();
        const double hz = rng.Range(1400, 4200);
        NoiseBurst(sparks, at, 0.012, hz, hz * 0.7, 1.6, 0.0002, rng.Range(0.0008, 0.0025),
                   rng.Range(0.4, 1.2), seed * 100 + static_cast<unsigned>(k));
    }
    TBuffer b(seconds, wrap);
    for (int i = 0; i < b.Size(); ++i)
        b.S[static_cast<size_t>(i)] =
            hiss.S[static_cast<size_t>(i)] + sparks.S[static_cast<size_t>(i)];
    // Nothing sharp above the sparks: two low-passes at 5.5 kHz (24 dB an octave).
    TBiquad lp1(TBiquad::LowPass, 5500, 0.54), lp2(TBiquad::LowPass, 5500, 1.31);
    Filter(b, lp1);
    Filter(b, lp2);
    return b;
}

TSound FuseLoop() {
    TBuffer b = Fuse(1.25, true, 47);
    b.Wrap = false;
    return Finish(b, kFuse);
}

// The pointer rests on a bomb: a short fizz of its fuse.
TSound FuseHover() {
    TBuffer fuse = Fuse(0.45, false, 37);
    for (int i = 0; i < fuse.Size(); ++i) {
        const double t = i / kRateHz;
        fuse.S[static_cast<size_t>(i)] *= std::min(1.0, t / 0.015) * std::exp(-t / 0.12);
    }
    FadeEnd(fuse, 0.03);
    return Finish(fuse, kFuse);
}

// The selected ball bounces: a marimba-like bar (partials 1 : 3.93 : 9.2) on the chord tones
// of its colour, rising a, b, c, d; the mixed balls ring a fifth with it.
TSound Selection(int degree, char variant, bool mixed) {
    const double f = Pentatonic(degree + (variant - 'a'));
    TBuffer b(0.32);
    NoiseBurst(b, 0, 0.01, 1600, 900, 0.8, 0.0005, 0.002, 0.35,
               41 + static_cast<unsigned>(variant));
    Modal(b, 0.001, f, 0.6, {{1, 1, 0.11}, {3.93, 0.3, 0.025}, {9.2, 0.08, 0.006}}, 0.0015);
    Modal(b, 0.001, f / 2, 0.14, {{1, 1, 0.06}}, 0.003);
    if (mixed) Modal(b, 0.012, f * 1.5, 0.3, {{1, 1, 0.08}, {3.93, 0.2, 0.02}}, 0.002);
    FadeEnd(b, 0.02);
    return Finish(b, kSelection);
}

// The pointer rests on a ball: a quiet glass ting of its colour's note.
TSound HoverBall(int degree, bool bomb) {
    TBuffer b(0.3);
    const double f = bomb ? Note(-7) : Pentatonic(degree); // the bomb: D4, under the colours
    NoiseBurst(b, 0, 0.006, 5000, 4000, 1.2, 0.0004, 0.0012, 0.2, 51);
    Modal(b, 0.001, f, 0.5, {{1, 1, 0.09}, {2.76, 0.2, 0.03}, {5.4, 0.06, 0.012}}, 0.003);
    FadeEnd(b, 0.02);
    return Finish(b, kHoverBall);
}

// --- Rewards --------------------------------------------------------------------------------

// A celesta-like glass note: harmonic partials with a slightly stretched fourth, a soft mallet.
void Chime(TBuffer& b, double at, double f, double level, double decay, unsigned seed) {
    NoiseBurst(b, at, 0.01, 3000, 2200, 1.0, 0.0004, 0.0015, 0.25 * level, seed);
    Modal(b, at + 0.001, f, level,
          {{1, 1, decay}, {2, 0.28, decay * 0.45}, {3, 0.1, decay * 0.2}, {4.2, 0.05, decay * 0.1}},
          0.002);
}

TSound Clear1() {
    TBuffer b(0.8);
    Chime(b, 0, Pentatonic(3), 0.55, 0.3, 61);    // A5
    Chime(b, 0.06, Pentatonic(5), 0.6, 0.35, 62); // D6
    Modal(b, 0.06, Pentatonic(0), 0.18, {{1, 1, 0.2}}, 0.004);
    FadeEnd(b, 0.05);
    return Finish(b, kClear1);
}

TSound Clear2() {
    TBuffer b(1.1);
    const int degrees[4] = {0, 2, 3, 5}; // D F# A D
    for (int i = 0; i < 4; ++i)
        Chime(b, 0.05 * i, Pentatonic(degrees[i]), 0.5, 0.35 + 0.05 * i,
              63 + static_cast<unsigned>(i));
    Modal(b, 0, Note(-19), 0.3, {{1, 1, 0.35}, {2, 0.4, 0.2}, {3, 0.15, 0.1}}, 0.006); // D4 body
    FadeEnd(b, 0.06);
    return Finish(b, kClear2);
}

TSound Clear3() {
    TBuffer b(1.7);
    const int degrees[7] = {0, 2, 3, 4, 5, 7, 8}; // D F# A B D F# A
    for (int i = 0; i < 7; ++i)
        Chime(b, 0.045 * i, Pentatonic(degrees[i]), 0.42, 0.3 + 0.04 * i,
              70 + static_cast<unsigned>(i));
    // The chord that stays: a singing bowl over D, F#, A and D.
    const double bowl = 0.33;
    for (int d : {0, 2, 3, 5})
        Modal(b, bowl, Pentatonic(d), 0.22, {{1, 1, 0.7}, {2.01, 0.2, 0.3}, {2.99, 0.06, 0.15}},
              0.03);
    Modal(b, 0, Note(-31), 0.35, {{1, 1, 0.5}, {2, 0.5, 0.3}, {3, 0.25, 0.2}, {4, 0.1, 0.1}}, 0.01);
    NoiseBurst(b, 0, 0.5, 700, 3200, 1.5, 0.2, 0.12, 0.12, 79); // rising air
    FadeEnd(b, 0.1);
    return Finish(b, kClear3);
}

// A paint ball goes off: a wet splash sweeping down, and three bubbles rising to D, F# and A.
TSound Paint() {
    TBuffer b(0.65);
    NoiseBurst(b, 0, 0.4, 2600, 450, 1.6, 0.003, 0.09, 0.9, 23);
    NoiseBurst(b, 0, 0.05, 5000, 2500, 0.8, 0.0005, 0.008, 0.35, 24);
    const int degrees[3] = {0, 2, 3}; // D5 F#5 A5
    for (int i = 0; i < 3; ++i) {
        const double f = Pentatonic(degrees[i]);
        Glide(b, 0.05 + 0.07 * i, 0.12, f * 0.55, f, 0.05, 0.004, 0.04, 0.35, {1.0, 0.15});
    }
    FadeEnd(b, 0.04);
    return Finish(b, kPaint);
}

// A ball destroyed by a blast: glass breaking into pieces that each ring a few inharmonic
// partials, the crack first and the pieces after, nothing above 7 kHz.
TSound Shatter() {
    TBuffer b(0.6);
    NoiseBurst(b, 0, 0.02, 3500, 2500, 0.9, 0.0003, 0.004, 0.45, 31);
    NoiseBurst(b, 0, 0.25, 5000, 1800, 0.7, 0.001, 0.05, 0.35, 32);
    TRandom rng(33);
    for (int k = 0; k < 34; ++k) {
        const double at = 0.004 + 0.16 * std::pow(rng.Uniform(), 1.8);
        const double f = rng.Range(1300, 4800), level = rng.Range(0.05, 0.16);
        Modal(b, at, f, level,
              {{1, 1, rng.Range(0.015, 0.08)},
               {rng.Range(1.4, 1.7), 0.5, rng.Range(0.01, 0.04)},
               {rng.Range(2.2, 2.9), 0.25, 0.01}},
              0.0005);
    }
    FadeEnd(b, 0.05);
    return Finish(b, kShatter);
}

// The bomb: a crack, a falling low body driven into soft saturation so that its harmonics land
// in 130-400 Hz, a mid-range thump, rumble, and debris settling.
TSound Boom() {
    TBuffer b(1.8);
    NoiseBurst(b, 0, 0.03, 3500, 1500, 0.7, 0.0004, 0.006, 0.5, 61);
    TBuffer body(1.8);
    Glide(body, 0, 1.5, 105, 42, 0.5, 0.003, 0.35, 1.0, {1.0, 0.35});
    // Saturation, a little lopsided: odd and even harmonics of the falling tone.
    for (double& v : body.S) v = 0.28 * std::tanh(2.8 * v + 0.6 * v * v);
    TBiquad dc(TBiquad::HighPass, 30, 0.7071);
    Filter(body, dc);
    for (int i = 0; i < b.Size(); ++i)
        b.S[static_cast<size_t>(i)] += body.S[static_cast<size_t>(i)];
    NoiseBurst(b, 0, 0.7, 420, 190, 0.9, 0.002, 0.14, 3.0, 62);
    NoiseBurst(b, 0, 0.3, 900, 500, 0.8, 0.001, 0.07, 0.9, 63);
    TBuffer rumble(1.8);
    TRandom rng(67);
    for (double& v : rumble.S) v = rng.Signed();
    TBiquad lp(TBiquad::LowPass, 260, 0.9);
    Filter(rumble, lp);
    for (int i = 0; i < b.Size(); ++i) {
        const double t = i / kRateHz;
        b.S[static_cast<size_t>(i)] +=
            0.8 * rumble.S[static_cast<size_t>(i)] * std::min(1.0, t / 0.01) * std::exp(-t / 0.45);
    }
    for (int k = 0; k < 16; ++k) {
        const double at = 0.15 + 0.9 * std::pow(rng.Uniform(), 1.4);
        Modal(b, at, rng.Range(600, 2600), rng.Range(0.02, 0.06) * std::exp(-at / 0.5),
              {{1, 1, 0.02}, {2.3, 0.4, 0.01}}, 0.0008);
    }
    FadeEnd(b, 0.2);
    return Finish(b, kBoom);
}

// A chain of `length` lines in a row (2..6): a quick run of chimes up the pentatonic scale from
// A5, one note more and a step higher for every line of the chain, ending on a held note over a
// soft bell a fifth below.
TSound Chain(int length) {
    TBuffer b(0.55 + 0.06 * length);
    const int top = 3 + 2 * (length - 1); // A5, then up by two degrees a step
    for (int i = 0; i < length; ++i) {
        const int degree = top - (length - 1 - i) * 2;
        Chime(b, 0.055 * i, Pentatonic(degree), i + 1 == length ? 0.6 : 0.42,
              i + 1 == length ? 0.34 : 0.16, 90 + static_cast<unsigned>(10 * length + i));
    }
    Modal(b, 0.055 * (length - 1), Pentatonic(top - 3), 0.18, {{1, 1, 0.3}, {2, 0.2, 0.1}}, 0.004);
    FadeEnd(b, 0.06);
    return Finish(b, kChain);
}

// A big moment (a line of seven or more, a bomb going off): a low swell of air rising into a
// bright shimmer of high chimes over a D.
TSound Big() {
    TBuffer b(1.5);
    NoiseBurst(b, 0, 0.45, 500, 4200, 1.2, 0.25, 0.2, 0.35, 81);
    Modal(b, 0, Note(-31), 0.3, {{1, 1, 0.6}, {2, 0.4, 0.3}, {3, 0.15, 0.15}}, 0.02); // D3
    TRandom rng(83);
    const int degrees[6] = {5, 7, 8, 10, 12, 13};
    for (int i = 0; i < 6; ++i)
        Chime(b, 0.22 + 0.04 * i + 0.01 * rng.Uniform(), Pentatonic(degrees[i]), 0.3, 0.45,
              84 + static_cast<unsigned>(i));
    FadeEnd(b, 0.15);
    return Finish(b, kBig);
}

// A new high score: a fanfare of chimes up the D major chord in two bursts, then the whole chord
// ringing over a bass D.
TSound Record() {
    TBuffer b(2.4);
    const int first[4] = {0, 2, 3, 5};   // D F# A D
    const int second[4] = {5, 7, 8, 10}; // an octave up
    for (int i = 0; i < 4; ++i)
        Chime(b, 0.07 * i, Pentatonic(first[i]), 0.45, 0.25, 100 + static_cast<unsigned>(i));
    for (int i = 0; i < 4; ++i)
        Chime(b, 0.42 + 0.07 * i, Pentatonic(second[i]), 0.42, 0.3 + 0.05 * i,
              110 + static_cast<unsigned>(i));
    for (int d : {0, 2, 3, 5, 7})
        Modal(b, 0.75, Pentatonic(d), 0.2, {{1, 1, 0.8}, {2.01, 0.2, 0.3}}, 0.03);
    Modal(b, 0.75, Note(-31), 0.32, {{1, 1, 0.7}, {2, 0.4, 0.3}}, 0.01);
    NoiseBurst(b, 0.35, 0.5, 900, 5000, 1.2, 0.3, 0.15, 0.12, 119);
    FadeEnd(b, 0.3);
    return Finish(b, kRecord);
}

// The pentatonic degree of each colour family (c1..c7 from D5 up; the mixed balls on D5).
int FamilyDegree(const std::string& family) {
    static const std::map<std::string, int> degrees = {{"c1", 0}, {"c2", 1},    {"c3", 2},
                                                       {"c4", 3}, {"c5", 4},    {"c6", 5},
                                                       {"c7", 6}, {"multi", 0}, {"bomb", -5}};
    const auto it = degrees.find(family);
    return it == degrees.end() ? 0 : it->second;
}

using TMaker = std::function<TSound()>;

const std::map<std::string, TMaker>& Named() {
    static const std::map<std::string, TMaker> makers = {
        {"sounds/appear.ogg", Appear},
        {"sounds/clear1.ogg", Clear1},
        {"sounds/clear2.ogg", Clear2},
        {"sounds/clear3.ogg", Clear3},
        {"sounds/roll.ogg", Roll},
        {"sounds/turn.ogg", Turn},
        {"sounds/click.ogg", Click},
        {"sounds/hover.ogg", Hover},
        {"sounds/key.ogg", Key},
        {"sounds/paint.ogg", Paint},
        {"sounds/land.ogg", Land},
        {"sounds/shatter.ogg", Shatter},
        {"sounds/h_bomb.ogg", FuseHover},
        {"sounds/a_bomb.ogg", FuseLoop},
        {"sounds/Bomb_boom.ogg", Boom},
        {"sounds/chain2.ogg", [] { return Chain(2); }},
        {"sounds/chain3.ogg", [] { return Chain(3); }},
        {"sounds/chain4.ogg", [] { return Chain(4); }},
        {"sounds/chain5.ogg", [] { return Chain(5); }},
        {"sounds/chain6.ogg", [] { return Chain(6); }},
        {"sounds/big.ogg", Big},
        {"sounds/record.ogg", Record},
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
    if (stem.rfind("sel_", 0) == 0) {
        const std::string family = stem.substr(4, stem.size() - 6);
        return Selection(FamilyDegree(family), stem.back(), family == "multi");
    }
    if (stem.rfind("hover_", 0) == 0) {
        const std::string family = stem.substr(6);
        return HoverBall(FamilyDegree(family), family == "bomb");
    }
    TSound silence;
    silence.Samples.assign(kRate / 20, 0.0f);
    return silence;
}

} // namespace artgen
