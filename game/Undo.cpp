#include "game/Undo.h"

void TUndoHistory::Push(TFieldSnapshot snapshot, size_t depth) {
    if (depth == 0) return;
    snapshots_.push_back(std::move(snapshot));
    while (snapshots_.size() > depth) snapshots_.pop_front();
}

TFieldSnapshot TUndoHistory::Pop() {
    TFieldSnapshot s = std::move(snapshots_.back());
    snapshots_.pop_back();
    if (s.Spawned) replay_.push_back(s.SpawnState);
    return s;
}

bool TUndoHistory::TakeReplayState(uint64_t& state) {
    if (replay_.empty()) return false;
    state = replay_.back();
    replay_.pop_back();
    return true;
}

void TUndoHistory::Clear() {
    snapshots_.clear();
    replay_.clear();
}
