#include "game/Random.h"

namespace {

// PCG-XSH-RR: a 64-bit linear congruential state with a permuted 32-bit output.
uint64_t state = 0x853C49E6748FEA9BULL;
uint64_t decorState = 0x5851F42D4C957F2DULL;
constexpr uint64_t kMultiplier = 6364136223846793005ULL;
constexpr uint64_t kIncrement = 1442695040888963407ULL;

uint32_t Next32(uint64_t& s) {
    const uint64_t old = s;
    s = old * kMultiplier + kIncrement;
    const auto xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    const auto rot = static_cast<uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

void Seed(uint64_t& s, uint64_t seed) {
    s = 0;
    Next32(s);
    s += seed;
    Next32(s);
}

int32_t Draw(uint64_t& s, int32_t n) {
    if (n <= 0) return 0;
    // Multiply-shift maps the 32-bit output onto 0..n-1 without a division.
    return static_cast<int32_t>((static_cast<uint64_t>(Next32(s)) * static_cast<uint32_t>(n)) >>
                                32);
}

} // namespace

void RandSeed(uint64_t seed) {
    Seed(state, seed);
}

int32_t Random(int32_t n) {
    return Draw(state, n);
}

uint64_t RandState() {
    return state;
}

void SetRandState(uint64_t s) {
    state = s;
}

void DecorSeed(uint64_t seed) {
    Seed(decorState, seed);
}

int32_t DecorRandom(int32_t n) {
    return Draw(decorState, n);
}
