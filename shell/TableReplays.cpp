#include "shell/TableReplays.h"

#include "game/GameField.h"
#include "game/Replay.h"
#include "game/ReplayPlayer.h"

#include <utility>

namespace {

constexpr uint8_t kVersion = 1;
constexpr size_t kHead = 6, kRecordHead = 6, kCheck = 4;

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

uint32_t Get32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

bool Refuse(std::string* why, const std::string& reason) {
    if (why) *why = reason;
    return false;
}

} // namespace

std::vector<uint8_t> EncodeTableReplays(const THighScoreReplays& replays) {
    std::vector<uint8_t> out{'V', 'O', 'R', 'T', kVersion, 0};
    uint8_t count = 0;
    for (size_t m = 0; m < replays.size(); ++m)
        for (size_t r = 0; r < replays[m].size(); ++r) {
            const std::vector<uint8_t>& bytes = replays[m][r];
            if (bytes.empty() || bytes.size() > kMaxReplayBytes) continue;
            out.push_back(static_cast<uint8_t>(m));
            out.push_back(static_cast<uint8_t>(r));
            Put32(out, static_cast<uint32_t>(bytes.size()));
            out.insert(out.end(), bytes.begin(), bytes.end());
            ++count;
        }
    out[5] = count;
    Put32(out, Crc32(out.data(), out.size()));
    return out;
}

bool DecodeTableReplays(const uint8_t* data, size_t size, THighScoreReplays& replays,
                        std::string* why) {
    replays = THighScoreReplays{};
    if (size < kHead + kCheck) return Refuse(why, "too short");
    if (size > kMaxTableReplaysBytes) return Refuse(why, "too large");
    if (data[0] != 'V' || data[1] != 'O' || data[2] != 'R' || data[3] != 'T')
        return Refuse(why, "not a file of replays");
    if (data[4] != kVersion) return Refuse(why, "format version " + std::to_string(data[4]));
    if (Crc32(data, size - kCheck) != Get32(data + size - kCheck))
        return Refuse(why, "the check value does not match");
    THighScoreReplays read;
    const size_t end = size - kCheck;
    size_t at = kHead;
    for (int i = 0; i < data[5]; ++i) {
        if (end - at < kRecordHead) return Refuse(why, "cut short");
        const uint8_t mode = data[at], row = data[at + 1];
        const uint32_t length = Get32(data + at + 2);
        at += kRecordHead;
        if (mode >= kHighScoreModes || row >= kHighScoreRows)
            return Refuse(why,
                          "no table entry " + std::to_string(mode) + "/" + std::to_string(row));
        if (length > end - at) return Refuse(why, "cut short");
        std::vector<uint8_t>& slot = read[mode][row];
        if (!slot.empty()) return Refuse(why, "two replays for one entry");
        TReplay replay;
        std::string bad;
        if (!DecodeReplay(data + at, length, replay, &bad))
            return Refuse(why, "a replay is damaged (" + bad + ")");
        if (replay.Mode != mode) return Refuse(why, "a replay of another mode");
        slot.assign(data + at, data + at + length);
        at += length;
    }
    if (at != end) return Refuse(why, "bytes after the last replay");
    replays = std::move(read);
    return true;
}

int MatchTableReplays(const THighScoreTable& table, THighScoreReplays& replays) {
    THighScoreReplays matched;
    int dropped = 0;
    for (size_t m = 0; m < replays.size(); ++m) {
        const THighScoreBlock& block = table.Blocks[m];
        // Those at their own row first, so that one that moved never takes another's place.
        std::vector<std::pair<size_t, int32_t>> moved;
        for (size_t r = 0; r < replays[m].size(); ++r) {
            std::vector<uint8_t>& bytes = replays[m][r];
            if (bytes.empty()) continue;
            TReplay replay;
            if (!DecodeReplay(bytes.data(), bytes.size(), replay, nullptr)) {
                ++dropped;
                continue;
            }
            if (block[r].Points() == replay.Score)
                matched[m][r] = std::move(bytes);
            else
                moved.emplace_back(r, replay.Score);
        }
        for (const auto& [r, score] : moved) {
            size_t to = 0;
            while (to < block.size() && !(block[to].Points() == score && matched[m][to].empty()))
                ++to;
            if (to == block.size())
                ++dropped;
            else
                matched[m][to] = std::move(replays[m][r]);
        }
    }
    replays = std::move(matched);
    return dropped;
}

void FileTableReplay(THighScoreReplays& replays, const TGameEnd& end, std::vector<uint8_t> replay) {
    if (!end.Entered() || end.Mode >= kHighScoreModes || end.Row < 0 || end.Row >= kHighScoreRows)
        return;
    auto& block = replays[end.Mode];
    for (size_t r = block.size() - 1; r > static_cast<size_t>(end.Row); --r)
        block[r] = std::move(block[r - 1]);
    block[static_cast<size_t>(end.Row)] = std::move(replay);
}

TTableRecorder::TTableRecorder(TGameField& field, THighScoreReplays& replays)
    : field_(field), recorder_(field), replays_(replays) {
    field_.AddListener(this);
}

TTableRecorder::~TTableRecorder() {
    field_.RemoveListener(this);
}

void TTableRecorder::GameEnded(const TGameEnd& end) {
    std::vector<uint8_t> bytes;
    if (recorder_.Recording()) {
        const TReplay replay = recorder_.Replay();
        // Only the game that made this score: one resumed without its replay has none.
        if (replay.Ended && replay.Score == end.Score && replay.Mode == end.Mode)
            bytes = EncodeReplay(replay);
    }
    FileTableReplay(replays_, end, std::move(bytes));
}

TReplayMarks::TMark TReplayMarks::Mark(const THighScoreTable& table,
                                       const THighScoreReplays& replays, size_t mode,
                                       size_t row) const {
    if (mode >= kHighScoreModes || row >= kHighScoreRows) return TMark::None;
    const std::vector<uint8_t>& bytes = replays[mode][row];
    if (bytes.empty()) return TMark::None;
    const TChecked& c = checked_[mode][row];
    if (c.Bytes != bytes) return TMark::Unchecked;
    return c.Ended && c.Score == table.Blocks[mode][row].Points() ? TMark::Verified
                                                                  : TMark::Refused;
}

bool TReplayMarks::CheckOne(const THighScoreReplays& replays, size_t mode) {
    if (mode >= kHighScoreModes) return false;
    for (size_t row = 0; row < kHighScoreRows; ++row) {
        const std::vector<uint8_t>& bytes = replays[mode][row];
        TChecked& c = checked_[mode][row];
        if (bytes.empty() || c.Bytes == bytes) continue;
        const TReplayCheck check = VerifyReplayBytes(bytes.data(), bytes.size());
        c.Bytes = bytes;
        c.Ended = check.Verified && check.Ended;
        c.Score = check.Score;
        return true;
    }
    return false;
}
