#pragma once
// The loss of the display for good: the X server going away (Linux), the session ending
// (Windows), the page being closed (browser). Kept apart from the SDL code: Xlib's headers
// define macros (None, Status, Bool) that clash with other code.

struct SDL_Window;

// Has the display-lost handler (SetDisplayLostHandler) run when the display the window is on
// goes away; the program then ends at once (Linux, Windows) or the page is gone (browser).
void WatchDisplayLoss(SDL_Window* window);
// Runs the display-lost handler, if any (once).
void RunDisplayLostHandler();
