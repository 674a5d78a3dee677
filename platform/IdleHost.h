#pragma once
// The application's idle hook: the host calls the installed handler whenever its event queue is
// empty, and again at once while the handler leaves Done false.
#include <functional>

using TIdleHandler = std::function<void(bool& done)>;

class IIdleHost {
public:
    virtual ~IIdleHost() = default;
    // Replaces any handler installed before; an empty handler removes it.
    virtual void SetIdleHandler(TIdleHandler handler) = 0;
};
