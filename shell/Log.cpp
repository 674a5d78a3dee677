#include "shell/Log.h"

#include "platform/Files.h"
#include "platform/LogFile.h"

#include <algorithm>
#include <vector>

TLog Log;

namespace {

constexpr const char* kDropped = "Older lines were dropped to keep the log small";

} // namespace

bool TLog::Append(const std::string& text) {
    if (written_ + text.size() > cap_) DropOlderHalf();
    const bool ok = AppendToLogFile(file_, text);
    if (ok) written_ += text.size();
    return ok;
}

void TLog::DropOlderHalf() {
    std::vector<uint8_t> bytes;
    // What cannot be read is left to the appends, which refuse it as well.
    if (!ReadFileBytes(file_, bytes, nullptr, cap_ + cap_ / 2 + 4096, false)) {
        written_ = 0;
        return;
    }
    // The start's line and the empty one after it stay; of the rest, the newer half from a
    // line's start.
    auto head = bytes.begin();
    for (int n = 0; n < 2; ++n) {
        head = std::find(head, bytes.end(), uint8_t{'\n'});
        if (head != bytes.end()) ++head;
    }
    auto from = head + (bytes.end() - head) / 2;
    from = std::find(from, bytes.end(), uint8_t{'\n'});
    if (from != bytes.end()) ++from;
    std::vector<uint8_t> kept(bytes.begin(), head);
    const std::string note = TimeOfDayText() + " -=- " + kDropped + "\n";
    kept.insert(kept.end(), note.begin(), note.end());
    kept.insert(kept.end(), from, bytes.end());
    written_ = WriteFileAtomically(file_, kept, nullptr) ? kept.size() : 0;
}

bool TLog::Start(const std::string& file) {
    file_ = file;
    written_ = 0;
    StartLogFile(file_);
    if (Observer) Observer("Program started");
    return Append(TimeOfDayText() + " -=- Program started\n\n");
}

bool TLog::Line(const std::string& message) {
    if (Observer) Observer(message);
    return Append(TimeOfDayText() + " -=- " + message + "\n");
}
