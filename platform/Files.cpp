#include "platform/Files.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>
#include <utility>

bool ReadFileBytes(const std::string& file, std::vector<uint8_t>& bytes, std::string* error) {
    bytes.clear();
    std::FILE* f = std::fopen(file.c_str(), "rb");
    if (!f) {
        if (error) *error = file + ": " + std::strerror(errno);
        return false;
    }
    uint8_t buffer[4096];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) {
        bytes.insert(bytes.end(), buffer, buffer + n);
        if (bytes.size() > (1u << 20))
            break; // a settings file is 1450 bytes; never read a huge one
    }
    const bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed && error) *error = file + ": read error";
    return !failed;
}

namespace {

TWriteFault pendingFault;

// True (errno set) when the injected fault is at `stage`.
bool Injected(const TWriteFault& fault, TWriteFault::TStage stage) {
    if (fault.Stage != stage) return false;
    errno = fault.Error;
    return true;
}

} // namespace

void InjectWriteFault(TWriteFault fault) {
    pendingFault = fault;
}

bool WriteFileAtomically(const std::string& file, const std::vector<uint8_t>& bytes,
                         std::string* error) {
    const TWriteFault fault = std::exchange(pendingFault, TWriteFault{});
    const std::string temp = file + ".tmp";
    auto fail = [&](const std::string& what) {
        if (error) *error = what + ": " + std::strerror(errno);
        return false;
    };
    const int fd = Injected(fault, TWriteFault::Create)
                       ? -1
                       : ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return fail("cannot create " + temp);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = Injected(fault, TWriteFault::Write)
                              ? -1
                              : ::write(fd, bytes.data() + done, bytes.size() - done);
        if (w < 0 && errno == EINTR) continue;
        if (w <= 0) {
            const int saved = errno;
            ::close(fd);
            ::unlink(temp.c_str());
            errno = saved ? saved : ENOSPC;
            return fail("cannot write " + temp);
        }
        done += static_cast<size_t>(w);
    }
    if (Injected(fault, TWriteFault::Flush) || ::fsync(fd) != 0) {
        const int saved = errno;
        ::close(fd);
        ::unlink(temp.c_str());
        errno = saved;
        return fail("cannot flush " + temp);
    }
    if (::close(fd) != 0) {
        ::unlink(temp.c_str());
        return fail("cannot close " + temp);
    }
    if (Injected(fault, TWriteFault::Rename) || ::rename(temp.c_str(), file.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temp.c_str());
        errno = saved;
        return fail("cannot replace " + file);
    }
    return true;
}

std::string TimeOfDayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}
