// The handler that saves the player's files when the display goes away, on every host.
#include "platform/App.h"
#include "platform/DisplayLoss.h"

#include <utility>

namespace {

std::function<void()>& Handler() {
    static std::function<void()> handler;
    return handler;
}

} // namespace

void SetDisplayLostHandler(std::function<void()> handler) {
    Handler() = std::move(handler);
}

void RunDisplayLostHandler() {
    std::function<void()> handler = std::exchange(Handler(), nullptr);
    if (handler) handler();
}
