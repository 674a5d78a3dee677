#include "fx/FrameTiming.h"

#include "platform/Clock.h"
#include "platform/IdleHost.h"

#include <climits>
#include <cmath>
#include <cstdlib>

namespace {

// Round to nearest, ties to even, into a 32-bit integer (saturating).
int32_t RoundRate(double v) {
    const double r = std::nearbyint(v);
    if (r >= static_cast<double>(INT32_MAX)) return INT32_MAX;
    return static_cast<int32_t>(r);
}

} // namespace

TFrameTimer* FrameTimer1 = nullptr;

TFrameTimer::TFrameTimer(IClock& clock, IIdleHost* host) : clock_(clock), host_(host) {
    highResolution_ = clock_.QueryPerformanceFrequency(frequency_) && frequency_ > 0;
    if (highResolution_)
        clock_.QueryPerformanceCounter(lastCounter_);
    else
        lastTick_ = clock_.GetTickCount();
    referenceTick_ = clock_.GetTickCount();
    if (host_) host_->SetIdleHandler([this](bool& done) { IdleStep(done); });
}

TFrameTimer::~TFrameTimer() {
    if (host_) host_->SetIdleHandler(nullptr);
}

void TFrameTimer::SetFPS(int32_t value) {
    if (value >= 1 && value <= 240) fps_ = value;
}

void TFrameTimer::IdleStep(bool& done) {
    done = false;
    if (!MayRender && !MayProcess && !MayRealTime) clock_.Sleep(500);

    // Step rate: passes per second judged from this pass alone. A pass of two seconds or more
    // rounds to 0, which skips OnRealTime and owes exactly one process step.
    if (highResolution_) {
        int64_t now = 0;
        clock_.QueryPerformanceCounter(now);
        const int64_t d = std::llabs(now - lastCounter_);
        lastCounter_ = now;
        stepRate_ =
            d > 0 ? RoundRate(static_cast<double>(frequency_) / static_cast<double>(d)) : INT32_MAX;
    } else {
        const uint32_t now = clock_.GetTickCount();
        const int64_t d = std::llabs(static_cast<int64_t>(static_cast<int32_t>(now - lastTick_)));
        lastTick_ = now;
        stepRate_ = d > 0 ? RoundRate(1000.0 / static_cast<double>(d)) : INT32_MAX;
    }

    // FrameRate: averaged over interval + 1 passes; the interval grows with the rate so that a
    // measurement takes about a second.
    ++frameCounter_;
    if (frameCounter_ > interval_) {
        const uint32_t tick = clock_.GetTickCount();
        const uint32_t e = tick - referenceTick_;
        referenceTick_ = tick;
        frameRate_ = e > 0 ? RoundRate(frameCounter_ * 1000.0 / e) : 0;
        frameCounter_ = 0;
        interval_ = 19;
        if (frameRate_ > 20) interval_ = 29;
        if (frameRate_ > 44) interval_ = 59;
        if (frameRate_ > 65) interval_ = 74;
    }

    if (stepRate_ != 0)
        backlog_ += static_cast<double>(fps_) / stepRate_;
    else
        backlog_ = 1.0;
    if (backlog_ > 8.0) backlog_ = 8.0;

    if (MayRender && OnRender) OnRender(*this);
    if (MayRealTime && stepRate_ != 0 && OnRealTime)
        OnRealTime(*this, static_cast<double>(fps_) / stepRate_);
    const auto steps = static_cast<int64_t>(std::trunc(backlog_));
    if (MayProcess && OnProcess)
        for (int64_t i = 0; i < steps; ++i) OnProcess(*this);
    backlog_ -= static_cast<double>(steps);
}
