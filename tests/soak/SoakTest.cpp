// Long play: the automatic player plays full games in every mode through the real frame timer
// and frame handler (offscreen, fake clock, recording audio), and the process's memory is
// watched from game to game. Under AddressSanitizer the leak check runs when the test ends.
#include "tests/support/AutoPlayer.h"
#include "tests/support/FormHarness.h"

#include <cstdio>
#include <fstream>
#include <malloc.h>
#include <unistd.h>

// AddressSanitizer keeps freed blocks in a quarantine of up to 256 MiB by default, which would
// show as growth for the first hundred games; a small one lets the memory settle. ASAN_OPTIONS
// still overrides it.
extern "C" const char* __asan_default_options() {
    return "quarantine_size_mb=16";
}

namespace {

// Bytes the allocator has handed out and not taken back (glibc's count; the sanitizer's
// allocator keeps its own books, so this is only read without it).
long HeapInUseKiB() {
#if defined(__GLIBC__)
    return static_cast<long>(mallinfo2().uordblks / 1024);
#else
    return 0;
#endif
}

// Resident memory of this process, in KiB (the second field of /proc/self/statm, in pages).
long ResidentKiB() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

constexpr int kGamesPerMode = 7;
// Warm-up games before the memory is taken as settled: the first games fill the caches (the
// rotation cache, the particle list's capacity, the allocator's pools).
constexpr int kWarmUpGames = 3;
// The particle list holds a few hundred particles at the busiest moments (a bomb, a long line);
// more than this means particles are no longer retired.
constexpr size_t kParticleBound = 2000;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

// Growth allowed after the warm-up; the sanitizer's allocator adds its quarantine and its own
// bookkeeping.
constexpr long kToleranceKiB = kAddressSanitizer ? 24 * 1024 : 4 * 1024;

class LongPlay : public FormHarness {};

TEST_F(LongPlay, TwentyOneGamesInEveryModeKeepMemoryFlat) {
    Start();
    TAutoPlayer player(*form, clock, 20240611);
    std::vector<long> resident, heap;
    std::vector<int> movesPerGame;
    int movesBefore = 0;
    int idleChecks = 0;
    for (int game = 0; game < 3 * kGamesPerMode; ++game) {
        const auto mode = static_cast<uint8_t>(game % 3);
        ASSERT_TRUE(player.PlayGame(mode, 60000))
            << "game " << game << " in mode " << int(mode) << " did not end; word " << Shell.Word;
        // The recording audio double and the harness keep every call and log line: dropped,
        // so that only the game's own memory is measured.
        audio.ClearRecords();
        logLines.clear();
        logLines.shrink_to_fit();
        // A screen change's cross-fade holds the frame before it (800 x 600 pixels) for its
        // 150 ms: measured once that has run out.
        for (int i = 0; i < 3; ++i) player.Frame(1.0);
        ASSERT_FALSE(form->CrossFading());
        resident.push_back(ResidentKiB());
        heap.push_back(HeapInUseKiB());
        movesPerGame.push_back(player.Stats.Moves - movesBefore);
        movesBefore = player.Stats.Moves;
        ASSERT_LT(player.Stats.MostParticles, kParticleBound) << "after game " << game;
        if (Shell.Word == scrHighScores) { // the field is empty: every effect must retire
            for (int i = 0; i < 40; ++i) player.Frame();
            EXPECT_TRUE(ParticleEngine->Particles().empty()) << "after game " << game;
            ++idleChecks;
        }
    }
    EXPECT_GT(idleChecks, 0);
    const TPlayStats& s = player.Stats;
    EXPECT_EQ(s.Games, 3 * kGamesPerMode);
    EXPECT_EQ(s.NamesEntered + s.LowScores, s.Games);
    EXPECT_GT(s.NamesEntered, 0);
    EXPECT_GT(s.LinesScored, s.Games); // the player makes lines, so scoring and particles ran
    for (int moves : movesPerGame) EXPECT_GT(moves, 5);
    // The statistics saw the same games: each played from its first move to a full field.
    for (const TModeStatistics& m : form->Statistics().Modes) {
        EXPECT_EQ(m.GamesPlayed, static_cast<uint32_t>(kGamesPerMode));
        EXPECT_EQ(m.GamesFinished, static_cast<uint32_t>(kGamesPerMode));
        EXPECT_GT(m.LinesCleared, 0u);
        EXPECT_GE(m.BestScore, m.AverageScore());
        EXPECT_GT(m.BestMove, 0);
    }

    const long settled = resident[kWarmUpGames - 1];
    long most = settled;
    for (size_t i = kWarmUpGames; i < resident.size(); ++i) most = std::max(most, resident[i]);
    EXPECT_LE(most - settled, kToleranceKiB)
        << "resident memory grew from " << settled << " KiB to " << most << " KiB";

    if (!kAddressSanitizer) {
        // Without the sanitizer the allocator's own count is exact: what a game leaves behind
        // shows here long before it shows in whole pages.
        const long heapSettled = heap[kWarmUpGames - 1];
        const long heapMost = *std::max_element(heap.begin() + kWarmUpGames, heap.end());
        EXPECT_LE(heapMost - heapSettled, 256)
            << "the heap grew from " << heapSettled << " KiB to " << heapMost << " KiB";
    }

    // The figures of the run, for the record (ctest -V shows them).
    std::printf("soak: %d games, %d moves, %d frames, %d lines, %lld points, %d names entered, "
                "%d low scores, most particles %zu\n",
                s.Games, s.Moves, s.Frames, s.LinesScored, static_cast<long long>(s.Points),
                s.NamesEntered, s.LowScores, s.MostParticles);
    std::printf("soak: resident KiB after each game:");
    for (long r : resident) std::printf(" %ld", r);
    std::printf("\n");
    if (!kAddressSanitizer) {
        std::printf("soak: heap in use KiB after each game:");
        for (long h : heap) std::printf(" %ld", h);
        std::printf("\n");
    }
    RecordProperty("games", s.Games);
    RecordProperty("moves", s.Moves);
    RecordProperty("first_game_kib", static_cast<int>(resident.front()));
    RecordProperty("last_game_kib", static_cast<int>(resident.back()));

    // The tables took the entered names; the game is left the normal way and the settings saved.
    ClickButton(7);
    ClickButton(btnYes);
    EXPECT_TRUE(form->Terminated());
    Stop();
    EXPECT_TRUE(std::filesystem::exists(ConfigFile()));
}

} // namespace
