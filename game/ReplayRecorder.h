#pragma once
// Records the game on a field as a replay by listening to its events: the deal (mode and seed),
// every move that set a ball travelling, every undo, and the end; a game cleared away unfinished
// is dropped. It reads the field's score when
// asked; nothing else.
#include "game/FieldEvents.h"
#include "game/Replay.h"

#include <cstddef>
#include <cstdint>

class TGameField;

class TReplayRecorder final : public IFieldEvents {
public:
    // Listens to `field` until destroyed; the field must outlive it.
    explicit TReplayRecorder(TGameField& field);
    ~TReplayRecorder() override;
    TReplayRecorder(const TReplayRecorder&) = delete;
    TReplayRecorder& operator=(const TReplayRecorder&) = delete;

    // A game has been dealt (or resumed) since, and it has not grown past what a replay holds.
    bool Recording() const { return recording_; }
    // The game so far. Its score is the field's as it stands, or the final one once the game has
    // ended: take it while the field waits for the player or after the end.
    TReplay Replay() const;
    // Goes on recording a game restored from a kept replay of it (the game the field shows).
    void Resume(TReplay replay);
    // Records nothing until the next deal (a game restored without its replay).
    void Stop() { recording_ = false; }

    void GameDealt(uint8_t mode, uint64_t seed) override;
    // A field cleared before its game ended (the demo's board taken away) has no game to record.
    void FieldCleared() override;
    void MoveStarted(const TFieldBall& ball, int toX, int toY, int length) override;
    void MoveUndone() override;
    void GameOver() override;

private:
    void Add(const TReplayStep& step, size_t bytes);

    TGameField& field_;
    TReplay replay_;
    bool recording_ = false;
    size_t bytes_ = 0; // the file's size so far
};
