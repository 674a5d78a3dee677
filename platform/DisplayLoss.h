#pragma once
// The loss of the display connection. Kept apart from the SDL code: Xlib's headers define macros
// (None, Status, Bool) that clash with other code.

// Installs the X I/O error handler that runs the display-lost handler (SetDisplayLostHandler)
// and ends the program. Xlib calls it when the server goes away; it must not return.
void WatchX11Connection();
// Runs the display-lost handler, if any (once).
void RunDisplayLostHandler();

struct SDL_Window;

// False when OpenGL on the window's display can only be a software rasteriser: an X server that
// offers no direct rendering (no DRI3 or DRI2, as with Xvfb or a plain virtual machine), or
// LIBGL_ALWAYS_SOFTWARE set. Anything else (another windowing system) counts as direct.
bool DisplayRendersDirectly(SDL_Window* window);
