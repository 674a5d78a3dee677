#include "platform/FileRange.h"

#include "platform/Utf16.h"

#include <algorithm>
#include <windows.h>

bool ReadFileRange(const std::string& file, uint64_t offset, size_t size,
                   std::vector<uint8_t>& bytes, std::string* error, uint64_t* fileSize) {
    bytes.clear();
    HANDLE h = INVALID_HANDLE_VALUE;
    auto fail = [&](const std::string& why) {
        if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
        if (error) *error = file + ": " + why;
        bytes.clear();
        return false;
    };
    h = CreateFileW(WideFromUtf8(file).c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return fail(SystemErrorText(GetLastError()));
    // A file on a disk: not a device (NUL, CON, COM1) or a pipe.
    BY_HANDLE_FILE_INFORMATION info{};
    LARGE_INTEGER length{};
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !GetFileSizeEx(h, &length))
        return fail("not a regular file");
    const auto total = static_cast<uint64_t>(length.QuadPart);
    if (fileSize) *fileSize = total;
    if (offset > total || size > total - offset)
        return fail("ends before byte " + std::to_string(offset + size));
    bytes.resize(size);
    size_t done = 0;
    while (done < size) {
        // The position goes with each read, so that no shared file pointer moves.
        OVERLAPPED at{};
        const uint64_t position = offset + done;
        at.Offset = static_cast<DWORD>(position);
        at.OffsetHigh = static_cast<DWORD>(position >> 32);
        const auto chunk = static_cast<DWORD>(std::min<size_t>(size - done, 1 << 24));
        DWORD n = 0;
        if (!ReadFile(h, bytes.data() + done, chunk, &n, &at))
            return fail("read error: " + SystemErrorText(GetLastError()));
        if (n == 0) return fail("ends before byte " + std::to_string(offset + size));
        done += n;
    }
    CloseHandle(h);
    return true;
}
