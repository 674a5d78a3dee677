#pragma once
// The uniform random generators of the game. Random(n) returns 0 <= r < n; Random(n) for
// n <= 0 returns 0 (the field draws Random(FrameRate) before the first rate measurement).
// The game seeds them once at start; tests seed them for repeatable games.
//
// Random draws the balls: their places, the preview, the starting balls, the bombs' debris. It
// advances only by game events, never by frames, so that its state kept with a game (taken back
// by undo, or saved and restored) draws exactly what the game would have drawn.
// DecorRandom draws what only decorates and runs by frames: idle sparkles, the emptying of a
// finished field.
#include <cstdint>

void RandSeed(uint64_t seed);
int32_t Random(int32_t n);

// The balls' generator's whole state: saved and restored so that a taken-back move, played
// again, draws the same numbers.
uint64_t RandState();
void SetRandState(uint64_t s);

void DecorSeed(uint64_t seed);
int32_t DecorRandom(int32_t n);
