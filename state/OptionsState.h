#pragma once
// What the Options screen sets: the two volumes and the full-screen flag.
#include <cstdint>

struct TOptionsState {
    int32_t MusicVolume = 50; // 0..100
    int32_t SoundVolume = 75; // 0..100
    bool FullScreen = false;
};

extern TOptionsState Options;
