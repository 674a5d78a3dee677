#include "platform/HostScreen.h"

int32_t HostPictureDensity() {
    return 0;
}

bool HostViewport(int32_t&, int32_t&) {
    return false;
}

bool HostOwnsFullScreen() {
    return false;
}

bool HostInFullScreen() {
    return false;
}

void HostSetFullScreen(bool) {}

bool HostPrefersTouch() {
    return false;
}

uint32_t HostWindowFlags(uint32_t flags) {
    return flags;
}

bool HostFitWindow(SDL_Window*, int32_t, int32_t) {
    return false;
}

bool HostShowPicture(SDL_Window*, const SDL_Surface*, const SDL_Rect*, int, const SDL_Rect*, int,
                     bool, uint32_t) {
    return false;
}
