#include "platform/DisplayLoss.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <cstdlib>
#include <windows.h>

namespace {

WNDPROC sdlWindowProc = nullptr;

// Windows may end the process as soon as WM_ENDSESSION returns, and sends it to the window
// directly (SDL's event queue never sees it): the player's files are saved here, and the program
// ends without the rest of its exit, as it does when an X server goes away.
LRESULT CALLBACK WatchSessionEnd(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENDSESSION && wParam) {
        RunDisplayLostHandler();
        std::_Exit(0);
    }
    return CallWindowProcW(sdlWindowProc, window, message, wParam, lParam);
}

} // namespace

void WatchDisplayLoss(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!window || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WINDOWS)
        return;
    HWND handle = info.info.win.window;
    const auto watch = reinterpret_cast<LONG_PTR>(&WatchSessionEnd);
    if (GetWindowLongPtrW(handle, GWLP_WNDPROC) == watch) return;
    sdlWindowProc = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(handle, GWLP_WNDPROC, watch));
}
