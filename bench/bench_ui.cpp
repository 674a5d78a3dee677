// Per-frame costs of the effects and text: a busy particle list advanced once per frame, the
// layout of a dialog block, and the button pass of a menu screen.
#include "fx/ParticleEngine.h"
#include "layout/Layout.h"
#include "render/PatternImage.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "ui/Buttons.h"
#include "ui/VOFont.h"

#include <benchmark/benchmark.h>

namespace {

// A blast's worth of particles, kept at `count` by re-adding what the update removed.
void Refill(TVOParticleEngine& e, size_t count) {
    for (size_t i = e.Particles().size(); i < count; ++i) {
        const float x = 300.0f + float(i % 9) * 52, y = 50.0f + float(i % 7) * 52;
        switch (i % 4) {
        case 0:
            e.AddText("+120 x3", x, y);
            break;
        case 1:
            e.AddPop(nullptr, i % 8 == 1, x, y);
            break;
        case 2:
            e.AddAnimation(nullptr, 18, x, y, 2.0f, 1);
            break;
        default:
            e.AddDebris(nullptr, x, y, float(i % 11) - 5, -30);
            break;
        }
    }
}

void BM_ParticleUpdate(benchmark::State& state) {
    TVOParticleEngine engine(nullptr, kPictureHeight);
    const auto count = size_t(state.range(0));
    engine.Update(0.25);
    for (auto _ : state) {
        Refill(engine, count);
        engine.Update(0.25);
        benchmark::DoNotOptimize(engine.Particles().data());
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * state.range(0));
}
BENCHMARK(BM_ParticleUpdate)->Arg(100)->Arg(1000);

void BM_FontBlockLayout(benchmark::State& state) {
    TVOFont font(nullptr);
    font.Advance.fill(9);
    int64_t glyphs = 0;
    font.OnGlyph = [&](uint8_t, int32_t, int32_t, int32_t, uint32_t) { ++glyphs; };
    const std::vector<std::string> lines = {"Do you really want to start a new game?",
                                            "The game in progress will be lost.",
                                            "Press Yes to start, No to go on playing."};
    for (auto _ : state) font.DrawTextBlock(lines, 530, 230, 70, 0xFF00FFFF);
    state.SetItemsProcessed(glyphs);
}
BENCHMARK(BM_FontBlockLayout);

void BM_ButtonsDrawAll(benchmark::State& state) {
    ResetShellState();
    Shell.Word = scrPlaying;
    TPatternImage picture;
    picture.PatternWidth = 143;
    picture.PatternHeight = 31;
    TButtons buttons(nullptr);
    for (int i = 0; i < 22; ++i)
        buttons.Add(73, 20 * i, &picture, i < 8 ? 0xFFFFFFFF : scrHelp, {});
    Pointer.X = 100, Pointer.Y = 395;
    for (auto _ : state) buttons.DrawAll();
    state.SetItemsProcessed(int64_t(state.iterations()) * 22);
}
BENCHMARK(BM_ButtonsDrawAll);

} // namespace
