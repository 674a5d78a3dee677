#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace paths {
namespace {

std::string overrideDataDir;

// An absolute folder from the environment; empty for unset, empty or relative values.
std::string AbsoluteVariable(const char* variable) {
    const char* value = std::getenv(variable);
    return value && value[0] == '/' ? std::string(value) : std::string();
}

// $HOME when absolute, else the account's home folder; empty when neither is known.
std::string HomeDir() {
    std::string home = AbsoluteVariable("HOME");
    if (!home.empty()) return home;
    char buffer[4096];
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found &&
        found->pw_dir && found->pw_dir[0] == '/')
        home = found->pw_dir;
    return home;
}

std::string XdgDir(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    return UserDirFrom(value ? value : "", HomeDir(), fallback);
}

struct TUserDirs {
    std::string Data, Config;
};

const TUserDirs& UserDirs() {
    static const TUserDirs dirs{XdgDir("XDG_DATA_HOME", ".local/share"),
                                XdgDir("XDG_CONFIG_HOME", ".config")};
    return dirs;
}

} // namespace

std::string ExecutableDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec).string();
    return exe.parent_path().string();
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
        if (error) *error = "no home folder (HOME and XDG_DATA_HOME are unset or relative)";
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

} // namespace paths
