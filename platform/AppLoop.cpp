// The message loop of a desktop host (Linux, Windows): the program's own loop, waiting on the
// event queue between frames.
#include "platform/App.h"

#include "platform/Window.h"

#include <SDL.h>

#include <chrono>
#include <thread>

double TApplication::RefreshInterval() const {
    if (restQuery_ && restQuery_()) return 1.0 / kRestFrameRate;
    SDL_DisplayMode mode{};
    SDL_Window* w = SdlWindowOf(window_);
    const int display = w ? SDL_GetWindowDisplayIndex(w) : 0;
    if (SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 && mode.refresh_rate > 0)
        return 1.0 / mode.refresh_rate;
    return 1.0 / 60.0;
}

void TApplication::WaitForNextFrame() {
    const uint64_t frequency = SDL_GetPerformanceFrequency();
    const double seconds = RefreshInterval();
    const auto interval = static_cast<uint64_t>(seconds * double(frequency));
    // At the rest rate a frame a millisecond late shows nothing: one wait, without the precise
    // sleep at its end (a wakeup less a frame).
    const bool coarse = seconds * kRestFrameRate >= 1.0;
    uint64_t now = SDL_GetPerformanceCounter();
    // Deadlines follow each other one interval apart; after a late frame (or a rest) the next
    // one counts from now instead of hurrying to catch up.
    nextFrame_ += interval;
    if (nextFrame_ + interval < now || nextFrame_ > now + interval) nextFrame_ = now + interval;
    while (now < nextFrame_) {
        const uint64_t ms = (nextFrame_ - now) * 1000 / frequency;
        if (coarse) {
            // The wait reads the window system's queue before it sleeps, and wakes for anything
            // that comes: when it times out, the events are read.
            eventsRead_ = SDL_WaitEventTimeout(nullptr, int(ms + 1)) == 0;
            return;
        }
        if (ms >= 2) {
            // The event queue's own wait: an event ends it, and the frame runs at once.
            if (SDL_WaitEventTimeout(nullptr, int(ms - 1)) == 1) return;
        } else {
            std::this_thread::sleep_for(
                std::chrono::nanoseconds((nextFrame_ - now) * 1000000000 / frequency));
        }
        now = SDL_GetPerformanceCounter();
    }
}

// By value, as the browser's variant, which keeps `finish` for the end of a loop it does not own.
void TApplication::Run(
    std::function<void()> finish) { // NOLINT(performance-unnecessary-value-param)
    while (!terminated_) {
        ProcessMessages();
        if (terminated_) break;
        if (hidden_) {
            // Nothing to draw: sleep until the window comes back (or anything else happens).
            SDL_WaitEvent(nullptr);
            continue;
        }
        bool done = true;
        if (idle_) idle_(done);
        if (done)
            SDL_WaitEventTimeout(nullptr, 100);
        else
            WaitForNextFrame();
    }
    if (finish) finish();
}
