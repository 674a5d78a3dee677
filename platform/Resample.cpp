#include "platform/Resample.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr int kReach = 16;  // zero crossings on each side of the kernel
constexpr int kSteps = 256; // kernel table entries per input sample

} // namespace

std::vector<float> Resample(const float* in, int count, int channels, double rate, bool loop) {
    std::vector<float> out;
    if (count <= 0 || channels <= 0 || !(rate > 0)) return out;
    // Going up, the kernel is widened so that nothing folds back from above the new Nyquist
    // frequency; a little under it in both directions.
    const double cutoff = 0.96 * std::min(1.0, 1.0 / rate);
    const int reach = static_cast<int>(std::ceil(kReach / cutoff));
    std::vector<double> kernel(static_cast<size_t>(reach * kSteps + 2));
    for (size_t i = 0; i < kernel.size(); ++i) {
        const double d = static_cast<double>(i) / kSteps;
        const double x = kPi * cutoff * d;
        const double sinc = d == 0 ? 1.0 : std::sin(x) / x;
        const double w = d >= reach ? 0.0
                                    : 0.42 + 0.5 * std::cos(kPi * d / reach) +
                                          0.08 * std::cos(2 * kPi * d / reach); // Blackman
        kernel[i] = cutoff * sinc * w;
    }
    const auto tap = [&](double d) {
        const double p = std::abs(d) * kSteps;
        const size_t i = static_cast<size_t>(p);
        if (i + 1 >= kernel.size()) return 0.0;
        return kernel[i] + (kernel[i + 1] - kernel[i]) * (p - static_cast<double>(i));
    };
    const long frames = std::lround(count / rate);
    out.assign(static_cast<size_t>(std::max(0L, frames) * channels), 0.0f);
    std::vector<double> sum(static_cast<size_t>(channels));
    for (long j = 0; j < frames; ++j) {
        const double x = j * rate;
        const long base = static_cast<long>(std::floor(x));
        std::fill(sum.begin(), sum.end(), 0.0);
        for (long k = base - reach + 1; k <= base + reach; ++k) {
            long at = k;
            if (loop)
                at = ((k % count) + count) % count;
            else if (k < 0 || k >= count)
                continue;
            const double t = tap(x - static_cast<double>(k));
            for (int c = 0; c < channels; ++c)
                sum[static_cast<size_t>(c)] += t * in[at * channels + c];
        }
        for (int c = 0; c < channels; ++c)
            out[static_cast<size_t>(j * channels + c)] =
                static_cast<float>(sum[static_cast<size_t>(c)]);
    }
    return out;
}
