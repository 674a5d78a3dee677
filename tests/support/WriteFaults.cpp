#include "tests/support/WriteFaults.h"

#include "platform/Files.h"

namespace {

TWriteFault pending; // for the next write
TWriteFault current; // of the write in progress

int Stage(TWriteStage stage) {
    if (stage == TWriteStage::Begin) {
        current = pending;
        pending = TWriteFault{};
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
    pending = fault;
}
