#include "platform/Window.h"

#include "platform/DirectRendering.h"
#include "platform/DisplayLoss.h"
#include "platform/HostScreen.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/SdlError.h"

#include <SDL.h>

#include <algorithm>

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
    bool Framed = false;
    int NormalWidth = 0, NormalHeight = 0; // last size neither maximised nor full screen
};

namespace {

// The smallest window the picture still reads in.
constexpr int kMinWidth = 400, kMinHeight = 300;

constexpr Uint32 kNotNormal =
    SDL_WINDOW_MAXIMIZED | SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP;

} // namespace

// The kept size, when it is one a window of the desktop can have.
bool KeptWindowGeometry(int& width, int& height, bool& maximised) {
    const TRegistry registry;
    const auto w = registry.ReadInteger("WindowWidth");
    const auto h = registry.ReadInteger("WindowHeight");
    maximised = registry.ReadInteger("WindowMaximized").value_or(0) == 1;
    if (!w || !h) return false;
    SDL_Rect usable{0, 0, 16384, 16384};
    SDL_GetDisplayUsableBounds(0, &usable);
    width = std::clamp(*w, kMinWidth, std::max(kMinWidth, usable.w));
    height = std::clamp(*h, kMinHeight, std::max(kMinHeight, usable.h));
    return true;
}

TNativeWindow* CreateNativeWindow(const std::string& title, int32_t clientWidth,
                                  int32_t clientHeight, bool borderless, std::string* error) {
    NameTheApplication();
    // A display busy with other clients may refuse a connection for a moment: a few tries.
    int tries = 0;
    while (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0 && ++tries < 3) SDL_Delay(250);
    if (tries == 3) {
        if (error) *error = "cannot start the video subsystem: " + SdlError();
        return nullptr;
    }
    // The click that gives an unfocused window the focus is a click in the game too.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    const Uint32 flags =
        HostWindowFlags(SDL_WINDOW_SHOWN | SDL_WINDOW_ALLOW_HIGHDPI |
                        (borderless ? SDL_WINDOW_BORDERLESS : SDL_WINDOW_RESIZABLE));
    int width = clientWidth, height = clientHeight;
    bool maximised = false;
    if (!borderless) KeptWindowGeometry(width, height, maximised);
    SDL_Window* window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!window) {
        if (error) *error = "cannot create the window: " + SdlError();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return nullptr;
    }
    if (!borderless) {
        SDL_SetWindowMinimumSize(window, kMinWidth, kMinHeight);
        if (maximised) SDL_MaximizeWindow(window);
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
    WatchDisplayLoss(window);
    SetIcon(window);
    return new TNativeWindow{window, !borderless, width, height};
}

void NoteNativeWindowSize(TNativeWindow* window) {
    if (!window) return;
    const Uint32 flags = SDL_GetWindowFlags(window->Window);
    if (flags & kNotNormal) return;
    // A window that started borderless in full screen is framed once it has left it.
    if (flags & SDL_WINDOW_RESIZABLE) window->Framed = true;
    SDL_GetWindowSize(window->Window, &window->NormalWidth, &window->NormalHeight);
}

bool SaveNativeWindowGeometry(const TNativeWindow* window) {
    if (!window || !window->Framed || window->NormalWidth <= 0 || window->NormalHeight <= 0)
        return true;
    const Uint32 flags = SDL_GetWindowFlags(window->Window);
    TRegistry registry;
    bool ok = registry.WriteInteger("WindowWidth", window->NormalWidth) &&
              registry.WriteInteger("WindowHeight", window->NormalHeight);
    if (!(flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)))
        ok = registry.WriteInteger("WindowMaximized", (flags & SDL_WINDOW_MAXIMIZED) ? 1 : 0) && ok;
    return ok;
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

bool WindowDrawsInSoftware(SDL_Window* window) {
    const char* named = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
    if (!window || (named && *named) || DisplayRendersDirectly(window)) return false;
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    return true;
}

SDL_Renderer* CreateWindowRenderer(SDL_Window* window, uint32_t flags) {
    if (!window) return nullptr;
    SDL_Renderer* renderer = nullptr;
    if (WindowDrawsInSoftware(window))
        renderer = SDL_CreateRenderer(window, -1, flags | SDL_RENDERER_SOFTWARE);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, flags | SDL_RENDERER_ACCELERATED);
    if (!renderer) renderer = SDL_CreateRenderer(window, -1, flags | SDL_RENDERER_SOFTWARE);
    return renderer;
}
