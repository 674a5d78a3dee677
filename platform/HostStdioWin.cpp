#include "platform/HostStdio.h"

#include "platform/Utf16.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

std::FILE* OpenRegularFileForReading(const std::string& path, std::string* error) {
    HANDLE h = CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ,
                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        if (error) *error = SystemErrorText(GetLastError());
        return nullptr;
    }
    // A device (NUL, CON, COM1) or a pipe is no file of the game's.
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(h);
        if (error) *error = "not a regular file";
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(h), _O_RDONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(h);
        if (error) *error = "no file descriptor left";
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "rb");
    if (!file) {
        _close(fd);
        if (error) *error = "no stream left";
    }
    return file;
}

TQuietStderr::TQuietStderr() {
    std::fflush(stderr);
    saved_ = _dup(2);
    const int null = _open("NUL", _O_WRONLY);
    if (saved_ >= 0 && null >= 0) _dup2(null, 2);
    if (null >= 0) _close(null);
}

TQuietStderr::~TQuietStderr() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    _dup2(saved_, 2);
    _close(saved_);
}
