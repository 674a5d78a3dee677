#pragma once
// The readers of every file the game takes from outside, each driven by one input buffer. The
// libFuzzer programs call them with generated inputs; the replay test calls them with the seed
// corpora and with every input that once broke a reader. A broken rule of a reader's result
// (a decoded value out of range, a picture that does not match its sizes) aborts with a message,
// which both the fuzzer and the test report as a failure.
#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>

using TFuzzTarget = int (*)(const uint8_t* data, size_t size);

int FuzzTga(const uint8_t* data, size_t size);
int FuzzJpeg(const uint8_t* data, size_t size);
int FuzzBmp(const uint8_t* data, size_t size);
int FuzzConfig(const uint8_t* data, size_t size);
int FuzzStrings(const uint8_t* data, size_t size);
int FuzzSounds(const uint8_t* data, size_t size);
int FuzzFont(const uint8_t* data, size_t size);
int FuzzRegistry(const uint8_t* data, size_t size);
int FuzzStats(const uint8_t* data, size_t size);
int FuzzExtra(const uint8_t* data, size_t size);
int FuzzPack(const uint8_t* data, size_t size);
int FuzzReplay(const uint8_t* data, size_t size);

struct TFuzzTargetInfo {
    const char* Name; // the corpus folder and the fuzzer program's suffix
    TFuzzTarget Run;
    friend void PrintTo(const TFuzzTargetInfo& t, std::ostream* os) { *os << t.Name; }
};

// Every target, in a fixed order.
extern const TFuzzTargetInfo FuzzTargetList[12];
