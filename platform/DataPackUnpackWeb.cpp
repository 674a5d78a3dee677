#include "platform/DataPack.h"

// The page's data comes in the page's own package, never in a data pack: the browser build has no
// decompressor for members.
bool UnpackDataPackMember(const uint8_t*, size_t, size_t, std::vector<uint8_t>& out,
                          std::string* error) {
    out.clear();
    if (error) *error = "the browser build reads no packed files";
    return false;
}
