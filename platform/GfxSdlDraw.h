#pragma once
// A draw as the device keeps it until the scene ends: one or two triangles with their states, and
// where it may change pixels (compared with the last frame's draws, see FrameDamage.h).
#include "platform/FrameDamage.h"
#include "platform/GfxSdlTexture.h"

#include <SDL.h>

#include <array>
#include <cstdint>
#include <memory>

namespace gfxsdl {

// An axis-aligned textured rectangle drawn as two triangles: where it goes, which texels it
// shows (mirrored by Flip), in one colour.
struct TRectQuad {
    SDL_FRect Dst{};
    SDL_Rect Src{};
    int Flip = SDL_FLIP_NONE;
    SDL_Color Colour{};
};

// True when triangle (a, b, c) and a second triangle made of b, c and a fourth vertex d cover an
// axis-aligned rectangle with a and d at opposite corners, texture coordinates that follow the
// axes and fall on texel edges, and one colour.
bool AsRectQuad(const SDL_Vertex* v, const int* first, const int* second, int textureWidth,
                int textureHeight, TRectQuad& quad);

// Fits a w x h picture into an area of aw x ah, keeping its proportions, centred.
SDL_Rect FitCentred(int w, int h, int aw, int ah);

// One or two triangles as the renderer will draw them, with the states they were given.
struct TSdlDraw {
    std::shared_ptr<TSdlTexture> Texture; // null: filled with the vertex colours; kept for this
                                          // frame only
    uint64_t Generation = 0;              // the texture's texels (0 without one)
    uint32_t AlphaBlend = 0, SrcBlend = 0, DestBlend = 0; // the blend states
    SDL_ScaleMode Scale = SDL_ScaleModeNearest;
    SDL_Rect Clip{};
    std::array<SDL_Vertex, 6> Vertices{};
    int Count = 0; // 3 or 6 vertices, three a triangle
};

bool SameDraw(const TSdlDraw& a, const TSdlDraw& b);
TPixelRect PixelRectOf(const SDL_Rect& r);
// Where a draw may change pixels, and whether clipping leaves its pixels as they are: a copy of
// whole texels onto as many whole pixels is cut cleanly by any clip; a scaled or turned one may
// sample differently at a clipped edge.
TDrawExtent ExtentOf(const TSdlDraw& d);

} // namespace gfxsdl
