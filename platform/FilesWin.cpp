#include "platform/Files.h"

#include "platform/Utf16.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>
#include <windows.h>

namespace {

// What Windows says about the last failure.
std::string LastError() {
    return SystemErrorText(GetLastError());
}

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

// A file on a disk: not a folder, a device (NUL, CON, COM1) or a pipe.
bool IsDiskFile(HANDLE h) {
    BY_HANDLE_FILE_INFORMATION info{};
    return GetFileType(h) == FILE_TYPE_DISK && GetFileInformationByHandle(h, &info) &&
           !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

TWriteStageHook stageHook = nullptr;

// The errno the hook makes `stage` of writing `file` fail with; 0 when it goes ahead.
int Fault(TWriteStage stage, const std::string& file) {
    return stageHook ? stageHook(stage, file) : 0;
}

} // namespace

bool ReadFileBytes(const std::string& file, std::vector<uint8_t>& bytes, std::string* error,
                   size_t limit, bool followSymlinks) {
    bytes.clear();
    auto fail = [&](const std::string& why) {
        if (error) *error = file + ": " + why;
        bytes.clear();
        return false;
    };
    // Symlinks are followed, as on other hosts, unless refused: then a link is opened as itself
    // and turned away. A folder does not open as a file.
    const DWORD flags =
        FILE_ATTRIBUTE_NORMAL | (followSymlinks ? DWORD{0} : DWORD{FILE_FLAG_OPEN_REPARSE_POINT});
    HANDLE h = CreateFileW(WideFromUtf8(file).c_str(), GENERIC_READ, kShareAll, nullptr,
                           OPEN_EXISTING, flags, nullptr);
    if (h == INVALID_HANDLE_VALUE) return fail(LastError());
    BY_HANDLE_FILE_INFORMATION info{};
    if (!followSymlinks && GetFileInformationByHandle(h, &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        CloseHandle(h);
        return fail("a symlink");
    }
    LARGE_INTEGER size{};
    if (!IsDiskFile(h) || !GetFileSizeEx(h, &size)) {
        CloseHandle(h);
        return fail("not a regular file");
    }
    if (static_cast<uint64_t>(size.QuadPart) > limit) {
        CloseHandle(h);
        return fail("larger than " + std::to_string(limit) + " bytes");
    }
    uint8_t buffer[8192];
    for (;;) {
        DWORD n = 0;
        if (!ReadFile(h, buffer, sizeof buffer, &n, nullptr)) {
            const std::string why = LastError();
            CloseHandle(h);
            return fail("read error: " + why);
        }
        if (n == 0) break;
        // The size may grow while it is read; the limit holds whatever the size said.
        if (bytes.size() + n > limit) {
            CloseHandle(h);
            return fail("larger than " + std::to_string(limit) + " bytes");
        }
        bytes.insert(bytes.end(), buffer, buffer + n);
    }
    CloseHandle(h);
    return true;
}

bool IsRegularFile(const std::string& file) {
    HANDLE h = CreateFileW(WideFromUtf8(file).c_str(), 0, kShareAll, nullptr, OPEN_EXISTING,
                           FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool regular = IsDiskFile(h);
    CloseHandle(h);
    return regular;
}

void SetWriteStageHook(TWriteStageHook hook) {
    stageHook = hook;
}

bool WriteFileAtomically(const std::string& file, const std::vector<uint8_t>& bytes,
                         std::string* error) {
    if (stageHook) stageHook(TWriteStage::Begin, file);
    const std::string temp = file + ".tmp";
    const std::wstring wideTemp = WideFromUtf8(temp);
    // The reason: the hook's errno, else Windows' own.
    auto why = [](int fault) { return fault ? std::string(std::strerror(fault)) : LastError(); };
    auto fail = [&](const std::string& what, int fault) {
        const std::string reason = why(fault);
        if (error) *error = what + ": " + reason;
        return false;
    };
    // Created afresh: a file or link already there (left by a killed run, or planted) is
    // removed, not followed, and the creation tried once more.
    auto create = [&] {
        return CreateFileW(wideTemp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    };
    const int createFault = Fault(TWriteStage::Create, file);
    HANDLE h = createFault ? INVALID_HANDLE_VALUE : create();
    if (h == INVALID_HANDLE_VALUE && !createFault && GetLastError() == ERROR_FILE_EXISTS &&
        DeleteFileW(wideTemp.c_str()))
        h = create();
    if (h == INVALID_HANDLE_VALUE) return fail("cannot create " + temp, createFault);
    auto abandon = [&](const std::string& what, int fault) {
        const std::string reason = why(fault);
        CloseHandle(h);
        DeleteFileW(wideTemp.c_str());
        if (error) *error = what + ": " + reason;
        return false;
    };
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1 << 20));
        const int writeFault = Fault(TWriteStage::Write, file);
        if (writeFault || !WriteFile(h, bytes.data() + done, chunk, &n, nullptr) || n == 0)
            return abandon("cannot write " + temp, writeFault);
        done += n;
    }
    const int flushFault = Fault(TWriteStage::Flush, file);
    if (flushFault || !FlushFileBuffers(h)) return abandon("cannot flush " + temp, flushFault);
    if (!CloseHandle(h)) {
        const std::string why = LastError();
        DeleteFileW(wideTemp.c_str());
        if (error) *error = "cannot close " + temp + ": " + why;
        return false;
    }
    // Write-through: the replacement is on the disk when the call returns.
    const int renameFault = Fault(TWriteStage::Rename, file);
    if (renameFault || !MoveFileExW(wideTemp.c_str(), WideFromUtf8(file).c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const std::string reason = why(renameFault);
        DeleteFileW(wideTemp.c_str());
        if (error) *error = "cannot replace " + file + ": " + reason;
        return false;
    }
    Fault(TWriteStage::SyncFolder, file); // write-through: nothing left to flush
    return true;
}

bool MoveFileAside(const std::string& file, const std::string& aside, std::string* error) {
    if (stageHook) stageHook(TWriteStage::Begin, aside);
    const int renameFault = Fault(TWriteStage::Rename, aside);
    if (renameFault || !MoveFileExW(WideFromUtf8(file).c_str(), WideFromUtf8(aside).c_str(),
                                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const std::string reason =
            renameFault ? std::string(std::strerror(renameFault)) : LastError();
        if (error) *error = "cannot rename " + file + ": " + reason;
        return false;
    }
    Fault(TWriteStage::SyncFolder, aside);
    return true;
}

void RemoveStaleTemporary(const std::string& file) {
    DeleteFileW(WideFromUtf8(file + ".tmp").c_str());
}

std::string TimeOfDayText() {
    SYSTEMTIME now{};
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", unsigned(now.wHour), unsigned(now.wMinute),
                  unsigned(now.wSecond));
    return text;
}
