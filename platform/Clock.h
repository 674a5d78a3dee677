#pragma once
// Timing services of the host: a high-resolution counter with its frequency, a millisecond tick
// count and a sleep. The frame timer reads them through this interface so that tests can drive
// it with a fake clock.
#include <cstdint>

class IClock {
public:
    virtual ~IClock() = default;
    // False when the host has no high-resolution counter.
    virtual bool QueryPerformanceFrequency(int64_t& frequency) = 0;
    virtual bool QueryPerformanceCounter(int64_t& count) = 0;
    // Milliseconds since an arbitrary start; wraps around at 2^32.
    virtual uint32_t GetTickCount() = 0;
    virtual void Sleep(uint32_t milliseconds) = 0;
};

// The real clock, on SDL's counters.
IClock& SystemClock();
