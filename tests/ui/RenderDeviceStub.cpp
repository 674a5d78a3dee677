// Stand-in for the render device while its implementation is not in the tree: an uninitialised
// device whose draw calls all fail, as the real one's do before InitDevice. Built into the tests
// only when render/RenderDevice.cpp is missing.
#include "render/RenderDevice.h"

struct TRenderDevice::TImpl {};

TRenderDevice::TRenderDevice() = default;
TRenderDevice::~TRenderDevice() = default;
bool TRenderDevice::Initialized() const {
    return false;
}
IGfxDevice* TRenderDevice::Device() const {
    return nullptr;
}
bool TRenderDevice::DrawImage(TPatternImage*, int32_t, int32_t, int32_t, uint32_t) {
    return false;
}
bool TRenderDevice::DrawImageCol(TPatternImage*, int32_t, int32_t, uint32_t, int32_t, uint32_t) {
    return false;
}
bool TRenderDevice::DrawImageScaled(TPatternImage*, int32_t, int32_t, int32_t, uint32_t, int32_t,
                                    uint32_t) {
    return false;
}
bool TRenderDevice::DrawRotated(TPatternImage*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                uint32_t) {
    return false;
}
bool TRenderDevice::DrawRotatedCol(TPatternImage*, int32_t, int32_t, int32_t, int32_t, uint32_t,
                                   int32_t, uint32_t) {
    return false;
}
