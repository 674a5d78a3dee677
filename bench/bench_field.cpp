// Path search on a crowded field: the hover search runs every frame while a ball is selected.
#include "game/GameField.h"
#include "game/Random.h"

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
                const uint8_t l =
                    f.FindPath(0, 0, static_cast<uint8_t>(x), static_cast<uint8_t>(y));
                found += l != kNoPath;
            }
        }
    }
    benchmark::DoNotOptimize(found);
    state.SetItemsProcessed(state.iterations() * 81);
}
BENCHMARK(BM_FindPathCrowded)->Arg(30)->Arg(60)->Arg(80);

} // namespace

// One Render of a full field with a selected ball and the hover search, drawn offscreen with the
// generated ball pictures.
#include "layout/Layout.h"
#include "platform/Paths.h"
#include "render/Catalogue.h"
#include "render/PatternImage.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "state/PointerState.h"
#include "state/ShellState.h"

#include <memory>
#include <vector>

namespace {

void BM_RenderFullField(benchmark::State& state) {
    TRenderDevice device;
    device.SetOffscreen(true);
    device.SetWidth(800);
    device.SetHeight(600);
    if (device.InitDevice() != 0) {
        state.SkipWithError("no offscreen device");
        return;
    }
    RenderDevice1 = &device;
    paths::SetDataDir(VO_GAME_DATA_DIR);
    std::vector<std::unique_ptr<TPatternImage>> sets;
    for (const TCatalogueEntry& e : IngameCatalogue()) {
        if (e.File.find("graphics/balls/") == std::string::npos && e.File != "graphics/field.tga")
            continue;
        auto set = std::make_unique<TPatternImage>();
        set->LoadFromFile(device.Device(), paths::DataPath(e.File), e.PatternWidth, e.PatternHeight,
                          e.TextureWidth, e.TextureHeight, e.Format);
        *e.Slot = set.get();
        sets.push_back(std::move(set));
    }
    ResetShellState();
    Shell.Word = scrPlaying;
    TGameField f(9, 9);
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y)
            f.Cell(x, y) = BallKinds[static_cast<size_t>(1 + (x * 3 + y) % 22)];
    for (int i = 0; i < 9; ++i) f.Cell(i, 4).Kind = 0;
    f.Selected = true;
    f.SelX = 0;
    f.SelY = 3;
    f.SelPicture = static_cast<uint8_t>(f.Cell(0, 3).Picture);
    f.BallsPerTurn = 4;
    f.Preview = {BallKinds[1], BallKinds[2], BallKinds[3], BallKinds[4], BallKinds[5]};
    Pointer.X = kFieldLeft + 52 * 8 + 20;
    Pointer.Y = kFieldTop + 52 * 4 + 20;
    for (auto _ : state) {
        device.BeginFrame();
        f.UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
        f.Render(0.25);
        device.EndFrame();
    }
    for (auto& s : sets) s->FreeTextures();
    Pictures = TPictures{};
    RenderDevice1 = nullptr;
}
BENCHMARK(BM_RenderFullField)->Unit(benchmark::kMicrosecond);

} // namespace
