#pragma once
// Where the game finds its data and keeps the player's files. Game data (pictures, texts, sounds)
// is read from the executable's folder, or from ../share/velm-orra beside it when installed.
// On Linux "Config.bin" and "Log.txt" live in $XDG_DATA_HOME/velm-orra/ (default
// ~/.local/share/velm-orra/), the registry file in $XDG_CONFIG_HOME/velm-orra/ (default
// ~/.config/velm-orra/); empty or relative XDG values are ignored. On Windows all of them live
// in %APPDATA%\velm-orra\, in a browser in the page's persistent folder /velm-orra. Without
// such a folder nothing is kept, never in the working folder.
#include <string>

namespace paths {

// The folder of the running executable (absolute, no trailing slash).
std::string ExecutableDir();
// The game's data folder: the first of ExecutableDir() and ExecutableDir()/../share/velm-orra that
// holds "strings.txt"; ExecutableDir() when neither does.
std::string DataDir();
// Overrides DataDir() (tests).
void SetDataDir(const std::string& dir);
// A data file by its game-relative name: "\" becomes "/", a leading "./" or ".\" is dropped, and
// the name is placed under DataDir(). Absolute names are kept.
std::string DataPath(const std::string& name);
// True when `path`, as DataPath makes it, stays inside DataDir(): relative, no ".." part.
bool IsInsideDataDir(const std::string& name);

// The game's folder under an XDG base folder: "<xdgValue>/velm-orra" when the value is absolute,
// else "<home>/<fallback>/velm-orra"; empty when neither is absolute.
std::string UserDirFrom(const std::string& xdgValue, const std::string& home,
                        const std::string& fallback);
// Reads HOME and the XDG variables once and fixes the two user folders below (absolute). Call
// first thing in main, before the working folder changes; later calls change nothing.
void SettleUserDirs();
// The user's data and configuration folders of the game (absolute; empty when there is no
// usable home). Settled on first use when SettleUserDirs was not called.
std::string UserDataDir();
std::string UserConfigDir();
// Creates UserDataDir() if missing and enters it; false (with the reason in `error`) if it has
// no usable value or cannot be created or entered. The working folder is then left as it is.
bool EnterUserDataDir(std::string* error);
// Creates `dir` when missing; false, with the reason in `error`, when the player's files cannot
// be kept there (no folder, not creatable, not writable).
bool CanKeepUserFiles(const std::string& dir, std::string* error);

} // namespace paths
