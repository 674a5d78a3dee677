#include "platform/LogFile.h"

#include "platform/Utf16.h"

#include <algorithm>
#include <windows.h>

namespace {

// Opens the log for appending (with `truncate`, emptied first). A symlink or junction is opened
// as itself and refused, as is anything but a file on a disk (a device such as NUL, a pipe, a
// folder). INVALID_HANDLE_VALUE when it cannot be used.
HANDLE OpenLog(const std::string& file, bool truncate) {
    if (file.empty()) return INVALID_HANDLE_VALUE;
    const DWORD access = truncate ? GENERIC_WRITE : FILE_APPEND_DATA;
    HANDLE h = CreateFileW(
        WideFromUtf8(file).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (h == INVALID_HANDLE_VALUE) return h;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
        info.nNumberOfLinks > 1) {
        // Another hard link makes it some other file too: the log begins anew in its place
        // instead of writing through it.
        CloseHandle(h);
        const std::wstring wide = WideFromUtf8(file);
        if (!DeleteFileW(wide.c_str())) return INVALID_HANDLE_VALUE;
        h = CreateFileW(wide.c_str(), access,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, CREATE_NEW,
                        FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (h == INVALID_HANDLE_VALUE) return h;
    }
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ||
        info.nNumberOfLinks > 1 || (truncate && !SetEndOfFile(h))) {
        CloseHandle(h);
        return INVALID_HANDLE_VALUE;
    }
    return h;
}

} // namespace

bool StartLogFile(const std::string& file) {
    HANDLE h = OpenLog(file, true);
    if (h == INVALID_HANDLE_VALUE) return false;
    return CloseHandle(h) != 0;
}

bool AppendToLogFile(const std::string& file, const std::string& text) {
    HANDLE h = OpenLog(file, false);
    if (h == INVALID_HANDLE_VALUE) return false;
    size_t done = 0;
    bool written = true;
    while (done < text.size()) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1 << 20));
        if (!WriteFile(h, text.data() + done, chunk, &n, nullptr) || n == 0) {
            written = false;
            break;
        }
        done += n;
    }
    return CloseHandle(h) != 0 && written;
}
