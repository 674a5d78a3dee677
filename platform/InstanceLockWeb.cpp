#include "platform/InstanceLock.h"

#include <emscripten/emscripten.h>

// The page asks the browser for the "velm-orra" lock of its origin (the Web Locks API) before the
// program starts (web/pre.js) and holds it while the page lives: a second tab of the game finds
// it taken. Acquire reads the answer; fd_ is 0 while this copy holds it.
TInstanceLock::~TInstanceLock() {
    Release();
}

TInstanceLock::TResult TInstanceLock::Acquire(const std::string& folder) {
    Release();
    reason_.clear();
    if (folder.empty()) {
        reason_ = "there is no data folder";
        return TResult::Unavailable;
    }
    // 1 held by this page, 2 held by another, 0 no answer (a browser without the API).
    const int state = EM_ASM_INT({ return Module.velmOrraLockState(); });
    if (state == 2) return TResult::AlreadyRunning;
    if (state != 1) {
        reason_ = "this browser cannot lock the game's storage";
        return TResult::Unavailable;
    }
    fd_ = 0;
    return TResult::Acquired;
}

// The browser keeps the lock until the page goes.
void TInstanceLock::Release() {
    fd_ = -1;
}
