#include "platform/Clock.h"

#include <SDL.h>

namespace {

// In a browser page nothing may block: the page's animation callback paces the frames, and a
// wait would freeze the page (SDL_Delay spins there). Sleep returns at once.
class TPageClock final : public IClock {
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
    void Sleep(uint32_t) override {}
};

} // namespace

IClock& SystemClock() {
    static TPageClock clock;
    return clock;
}
