#pragma once
// "Log.txt": one line per event, time of day + " -=- " + message. Created anew at each start; every
// line is appended with its own open, write, flush and close, so a crash keeps what was logged.
// A line that cannot be written is dropped: logging never stops the game. The file is never
// opened through a symlink, and anything but a regular file in its place (a FIFO, a device, a
// folder) is not written; an empty file name logs nothing. It stays under a cap: a line that
// would take it past the cap first drops the older half of the lines after the start's two
// (replaced in one step), with a line that says so.
#include <cstddef>
#include <functional>
#include <string>

class TLog {
public:
    static constexpr size_t kCap = size_t{1} << 20; // bytes

    // Truncates the file and writes "Program started" and an empty line.
    bool Start(const std::string& file);
    bool Line(const std::string& message);
    const std::string& File() const { return file_; }
    // The cap in bytes (tests use small ones).
    void SetCap(size_t bytes) { cap_ = bytes; }

    // Sees every message as it is logged (tests, stderr echo).
    std::function<void(const std::string& message)> Observer;

private:
    bool Append(const std::string& text);
    void DropOlderHalf();
    std::string file_ = "Log.txt";
    size_t cap_ = kCap;
    size_t written_ = 0; // bytes in the file since Start, as this program wrote them
};

extern TLog Log;
