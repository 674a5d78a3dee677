#include "platform/GfxSdlDraw.h"

#include "platform/GfxSdlFormats.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

using gfxsdl::SameColour;

bool SameVertex(const SDL_Vertex& a, const SDL_Vertex& b) {
    return a.position.x == b.position.x && a.position.y == b.position.y &&
           a.tex_coord.x == b.tex_coord.x && a.tex_coord.y == b.tex_coord.y &&
           SameColour(a.color, b.color);
}

// A texture coordinate as a whole texel edge, when it is one.
bool TexelEdge(float coordinate, int size, int& edge) {
    const float at = coordinate * float(size);
    edge = int(std::lround(at));
    return std::fabs(at - float(edge)) < 1e-3f;
}

} // namespace

namespace gfxsdl {

bool AsRectQuad(const SDL_Vertex* v, const int* first, const int* second, int textureWidth,
                int textureHeight, TRectQuad& quad) {
    const SDL_Vertex &a = v[first[0]], &b = v[first[1]], &c = v[first[2]];
    const SDL_Vertex* d = nullptr;
    int shared = 0;
    for (int i = 0; i < 3; ++i) {
        const SDL_Vertex& w = v[second[i]];
        if (SameVertex(w, b) || SameVertex(w, c))
            ++shared;
        else
            d = &w;
    }
    if (shared != 2 || !d) return false;
    const auto [ax, ay] = a.position;
    const auto [dx, dy] = d->position;
    if (ax == dx || ay == dy) return false;
    const bool bcAcross =
        b.position.x == ax && b.position.y == dy && c.position.x == dx && c.position.y == ay;
    const bool bcAlong =
        b.position.x == dx && b.position.y == ay && c.position.x == ax && c.position.y == dy;
    if (!bcAcross && !bcAlong) return false;
    // Texture coordinates: u follows x, v follows y.
    for (const SDL_Vertex* w : {&b, &c}) {
        const float u = w->position.x == ax ? a.tex_coord.x : d->tex_coord.x;
        const float tv = w->position.y == ay ? a.tex_coord.y : d->tex_coord.y;
        if (w->tex_coord.x != u || w->tex_coord.y != tv) return false;
    }
    if (!SameColour(a.color, b.color) || !SameColour(a.color, c.color) ||
        !SameColour(a.color, d->color))
        return false;
    const bool aLeft = ax < dx, aTop = ay < dy;
    const float uLeft = aLeft ? a.tex_coord.x : d->tex_coord.x;
    const float uRight = aLeft ? d->tex_coord.x : a.tex_coord.x;
    const float vTop = aTop ? a.tex_coord.y : d->tex_coord.y;
    const float vBottom = aTop ? d->tex_coord.y : a.tex_coord.y;
    int sx0, sx1, sy0, sy1;
    if (!TexelEdge(std::min(uLeft, uRight), textureWidth, sx0) ||
        !TexelEdge(std::max(uLeft, uRight), textureWidth, sx1) ||
        !TexelEdge(std::min(vTop, vBottom), textureHeight, sy0) ||
        !TexelEdge(std::max(vTop, vBottom), textureHeight, sy1) || sx1 <= sx0 || sy1 <= sy0)
        return false;
    quad.Src = {sx0, sy0, sx1 - sx0, sy1 - sy0};
    quad.Dst = {std::min(ax, dx), std::min(ay, dy), std::fabs(dx - ax), std::fabs(dy - ay)};
    quad.Flip =
        (uLeft > uRight ? SDL_FLIP_HORIZONTAL : 0) | (vTop > vBottom ? SDL_FLIP_VERTICAL : 0);
    quad.Colour = a.color;
    return true;
}

SDL_Rect FitCentred(int w, int h, int aw, int ah) {
    if (w <= 0 || h <= 0 || aw <= 0 || ah <= 0) return {0, 0, aw, ah};
    int fw = aw, fh = int(int64_t{aw} * h / w);
    if (fh > ah) {
        fh = ah;
        fw = int(int64_t{ah} * w / h);
    }
    return {(aw - fw) / 2, (ah - fh) / 2, fw, fh};
}

bool SameDraw(const TSdlDraw& a, const TSdlDraw& b) {
    static_assert(sizeof(SDL_Vertex) == 20, "vertices are compared bytewise");
    return a.Generation == b.Generation && a.AlphaBlend == b.AlphaBlend &&
           a.SrcBlend == b.SrcBlend && a.DestBlend == b.DestBlend && a.Scale == b.Scale &&
           SDL_RectEquals(&a.Clip, &b.Clip) && a.Count == b.Count &&
           std::memcmp(a.Vertices.data(), b.Vertices.data(),
                       sizeof(SDL_Vertex) * size_t(a.Count)) == 0;
}

TPixelRect PixelRectOf(const SDL_Rect& r) {
    return {r.x, r.y, r.x + r.w, r.y + r.h};
}

TDrawExtent ExtentOf(const TSdlDraw& d) {
    TDrawExtent e;
    const TPixelRect clip = PixelRectOf(d.Clip);
    static constexpr int kIndices[6] = {0, 1, 2, 3, 4, 5};
    TRectQuad quad;
    if (d.Texture && d.Count == 6 &&
        AsRectQuad(d.Vertices.data(), kIndices, kIndices + 3, int(d.Texture->Width()),
                   int(d.Texture->Height()), quad) &&
        quad.Dst.w == float(quad.Src.w) && quad.Dst.h == float(quad.Src.h) &&
        quad.Dst.x == std::floor(quad.Dst.x) && quad.Dst.y == std::floor(quad.Dst.y)) {
        const int x = int(quad.Dst.x), y = int(quad.Dst.y);
        e.Box = Intersection({x, y, x + quad.Src.w, y + quad.Src.h}, clip);
        e.ClipSafe = true;
        return e;
    }
    float x0 = d.Vertices[0].position.x, x1 = x0, y0 = d.Vertices[0].position.y, y1 = y0;
    for (int i = 1; i < d.Count; ++i) {
        x0 = std::min(x0, d.Vertices[size_t(i)].position.x);
        x1 = std::max(x1, d.Vertices[size_t(i)].position.x);
        y0 = std::min(y0, d.Vertices[size_t(i)].position.y);
        y1 = std::max(y1, d.Vertices[size_t(i)].position.y);
    }
    // A pixel more on each side for the filter's reach and the rasteriser's rounding.
    const auto lo = [](float v) {
        return std::isfinite(v) ? int(std::clamp(std::floor(v), -1e6f, 1e6f)) - 1 : -1000000;
    };
    const auto hi = [](float v) {
        return std::isfinite(v) ? int(std::clamp(std::ceil(v), -1e6f, 1e6f)) + 1 : 1000000;
    };
    e.Box = Intersection({lo(x0), lo(y0), hi(x1), hi(y1)}, clip);
    return e;
}

} // namespace gfxsdl
