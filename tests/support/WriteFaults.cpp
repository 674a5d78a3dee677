#include "tests/support/WriteFaults.h"

#include "platform/Files.h"

#include <utility>

namespace {

TWriteFault pending; // for the next write it aims at
TWriteFault current; // of the write in progress

bool EndsWith(const std::string& s, const std::string& end) {
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

int Stage(TWriteStage stage, const std::string& file) {
    if (stage == TWriteStage::Begin) {
        current = TWriteFault{};
        if (pending.Stage != TWriteFault::None &&
            (pending.File.empty() || EndsWith(file, pending.File)))
            current = std::exchange(pending, TWriteFault{});
        return 0;
    }
    const TWriteFault::TStage wanted = stage == TWriteStage::Create  ? TWriteFault::Create
                                       : stage == TWriteStage::Write ? TWriteFault::Write
                                       : stage == TWriteStage::Flush ? TWriteFault::Flush
                                                                     : TWriteFault::Rename;
    return current.Stage == wanted ? current.Error : 0;
}

} // namespace

void InjectWriteFault(TWriteFault fault) {
    SetWriteStageHook(&Stage);
    pending = std::move(fault);
}
