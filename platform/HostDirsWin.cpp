#include "platform/HostDirs.h"

#include "platform/Utf16.h"

#include <shlobj.h>
#include <windows.h>

namespace paths::host {
namespace {

// "X:\…" or "\\server\…": an absolute Windows path.
bool IsAbsolute(const std::wstring& path) {
    return (path.size() >= 3 && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) ||
           (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\');
}

// %APPDATA% when set and absolute, else the account's roaming application-data folder.
std::wstring RoamingAppData() {
    wchar_t buffer[32768];
    const DWORD n = GetEnvironmentVariableW(L"APPDATA", buffer, 32768);
    if (n > 0 && n < 32768 && IsAbsolute(buffer)) return buffer;
    std::wstring known;
    PWSTR path = nullptr;
    if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DEFAULT, nullptr, &path) == S_OK &&
        path && IsAbsolute(path))
        known = path;
    CoTaskMemFree(path);
    return known;
}

} // namespace

std::string ExecutableDir() {
    std::wstring path(32768, L'\0');
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    path.resize(n < path.size() ? n : 0);
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return ".";
    return Utf8FromWide(path.substr(0, slash));
}

void FindUserDirs(std::string& data, std::string& config) {
    std::wstring base = RoamingAppData();
    while (base.size() > 3 && (base.back() == L'\\' || base.back() == L'/')) base.pop_back();
    data = base.empty() ? std::string() : Utf8FromWide(base) + "\\velm-orra";
    config = data;
}

std::string NoUserDirsReason() {
    return "Windows names no application-data folder (APPDATA is unset or relative)";
}

// Windows decides by access lists at each write: a folder that exists is taken as writable, and
// a save that is refused is reported as it happens.
bool FolderWritable(const std::string&, std::string*) {
    return true;
}

} // namespace paths::host
