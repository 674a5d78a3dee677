#include "platform/Window.h"

#include "platform/DisplayLoss.h"

#include <SDL.h>

struct TNativeWindow {
    SDL_Window* Window = nullptr;
};

TNativeWindow* CreateNativeWindow(const std::string& title, int32_t clientWidth,
                                  int32_t clientHeight, bool borderless, std::string* error) {
    // A display busy with other clients may refuse a connection for a moment: a few tries.
    int tries = 0;
    while (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0 && ++tries < 3) SDL_Delay(250);
    if (tries == 3) {
        if (error) *error = std::string("cannot start the video subsystem: ") + SDL_GetError();
        return nullptr;
    }
    const Uint32 flags = SDL_WINDOW_SHOWN | (borderless ? SDL_WINDOW_BORDERLESS : 0);
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, clientWidth, clientHeight, flags);
    if (!window) {
        if (error) *error = std::string("cannot create the window: ") + SDL_GetError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    // The display may have gone since the start-up check (SDL then falls back to a driver that
    // shows nothing): a window nobody can see ends the start like no display at all.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    const std::string name = driver ? driver : "";
    if ((name.empty() || name == "offscreen" || name == "dummy") && !(wanted && name == wanted)) {
        if (error) *error = "no display (only SDL's \"" + name + "\" video driver is available)";
        SDL_DestroyWindow(window);
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    if (name == "x11") WatchX11Connection();
    return new TNativeWindow{window};
}

void DestroyNativeWindow(TNativeWindow* window) {
    if (!window) return;
    SDL_DestroyWindow(window->Window);
    delete window;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

void SetNativeWindowTitle(TNativeWindow* window, const std::string& title) {
    if (window) SDL_SetWindowTitle(window->Window, title.c_str());
}

void NativeWindowClientSize(const TNativeWindow* window, int32_t& width, int32_t& height) {
    width = height = 0;
    if (window) SDL_GetWindowSize(window->Window, &width, &height);
}

SDL_Window* SdlWindowOf(const TNativeWindow* window) {
    return window ? window->Window : nullptr;
}
