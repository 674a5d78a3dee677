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

} // namespace

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
