#include "tools/artgen/Analysis.h"

#include "tools/artgen/Loudness.h"
#include "tools/artgen/Synth.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace artgen {

namespace {

using synth::kPi;

// In place, radix 2; the size is a power of two.
void Fft(std::vector<std::complex<double>>& a) {
    const size_t n = a.size();
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    for (size_t len = 2; len <= n; len <<= 1) {
        const double angle = -2 * kPi / static_cast<double>(len);
        const std::complex<double> step(std::cos(angle), std::sin(angle));
        for (size_t i = 0; i < n; i += len) {
            std::complex<double> w(1, 0);
            for (size_t k = 0; k < len / 2; ++k) {
                const std::complex<double> u = a[i + k], v = a[i + k + len / 2] * w;
                a[i + k] = u + v;
                a[i + k + len / 2] = u - v;
                w *= step;
            }
        }
    }
}

size_t PowerOfTwoAtLeast(size_t n) {
    size_t p = 1;
    while (p < n) p <<= 1;
    return p;
}

double Sample(const TSound& s, int frame, int channel) {
    return s.Samples[static_cast<size_t>(frame * s.Channels + channel)];
}

// Adds the power of `length` frames of one channel from `start`, weighted by `window` (empty:
// none), zero-padded to `size`.
void AddBlock(const TSound& s, int channel, int start, int length,
              const std::vector<double>& window, size_t size, std::vector<double>& power) {
    std::vector<std::complex<double>> a(size);
    for (int i = 0; i < length; ++i)
        a[static_cast<size_t>(i)] =
            Sample(s, start + i, channel) * (window.empty() ? 1.0 : window[static_cast<size_t>(i)]);
    Fft(a);
    for (size_t k = 0; k < power.size(); ++k) power[k] += std::norm(a[k]);
}

std::vector<double> Hann(int length) {
    std::vector<double> w(static_cast<size_t>(length));
    for (int i = 0; i < length; ++i)
        w[static_cast<size_t>(i)] = 0.5 - 0.5 * std::cos(2 * kPi * (i + 0.5) / length);
    return w;
}

double Db(double x) {
    return x > 0 ? 10 * std::log10(x) : -300.0;
}

} // namespace

TSpectrum PowerSpectrum(const TSound& s) {
    constexpr size_t kShort = size_t{1} << 17, kFine = size_t{1} << 16, kWelch = size_t{1} << 15;
    const int frames = s.Frames();
    TSpectrum out;
    if (frames == 0) return out;
    // A one-shot sound has died away at its end (even one cut short, at -40 dBFS or so); a loop
    // has not.
    const bool oneShot = TailDb(s) < -30;
    if (static_cast<size_t>(frames) <= kShort) {
        const size_t size = PowerOfTwoAtLeast(std::max(static_cast<size_t>(frames), kFine));
        out.Power.assign(size / 2 + 1, 0.0);
        const std::vector<double> window = oneShot ? std::vector<double>() : Hann(frames);
        for (int c = 0; c < s.Channels; ++c) AddBlock(s, c, 0, frames, window, size, out.Power);
        out.BinHz = static_cast<double>(kRate) / static_cast<double>(size);
        out.ResolutionHz = static_cast<double>(kRate) / frames;
        return out;
    }
    const int length = static_cast<int>(kWelch);
    const std::vector<double> window = Hann(length);
    out.Power.assign(kWelch / 2 + 1, 0.0);
    for (int start = 0; start + length <= frames; start += length / 2)
        for (int c = 0; c < s.Channels; ++c)
            AddBlock(s, c, start, length, window, kWelch, out.Power);
    out.BinHz = static_cast<double>(kRate) / static_cast<double>(kWelch);
    out.ResolutionHz = out.BinHz;
    return out;
}

double CentsFromKey(double hz) {
    static const int kScale[7] = {0, 2, 4, 5, 7, 9, 11}; // from D
    const double fromD = 1200 * std::log2(hz / 293.6647679174076);
    const double inOctave = fromD - 1200 * std::floor(fromD / 1200);
    double best = 1e9;
    for (int step : kScale)
        for (int octave : {0, 1}) {
            const double d = inOctave - 100 * step - 1200 * octave;
            if (std::abs(d) < std::abs(best)) best = d;
        }
    return best;
}

std::string NoteName(double hz) {
    static const char* kNames[12] = {"C",  "C#", "D",  "D#", "E",  "F",
                                     "F#", "G",  "G#", "A",  "A#", "B"};
    const long midi = std::lround(69 + 12 * std::log2(hz / 440.0));
    const long octave = midi / 12 - 1;
    return std::string(kNames[((midi % 12) + 12) % 12]) + std::to_string(octave);
}

std::vector<TPeak> SpectralPeaks(const TSpectrum& spectrum, double withinDb) {
    const std::vector<double>& p = spectrum.Power;
    const int n = static_cast<int>(p.size());
    std::vector<TPeak> peaks;
    if (n < 8) return peaks;
    // Triangular smoothing over +-h bins by a double running sum.
    std::vector<double> c1(static_cast<size_t>(n) + 1, 0.0), c2(static_cast<size_t>(n) + 2, 0.0);
    for (int i = 0; i < n; ++i)
        c1[static_cast<size_t>(i + 1)] = c1[static_cast<size_t>(i)] + p[static_cast<size_t>(i)];
    for (int i = 0; i <= n; ++i)
        c2[static_cast<size_t>(i + 1)] = c2[static_cast<size_t>(i)] + c1[static_cast<size_t>(i)];
    const double reach = std::pow(2.0, 25.0 / 1200) - 1;
    const int least =
        std::max(1, static_cast<int>(std::lround(4 * spectrum.ResolutionHz / spectrum.BinHz)));
    const auto halfWidth = [&](int k) {
        return std::max(least, static_cast<int>(std::lround(k * reach)));
    };
    std::vector<double> smooth(static_cast<size_t>(n), 0.0);
    const int lowest = static_cast<int>(std::ceil(40 / spectrum.BinHz));
    for (int k = lowest; k < n; ++k) {
        const int h = halfWidth(k);
        if (k - h < 0 || k + h + 2 > n + 1) continue;
        const double sum = (c2[static_cast<size_t>(k + h + 2)] - c2[static_cast<size_t>(k + 1)]) -
                           (c2[static_cast<size_t>(k + 1)] - c2[static_cast<size_t>(k - h)]);
        smooth[static_cast<size_t>(k)] = std::max(0.0, sum) / ((h + 1.0) * (h + 1.0));
    }
    const double top = *std::max_element(smooth.begin(), smooth.end());
    if (top <= 0) return peaks;
    const double floor = top * std::pow(10.0, -withinDb / 10);
    const double thirdOctave = std::pow(2.0, 1.0 / 3);
    for (int k = lowest; k < n - 1; ++k) {
        const double v = smooth[static_cast<size_t>(k)];
        if (v < floor) continue;
        const int h = halfWidth(k);
        bool highest = true;
        for (int j = std::max(0, k - h); j <= std::min(n - 1, k + h) && highest; ++j)
            if (j != k && (smooth[static_cast<size_t>(j)] > v ||
                           (j < k && smooth[static_cast<size_t>(j)] == v)))
                highest = false;
        if (!highest) continue;
        const int lo = std::max(lowest, static_cast<int>(k / thirdOctave));
        const int hi = std::min(n - 1, static_cast<int>(k * thirdOctave));
        std::vector<double> around(smooth.begin() + lo, smooth.begin() + hi + 1);
        std::nth_element(around.begin(), around.begin() + static_cast<long>(around.size() / 2),
                         around.end());
        if (v < 3.98 * around[around.size() / 2]) continue; // 6 dB
        // The line between the bins: a parabola through the three levels in dB.
        const double a = Db(smooth[static_cast<size_t>(k - 1)]), b = Db(v),
                     c = Db(smooth[static_cast<size_t>(k + 1)]);
        const double bend = a - 2 * b + c;
        const double offset = bend < 0 ? std::clamp(0.5 * (a - c) / bend, -0.5, 0.5) : 0.0;
        TPeak peak;
        peak.Hz = (k + offset) * spectrum.BinHz;
        peak.Db = Db(v) - Db(top);
        peak.Cents = CentsFromKey(peak.Hz);
        peaks.push_back(peak);
    }
    return peaks;
}

TBalance Balance(const TSpectrum& spectrum) {
    TBalance b;
    double all = 0, moment = 0;
    for (size_t k = 0; k < spectrum.Power.size(); ++k) {
        const double f = static_cast<double>(k) * spectrum.BinHz, p = spectrum.Power[k];
        all += p;
        moment += f * p;
        if (f > 4000) b.Above4k += p;
        if (f > 6000) b.Above6k += p;
        if (f < 250) b.Below250 += p;
    }
    if (all <= 0) return b;
    b.Above4k /= all, b.Above6k /= all, b.Below250 /= all;
    b.CentroidHz = moment / all;
    return b;
}

double TailDb(const TSound& s, double seconds) {
    const int frames = s.Frames(), from = std::max(0, frames - static_cast<int>(seconds * kRate));
    double peak = 0;
    for (int i = from; i < frames; ++i)
        for (int c = 0; c < s.Channels; ++c) peak = std::max(peak, std::abs(Sample(s, i, c)));
    return peak > 0 ? 20 * std::log10(peak) : -300.0;
}

double CrestDb(const TSound& s) {
    const int frames = s.Frames(), window = std::min(frames, kRate / 20);
    if (window == 0) return 0;
    double peak = 0, sum = 0, loudest = 0;
    std::vector<double> power(static_cast<size_t>(frames), 0.0);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < s.Channels; ++c) {
            const double v = Sample(s, i, c);
            peak = std::max(peak, std::abs(v));
            power[static_cast<size_t>(i)] += v * v / s.Channels;
        }
    for (int i = 0; i < frames; ++i) {
        sum += power[static_cast<size_t>(i)];
        if (i >= window) sum -= power[static_cast<size_t>(i - window)];
        if (i + 1 >= window) loudest = std::max(loudest, sum / window);
    }
    return loudest > 0 ? 20 * std::log10(peak / std::sqrt(loudest)) : 0.0;
}

double DcOffset(const TSound& s) {
    double largest = 0;
    for (int c = 0; c < s.Channels; ++c) {
        double sum = 0;
        for (int i = 0; i < s.Frames(); ++i) sum += Sample(s, i, c);
        largest = std::max(largest, std::abs(sum) / std::max(1, s.Frames()));
    }
    return largest;
}

double Correlation(const TSound& s) {
    if (s.Channels != 2) return 1.0;
    double ll = 0, rr = 0, lr = 0, ml = 0, mr = 0;
    const int frames = s.Frames();
    for (int i = 0; i < frames; ++i) ml += Sample(s, i, 0), mr += Sample(s, i, 1);
    ml /= std::max(1, frames), mr /= std::max(1, frames);
    for (int i = 0; i < frames; ++i) {
        const double l = Sample(s, i, 0) - ml, r = Sample(s, i, 1) - mr;
        ll += l * l, rr += r * r, lr += l * r;
    }
    return ll > 0 && rr > 0 ? lr / std::sqrt(ll * rr) : 1.0;
}

double HighPassLoss(const TSound& s, double hz) {
    TSound filtered = s;
    for (int c = 0; c < s.Channels; ++c) {
        synth::TBiquad hp(synth::TBiquad::HighPass, hz);
        for (int i = 0; i < s.Frames(); ++i) {
            float& v = filtered.Samples[static_cast<size_t>(i * s.Channels + c)];
            v = static_cast<float>(hp.Run(v));
        }
    }
    return Measure(s, false, false).Integrated - Measure(filtered, false, false).Integrated;
}

} // namespace artgen
