#include "platform/InstanceLock.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

TInstanceLock::~TInstanceLock() {
    Release();
}

TInstanceLock::TResult TInstanceLock::Acquire(const std::string& folder) {
    Release();
    if (folder.empty()) return TResult::Unavailable;
    const std::string file = folder + "/velm-orra.lock";
    const int common = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(file.c_str(), O_RDWR | common);
    if (fd < 0 && errno == ENOENT) fd = ::open(file.c_str(), O_RDWR | O_CREAT | common, 0644);
    // A read-only folder may still hold the lock file of an earlier run; flock works on it.
    if (fd < 0) fd = ::open(file.c_str(), O_RDONLY | common);
    if (fd < 0) return TResult::Unavailable;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return TResult::Unavailable;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? TResult::AlreadyRunning : TResult::Unavailable;
    }
    fd_ = fd;
    return TResult::Acquired;
}

void TInstanceLock::Release() {
    if (fd_ < 0) return;
    ::close(fd_); // closing drops the lock
    fd_ = -1;
}
