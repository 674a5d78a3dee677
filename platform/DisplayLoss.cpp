#include "platform/DisplayLoss.h"

#include <SDL.h>
#include <X11/Xlib.h>
#include <cstring>
#include <unistd.h>

namespace {

// Xlib ends the process when this returns; ending here without exit handlers keeps SDL and the
// renderer from talking to a server that is gone.
int OnIoError(Display*) {
    RunDisplayLostHandler();
    ::_exit(1);
}

} // namespace

// Xlib calls the I/O error handler when the server goes away; it must not return.
void WatchDisplayLoss(SDL_Window*) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver && std::strcmp(driver, "x11") == 0) XSetIOErrorHandler(OnIoError);
}
