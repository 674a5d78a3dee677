#include "platform/DisplayLoss.h"

#include "platform/App.h"

#include <X11/Xlib.h>
#include <unistd.h>
#include <utility>

namespace {

std::function<void()>& Handler() {
    static std::function<void()> handler;
    return handler;
}

// Xlib ends the process when this returns; ending here without exit handlers keeps SDL and the
// renderer from talking to a server that is gone.
int OnIoError(Display*) {
    RunDisplayLostHandler();
    ::_exit(1);
}

} // namespace

void SetDisplayLostHandler(std::function<void()> handler) {
    Handler() = std::move(handler);
}

void RunDisplayLostHandler() {
    std::function<void()> handler = std::exchange(Handler(), nullptr);
    if (handler) handler();
}

void WatchX11Connection() {
    XSetIOErrorHandler(OnIoError);
}
