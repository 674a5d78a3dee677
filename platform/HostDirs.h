#pragma once
// The host's own answers behind Paths.h: where the running program lies and where the player's
// files go. HostDirs.cpp is the Linux (XDG) variant; Windows and the browser have their own.
#include <string>

namespace paths::host {

// The folder of the running executable (absolute, no trailing separator).
std::string ExecutableDir();
// The game's folders for the player's data and configuration (absolute), read from the host at
// the call; both empty when the host offers none.
void FindUserDirs(std::string& data, std::string& config);
// Why FindUserDirs found nothing, for a message.
std::string NoUserDirsReason();
// False, with the reason, when the program may not create files in the existing folder `dir`.
bool FolderWritable(const std::string& dir, std::string* why);

} // namespace paths::host
