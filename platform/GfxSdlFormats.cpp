#include "platform/GfxSdlFormats.h"

#include "platform/Gfx.h"

#include <cstring>

int32_t GfxFormatBytes(int32_t format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
    case D3DFMT_X8R8G8B8:
        return 4;
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
    case D3DFMT_A4R4G4B4:
    case D3DFMT_A8R3G3B2:
    case D3DFMT_X4R4G4B4:
        return 2;
    case D3DFMT_R3G3B2:
    case D3DFMT_A8:
        return 1;
    default:
        return 0;
    }
}

namespace {

constexpr uint32_t kNoAlpha = 0;

struct TChannelMasks {
    uint32_t A, R, G, B;
};

TChannelMasks MasksOf(int32_t format) {
    switch (format) {
    case D3DFMT_A8R8G8B8:
        return {0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF};
    case D3DFMT_X8R8G8B8:
        return {kNoAlpha, 0x00FF0000, 0x0000FF00, 0x000000FF};
    case D3DFMT_R5G6B5:
        return {kNoAlpha, 0xF800, 0x07E0, 0x001F};
    case D3DFMT_X1R5G5B5:
        return {kNoAlpha, 0x7C00, 0x03E0, 0x001F};
    case D3DFMT_A1R5G5B5:
        return {0x8000, 0x7C00, 0x03E0, 0x001F};
    case D3DFMT_A4R4G4B4:
        return {0xF000, 0x0F00, 0x00F0, 0x000F};
    case D3DFMT_R3G3B2:
        return {kNoAlpha, 0xE0, 0x1C, 0x03};
    case D3DFMT_A8:
        return {0xFF, 0, 0, 0};
    case D3DFMT_A8R3G3B2:
        return {0xFF00, 0x00E0, 0x001C, 0x0003};
    case D3DFMT_X4R4G4B4:
        return {kNoAlpha, 0x0F00, 0x00F0, 0x000F};
    default:
        return {};
    }
}

// A channel of `mask` widened to 0..255 (the full range of the narrow field maps onto 0..255).
uint32_t Widen(uint32_t texel, uint32_t mask) {
    if (mask == 0) return 0;
    const int shift = __builtin_ctz(mask);
    const uint32_t max = mask >> shift;
    const uint32_t v = (texel & mask) >> shift;
    return (v * 255 + max / 2) / max;
}

} // namespace

namespace gfxsdl {

void ExpandToArgb(const uint8_t* src, int32_t pitch, uint32_t w, uint32_t h, int32_t format,
                  uint32_t* dst) {
    const int32_t bytes = GfxFormatBytes(format);
    const TChannelMasks m = MasksOf(format);
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* s = src + size_t(y) * size_t(pitch);
        uint32_t* d = dst + size_t(y) * w;
        for (uint32_t x = 0; x < w; ++x, s += bytes) {
            uint32_t texel = 0;
            std::memcpy(&texel, s, size_t(bytes)); // little-endian texels
            if (format == D3DFMT_A8R8G8B8) {
                d[x] = texel;
            } else if (format == D3DFMT_X8R8G8B8) {
                d[x] = texel | 0xFF000000u;
            } else {
                const uint32_t a = m.A ? Widen(texel, m.A) : 255;
                d[x] =
                    a << 24 | Widen(texel, m.R) << 16 | Widen(texel, m.G) << 8 | Widen(texel, m.B);
            }
        }
    }
}

int32_t FormatOfSdl(Uint32 sdlFormat) {
    switch (sdlFormat) {
    case SDL_PIXELFORMAT_ARGB8888:
        return D3DFMT_A8R8G8B8;
    case SDL_PIXELFORMAT_RGB888:
        return D3DFMT_X8R8G8B8;
    case SDL_PIXELFORMAT_RGB565:
        return D3DFMT_R5G6B5;
    case SDL_PIXELFORMAT_RGB555:
        return D3DFMT_X1R5G5B5;
    case SDL_PIXELFORMAT_ARGB1555:
        return D3DFMT_A1R5G5B5;
    case SDL_PIXELFORMAT_ARGB4444:
        return D3DFMT_A4R4G4B4;
    case SDL_PIXELFORMAT_RGB332:
        return D3DFMT_R3G3B2;
    case SDL_PIXELFORMAT_RGB444:
        return D3DFMT_X4R4G4B4;
    default:
        // Any other true-colour display format counts by its depth.
        if (SDL_BITSPERPIXEL(sdlFormat) >= 24) return D3DFMT_X8R8G8B8;
        if (SDL_BITSPERPIXEL(sdlFormat) == 16) return D3DFMT_R5G6B5;
        if (SDL_BITSPERPIXEL(sdlFormat) == 15) return D3DFMT_X1R5G5B5;
        return D3DFMT_UNKNOWN;
    }
}

SDL_BlendFactor SdlFactor(uint32_t d3dBlend, bool forAlpha) {
    switch (d3dBlend) {
    case D3DBLEND_ZERO:
        return SDL_BLENDFACTOR_ZERO;
    case D3DBLEND_ONE:
        return SDL_BLENDFACTOR_ONE;
    case D3DBLEND_SRCCOLOR:
        return forAlpha ? SDL_BLENDFACTOR_SRC_ALPHA : SDL_BLENDFACTOR_SRC_COLOR;
    case D3DBLEND_INVSRCCOLOR:
        return forAlpha ? SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA : SDL_BLENDFACTOR_ONE_MINUS_SRC_COLOR;
    case D3DBLEND_SRCALPHA:
        return SDL_BLENDFACTOR_SRC_ALPHA;
    case D3DBLEND_INVSRCALPHA:
        return SDL_BLENDFACTOR_ONE_MINUS_SRC_ALPHA;
    case D3DBLEND_DESTALPHA:
        return SDL_BLENDFACTOR_DST_ALPHA;
    case D3DBLEND_INVDESTALPHA:
        return SDL_BLENDFACTOR_ONE_MINUS_DST_ALPHA;
    case D3DBLEND_DESTCOLOR:
        return forAlpha ? SDL_BLENDFACTOR_DST_ALPHA : SDL_BLENDFACTOR_DST_COLOR;
    case D3DBLEND_INVDESTCOLOR:
        return forAlpha ? SDL_BLENDFACTOR_ONE_MINUS_DST_ALPHA : SDL_BLENDFACTOR_ONE_MINUS_DST_COLOR;
    default:
        return SDL_BLENDFACTOR_ONE;
    }
}

SDL_BlendMode NearestBuiltInBlend(uint32_t src, uint32_t dst) {
    if (dst == D3DBLEND_ONE) return SDL_BLENDMODE_ADD; // ONE/ONE, SRCALPHA/ONE, SRCCOLOR/ONE
    if (src == D3DBLEND_ZERO && dst == D3DBLEND_SRCCOLOR) return SDL_BLENDMODE_MOD;
    if (src == D3DBLEND_DESTCOLOR && dst == D3DBLEND_ZERO) return SDL_BLENDMODE_MOD;
    if (src == D3DBLEND_ONE && dst == D3DBLEND_ZERO) return SDL_BLENDMODE_NONE;
    return SDL_BLENDMODE_BLEND;
}

bool AllOpaque(const uint32_t* argb, size_t count) {
    uint32_t all = 0xFF000000u;
    for (size_t i = 0; i < count; ++i) all &= argb[i];
    return all == 0xFF000000u;
}

} // namespace gfxsdl
