#include "platform/Limiter.h"

#include <algorithm>
#include <cmath>

TLimiter::TLimiter(int rate, float ceiling, float lookaheadMs, float releaseMs)
    : ceiling_(ceiling),
      window_(std::max(2, static_cast<int>(std::lround(rate * lookaheadMs / 1000.0)) + 1)),
      release_(std::exp(-1.0 / (rate * releaseMs / 1000.0))),
      delay_(static_cast<size_t>(2 * window_), 0.0f), need_(static_cast<size_t>(window_), 1.0f),
      held_(static_cast<size_t>(window_), 1.0f), sinceNeed_(window_), sum_(window_) {}

void TLimiter::Process(float* frames, int count) {
    for (int n = 0; n < count; ++n) {
        float* frame = frames + std::ptrdiff_t{2} * n;
        const float peak = std::max(std::abs(frame[0]), std::abs(frame[1]));
        meter_.PeakIn = std::max(meter_.PeakIn, peak);
        if (bypass_) {
            meter_.PeakOut = std::max(meter_.PeakOut, peak);
            meter_.Clamped += (std::abs(frame[0]) >= 1.0f) + (std::abs(frame[1]) >= 1.0f);
            continue;
        }
        const size_t at = static_cast<size_t>(pos_);
        const float need = peak > ceiling_ ? ceiling_ / peak : 1.0f;
        need_[at] = need;
        sinceNeed_ = need < 1.0f ? 0 : sinceNeed_ + 1;
        float lowest = 1.0f;
        if (sinceNeed_ < window_) lowest = *std::min_element(need_.begin(), need_.end());
        heldGain_ = lowest <= heldGain_ ? lowest : lowest - (lowest - heldGain_) * release_;
        sum_ += heldGain_ - held_[at];
        held_[at] = static_cast<float>(heldGain_);
        if (++sumAge_ >= 1 << 16) { // keeps the running sum from drifting
            sum_ = 0;
            for (float h : held_) sum_ += h;
            sumAge_ = 0;
        }
        const float gain = static_cast<float>(std::min(1.0, sum_ / window_));
        meter_.MinGain = std::min(meter_.MinGain, gain);

        // The frame `window_ - 1` back leaves now; the new one takes its place in the ring.
        const size_t oldest = static_cast<size_t>((pos_ + 1) % window_);
        const float left = delay_[2 * oldest] * gain, right = delay_[2 * oldest + 1] * gain;
        delay_[2 * at] = frame[0];
        delay_[2 * at + 1] = frame[1];
        frame[0] = left;
        frame[1] = right;
        const float out = std::max(std::abs(left), std::abs(right));
        meter_.PeakOut = std::max(meter_.PeakOut, out);
        meter_.Clamped += (std::abs(left) >= 1.0f) + (std::abs(right) >= 1.0f);
        pos_ = (pos_ + 1) % window_;
    }
}

TLimiter::TMeter TLimiter::TakeMeter() {
    const TMeter m = meter_;
    meter_ = TMeter{};
    return m;
}
