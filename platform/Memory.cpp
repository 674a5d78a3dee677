#include "platform/Memory.h"

#include <cstdlib> // defines __GLIBC__ on glibc

#if defined(__GLIBC__)
#include <malloc.h>

namespace {
constexpr int kBigBlock = 1024 * 1024; // bytes; a 512 x 512 texture of four-byte texels is 1 MB
}
#endif

void KeepBigBlocksApart() {
#if defined(__GLIBC__)
    // A fixed threshold also stops glibc from raising it after the first big block is freed.
    mallopt(M_MMAP_THRESHOLD, kBigBlock);
#endif
}

void ReturnFreeMemory() {
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}
