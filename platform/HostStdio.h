#pragma once
// C streams over the host's files, for libraries that read through them (SDL's RWops), and the
// process's standard error.
#include <cstdio>
#include <string>

// Opens `path` for reading when it is a regular file: a FIFO or a device in its place is refused
// at once instead of blocking the game or streaming without end. Null when missing or refused,
// with the reason in `error`.
std::FILE* OpenRegularFileForReading(const std::string& path, std::string* error);

// Sends the process's standard error nowhere while it lives. Sound libraries probing for a device
// (ALSA without a sound card) print lines there that say nothing the log does not.
class TQuietStderr {
public:
    TQuietStderr();
    ~TQuietStderr();
    TQuietStderr(const TQuietStderr&) = delete;
    TQuietStderr& operator=(const TQuietStderr&) = delete;

private:
    int saved_ = -1;
};
