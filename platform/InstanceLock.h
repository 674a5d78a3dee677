#pragma once
// One running copy per data folder: an exclusive flock on a lock file there. The kernel drops the
// lock when the process ends, however it ends, so a crash never leaves the game unstartable.
#include <string>

class TInstanceLock {
public:
    enum class TResult {
        Acquired,       // this copy holds the lock
        AlreadyRunning, // another process holds it
        Unavailable     // no lock file could be opened (no folder, read-only): nothing to guard
    };

    TInstanceLock() = default;
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    // Locks "<folder>/velm-orra.lock", creating the file when missing; an existing file is
    // opened without changing it (a second copy touches nothing). Never waits.
    TResult Acquire(const std::string& folder);
    void Release();

private:
    int fd_ = -1;
};
