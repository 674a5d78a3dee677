#include "platform/Signals.h"

// A page has no signals: its closing is watched with the window (DisplayLossWeb.cpp).
void ForwardQuitRequests() {}
