// The whole game offscreen: a busy playing frame through the frame handler, the loading step, and
// the peak memory of a started game, each at density 1 (an 800 x 600 window) and 2 (a window of
// 1600 x 1200 and more); the field's detail at both densities and the frames of a reload; reading
// the 2x pictures from loose files and from a data pack.
#include "fx/ParticleEngine.h"
#include "game/GameField.h"
#include "game/HighScores.h"
#include "game/Random.h"
#include "layout/Layout.h"
#include "platform/DataPack.h"
#include "platform/Memory.h"
#include "platform/Paths.h"
#include "render/ImageReader.h"
#include "render/RenderDevice.h"
#include "shell/Form.h"
#include "shell/Language.h"
#include "shell/Log.h"
#include "state/GameState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "tests/support/FakeClock.h"
#include "tests/support/FrameDetail.h"
#include "tests/support/RecordingAudio.h"
#include "tools/pack/PackWriter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sys/resource.h>
#include <unistd.h>

namespace {

struct TGame {
    TFakeClock clock;
    TRecordingAudio audio;
    std::unique_ptr<TForm1> form;
    std::string dir;

    explicit TGame(int density = 1) {
        KeepBigBlocksApart(); // as the program does first thing
        dir = (std::filesystem::temp_directory_path() / "vo-bench-shell").string();
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        setenv("XDG_CONFIG_HOME", (dir + "/config").c_str(), 1);
        paths::SetDataDir(VO_GAME_DATA_DIR);
        ResetShellState();
        TFormOptions o;
        o.Offscreen = true;
        o.Clock = &clock;
        o.Audio = &audio;
        o.LogFile = dir + "/Log.txt";
        o.ConfigFile = dir + "/Config.bin";
        o.Density = density;
        form = std::make_unique<TForm1>(o);
        form->FormCreate();
    }
    void RunLogo() {
        while (Shell.Word == scrLogo) form->FrameTimer1RealTime(1.0);
    }
    ~TGame() {
        form.reset();
        std::filesystem::remove_all(dir);
    }
};

// A full field but for a few holes, a selected ball, the pointer on a reachable hole (so the
// hover search runs every frame), floating texts in flight.
// Argument 1: frames drawn where they changed, as the game draws them; 0: every frame whole.
// Argument 2: the density.
void BM_BusyPlayingFrame(benchmark::State& state) {
    TGame g(static_cast<int>(state.range(1)));
    g.RunLogo();
    g.form->FrameTimer1RealTime(1.0); // the loading step
    g.form->Device().SetPartialFrames(state.range(0) != 0);
    for (int i = 0; i < 60; ++i) g.form->FrameTimer1RealTime(0.5);
    TGameField& f = *GameField;
    RandSeed(7);
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y)
            f.Cell(x, y) = BallKinds[static_cast<size_t>(8 + (x * 3 + y) % 15)];
    for (int i = 0; i < 9; ++i) f.Cell(i, 4).Kind = 0; // a corridor
    f.Selected = true;
    f.SelX = 0;
    f.SelY = 3;
    f.SelPicture = static_cast<uint8_t>(f.Cell(0, 3).Picture);
    f.TurnTimer = kTurnIdle;
    Pointer.X = kFieldLeft + 52 * 8 + 20;
    Pointer.Y = kFieldTop + 52 * 4 + 20;
    int frame = 0;
    for (auto _ : state) {
        if (frame++ % 40 == 0)
            for (int k = 0; k < 10; ++k)
                ParticleEngine->AddText("+50 Chain Bonus", 300.0f + 20 * k, 200.0f);
        g.form->FrameTimer1RealTime(0.25);
    }
    state.counters["particles"] = static_cast<double>(ParticleEngine->Particles().size());
}
BENCHMARK(BM_BusyPlayingFrame)
    ->Args({0, 1})
    ->Args({1, 1})
    ->Args({0, 2})
    ->Args({1, 2})
    ->Unit(benchmark::kMillisecond);

void BM_LoadingStep(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto g = std::make_unique<TGame>(static_cast<int>(state.range(0)));
        g->RunLogo();
        state.ResumeTiming();
        g->form->FrameTimer1RealTime(1.0); // loads the 117 in-game pictures, sounds, font, texts
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadingStep)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(3);

// Resident memory now, in MB (0 where /proc is missing).
double ResidentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return double(resident) * double(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

// The highest resident memory of the run, and what a started game holds on the playing screen.
void BM_StartedGamePeakMemory(benchmark::State& state) {
    for (auto _ : state) {
        TGame g(static_cast<int>(state.range(0)));
        g.RunLogo();
        g.form->FrameTimer1RealTime(1.0);
        for (int i = 0; i < 100; ++i) g.form->FrameTimer1RealTime(0.5);
        state.counters["playing_rss_MB"] = ResidentMb();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_StartedGamePeakMemory)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(1);

// The playing screen after the same start at density 1 and 2: the field's fine detail at density
// 2 against the density-1 frame enlarged twice (what a 1600 x 1200 window showed before), and how
// far the density-2 frame brought down to 800 x 600 is from the density-1 one.
void BM_FieldDetail(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<uint32_t> frames[3];
        for (int d : {1, 2}) {
            TGame g(d);
            g.RunLogo();
            g.form->FrameTimer1RealTime(1.0);
            for (int i = 0; i < 60; ++i) g.form->FrameTimer1RealTime(0.5);
            frames[d] = g.form->Device().ReadFrame();
        }
        state.counters["detail_ratio"] =
            framedetail::DetailRatio(frames[1], frames[2], 800, 600, kFieldLeft, kFieldTop,
                                     kFieldLeft + 9 * kCellPitch, kFieldTop + 9 * kCellPitch);
        state.counters["difference_down"] =
            framedetail::MeanDifference(frames[1], framedetail::HalfSize(frames[2], 800, 600));
    }
}
BENCHMARK(BM_FieldDetail)->Unit(benchmark::kMillisecond)->Iterations(1);

// A reload on the playing screen, as when the window crosses the density threshold (argument:
// the density it goes to) or the player picks another language (argument 0, at density 1): the
// longest frame while it runs, which is what the player sees stand still, its frames and its
// whole time. The benchmark's own time is the whole reload.
void BM_Reload(benchmark::State& state) {
    const int to = static_cast<int>(state.range(0));
    double longest = 0, frames = 0, longestAt = 0; // frame 0: starting the reload
    for (auto _ : state) {
        state.PauseTiming();
        TGame g(to == 1 ? 2 : 1);
        g.RunLogo();
        g.form->FrameTimer1RealTime(1.0);
        for (int i = 0; i < 20; ++i) g.form->FrameTimer1RealTime(0.5);
        state.ResumeTiming();
        if (to == 0) language::SetCurrent("de");
        const auto start = std::chrono::steady_clock::now();
        g.form->StartReload(to == 0 ? 1 : to, to == 0);
        auto last = std::chrono::steady_clock::now();
        longest = std::chrono::duration<double, std::milli>(last - start).count();
        longestAt = 0;
        frames = 0;
        while (g.form->Reloading()) {
            g.form->FrameTimer1RealTime(0.25);
            const auto now = std::chrono::steady_clock::now();
            ++frames;
            const double ms = std::chrono::duration<double, std::milli>(now - last).count();
            if (ms > longest) longest = ms, longestAt = frames;
            last = now;
        }
        state.PauseTiming();
        g.form.reset();
        language::SetCurrent("en");
        state.ResumeTiming();
    }
    state.counters["longest_frame_ms"] = longest;
    state.counters["frames"] = frames;
    state.counters["longest_at"] = longestAt;
}
BENCHMARK(BM_Reload)->Arg(2)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->Iterations(3);

// Reading and decoding every 2x picture (what the reader thread does in a reload to full screen):
// from the data folder's loose files (argument 0) or from a data pack of the same files (1), the
// files in the page cache either way. Bytes processed: the pictures' 32-bit pixels.
void BM_ReadDensePictures(benchmark::State& state) {
    const std::string data = VO_GAME_DATA_DIR;
    std::vector<std::string> names;
    for (const std::string& name : PictureFiles(data))
        if (name.rfind("@2x/graphics/", 0) == 0) names.push_back(name);
    const std::string scratch = (std::filesystem::temp_directory_path() / "vo-bench-pack").string();
    std::string dir = data;
    if (state.range(0) == 1) {
        std::filesystem::create_directories(scratch);
        std::vector<TPackInput> inputs;
        for (const std::string& name : names) {
            std::ifstream in(data + "/" + name, std::ios::binary);
            inputs.push_back({name, {std::istreambuf_iterator<char>(in), {}}});
        }
        std::string error;
        if (!WriteDataPack(scratch + "/" + kDataPackName, std::move(inputs), 9, 2, &error) ||
            OpenDataPack(scratch, &error) != names.size()) {
            state.SkipWithError(error.c_str());
            return;
        }
        dir = scratch;
    }
    int64_t pixels = 0;
    for (auto _ : state) {
        for (const std::string& name : names) {
            TBitmapEx picture;
            if (!picture.LoadFromFile(dir + "/" + name) || !picture.SetBitsPerPixel(32)) {
                state.SkipWithError(("cannot read " + name).c_str());
                break;
            }
            pixels += int64_t{picture.Width()} * picture.Height();
        }
    }
    CloseDataPack();
    std::filesystem::remove_all(scratch);
    state.SetBytesProcessed(pixels * 4);
    state.counters["pictures"] = double(names.size());
}
BENCHMARK(BM_ReadDensePictures)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
