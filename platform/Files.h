#pragma once
// Whole-file reading and crash-safe writing of the player's files, and the local time of day.
#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file; false when it does not exist or cannot be read.
bool ReadFileBytes(const std::string& file, std::vector<uint8_t>& bytes, std::string* error);
// Writes to "<file>.tmp", flushes it to disk and renames it over `file`, so that a failed or
// interrupted write leaves the old file intact. False (with the reason) on any failure.
bool WriteFileAtomically(const std::string& file, const std::vector<uint8_t>& bytes,
                         std::string* error);

// Test hook: makes the next WriteFileAtomically fail at `Stage` with errno `Error`, as a
// read-only or full folder would, whoever runs the test (permissions do not stop root). Used
// once, then cleared; the default fails nothing.
struct TWriteFault {
    enum TStage { None, Create, Write, Flush, Rename } Stage = None;
    int Error = 0;
};
void InjectWriteFault(TWriteFault fault);

// The local time of day, "HH:MM:SS".
std::string TimeOfDayText();
