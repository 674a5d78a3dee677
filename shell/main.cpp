// Program entry: the command line, the user's folders and the one-copy lock, the full-screen
// setting, the main form and the message loop.
#include "game/AutoPlay.h"
#include "game/DailySeed.h"
#include "game/ReplayPlayer.h"
#include "platform/App.h"
#include "platform/Files.h"
#include "platform/HostScreen.h"
#include "platform/InstanceLock.h"
#include "platform/Memory.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "shell/Form.h"
#include "shell/Language.h"
#include "state/OptionsState.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <new>
#include <optional>
#include <string>
#include <vector>

#ifndef VO_VERSION
#define VO_VERSION "1.1"
#endif

namespace {

constexpr const char* kUsage =
    "Usage: velm-orra [--help | --version | --seed N | --daily [YYYY-MM-DD]]\n"
    "       velm-orra --autoplay [--mode kids|normal|professional] [--games N] [--seed S]\n"
    "                 [--max-moves M] [--player best|greedy] [--daily YYYY-MM-DD]\n"
    "                 [--record FILE]\n"
    "       velm-orra --verify FILE\n"
    "Velm Orra, a ball puzzle game. Move balls on a 9 x 9 field to make lines of five.\n"
    "--seed N deals the first new game from N; --daily deals the day's game (UTC date, today by\n"
    "default), one deal a day the same for everyone, played by the Normal rules.\n"
    "--autoplay lets the game's own player play N games (seeds S, S + 1, ...) without a window\n"
    "or sound, each to its end or M moves, and prints a line per game and a summary; --record\n"
    "keeps each game as a replay (FILE, or FILE numbered when there are several).\n"
    "--verify replays a kept game through the rules and prints its score, or why it fails.\n"
    "Scores, settings and an unfinished game are kept in $XDG_DATA_HOME/velm-orra\n"
    "(default ~/.local/share/velm-orra), the full-screen choice in $XDG_CONFIG_HOME/velm-orra.\n";

constexpr const char* kModeNames[3] = {"kids", "normal", "professional"};

int Usage(const std::string& error) {
    std::fprintf(stderr, "velm-orra: %s\n%s", error.c_str(), kUsage);
    return 2;
}

// --verify FILE: 0 when the replay's moves, played by the rules, make its score.
int Verify(const std::string& file) {
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(file, bytes, &error, kMaxReplayBytes)) {
        std::fprintf(stderr, "not verified: cannot read %s: %s\n", file.c_str(), error.c_str());
        return 1;
    }
    const TReplayCheck check = VerifyReplayBytes(bytes.data(), bytes.size());
    if (!check.Verified) {
        std::fprintf(stderr, "not verified: %s: %s\n", file.c_str(), check.Why.c_str());
        return 1;
    }
    TReplay replay;
    DecodeReplay(bytes.data(), bytes.size(), replay, nullptr);
    std::printf("verified: score=%d moves=%d undos=%d mode=%s seed=%llu end=%s\n", check.Score,
                check.Moves, check.Undos, kModeNames[replay.Mode % 3],
                static_cast<unsigned long long>(replay.Seed), check.Ended ? "full" : "open");
    return 0;
}

// The windowed game's options: --seed N or --daily [YYYY-MM-DD]; false, with the reason, on
// anything else.
bool ParseDeal(const std::vector<std::string>& args, TFormOptions& options, std::string& error) {
    if (args.empty()) return true;
    const std::string& key = args[0];
    if (key == "--seed") {
        uint64_t seed = 0;
        const std::string value = args.size() > 1 ? args[1] : "";
        const char* end = value.data() + value.size();
        const auto [rest, ec] = std::from_chars(value.data(), end, seed);
        if (value.empty() || ec != std::errc() || rest != end) {
            error = "--seed takes 0 to 18446744073709551615, not \"" + value + "\"";
            return false;
        }
        if (args.size() > 2) {
            error = "unknown argument \"" + args[2] + "\"";
            return false;
        }
        options.FirstSeed = seed;
        return true;
    }
    if (key == "--daily") {
        TDate date = UtcToday();
        if (args.size() > 1) {
            const std::optional<TDate> given = ParseDate(args[1], &error);
            if (!given) {
                error = "--daily takes a date: " + error;
                return false;
            }
            date = *given;
        }
        if (args.size() > 2) {
            error = "unknown argument \"" + args[2] + "\"";
            return false;
        }
        options.FirstSeed = DailySeed(date);
        options.FirstDaily = date;
        options.FirstMode = modeNormal;
        // The deal for comparing builds by (the browser's page shows it on its console).
        std::printf("%s\n", DailyDealLine(date).c_str());
        std::fflush(stdout);
        return true;
    }
    error = "unknown argument \"" + key + "\"";
    return false;
}

bool KeepReplay(const std::string& file, const std::vector<uint8_t>& bytes, std::string* why) {
    return WriteFileAtomically(file, bytes, why);
}

// Answers --help, --version, --verify and --autoplay; -1 when the program is to start (with the
// deal the arguments chose in `options`), else the exit code.
int CommandLine(int argc, char** argv, TFormOptions& options) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty()) return -1;
    const std::string& arg = args[0];
    if (arg == "--help" || arg == "-h") {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (arg == "--version") {
        std::printf("Velm Orra %s\n", VO_VERSION);
        return 0;
    }
    if (arg == "--verify") {
        if (args.size() != 2 || args[1].empty())
            return Usage(args.size() < 2 ? "--verify needs a file" : "--verify takes one file");
        return Verify(args[1]);
    }
    if (const auto at = std::find(args.begin(), args.end(), "--autoplay"); at != args.end()) {
        args.erase(at);
        TAutoplayOptions autoplay;
        std::string error;
        if (!ParseAutoplay(args, autoplay, &error)) return Usage(error);
        return RunAutoplay(autoplay, stdout, stderr, KeepReplay);
    }
    std::string error;
    if (!ParseDeal(args, options, error)) return Usage(error);
    return -1;
}

// The user's folder: locked against a second copy, with the log and the kept files in it; where
// it cannot be kept or locked, nothing is written this time and the player is told. -1 to go
// on, else the exit code. `locked` says what the lock came to.
int SettleUserFiles(const std::string& dataDir, TInstanceLock& lock, TFormOptions& options,
                    TInstanceLock::TResult& locked) {
    std::string cannotKeep, error;
    bool canKeep = paths::CanKeepUserFiles(dataDir, &cannotKeep);
    locked = lock.Acquire(dataDir);
    if (locked == TInstanceLock::TResult::AlreadyRunning) {
        // The running copy owns the files: this one ends without touching any of them.
        std::fprintf(stderr, "Velm Orra is already running.\n");
        ShowNativeError("Velm Orra", "Velm Orra is already running.", nullptr);
        return 1;
    }
    if (locked == TInstanceLock::TResult::Unavailable && canKeep) {
        // Without the lock another copy could write the same files at the same time: this one
        // writes none, the registry's values included.
        canKeep = false;
        cannotKeep = lock.Reason() + ", so another copy could write the same files";
        TRegistry::SetReadOnly(true);
    }
    if (canKeep && paths::EnterUserDataDir(&error)) {
        options.LogFile = dataDir + "/Log.txt";
        options.ConfigFile = dataDir + "/Config.bin";
        for (const char* name : {"Config.bin", "Config.extra", "Stats.txt", "Replays.bin"}) {
            RemoveStaleTemporary(dataDir + "/" + name);
            RemoveStaleTemporary(dataDir + "/" + name + ".damaged");
        }
        return -1;
    }
    if (canKeep) cannotKeep = error;
    // Nothing is written anywhere else, the working folder least of all.
    options.LogFile.clear();
    options.ConfigFile.clear();
    const std::string text = "Scores and settings will not be kept this time: " + cannotKeep + ".";
    std::fprintf(stderr, "Velm Orra: %s\n", text.c_str());
    ShowNativeWarning("Velm Orra", text, nullptr);
    return -1;
}

// The registry's part of the start: the full-screen flag (read as "fullscreen", created as
// "Fullscreen" = 0 when missing; a page's full screen is the page's, and never kept) and the
// language (the player's choice, else the environment's).
void ReadStartSettings(TFormOptions& options, bool ownsFiles) {
    TRegistry registry;
    if (!registry.File().empty() && ownsFiles) RemoveStaleTemporary(registry.File());
    if (const auto note = registry.KeepDamagedAside()) options.StartNotes.push_back(*note);
    if (HostOwnsFullScreen())
        Options.FullScreen = false;
    else if (const auto value = registry.ReadInteger("fullscreen"))
        Options.FullScreen = *value != 0;
    else
        registry.WriteInteger("Fullscreen", 0);
    language::SetCurrent(language::Resolve(language::ChoiceFromRegistry(), std::getenv));
}

// The form from its creation to the loop's end; the exit code.
int RunForm(const TFormOptions& options) {
    int status = 0;
    try {
        std::optional<TForm1> form(std::in_place, options);
        if (!form->FormCreate()) {
            // Nothing was written; the log says why, and so does this.
            if (form->LoadingFailed()) {
                std::fprintf(stderr, "Velm Orra: %s\n", form->FailureReason().c_str());
                return 1;
            }
            std::fprintf(stderr, "Velm Orra could not open its window; see %s.\n",
                         options.LogFile.empty() ? "the message above" : options.LogFile.c_str());
            return 1;
        }
        // The form goes when the loop ends: FormDestroy saves, then the components go. A failed
        // loading step was said in the log and a message box.
        std::string failure;
        Application.Run([&form, &status, &failure] {
            if (form->LoadingFailed()) {
                status = 1;
                failure = form->FailureReason();
            }
            form.reset();
        });
        if (status != 0) std::fprintf(stderr, "Velm Orra: %s\n", failure.c_str());
    } catch (const std::bad_alloc&) {
        // Out of memory outside the start and the loading (which end the program themselves):
        // the form has already saved what it holds on its way out.
        NoteMemoryShort();
        std::fputs("Velm Orra ran out of memory and had to end.\n", stderr);
        ShowNativeError("Velm Orra", "Velm Orra ran out of memory and had to end.", nullptr);
        return 1;
    }
    return status;
}

} // namespace

int main(int argc, char** argv) {
    TFormOptions options;
    if (const int code = CommandLine(argc, argv, options); code >= 0) return code;
    KeepBigBlocksApart();
    HoldMemoryReserve();
    // Every path is fixed here, before the working folder changes.
    paths::SettleUserDirs();
    const std::string dataDir = paths::UserDataDir();

    std::string error;
    if (!Application.Initialize(&error)) {
        std::fprintf(stderr, "Velm Orra needs a display to run (%s).\n", error.c_str());
        return 1;
    }
    TInstanceLock lock; // held until the program ends
    TInstanceLock::TResult locked{};
    if (const int code = SettleUserFiles(dataDir, lock, options, locked); code >= 0) return code;

    // Scripts that drive the game by input keep the demo from starting between their steps. A
    // chosen deal waits on its board for the player: the demo would deal that board afresh.
    if (const char* demo = std::getenv("VELM_ORRA_DEMO"); demo && std::string(demo) == "0")
        options.Demo = false;
    if (options.FirstSeed) options.Demo = false;
    ReadStartSettings(options, locked == TInstanceLock::TResult::Acquired);
    return RunForm(options);
}
