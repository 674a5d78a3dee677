// The libFuzzer entry of one fuzzer program; VO_FUZZ_TARGET names the target function.
#include "FuzzTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return VO_FUZZ_TARGET(data, size);
}
