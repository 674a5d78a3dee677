#include "platform/InstanceLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

TInstanceLock::~TInstanceLock() {
    Release();
}

TInstanceLock::TResult TInstanceLock::Acquire(const std::string& folder) {
    Release();
    reason_.clear();
    const auto unavailable = [this](const std::string& why) {
        reason_ = why;
        return TResult::Unavailable;
    };
    if (folder.empty()) return unavailable("there is no data folder");
    const std::string file = folder + "/velm-orra.lock";
    const int common = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
    int fd = ::open(file.c_str(), O_RDWR | common);
    if (fd < 0 && errno == ENOENT) fd = ::open(file.c_str(), O_RDWR | O_CREAT | common, 0644);
    if (fd < 0)
        return unavailable(file + " cannot be opened (" +
                           (errno == ELOOP ? std::string("a symlink") : std::strerror(errno)) +
                           ")");
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return unavailable(file + " is not a regular file");
    }
    // The whole file, however long it grows; a write lock needs the file open for writing.
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (::fcntl(fd, F_SETLK, &lock) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EACCES || error == EAGAIN) return TResult::AlreadyRunning;
        return unavailable(file + " cannot be locked (" + std::strerror(error) + ")");
    }
    fd_ = fd;
    return TResult::Acquired;
}

void TInstanceLock::Release() {
    if (fd_ < 0) return;
    // Closing drops the record lock. No other descriptor of the file is ever opened by this
    // process, which would drop it too.
    ::close(fd_);
    fd_ = -1;
}
