#pragma once
// The loss of the display connection. Kept apart from the SDL code: Xlib's headers define macros
// (None, Status, Bool) that clash with other code.

// Installs the X I/O error handler that runs the display-lost handler (SetDisplayLostHandler)
// and ends the program. Xlib calls it when the server goes away; it must not return.
void WatchX11Connection();
// Runs the display-lost handler, if any (once).
void RunDisplayLostHandler();
