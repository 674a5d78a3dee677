#include "platform/Files.h"

#include "platform/Persistence.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

bool ReadFileBytes(const std::string& file, std::vector<uint8_t>& bytes, std::string* error,
                   size_t limit, bool followSymlinks) {
    bytes.clear();
    auto fail = [&](const std::string& why) {
        if (error) *error = file + ": " + why;
        bytes.clear();
        return false;
    };
    // O_NONBLOCK: opening a FIFO without a writer would otherwise wait for ever.
    const int fd = ::open(file.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC |
                                            (followSymlinks ? 0 : O_NOFOLLOW));
    if (fd < 0) return fail(errno == ELOOP && !followSymlinks ? "a symlink" : std::strerror(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return fail("not a regular file");
    }
    if (static_cast<uint64_t>(st.st_size) > limit) {
        ::close(fd);
        return fail("larger than " + std::to_string(limit) + " bytes");
    }
    uint8_t buffer[8192];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const std::string why = std::strerror(errno);
            ::close(fd);
            return fail("read error: " + why);
        }
        if (n == 0) break;
        // The size may grow while it is read; the limit holds whatever fstat said.
        if (bytes.size() + static_cast<size_t>(n) > limit) {
            ::close(fd);
            return fail("larger than " + std::to_string(limit) + " bytes");
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    ::close(fd);
    return true;
}

bool IsRegularFile(const std::string& file) {
    struct stat st {};
    return ::stat(file.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace {

TWriteStageHook stageHook = nullptr;

// True (errno set) when the hook makes `stage` fail.
bool Injected(TWriteStage stage, const std::string& file) {
    const int error = stageHook ? stageHook(stage, file) : 0;
    if (error == 0) return false;
    errno = error;
    return true;
}

// A rename reaches the disk only with its folder.
void SyncFolderOf(const std::string& file) {
    if (Injected(TWriteStage::SyncFolder, file)) return;
    const std::string folder = std::filesystem::path(file).parent_path().string();
    const int dir =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

} // namespace

void SetWriteStageHook(TWriteStageHook hook) {
    stageHook = hook;
}

bool WriteFileAtomically(const std::string& file, const std::vector<uint8_t>& bytes,
                         std::string* error) {
    if (stageHook) stageHook(TWriteStage::Begin, file);
    const std::string temp = file + ".tmp";
    auto fail = [&](const std::string& what) {
        if (error) *error = what + ": " + std::strerror(errno);
        return false;
    };
    // Exclusive and without following links: a file or symlink already there (left by a killed
    // run, or planted) is removed and the creation tried once more.
    const int flags = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    int fd = Injected(TWriteStage::Create, file) ? -1 : ::open(temp.c_str(), flags, 0644);
    if (fd < 0 && errno == EEXIST && ::unlink(temp.c_str()) == 0)
        fd = ::open(temp.c_str(), flags, 0644);
    if (fd < 0) return fail("cannot create " + temp);
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t w = Injected(TWriteStage::Write, file)
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
    if (Injected(TWriteStage::Flush, file) || ::fsync(fd) != 0) {
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
    if (Injected(TWriteStage::Rename, file) || ::rename(temp.c_str(), file.c_str()) != 0) {
        const int saved = errno;
        ::unlink(temp.c_str());
        errno = saved;
        return fail("cannot replace " + file);
    }
    SyncFolderOf(file);
    PersistUserFiles();
    return true;
}

bool MoveFileAside(const std::string& file, const std::string& aside, std::string* error) {
    if (stageHook) stageHook(TWriteStage::Begin, aside);
    if (Injected(TWriteStage::Rename, aside) || ::rename(file.c_str(), aside.c_str()) != 0) {
        if (error) *error = "cannot rename " + file + ": " + std::strerror(errno);
        return false;
    }
    SyncFolderOf(aside);
    PersistUserFiles();
    return true;
}

void RemoveStaleTemporary(const std::string& file) {
    ::unlink((file + ".tmp").c_str());
}

std::string TimeOfDayText() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
    return text;
}
