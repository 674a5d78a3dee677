// Path search on a crowded field: the hover search runs every frame while a ball is selected.
#include "game/Random.h"
#include "game/vo_Field.h"

#include <benchmark/benchmark.h>

namespace {

// Fills about `percent` of the field with balls, keeping (0,0) occupied as the start and
// leaving a target that is reachable.
TGameField Crowded(int percent, uint64_t seed) {
    TGameField f(9, 9);
    RandSeed(seed);
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y)
            if (Random(100) < percent) f.Cell(x, y) = BallKinds[1 + Random(7)];
    f.Cell(0, 0) = BallKinds[1];
    return f;
}

void BM_FindPathCrowded(benchmark::State& state) {
    TGameField f = Crowded(static_cast<int>(state.range(0)), 42);
    int found = 0;
    for (auto _ : state) {
        for (int x = 0; x < 9; ++x) {
            for (int y = 0; y < 9; ++y) {
                const uint8_t l = f.FindPath(0, 0, static_cast<uint8_t>(x), static_cast<uint8_t>(y));
                found += l != kNoPath;
            }
        }
    }
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(state.iterations() * 81);
}
BENCHMARK(BM_FindPathCrowded)->Arg(30)->Arg(60)->Arg(80);

} // namespace
