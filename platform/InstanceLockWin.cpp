#include "platform/InstanceLock.h"

#include "platform/Utf16.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

// An exclusive byte-range lock on the lock file: Windows drops it when the process ends, however
// it ends. The handle is kept as a C runtime descriptor, whose closing closes it.
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
    const std::wstring file = WideFromUtf8(folder + "\\velm-orra.lock");
    const DWORD share = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
    // An existing file is opened as it is (a second copy touches nothing); a link in its place
    // is opened as itself and refused.
    HANDLE h = CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    // A read-only folder may still hold the lock file of an earlier run; it locks as well.
    if (h == INVALID_HANDLE_VALUE)
        h = CreateFileW(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return unavailable("velm-orra.lock cannot be opened");
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        CloseHandle(h);
        return unavailable("velm-orra.lock is not a regular file");
    }
    OVERLAPPED at{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at)) {
        const bool held = GetLastError() == ERROR_LOCK_VIOLATION;
        CloseHandle(h);
        return held ? TResult::AlreadyRunning : unavailable("velm-orra.lock cannot be locked");
    }
    fd_ = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY);
    if (fd_ < 0) {
        CloseHandle(h);
        return unavailable("velm-orra.lock cannot be kept open");
    }
    return TResult::Acquired;
}

void TInstanceLock::Release() {
    if (fd_ < 0) return;
    _close(fd_); // closing drops the lock
    fd_ = -1;
}
