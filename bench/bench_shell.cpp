// The whole game offscreen: a busy playing frame through the frame handler, the loading step, and
// the peak memory of a started game.
#include "fx/ParticleEngine.h"
#include "game/GameField.h"
#include "game/HighScores.h"
#include "game/Random.h"
#include "tests/support/FakeClock.h"
#include "platform/Memory.h"
#include "platform/Paths.h"
#include "tests/support/RecordingAudio.h"
#include "render/RenderDevice.h"
#include "shell/Form.h"
#include "shell/Log.h"
#include "state/PointerState.h"
#include "state/ShellState.h"

#include <benchmark/benchmark.h>

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

    TGame() {
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
void BM_BusyPlayingFrame(benchmark::State& state) {
    TGame g;
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
BENCHMARK(BM_BusyPlayingFrame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_LoadingStep(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        auto g = std::make_unique<TGame>();
        g->RunLogo();
        state.ResumeTiming();
        g->form->FrameTimer1RealTime(1.0); // loads the 117 in-game pictures, sounds, font, texts
        state.PauseTiming();
        g.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadingStep)->Unit(benchmark::kMillisecond)->Iterations(3);

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
        TGame g;
        g.RunLogo();
        g.form->FrameTimer1RealTime(1.0);
        for (int i = 0; i < 100; ++i) g.form->FrameTimer1RealTime(0.5);
        state.counters["playing_rss_MB"] = ResidentMb();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    state.counters["peak_rss_MB"] = static_cast<double>(usage.ru_maxrss) / 1024.0;
}
BENCHMARK(BM_StartedGamePeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
