#include "platform/HostScreen.h"

#include <SDL.h>
#include <emscripten/emscripten.h>

// The page (web/shell.html) sizes the canvas on the screen; the canvas's own pixels are the
// picture's, so that drawing never pays for a scaling the browser does anyway.

int32_t HostPictureDensity() {
    return EM_ASM_INT({ return (window.devicePixelRatio || 1) >= 1.5 ? 2 : 1; });
}

bool HostViewport(int32_t& width, int32_t& height) {
    width = EM_ASM_INT({ return window.innerWidth || 0; });
    height = EM_ASM_INT({ return window.innerHeight || 0; });
    return width > 0 && height > 0;
}

bool HostOwnsFullScreen() {
    return true;
}

bool HostInFullScreen() {
    return EM_ASM_INT({ return document.fullscreenElement ? 1 : 0; }) != 0;
}

void HostSetFullScreen(bool on) {
    EM_ASM(
        {
            if (Module.velmOrraFullScreen) Module.velmOrraFullScreen(!!$0);
        },
        on ? 1 : 0);
}

bool HostPrefersTouch() {
    return EM_ASM_INT({
               return window.matchMedia && window.matchMedia('(pointer: coarse)').matches ? 1 : 0;
           }) != 0;
}

// A resizable window would follow the page's size, and a high-density one the device's pixels:
// the canvas takes the picture's size instead.
uint32_t HostWindowFlags(uint32_t flags) {
    return flags & ~uint32_t(SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
}

// The page fits the canvas again whenever its size may have changed (it does nothing when
// neither the canvas nor the window did).
bool HostFitWindow(SDL_Window* window, int32_t width, int32_t height) {
    if (!window || width <= 0 || height <= 0) return false;
    int w = 0, h = 0;
    SDL_GetWindowSize(window, &w, &h);
    const bool changed = w != width || h != height;
    if (changed) SDL_SetWindowSize(window, width, height);
    EM_ASM({
        if (Module.velmOrraFit) Module.velmOrraFit();
    });
    return changed;
}

// The canvas's 2D context takes the changed areas straight from the program's memory
// (web/pre.js): the whole picture is neither copied into the window's image nor sent to the
// canvas for the few pixels an ambient frame changes.
bool HostShowPicture(SDL_Window*, const SDL_Surface* picture, const SDL_Rect* pieces,
                     int pieceCount, const SDL_Rect* areas, int areaCount, bool whole,
                     uint32_t gaps) {
    if (!picture || picture->format->BytesPerPixel != 4) return false;
    return EM_ASM_INT(
               {
                   return Module.velmOrraShowPicture
                              ? Module.velmOrraShowPicture($0, $1, $2, $3, $4, $5, $6, $7)
                              : 0;
               },
               picture->pixels, picture->pitch, pieces, pieceCount, areas, areaCount, whole ? 1 : 0,
               gaps) != 0;
}
