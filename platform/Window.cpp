#include "platform/Window.h"

#include "platform/Paths.h"

#include <SDL.h>

namespace {

// The desktop finds the window's entry and icon by the application id: the X11 class and the
// Wayland app id are read from the environment when the video subsystem starts (a value the user
// set is kept). The application name is what sound and power applets show.
void NameTheApplication() {
    SDL_setenv("SDL_VIDEO_X11_WMCLASS", VO_APP_ID, 0);
    SDL_setenv("SDL_VIDEO_WAYLAND_WMCLASS", VO_APP_ID, 0);
    SDL_SetHint(SDL_HINT_APP_NAME, "Velm Orra");
}

// The generated 64 x 64 icon with alpha, beside the game data; without it the window manager's
// default icon stays.
void SetIcon(SDL_Window* window) {
    SDL_Surface* icon = SDL_LoadBMP(paths::DataPath("icon.bmp").c_str());
    if (!icon) return;
    SDL_SetWindowIcon(window, icon);
    SDL_FreeSurface(icon);
}

} // namespace

struct TNativeWindow {
    SDL_Window* Window = nullptr;
};

TNativeWindow* CreateNativeWindow(const std::string& title, int32_t clientWidth,
                                  int32_t clientHeight, bool borderless, std::string* error) {
    NameTheApplication();
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
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
    SetIcon(window);
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
