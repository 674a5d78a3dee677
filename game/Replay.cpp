#include "game/Replay.h"

#include <array>
#include <cstring>

namespace {

constexpr char kMagic[4] = {'V', 'O', 'R', 'P'};
constexpr uint8_t kUndoByte = 255;
constexpr int kSide = 9;
constexpr uint8_t kCells = kSide * kSide;
constexpr uint8_t kEndedFlag = 0x01;

constexpr std::array<uint32_t, 256> MakeCrcTable() {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<uint32_t, 256> kCrcTable = MakeCrcTable();

void PutLE(std::vector<uint8_t>& out, uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint64_t GetLE(const uint8_t* p, int bytes) {
    uint64_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | p[i];
    return v;
}

bool Fail(std::string* why, const std::string& reason) {
    if (why) *why = reason;
    return false;
}

bool OnField(int x, int y) {
    return x >= 0 && y >= 0 && x < kSide && y < kSide;
}

} // namespace

int TReplay::Moves() const {
    int n = 0;
    for (const TReplayStep& s : Steps) n += s.Undo ? 0 : 1;
    return n;
}

int TReplay::Undos() const {
    return static_cast<int>(Steps.size()) - Moves();
}

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc) {
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = kCrcTable[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

std::vector<uint8_t> EncodeReplay(const TReplay& replay) {
    std::vector<uint8_t> steps;
    steps.reserve(replay.Steps.size() * 2);
    for (const TReplayStep& s : replay.Steps) {
        if (s.Undo) {
            steps.push_back(kUndoByte);
            continue;
        }
        if (!OnField(s.FromX, s.FromY) || !OnField(s.ToX, s.ToY)) return {};
        steps.push_back(static_cast<uint8_t>(s.FromX + kSide * s.FromY));
        steps.push_back(static_cast<uint8_t>(s.ToX + kSide * s.ToY));
    }
    if (steps.size() > kMaxReplayBytes - kReplayHeaderBytes - kReplayCheckBytes) return {};
    std::vector<uint8_t> out(std::begin(kMagic), std::end(kMagic));
    out.reserve(kReplayHeaderBytes + steps.size() + kReplayCheckBytes);
    out.push_back(kReplayFormatVersion);
    out.push_back(replay.Mode);
    PutLE(out, replay.RulesVersion, 2);
    PutLE(out, replay.Seed, 8);
    PutLE(out, static_cast<uint32_t>(replay.Score), 4);
    out.push_back(replay.Ended ? kEndedFlag : 0);
    PutLE(out, steps.size(), 4);
    out.insert(out.end(), steps.begin(), steps.end());
    PutLE(out, Crc32(out.data(), out.size()), 4);
    return out;
}

bool DecodeReplay(const uint8_t* data, size_t size, TReplay& replay, std::string* why) {
    if (size > kMaxReplayBytes)
        return Fail(why, "too large: " + std::to_string(size) + " bytes, a replay has at most " +
                             std::to_string(kMaxReplayBytes));
    const size_t magic = std::min(size, sizeof kMagic);
    if (magic == 0 || std::memcmp(data, kMagic, magic) != 0)
        return Fail(why, "not a replay of this game (it does not begin with \"VORP\")");
    if (size <= sizeof kMagic) return Fail(why, "truncated: it ends within its header");
    if (data[4] != kReplayFormatVersion)
        return Fail(why, "replay format version " + std::to_string(data[4]) +
                             "; this game reads version " + std::to_string(kReplayFormatVersion));
    if (size < kReplayHeaderBytes + kReplayCheckBytes)
        return Fail(why, "truncated: it ends within its header");
    const uint64_t stepBytes = GetLE(data + 21, 4);
    const uint64_t whole = kReplayHeaderBytes + stepBytes + kReplayCheckBytes;
    if (whole > size)
        return Fail(why, "truncated: " + std::to_string(size) + " of its " + std::to_string(whole) +
                             " bytes");
    if (whole < size)
        return Fail(why, std::to_string(size - whole) + " bytes of junk after its end");
    const size_t body = size - kReplayCheckBytes;
    if (Crc32(data, body) != GetLE(data + body, 4))
        return Fail(why, "damaged or edited: its check value does not match its content");

    TReplay r;
    r.Mode = data[5];
    if (r.Mode > modeProfessional) return Fail(why, "unknown mode " + std::to_string(r.Mode));
    r.RulesVersion = static_cast<uint16_t>(GetLE(data + 6, 2));
    r.Seed = GetLE(data + 8, 8);
    r.Score = static_cast<int32_t>(static_cast<uint32_t>(GetLE(data + 16, 4)));
    if (r.Score < 0) return Fail(why, "a negative score");
    if (data[20] & ~kEndedFlag) return Fail(why, "unknown flags " + std::to_string(data[20]));
    r.Ended = (data[20] & kEndedFlag) != 0;
    r.Steps.reserve(static_cast<size_t>(stepBytes));
    for (size_t i = kReplayHeaderBytes; i < body;) {
        const size_t number = r.Steps.size() + 1;
        const uint8_t from = data[i++];
        if (from == kUndoByte) {
            r.Steps.push_back({true});
            continue;
        }
        if (from >= kCells || i >= body || data[i] >= kCells)
            return Fail(why, "step " + std::to_string(number) +
                                 " is neither a move on the field nor an undo");
        const uint8_t to = data[i++];
        r.Steps.push_back({false, static_cast<uint8_t>(from % kSide),
                           static_cast<uint8_t>(from / kSide), static_cast<uint8_t>(to % kSide),
                           static_cast<uint8_t>(to / kSide)});
    }
    replay = std::move(r);
    return true;
}
