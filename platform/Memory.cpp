#include "platform/Memory.h"

#include <atomic>
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

namespace {

// Enough for unwinding, the log's lines and the message after a shortage.
constexpr size_t kReserveBytes = size_t{4} << 20;
std::atomic<void*> reserve{nullptr};
std::atomic<bool> ranShort{false};

} // namespace

void HoldMemoryReserve() {
    if (!reserve.load()) reserve.store(std::malloc(kReserveBytes));
}

void NoteMemoryShort() {
    ranShort.store(true);
    std::free(reserve.exchange(nullptr));
}

bool MemoryRanShort() {
    return ranShort.load();
}

bool MemoryAvailable(size_t bytes) {
    void* probe = std::malloc(bytes);
    std::free(probe);
    return probe != nullptr;
}

void* ShortOfMemoryMalloc(size_t bytes) {
    void* block = std::malloc(bytes);
    if (block || bytes == 0) return block;
    NoteMemoryShort();
    return std::malloc(bytes);
}

void* ShortOfMemoryCalloc(size_t count, size_t bytes) {
    void* block = std::calloc(count, bytes);
    if (block || count == 0 || bytes == 0) return block;
    NoteMemoryShort();
    return std::calloc(count, bytes);
}

void* ShortOfMemoryRealloc(void* block, size_t bytes) {
    void* moved = std::realloc(block, bytes);
    if (moved || bytes == 0) return moved;
    NoteMemoryShort();
    return std::realloc(block, bytes);
}
