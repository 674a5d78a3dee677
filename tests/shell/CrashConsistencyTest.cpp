// Crash consistency of the player's files: a save is stopped after each of its steps in turn
// (every create, write, flush, rename and folder flush, recorded through the write-fault layer),
// as a kill would stop it — in a forked child that ends on the spot, leaving half-made files as
// they are. After each stop a new start reads the folder, which must hold the state of the save
// before or of the save stopped, whole: every table score (above 65535 too), the volumes, the
// saved game with its generator states, and statistics never ahead of the tables. The start's
// next save must keep it so.
#include "game/BallKinds.h"
#include "game/HighScores.h"
#include "platform/Files.h"
#include "shell/KeptFiles.h"
#include "shell/Log.h"
#include "tests/support/WriteFaults.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

// What the game holds when it saves.
struct TState {
    THighScoreTable Table = FreshHighScoreTable();
    int32_t Music = 50, Sound = 75;
    bool HasGame = false;
    TSavedGame Game;
    uint64_t Random = 0;
    std::vector<uint64_t> Replay;
    TStatistics Stats;
    bool WithStats = false; // the save writes the statistics too

    std::vector<uint8_t> Config() const { return EncodeConfig(Table, Music, Sound, HasGame, Game); }
    TConfigExtra Extra() const {
        TConfigExtra e;
        e.HasRandom = HasGame;
        if (HasGame) {
            e.Random = Random;
            e.Replay = Replay;
        }
        for (size_t m = 0; m < Table.Blocks.size(); ++m)
            for (size_t r = 0; r < Table.Blocks[m].size(); ++r)
                e.Scores[m][r] = Table.Blocks[m][r].Points();
        return e;
    }
};

// A game after `turn` turns: some balls, a score, its generator states.
TState GameAtTurn(int turn) {
    TState s;
    s.HasGame = true;
    s.Game.Mode = 1;
    s.Game.Score = 66000 + 15 * turn;
    s.Game.BallsPerTurn = 3;
    s.Game.Preview = {BallKinds[1], BallKinds[2], BallKinds[3], BallKinds[4]};
    for (int i = 0; i <= turn; ++i)
        s.Game.Cells[static_cast<size_t>(i % 9)][static_cast<size_t>(i / 9)] =
            BallKinds[static_cast<size_t>(1 + i % 6)];
    s.Random = 0x9E3779B97F4A7C15ULL * static_cast<uint64_t>(turn + 1);
    s.Replay = {0x1234ULL + static_cast<uint64_t>(turn)};
    s.Table.Blocks[1][0].SetName("Whole");
    s.Table.Blocks[1][0].SetPoints(70000);
    s.Table.Blocks[1][1].SetPoints(66000);
    s.Stats.Modes[1].GamesPlayed = 4;
    s.Stats.Modes[1].GamesFinished = 2;
    s.Stats.Modes[1].BestScore = 70000;
    s.Stats.Modes[1].TotalScore = 136000;
    return s;
}

// What a start reads, in words: equal texts are equal states.
std::string Describe(const TKeptConfig& k) {
    std::ostringstream out;
    out << "volumes " << k.Contents.MusicVolume << " " << k.Contents.SoundVolume << "\n";
    for (const THighScoreBlock& block : k.Contents.Table.Blocks) {
        for (const THighScoreEntry& e : block) out << e.NameText() << ":" << e.Points() << " ";
        out << "\n";
    }
    if (k.Contents.HasGame) {
        const TSavedGame& g = k.Contents.Game;
        out << "game mode " << int(g.Mode) << " score " << g.Score << " balls per turn "
            << g.BallsPerTurn << " preview";
        for (const TCell& c : g.Preview) out << " " << c.Kind << "/" << c.Picture;
        out << " cells";
        for (const auto& column : g.Cells)
            for (const TCell& c : column) out << " " << c.Kind;
        out << "\nrandom " << k.Extra.HasRandom << " " << k.Extra.Random << " replay";
        for (const uint64_t r : k.Extra.Replay) out << " " << r;
        out << "\n";
    } else {
        out << "no game\n";
    }
    return out.str();
}

using TImage = std::map<std::string, std::vector<uint8_t>>;

TImage TakeImage(const fs::path& dir) {
    TImage image;
    for (const auto& entry : fs::directory_iterator(dir)) {
        std::vector<uint8_t> bytes;
        EXPECT_TRUE(ReadFileBytes(entry.path().string(), bytes, nullptr, size_t{64} << 20));
        image[entry.path().filename().string()] = bytes;
    }
    return image;
}

void PutImage(const fs::path& dir, const TImage& image) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (const auto& [name, bytes] : image)
        std::ofstream(dir / name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
}

TKeptFiles FilesIn(const fs::path& dir) {
    return TKeptFiles((dir / "Config.bin").string(), (dir / "Config.extra").string(),
                      (dir / "Stats.txt").string());
}

struct TStart {
    std::string Config;
    std::string Stats;
    std::vector<std::string> Log; // what the start logged
};

// A new start on the folder, as the program makes it: stale temporary files removed, the
// statistics and the settings read.
TStart NewStart(const fs::path& dir) {
    for (const char* name : {"Config.bin", "Config.extra", "Stats.txt"}) {
        RemoveStaleTemporary((dir / name).string());
        RemoveStaleTemporary((dir / name).string() + ".damaged");
    }
    TStart start;
    Log.Observer = [&](const std::string& line) { start.Log.push_back(line); };
    TKeptFiles files = FilesIn(dir);
    start.Stats = files.ReadStatistics().ToText();
    start.Config = Describe(files.ReadConfig());
    Log.Observer = nullptr;
    return start;
}

// The save of a kind: made by a program that read `dir` when it started (reading recorded too
// when `readsRecorded`). Run in a forked child that records its write steps and ends after
// `stopAfter` of them (-1: never); the steps come back through a pipe.
std::vector<std::string> SaveInChild(const fs::path& dir, const TState& to, bool readsRecorded,
                                     int stopAfter, bool& exitedCleanly) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::vector<std::string> steps;
        if (readsRecorded) RecordWriteSteps(&steps, stopAfter);
        TKeptFiles files = FilesIn(dir);
        files.ReadStatistics();
        files.ReadConfig();
        if (!readsRecorded) RecordWriteSteps(&steps, stopAfter);
        const std::string stats = to.Stats.ToText();
        files.Save(to.Config(), to.Extra(), to.WithStats ? &stats : nullptr);
        std::string text;
        for (const std::string& s : steps) text += s + "\n";
        ssize_t ignored = ::write(fds[1], text.data(), text.size());
        (void)ignored;
        _exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char buffer[4096];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    exitedCleanly = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    std::vector<std::string> steps;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) steps.push_back(line);
    return steps;
}

struct TKind {
    const char* Name;
    std::function<void(const fs::path&)> Before; // makes the folder as the save finds it
    TState After;
    bool ReadsRecorded = false; // the start's own writes (keeping damage aside) are stopped too
    bool DamageKept = false;    // the start finds damage, which must be kept aside whatever stops
};

// Saves `states` in turn, as one run of the program would, into `dir`.
void SaveAll(const fs::path& dir, const std::vector<TState>& states) {
    TKeptFiles files = FilesIn(dir);
    files.ReadStatistics();
    files.ReadConfig();
    for (const TState& s : states) {
        const std::string stats = s.Stats.ToText();
        ASSERT_TRUE(files.Save(s.Config(), s.Extra(), s.WithStats ? &stats : nullptr));
    }
}

class CrashConsistency : public ::testing::Test {
protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() / ("vo-crash-" + std::to_string(::getpid()));
        fs::remove_all(root_);
        fs::create_directories(root_);
        Log.Start(""); // nothing is written; the observer sees the lines
    }
    void TearDown() override { fs::remove_all(root_); }

    // Stops the kind's save after each of its steps; returns the number of stops tried.
    int TryEveryStop(const TKind& kind) {
        SCOPED_TRACE(kind.Name);
        const fs::path dir = root_ / "data";
        fs::remove_all(dir);
        fs::create_directories(dir);
        kind.Before(dir);
        const TImage before = TakeImage(dir);
        const TStart old = NewStart(dir);

        bool clean = false;
        PutImage(dir, before);
        const std::vector<std::string> steps =
            SaveInChild(dir, kind.After, kind.ReadsRecorded, -1, clean);
        EXPECT_TRUE(clean);
        const TStart fresh = NewStart(dir);
        EXPECT_NE(fresh.Config + fresh.Stats, old.Config + old.Stats) << "the save changes nothing";
        EXPECT_GE(steps.size(), 10u);

        for (int k = 0; k <= static_cast<int>(steps.size()); ++k) {
            std::string done;
            for (int i = 0; i < k; ++i) done += "  " + steps[static_cast<size_t>(i)] + "\n";
            SCOPED_TRACE("stopped after " + std::to_string(k) + " steps:\n" + done);
            PutImage(dir, before);
            SaveInChild(dir, kind.After, kind.ReadsRecorded, k, clean);
            EXPECT_TRUE(clean) << "the child did not end as stopped";
            const TStart seen = NewStart(dir);
            ExpectOldOrNew(seen, old, fresh);
            // A stop is no damage: nothing is refused or kept aside but what was damaged.
            for (const std::string& line : seen.Log)
                if (!kind.DamageKept) {
                    EXPECT_EQ(line.find("damaged"), std::string::npos) << line;
                    EXPECT_EQ(line.find("not used"), std::string::npos) << line;
                }
            const TImage after = TakeImage(dir);
            if (kind.DamageKept) {
                const auto kept = after.find("Config.extra.damaged");
                EXPECT_TRUE(kept != after.end() && kept->second == before.at("Config.extra"))
                    << "the damaged extra file is not kept aside as it was";
            }
            for (const auto& [name, bytes] : after)
                EXPECT_NE(name.substr(name.size() - 4), ".tmp") << "left after a start: " << name;
            ExpectTheNextSaveKeepsIt(dir, seen);
        }
        return static_cast<int>(steps.size()) + 1;
    }

    // The next run reads the folder and saves what it read, as the game does at its first
    // change: a start after that reads the same.
    static void ExpectTheNextSaveKeepsIt(const fs::path& dir, const TStart& seen) {
        TKeptFiles files = FilesIn(dir);
        const std::string stats = files.ReadStatistics().ToText();
        const TKeptConfig k = files.ReadConfig();
        TConfigExtra extra = k.Extra;
        for (size_t m = 0; m < extra.Scores.size(); ++m)
            for (size_t r = 0; r < extra.Scores[m].size(); ++r)
                extra.Scores[m][r] = k.Contents.Table.Blocks[m][r].Points();
        EXPECT_TRUE(
            files.Save(EncodeConfig(k.Contents.Table, k.Contents.MusicVolume,
                                    k.Contents.SoundVolume, k.Contents.HasGame, k.Contents.Game),
                       extra, &stats));
        const TStart again = NewStart(dir);
        EXPECT_EQ(again.Config, seen.Config);
        EXPECT_EQ(again.Stats, seen.Stats);
    }

    static void ExpectOldOrNew(const TStart& seen, const TStart& old, const TStart& fresh) {
        const bool configOld = seen.Config == old.Config, configNew = seen.Config == fresh.Config;
        EXPECT_TRUE(configOld || configNew) << "read:\n"
                                            << seen.Config << "before:\n"
                                            << old.Config << "after:\n"
                                            << fresh.Config;
        const bool statsOld = seen.Stats == old.Stats, statsNew = seen.Stats == fresh.Stats;
        EXPECT_TRUE(statsOld || statsNew) << "statistics read:\n" << seen.Stats;
        // The statistics of the save never stand beside the tables of the save before.
        EXPECT_TRUE(statsOld || configNew) << "statistics ahead of the tables";
    }

    fs::path root_;
};

TEST_F(CrashConsistency, EveryStopOfEverySaveLeavesAStateThatReadsWhole) {
    // A save during play: after a turn, a table score above 65535 beside it.
    TKind turn{"a completed turn",
               [](const fs::path& d) {
                   SaveAll(d, {GameAtTurn(3), GameAtTurn(4)});
               },
               GameAtTurn(5)};

    // The game ends with 80000 points, its name is stored, the statistics count it.
    TState ended = GameAtTurn(6);
    ended.HasGame = false;
    InsertHighScore(ended.Table.Blocks[1], 80000);
    ended.Table.Blocks[1][0].SetName("Keeper");
    ended.Stats.GameFinished(1, 80000);
    ended.WithStats = true;
    TKind end{"a game ended and its name stored",
              [](const fs::path& d) {
                  SaveAll(d, {GameAtTurn(5), GameAtTurn(6)});
              },
              ended};

    // The Normal table, which holds 70000, cleared.
    TState cleared = GameAtTurn(2);
    cleared.HasGame = false;
    cleared.Table.Blocks[1] = FreshHighScoreBlock();
    TKind clear{"a table cleared",
                [](const fs::path& d) {
                    TState s = GameAtTurn(2);
                    s.HasGame = false;
                    SaveAll(d, {s});
                },
                cleared};

    // The Normal statistics reset and the volumes changed on the Options screen.
    TState reset = GameAtTurn(7);
    reset.Stats.Reset(1);
    reset.Music = 20;
    reset.Sound = 90;
    reset.WithStats = true;
    TKind stats{"statistics reset, volumes changed",
                [](const fs::path& d) {
                    TState s = GameAtTurn(7);
                    s.WithStats = true;
                    SaveAll(d, {GameAtTurn(6), s});
                },
                reset};

    // The first save of a first start: nothing on disk yet.
    TState first;
    first.HasGame = true;
    first.Game = GameAtTurn(0).Game;
    first.Game.Score = 0;
    first.Random = 77;
    TKind firstStart{"the first save of a first start", [](const fs::path&) {}, first};

    // A start finds an extra file it cannot use (junk): it is kept aside before the save
    // replaces it, and that copy is stopped too.
    TKind damaged{"a damaged extra file kept aside, then a turn",
                  [](const fs::path& d) {
                      SaveAll(d, {GameAtTurn(3)});
                      std::ofstream(d / "Config.extra") << "velm-orra config extra 2\njunk\n";
                  },
                  GameAtTurn(4), true, true};

    int stops = 0;
    for (const TKind* kind : {&turn, &end, &clear, &stats, &firstStart, &damaged})
        stops += TryEveryStop(*kind);
    std::cout << "crash points tried: " << stops << "\n";
    RecordProperty("CrashPoints", stops);
    EXPECT_GE(stops, 80);
}

} // namespace
