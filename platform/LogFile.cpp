#include "platform/LogFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__EMSCRIPTEN__)
#include <emscripten/emscripten.h>
#endif

namespace {

constexpr int kLogFlags = O_WRONLY | O_APPEND | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// Opens the log for appending (or anew), never through a symlink and never waiting on a FIFO;
// anything but a regular file is refused. A file with another hard link is some other file too
// (planted, or the player's): it is unlinked from here and the log begins anew in its place,
// never written through. -1 when it cannot be used.
int OpenLog(const std::string& file, bool truncate) {
    if (file.empty()) return -1;
    int fd = ::open(file.c_str(), kLogFlags | O_CREAT, 0644);
    if (fd < 0) return -1;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_nlink > 1) {
        ::close(fd);
        fd = ::unlink(file.c_str()) == 0 ? ::open(file.c_str(), kLogFlags | O_CREAT | O_EXCL, 0644)
                                         : -1;
        if (fd < 0) return -1;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_nlink > 1 ||
        (truncate && ::ftruncate(fd, 0) != 0)) {
        ::close(fd);
        return -1;
    }
    return fd;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t w = ::write(fd, text.data() + done, text.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) return false;
        done += static_cast<size_t>(w);
    }
    return true;
}

// The page's console shows each line as a message of its own.
void EchoToConsole([[maybe_unused]] const std::string& text) {
#if defined(__EMSCRIPTEN__)
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        if (end > start)
            emscripten_log(EM_LOG_CONSOLE, "%s", text.substr(start, end - start).c_str());
        start = end + 1;
    }
#endif
}

} // namespace

bool StartLogFile(const std::string& file) {
    const int fd = OpenLog(file, true);
    if (fd < 0) return false;
    return ::close(fd) == 0;
}

bool AppendToLogFile(const std::string& file, const std::string& text) {
    EchoToConsole(text);
    const int fd = OpenLog(file, false);
    if (fd < 0) return false;
    const bool written = WriteAll(fd, text);
    return ::close(fd) == 0 && written;
}
