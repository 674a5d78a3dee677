#pragma once
// Plays a recorded game again on a field of its own, with its own game, tables, statistics and
// generators: nothing of the player's game, tables or files is read or written. Headless, every
// turn resolves before the next step (verification); watched, the steps come at a pace the frames
// set, with pause and speed.
#include "game/FieldContext.h"
#include "game/GameField.h"
#include "game/Replay.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

// Runs the field's frames, a whole time unit's worth at a time, until it waits for the player or
// has no room for the next balls; false if it never does.
bool SettleHeadless(TGameField& field);

// What replaying a game through the rules gave.
struct TReplayCheck {
    bool Verified = false; // the steps are legal and make the score the replay states
    std::string Why;       // why not, when not verified
    int32_t Score = 0;     // the score the steps made, as far as they were played
    int Moves = 0, Undos = 0;
    bool Ended = false; // the steps brought the game to its end
};

class TReplayPlayer {
public:
    explicit TReplayPlayer(TReplay replay);

    // The field the game is played on; listeners (sounds, effects) may be added before Deal.
    TGameField& Field() { return field_; }
    const TGameField& Field() const { return field_; }
    const TReplay& Replay() const { return replay_; }

    // Deals the recorded game (once; Advance and PlayToEnd deal first if need be). A replay of
    // other rules or an unknown mode is refused: Failed.
    void Deal();

    // Headless: deals, plays every step, each turn resolved before the next, and compares the
    // outcome with what the replay states.
    TReplayCheck PlayToEnd();

    // Watching: one frame of `delta` game time units (1/15 s). Unless Paused, the field's clocks
    // run Speed times as fast, and each step starts once the field has rested for kBeat units
    // since the last one resolved. After the last step the field goes on (a finished game's
    // board empties).
    void Advance(double delta, int32_t frameRate);
    bool Paused = false;
    double Speed = 1.0;
    static constexpr double kBeat = 8.0;

    size_t StepsTaken() const { return taken_; }
    // Every step taken and its turn resolved, or a step refused.
    bool Finished() const;
    bool Failed() const { return !why_.empty(); }
    const std::string& Why() const { return why_; }

private:
    // Starts the next step on the waiting field: a move sets its ball travelling, an undo takes
    // back at once. False, with Why, when the rules refuse it.
    bool StartStep();
    bool Fail(const std::string& why);

    TReplay replay_;
    std::unique_ptr<TStandaloneGame> game_; // before field_: the field acts on it
    TGameField field_;
    bool dealt_ = false;
    size_t taken_ = 0;
    double rest_ = 0.0; // time the field has waited since the last step resolved
    std::string why_;
};

// Plays the replay headless (TReplayPlayer::PlayToEnd).
TReplayCheck VerifyReplay(const TReplay& replay);
// DecodeReplay, then VerifyReplay; a replay that does not decode is refused with its reason.
TReplayCheck VerifyReplayBytes(const uint8_t* data, size_t size);
