#include "platform/DisplayLoss.h"

#include <SDL.h>

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
