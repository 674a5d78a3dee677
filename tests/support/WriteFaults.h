#pragma once
// Write faults for tests: the next WriteFileAtomically (of a file whose path ends with `File`, of
// any file when that is empty) fails at one of its steps with a chosen errno, as a read-only or
// full folder would, whoever runs the test. And crash points: the steps of every write are
// recorded, and a process can be made to end right after its k-th step, as a kill would end it.
#include <string>
#include <vector>

struct TWriteFault {
    enum TStage { None, Create, Write, Flush, Rename } Stage = None;
    int Error = 0;
    std::string File;
};

// Arms `fault` for the next write it aims at, which uses it once; TWriteFault{} disarms.
void InjectWriteFault(TWriteFault fault);

// From now on every step of a write (create, write, flush, rename, folder sync; see TWriteStage)
// is appended to `steps` as "<step> <file name>" (null: no record). With `stopAfter` 0 or more,
// the process ends with _exit(0) right before step stopAfter + 1: nothing after step stopAfter
// happens, no destructor runs, and what is on disk stays as it is, a half-made temporary file
// included. For a forked child process only.
void RecordWriteSteps(std::vector<std::string>* steps, int stopAfter = -1);
