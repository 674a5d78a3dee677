#include "platform/VolumeLaw.h"
#include "state/OptionsState.h"
#include "tools/artgen/Analysis.h"
#include "tools/artgen/Audio.h"
#include "tools/artgen/Loudness.h"
#include "tools/artgen/Synth.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace artgen {

using namespace synth;

namespace {

// Every effect is tuned to the music: D major. The tuned effects use its pentatonic notes
// (D E F# A B); semitones from A4 of the pentatonic degrees from D4 upward.
double Pentatonic(int degree) {
    static const int steps[5] = {0, 2, 4, 7, 9}; // D E F# A B
    const int octave = degree >= 0 ? degree / 5 : -((4 - degree) / 5);
    const int inOctave = degree - 5 * octave;
    return Note(-7.0 + 12.0 * octave + steps[inOctave]);
}
// The seven notes of D major from D4 upward.
double Major(int degree) {
    static const int steps[7] = {0, 2, 4, 5, 7, 9, 11}; // D E F# G A B C#
    const int octave = degree >= 0 ? degree / 7 : -((6 - degree) / 7);
    return Note(-7.0 + 12.0 * octave + steps[degree - 7 * octave]);
}

// Loudness in game (the loudest 100 ms, LUFS, at the default volumes: sound 75, music 50, under
// which the music sits at -29 LUFS integrated): interface sounds 3.5-4.5 LU over the music,
// routine events around the music's level, rewards 10-12 LU over it and each larger moment
// louder. A move's landing, corner and new balls together stay 4 LU or more under the smallest
// reward.
constexpr double kClick = -24.5, kKey = -25.0, kHover = -25.5;
constexpr double kAppear = -28.0, kLand = -27.0, kTurn = -29.5, kRoll = -29.0;
constexpr double kSelection = -27.5, kHoverBall = -29.0, kFuse = -29.0;
constexpr double kClear1 = -19.0, kClear2 = -18.0, kClear3 = -17.0, kPaint = -19.0;
constexpr double kShatter = -20.0, kBoom = -17.0, kMultiply = -18.0;
constexpr double kChain = -18.0, kBig = -17.0, kRecord = -17.0;
// True-peak ceiling before encoding; the encoder's error keeps the decoded file under -1 dBTP.
constexpr double kCeiling = -1.6;
// Crest ceiling: the peak no more than this over the RMS of the loudest 50 ms (the encoder adds up
// to half a decibel, and over a decibel to noises and crashes; no decoded file passes 10 dB).
constexpr double kMaxCrest = 8.5, kMaxNoiseCrest = 8.0;

// What a file's loudness gains in game at the default sound volume; a mono file plays on both
// output channels (+3 dB).
double InGameOffset(int channels) {
    return 20 * std::log10(VolumeGain(TOptionsState{}.SoundVolume)) + (channels == 1 ? 3.01 : 0.0);
}

// Takes each channel's mean out with a Hann-shaped bump over the whole sound: a few hertz at
// most, so nothing audible changes, and the ends stay as they were.
void RemoveDc(TSound& s) {
    const int frames = s.Frames();
    if (frames < 3) return;
    for (int c = 0; c < s.Channels; ++c) {
        double sum = 0, weights = 0;
        for (int i = 0; i < frames; ++i) {
            sum += s.Samples[static_cast<size_t>(i * s.Channels + c)];
            weights += 0.5 - 0.5 * std::cos(kTwoPi * i / (frames - 1));
        }
        const double scale = sum / weights;
        for (int i = 0; i < frames; ++i)
            s.Samples[static_cast<size_t>(i * s.Channels + c)] -=
                static_cast<float>(scale * (0.5 - 0.5 * std::cos(kTwoPi * i / (frames - 1))));
    }
}

// Brought to its loudness in game, its peaks held under the true-peak ceiling and its crest under
// `maxCrest`, its DC taken out.
TSound Mastered(TSound s, double inGameLufs, double maxCrest) {
    Master(s, inGameLufs - InGameOffset(s.Channels), false, kCeiling, maxCrest);
    RemoveDc(s);
    return s;
}

TSound Finish(const TBuffer& b, double inGameLufs, double maxCrest = kMaxCrest) {
    TSound s;
    s.Samples.resize(b.S.size());
    for (size_t i = 0; i < b.S.size(); ++i) s.Samples[i] = static_cast<float>(b.S[i]);
    return Mastered(std::move(s), inGameLufs, maxCrest);
}

TSound Finish(const TStereo& b, double inGameLufs, double maxCrest = kMaxCrest) {
    TSound s;
    s.Channels = 2;
    s.Samples.resize(2 * b.L.S.size());
    for (size_t i = 0; i < b.L.S.size(); ++i) {
        s.Samples[2 * i] = static_cast<float>(b.L.S[i]);
        s.Samples[2 * i + 1] = static_cast<float>(b.R.S[i]);
    }
    return Mastered(std::move(s), inGameLufs, maxCrest);
}

// --- Interface --------------------------------------------------------------------------

// A button press: a soft tick of filtered noise, then a small hard body on A5 and a low knock on
// D3 under it.
TSound Click() {
    TBuffer b(0.22);
    NoiseBurst(b, 0, 0.010, 4200, 3000, 1.2, 0.0008, 0.0022, 0.2, 17);
    Modal(b, 0.0015, Pentatonic(8), 0.5, {{1, 1, 0.032}, {2, 0.25, 0.012}, {3, 0.08, 0.005}});
    Modal(b, 0.0005, Note(-19), 0.3, {{1, 1, 0.014}, {2, 0.3, 0.008}}, 0.002);
    FadeEnd(b, 0.06);
    return Finish(b, kClick);
}

// The pointer reaches a button: a soft, short glassy blip on A6, quieter than the press.
TSound Hover() {
    TBuffer b(0.2);
    NoiseBurst(b, 0, 0.006, 6000, 5000, 1.5, 0.0005, 0.0012, 0.2, 18);
    Modal(b, 0.001, Pentatonic(13), 0.5, {{1, 1, 0.028}, {2.0, 0.25, 0.012}}, 0.003);
    FadeEnd(b, 0.06);
    return Finish(b, kHover);
}

// A key of the name entry: a typewriter-like click with a wooden body on D5 over A3.
TSound Key() {
    TBuffer b(0.2);
    NoiseBurst(b, 0, 0.008, 3200, 2200, 1.0, 0.0008, 0.0018, 0.2, 19);
    Modal(b, 0.001, Pentatonic(5), 0.45, {{1, 1, 0.024}, {3, 0.2, 0.008}, {6, 0.06, 0.004}});
    Modal(b, 0.0005, Pentatonic(-2), 0.35, {{1, 1, 0.016}, {2, 0.4, 0.01}}, 0.002);
    FadeEnd(b, 0.06);
    return Finish(b, kKey);
}

// --- Routine events -----------------------------------------------------------------------
// The sounds that vary in pitch as they come again (new balls, landing, corners, rolling, keys)
// hold only D and A and their octaves and fifths, so that the steps they are played at (down a
// minor third, up a whole tone, and for the new balls down a fourth) keep them on the scale.

// New balls grow in (about 0.45 s): a soft pop that blooms into a glassy A5 as they reach their
// size, its loudest part after the landing's knock.
TSound Appear() {
    TBuffer b(0.9);
    const double f = Note(12); // A5
    Glide(b, 0.02, 0.16, f * 0.5, f, 0.12, 0.05, 0.05, 0.3, {1.0, 0.15});
    Modal(b, 0.13, f, 0.55, {{1, 1, 0.16}, {2.0, 0.22, 0.07}, {3.0, 0.06, 0.03}, {6.0, 0.02, 0.01}},
          0.02);
    Modal(b, 0.13, f / 2, 0.2, {{1, 1, 0.1}}, 0.02); // body an octave under
    NoiseBurst(b, 0.02, 0.12, 1200, 2400, 0.8, 0.04, 0.03, 0.12, 3);
    FadeEnd(b, 0.15);
    return Finish(b, kAppear);
}

// A ball settles on its cell: a muted wooden thock on D4 with its weight in the low middle
// (150-600 Hz), so that small speakers keep it.
TSound Land() {
    TBuffer b(0.45);
    NoiseBurst(b, 0, 0.012, 2400, 1200, 0.9, 0.0006, 0.003, 0.4, 29);
    Modal(b, 0.0005, Note(-7), 0.8, // D4
          {{1, 1, 0.05}, {1.5, 0.4, 0.035}, {2, 0.35, 0.025}, {3, 0.15, 0.012}}, 0.0015);
    Glide(b, 0, 0.09, 196, Note(-19), 0.04, 0.002, 0.02, 0.35, {1.0, 0.5, 0.25}); // to D3
    FadeEnd(b, 0.1);
    return Finish(b, kLand);
}

// The travelling ball turns a corner: a small wooden tock on A5 over E4.
TSound Turn() {
    TBuffer b(0.22);
    NoiseBurst(b, 0, 0.006, 3000, 2000, 1.2, 0.0006, 0.0012, 0.2, 13);
    Modal(b, 0.0008, Note(12), 0.5, {{1, 1, 0.028}, {2, 0.25, 0.01}, {3, 0.08, 0.004}});
    Modal(b, 0.0005, Pentatonic(1), 0.25, {{1, 1, 0.02}}, 0.002);
    FadeEnd(b, 0.06);
    return Finish(b, kTurn);
}

// The ball rolls: a loop of wooden rumble in two resonances (A3, D5) that swell with the turning
// ball, a steady hum on D3 with its harmonics (each a whole number of cycles per loop) and small
// bumps on A4 and D5, all made round so that the end runs into the start without a crossfade.
TSound Roll() {
    const double seconds = 1.2;
    TBuffer noise(seconds, true), hum(seconds, true), bumps(seconds, true);
    TRandom rng(11);
    for (double& v : noise.S) v = rng.Signed();
    TBuffer low = noise, mid = noise;
    TBiquad lowBand(TBiquad::BandPass, Note(-12), 1.2), midBand(TBiquad::BandPass, Note(5), 2.0);
    Filter(low, lowBand);
    Filter(mid, midBand);
    // Rotation: 7.5 turns a second (9 per loop) shaping the rumble; the hum 176 cycles a loop
    // (146.7 Hz, D3 less 2 cents).
    for (int i = 0; i < noise.Size(); ++i) {
        const double t = i / kRateHz, turn = kTwoPi * 9 * t / seconds;
        const double wobble = 0.75 + 0.25 * std::sin(turn) + 0.08 * std::sin(3 * turn + 1);
        noise.S[static_cast<size_t>(i)] =
            wobble * (low.S[static_cast<size_t>(i)] * 1.0 + mid.S[static_cast<size_t>(i)] * 0.45);
        const double h = kTwoPi * 176 * t / seconds;
        hum.S[static_cast<size_t>(i)] =
            0.04 * std::sin(h) + 0.032 * std::sin(2 * h + 0.5) + 0.016 * std::sin(3 * h);
    }
    // Small bumps of the board, twice per turn.
    for (int k = 0; k < 18; ++k) {
        const double at = (k + 0.3 * rng.Signed()) * seconds / 18;
        Modal(bumps, at, k % 3 ? Note(0) : Note(5), 0.1 * rng.Range(0.6, 1.0),
              {{1, 1, 0.012}, {2, 0.3, 0.006}}, 0.002);
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
    TBiquad hissBand(TBiquad::BandPass, 2600, 0.8), bodyBand(TBiquad::BandPass, 440, 1.4);
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
    // Crackle: many small sparks rather than a few loud ones, so that no click stands far over
    // the hiss.
    const int count = static_cast<int>(70 * seconds);
    for (int k = 0; k < count; ++k) {
        const double at = seconds * rng.Uniform();
        const double hz = rng.Range(1400, 4200);
        NoiseBurst(sparks, at, 0.012, hz, hz * 0.7, 1.6, 0.0004, rng.Range(0.0008, 0.0025),
                   rng.Range(0.25, 0.6), seed * 100 + static_cast<unsigned>(k));
    }
    TBuffer b(seconds, wrap);
    for (int i = 0; i < b.Size(); ++i)
        b.S[static_cast<size_t>(i)] =
            hiss.S[static_cast<size_t>(i)] + sparks.S[static_cast<size_t>(i)];
    // A fizz, not a rattle: the loudest crackles rounded off (a soft saturation at twice the
    // RMS); then nothing under the body that the rounding made (a high-pass at 250 Hz) and nothing
    // sharp above the sparks (two low-passes at 5.5 kHz, 24 dB an octave).
    double power = 0;
    for (double v : b.S) power += v * v;
    const double knee = 2.0 * std::sqrt(power / std::max(1, b.Size()));
    if (knee > 0)
        for (double& v : b.S) v = knee * std::tanh(v / knee);
    TBiquad hp(TBiquad::HighPass, 250, 0.7071);
    TBiquad lp1(TBiquad::LowPass, 5500, 0.54), lp2(TBiquad::LowPass, 5500, 1.31);
    Filter(b, hp);
    Filter(b, lp1);
    Filter(b, lp2);
    return b;
}

TSound FuseLoop() {
    TBuffer b = Fuse(1.25, true, 47);
    b.Wrap = false;
    return Finish(b, kFuse, kMaxNoiseCrest);
}

// The pointer rests on a bomb: a short fizz of its fuse.
TSound FuseHover() {
    TBuffer fuse = Fuse(0.6, false, 37);
    for (int i = 0; i < fuse.Size(); ++i) {
        const double t = i / kRateHz;
        fuse.S[static_cast<size_t>(i)] *= std::min(1.0, t / 0.015) * std::exp(-t / 0.1);
    }
    FadeEnd(fuse, 0.12);
    return Finish(fuse, kFuse, kMaxNoiseCrest);
}

// The selected ball bounces: a marimba-like bar (its overtone tuned two octaves up, as a
// marimba's is) on the chord tones of its colour, rising a, b, c, d; the mixed balls ring a
// fifth with it.
TSound Selection(int degree, char variant, bool mixed) {
    const double f = Pentatonic(degree + (variant - 'a'));
    TBuffer b(0.42);
    NoiseBurst(b, 0, 0.01, 1600, 900, 0.8, 0.0006, 0.002, 0.3, 41 + static_cast<unsigned>(variant));
    Modal(b, 0.001, f, 0.6, {{1, 1, 0.11}, {4, 0.3, 0.025}, {6, 0.05, 0.006}}, 0.0015);
    Modal(b, 0.001, f / 2, 0.14, {{1, 1, 0.06}}, 0.003);
    if (mixed) Modal(b, 0.012, f * 1.5, 0.3, {{1, 1, 0.08}, {4, 0.2, 0.02}}, 0.002);
    FadeEnd(b, 0.15);
    return Finish(b, kSelection);
}

// The pointer rests on a ball: a quiet glass ting of its colour's note; the mixed balls ring its
// fifth too.
TSound HoverBall(int degree, bool mixed) {
    TBuffer b(0.4);
    const double f = Pentatonic(degree);
    NoiseBurst(b, 0, 0.006, 5000, 4000, 1.2, 0.0006, 0.0012, 0.15, 51);
    Modal(b, 0.001, f, 0.5, {{1, 1, 0.09}, {3, 0.12, 0.03}, {6, 0.04, 0.012}}, 0.003);
    if (mixed) Modal(b, 0.004, f * 1.5, 0.25, {{1, 1, 0.07}, {3, 0.08, 0.02}}, 0.003);
    FadeEnd(b, 0.12);
    return Finish(b, kHoverBall);
}

// --- Rewards --------------------------------------------------------------------------------
// Rewards are stereo: their parts stand across the field and sound in the one small room they
// share.

// A celesta-like glass note: harmonic partials (the octaves and fifths above ring on longest), a
// soft mallet, and the mallet's glint: two short high partials between 6 and 11 kHz (octaves and
// twelfths of the note, so on the scale too) that give the note its air.
void Chime(TBuffer& b, double at, double f, double level, double decay, unsigned seed) {
    NoiseBurst(b, at, 0.01, 3000, 2200, 1.0, 0.0006, 0.0015, 0.2 * level, seed);
    Modal(b, at + 0.001, f, level,
          {{1, 1, decay},
           {2, 0.28, decay * 0.45},
           {3, 0.1, decay * 0.2},
           {4, 0.07, decay * 0.12},
           {6, 0.05, decay * 0.08},
           {8, 0.035, decay * 0.06}},
          0.002, 16000);
    int glints = 0;
    for (double ratio : {8.0, 12.0, 16.0, 24.0, 32.0, 48.0}) {
        if (f * ratio < 6000 || f * ratio > 11000 || glints == 2) continue;
        Modal(b, at + 0.001, f * ratio, level * (glints ? 0.2 : 0.3), {{1, 1, 0.05}}, 0.001, 16000);
        ++glints;
    }
}

// A chime placed at `pan` in `s`.
void Chime(TStereo& s, double pan, double at, double f, double level, double decay, unsigned seed) {
    TBuffer b(static_cast<double>(s.Size()) / kRateHz);
    Chime(b, at, f, level, decay, seed);
    Pan(b, pan, s);
}

// Air: a breath of noise round 8 kHz, different in each channel.
void Air(TStereo& s, double at, double seconds, double attack, double decay, double level,
         unsigned seed) {
    NoiseBurst(s.L, at, seconds, 7500, 8500, 0.7, attack, decay, level, seed);
    NoiseBurst(s.R, at, seconds, 7500, 8500, 0.7, attack, decay, level, seed + 1);
}

// A sparkle: `count` small high bell tings on A8, B8, D9 and E9 (7-11 kHz), scattered over
// `spread` seconds from `at` and across the field.
void Sparkle(TStereo& s, double at, double spread, int count, double level, unsigned seed) {
    TRandom rng(seed);
    for (int k = 0; k < count; ++k) {
        TBuffer ting(static_cast<double>(s.Size()) / kRateHz);
        Modal(ting, at + spread * rng.Uniform(), Pentatonic(23 + static_cast<int>(rng.Next() % 4)),
              level * rng.Range(0.6, 1.0), {{1, 1, 0.07}}, 0.001, 16000);
        Pan(ting, 0.8 * rng.Signed(), s);
    }
}

// The room's share of a reward: enough for the stereo to open (the channels' correlation about
// 0.7-0.85) while the notes stay clear.
constexpr double kRoom = 0.5;

TSound Clear1() {
    TStereo s(1.5);
    Chime(s, -0.25, 0, Pentatonic(3), 0.55, 0.3, 61);   // A4
    Chime(s, 0.25, 0.06, Pentatonic(5), 0.6, 0.35, 62); // D5
    TBuffer body(1.5);
    Modal(body, 0.06, Pentatonic(0), 0.18, {{1, 1, 0.2}}, 0.004); // D4
    Pan(body, 0, s);
    Room(s, kRoom);
    FadeEnd(s.L, 0.4);
    FadeEnd(s.R, 0.4);
    return Finish(s, kClear1);
}

TSound Clear2() {
    TStereo s(1.8);
    const int degrees[4] = {0, 2, 3, 5}; // D4 F#4 A4 D5
    for (int i = 0; i < 4; ++i)
        Chime(s, -0.45 + 0.3 * i, 0.05 * i, Pentatonic(degrees[i]), 0.5, 0.35 + 0.05 * i,
              63 + static_cast<unsigned>(i));
    TBuffer body(1.8);
    Modal(body, 0, Note(-19), 0.3, {{1, 1, 0.35}, {2, 0.4, 0.2}, {3, 0.15, 0.1}}, 0.006); // D3
    Pan(body, 0, s);
    Room(s, kRoom);
    FadeEnd(s.L, 0.45);
    FadeEnd(s.R, 0.45);
    return Finish(s, kClear2);
}

TSound Clear3() {
    TStereo s(2.5);
    const int degrees[7] = {0, 2, 3, 4, 5, 7, 8}; // D4 F#4 A4 B4 D5 F#5 A5
    for (int i = 0; i < 7; ++i)
        Chime(s, -0.6 + 0.2 * i, 0.045 * i, Pentatonic(degrees[i]), 0.42, 0.3 + 0.04 * i,
              70 + static_cast<unsigned>(i));
    // The chord that stays: a singing bowl over D, F#, A and D, and a low D under everything.
    TBuffer bowl(2.5);
    for (int d : {0, 2, 3, 5})
        Modal(bowl, 0.33, Pentatonic(d), 0.22,
              {{1, 1, 0.55}, {2.01, 0.2, 0.25}, {2.99, 0.06, 0.12}}, 0.03);
    Modal(bowl, 0, Note(-31), 0.3, {{1, 1, 0.45}, {2, 0.5, 0.3}, {3, 0.25, 0.2}, {4, 0.1, 0.1}},
          0.01);                                                   // D2
    NoiseBurst(bowl, 0, 0.5, 700, 5000, 1.5, 0.2, 0.12, 0.12, 79); // rising air
    Pan(bowl, 0, s);
    Sparkle(s, 0.25, 0.5, 9, 0.09, 80);
    Room(s, kRoom);
    FadeEnd(s.L, 0.5);
    FadeEnd(s.R, 0.5);
    return Finish(s, kClear3);
}

// A paint ball goes off: a wet splash sweeping down, and three bubbles rising to D, F# and A.
TSound Paint() {
    TStereo s(1.3);
    TBuffer splash(1.3);
    NoiseBurst(splash, 0, 0.4, 2600, 450, 1.6, 0.003, 0.09, 0.9, 23);
    NoiseBurst(splash, 0, 0.06, 8000, 4000, 0.8, 0.0008, 0.012, 0.35, 24);
    Pan(splash, 0, s);
    Air(s, 0, 0.3, 0.002, 0.08, 0.3, 25);
    const int degrees[3] = {0, 2, 3}; // D4 F#4 A4
    for (int i = 0; i < 3; ++i) {
        TBuffer bubble(1.3);
        const double f = Pentatonic(degrees[i]);
        Glide(bubble, 0.05 + 0.07 * i, 0.2, f * 0.6, f, 0.025, 0.004, 0.07, 0.35, {1.0, 0.15});
        Pan(bubble, -0.4 + 0.4 * i, s);
    }
    Room(s, kRoom);
    FadeEnd(s.L, 0.35);
    FadeEnd(s.R, 0.35);
    return Finish(s, kPaint);
}

// A ball destroyed by a blast: glass breaking into pieces that each ring a note of D major with
// its octave and twelfth, the crack first and the pieces after, scattered across.
TSound Shatter() {
    TStereo s(1.3);
    TBuffer crack(1.3);
    NoiseBurst(crack, 0, 0.02, 3500, 2500, 0.9, 0.001, 0.004, 0.25, 31);
    NoiseBurst(crack, 0, 0.25, 7000, 2500, 0.7, 0.001, 0.05, 0.35, 32);
    Pan(crack, 0, s);
    TRandom rng(33);
    for (int k = 0; k < 34; ++k) {
        TBuffer piece(1.3);
        const double at = 0.004 + 0.16 * std::pow(rng.Uniform(), 1.8);
        const int degree = 15 + static_cast<int>(rng.Next() % 13); // E6 .. C#8
        const double level = rng.Range(0.05, 0.16);
        Modal(piece, at, Major(degree), level,
              {{1, 1, rng.Range(0.015, 0.06)}, {2, 0.3, rng.Range(0.01, 0.03)}, {3, 0.12, 0.008}},
              0.002, 14000);
        Pan(piece, 0.7 * rng.Signed(), s);
    }
    Room(s, kRoom);
    FadeEnd(s.L, 0.35);
    FadeEnd(s.R, 0.35);
    return Finish(s, kShatter, kMaxNoiseCrest);
}

// The bomb: a crack, a falling low body (A2 to A1) driven into soft saturation so that its
// harmonics reach up into the middle, a thump and a roar in the low middle that small speakers
// keep, rumble, and debris settling on notes of D major.
TSound Boom() {
    const double seconds = 2.5;
    TBuffer b(seconds);
    NoiseBurst(b, 0, 0.04, 4500, 1500, 0.7, 0.0015, 0.008, 0.35, 61);
    TBuffer body(seconds);
    Glide(body, 0, 1.5, 110, 55, 0.5, 0.004, 0.3, 1.0, {1.0, 0.35});
    // Saturation, a little lopsided: odd and even harmonics of the falling tone.
    for (double& v : body.S) v = 0.16 * std::tanh(3.2 * v + 0.6 * v * v);
    TBiquad dc(TBiquad::HighPass, 30, 0.7071);
    Filter(body, dc);
    for (int i = 0; i < b.Size(); ++i)
        b.S[static_cast<size_t>(i)] += body.S[static_cast<size_t>(i)];
    NoiseBurst(b, 0, 0.6, 900, 330, 0.9, 0.002, 0.13, 2.2, 62);  // thump
    NoiseBurst(b, 0, 0.7, 2200, 700, 0.7, 0.003, 0.16, 0.9, 63); // roar
    TBuffer rumble(seconds);
    TRandom rng(67);
    for (double& v : rumble.S) v = rng.Signed();
    TBiquad lp(TBiquad::LowPass, 320, 0.9), sub(TBiquad::HighPass, 30, 0.7071);
    Filter(rumble, lp);
    Filter(rumble, sub);
    for (int i = 0; i < b.Size(); ++i) {
        const double t = i / kRateHz;
        b.S[static_cast<size_t>(i)] +=
            0.35 * rumble.S[static_cast<size_t>(i)] * std::min(1.0, t / 0.01) * std::exp(-t / 0.4);
    }
    TStereo s(seconds);
    Pan(b, 0, s);
    Air(s, 0, 0.5, 0.002, 0.12, 0.35, 64);
    for (int k = 0; k < 22; ++k) {
        TBuffer debris(seconds);
        const double at = 0.12 + 0.9 * std::pow(rng.Uniform(), 1.4);
        Modal(debris, at, Major(7 + static_cast<int>(rng.Next() % 14)),
              rng.Range(0.03, 0.08) * std::exp(-at / 0.5), {{1, 1, 0.025}, {2, 0.35, 0.012}},
              0.0008);
        Pan(debris, 0.8 * rng.Signed(), s);
    }
    Room(s, kRoom);
    FadeEnd(s.L, 0.5);
    FadeEnd(s.R, 0.5);
    return Finish(s, kBoom, kMaxNoiseCrest);
}

// A chain of `length` lines in a row (2..6): a quick run of chimes up the pentatonic scale from
// A4, one note more and a step higher for every line of the chain, running across from the left
// and ending in the middle on a held note over a soft bell a fifth below; longer chains louder.
TSound Chain(int length) {
    const double seconds = 1.25 + 0.06 * length;
    TStereo s(seconds);
    const int top = 3 + 2 * (length - 1); // A4, then up by two degrees a step
    for (int i = 0; i < length; ++i) {
        const int degree = top - (length - 1 - i) * 2;
        const double pan = -0.3 * static_cast<double>(length - 1 - i) / (length - 1);
        Chime(s, pan, 0.055 * i, Pentatonic(degree), i + 1 == length ? 0.6 : 0.42,
              i + 1 == length ? 0.34 : 0.16, 90 + static_cast<unsigned>(10 * length + i));
    }
    TBuffer bell(seconds);
    Modal(bell, 0.055 * (length - 1), Pentatonic(top - 3), 0.18, {{1, 1, 0.3}, {2, 0.2, 0.1}},
          0.004);
    Pan(bell, 0.2, s);
    Room(s, kRoom);
    FadeEnd(s.L, 0.4);
    FadeEnd(s.R, 0.4);
    return Finish(s, kChain + 1.2 * (length - 2));
}

// A big moment (a line of seven or more, a bomb going off): a low swell of air rising into a
// bright shimmer of high chimes over a D.
TSound Big() {
    TStereo s(2.2);
    TBuffer swell(2.2);
    NoiseBurst(swell, 0, 0.45, 500, 6000, 1.2, 0.25, 0.2, 0.35, 81);
    Modal(swell, 0, Note(-31), 0.3, {{1, 1, 0.5}, {2, 0.4, 0.3}, {3, 0.15, 0.15}}, 0.02); // D2
    Pan(swell, 0, s);
    Air(s, 0.1, 0.7, 0.2, 0.18, 0.25, 82);
    TRandom rng(83);
    const int degrees[6] = {5, 7, 8, 10, 12, 13}; // D5 F#5 A5 D6 F#6 A6
    for (int i = 0; i < 6; ++i)
        Chime(s, i % 2 ? 0.45 : -0.45, 0.22 + 0.04 * i + 0.01 * rng.Uniform(),
              Pentatonic(degrees[i]), 0.3, 0.45, 84 + static_cast<unsigned>(i));
    Room(s, kRoom);
    FadeEnd(s.L, 0.5);
    FadeEnd(s.R, 0.5);
    return Finish(s, kBig);
}

// A multiplier ball's bonus: a sparkling run up the pentatonic scale from D5 to a high bell on
// D6, over a shimmer. The bank plays it a fifth up for x6 and an octave up for x9.
TSound Multiply() {
    TStereo s(1.4);
    const int degrees[5] = {5, 6, 7, 8, 9}; // D5 E5 F#5 A5 B5
    for (int i = 0; i < 5; ++i)
        Chime(s, -0.6 + 0.3 * i, 0.035 * i, Pentatonic(degrees[i]), 0.32, 0.12,
              130 + static_cast<unsigned>(i));
    Chime(s, 0.1, 0.2, Pentatonic(10), 0.5, 0.4, 136); // D6
    TBuffer shimmer(1.4);
    NoiseBurst(shimmer, 0, 0.5, 5000, 9000, 1.0, 0.08, 0.12, 0.08, 137);
    Pan(shimmer, 0, s);
    Room(s, kRoom);
    FadeEnd(s.L, 0.4);
    FadeEnd(s.R, 0.4);
    return Finish(s, kMultiply);
}

// A new high score: a fanfare of chimes up the D major chord in two bursts, then the whole chord
// ringing over a bass D.
TSound Record() {
    TStereo s(2.9);
    const int first[4] = {0, 2, 3, 5};   // D4 F#4 A4 D5
    const int second[4] = {5, 7, 8, 10}; // an octave up
    for (int i = 0; i < 4; ++i)
        Chime(s, -0.4 + 0.25 * i, 0.07 * i, Pentatonic(first[i]), 0.45, 0.25,
              100 + static_cast<unsigned>(i));
    for (int i = 0; i < 4; ++i)
        Chime(s, 0.4 - 0.25 * i, 0.42 + 0.07 * i, Pentatonic(second[i]), 0.42, 0.3 + 0.05 * i,
              110 + static_cast<unsigned>(i));
    TBuffer chord(2.9);
    for (int d : {0, 2, 3, 5, 7})
        Modal(chord, 0.75, Pentatonic(d), 0.2, {{1, 1, 0.6}, {2.01, 0.2, 0.3}}, 0.03);
    Modal(chord, 0.75, Note(-31), 0.32, {{1, 1, 0.55}, {2, 0.4, 0.3}}, 0.01); // D2
    NoiseBurst(chord, 0.35, 0.5, 900, 7000, 1.2, 0.3, 0.15, 0.12, 119);
    Pan(chord, 0, s);
    Sparkle(s, 0.75, 0.6, 9, 0.08, 120);
    Room(s, kRoom);
    FadeEnd(s.L, 0.6);
    FadeEnd(s.R, 0.6);
    return Finish(s, kRecord);
}

// The pentatonic degree of each colour family: c1..c7 from D4 up, the mixed balls on D4 (with
// its fifth), the bomb on A3, a note of its own under the colours.
int FamilyDegree(const std::string& family) {
    static const std::map<std::string, int> degrees = {{"c1", 0}, {"c2", 1},    {"c3", 2},
                                                       {"c4", 3}, {"c5", 4},    {"c6", 5},
                                                       {"c7", 6}, {"multi", 0}, {"bomb", -2}};
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
        {"sounds/multiply.ogg", Multiply},
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
        return HoverBall(FamilyDegree(family), family == "multi");
    }
    TSound silence;
    silence.Samples.assign(kRate / 20, 0.0f);
    return silence;
}

} // namespace artgen
