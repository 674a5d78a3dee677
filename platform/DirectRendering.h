#pragma once
// Whether the display can render with a graphics processor. Kept apart from the other SDL code:
// Xlib's headers define macros (None, Status, Bool) that clash with it.

struct SDL_Window;

// False when OpenGL on the window's display can only be a software rasteriser: an X server that
// offers no direct rendering (no DRI3 or DRI2, as with Xvfb or a plain virtual machine), or
// LIBGL_ALWAYS_SOFTWARE set. Anything else (another windowing system) counts as direct.
bool DisplayRendersDirectly(SDL_Window* window);
