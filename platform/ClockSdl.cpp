#include "platform/Clock.h"

#include <SDL.h>

namespace {

class TSdlClock final : public IClock {
public:
    bool QueryPerformanceFrequency(int64_t& frequency) override {
        frequency = static_cast<int64_t>(SDL_GetPerformanceFrequency());
        return frequency > 0;
    }
    bool QueryPerformanceCounter(int64_t& count) override {
        count = static_cast<int64_t>(SDL_GetPerformanceCounter());
        return true;
    }
    uint32_t GetTickCount() override { return static_cast<uint32_t>(SDL_GetTicks64()); }
    void Sleep(uint32_t milliseconds) override { SDL_Delay(milliseconds); }
};

} // namespace

IClock& SystemClock() {
    static TSdlClock clock;
    return clock;
}
