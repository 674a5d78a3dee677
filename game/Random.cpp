#include "game/Random.h"

namespace {

constexpr uint64_t kMultiplier = 6364136223846793005ULL;
constexpr uint64_t kIncrement = 1442695040888963407ULL;

TRandomStream balls;
TRandomStream decor{0x5851F42D4C957F2DULL};

} // namespace

uint32_t TRandomStream::Next32() {
    const uint64_t old = State;
    State = old * kMultiplier + kIncrement;
    const auto xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    const auto rot = static_cast<uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

void TRandomStream::Seed(uint64_t seed) {
    State = 0;
    Next32();
    State += seed;
    Next32();
}

int32_t TRandomStream::operator()(int32_t n) {
    if (n <= 0) return 0;
    // Multiply-shift maps the 32-bit output onto 0..n-1 without a division.
    return static_cast<int32_t>((static_cast<uint64_t>(Next32()) * static_cast<uint32_t>(n)) >> 32);
}

void RandSeed(uint64_t seed) {
    balls.Seed(seed);
}

int32_t Random(int32_t n) {
    return balls(n);
}

uint64_t RandState() {
    return balls.State;
}

void SetRandState(uint64_t s) {
    balls.State = s;
}

void DecorSeed(uint64_t seed) {
    decor.Seed(seed);
}

int32_t DecorRandom(int32_t n) {
    return decor(n);
}

TRandomStream& BallsStream() {
    return balls;
}

TRandomStream& DecorStream() {
    return decor;
}
