// The render engine offscreen: one playing-screen frame (4 backdrop quarters, 81 cells, 81 balls,
// 40 glyphs) drawn and presented, and loading a 512 x 512 32-bit TGA into a pattern set.
#include "render/ImageReader.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"
#include "tests/support/SampleScene.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>

namespace {

std::string ScratchFolder() {
    const auto folder = std::filesystem::temp_directory_path() / "vo_bench_render";
    std::filesystem::create_directories(folder);
    return folder.string();
}

bool StartOffscreen(TRenderDevice& device) {
    device.SetOffscreen(true);
    device.SetWidth(800);
    device.SetHeight(600);
    return device.InitDevice() == 0;
}

// Argument 1: drawn only where the scene changed (its few animated parts); 0: every frame whole.
void BM_OffscreenFrame(benchmark::State& state) {
    TRenderDevice device;
    TSampleScene scene;
    if (!StartOffscreen(device) || !scene.Load(device, ScratchFolder())) {
        state.SkipWithError("offscreen device or pictures unavailable");
        return;
    }
    device.SetPartialFrames(state.range(0) != 0);
    int frame = 0;
    for (auto _ : state) {
        device.BeginFrame();
        scene.Draw(device, frame++);
        device.EndFrame();
        benchmark::DoNotOptimize(device.PresentFrame());
    }
    scene.Free();
    state.SetItemsProcessed(state.iterations() * (4 + 81 + 81 + 40));
}
BENCHMARK(BM_OffscreenFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LoadTga512(benchmark::State& state) {
    TRenderDevice device;
    if (!StartOffscreen(device)) {
        state.SkipWithError("offscreen device unavailable");
        return;
    }
    TBitmapEx picture;
    picture.SetSize(512, 512, 32);
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512 * 4; ++x) picture.ScanLine(y)[x] = uint8_t(x * 7 + y * 13);
    const std::string path = ScratchFolder() + "/load512.tga";
    if (!picture.SaveToFile(path)) {
        state.SkipWithError("cannot write the picture");
        return;
    }
    for (auto _ : state) {
        TPatternImage set;
        benchmark::DoNotOptimize(
            set.LoadFromFile(device.Device(), path, 0, 0, 512, 512, D3DFMT_A8R8G8B8));
        set.FreeTextures();
    }
    std::remove(path.c_str());
    state.SetBytesProcessed(state.iterations() * 512 * 512 * 4);
}
BENCHMARK(BM_LoadTga512)->Unit(benchmark::kMillisecond);

} // namespace
