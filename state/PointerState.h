#pragma once
// The pointer in picture coordinates (800 x 600) and the mouse button of the last press.
#include <cstdint>

struct TPointerState {
    int32_t X = 0;
    int32_t Y = 0;
    int32_t PressedButton = 0; // 0 left, 1 right, 2 middle; 0 after release
    // The left button is held since a press at (PressX, PressY): a ball picked so follows the
    // pointer until the release.
    bool Held = false;
    int32_t PressX = 0, PressY = 0;
};

extern TPointerState Pointer;
