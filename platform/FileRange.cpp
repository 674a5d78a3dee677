#include "platform/FileRange.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

bool ReadFileRange(const std::string& file, uint64_t offset, size_t size,
                   std::vector<uint8_t>& bytes, std::string* error, uint64_t* fileSize) {
    bytes.clear();
    int fd = -1;
    auto fail = [&](const std::string& why) {
        if (fd >= 0) ::close(fd);
        if (error) *error = file + ": " + why;
        bytes.clear();
        return false;
    };
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for ever.
    fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return fail(std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) return fail("not a regular file");
    const auto total = static_cast<uint64_t>(st.st_size);
    if (fileSize) *fileSize = total;
    if (offset > total || size > total - offset)
        return fail("ends before byte " + std::to_string(offset + size));
    bytes.resize(size);
    size_t done = 0;
    while (done < size) {
        const ssize_t n =
            ::pread(fd, bytes.data() + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(std::string("read error: ") + std::strerror(errno));
        if (n == 0) return fail("ends before byte " + std::to_string(offset + size));
        done += static_cast<size_t>(n);
    }
    ::close(fd);
    return true;
}
