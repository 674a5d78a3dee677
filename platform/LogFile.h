#pragma once
// Writing the program's log file: each text is appended with its own open, write and close, so
// that a crash keeps what was written. The file is never opened through a symlink, and anything
// but a regular file in its place (a FIFO, a device, a folder) is not written. In a browser each
// text also goes to the page's console, where the player's tools show it, file or not.

#include <string>

// Creates the file, or empties it; false when it cannot be used.
bool StartLogFile(const std::string& file);
// Appends `text` (whole lines); false when it could not be written whole.
bool AppendToLogFile(const std::string& file, const std::string& text);
