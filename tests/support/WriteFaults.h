#pragma once
// Write faults for tests: the next WriteFileAtomically fails at one of its steps with a chosen
// errno, as a read-only or full folder would, whoever runs the test.
struct TWriteFault {
    enum TStage { None, Create, Write, Flush, Rename } Stage = None;
    int Error = 0;
};

// Arms `fault` for the next write, which uses it once; TWriteFault{} disarms.
void InjectWriteFault(TWriteFault fault);
