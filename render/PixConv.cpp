#include "render/PixConv.h"

#include "platform/GfxTypes.h"

#include <cstring>

std::string PixConvLibraryName = "PixConv.dll";

namespace {

// An 8-bit channel narrowed to `bits` bits, rounded.
constexpr uint32_t Narrow(uint32_t v, int bits) {
    const uint32_t max = (1u << bits) - 1;
    return (v * max + 127) / 255;
}

struct TPixel {
    uint32_t B, G, R, A;
};

TPixel PixelAt(const void* source, int32_t i) {
    const auto* p = static_cast<const uint8_t*>(source) + size_t(i) * 4;
    return {p[0], p[1], p[2], p[3]};
}

void Put16(void* dest, int32_t i, uint32_t texel) {
    const uint16_t v = uint16_t(texel);
    std::memcpy(static_cast<uint8_t*>(dest) + size_t(i) * 2, &v, 2);
}

} // namespace

void pconvLine24to24(const void* source, void* dest, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const TPixel p = PixelAt(source, i);
        const uint32_t texel = 0xFF000000u | p.R << 16 | p.G << 8 | p.B;
        std::memcpy(static_cast<uint8_t*>(dest) + size_t(i) * 4, &texel, 4);
    }
}

void pconvLine24to16(const void* source, void* dest, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const TPixel p = PixelAt(source, i);
        Put16(dest, i, Narrow(p.R, 5) << 11 | Narrow(p.G, 6) << 5 | Narrow(p.B, 5));
    }
}

void pconvLine24to15(const void* source, void* dest, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const TPixel p = PixelAt(source, i);
        Put16(dest, i, Narrow(p.R, 5) << 10 | Narrow(p.G, 5) << 5 | Narrow(p.B, 5));
    }
}

void pconvLine24to12(const void* source, void* dest, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const TPixel p = PixelAt(source, i);
        Put16(dest, i, Narrow(p.R, 4) << 8 | Narrow(p.G, 4) << 4 | Narrow(p.B, 4));
    }
}

void pconvLine24to8(const void* source, void* dest, int32_t count) {
    auto* d = static_cast<uint8_t*>(dest);
    for (int32_t i = 0; i < count; ++i) {
        const TPixel p = PixelAt(source, i);
        d[i] = uint8_t(Narrow(p.R, 3) << 5 | Narrow(p.G, 3) << 2 | Narrow(p.B, 2));
    }
}

void pconvLine32to15(const void* source, void* dest, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const TPixel p = PixelAt(source, i);
        Put16(dest, i,
              Narrow(p.A, 1) << 15 | Narrow(p.R, 5) << 10 | Narrow(p.G, 5) << 5 | Narrow(p.B, 5));
    }
}

void pconvLine32to12(const void* source, void* dest, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const TPixel p = PixelAt(source, i);
        Put16(dest, i,
              Narrow(p.A, 4) << 12 | Narrow(p.R, 4) << 8 | Narrow(p.G, 4) << 4 | Narrow(p.B, 4));
    }
}

void pconvLine32to8(const void* source, void* dest, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const TPixel p = PixelAt(source, i);
        Put16(dest, i, p.A << 8 | Narrow(p.R, 3) << 5 | Narrow(p.G, 3) << 2 | Narrow(p.B, 2));
    }
}

void pconvLineCopy32(const void* source, void* dest, int32_t count) {
    if (count > 0) std::memcpy(dest, source, size_t(count) * 4);
}

TPixConvLine PixConvForFormat(int32_t format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
        return pconvLineCopy32;
    case D3DFMT_X8R8G8B8:
        return pconvLine24to24;
    case D3DFMT_R5G6B5:
        return pconvLine24to16;
    case D3DFMT_X1R5G5B5:
        return pconvLine24to15;
    case D3DFMT_A1R5G5B5:
        return pconvLine32to15;
    case D3DFMT_A4R4G4B4:
        return pconvLine32to12;
    case D3DFMT_R3G3B2:
        return pconvLine24to8;
    case D3DFMT_A8R3G3B2:
        return pconvLine32to8;
    case D3DFMT_X4R4G4B4:
        return pconvLine24to12;
    default:
        return nullptr;
    }
}

bool LoadPixConv() {
    return true;
}
