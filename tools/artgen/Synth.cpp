#include "tools/artgen/Synth.h"

#include <algorithm>
#include <vector>

namespace artgen::synth {

void TBiquad::Set(TKind kind, double hz, double q, double gainDb) {
    hz = std::clamp(hz, 10.0, kRateHz * 0.49);
    const double w = kTwoPi * hz / kRateHz, cw = std::cos(w), sw = std::sin(w);
    const double alpha = sw / (2 * q), a = std::pow(10.0, gainDb / 40);
    double b0 = 1, b1 = 0, b2 = 0, a0 = 1, a1 = 0, a2 = 0;
    switch (kind) {
    case LowPass:
        b0 = b2 = (1 - cw) / 2, b1 = 1 - cw, a0 = 1 + alpha, a1 = -2 * cw, a2 = 1 - alpha;
        break;
    case HighPass:
        b0 = b2 = (1 + cw) / 2, b1 = -(1 + cw), a0 = 1 + alpha, a1 = -2 * cw, a2 = 1 - alpha;
        break;
    case BandPass: // 0 dB at the centre
        b0 = alpha, b1 = 0, b2 = -alpha, a0 = 1 + alpha, a1 = -2 * cw, a2 = 1 - alpha;
        break;
    case Peak:
        b0 = 1 + alpha * a, b1 = -2 * cw, b2 = 1 - alpha * a;
        a0 = 1 + alpha / a, a1 = -2 * cw, a2 = 1 - alpha / a;
        break;
    case HighShelf:
    case LowShelf: {
        const double s = kind == HighShelf ? 1 : -1, r = 2 * std::sqrt(a) * alpha;
        b0 = a * ((a + 1) + s * (a - 1) * cw + r);
        b1 = -2 * s * a * ((a - 1) + s * (a + 1) * cw);
        b2 = a * ((a + 1) + s * (a - 1) * cw - r);
        a0 = (a + 1) - s * (a - 1) * cw + r;
        a1 = 2 * s * ((a - 1) - s * (a + 1) * cw);
        a2 = (a + 1) - s * (a - 1) * cw - r;
        break;
    }
    }
    b0_ = b0 / a0, b1_ = b1 / a0, b2_ = b2 / a0, a1_ = a1 / a0, a2_ = a2 / a0;
}

void Modal(TBuffer& b, double at, double hz, double level, std::initializer_list<TPartial> partials,
           double attack, double ceilingHz) {
    const long start = std::lround(at * kRateHz);
    for (const TPartial& p : partials) {
        const double f = hz * p.Ratio;
        if (f >= ceilingHz || p.Level == 0) continue;
        // Until the partial has fallen by 80 dB.
        const long n = std::lround(std::min(p.Decay * 9.2, 8.0) * kRateHz);
        const double step = kTwoPi * f / kRateHz, fall = std::exp(-1.0 / (p.Decay * kRateHz));
        double env = 1;
        for (long i = 0; i < n; ++i) {
            const double t = i / kRateHz;
            const double rise = t < attack ? std::sin(0.5 * kPi * t / attack) : 1.0;
            b.Add(start + i, level * p.Level * env * rise * std::sin(step * i));
            env *= fall;
        }
    }
}

void Glide(TBuffer& b, double at, double seconds, double hz0, double hz1, double glide,
           double attack, double decay, double level, std::initializer_list<double> harmonics) {
    const long start = std::lround(at * kRateHz), n = std::lround(seconds * kRateHz);
    const long tail = std::max(1L, std::lround(0.005 * kRateHz));
    double phase = 0;
    for (long i = 0; i < n; ++i) {
        const double t = i / kRateHz;
        const double f = hz0 * std::pow(hz1 / hz0, std::min(1.0, t / glide));
        phase += f / kRateHz;
        double v = 0;
        int h = 1;
        for (double w : harmonics) {
            if (f * h < kRateHz * 0.45) v += w * std::sin(kTwoPi * phase * h);
            ++h;
        }
        double env = t < attack ? t / attack : std::exp(-(t - attack) / decay);
        env *= std::min(1.0, static_cast<double>(n - i) / tail);
        b.Add(start + i, level * env * v);
    }
}

void NoiseBurst(TBuffer& b, double at, double seconds, double hz0, double hz1, double q,
                double attack, double decay, double level, unsigned seed) {
    TRandom rng(seed);
    TBiquad band(TBiquad::BandPass, hz0, q);
    // The band-pass's skirts fall only 6 dB an octave: a low-pass keeps the hiss above it down.
    TBiquad top(TBiquad::LowPass, std::min(9000.0, 2.5 * std::max(hz0, hz1)), 0.7071);
    const long start = std::lround(at * kRateHz), n = std::lround(seconds * kRateHz);
    const long tail = std::max(1L, std::lround(0.004 * kRateHz));
    for (long i = 0; i < n; ++i) {
        const double t = i / kRateHz;
        if (i % 32 == 0) band.Set(TBiquad::BandPass, hz0 * std::pow(hz1 / hz0, t / seconds), q);
        double env = t < attack ? t / attack : std::exp(-(t - attack) / decay);
        env *= std::min(1.0, static_cast<double>(n - i) / tail);
        b.Add(start + i, level * env * top.Run(band.Run(rng.Signed())));
    }
}

void FadeEnd(TBuffer& b, double seconds) {
    const int n = std::min(b.Size(), static_cast<int>(seconds * kRateHz));
    for (int i = 0; i < n; ++i)
        b.S[static_cast<size_t>(b.Size() - 1 - i)] *= 0.5 - 0.5 * std::cos(kPi * i / n);
}

void Pan(const TBuffer& mono, double pan, TStereo& out) {
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1) * kPi / 4;
    const double l = std::cos(angle) * std::sqrt(2.0), r = std::sin(angle) * std::sqrt(2.0);
    for (int i = 0; i < std::min(mono.Size(), out.Size()); ++i) {
        out.L.S[static_cast<size_t>(i)] += l * mono.S[static_cast<size_t>(i)];
        out.R.S[static_cast<size_t>(i)] += r * mono.S[static_cast<size_t>(i)];
    }
}

void Room(TStereo& s, double wet) {
    constexpr int kLines = 8;
    const int lengths[kLines] = {569, 677, 811, 937, 1087, 1231, 1381, 1543}; // 13..35 ms
    const double decay = 0.8;
    // Early reflections: delay (ms) and level, alternating sides.
    const double taps[6][2] = {{7.1, 0.45},  {11.3, 0.4},  {16.9, 0.32},
                               {21.7, 0.28}, {27.3, 0.22}, {33.1, 0.18}};
    const long predelay = std::lround(0.006 * kRateHz);
    std::vector<double> lines[kLines];
    size_t pos[kLines] = {};
    double gains[kLines], damp[kLines] = {};
    for (int k = 0; k < kLines; ++k) {
        lines[k].assign(static_cast<size_t>(lengths[k]), 0.0);
        gains[k] = std::pow(10.0, -3.0 * lengths[k] / (decay * kRateHz));
    }
    const double dampA = std::exp(-kTwoPi * 6500.0 / kRateHz);
    const int n = s.Size();
    std::vector<double> wetL(static_cast<size_t>(n), 0.0), wetR(static_cast<size_t>(n), 0.0);
    const auto in = [&](const TBuffer& b, long i) {
        return i >= 0 && i < n ? b.S[static_cast<size_t>(i)] : 0.0;
    };
    for (int i = 0; i < n; ++i) {
        double el = 0, er = 0;
        for (int t = 0; t < 6; ++t) {
            const long d = std::lround(taps[t][0] * 0.001 * kRateHz);
            (t % 2 ? er : el) += taps[t][1] * (in(s.L, i - d) + in(s.R, i - d)) * 0.5;
        }
        const double inL = in(s.L, i - predelay), inR = in(s.R, i - predelay);
        double out[kLines], sum = 0;
        for (int k = 0; k < kLines; ++k) {
            out[k] = lines[k][pos[k]];
            sum += out[k];
        }
        const double householder = 2.0 / kLines * sum;
        double l = 0, r = 0;
        for (int k = 0; k < kLines; ++k) {
            double v = (out[k] - householder) * gains[k];
            damp[k] = v + dampA * (damp[k] - v);
            v = damp[k] + (k % 2 ? inR : inL) * 0.35;
            lines[k][pos[k]] = v;
            if (++pos[k] == lines[k].size()) pos[k] = 0;
            (k % 2 ? r : l) += out[k] * (k < 4 ? 1.0 : -1.0);
        }
        wetL[static_cast<size_t>(i)] = el + 0.5 * l;
        wetR[static_cast<size_t>(i)] = er + 0.5 * r;
    }
    for (int i = 0; i < n; ++i) {
        s.L.S[static_cast<size_t>(i)] += wet * wetL[static_cast<size_t>(i)];
        s.R.S[static_cast<size_t>(i)] += wet * wetR[static_cast<size_t>(i)];
    }
}

} // namespace artgen::synth
