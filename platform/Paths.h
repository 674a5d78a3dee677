#pragma once
// Where the game finds its data and keeps the player's files. Game data (pictures, texts, sounds)
// is read from the executable's folder, or from ../share/velm-orra beside it when installed.
// "Config.bin" and "Log.txt" live in the working directory, which the program sets at start to
// $XDG_DATA_HOME/velm-orra/ (default ~/.local/share/velm-orra/).
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
// $XDG_DATA_HOME/velm-orra or ~/.local/share/velm-orra, created if missing; false (with the
// reason in `error`) if it cannot be created or entered.
bool EnterUserDataDir(std::string* error);
// $XDG_CONFIG_HOME/velm-orra or ~/.config/velm-orra (not created).
std::string UserConfigDir();

} // namespace paths
