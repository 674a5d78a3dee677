#include "platform/DisplayLoss.h"

#include <SDL.h>
#include <emscripten/emscripten.h>

namespace {

// SDL reports the page being closed or reloaded as SDL_APP_TERMINATING from the page's
// "beforeunload" event; the game gets no frame after it, so the handler runs right here.
int WatchPageEnd(void*, SDL_Event* event) {
    if (event->type == SDL_APP_TERMINATING) RunDisplayLostHandler();
    return 1;
}

} // namespace

void WatchDisplayLoss(SDL_Window*) {
    SDL_DelEventWatch(WatchPageEnd, nullptr);
    SDL_AddEventWatch(WatchPageEnd, nullptr);
}

// Another tab of the page takes the game over (web/boot.js): this one saves as on the page's
// end and runs no frame after it; the page then copies the folder to IndexedDB and lets go of
// the lock.
extern "C" EMSCRIPTEN_KEEPALIVE void VelmOrraGiveUp() {
    RunDisplayLostHandler();
    emscripten_cancel_main_loop();
}
