#include "platform/DirectRendering.h"

// Direct3D on Windows always reaches the graphics processor's driver (or Windows' own fallback,
// which SDL's renderer handles like any other).
bool DisplayRendersDirectly(SDL_Window*) {
    return true;
}
