#include "tools/artgen/Loudness.h"

#include "tools/artgen/Analysis.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

namespace artgen {

namespace {

constexpr double kPi = 3.141592653589793;

// The two K-weighting stages at 44.1 kHz, from their analogue prototypes: a shelf of about
// +4 dB above 1.7 kHz and a high-pass at 38 Hz.
struct TKFilter {
    double b[2][3], a[2][3];
    double z[2][2] = {{0, 0}, {0, 0}};
    TKFilter() {
        const double fs = kRate;
        {
            const double f0 = 1681.974450955533, g = 3.999843853973347, q = 0.7071752369554196;
            const double k = std::tan(kPi * f0 / fs), vh = std::pow(10.0, g / 20.0),
                         vb = std::pow(vh, 0.4996667741545416);
            const double a0 = 1 + k / q + k * k;
            b[0][0] = (vh + vb * k / q + k * k) / a0;
            b[0][1] = 2 * (k * k - vh) / a0;
            b[0][2] = (vh - vb * k / q + k * k) / a0;
            a[0][1] = 2 * (k * k - 1) / a0;
            a[0][2] = (1 - k / q + k * k) / a0;
        }
        {
            const double f0 = 38.13547087602444, q = 0.5003270373238773;
            const double k = std::tan(kPi * f0 / fs), a0 = 1 + k / q + k * k;
            b[1][0] = 1, b[1][1] = -2, b[1][2] = 1;
            a[1][1] = 2 * (k * k - 1) / a0;
            a[1][2] = (1 - k / q + k * k) / a0;
        }
    }
    double Run(double x) {
        for (int s = 0; s < 2; ++s) {
            const double y = b[s][0] * x + z[s][0];
            z[s][0] = b[s][1] * x - a[s][1] * y + z[s][1];
            z[s][1] = b[s][2] * x - a[s][2] * y;
            x = y;
        }
        return x;
    }
};

double Lufs(double meanSquare) {
    return meanSquare > 0 ? -0.691 + 10 * std::log10(meanSquare) : -120.0;
}

// The K-weighted power summed over channels, frame by frame, with `padFrames` of silence after.
std::vector<double> WeightedPower(const TSound& s, int padFrames) {
    const int frames = s.Frames(), channels = s.Channels;
    std::vector<double> power(static_cast<size_t>(frames + padFrames), 0.0);
    for (int c = 0; c < channels; ++c) {
        TKFilter k;
        for (int i = 0; i < frames + padFrames; ++i) {
            const double x = i < frames ? s.Samples[static_cast<size_t>(i * channels + c)] : 0.0;
            const double y = k.Run(x);
            power[static_cast<size_t>(i)] += y * y;
        }
    }
    return power;
}

// Mean powers of windows of `window` frames, one every `hop` frames, each wholly inside.
std::vector<double> Windows(const std::vector<double>& power, int window, int hop) {
    std::vector<double> prefix(power.size() + 1, 0.0);
    for (size_t i = 0; i < power.size(); ++i) prefix[i + 1] = prefix[i] + power[i];
    std::vector<double> out;
    for (size_t end = static_cast<size_t>(window); end <= power.size();
         end += static_cast<size_t>(hop))
        out.push_back((prefix[end] - prefix[end - static_cast<size_t>(window)]) / window);
    return out;
}

// Gated mean (absolute -70 LUFS, then `relative` LU under the mean of what passed).
double Gated(const std::vector<double>& blocks, double relative, std::vector<double>* kept) {
    double sum = 0;
    int n = 0;
    for (double p : blocks)
        if (Lufs(p) > -70) sum += p, ++n;
    if (n == 0) return -120;
    const double gate = Lufs(sum / n) + relative;
    sum = 0, n = 0;
    for (double p : blocks)
        if (Lufs(p) > -70 && Lufs(p) > gate) {
            sum += p, ++n;
            if (kept) kept->push_back(Lufs(p));
        }
    return n ? Lufs(sum / n) : -120;
}

// Largest (or smallest) of each window of +-reach around every index, in linear time.
std::vector<double> SlidingExtreme(const std::vector<double>& v, int reach, bool largest) {
    const int n = static_cast<int>(v.size());
    std::vector<double> out(v.size());
    std::vector<int> queue(v.size() + static_cast<size_t>(reach) + 1);
    int head = 0, tail = 0;
    const auto better = [&](double a, double b) { return largest ? a >= b : a <= b; };
    for (int i = 0, next = 0; i < n; ++i) {
        for (; next < n && next <= i + reach; ++next) {
            while (tail > head &&
                   better(v[static_cast<size_t>(next)],
                          v[static_cast<size_t>(queue[static_cast<size_t>(tail - 1)])]))
                --tail;
            queue[static_cast<size_t>(tail++)] = next;
        }
        while (queue[static_cast<size_t>(head)] < i - reach) ++head;
        out[static_cast<size_t>(i)] = v[static_cast<size_t>(queue[static_cast<size_t>(head)])];
    }
    return out;
}

std::vector<double> SlidingMax(const std::vector<double>& v, int reach) {
    return SlidingExtreme(v, reach, true);
}

// 4 x oversampling by a windowed-sinc interpolator (8 taps each side).
class TOversampler {
public:
    TOversampler() {
        for (int phase = 1; phase < 4; ++phase)
            for (int k = -kHalf + 1; k <= kHalf; ++k) {
                const double x = k - phase / 4.0;
                const double sinc = std::sin(kPi * x) / (kPi * x);
                const double w = 0.5 + 0.5 * std::cos(kPi * x / (kHalf + 1));
                const double tap = sinc * w;
                taps_[static_cast<size_t>(phase - 1)][static_cast<size_t>(k + kHalf - 1)] = tap;
            }
        for (const auto& phase : taps_) {
            double sum = 0;
            for (double t : phase) sum += std::abs(t);
            gainBound_ = std::max(gainBound_, sum);
        }
    }
    static constexpr int kHalf = 8;

    // Per frame, the largest magnitude of the samples and the values between them over every
    // channel. Frames whose neighbourhood is too quiet to reach `floor` keep their own peak.
    std::vector<double> Envelope(const TSound& s, double floor) const {
        const int frames = s.Frames(), ch = s.Channels;
        std::vector<double> own(static_cast<size_t>(frames), 0.0);
        for (int i = 0; i < frames; ++i)
            for (int c = 0; c < ch; ++c)
                own[static_cast<size_t>(i)] = std::max(
                    own[static_cast<size_t>(i)],
                    static_cast<double>(std::abs(s.Samples[static_cast<size_t>(i * ch + c)])));
        const std::vector<double> nearby = SlidingMax(own, kHalf);
        std::vector<double> out = own;
        for (int i = 0; i < frames; ++i) {
            if (nearby[static_cast<size_t>(i)] * gainBound_ < floor) continue;
            for (int c = 0; c < ch; ++c)
                for (int phase = 0; phase < 3; ++phase) {
                    double v = 0;
                    for (int k = -kHalf + 1; k <= kHalf; ++k) {
                        const int j = i + k;
                        if (j >= 0 && j < frames)
                            v += taps_[static_cast<size_t>(phase)]
                                      [static_cast<size_t>(k + kHalf - 1)] *
                                 s.Samples[static_cast<size_t>(j * ch + c)];
                    }
                    out[static_cast<size_t>(i)] =
                        std::max(out[static_cast<size_t>(i)], std::abs(v));
                }
        }
        return out;
    }

private:
    std::array<std::array<double, std::size_t{2} * kHalf>, 3> taps_{};
    double gainBound_ = 1;
};

double ToDb(double x) {
    return x > 0 ? 20 * std::log10(x) : -120.0;
}

} // namespace

double TruePeakDb(const TSound& s) {
    // Between-sample values can pass the sample peak only near samples within reach of it.
    double samplePeak = 0;
    for (float v : s.Samples) samplePeak = std::max(samplePeak, static_cast<double>(std::abs(v)));
    const std::vector<double> env = TOversampler().Envelope(s, samplePeak);
    double peak = 0;
    for (double p : env) peak = std::max(peak, p);
    return ToDb(peak);
}

TLoudness Measure(const TSound& s, bool withRange, bool withTruePeak) {
    TLoudness m;
    const int pad = kRate / 2;
    const std::vector<double> power = WeightedPower(s, pad);
    const std::vector<double> momentary = Windows(power, kRate * 4 / 10, kRate / 10);
    for (double p : momentary) m.MomentaryMax = std::max(m.MomentaryMax, Lufs(p));
    for (double p : Windows(power, kRate / 10, kRate / 100))
        m.ShortMax = std::max(m.ShortMax, Lufs(p));
    // Integrated: 400 ms blocks overlapping by 75 %, over the sound itself.
    const std::vector<double> sound(power.begin(), power.end() - pad);
    m.Integrated = Gated(Windows(sound, kRate * 4 / 10, kRate / 10), -10, nullptr);
    if (withRange) {
        std::vector<double> kept;
        Gated(Windows(sound, kRate * 3, kRate / 10), -20, &kept);
        if (kept.size() > 1) {
            std::sort(kept.begin(), kept.end());
            const auto at = [&](double q) {
                return kept[static_cast<size_t>(std::lround(q * (kept.size() - 1)))];
            };
            m.Range = at(0.95) - at(0.10);
        }
    }
    double peak = 0;
    for (float v : s.Samples) peak = std::max(peak, static_cast<double>(std::abs(v)));
    m.SamplePeak = ToDb(peak);
    if (withTruePeak) m.TruePeak = TruePeakDb(s);
    return m;
}

TLoudness Master(TSound& s, double targetLufs, bool integrated, double ceilingDb) {
    const TLoudness before = Measure(s, false, false);
    const double level = integrated ? before.Integrated : before.ShortMax;
    const double gain = level > -100 ? std::pow(10.0, (targetLufs - level) / 20.0) : 1.0;
    for (float& v : s.Samples) v = static_cast<float>(v * gain);

    // The limiter: each frame needs ceiling / its true peak; the gain holds the smallest need
    // within +-1.5 ms, recovers over 60 ms, and is averaged over +-1.5 ms, so that each frame
    // gets no more than it needs and the gain never jumps.
    const double ceiling = std::pow(10.0, ceilingDb / 20.0);
    const int frames = s.Frames(), ch = s.Channels, reach = kRate * 15 / 10000;
    const std::vector<double> peaks = TOversampler().Envelope(s, ceiling);
    std::vector<double> need(peaks.size(), 1.0);
    bool any = false;
    for (size_t i = 0; i < peaks.size(); ++i)
        if (peaks[i] > ceiling) need[i] = ceiling / peaks[i], any = true;
    if (any) {
        std::vector<double> held = SlidingExtreme(need, reach, false);
        const double release = std::exp(-1.0 / (0.06 * kRate));
        for (size_t i = 1; i < held.size(); ++i)
            held[i] = std::min(held[i], 1 - (1 - held[i - 1]) * release);
        std::vector<double> prefix(held.size() + 1, 0.0);
        for (size_t i = 0; i < held.size(); ++i) prefix[i + 1] = prefix[i] + held[i];
        for (int i = 0; i < frames; ++i) {
            const int lo = i - reach, hi = i + reach; // outside the sound the gain is 1
            const double inside = prefix[static_cast<size_t>(std::min(hi, frames - 1) + 1)] -
                                  prefix[static_cast<size_t>(std::max(lo, 0))];
            const int outside = std::max(0, -lo) + std::max(0, hi - (frames - 1));
            const double g = (inside + outside) / (2 * reach + 1);
            for (int c = 0; c < ch; ++c) {
                float& v = s.Samples[static_cast<size_t>(i * ch + c)];
                v = static_cast<float>(v * g);
            }
        }
    }
    return Measure(s);
}

TLoudness Master(TSound& s, double targetLufs, bool integrated, double ceilingDb,
                 double maxCrestDb) {
    // Each pass starts from the sound as made: the ceiling where the crest allows over the loudest
    // 50 ms of the pass before, the aim raised by what the limiter took off the loudness.
    const TSound original = s;
    double ceiling = ceilingDb, aim = targetLufs;
    TLoudness m;
    for (int pass = 0; pass < 8; ++pass) {
        s = original;
        const double used = ceiling;
        m = Master(s, aim, integrated, ceiling);
        const double level = integrated ? m.Integrated : m.ShortMax, crest = CrestDb(s);
        if (std::abs(level - targetLufs) <= 0.2 && crest <= maxCrestDb) break;
        aim += targetLufs - level;
        ceiling =
            std::min(ceilingDb, m.SamplePeak - crest + maxCrestDb + (targetLufs - level) - 0.1);
        if (pass == 7 && crest > maxCrestDb) {
            // Out of passes: the crest holds, a little loudness gives.
            s = original;
            m = Master(s, aim - (targetLufs - level), integrated,
                       used - (crest - maxCrestDb) - 0.1);
        }
    }
    return m;
}

} // namespace artgen
