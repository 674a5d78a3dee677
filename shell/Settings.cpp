#include "shell/Settings.h"

#include "game/GameModes.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <sstream>

namespace {

int32_t ReadInt32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) |
                                (static_cast<uint32_t>(p[3]) << 24));
}

void WriteInt32(uint8_t* p, int32_t v) {
    const auto u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(u >> (8 * i));
}

TCell ReadCell(const uint8_t* p) {
    return TCell{static_cast<uint32_t>(ReadInt32(p)), static_cast<uint32_t>(ReadInt32(p + 4))};
}

void WriteCell(uint8_t* p, const TCell& c) {
    WriteInt32(p, static_cast<int32_t>(c.Kind));
    WriteInt32(p + 4, static_cast<int32_t>(c.Picture));
}

// Only the low byte of Picture counts; a placed ball must equal a kind-table entry.
bool NormaliseBall(TCell& cell) {
    const TCell probe{cell.Kind, cell.Picture & 0xFF};
    if (!IsBallKindEntry(probe)) return false;
    cell = probe;
    return true;
}

int32_t ClampVolume(int32_t v, const char* name, std::vector<std::string>& notes) {
    if (v >= 0 && v <= 100) return v;
    const int32_t c = std::clamp(v, 0, 100);
    notes.push_back(std::string(name) + " volume " + std::to_string(v) + " set to " +
                    std::to_string(c));
    return c;
}

// A block the game could have written: scores best first, names of printable characters only.
// A block cut short by the file's end is judged with the fresh entries that complete it, since
// that whole block is what the game shows and writes back.
bool SoundBlock(const THighScoreBlock& block) {
    for (size_t i = 0; i < block.size(); ++i) {
        if (i > 0 && block[i].Score > block[i - 1].Score) return false;
        for (uint8_t k = 0; k < block[i].NameLength && k < 16; ++k) {
            const auto c = static_cast<unsigned char>(block[i].Name[k]);
            if (c < 32 || c == 127) return false;
        }
    }
    return true;
}

constexpr size_t kVolumesOffset = 600;
constexpr size_t kModeOffset = 609;
constexpr size_t kScoreOffset = 610;
constexpr size_t kBallsPerTurnOffset = 614;
constexpr size_t kPreviewOffset = 618;
constexpr size_t kCellsOffset = 650;

} // namespace

TConfigContents DecodeConfig(const uint8_t* data, size_t size) {
    TConfigContents c;
    c.Table = FreshHighScoreTable();
    if (size < kConfigSize)
        c.Notes.push_back("the file holds " + std::to_string(size) + " of " +
                          std::to_string(kConfigSize) + " bytes");

    // The table, entry by entry as far as the file goes; missing entries keep the fresh ones.
    std::array<uint8_t, kHighScoreBytes> tableBytes{};
    c.Table.ToBytes(tableBytes.data());
    // An empty file may come as a null pointer, which memcpy must not be given even for 0 bytes.
    const size_t whole = std::min<size_t>(size, kHighScoreBytes) / 20 * 20;
    if (whole > 0) std::memcpy(tableBytes.data(), data, whole);
    c.Table.FromBytes(tableBytes.data());
    int clamped = 0;
    for (auto& block : c.Table.Blocks)
        for (auto& e : block)
            if (e.NameLength > 16) {
                e.NameLength = 16;
                ++clamped;
            }
    if (clamped)
        c.Notes.push_back(std::to_string(clamped) + " high-score names cut to 16 characters");
    static const char* const modeNames[] = {"Kids", "Normal", "Professional"};
    for (size_t m = 0; m < c.Table.Blocks.size(); ++m)
        if (!SoundBlock(c.Table.Blocks[m])) {
            c.Table.Blocks[m] = FreshHighScoreBlock();
            c.Notes.push_back(std::string("the ") + modeNames[m] +
                              " table is out of order or holds control bytes; a fresh one is used");
        }

    if (size >= kVolumesOffset + 4)
        c.MusicVolume = ClampVolume(ReadInt32(data + kVolumesOffset), "music", c.Notes);
    if (size >= kVolumesOffset + 8)
        c.SoundVolume = ClampVolume(ReadInt32(data + kVolumesOffset + 4), "sound", c.Notes);

    if (size <= kConfigFlagOffset || data[kConfigFlagOffset] == 0) return c;
    if (size < kConfigSize) {
        c.Notes.push_back("the saved game is incomplete and was dropped");
        return c;
    }

    TSavedGame g;
    g.Mode = data[kModeOffset];
    if (g.Mode > 2) {
        c.Notes.push_back("the saved game has mode " + std::to_string(g.Mode) + " and was dropped");
        return c;
    }
    g.Score = ReadInt32(data + kScoreOffset);
    if (g.Score < 0) {
        c.Notes.push_back("the saved game has a negative score and was dropped");
        return c;
    }
    g.BallsPerTurn = ReadInt32(data + kBallsPerTurnOffset);
    const TModeRules& rules = ModeRules[g.Mode];
    if (g.BallsPerTurn < rules.MinBallsPerTurn || g.BallsPerTurn > rules.BallsPerTurn) {
        const int32_t fixed = std::clamp(g.BallsPerTurn, rules.MinBallsPerTurn, rules.BallsPerTurn);
        c.Notes.push_back("balls per turn " + std::to_string(g.BallsPerTurn) + " set to " +
                          std::to_string(fixed));
        g.BallsPerTurn = fixed;
    }
    for (size_t i = 0; i < g.Preview.size(); ++i) {
        g.Preview[i] = ReadCell(data + kPreviewOffset + 8 * i);
        if (!NormaliseBall(g.Preview[i])) {
            c.Notes.push_back("preview entry " + std::to_string(i) +
                              " is no ball; the saved game was dropped");
            return c;
        }
    }
    for (int x = 0; x < 9; ++x) {
        for (int y = 0; y < 9; ++y) {
            TCell cell = ReadCell(data + kCellsOffset + static_cast<size_t>(10 * x + y) * 8);
            if (cell.Kind == 0) {
                cell.Picture &= 0xFF;
            } else if (!NormaliseBall(cell)) {
                c.Notes.push_back("cell " + std::to_string(x) + "," + std::to_string(y) +
                                  " is no ball; the saved game was dropped");
                return c;
            }
            g.Cells[static_cast<size_t>(x)][static_cast<size_t>(y)] = cell;
        }
    }
    // A full field has no move left and no room for new balls: such a game could never end.
    int free = 0;
    for (const auto& column : g.Cells)
        for (const TCell& cell : column) free += cell.Kind == 0 ? 1 : 0;
    if (free == 0) {
        c.Notes.push_back("the saved game has a full field and was dropped");
        return c;
    }
    c.HasGame = true;
    c.Game = g;
    return c;
}

std::vector<uint8_t> EncodeConfig(const THighScoreTable& table, int32_t musicVolume,
                                  int32_t soundVolume, bool hasGame, const TSavedGame& game) {
    std::vector<uint8_t> bytes(kConfigSize, 0);
    table.ToBytes(bytes.data());
    WriteInt32(&bytes[kVolumesOffset], musicVolume);
    WriteInt32(&bytes[kVolumesOffset + 4], soundVolume);
    bytes[kConfigFlagOffset] = hasGame ? 1 : 0;
    bytes[kModeOffset] = game.Mode;
    WriteInt32(&bytes[kScoreOffset], game.Score);
    WriteInt32(&bytes[kBallsPerTurnOffset], game.BallsPerTurn);
    for (size_t i = 0; i < game.Preview.size(); ++i)
        WriteCell(&bytes[kPreviewOffset + 8 * i], game.Preview[i]);
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y)
            WriteCell(&bytes[kCellsOffset + static_cast<size_t>(10 * x + y) * 8],
                      game.Cells[static_cast<size_t>(x)][static_cast<size_t>(y)]);
    return bytes;
}

uint64_t ConfigHash(const std::vector<uint8_t>& configBytes) {
    uint64_t h = 0xCBF29CE484222325ULL;
    for (const uint8_t b : configBytes) {
        h ^= b;
        h *= 0x100000001B3ULL;
    }
    return h;
}

namespace {

constexpr const char* kExtraHeader1 = "velm-orra config extra 1";
constexpr const char* kExtraHeader = "velm-orra config extra 2";
constexpr size_t kMaxReplay = 100000;

std::string Hex(uint64_t v) {
    char text[17];
    for (int i = 15; i >= 0; --i, v >>= 4) text[i] = "0123456789abcdef"[v & 15];
    text[16] = 0;
    return text;
}

bool ParseHex(const std::string& text, uint64_t& v) {
    if (text.size() != 16) return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v, 16);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ParseInt(const std::string& text, int32_t& v) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// One entry line of a section into `extra`; false when it is none.
bool ReadEntry(const std::string& key, const std::string& a, const std::string& b,
               const std::string& c, const std::string& rest, TConfigExtra& extra) {
    uint64_t v = 0;
    if (key == "random" && b.empty() && ParseHex(a, v)) {
        extra.HasRandom = true;
        extra.Random = v;
        return true;
    }
    if (key == "replay" && b.empty() && extra.HasRandom && ParseHex(a, v) &&
        extra.Replay.size() < kMaxReplay) {
        extra.Replay.push_back(v);
        return true;
    }
    if (key == "score" && rest.empty()) {
        int32_t mode = 0, row = 0, points = 0;
        if (!ParseInt(a, mode) || !ParseInt(b, row) || !ParseInt(c, points) || mode < 0 ||
            mode >= kHighScoreModes || row < 0 || row >= kHighScoreRows || points <= 65535)
            return false;
        extra.Scores[static_cast<size_t>(mode)][static_cast<size_t>(row)] = points;
        return true;
    }
    return false;
}

} // namespace

std::string EncodeConfigExtra(const std::vector<TConfigExtra>& sections) {
    std::string out = std::string(kExtraHeader) + "\n";
    for (const TConfigExtra& extra : sections) {
        out += "config " + Hex(extra.ConfigHash) + "\n";
        if (extra.HasRandom) {
            out += "random " + Hex(extra.Random) + "\n";
            for (const uint64_t r : extra.Replay) out += "replay " + Hex(r) + "\n";
        }
        for (size_t m = 0; m < extra.Scores.size(); ++m)
            for (size_t r = 0; r < extra.Scores[m].size(); ++r)
                if (extra.Scores[m][r] > 65535)
                    out += "score " + std::to_string(m) + " " + std::to_string(r) + " " +
                           std::to_string(extra.Scores[m][r]) + "\n";
    }
    return out;
}

bool DecodeConfigExtra(const std::string& text, std::vector<TConfigExtra>& sections,
                       std::string* why) {
    sections.clear();
    std::istringstream in(text);
    std::string line;
    int number = 0;
    bool oneSection = false; // version 1: one section, its lines in any order
    bool hashSeen = false;
    const auto fail = [&](const std::string& what) {
        if (why) *why = "line " + std::to_string(number) + " " + what;
        sections.clear();
        return false;
    };
    while (std::getline(in, line)) {
        ++number;
        if (number == 1) {
            oneSection = line == kExtraHeader1;
            if (!oneSection && line != kExtraHeader) return fail("is not the file's header");
            if (oneSection) sections.emplace_back();
            continue;
        }
        std::istringstream words(line);
        std::string key, a, b, c, rest;
        words >> key >> a >> b >> c >> rest;
        uint64_t v = 0;
        if (key == "config" && b.empty() && ParseHex(a, v)) {
            if (!oneSection) {
                for (const TConfigExtra& s : sections)
                    if (s.ConfigHash == v) return fail("repeats a section");
                if (sections.size() == kMaxExtraSections) return fail("is one section too many");
                sections.emplace_back();
            }
            sections.back().ConfigHash = v;
            hashSeen = true;
        } else if (sections.empty() || (!oneSection && !hashSeen)) {
            return fail("stands before the first section");
        } else if (!ReadEntry(key, a, b, c, rest, sections.back())) {
            return fail(key == "score" ? "is no table score" : "is damaged");
        }
    }
    if (!hashSeen) {
        if (why) *why = "the config line is missing";
        sections.clear();
        return false;
    }
    return true;
}

void CompleteTableScores(THighScoreTable& table, TConfigExtra& extra,
                         std::vector<std::string>& notes) {
    static const char* const modeNames[] = {"Kids", "Normal", "Professional"};
    for (size_t m = 0; m < table.Blocks.size(); ++m) {
        THighScoreBlock block = table.Blocks[m];
        bool sound = true;
        for (size_t r = 0; r < block.size(); ++r) {
            const int32_t whole = extra.Scores[m][r];
            if (whole == 0) continue;
            if (block[r].Score != 65535) {
                notes.push_back(std::string("the whole score of the ") + modeNames[m] +
                                " table's row " + std::to_string(r + 1) +
                                " goes with no saturated entry");
                sound = false;
            }
            block[r].FullScore = whole;
        }
        for (size_t r = 1; sound && r < block.size(); ++r)
            if (block[r].Points() > block[r - 1].Points()) {
                notes.push_back(std::string("the whole scores of the ") + modeNames[m] +
                                " table are out of its order");
                sound = false;
            }
        if (sound) {
            table.Blocks[m] = block;
        } else {
            extra.Scores[m].fill(0);
        }
    }
}
