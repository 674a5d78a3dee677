// The message loop in a browser page: the page's animation callback runs one pass per frame
// (requestAnimationFrame, at the display's rate), and the program must return to the page between
// passes, so nothing here waits.
#include "platform/App.h"

#include <SDL.h>
#include <emscripten/emscripten.h>
#include <utility>

namespace {

void Pass(void* application) {
    if (!static_cast<TApplication*>(application)->RunPass()) emscripten_cancel_main_loop();
}

// How the page calls the passes: every display refresh (its animation callback) while frames
// are due that often, or by a timer at the interval of the next frame when it is longer (at rest,
// while the game waits): an animation callback asked for at every refresh keeps the page's
// compositor drawing frames even when nothing changed.
int pacedMs = 0; // 0: every refresh
void Pace(double interval) {
    const int ms = interval > 1.0 / 30 ? static_cast<int>(interval * 1000) : 0;
    if (ms == pacedMs) return;
    pacedMs = ms;
    if (ms > 0)
        emscripten_set_main_loop_timing(EM_TIMING_SETTIMEOUT, ms);
    else
        emscripten_set_main_loop_timing(EM_TIMING_RAF, 1);
}

} // namespace

// Input on the page (web/boot.js): the passes run every refresh again, so that the input is
// handled at the next one.
extern "C" EMSCRIPTEN_KEEPALIVE void VelmOrraWake() {
    Pace(0.0);
}

double TApplication::RefreshInterval() const {
    // At rest only the ambient animation runs: kRestFrameRate passes a second are enough.
    if (restQuery_ && restQuery_()) return 1.0 / kRestFrameRate;
    return 0.0; // every animation frame
}

bool TApplication::RunPass() {
    if (!terminated_) {
        SDL_Event e;
        bool events = false;
        while (!terminated_ && SDL_PollEvent(&e)) {
            Dispatch(&e);
            events = true;
        }
        if (!terminated_) RepeatPadKeys();
        const uint64_t now = SDL_GetPerformanceCounter();
        // A hidden page gets no animation frames anyway; an event runs the frame at once.
        if (!terminated_ && !hidden_ && (events || now >= nextFrame_)) {
            bool done = true;
            if (idle_) idle_(done);
            const double wait = done ? 0.1 : RefreshInterval();
            nextFrame_ = now + static_cast<uint64_t>(wait * double(SDL_GetPerformanceFrequency()));
            Pace(wait);
        }
        if (!terminated_) return true;
    }
    // The game has ended (Exit): it saves and lets go of the window; the page says what to do.
    if (std::function<void()> finish = std::exchange(finish_, nullptr)) finish();
    EM_ASM({
        if (Module.velmOrraEnded) Module.velmOrraEnded();
    });
    return false;
}

void TApplication::Run(std::function<void()> finish) {
    finish_ = std::move(finish);
    // Never returns: the stack of the caller stays as it is while the page runs the passes.
    emscripten_set_main_loop_arg(Pass, this, 0, 1);
}
