#include "shell/Log.h"

#include "platform/Files.h"

#include <cstdio>

TLog Log;

bool TLog::Append(const std::string& text) {
    std::FILE* f = std::fopen(file_.c_str(), "ab");
    if (!f) return false;
    const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
    const bool flushed = std::fflush(f) == 0;
    return std::fclose(f) == 0 && written && flushed;
}

bool TLog::Start(const std::string& file) {
    file_ = file;
    if (std::FILE* f = std::fopen(file_.c_str(), "wb")) std::fclose(f);
    if (Observer) Observer("Program started");
    return Append(TimeOfDayText() + " -=- Program started\n\n");
}

bool TLog::Line(const std::string& message) {
    if (Observer) Observer(message);
    return Append(TimeOfDayText() + " -=- " + message + "\n");
}
