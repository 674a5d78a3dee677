#pragma once
// The help screen's page.
#include <cstdint>

struct THelpState {
    uint8_t Page = 0; // 0 .. the last help page
};

extern THelpState Help;
