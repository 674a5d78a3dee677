#pragma once
// Write faults for tests: the next WriteFileAtomically (of a file whose path ends with `File`, of
// any file when that is empty) fails at one of its steps with a chosen errno, as a read-only or
// full folder would, whoever runs the test.
#include <string>

struct TWriteFault {
    enum TStage { None, Create, Write, Flush, Rename } Stage = None;
    int Error = 0;
    std::string File;
};

// Arms `fault` for the next write it aims at, which uses it once; TWriteFault{} disarms.
void InjectWriteFault(TWriteFault fault);
