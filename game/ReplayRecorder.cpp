#include "game/ReplayRecorder.h"

#include "game/GameField.h"

TReplayRecorder::TReplayRecorder(TGameField& field) : field_(field) {
    field_.AddListener(this);
}

TReplayRecorder::~TReplayRecorder() {
    field_.RemoveListener(this);
}

TReplay TReplayRecorder::Replay() const {
    TReplay r = replay_;
    if (!r.Ended) r.Score = field_.Game().Score;
    return r;
}

void TReplayRecorder::Resume(TReplay replay) {
    replay_ = std::move(replay);
    bytes_ = EncodeReplay(replay_).size();
    recording_ = bytes_ > 0;
}

void TReplayRecorder::GameDealt(uint8_t mode, uint64_t seed) {
    replay_ = TReplay{};
    replay_.Mode = mode;
    replay_.Seed = seed;
    bytes_ = kReplayHeaderBytes + kReplayCheckBytes;
    recording_ = true;
}

void TReplayRecorder::FieldCleared() {
    if (!replay_.Ended) recording_ = false;
}

void TReplayRecorder::Add(const TReplayStep& step, size_t bytes) {
    if (!recording_) return;
    // A game too long for a replay file is not recorded any further, nor kept.
    if (bytes_ + bytes > kMaxReplayBytes) {
        recording_ = false;
        return;
    }
    bytes_ += bytes;
    replay_.Steps.push_back(step);
}

void TReplayRecorder::MoveStarted(const TFieldBall& ball, int toX, int toY, int /*length*/) {
    Add({false, static_cast<uint8_t>(ball.X), static_cast<uint8_t>(ball.Y),
         static_cast<uint8_t>(toX), static_cast<uint8_t>(toY)},
        2);
}

void TReplayRecorder::MoveUndone() {
    Add({true}, 1);
}

void TReplayRecorder::GameOver() {
    if (!recording_) return;
    replay_.Ended = true;
    replay_.Score = field_.Game().Score;
}
