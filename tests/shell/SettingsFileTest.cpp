#include "game/GameModes.h"
#include "platform/Files.h"
#include "shell/KeptFiles.h"
#include "shell/Log.h"
#include "shell/Settings.h"
#include "shell/TableReplays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sys/stat.h>

namespace {

TSavedGame SampleGame() {
    TSavedGame g;
    g.Mode = 2;
    g.Score = 4321;
    g.BallsPerTurn = 3;
    g.Preview = {BallKinds[22], BallKinds[8], BallKinds[19], BallKinds[17]};
    g.Cells[0][0] = BallKinds[1];
    g.Cells[8][8] = BallKinds[21];
    g.Cells[3][7] = BallKinds[12];
    return g;
}

int32_t Int32At(const std::vector<uint8_t>& b, size_t at) {
    int32_t v;
    std::memcpy(&v, &b[at], 4);
    return v;
}

std::string TempDir() {
    const auto dir =
        std::filesystem::temp_directory_path() /
        ("vo-settings-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir.string();
}

} // namespace

TEST(ConfigFile, LayoutIs1450BytesWithFieldsAtTheirOffsets) {
    THighScoreTable table = FreshHighScoreTable();
    const auto bytes = EncodeConfig(table, 40, 90, true, SampleGame());
    ASSERT_EQ(bytes.size(), 1450u);
    EXPECT_EQ(bytes[0], 7); // first name length of Kids entry 0
    EXPECT_EQ(Int32At(bytes, 600), 40);
    EXPECT_EQ(Int32At(bytes, 604), 90);
    EXPECT_EQ(bytes[608], 1);
    EXPECT_EQ(bytes[609], 2);
    EXPECT_EQ(Int32At(bytes, 610), 4321);
    EXPECT_EQ(Int32At(bytes, 614), 3);
    EXPECT_EQ(static_cast<uint32_t>(Int32At(bytes, 618)), kindBomb); // preview 0: Kind
    EXPECT_EQ(Int32At(bytes, 622), 21);                              // preview 0: Picture
    // Slot (x, y) at 650 + (10x + y) * 8: the slots with x = 9 or y = 9 stay zero.
    EXPECT_EQ(Int32At(bytes, 650), 1);
    EXPECT_EQ(static_cast<uint32_t>(Int32At(bytes, 650 + (10 * 8 + 8) * 8)), 0x9200007Fu);
    EXPECT_EQ(static_cast<uint32_t>(Int32At(bytes, 650 + (10 * 3 + 7) * 8)), kindPaint | 1u);
    EXPECT_EQ(Int32At(bytes, 650 + (10 * 9 + 0) * 8), 0);
}

TEST(ConfigFile, RoundTripKeepsTablesVolumesAndTheGame) {
    THighScoreTable table = FreshHighScoreTable();
    table.Blocks[1][4].SetName("Zoë");
    table.Blocks[1][4].Score = 650;
    table.Blocks[2][0].SetName("Jos\xE9 \xC5sa M\xFCller\xFF"); // Windows-1252, 16 bytes
    const TSavedGame game = SampleGame();
    const auto bytes = EncodeConfig(table, 0, 100, true, game);
    const TConfigContents c = DecodeConfig(bytes.data(), bytes.size());
    EXPECT_TRUE(c.Notes.empty());
    EXPECT_EQ(c.MusicVolume, 0);
    EXPECT_EQ(c.SoundVolume, 100);
    ASSERT_TRUE(c.HasGame);
    EXPECT_EQ(c.Game.Mode, 2);
    EXPECT_EQ(c.Game.Score, 4321);
    EXPECT_EQ(c.Game.Preview, game.Preview);
    EXPECT_EQ(c.Game.Cells, game.Cells);
    EXPECT_EQ(c.Table.Blocks[1][4].NameText(), "Zoë");
    EXPECT_EQ(c.Table.Blocks[2][0].NameText(), "Jos\xE9 \xC5sa M\xFCller\xFF");
    EXPECT_EQ(std::memcmp(&c.Table, &table, sizeof table), 0);

    // The flag 0 carries no game even though the fields are written.
    const auto noGame = EncodeConfig(table, 50, 75, false, game);
    EXPECT_FALSE(DecodeConfig(noGame.data(), noGame.size()).HasGame);
}

TEST(ConfigFile, ShortFilesKeepDefaultsForWhatTheyLack) {
    THighScoreTable table = FreshHighScoreTable();
    for (auto& block : table.Blocks)
        for (auto& e : block) e.Score = 5000; // above every fresh score: a cut block stays in order
    const auto full = EncodeConfig(table, 20, 30, true, SampleGame());

    const TConfigContents a = DecodeConfig(full.data(), 310); // 15 whole entries
    EXPECT_EQ(a.Table.Blocks[0][9].Score, 5000);
    EXPECT_EQ(a.Table.Blocks[1][4].Score, 5000);
    EXPECT_EQ(a.Table.Blocks[1][5].Score, 500); // fresh from here on
    EXPECT_EQ(a.MusicVolume, 50);
    EXPECT_EQ(a.SoundVolume, 75);
    EXPECT_FALSE(a.HasGame);
    EXPECT_FALSE(a.Notes.empty());

    const TConfigContents b = DecodeConfig(full.data(), 608); // volumes but no flag
    EXPECT_EQ(b.MusicVolume, 20);
    EXPECT_EQ(b.SoundVolume, 30);
    EXPECT_FALSE(b.HasGame);

    const TConfigContents c = DecodeConfig(full.data(), 1449); // flag set, game cut short
    EXPECT_FALSE(c.HasGame);

    const TConfigContents empty = DecodeConfig(nullptr, 0);
    EXPECT_EQ(empty.Table.Blocks[2][0].Score, 1000);
}

TEST(ConfigFile, DamagedValuesAreMadeSafe) {
    const THighScoreTable table = FreshHighScoreTable();
    auto bytes = EncodeConfig(table, -5, 300, true, SampleGame());
    bytes[20] = 200; // Kids entry 1: name length beyond 16, showing the zero bytes after the name
    bytes[200 + 20 * 3 + 2] = '\n';  // Normal entry 3: a control byte in the name
    bytes[400 + 20 * 6 + 18] = 0xFF; // Professional entry 6: more than entry 5
    TConfigContents c = DecodeConfig(bytes.data(), bytes.size());
    EXPECT_EQ(c.MusicVolume, 0);
    EXPECT_EQ(c.SoundVolume, 100);
    // Each damaged table is replaced by a fresh one; a sound part of the file is still used.
    for (const auto& block : c.Table.Blocks)
        for (size_t i = 0; i < block.size(); ++i) {
            EXPECT_EQ(block[i].NameText(), FreshHighScoreBlock()[i].NameText());
            EXPECT_EQ(block[i].Score, FreshHighScoreBlock()[i].Score);
        }
    EXPECT_TRUE(c.HasGame);
    EXPECT_EQ(c.Notes.size(), 6u);
    EXPECT_TRUE(c.Damaged());
    bytes[20] = 7;
    bytes[200 + 20 * 3 + 2] = 'x';
    bytes[400 + 20 * 6 + 18] = 0x90; // 400 again
    EXPECT_EQ(DecodeConfig(bytes.data(), bytes.size()).Notes.size(), 2u) << "only the volumes";

    auto withGame = [&](auto change) {
        TSavedGame g = SampleGame();
        change(g);
        auto b = EncodeConfig(table, 50, 75, true, g);
        return DecodeConfig(b.data(), b.size());
    };
    EXPECT_FALSE(withGame([](TSavedGame& g) { g.Mode = 3; }).HasGame);
    EXPECT_FALSE(withGame([](TSavedGame& g) { g.Score = -1; }).HasGame);
    EXPECT_FALSE(withGame([](TSavedGame& g) {
                     g.Cells[4][4] = TCell{kindDetonating, 21};
                 }).HasGame);
    EXPECT_FALSE(withGame([](TSavedGame& g) { g.Cells[1][2] = TCell{0x03, 0}; }).HasGame);
    EXPECT_FALSE(withGame([](TSavedGame& g) { g.Preview[3] = TCell{}; }).HasGame);
    // A full field can never end: no move and no room for new balls.
    EXPECT_FALSE(withGame([](TSavedGame& g) {
                     for (auto& column : g.Cells) column.fill(BallKinds[2]);
                 }).HasGame);

    const TConfigContents clamped = withGame([](TSavedGame& g) { g.BallsPerTurn = 100; });
    ASSERT_TRUE(clamped.HasGame);
    EXPECT_EQ(clamped.Game.BallsPerTurn, 4); // Professional's most
    const TConfigContents low = withGame([](TSavedGame& g) {
        g.Mode = 2;
        g.BallsPerTurn = 0;
    });
    EXPECT_EQ(low.Game.BallsPerTurn, 2);

    // Only the low byte of Picture counts; empty cells may hold any picture.
    const TConfigContents pictures = withGame([](TSavedGame& g) {
        g.Cells[2][2] = TCell{0x04, 0xABCD0002};
        g.Cells[5][5] = TCell{0, 0x12345678};
    });
    ASSERT_TRUE(pictures.HasGame);
    EXPECT_EQ(pictures.Game.Cells[2][2], BallKinds[3]);
}

TEST(ConfigFile, ArbitraryBytesAlwaysDecodeToASafeState) {
    std::mt19937 rng(99);
    const auto valid = EncodeConfig(FreshHighScoreTable(), 50, 75, true, SampleGame());
    for (int round = 0; round < 3000; ++round) {
        std::vector<uint8_t> bytes = valid;
        if (round % 3 == 0) {
            bytes.resize(rng() % 1600);
            for (auto& b : bytes) b = static_cast<uint8_t>(rng());
        } else {
            for (int k = 0; k < 1 + round % 20; ++k)
                bytes[rng() % bytes.size()] = static_cast<uint8_t>(rng());
            bytes.resize(rng() % 4 == 0 ? rng() % bytes.size() : bytes.size());
        }
        const TConfigContents c = DecodeConfig(bytes.data(), bytes.size());
        ASSERT_GE(c.MusicVolume, 0);
        ASSERT_LE(c.MusicVolume, 100);
        ASSERT_GE(c.SoundVolume, 0);
        ASSERT_LE(c.SoundVolume, 100);
        // Only tables the game could have written: best first, printable names.
        for (const auto& block : c.Table.Blocks)
            for (size_t i = 0; i < block.size(); ++i) {
                ASSERT_LE(block[i].NameLength, 16);
                if (i > 0) {
                    ASSERT_LE(block[i].Score, block[i - 1].Score);
                }
                for (const char ch : block[i].NameText()) ASSERT_GE(static_cast<uint8_t>(ch), 32);
            }
        if (!c.HasGame) continue;
        int free = 0;
        for (const auto& column : c.Game.Cells)
            for (const auto& cell : column) free += cell.Kind == 0;
        ASSERT_GT(free, 0);
        ASSERT_LE(c.Game.Mode, 2);
        ASSERT_GE(c.Game.Score, 0);
        ASSERT_GE(c.Game.BallsPerTurn, ModeRules[c.Game.Mode].MinBallsPerTurn);
        ASSERT_LE(c.Game.BallsPerTurn, ModeRules[c.Game.Mode].BallsPerTurn);
        for (const auto& p : c.Game.Preview) ASSERT_TRUE(IsBallKindEntry(p));
        for (const auto& column : c.Game.Cells)
            for (const auto& cell : column) ASSERT_TRUE(cell.Kind == 0 || IsBallKindEntry(cell));
    }
}

TEST(ConfigFile, AtomicWriteReplacesOrKeepsTheOldFile) {
    const std::string dir = TempDir();
    const std::string file = dir + "/Config.bin";
    const std::vector<uint8_t> first(1450, 1), second(1450, 2);
    std::string error;
    ASSERT_TRUE(WriteFileAtomically(file, first, &error)) << error;
    ASSERT_TRUE(WriteFileAtomically(file, second, &error)) << error;
    std::vector<uint8_t> read;
    ASSERT_TRUE(ReadFileBytes(file, read, &error));
    EXPECT_EQ(read, second);
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));

    // A write that cannot create its temporary file fails and leaves the old file alone.
    std::filesystem::create_directory(file + ".tmp"); // the temporary name is taken by a folder
    EXPECT_FALSE(WriteFileAtomically(file, first, &error));
    EXPECT_FALSE(error.empty());
    ASSERT_TRUE(ReadFileBytes(file, read, &error));
    EXPECT_EQ(read, second);

    std::filesystem::remove(file + ".tmp");

    // A temporary file left by a killed run, or a symlink planted there, is replaced, never
    // followed: what the link names stays as it was.
    const std::string victim = dir + "/victim";
    ASSERT_TRUE(WriteFileAtomically(victim, first, &error));
    std::filesystem::create_symlink(victim, file + ".tmp");
    ASSERT_TRUE(WriteFileAtomically(file, first, &error)) << error;
    ASSERT_TRUE(ReadFileBytes(file, read, &error));
    EXPECT_EQ(read, first);
    ASSERT_TRUE(ReadFileBytes(victim, read, &error));
    EXPECT_EQ(read, first) << "the write followed the symlink";
    EXPECT_FALSE(std::filesystem::exists(file + ".tmp"));

    EXPECT_FALSE(ReadFileBytes(dir + "/missing.bin", read, &error));
    // Only regular files of a sane size are read: a FIFO would block for ever, /dev/zero never
    // ends, and both are refused at once.
    ASSERT_EQ(::mkfifo((dir + "/fifo").c_str(), 0644), 0);
    EXPECT_FALSE(ReadFileBytes(dir + "/fifo", read, &error));
    EXPECT_NE(error.find("not a regular file"), std::string::npos) << error;
    std::filesystem::create_symlink("/dev/zero", dir + "/zero");
    EXPECT_FALSE(ReadFileBytes(dir + "/zero", read, &error));
    EXPECT_FALSE(ReadFileBytes(file, read, &error, 1000)) << "1450 bytes read under a 1000 limit";
    EXPECT_TRUE(read.empty());
    std::filesystem::remove_all(dir);
}

// --- Config.extra, and what a start keeps aside ----------------------------------------------

namespace {

std::string Slurp(const std::string& file) {
    std::vector<uint8_t> bytes;
    ReadFileBytes(file, bytes, nullptr, size_t{64} << 20);
    return std::string(bytes.begin(), bytes.end());
}

void Put(const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// A table whose Normal rows 1 and 2 hold 65535 and whose Kids row 1 does.
THighScoreTable SaturatedTable() {
    THighScoreTable t = FreshHighScoreTable();
    t.Blocks[1][0].Score = t.Blocks[1][1].Score = 65535;
    t.Blocks[0][0].Score = 65535;
    return t;
}

struct TStartSeen {
    TKeptConfig Config;
    TStatistics Stats;
    std::vector<std::string> Log;
};

TStartSeen StartOn(TKeptFiles& files) {
    TStartSeen seen;
    Log.Observer = [&](const std::string& line) { seen.Log.push_back(line); };
    seen.Stats = files.ReadStatistics();
    seen.Config = files.ReadConfig();
    Log.Observer = nullptr;
    return seen;
}

bool Logged(const TStartSeen& seen, const std::string& part) {
    return std::any_of(seen.Log.begin(), seen.Log.end(),
                       [&](const std::string& l) { return l.find(part) != std::string::npos; });
}

} // namespace

TEST(ExtraFile, SectionsReadBackAndTheFirstFormatStillReads) {
    TConfigExtra a, b;
    a.ConfigHash = 0x0123456789abcdefULL;
    a.HasRandom = true;
    a.Random = 42;
    a.Replay = {7, 8};
    a.Scores[1][0] = 80000;
    b.ConfigHash = 5;
    b.Scores[2][9] = 2147483647;
    std::vector<TConfigExtra> back;
    std::string why;
    ASSERT_TRUE(DecodeConfigExtra(EncodeConfigExtra({a, b}), back, &why)) << why;
    EXPECT_EQ(back, (std::vector<TConfigExtra>{a, b}));

    // A file of the first format (one section, its lines in any order) is a player's own.
    ASSERT_TRUE(DecodeConfigExtra("velm-orra config extra 1\nscore 1 0 80000\nconfig "
                                  "0000000000000005\nrandom 000000000000002a\n",
                                  back, &why))
        << why;
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].ConfigHash, 5u);
    EXPECT_EQ(back[0].Scores[1][0], 80000);
    EXPECT_EQ(back[0].Random, 42u);

    const std::string head = "velm-orra config extra 2\n";
    const std::string section = "config 0000000000000005\n";
    for (const std::string& bad :
         {std::string(), std::string("velm-orra config extra 2\r\n") + section,
          head + "score 1 0 80000\n" + section, head + section + section,
          head + section + "score 1 0 65535\n", head + section + "junk\n",
          head + section + "replay 0000000000000001\n", head}) {
        why.clear();
        EXPECT_FALSE(DecodeConfigExtra(bad, back, &why)) << bad;
        EXPECT_FALSE(why.empty()) << bad;
        EXPECT_TRUE(back.empty());
    }
    std::string many = head;
    for (int i = 0; i <= int(kMaxExtraSections); ++i)
        many += "config 000000000000000" + std::to_string(i) + "\n";
    EXPECT_FALSE(DecodeConfigExtra(many, back, &why));
}

// Whole scores must agree with the table they complete: only where it holds 65535, and in its
// order. A mode that disagrees shows 65535; the others are completed.
TEST(ExtraFile, WholeScoresMustAgreeWithTheTable) {
    TConfigExtra extra;
    extra.Scores[0][0] = 90000;
    extra.Scores[1][0] = 80000;
    extra.Scores[1][1] = 70000;
    THighScoreTable table = SaturatedTable();
    std::vector<std::string> notes;
    CompleteTableScores(table, extra, notes);
    EXPECT_TRUE(notes.empty());
    EXPECT_EQ(table.Blocks[1][0].Points(), 80000);
    EXPECT_EQ(table.Blocks[1][1].Points(), 70000);

    std::swap(extra.Scores[1][0], extra.Scores[1][1]); // rank 2 above rank 1
    table = SaturatedTable();
    CompleteTableScores(table, extra, notes);
    ASSERT_EQ(notes.size(), 1u);
    EXPECT_NE(notes[0].find("Normal"), std::string::npos);
    EXPECT_EQ(table.Blocks[1][0].Points(), 65535);
    EXPECT_EQ(extra.Scores[1][0], 0);
    EXPECT_EQ(table.Blocks[0][0].Points(), 90000);

    extra.Scores[2][3] = 70000; // the Professional row holds 700
    notes.clear();
    table = SaturatedTable();
    CompleteTableScores(table, extra, notes);
    EXPECT_EQ(notes.size(), 1u);
    EXPECT_EQ(table.Blocks[2][3].Points(), 700);
}

// A Config.extra that a start refuses is kept aside before anything replaces it: wrong hash,
// junk, CRLF lines, an empty file, a 10 MB line (moved aside: too large to read). The next save
// writes a sound one.
TEST(KeptFiles, RefusedExtraFilesAreKeptAsideBeforeTheyAreReplaced) {
    const std::string dir = TempDir();
    TKeptFiles files(dir + "/Config.bin", dir + "/Config.extra", dir + "/Stats.txt");
    const std::vector<uint8_t> config = EncodeConfig(SaturatedTable(), 50, 75, false, TSavedGame{});
    TConfigExtra extra;
    extra.Scores[1][0] = 80000;
    StartOn(files);
    ASSERT_TRUE(files.Save(config, extra, nullptr));
    const std::string sound = Slurp(dir + "/Config.extra");

    std::string otherHash = sound;
    otherHash[otherHash.find("config ") + 7] ^= 1;
    std::string crlf = sound;
    for (size_t at = 0; (at = crlf.find('\n', at)) != std::string::npos; at += 2)
        crlf.replace(at, 1, "\r\n");
    const std::string hugeLine = sound + "score 1 0 " + std::string(10 << 20, '9') + "\n";
    for (const std::string& bad : {otherHash,
                                   std::string("\x7f"
                                               "ELF junk"),
                                   crlf, std::string(), hugeLine}) {
        SCOPED_TRACE(bad.substr(0, 40));
        Put(dir + "/Config.extra", bad);
        std::filesystem::remove(dir + "/Config.extra.damaged");
        const TStartSeen seen = StartOn(files);
        EXPECT_TRUE(Logged(seen, "Config.extra")) << "no word of the refusal";
        EXPECT_EQ(Slurp(dir + "/Config.extra.damaged"), bad) << "not kept aside";
        EXPECT_EQ(seen.Config.Contents.Table.Blocks[1][0].Points(), 65535);
        ASSERT_TRUE(files.Save(config, extra, nullptr));
        EXPECT_EQ(StartOn(files).Config.Contents.Table.Blocks[1][0].Points(), 80000);
    }

    // Scores out of the table's order: kept aside, the log says so, and the sound parts (the
    // other modes' scores, the generator) are used.
    std::vector<TConfigExtra> sections;
    ASSERT_TRUE(DecodeConfigExtra(sound, sections, nullptr));
    sections[0].Scores[1][1] = 90000;
    sections[0].Scores[0][0] = 70000;
    sections[0].HasRandom = true;
    sections[0].Random = 1234;
    Put(dir + "/Config.extra", EncodeConfigExtra(sections));
    const TStartSeen disorder = StartOn(files);
    EXPECT_TRUE(Logged(disorder, "out of its order"));
    EXPECT_EQ(Slurp(dir + "/Config.extra.damaged"), EncodeConfigExtra(sections));
    EXPECT_EQ(disorder.Config.Contents.Table.Blocks[1][0].Points(), 65535);
    EXPECT_EQ(disorder.Config.Contents.Table.Blocks[0][0].Points(), 70000);
    EXPECT_EQ(disorder.Config.Extra.Random, 1234u);
    std::filesystem::remove_all(dir);
}

// Stats.txt: its figures must be possible. A file that fails, is empty, holds a negative count
// or a 10 MB line is kept aside (the last moved: too large to read), its sound parts used, the
// reason logged; the next save writes a sound one.
TEST(KeptFiles, ImpossibleOrUnreadableStatisticsAreKeptAside) {
    const std::string dir = TempDir();
    const std::string stats = dir + "/Stats.txt";
    TKeptFiles files(dir + "/Config.bin", dir + "/Config.extra", stats);
    const std::string head = "velm-orra statistics 1\n[normal]\nplayed 9\nlines 40\n";
    const struct {
        std::string Text, Why;
        uint32_t Played, Finished, Lines;
    } cases[] = {
        {head + "finished 2\nbest 900\ntotal 800\n", "do not fit together", 9, 0, 40},
        {head + "finished 2\nbest 500\ntotal 1100\n", "do not fit together", 9, 0, 40},
        {head + "finished 0\nbest 10\n", "do not fit together", 9, 0, 40},
        {head + "finished 12\nbest 10\ntotal 100\n", "more games finished", 12, 12, 40},
        {head + "finished -1\n", "line 5 is damaged", 9, 0, 40},
        {"", "empty", 0, 0, 0},
        {head + std::string(10 << 20, '1') + "\n", "larger than", 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.Why);
        Put(stats, c.Text);
        std::filesystem::remove(stats + ".damaged");
        const TStartSeen seen = StartOn(files);
        EXPECT_TRUE(Logged(seen, c.Why));
        EXPECT_EQ(Slurp(stats + ".damaged"), c.Text);
        const TModeStatistics& m = seen.Stats.Modes[1];
        EXPECT_EQ(m.GamesPlayed, c.Played);
        EXPECT_EQ(m.GamesFinished, c.Finished);
        EXPECT_EQ(m.LinesCleared, c.Lines);
        const std::string text = seen.Stats.ToText();
        ASSERT_TRUE(files.Save(EncodeConfig(FreshHighScoreTable(), 50, 75, false, TSavedGame{}),
                               TConfigExtra{}, &text));
        EXPECT_EQ(Slurp(stats), text);
        EXPECT_FALSE(Logged(StartOn(files), stats)) << "the rewritten file reads with notes";
    }

    // The daily results alike: the sound days kept, the file aside, a sound one saved.
    files.KeepDailyIn(dir + "/Daily.txt");
    const std::string daily = "velm-orra daily 1\n2026-12-08 120 5 2\n";
    for (const std::string& damaged : {daily + "2026-12-09 x 0 0\n2026-12-10 1 1 1\n",
                                       daily + std::string(10 << 20, '1') + "\n"}) {
        Put(dir + "/Daily.txt", damaged);
        const TDailyResults read = files.ReadDaily();
        EXPECT_EQ(Slurp(dir + "/Daily.txt.damaged"), damaged);
        EXPECT_EQ(read.Days.size(), damaged.size() < 1000 ? 1U : 0U);
        ASSERT_TRUE(files.SaveDaily(daily));
        EXPECT_EQ(Slurp(dir + "/Daily.txt"), daily);
        EXPECT_EQ(files.ReadDaily().ToText(), daily);
        std::filesystem::remove(dir + "/Daily.txt.damaged");
    }
    std::filesystem::remove_all(dir);
}

namespace {

// A replay file stating `score` in `mode` (no steps: these tests keep replays, never play them).
std::vector<uint8_t> ReplayOf(uint8_t mode, int32_t score) {
    TReplay replay;
    replay.Mode = mode;
    replay.Score = score;
    replay.Seed = static_cast<uint64_t>(score) * 31;
    return EncodeReplay(replay);
}

} // namespace

// The tables' replays read back whole; after a save stopped between "Replays.bin" and
// "Config.bin" each follows its entry's score, and one whose entry is gone is dropped; a damaged
// file is refused whole, kept aside, and the next save writes a sound one.
TEST(KeptFiles, TableReplaysFollowTheirEntriesAndDamagedOnesAreKeptAside) {
    THighScoreTable table = FreshHighScoreTable();
    THighScoreReplays replays;
    for (size_t r = 0; r < kHighScoreRows; r += 3)
        replays[modeNormal][r] = ReplayOf(modeNormal, table.Blocks[modeNormal][r].Points());
    replays[modeKids][0] = ReplayOf(modeKids, 1000);
    const std::vector<uint8_t> file = EncodeTableReplays(replays);
    THighScoreReplays read;
    ASSERT_TRUE(DecodeTableReplays(file.data(), file.size(), read, nullptr));
    EXPECT_EQ(read, replays);
    EXPECT_EQ(MatchTableReplays(table, read), 0);
    EXPECT_EQ(read, replays);

    // The replays as a save wrote them before the table lost a row at the top (900 moved up to
    // row 0 and so on; the 1000 of row 0 is gone).
    THighScoreTable older = table;
    for (size_t r = 0; r + 1 < kHighScoreRows; ++r)
        older.Blocks[modeNormal][r] = table.Blocks[modeNormal][r + 1];
    older.Blocks[modeNormal][9].SetPoints(50);
    read = replays;
    EXPECT_EQ(MatchTableReplays(older, read), 1);
    EXPECT_TRUE(read[modeNormal][0].empty());
    EXPECT_EQ(read[modeNormal][2], replays[modeNormal][3]);
    EXPECT_EQ(read[modeNormal][8], replays[modeNormal][9]);
    EXPECT_EQ(read[modeKids][0], replays[modeKids][0]);

    std::vector<uint8_t> flipped = file, cut(file.begin(), file.end() - 5), foreign = file;
    flipped[30] ^= 4;
    foreign[6] = modeProfessional; // a Kids replay filed under Professional, check value mended
    const std::vector<uint8_t> body(foreign.begin(), foreign.end() - 4);
    const uint32_t crc = Crc32(body.data(), body.size());
    for (int i = 0; i < 4; ++i)
        foreign[foreign.size() - 4 + i] = static_cast<uint8_t>(crc >> 8 * i);
    for (const auto& [bytes, why] : {std::pair{flipped, "check value"},
                                     {cut, "check value"},
                                     {foreign, "another mode"},
                                     {std::vector<uint8_t>{'V', 'O', 'R', 'T'}, "too short"}}) {
        SCOPED_TRACE(why);
        std::string reason;
        read[modeKids][0] = {1};
        EXPECT_FALSE(DecodeTableReplays(bytes.data(), bytes.size(), read, &reason));
        EXPECT_NE(reason.find(why), std::string::npos) << reason;
        EXPECT_EQ(read, THighScoreReplays{});
    }

    // Through the files: kept aside, logged, and a sound file written by the next save.
    const std::string dir = TempDir();
    TKeptFiles files(dir + "/Config.bin", dir + "/Config.extra", dir + "/Stats.txt");
    files.KeepReplaysIn(dir + "/Replays.bin");
    Put(dir + "/Replays.bin", std::string(flipped.begin(), flipped.end()));
    StartOn(files);
    EXPECT_EQ(files.ReadReplays(), flipped);
    files.ReplaysDamaged(flipped);
    EXPECT_EQ(Slurp(dir + "/Replays.bin.damaged"), std::string(flipped.begin(), flipped.end()));
    EXPECT_FALSE(files.ReplaysSaved(file));
    ASSERT_TRUE(files.SaveReplays(file));
    EXPECT_EQ(files.ReadReplays(), file);
    EXPECT_TRUE(files.ReplaysSaved(file));
    std::filesystem::remove_all(dir);
}
