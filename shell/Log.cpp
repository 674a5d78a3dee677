#include "shell/Log.h"

#include "platform/Files.h"
#include "platform/LogFile.h"

TLog Log;

bool TLog::Append(const std::string& text) {
    return AppendToLogFile(file_, text);
}

bool TLog::Start(const std::string& file) {
    file_ = file;
    StartLogFile(file_);
    if (Observer) Observer("Program started");
    return Append(TimeOfDayText() + " -=- Program started\n\n");
}

bool TLog::Line(const std::string& message) {
    if (Observer) Observer(message);
    return Append(TimeOfDayText() + " -=- " + message + "\n");
}
