// The audio layer's own work: a resampled copy (made on the first play at a new rate, on the
// main thread) and the output limiter (on the mixing thread, for every buffer).
#include "platform/Limiter.h"
#include "platform/Resample.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

namespace {

std::vector<float> Noise(int frames) {
    std::vector<float> s(static_cast<size_t>(2 * frames));
    uint32_t x = 1;
    for (float& v : s) {
        x = x * 1664525u + 1013904223u;
        v = static_cast<float>(x >> 8) / 16777216.0f - 0.5f;
    }
    return s;
}

// One second of stereo sound, a semitone and a half up or down (argument: +-150 cents).
void BM_ResampleOneSecond(benchmark::State& state) {
    const std::vector<float> in = Noise(44100);
    const double rate = std::pow(2.0, static_cast<double>(state.range(0)) / 1200.0);
    for (auto _ : state) benchmark::DoNotOptimize(Resample(in.data(), 44100, 2, rate, true));
}
BENCHMARK(BM_ResampleOneSecond)->Arg(-150)->Arg(150)->Unit(benchmark::kMillisecond);

// One second of output through the limiter in mixing buffers of 1024 frames, with every tenth
// buffer loud enough to be held down.
void BM_LimiterOneSecond(benchmark::State& state) {
    std::vector<float> in = Noise(44100);
    for (size_t i = 0; i < in.size(); ++i)
        if ((i / 2048) % 10 == 0) in[i] *= 6.0f;
    TLimiter limiter(44100);
    std::vector<float> buffer(in.size());
    for (auto _ : state) {
        buffer = in;
        for (int at = 0; at < 44100; at += 1024)
            limiter.Process(buffer.data() + 2 * at, std::min(1024, 44100 - at));
        benchmark::DoNotOptimize(buffer.data());
    }
}
BENCHMARK(BM_LimiterOneSecond)->Unit(benchmark::kMillisecond);

} // namespace
