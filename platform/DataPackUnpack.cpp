#include "platform/DataPack.h"

#include <memory>
#include <zstd.h>

namespace {

// The frame header's descriptor byte follows the 4-byte magic number; bit 2 says that a checksum
// of the content ends the frame.
constexpr size_t kFrameDescriptorAt = 4;
constexpr uint8_t kFrameChecksumBit = 0x04;

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

// One decompression context per thread that reads, kept for its next member.
ZSTD_DCtx* ThreadContext() {
    struct TFree {
        void operator()(ZSTD_DCtx* c) const { ZSTD_freeDCtx(c); }
    };
    thread_local std::unique_ptr<ZSTD_DCtx, TFree> context(ZSTD_createDCtx());
    return context.get();
}

} // namespace

bool UnpackDataPackMember(const uint8_t* stored, size_t storedSize, size_t size,
                          std::vector<uint8_t>& out, std::string* error) {
    out.clear();
    const unsigned long long content = ZSTD_getFrameContentSize(stored, storedSize);
    if (content == ZSTD_CONTENTSIZE_ERROR || content == ZSTD_CONTENTSIZE_UNKNOWN ||
        storedSize <= kFrameDescriptorAt)
        return Fail(error, "not a compressed member");
    if (content != size)
        return Fail(error, "the member holds " + std::to_string(content) + " bytes, not " +
                               std::to_string(size));
    if (!(stored[kFrameDescriptorAt] & kFrameChecksumBit))
        return Fail(error, "the member carries no checksum");
    if (ZSTD_findFrameCompressedSize(stored, storedSize) != storedSize)
        return Fail(error, "the member's frame does not fill its stored bytes");
    ZSTD_DCtx* context = ThreadContext();
    if (!context) return Fail(error, "out of memory for decompressing");
    out.resize(size);
    const size_t n = ZSTD_decompressDCtx(context, out.data(), size, stored, storedSize);
    if (ZSTD_isError(n) || n != size) {
        out.clear();
        return Fail(error, std::string("the member is damaged (") +
                               (ZSTD_isError(n) ? ZSTD_getErrorName(n) : "short") + ")");
    }
    return true;
}
