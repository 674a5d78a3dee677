#include "tests/support/WriteFaults.h"

#include "platform/Files.h"

#include <filesystem>
#include <unistd.h>
#include <utility>

namespace {

TWriteFault pending; // for the next write it aims at
TWriteFault current; // of the write in progress

std::vector<std::string>* recorded = nullptr;
bool recording = false;
int stepsDone = 0;
int stopAfter = -1;

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

void Record(TWriteStage stage, const std::string& file) {
    if (!recording || stage == TWriteStage::Begin) return;
    if (stopAfter >= 0 && stepsDone == stopAfter) _exit(0);
    ++stepsDone;
    static const char* const names[] = {"begin", "create", "write",
                                        "flush", "rename", "sync folder of"};
    if (recorded)
        recorded->push_back(std::string(names[static_cast<int>(stage)]) + " " +
                            std::filesystem::path(file).filename().string());
}

int Stage(TWriteStage stage, const std::string& file) {
    Record(stage, file);
    if (stage == TWriteStage::Begin) {
        current = TWriteFault{};
        if (pending.Stage != TWriteFault::None &&
            (pending.File.empty() || EndsWith(file, pending.File)))
            current = std::exchange(pending, TWriteFault{});
        return 0;
    }
    const TWriteFault::TStage wanted = stage == TWriteStage::Create   ? TWriteFault::Create
                                       : stage == TWriteStage::Write  ? TWriteFault::Write
                                       : stage == TWriteStage::Flush  ? TWriteFault::Flush
                                       : stage == TWriteStage::Rename ? TWriteFault::Rename
                                                                      : TWriteFault::None;
    return wanted != TWriteFault::None && current.Stage == wanted ? current.Error : 0;
}

} // namespace

void InjectWriteFault(TWriteFault fault) {
    SetWriteStageHook(&Stage);
    pending = std::move(fault);
}

void RecordWriteSteps(std::vector<std::string>* steps, int stop) {
    SetWriteStageHook(&Stage);
    recorded = steps;
    recording = true;
    stepsDone = 0;
    stopAfter = stop;
}
