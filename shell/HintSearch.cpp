#include "shell/HintSearch.h"

#include "platform/HostThreads.h"

#include <system_error>

namespace {

// Simulated turns between two looks at the cancel flag on the thread (well under a
// millisecond), and played by one Poll without threads (a few milliseconds).
constexpr int64_t kThreadSlice = 64;
constexpr int64_t kFrameSlice = 200;

} // namespace

THintSearch::~THintSearch() {
    Cancel();
}

void THintSearch::Join() {
    if (thread_.joinable()) thread_.join();
}

void THintSearch::Cancel() {
    cancel_ = true;
    Join();
    busy_ = false;
    cancel_ = false;
}

void THintSearch::Start(const TBoard& board, uint64_t tag) {
    Cancel();
    tag_ = tag;
    busy_ = true;
    finished_ = false;
    search_.Start(board, TPlayerKind::Best);
    threaded_ = HostRunsThreads();
    if (!threaded_) return;
    try {
        thread_ = std::thread([this] {
            while (!cancel_ && !search_.Run(kThreadSlice)) {
            }
            finished_ = true;
        });
    } catch (const std::system_error&) {
        threaded_ = false; // no room for a thread: the search runs in slices of the frames
    }
}

bool THintSearch::Poll(TMove& move, uint64_t& tag) {
    if (!busy_) return false;
    if (!threaded_ && search_.Run(kFrameSlice)) finished_ = true;
    if (!finished_) return false;
    Join();
    busy_ = false;
    if (!search_.Done()) return false;
    move = search_.Result();
    tag = tag_;
    return move.Valid();
}
