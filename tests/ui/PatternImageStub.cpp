// Stand-in for the pattern sets while their implementation is not in the tree: nothing loads.
// Built into the tests only when render/PatternImage.cpp is missing.
#include "render/PatternImage.h"

int32_t TPatternImage::LoadFromFile(IGfxDevice*, const std::string&, int32_t, int32_t, int32_t,
                                    int32_t, int32_t, std::string*) {
    return -1;
}
int32_t TPatternImage::FreeTextures() {
    return 0;
}
