#pragma once
// A clock that moves only when told to: Advance() moves the counter and the ticks together,
// Sleep() advances both by the slept time and records it.
#include "platform/Clock.h"

#include <vector>

class TFakeClock final : public IClock {
public:
    explicit TFakeClock(int64_t frequency = 1'000'000, bool hasCounter = true)
        : frequency_(frequency), hasCounter_(hasCounter) {}

    bool QueryPerformanceFrequency(int64_t& frequency) override {
        frequency = hasCounter_ ? frequency_ : 0;
        return hasCounter_;
    }
    bool QueryPerformanceCounter(int64_t& count) override {
        count = counter_;
        return hasCounter_;
    }
    uint32_t GetTickCount() override { return static_cast<uint32_t>(counter_ * 1000 / frequency_); }
    void Sleep(uint32_t milliseconds) override {
        sleeps.push_back(milliseconds);
        counter_ += static_cast<int64_t>(milliseconds) * frequency_ / 1000;
    }

    void AdvanceCounts(int64_t counts) { counter_ += counts; }
    void AdvanceSeconds(double seconds) {
        counter_ += static_cast<int64_t>(seconds * static_cast<double>(frequency_) + 0.5);
    }
    int64_t Counter() const { return counter_; }

    std::vector<uint32_t> sleeps;

private:
    int64_t frequency_;
    bool hasCounter_;
    int64_t counter_ = 0;
};
