#pragma once
// "Log.txt": one line per event, time of day + " -=- " + message. Created anew at each start; every
// line is appended with its own open, write, flush and close, so a crash keeps what was logged.
// A line that cannot be written is dropped: logging never stops the game. The file is never
// opened through a symlink, and anything but a regular file in its place (a FIFO, a device, a
// folder) is not written; an empty file name logs nothing.
#include <functional>
#include <string>

class TLog {
public:
    // Truncates the file and writes "Program started" and an empty line.
    bool Start(const std::string& file);
    bool Line(const std::string& message);
    const std::string& File() const { return file_; }

    // Sees every message as it is logged (tests, stderr echo).
    std::function<void(const std::string& message)> Observer;

private:
    bool Append(const std::string& text);
    std::string file_ = "Log.txt";
};

extern TLog Log;
