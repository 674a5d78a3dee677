#pragma once
// The one uniform random generator of the game. Random(n) returns 0 <= r < n; Random(n) for
// n <= 0 returns 0 (the field draws Random(FrameRate) before the first rate measurement).
// The game seeds it once at start; tests seed it for repeatable games.
#include <cstdint>

void RandSeed(uint64_t seed);
int32_t Random(int32_t n);

// The generator's whole state: saved and restored so that a taken-back move, played again, draws
// the same numbers.
uint64_t RandState();
void SetRandState(uint64_t s);
