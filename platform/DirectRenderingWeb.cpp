#include "platform/DirectRendering.h"

// A page's WebGL is the browser's business: where the browser offers none, SDL's accelerated
// renderer fails to start and the window falls back to drawing in memory.
bool DisplayRendersDirectly(SDL_Window*) {
    return true;
}
