#include "platform/Paths.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace paths {
namespace {

std::string overrideDataDir;

std::string HomeDir() {
    const char* home = std::getenv("HOME");
    return home && *home ? home : ".";
}

std::string XdgDir(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    const std::string base = value && *value ? std::string(value) : HomeDir() + "/" + fallback;
    return base + "/velm-orra";
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
        const std::string exe = ExecutableDir();
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

bool EnterUserDataDir(std::string* error) {
    const std::string dir = XdgDir("XDG_DATA_HOME", ".local/share");
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
    return XdgDir("XDG_CONFIG_HOME", ".config");
}

} // namespace paths
