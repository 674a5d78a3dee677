#pragma once
// The graphics layer's pixel formats and blend factors as SDL names them.
#include "platform/GfxTypes.h"

#include <SDL.h>

#include <cstddef>
#include <cstdint>

namespace gfxsdl {

// Converts w x h texels of `format` (rows `pitch` bytes apart) to ARGB8888 words.
void ExpandToArgb(const uint8_t* src, int32_t pitch, uint32_t w, uint32_t h, int32_t format,
                  uint32_t* dst);
// The format of an SDL display format; a true-colour one without its own counts by its depth.
int32_t FormatOfSdl(Uint32 sdlFormat);
// Every texel has full alpha.
bool AllOpaque(const uint32_t* argb, size_t count);

// The SDL factor of a blend state, for the colour channels or for alpha.
SDL_BlendFactor SdlFactor(uint32_t d3dBlend, bool forAlpha);
// The built-in SDL mode closest to a blend pair, for renderers without custom modes.
SDL_BlendMode NearestBuiltInBlend(uint32_t src, uint32_t dst);

inline bool SameColour(const SDL_Color& a, const SDL_Color& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

} // namespace gfxsdl
