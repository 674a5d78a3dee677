#pragma once
// THintSearch: the game's own player looking for a move off the frame loop. Where the host runs
// threads the search runs on a thread of its own; elsewhere (the browser page) each Poll plays a
// slice of it, a few milliseconds' worth, so that the frame loop never waits either way. The
// search works on a copy of the board and generators of its own: nothing of the game is shared.
#include "game/Player.h"

#include <atomic>
#include <cstdint>
#include <thread>

class THintSearch {
public:
    THintSearch() = default;
    ~THintSearch();
    THintSearch(const THintSearch&) = delete;
    THintSearch& operator=(const THintSearch&) = delete;

    // Starts a search of `board`, dropping one under way; `tag` comes back with the result (the
    // caller's mark of the position, to tell whether it still stands).
    void Start(const TBoard& board, uint64_t tag);
    // Drops the search under way, if any.
    void Cancel();
    bool Busy() const { return busy_; }
    // Once a frame: true once, with the move and the tag, when a search has finished.
    bool Poll(TMove& move, uint64_t& tag);

private:
    void Join();

    TMoveSearch search_;
    uint64_t tag_ = 0;
    bool busy_ = false;
    bool threaded_ = false;
    std::atomic<bool> finished_{false};
    std::atomic<bool> cancel_{false};
    std::thread thread_;
};
