#include "platform/HostDirs.h"

#include "platform/Paths.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace paths::host {
namespace {

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

} // namespace

std::string ExecutableDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return fs::current_path(ec).string();
    return exe.parent_path().string();
}

void FindUserDirs(std::string& data, std::string& config) {
    data = XdgDir("XDG_DATA_HOME", ".local/share");
    config = XdgDir("XDG_CONFIG_HOME", ".config");
}

std::string NoUserDirsReason() {
    return "there is no home folder (HOME and XDG_DATA_HOME are unset or relative)";
}

bool FolderWritable(const std::string& dir, std::string* why) {
    if (::access(dir.c_str(), W_OK | X_OK) == 0) return true;
    if (why) *why = std::strerror(errno);
    return false;
}

} // namespace paths::host
