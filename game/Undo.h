#pragma once
// The history of taken-back moves: a snapshot of the game before each move, and the generator
// states that the new balls of undone moves were drawn from, so that playing on after an undo
// brings the very balls the undone moves brought (no fishing for better ones).
#include "game/BallKinds.h"
#include "game/Statistics.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

struct TFieldSnapshot {
    std::vector<TCell> Cells; // column by column, as the field's grid holds them
    std::array<TCell, 5> Preview{};
    int32_t Score = 0;
    uint8_t ChainCount = 0;
    int32_t BallsPerTurn = 0;
    bool GameTouched = false;
    TModeStatistics Stats; // the mode's figures before the move
    TGameFigures Figures;  // and the game's
    bool Spawned = false;  // the move brought new balls, drawn from SpawnState
    uint64_t SpawnState = 0;
};

// Moves each mode can take back: Kids back to the start (bounded only to keep memory small in
// endless games), Normal the last move, Professional none.
constexpr std::array<size_t, 3> kUndoDepth = {10000, 1, 0};

class TUndoHistory {
public:
    // Keeps at most `depth` snapshots, dropping the oldest.
    void Push(TFieldSnapshot snapshot, size_t depth);
    bool Empty() const { return snapshots_.empty(); }
    size_t Size() const { return snapshots_.size(); }
    TFieldSnapshot* Last() { return snapshots_.empty() ? nullptr : &snapshots_.back(); }
    // Removes the newest snapshot and returns it; its spawn state, if any, waits for the next
    // spawn. Call only when not Empty().
    TFieldSnapshot Pop();
    // The state the next spawn must draw from, if an undone move left one; taken once.
    bool TakeReplayState(uint64_t& state);
    // The states undone moves left, the next spawn's last: kept with a saved game, so that a
    // restored game plays them out as the game would have.
    const std::vector<uint64_t>& ReplayStates() const { return replay_; }
    void SetReplayStates(std::vector<uint64_t> states) { replay_ = std::move(states); }
    void Clear();

private:
    std::deque<TFieldSnapshot> snapshots_;
    std::vector<uint64_t> replay_; // newest undone move last: the next spawn takes the back
};
