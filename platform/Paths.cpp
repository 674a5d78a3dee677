#include "platform/Paths.h"

#include "platform/HostDirs.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace paths {
namespace {

std::string overrideDataDir;

struct TUserDirs {
    std::string Data, Config;
};

const TUserDirs& UserDirs() {
    static const TUserDirs dirs = [] {
        TUserDirs found;
        host::FindUserDirs(found.Data, found.Config);
        return found;
    }();
    return dirs;
}

} // namespace

std::string ExecutableDir() {
    return host::ExecutableDir();
}

std::string DataDir() {
    if (!overrideDataDir.empty()) return overrideDataDir;
    static const std::string dir = [] {
        std::string exe = ExecutableDir();
        std::error_code ec;
        if (fs::exists(exe + "/strings.txt", ec)) return exe;
        const fs::path installed = fs::path(exe) / ".." / "share" / "velm-orra";
        if (fs::exists(installed / "strings.txt", ec))
            return fs::weakly_canonical(installed, ec).string();
        return exe;
    }();
    return dir;
}

void SetDataDir(const std::string& dir) {
    overrideDataDir = dir;
}

std::string DataPath(const std::string& name) {
    std::string n = name;
    for (char& c : n)
        if (c == '\\') c = '/';
    if (!n.empty() && n[0] == '/') return n;
    while (n.rfind("./", 0) == 0) n.erase(0, 2);
    return DataDir() + "/" + n;
}

std::string UserDirFrom(const std::string& xdgValue, const std::string& home,
                        const std::string& fallback) {
    if (!xdgValue.empty() && xdgValue[0] == '/') return xdgValue + "/velm-orra";
    if (home.empty() || home[0] != '/') return {};
    return home + "/" + fallback + "/velm-orra";
}

bool IsInsideDataDir(const std::string& name) {
    std::string n = name;
    for (char& c : n)
        if (c == '\\') c = '/';
    if (n.empty() || n[0] == '/') return false;
    for (const auto& part : fs::path(n))
        if (part == "..") return false;
    return true;
}

void SettleUserDirs() {
    UserDirs();
}

std::string UserDataDir() {
    return UserDirs().Data;
}

bool EnterUserDataDir(std::string* error) {
    const std::string dir = UserDataDir();
    if (dir.empty()) {
        if (error) *error = host::NoUserDirsReason();
        return false;
    }
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (!ec) fs::current_path(dir, ec);
    if (ec) {
        if (error) *error = "cannot use " + dir + ": " + ec.message();
        return false;
    }
    return true;
}

std::string UserConfigDir() {
    return UserDirs().Config;
}

bool CanKeepUserFiles(const std::string& dir, std::string* error) {
    const auto fail = [error](const std::string& reason) {
        if (error) *error = reason;
        return false;
    };
    if (dir.empty()) return fail(host::NoUserDirsReason());
    std::error_code ec;
    fs::create_directories(dir, ec);
    if (ec) return fail("the folder " + dir + " cannot be created (" + ec.message() + ")");
    if (!fs::is_directory(dir, ec)) return fail(dir + " is not a folder");
    std::string why;
    if (!host::FolderWritable(dir, &why))
        return fail("the folder " + dir + " cannot be written (" + why + ")");
    return true;
}

} // namespace paths
