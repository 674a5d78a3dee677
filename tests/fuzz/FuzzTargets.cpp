#include "FuzzTargets.h"

#include "fx/SoundBank.h"
#include "game/BallKinds.h"
#include "game/DailyResults.h"
#include "game/GameModes.h"
#include "game/HighScores.h"
#include "game/Replay.h"
#include "game/ReplayPlayer.h"
#include "game/Statistics.h"
#include "platform/DataPack.h"
#include "platform/Registry.h"
#include "render/ImageReader.h"
#include "render/RenderDevice.h"
#include "shell/Settings.h"
#include "shell/TableReplays.h"
#include "tests/support/RecordingAudio.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>
#include <unistd.h>
#include <vector>

namespace {

void Require(bool holds, const char* rule) {
    if (holds) return;
    std::fprintf(stderr, "fuzz target: broken rule: %s\n", rule);
    std::abort();
}

// A picture that loaded has real sizes, a depth the game can convert, and readable corners.
void CheckPicture(TBitmap& picture, bool loaded, const std::string& error) {
    if (!loaded) {
        Require(!error.empty(), "a refused picture says why");
        return;
    }
    Require(picture.Width() > 0 && picture.Height() > 0, "a loaded picture has pixels");
    Require(int64_t{picture.Width()} * picture.Height() <= kMaxBitmapPixels,
            "a loaded picture stays within the size limit");
    Require(picture.BitsPerPixel() == 24 || picture.BitsPerPixel() == 32,
            "a loaded picture has 24 or 32 bits per pixel");
    // The pattern sets widen every picture to 32 bits before cutting it.
    Require(picture.SetBitsPerPixel(32), "a loaded picture widens to 32 bits");
    const int32_t w = picture.Width(), h = picture.Height();
    // The corners and a column of rows are in the buffer (the sanitizer checks every read).
    uint32_t sum = picture.PixelARGB(0, 0) ^ picture.PixelARGB(w - 1, h - 1);
    for (int32_t y = 0; y < h; y += std::max(1, h / 8)) sum ^= picture.PixelARGB(w / 2, y);
    volatile uint32_t sink = sum;
    (void)sink;
}

std::string Text(const uint8_t* data, size_t size) {
    return std::string(reinterpret_cast<const char*>(data), size);
}

std::string Trimmed(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

bool SameTable(const THighScoreTable& a, const THighScoreTable& b) {
    std::array<uint8_t, kHighScoreBytes> x{}, y{};
    a.ToBytes(x.data());
    b.ToBytes(y.data());
    return x == y;
}

// Every character code once, for the font's layouts.
std::string EveryCode() {
    std::string all(256, ' ');
    for (int c = 0; c < 256; ++c) all[static_cast<size_t>(c)] = static_cast<char>(c);
    return all;
}

// The font's layouts over `lines`, at the scales the screens use and at the extremes of the
// 16-bit pen positions.
void DrawLayouts(TVOFont& font, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        font.DrawText(line, 10, 20, 0xFFFFFFFF);
        font.DrawTextCentered(line, 160, 40, 0xFF888888);
        font.DrawTextScaled(line, 160, 60, 70, 0xFF0000FF);
        font.DrawTextScaled(line, 65535, 80, 250, 0xFF00FFFF);
        font.DrawTextCaret(line, 160, 100, 85, 0xFFFFFFFF);
    }
    font.DrawTextBlock(lines, 160, 120, 70, 0xFF00FFFF);
    font.DrawNumber(INT32_MIN, 300, 150, 0xFFFFFFFF);
    font.DrawNumber(INT32_MAX, 0, 170, 0xFFFFFFFF);
}

// One small offscreen device for the font target, made on first use.
TRenderDevice& FontDevice() {
    static TRenderDevice device;
    static const bool made = [] {
        device.SetOffscreen(true);
        device.SetWidth(320);
        device.SetHeight(200);
        return device.InitDevice() == 0;
    }();
    Require(made, "the offscreen device starts");
    return device;
}

} // namespace

int FuzzTga(const uint8_t* data, size_t size) {
    TBitmapEx picture;
    std::string error;
    const bool loaded = picture.LoadTGAFromMemory(data, size, "fuzz.tga", &error);
    CheckPicture(picture, loaded, error);
    return 0;
}

int FuzzJpeg(const uint8_t* data, size_t size) {
    TBitmapEx picture;
    std::string error;
    const bool loaded = picture.LoadJPEGFromMemory(data, size, "fuzz.jpg", &error);
    Require(!loaded || picture.BitsPerPixel() == 24, "a JPEG loads as 24 bits per pixel");
    CheckPicture(picture, loaded, error);
    return 0;
}

int FuzzBmp(const uint8_t* data, size_t size) {
    TBitmap picture;
    std::string error;
    const bool loaded = picture.LoadBMPFromMemory(data, size, "fuzz.bmp", &error);
    CheckPicture(picture, loaded, error);
    return 0;
}

int FuzzConfig(const uint8_t* data, size_t size) {
    const TConfigContents c = DecodeConfig(data, size);
    Require(c.MusicVolume >= 0 && c.MusicVolume <= 100, "the music volume is 0..100");
    Require(c.SoundVolume >= 0 && c.SoundVolume <= 100, "the sound volume is 0..100");
    for (const auto& block : c.Table.Blocks)
        for (const auto& e : block) {
            Require(e.NameLength <= 16, "a high-score name has at most 16 characters");
            Require(e.NameText().size() == e.NameLength, "a name is as long as its length");
        }
    if (c.HasGame) {
        const TSavedGame& g = c.Game;
        Require(g.Mode <= 2, "a restored game has a known mode");
        Require(g.Score >= 0, "a restored game has a score of 0 or more");
        const TModeRules& rules = ModeRules[g.Mode];
        Require(g.BallsPerTurn >= rules.MinBallsPerTurn && g.BallsPerTurn <= rules.BallsPerTurn,
                "balls per turn are within the mode's range");
        for (const TCell& p : g.Preview) Require(IsBallKindEntry(p), "the preview holds balls");
        for (const auto& column : g.Cells)
            for (const TCell& cell : column)
                Require(cell.Kind == 0 || IsBallKindEntry(cell), "a cell is empty or a ball");
    }
    // What the game writes back from a file it read, it reads again unchanged and without notes.
    const std::vector<uint8_t> saved =
        EncodeConfig(c.Table, c.MusicVolume, c.SoundVolume, c.HasGame, c.Game);
    Require(saved.size() == kConfigSize, "the settings file has its fixed size");
    const TConfigContents again = DecodeConfig(saved.data(), saved.size());
    Require(again.Notes.empty(), "a written settings file reads back without notes");
    Require(SameTable(again.Table, c.Table), "the high scores read back");
    Require(again.MusicVolume == c.MusicVolume && again.SoundVolume == c.SoundVolume,
            "the volumes read back");
    Require(again.HasGame == c.HasGame, "the saved-game flag reads back");
    if (c.HasGame) {
        Require(again.Game.Mode == c.Game.Mode && again.Game.Score == c.Game.Score &&
                    again.Game.BallsPerTurn == c.Game.BallsPerTurn,
                "the saved game's numbers read back");
        Require(again.Game.Preview == c.Game.Preview, "the preview reads back");
        Require(again.Game.Cells == c.Game.Cells, "the cells read back");
    }
    // The restored tables take new scores (they need not be in order).
    THighScoreTable table = c.Table;
    for (auto& block : table.Blocks) {
        const int row = InsertHighScore(block, c.HasGame ? c.Game.Score : 500);
        Require(row >= 0 && row <= kNotEntered, "an inserted score gets a row or none");
    }
    return 0;
}

int FuzzStrings(const uint8_t* data, size_t size) {
    TVOStrings strings;
    strings.LoadFromText(Text(data, size));
    const std::vector<std::string>* lists[] = {&strings.Exit_Text,      &strings.New_Text,
                                               &strings.Old_Text,       &strings.Clear_Text,
                                               &strings.EnterName_Text, &strings.LowScore_Text,
                                               &strings.FullScreen_Text};
    std::vector<std::string> shown = {strings.MainCaption, strings.Options,     strings.HighScores,
                                      strings.Help,        strings.Kids,        strings.Normal,
                                      strings.Proff,       strings.Exit_Caption};
    for (const auto* list : lists)
        for (const std::string& line : *list) {
            Require(Trimmed(line) != "}", "a list ends before its closing line");
            shown.push_back(line);
        }
    for (const std::string& s : shown)
        Require(s.find_first_of("\r\n") == std::string::npos, "a text holds one line");
    // The screens draw every text with the font; with no device only the layout runs.
    TVOFont font(nullptr);
    font.Advance.fill(9);
    font.Advance[0] = 0;
    font.Advance[255] = 255;
    DrawLayouts(font, shown);
    return 0;
}

int FuzzSounds(const uint8_t* data, size_t size) {
    TRecordingAudio audio;
    TSoundBank bank(&audio);
    std::string error;
    const bool ok = bank.LoadFromText(Text(data, size), "sounds.txt", "/data", &error);
    Require(ok == error.empty(), "a refused sound list says why");
    Require(ok || error.rfind("sounds.txt:", 0) == 0, "the message names the list and the line");
    Require(audio.Loads.size() >= 3, "the bomb's three files are loaded in every case");
    std::set<uint32_t> handles = {0};
    for (const auto& load : audio.Loads) handles.insert(load.Handle);
    for (int s = 0; s < static_cast<int>(TSample::Count); ++s) {
        Require(handles.count(bank.Named(static_cast<TSample>(s))) == 1, "named handles loaded");
        bank.Play(static_cast<TSample>(s));
    }
    for (int p = -1; p <= kPictureSounds; ++p) {
        const uint32_t entries[] = {
            bank.Selection(0, p), bank.Selection(3, p), bank.Selection(4, p), bank.HoverSound(p),
            bank.BlastSound(p),   bank.ArrivalSound(p), bank.BlastHitSound(p)};
        for (uint32_t h : entries) {
            Require(handles.count(h) == 1, "table handles come from loads");
            bank.Play(h);
            bank.Stop(h);
        }
    }
    for (int units = -1; units < 110; units += 3) bank.PlayRemoval(units);
    return 0;
}

int FuzzFont(const uint8_t* data, size_t size) {
    TRenderDevice& device = FontDevice();
    TVOFont font(&device);
    std::string error;
    // As in the loading step: a metrics file that fails ends the loading of the font.
    if (!font.LoadMetricsFromMemory(data, size, "font.rls", &error)) {
        Require(!error.empty() && size < 258, "only a short metrics file fails");
        return 0;
    }
    if (!font.LoadGlyphs(VO_GAME_DATA_DIR "/graphics/font/font.bmp", &error)) {
        Require(!error.empty(), "a refused glyph set says why");
        return 0;
    }
    device.BeginFrame();
    DrawLayouts(font, {EveryCode(), "Player", "12345"});
    device.EndFrame();
    device.PresentFrame();
    return 0;
}

int FuzzRegistry(const uint8_t* data, size_t size) {
    // The registry is read from its file: the input goes to a file in a folder of this process.
    static const std::string dir = [] {
        char pattern[] = "/tmp/vo-fuzz-registry-XXXXXX";
        const char* made = ::mkdtemp(pattern);
        Require(made != nullptr, "a scratch folder");
        return std::string(made);
    }();
    const std::string file = dir + "/registry";
    if (std::FILE* f = std::fopen(file.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    TRegistry registry(file);
    (void)registry.ReadInteger("fullscreen");
    // Any file of a few lines takes the value and gives it back; the others are kept.
    Require(registry.WriteInteger("Fullscreen", 1), "a readable registry file is written");
    Require(registry.ReadInteger("fullscreen") == 1, "the written value reads back");
    Require(::access((file + ".tmp").c_str(), F_OK) != 0, "no temporary file is left");
    return 0;
}

int FuzzStats(const uint8_t* data, size_t size) {
    std::vector<std::string> notes;
    const TStatistics s =
        TStatistics::FromText(std::string(reinterpret_cast<const char*>(data), size), &notes);
    for (const TModeStatistics& m : s.Modes) {
        Require(m.GamesFinished <= m.GamesPlayed, "no more games finished than played");
        Require(m.BestScore >= 0 && m.BestMove >= 0, "scores are 0 or more");
    }
    // What the game writes back from a file it read, it reads again unchanged and without notes.
    std::vector<std::string> again;
    const TStatistics back = TStatistics::FromText(s.ToText(), &again);
    Require(again.empty(), "a written statistics file reads back without notes");
    Require(back.ToText() == s.ToText(), "the statistics read back");
    // The daily results, a text file of the same kind: one a day, in order, read back alike.
    const TDailyResults daily =
        TDailyResults::FromText(std::string(reinterpret_cast<const char*>(data), size), &notes);
    for (size_t i = 1; i < daily.Days.size(); ++i)
        Require(DaysSinceEpoch(daily.Days[i - 1].Date) < DaysSinceEpoch(daily.Days[i].Date),
                "daily results one a day, in date order");
    again.clear();
    Require(TDailyResults::FromText(daily.ToText(), &again).ToText() == daily.ToText() &&
                again.empty(),
            "daily results read back without notes");
    return 0;
}

int FuzzExtra(const uint8_t* data, size_t size) {
    std::vector<TConfigExtra> sections;
    std::string why;
    if (!DecodeConfigExtra(std::string(reinterpret_cast<const char*>(data), size), sections,
                           &why)) {
        Require(!why.empty(), "a refused file says why");
        return 0;
    }
    Require(!sections.empty() && sections.size() <= kMaxExtraSections, "a bounded set of sections");
    for (const TConfigExtra& extra : sections)
        for (const auto& block : extra.Scores)
            for (const int32_t points : block)
                Require(points == 0 || points > 65535, "whole scores only");
    // Completing a table never breaks its order.
    THighScoreTable table = FreshHighScoreTable();
    for (size_t r = 0; r < 4; ++r) table.Blocks[1][r].Score = 65535;
    std::vector<std::string> notes;
    TConfigExtra first = sections.front();
    CompleteTableScores(table, first, notes);
    for (const THighScoreBlock& block : table.Blocks)
        for (size_t r = 1; r < block.size(); ++r)
            Require(block[r].Points() <= block[r - 1].Points(), "a completed table stays in order");
    // What the game writes from what it read, it reads again unchanged.
    const std::string text = EncodeConfigExtra(sections);
    std::vector<TConfigExtra> back;
    Require(DecodeConfigExtra(text, back, &why), "a written extra file reads back");
    Require(back == sections, "the extra file reads back unchanged");
    return 0;
}

// A replayed game: verified, or refused with a reason; never more steps played than it has.
void CheckReplayed(const TReplay& replay) {
    const TReplayCheck check = VerifyReplay(replay);
    Require(check.Verified == check.Why.empty(), "a replay verifies, or says why not");
    Require(check.Moves + check.Undos <= static_cast<int>(replay.Steps.size()),
            "no more steps played than the replay holds");
    Require(check.Score >= 0, "a replayed score is 0 or more");
    Require(!check.Verified || check.Score == replay.Score, "a verified replay has its score");
}

// The input as a replay file, and again with its check value made to match, so that the steps
// and the rules behind the check are reached too; and as a file of the tables' replays, whose
// records are replay files.
int FuzzReplay(const uint8_t* data, size_t size) {
    THighScoreReplays kept;
    std::string why;
    if (DecodeTableReplays(data, size, kept, &why)) {
        THighScoreTable table = FreshHighScoreTable();
        Require(MatchTableReplays(table, kept) <= kHighScoreModes * kHighScoreRows,
                "no more replays dropped than a file holds");
    } else {
        Require(!why.empty() && kept == THighScoreReplays{}, "a refused file says why, keeps none");
    }
    why.clear();
    TReplay replay;
    if (DecodeReplay(data, size, replay, &why)) {
        Require(EncodeReplay(replay) == std::vector<uint8_t>(data, data + size),
                "a replay writes back as it was read");
        CheckReplayed(replay);
    } else {
        Require(!why.empty(), "a refused replay says why");
    }
    if (size < kReplayHeaderBytes + kReplayCheckBytes || size > kMaxReplayBytes) return 0;
    std::vector<uint8_t> fixed(data, data + size);
    const uint32_t crc = Crc32(fixed.data(), size - kReplayCheckBytes);
    for (size_t i = 0; i < kReplayCheckBytes; ++i)
        fixed[size - kReplayCheckBytes + i] = static_cast<uint8_t>(crc >> (8 * i));
    why.clear();
    if (DecodeReplay(fixed.data(), fixed.size(), replay, &why))
        CheckReplayed(replay);
    else
        Require(!why.empty(), "a refused replay says why");
    return 0;
}

// The input is a whole data pack: its index, then every member it lists.
int FuzzPack(const uint8_t* data, size_t size) {
    std::vector<TPackMember> members;
    std::string error;
    if (!ParseDataPackIndex(data, size, size, members, &error)) {
        Require(!error.empty(), "a refused pack says why");
        return 0;
    }
    for (size_t i = 0; i < members.size(); ++i) {
        const TPackMember& m = members[i];
        Require(m.StoredSize > 0 && m.Offset <= size && m.StoredSize <= size - m.Offset,
                "a member lies inside the pack");
        Require(i == 0 || members[i - 1].Name < m.Name, "the names rise");
        // The game reads no member beyond its pictures' limit; a claim past it is refused
        // before anything is allocated.
        if (m.Size > (1u << 20)) continue;
        std::vector<uint8_t> out;
        error.clear();
        if (UnpackDataPackMember(data + m.Offset, m.StoredSize, m.Size, out, &error))
            Require(out.size() == m.Size, "an unpacked member has its size");
        else
            Require(!error.empty() && out.empty(), "a refused member says why and gives nothing");
    }
    return 0;
}

const TFuzzTargetInfo FuzzTargetList[12] = {
    {"tga", FuzzTga},       {"jpeg", FuzzJpeg},         {"bmp", FuzzBmp},
    {"config", FuzzConfig}, {"strings", FuzzStrings},   {"sounds", FuzzSounds},
    {"font", FuzzFont},     {"registry", FuzzRegistry}, {"stats", FuzzStats},
    {"extra", FuzzExtra},   {"pack", FuzzPack},         {"replay", FuzzReplay},
};
