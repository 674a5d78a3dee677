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

// One stream of numbers (PCG-XSH-RR: a 64-bit linear congruential state with a permuted 32-bit
// output). The two generators above are streams; a simulation keeps streams of its own, so that
// it never moves the game's.
struct TRandomStream {
    uint64_t State = 0x853C49E6748FEA9BULL;

    void Seed(uint64_t seed);
    uint32_t Next32();
    // 0 <= r < n; 0 for n <= 0.
    int32_t operator()(int32_t n);
};

void RandSeed(uint64_t seed);
int32_t Random(int32_t n);

// The balls' generator's whole state: saved and restored so that a taken-back move, played
// again, draws the same numbers.
uint64_t RandState();
void SetRandState(uint64_t s);

void DecorSeed(uint64_t seed);
int32_t DecorRandom(int32_t n);

// The two streams behind the functions above, for the field that plays the game on the screen.
TRandomStream& BallsStream();
TRandomStream& DecorStream();
