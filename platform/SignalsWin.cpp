#include "platform/Signals.h"

// Windows has no hang-up: Ctrl+C and Ctrl+Break in a console reach SDL's SIGINT handler, and the
// end of the session is watched per window (DisplayLossWin.cpp), since Windows sends it there.
void ForwardQuitRequests() {}
