#pragma once
// Requests from outside the window to end the program. SDL makes SIGTERM and SIGINT a quit
// request itself; this adds the host's other ones, so that they end the program through the
// same exit save.

// Call once, after SDL's video subsystem has started.
void ForwardQuitRequests();
