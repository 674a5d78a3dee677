#pragma once
// The frame handler's own clocks: the name entry's caret and the small logo with the message
// pictures.
#include <cstdint>

struct TFrameClocks {
    double CaretClock = 0.0; // blink clock of the name-entry caret, 0..2
    float AnimClock = 0.0f;  // clock of the small logo and the message pictures, 0..500
    int32_t SmallLogoFrame = 0;
};

extern TFrameClocks Clocks;
