#pragma once
// One running copy per data folder: an exclusive POSIX record lock (fcntl) on a lock file there.
// The kernel drops the lock when the process ends, however it ends, so a crash never leaves the
// game unstartable. A record lock belongs to the process alone: a child it forks (the desktop
// message box of SDL is shown from one) does not inherit it and cannot keep it after the game
// is gone, as it could with flock.
#include <string>

class TInstanceLock {
public:
    enum class TResult {
        Acquired,       // this copy holds the lock
        AlreadyRunning, // another process holds it
        Unavailable     // no lock could be taken (no folder, read-only, or no regular file in
                        // the lock file's place): nothing guards the folder
    };

    TInstanceLock() = default;
    ~TInstanceLock();
    TInstanceLock(const TInstanceLock&) = delete;
    TInstanceLock& operator=(const TInstanceLock&) = delete;

    // Locks "<folder>/velm-orra.lock", creating the file when missing; an existing file is
    // opened without changing it (a second copy touches nothing). Never waits, never follows a
    // symlink. On Unavailable, Reason() says why.
    TResult Acquire(const std::string& folder);
    void Release();
    const std::string& Reason() const { return reason_; }

private:
    int fd_ = -1;
    std::string reason_;
};
