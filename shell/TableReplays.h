#pragma once
// The replays of the ten-best tables' entries, kept in "Replays.bin" beside "Config.bin" (whose
// fixed layout has no room for them), and the recorder that files a finished game's replay at
// the row its score took.
//
// "Replays.bin" (numbers little-endian):
//   0  4  "VORT"
//   4  1  format version (1)
//   5  1  K, the replays that follow (at most 30)
//   then K times: mode (0..2), row (0..9), 4 bytes length L, L bytes of a replay file
//   last 4  CRC-32 of every byte before it
// A file with any fault is refused whole. Which entry a replay belongs to is checked when it is
// read: the entry at its row in its mode must have the replay's score (a save stopped between
// "Replays.bin" and "Config.bin" leaves the entries moved; a replay then follows its score).
#include "game/FieldEvents.h"
#include "game/ReplayRecorder.h"
#include "state/TablesState.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class TGameField;

constexpr const char* kTableReplaysFile = "Replays.bin";
// A file of thirty replays of the largest size a replay may have, and its frame.
constexpr size_t kMaxTableReplaysBytes =
    size_t{kHighScoreModes} * kHighScoreRows * (kMaxReplayBytes + 6) + 10;

std::vector<uint8_t> EncodeTableReplays(const THighScoreReplays& replays);
// False, with the reason, for anything but a whole, sound file; `replays` is then left empty.
bool DecodeTableReplays(const uint8_t* data, size_t size, THighScoreReplays& replays,
                        std::string* why);

// Keeps each replay with the entry it was recorded for: the entry at its row when that entry's
// score is the replay's, otherwise the first entry of its mode with that score and no replay.
// The others are dropped; returns how many.
int MatchTableReplays(const THighScoreTable& table, THighScoreReplays& replays);

// A finished game entered its mode's table at `end.Row`: the replays below move down one, as
// the entries do (the tenth is lost), and `replay` (empty: none) takes the row.
void FileTableReplay(THighScoreReplays& replays, const TGameEnd& end, std::vector<uint8_t> replay);

// Records every game on the player's field and files its replay with its table entry.
class TTableRecorder final : public IFieldEvents {
public:
    // Listens to `field` until destroyed; `field` and `replays` must outlive it.
    TTableRecorder(TGameField& field, THighScoreReplays& replays);
    ~TTableRecorder() override;
    TTableRecorder(const TTableRecorder&) = delete;
    TTableRecorder& operator=(const TTableRecorder&) = delete;

    TReplayRecorder& Recorder() { return recorder_; }
    void GameEnded(const TGameEnd& end) override;

private:
    TGameField& field_;
    TReplayRecorder recorder_; // listens first: it has the game's end when GameEnded comes
    THighScoreReplays& replays_;
};

// Whether the tables' replays verify: each is played through the rules, headless, once for its
// bytes, and an entry shows as verified only when its replay ended the game with the entry's very
// score (an entry whose score was edited in "Config.bin" cannot pass, nor can an edited replay).
// Never a stored flag: every run finds it again.
class TReplayMarks {
public:
    enum class TMark { None, Unchecked, Verified, Refused };
    TMark Mark(const THighScoreTable& table, const THighScoreReplays& replays, size_t mode,
               size_t row) const;
    // Plays one replay of `mode` not yet checked; false when none was left (a frame's work:
    // a long game takes some milliseconds).
    bool CheckOne(const THighScoreReplays& replays, size_t mode);

private:
    struct TChecked {
        std::vector<uint8_t> Bytes; // the replay checked
        bool Ended = false;         // it verified and ended the game
        int32_t Score = 0;          // with this score
    };
    std::array<std::array<TChecked, kHighScoreRows>, kHighScoreModes> checked_{};
};
