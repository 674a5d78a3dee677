#pragma once
// What the Options screen sets: the two volumes, the full-screen flag, and how the game moves,
// marks its balls and guides a first game (those three kept in the registry file).
#include <cstdint>

struct TOptionsState {
    int32_t MusicVolume = 50; // 0..100
    int32_t SoundVolume = 75; // 0..100
    bool FullScreen = false;
    // No bounce loops, shimmers, flashes, shakes, cross-fades or bursts: what they tell is shown
    // still (a selected ball wears a ring, a score is shown at once).
    bool ReducedMotion = false;
    bool ClearSymbols = false; // the colours' symbols at full contrast on the balls
    bool Tips = true;          // the first-game tips, each shown once
};

extern TOptionsState Options;
