// The graphics layer over the SDL2 renderer.
//
// - Textures are "managed": each keeps a copy of its texels in its own format in system memory;
//   unlocking uploads the copy (expanded to ARGB8888), and a device reset re-uploads every copy.
// - Triangles go through SDL_RenderGeometry. Vertex positions get +0.5 because the API we stand
//   in for puts pixel centres on integer coordinates (the render device subtracts 0.5).
// - Stage-0 alpha: "texture alpha only" forces the vertex alpha to 255; "modulate" passes it.
// - Blend states become a custom SDL blend mode; a renderer that refuses custom modes (the
//   software renderer) gets the nearest built-in mode.
// - The viewport is the clip rectangle. In a window, the back buffer is a render-target texture
//   of the back-buffer size that Present scales to fit the window's output pixels (the real
//   pixel size on high-DPI displays), keeping its proportions, centred on black.
// - Offscreen, the software renderer draws into a memory surface; Present keeps a copy of it.
// - Draws are kept until the scene ends. The back buffer keeps the last frame, so only the parts
//   where this frame's draws differ from the last one's are drawn again (see FrameDamage.h), and
//   a frame that would look the same is neither drawn nor presented. A reset, or a window that
//   was resized or uncovered, gets the whole frame again.
#include "platform/FrameDamage.h"
#include "platform/Gfx.h"
#include "platform/HostScreen.h"
#include "platform/Memory.h"
#include "platform/TintedBlend.h"
#include "platform/Window.h"

#include <SDL.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

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

// Converts w x h texels of `format` (rows `pitch` bytes apart) to ARGB8888 words.
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

// The built-in SDL mode closest to a blend pair, for renderers without custom modes.
SDL_BlendMode NearestBuiltInBlend(uint32_t src, uint32_t dst) {
    if (dst == D3DBLEND_ONE) return SDL_BLENDMODE_ADD; // ONE/ONE, SRCALPHA/ONE, SRCCOLOR/ONE
    if (src == D3DBLEND_ZERO && dst == D3DBLEND_SRCCOLOR) return SDL_BLENDMODE_MOD;
    if (src == D3DBLEND_DESTCOLOR && dst == D3DBLEND_ZERO) return SDL_BLENDMODE_MOD;
    if (src == D3DBLEND_ONE && dst == D3DBLEND_ZERO) return SDL_BLENDMODE_NONE;
    return SDL_BLENDMODE_BLEND;
}

// An axis-aligned textured rectangle drawn as two triangles: where it goes, which texels it
// shows (mirrored by Flip), in one colour.
struct TRectQuad {
    SDL_FRect Dst{};
    SDL_Rect Src{};
    int Flip = SDL_FLIP_NONE;
    SDL_Color Colour{};
};

bool SameColour(const SDL_Color& a, const SDL_Color& b) {
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

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

// True when triangle (a, b, c) and a second triangle made of b, c and a fourth vertex d cover an
// axis-aligned rectangle with a and d at opposite corners, texture coordinates that follow the
// axes and fall on texel edges, and one colour.
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

class TSdlTexture;

bool AllOpaque(const uint32_t* argb, size_t count) {
    uint32_t all = 0xFF000000u;
    for (size_t i = 0; i < count; ++i) all &= argb[i];
    return all == 0xFF000000u;
}

// What the device's resources share: the renderer (null once the device is gone) and the live
// textures, so that a reset can re-upload them and the device's end can detach them.
struct TSdlContext {
    SDL_Renderer* Renderer = nullptr;
    std::vector<TSdlTexture*> Textures;
    // The renderer draws into a memory surface of ours: textures are made so that their texels
    // can be read (streaming textures of a software renderer are read in place).
    bool Software = false;
};

class TSdlTexture final : public IGfxTexture {
public:
    TSdlTexture(std::shared_ptr<TSdlContext> context, uint32_t width, uint32_t height,
                int32_t format)
        : context_(std::move(context)), width_(width), height_(height), format_(format),
          pitch_(int32_t(width) * GfxFormatBytes(format)), memory_(size_t(pitch_) * height, 0) {
        context_->Textures.push_back(this);
    }
    ~TSdlTexture() override {
        Detach();
        auto& list = context_->Textures;
        list.erase(std::remove(list.begin(), list.end(), this), list.end());
    }

    int32_t LockRect(uint32_t level, TGfxLockedRect& rect, uint32_t) override {
        if (level != 0 || locked_) return GFXERR_INVALIDCALL;
        if (memory_.empty()) {
            // The copy was dropped after the upload. While the renderer still holds the picture
            // a blank buffer would be uploaded over it at the unlock: the lock is refused. Once
            // the picture is gone with the renderer's texture, a blank buffer is the truth and
            // is handed out to be filled again.
            if (texture_ && uploaded_ && !contentsLost_) return GFXERR_INVALIDCALL;
            memory_.assign(size_t(pitch_) * height_, 0);
        }
        locked_ = true;
        rect.Pitch = pitch_;
        rect.Bits = memory_.data();
        return GFX_OK;
    }
    int32_t UnlockRect(uint32_t level) override {
        if (level != 0 || !locked_) return GFXERR_INVALIDCALL;
        locked_ = false;
        return Upload() ? GFX_OK : GFXERR_OUTOFVIDEOMEMORY;
    }
    uint32_t Width() const override { return width_; }
    uint32_t Height() const override { return height_; }
    int32_t Format() const override { return format_; }
    void DropSystemCopy() override {
        keepCopy_ = false;
        if (uploaded_ && !locked_) std::vector<uint8_t>().swap(memory_);
    }
    bool ContentsLost() const override { return contentsLost_; }

    // Makes the SDL texture when there is none; its texels stay unset until Upload.
    bool MakeHandle() {
        if (texture_ || !context_->Renderer) return true;
        texture_ = SDL_CreateTexture(context_->Renderer, SDL_PIXELFORMAT_ARGB8888,
                                     context_->Software ? SDL_TEXTUREACCESS_STREAMING
                                                        : SDL_TEXTUREACCESS_STATIC,
                                     int(width_), int(height_));
        blendMode_ = SDL_BLENDMODE_INVALID;
        modulation_ = {255, 255, 255, 255};
        uploaded_ = false;
        return texture_ != nullptr;
    }
    // Before drawing: a texture never unlocked since its handle was made gets its copy now.
    bool EnsureUploaded() { return uploaded_ || Upload(); }
    // Makes the SDL texture (if needed) and fills it from the system-memory copy. Without a copy
    // (dropped, and the handle made anew since) the texture stays blank and reports it.
    bool Upload() {
        if (!context_->Renderer) return true; // nothing to upload to; the copy stays
        if (!MakeHandle()) return false;
        if (memory_.empty()) {
            contentsLost_ = true;
            uploaded_ = true; // nothing better to show until the texels are written again
            return true;
        }
        if (format_ == D3DFMT_A8R8G8B8) { // already in the renderer's layout
            uploaded_ = SDL_UpdateTexture(texture_, nullptr, memory_.data(), pitch_) == 0;
            opaque_ = AllOpaque(reinterpret_cast<const uint32_t*>(memory_.data()),
                                size_t(width_) * height_);
        } else {
            std::vector<uint32_t> argb(size_t(width_) * height_);
            ExpandToArgb(memory_.data(), pitch_, width_, height_, format_, argb.data());
            uploaded_ = SDL_UpdateTexture(texture_, nullptr, argb.data(), int(width_ * 4)) == 0;
            opaque_ = AllOpaque(argb.data(), argb.size());
        }
        generation_ = ++uploads;
        if (uploaded_) {
            contentsLost_ = false;
            if (!keepCopy_) std::vector<uint8_t>().swap(memory_);
        }
        return uploaded_;
    }
    // Drops the SDL texture (device reset or end); the copy stays for a later upload.
    void Detach() {
        if (texture_ && context_->Renderer) SDL_DestroyTexture(texture_);
        texture_ = nullptr;
        uploaded_ = false;
    }
    SDL_Texture* Handle() const { return texture_; }
    // Names the texels as they are now: unique to this texture and its last upload, so that a
    // draw can be compared with one of the last frame even after that texture is gone.
    uint64_t Generation() const { return generation_; }
    // Every texel has full alpha: blending it in at full vertex alpha only copies it.
    bool Opaque() const { return opaque_; }
    SDL_BlendMode BlendMode() const { return blendMode_; }
    // The colour rectangle copies are multiplied with (white for triangles, which carry their
    // colour in the vertices).
    void SetModulation(const SDL_Color& colour) {
        if (SameColour(colour, modulation_)) return;
        SDL_SetTextureColorMod(texture_, colour.r, colour.g, colour.b);
        SDL_SetTextureAlphaMod(texture_, colour.a);
        modulation_ = colour;
    }
    // Changes the texture's blend and scale modes only when they differ; false when the
    // renderer refuses the blend mode.
    bool Prepare(SDL_BlendMode blend, SDL_ScaleMode scale) {
        if (blend != blendMode_) {
            if (SDL_SetTextureBlendMode(texture_, blend) != 0) return false;
            blendMode_ = blend;
        }
        SetScale(scale);
        return true;
    }
    void SetScale(SDL_ScaleMode scale) {
        SDL_ScaleMode current;
        if (SDL_GetTextureScaleMode(texture_, &current) == 0 && current != scale)
            SDL_SetTextureScaleMode(texture_, scale);
    }

private:
    std::shared_ptr<TSdlContext> context_;
    uint32_t width_, height_;
    int32_t format_;
    int32_t pitch_;
    std::vector<uint8_t> memory_;
    SDL_Texture* texture_ = nullptr;
    SDL_BlendMode blendMode_ = SDL_BLENDMODE_INVALID;
    SDL_Color modulation_{255, 255, 255, 255};
    bool uploaded_ = false;
    bool locked_ = false;
    bool keepCopy_ = true;
    bool opaque_ = false;
    bool contentsLost_ = false;
    uint64_t generation_ = 0;
    static inline std::atomic<uint64_t> uploads{0};
};

class TSdlVertexBuffer final : public IGfxVertexBuffer {
public:
    explicit TSdlVertexBuffer(uint32_t length) : memory_(length, 0) {}
    int32_t Lock(uint32_t offset, uint32_t size, uint8_t*& data, uint32_t) override {
        if (locked_ || offset > memory_.size()) return GFXERR_INVALIDCALL;
        if (size == 0) size = uint32_t(memory_.size()) - offset;
        if (size > memory_.size() - offset) return GFXERR_INVALIDCALL;
        locked_ = true;
        data = memory_.data() + offset;
        return GFX_OK;
    }
    int32_t Unlock() override {
        if (!locked_) return GFXERR_INVALIDCALL;
        locked_ = false;
        return GFX_OK;
    }
    uint32_t Length() const override { return uint32_t(memory_.size()); }
    const uint8_t* Data() const { return memory_.data(); }

private:
    std::vector<uint8_t> memory_;
    bool locked_ = false;
};

// D3D's state after device creation and after every reset.
struct TGfxStates {
    std::array<uint32_t, 256> Render{};
    std::array<uint32_t, 32> Stage0{};
    TGfxStates() {
        Render[D3DRS_SRCBLEND] = D3DBLEND_ONE;
        Render[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
        Render[D3DRS_CULLMODE] = 3; // counter-clockwise
        Render[D3DRS_LIGHTING] = 1;
        Stage0[D3DTSS_COLOROP] = D3DTOP_MODULATE;
        Stage0[D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
        Stage0[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        Stage0[D3DTSS_ALPHAARG2] = 1; // current
        Stage0[D3DTSS_MAGFILTER] = D3DTEXF_POINT;
        Stage0[D3DTSS_MINFILTER] = D3DTEXF_POINT;
    }
};

// Fits a w x h picture into an area of aw x ah, keeping its proportions, centred.
SDL_Rect FitCentred(int w, int h, int aw, int ah) {
    if (w <= 0 || h <= 0 || aw <= 0 || ah <= 0) return {0, 0, aw, ah};
    int fw = aw, fh = int(int64_t{aw} * h / w);
    if (fh > ah) {
        fh = ah;
        fw = int(int64_t{ah} * w / h);
    }
    return {(aw - fw) / 2, (ah - fh) / 2, fw, fh};
}

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

// Where a draw may change pixels, and whether clipping leaves its pixels as they are: a copy of
// whole texels onto as many whole pixels is cut cleanly by any clip; a scaled or turned one may
// sample differently at a clipped edge.
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

int WatchRenderResets(void* userData, SDL_Event* event);

class TSdlDevice final : public IGfxDevice {
public:
    TSdlDevice(TGfxSystemKind kind, SDL_Window* window)
        : kind_(kind), window_(window), context_(std::make_shared<TSdlContext>()) {
        SDL_AddEventWatch(WatchRenderResets, this);
    }
    ~TSdlDevice() override {
        SDL_DelEventWatch(WatchRenderResets, this);
        boundTexture_.reset();
        stream_.reset();
        for (TSdlTexture* t : context_->Textures) t->Detach();
        if (target_) SDL_DestroyTexture(target_);
        if (context_->Renderer) SDL_DestroyRenderer(context_->Renderer);
        context_->Renderer = nullptr;
        if (surface_) SDL_FreeSurface(surface_);
        if (window_ && !params_.Windowed) SDL_SetWindowFullscreen(window_, 0);
    }

    int32_t Create(const TGfxPresentParameters& params) {
        params_ = params;
        if (params.BackBufferWidth == 0 || params.BackBufferHeight == 0 ||
            params.BackBufferWidth > 16384 || params.BackBufferHeight > 16384)
            return GFXERR_INVALIDCALL;
        return kind_ == TGfxSystemKind::Offscreen ? CreateOffscreen() : CreateInWindow();
    }

    void MarkLost() { lost_ = true; }

    // A device that is not lost keeps its renderer and textures through a reset to another
    // window mode or presentation interval; only another back-buffer size, or a loss, makes
    // them anew.
    int32_t Reset(TGfxPresentParameters& params) override {
        if (inScene_) return GFXERR_INVALIDCALL;
        if (!lost_ && context_->Renderer && params.BackBufferWidth == params_.BackBufferWidth &&
            params.BackBufferHeight == params_.BackBufferHeight) {
            params_ = params;
            if (kind_ == TGfxSystemKind::Window) {
                if (const int32_t mode = ApplyWindowMode(); mode != GFX_OK) return mode;
                if (target_) {
                    SDL_RenderSetVSync(context_->Renderer, WantsVSync() ? 1 : 0);
                    SDL_SetRenderTarget(context_->Renderer, target_);
                }
            }
            return Started();
        }
        boundTexture_.reset();
        stream_.reset();
        for (TSdlTexture* t : context_->Textures) t->Detach();
        if (target_) SDL_DestroyTexture(target_);
        target_ = nullptr;
        if (context_->Renderer) SDL_DestroyRenderer(context_->Renderer);
        context_->Renderer = nullptr;
        if (surface_) SDL_FreeSurface(surface_);
        surface_ = nullptr;
        lastFrame_.clear();
        const int32_t result = Create(params);
        if (result != GFX_OK) return result;
        for (TSdlTexture* t : context_->Textures)
            if (!t->Upload()) return GFXERR_OUTOFVIDEOMEMORY;
        lost_ = false;
        return GFX_OK;
    }

    int32_t Present() override {
        if (lost_) return GFXERR_DEVICELOST;
        // A frame like the last one is already on show (the window asks again when it needs it).
        if (!presentDue_.exchange(false)) return GFX_OK;
        SDL_Renderer* r = context_->Renderer;
        if (kind_ == TGfxSystemKind::Offscreen) {
            SDL_RenderFlush(r);
            KeepFrame();
            return GFX_OK;
        }
        if (surface_) {
            SDL_RenderFlush(r);
            if (!PresentSurface()) presentDue_ = true; // no image to show it in yet: again later
            return GFX_OK;
        }
        SDL_SetRenderTarget(r, nullptr);
        int sw = 0, sh = 0, ow = 0, oh = 0;
        ShownSize(sw, sh);
        HostFitWindow(window_, sw, sh);
        SDL_GetRendererOutputSize(r, &ow, &oh);
        const SDL_Rect dst = FitCentred(sw, sh, ow, oh);
        // Black bars where the picture leaves room; a picture that fills the window needs none.
        if (dst.w != ow || dst.h != oh || !regions_.empty()) {
            SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
            SDL_SetRenderDrawColor(r, Uint8(gaps_ >> 16), Uint8(gaps_ >> 8), Uint8(gaps_), 255);
            SDL_RenderClear(r);
        }
        // At its own size the picture is copied pixel for pixel; filtering would change nothing
        // and costs a software rasteriser four reads a pixel.
        const bool ownSize = dst.w == sw && dst.h == sh;
        SDL_SetTextureScaleMode(target_, ownSize ? SDL_ScaleModeNearest : SDL_ScaleModeLinear);
        for (const auto& [from, to] : Pieces(dst)) SDL_RenderCopy(r, target_, &from, &to);
        SDL_RenderPresent(r);
        // Switching back to the target resets SDL's clip rectangle; the viewport stays ours.
        SDL_SetRenderTarget(r, target_);
        ApplyViewport();
        return lost_ ? GFXERR_DEVICELOST : GFX_OK;
    }

    // Copies the back buffer into the window's own image, scaled to fit with its proportions
    // kept and centred on black, and shows it. An image of the picture's own size that already
    // holds the last frame gets only what was drawn since, and only that is shown. False when the
    // window has no image to give.
    bool PresentSurface() {
        int sw = 0, sh = 0;
        ShownSize(sw, sh);
        if (HostFitWindow(window_, sw, sh)) showWhole_ = true;
        if (ShowByHost(sw, sh)) return true;
        SDL_Surface* out = SDL_GetWindowSurface(window_);
        const bool ownSize = out && out->w == sw && out->h == sh && regions_.empty();
        if (ownSize && !showWhole_ && out == shownImage_) return ShowDrawnSince(out);
        shownSince_.clear(); // the window's image gets the whole picture
        showWhole_ = !ownSize;
        shownImage_ = ownSize ? out : nullptr;
        if (!out) return false;
        const SDL_Rect dst = FitCentred(sw, sh, out->w, out->h);
        if (dst.w != out->w || dst.h != out->h || !regions_.empty())
            SDL_FillRect(
                out, nullptr,
                SDL_MapRGB(out->format, Uint8(gaps_ >> 16), Uint8(gaps_ >> 8), Uint8(gaps_)));
        // Smooth scaling needs one format on both sides: the window's image seen as ARGB (its
        // fourth byte is unused).
        SDL_Surface* view = nullptr;
        if ((dst.w != sw || dst.h != sh) && out->format->BytesPerPixel == 4)
            view = SDL_CreateRGBSurfaceWithFormatFrom(out->pixels, out->w, out->h, 32, out->pitch,
                                                      SDL_PIXELFORMAT_ARGB8888);
        for (auto [from, to] : Pieces(dst)) {
            if (dst.w == sw && dst.h == sh)
                SDL_BlitSurface(surface_, &from, out, &to);
            else if (!view || SDL_SoftStretchLinear(surface_, &from, view, &to) != 0)
                SDL_BlitScaled(surface_, &from, out, &to);
        }
        if (view) SDL_FreeSurface(view);
        return SDL_UpdateWindowSurface(window_) == 0;
    }

    // The rectangles drawn since the last present, copied into the window's image of the
    // picture's size and shown.
    bool ShowDrawnSince(SDL_Surface* out) {
        std::vector<SDL_Rect> rects;
        rects.reserve(shownSince_.size());
        for (const TPixelRect& r : shownSince_) {
            SDL_Rect area{r.X0, r.Y0, r.X1 - r.X0, r.Y1 - r.Y0};
            SDL_Rect to = area;
            if (SDL_BlitSurface(surface_, &area, out, &to) != 0) return WholeDue();
            rects.push_back(to);
        }
        shownSince_.clear();
        if (rects.empty()) return true;
        return SDL_UpdateWindowSurfaceRects(window_, rects.data(), int(rects.size())) == 0 ||
               WholeDue();
    }
    bool WholeDue() {
        shownSince_.clear();
        showWhole_ = true;
        return false;
    }

    // Where the host shows the picture itself (a page's canvas at the picture's own size), only
    // what changed since it last did.
    bool ShowByHost(int sw, int sh) {
        int ww = 0, wh = 0;
        SDL_GetWindowSizeInPixels(window_, &ww, &wh);
        if (ww != sw || wh != sh) return false;
        std::vector<SDL_Rect> pieces, areas;
        for (const auto& [from, to] : Pieces(SDL_Rect{0, 0, sw, sh})) {
            pieces.push_back(from);
            pieces.push_back(to);
        }
        if (showWhole_) shownSince_ = {{0, 0, surface_->w, surface_->h}};
        for (const TPixelRect& r : shownSince_)
            areas.push_back({r.X0, r.Y0, r.X1 - r.X0, r.Y1 - r.Y0});
        if (!HostShowPicture(window_, surface_, pieces.data(), int(pieces.size() / 2), areas.data(),
                             int(areas.size()), showWhole_, gaps_))
            return false;
        shownSince_.clear();
        showWhole_ = false;
        return true;
    }

    // The size in back-buffer pixels of what is shown: the picture, or its arrangement.
    void ShownSize(int& width, int& height) const {
        const int density = int(std::max(params_.Density, 1u));
        width = regions_.empty() ? int(params_.BackBufferWidth) : arrangedW_ * density;
        height = regions_.empty() ? int(params_.BackBufferHeight) : arrangedH_ * density;
    }

    // What Present copies: rectangles of the back buffer and where each goes in `shown`, the
    // place of the picture or its arrangement in the output. Neighbouring pieces meet without a
    // gap at any scale.
    std::vector<std::pair<SDL_Rect, SDL_Rect>> Pieces(const SDL_Rect& shown) const {
        const int bw = int(params_.BackBufferWidth), bh = int(params_.BackBufferHeight);
        if (regions_.empty()) return {{SDL_Rect{0, 0, bw, bh}, shown}};
        const int density = int(std::max(params_.Density, 1u));
        const double sx = double(shown.w) / (arrangedW_ * density);
        const double sy = double(shown.h) / (arrangedH_ * density);
        const auto at = [](int origin, double scale, int v) {
            return origin + int(std::lround(scale * v));
        };
        std::vector<std::pair<SDL_Rect, SDL_Rect>> pieces;
        for (const TGfxRegion& g : regions_) {
            const SDL_Rect from{g.From.Left * density, g.From.Top * density,
                                (g.From.Right - g.From.Left) * density,
                                (g.From.Bottom - g.From.Top) * density};
            const int x0 = at(shown.x, sx, g.ToX * density), y0 = at(shown.y, sy, g.ToY * density);
            const int x1 = at(shown.x, sx, g.ToX * density + from.w);
            const int y1 = at(shown.y, sy, g.ToY * density + from.h);
            pieces.push_back({from, SDL_Rect{x0, y0, x1 - x0, y1 - y0}});
        }
        return pieces;
    }

    void SetArrangement(int32_t width, int32_t height, const std::vector<TGfxRegion>& regions,
                        uint32_t gaps) override {
        const bool arranged = width > 0 && height > 0 && !regions.empty();
        arrangedW_ = arranged ? width : 0;
        arrangedH_ = arranged ? height : 0;
        regions_ = arranged ? regions : std::vector<TGfxRegion>{};
        gaps_ = gaps;
        presentDue_ = true;
        showWhole_ = true;
    }

    int32_t BeginScene() override {
        if (inScene_) return GFXERR_INVALIDCALL;
        inScene_ = true;
        draws_.clear();
        extents_.clear();
        return GFX_OK;
    }
    // Draws what differs from the last frame; the draws of this one are kept for the next.
    int32_t EndScene() override {
        if (!inScene_) return GFXERR_INVALIDCALL;
        inScene_ = false;
        const TPixelRect picture{0, 0, int(params_.BackBufferWidth), int(params_.BackBufferHeight)};
        std::vector<TPixelRect> damage;
        if (wholeFrameDue_ || !partialFrames_) {
            damage.push_back(picture);
        } else {
            damage = FindDamage(
                lastExtents_, extents_,
                [this](size_t i, size_t j) { return SameDraw(lastDraws_[i], draws_[j]); }, picture);
        }
        bool drawn = true;
        for (const TPixelRect& area : damage) drawn = DrawArea(area) && drawn;
        // What the window's image (or a host showing the picture itself) has not shown yet; past
        // a few, all of it.
        if (surface_ && kind_ == TGfxSystemKind::Window && !showWhole_) {
            shownSince_.insert(shownSince_.end(), damage.begin(), damage.end());
            if (shownSince_.size() > kMaxPendingRects) showWhole_ = true;
        }
        // Only an offscreen device keeps its frames (to be read back); a window's would grow
        // by the frame's damage rectangles for as long as the game runs.
        if (kind_ == TGfxSystemKind::Offscreen) {
            drawnSinceKept_.insert(drawnSinceKept_.end(), damage.begin(), damage.end());
            // Frames drawn but never presented: past a few, the whole picture is due anyway.
            if (drawnSinceKept_.size() > kMaxPendingRects) drawnSinceKept_ = {picture};
        }
        ApplyViewport();
        std::swap(lastDraws_, draws_);
        std::swap(lastExtents_, extents_);
        // The last frame's draws are only compared: they must not keep a released picture alive.
        for (TSdlDraw& d : lastDraws_) d.Texture.reset();
        draws_.clear();
        extents_.clear();
        if (!drawn) {
            // What is on the back buffer is unknown now: the next frame draws it all.
            wholeFrameDue_ = true;
            presentDue_ = true;
            return GFXERR_FAIL;
        }
        wholeFrameDue_ = false;
        if (!damage.empty()) presentDue_ = true;
        return GFX_OK;
    }

    // The SDL renderer drawing the frames ("opengles2", "software", ...).
    std::string RendererName() const {
        SDL_RendererInfo info{};
        if (!context_->Renderer || SDL_GetRendererInfo(context_->Renderer, &info) != 0 ||
            !info.name)
            return "unknown";
        return info.name;
    }

    // The window shows something else than the last presented frame (it was resized, uncovered
    // or shown again): the next Present presents even an unchanged frame.
    void WantPresent() {
        presentDue_ = true;
        showWhole_ = true;
    }
    // The back buffer's contents are gone: the next frame is drawn whole.
    void TargetLost() {
        wholeFrameDue_ = true;
        presentDue_ = true;
    }

    int32_t CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t,
                          int32_t format, int32_t pool,
                          std::shared_ptr<IGfxTexture>& texture) override {
        texture.reset();
        if (width == 0 || height == 0 || levels > 1 || GfxFormatBytes(format) == 0 ||
            pool != D3DPOOL_MANAGED)
            return GFXERR_INVALIDCALL;
        if (width > kMaxTextureSide || height > kMaxTextureSide) return GFXERR_INVALIDCALL;
        // The texels' memory copy is allocated here: running short of memory is the caller's
        // failure to handle, as a full graphics memory is.
        try {
            auto made = std::make_shared<TSdlTexture>(context_, width, height, format);
            if (!made->MakeHandle()) return GFXERR_OUTOFVIDEOMEMORY;
            texture = std::move(made);
        } catch (const std::bad_alloc&) {
            NoteMemoryShort();
            return GFXERR_OUTOFVIDEOMEMORY;
        }
        return GFX_OK;
    }

    int32_t CreateVertexBuffer(uint32_t length, uint32_t, uint32_t, int32_t,
                               std::shared_ptr<IGfxVertexBuffer>& buffer) override {
        buffer.reset();
        if (length == 0 || length > (1u << 26)) return GFXERR_INVALIDCALL;
        try {
            buffer = std::make_shared<TSdlVertexBuffer>(length);
        } catch (const std::bad_alloc&) {
            NoteMemoryShort();
            return GFXERR_OUTOFVIDEOMEMORY;
        }
        return GFX_OK;
    }

    int32_t SetTexture(uint32_t stage, IGfxTexture* texture) override {
        if (stage != 0) return GFXERR_INVALIDCALL;
        auto* sdl = dynamic_cast<TSdlTexture*>(texture);
        if (texture && !sdl) return GFXERR_INVALIDCALL; // made by another kind of device
        boundTexture_ =
            sdl ? std::static_pointer_cast<TSdlTexture>(sdl->shared_from_this()) : nullptr;
        return GFX_OK;
    }

    int32_t SetStreamSource(uint32_t stream, IGfxVertexBuffer* buffer, uint32_t stride) override {
        auto* sdl = dynamic_cast<TSdlVertexBuffer*>(buffer);
        if (stream != 0 || (buffer && !sdl)) return GFXERR_INVALIDCALL;
        stream_ =
            sdl ? std::static_pointer_cast<TSdlVertexBuffer>(sdl->shared_from_this()) : nullptr;
        stride_ = stride;
        return GFX_OK;
    }

    int32_t SetVertexShader(uint32_t fvf) override {
        fvf_ = fvf;
        return GFX_OK;
    }

    int32_t DrawPrimitive(int32_t type, uint32_t start, uint32_t count) override {
        if (!inScene_ || !stream_ || fvf_ != kGfxVertexFormat || stride_ < kGfxVertexSize)
            return GFXERR_INVALIDCALL;
        if (type != D3DPT_TRIANGLELIST && type != D3DPT_TRIANGLESTRIP) return GFXERR_INVALIDCALL;
        if (count == 0) return GFX_OK;
        const uint64_t vertexCount = type == D3DPT_TRIANGLELIST ? uint64_t{count} * 3 : count + 2;
        if ((start + vertexCount) * stride_ > stream_->Length()) return GFXERR_INVALIDCALL;

        const bool forceOpaqueVertexAlpha = states_.Stage0[D3DTSS_ALPHAOP] == D3DTOP_SELECTARG1 &&
                                            states_.Stage0[D3DTSS_ALPHAARG1] == D3DTA_TEXTURE;
        vertices_.resize(size_t(vertexCount));
        const uint8_t* base = stream_->Data() + size_t(start) * stride_;
        for (size_t i = 0; i < vertices_.size(); ++i) {
            const uint8_t* v = base + i * stride_;
            float x, y, u, tv;
            uint32_t diffuse;
            std::memcpy(&x, v, 4);
            std::memcpy(&y, v + 4, 4);
            std::memcpy(&diffuse, v + 16, 4);
            std::memcpy(&u, v + 20, 4);
            std::memcpy(&tv, v + 24, 4);
            SDL_Vertex& out = vertices_[i];
            out.position = {x + 0.5f, y + 0.5f};
            out.color = {Uint8(diffuse >> 16), Uint8(diffuse >> 8), Uint8(diffuse),
                         forceOpaqueVertexAlpha ? Uint8(255) : Uint8(diffuse >> 24)};
            out.tex_coord = {u, tv};
        }
        if (boundTexture_ && !boundTexture_->EnsureUploaded()) return GFXERR_OUTOFVIDEOMEMORY;
        // Kept as draws of two triangles (one for an odd last), each with its states.
        TSdlDraw draw;
        draw.Texture = boundTexture_;
        draw.Generation = boundTexture_ ? boundTexture_->Generation() : 0;
        draw.AlphaBlend = states_.Render[D3DRS_ALPHABLENDENABLE];
        draw.SrcBlend = states_.Render[D3DRS_SRCBLEND];
        draw.DestBlend = states_.Render[D3DRS_DESTBLEND];
        // Alpha blending of an opaque texture at full vertex alpha is a plain copy, and the
        // cheaper one (the background under the whole picture, mostly).
        const bool opaqueVertices =
            std::all_of(vertices_.begin(), vertices_.end(),
                        [](const SDL_Vertex& v) { return v.color.a == 255; });
        if (draw.AlphaBlend && draw.SrcBlend == D3DBLEND_SRCALPHA &&
            draw.DestBlend == D3DBLEND_INVSRCALPHA && boundTexture_ && boundTexture_->Opaque() &&
            opaqueVertices)
            draw.AlphaBlend = 0;
        draw.Scale = states_.Stage0[D3DTSS_MAGFILTER] == D3DTEXF_LINEAR ? SDL_ScaleModeLinear
                                                                        : SDL_ScaleModeNearest;
        draw.Clip = {int(viewport_.X), int(viewport_.Y), int(viewport_.Width),
                     int(viewport_.Height)};
        for (uint32_t t = 0; t < count; ++t) {
            const uint32_t first = type == D3DPT_TRIANGLELIST ? 3 * t : t;
            for (uint32_t k = 0; k < 3; ++k)
                draw.Vertices[size_t(draw.Count++)] = vertices_[first + k];
            if (draw.Count == 6 || t + 1 == count) {
                extents_.push_back(ExtentOf(draw));
                draws_.push_back(draw);
                draw.Count = 0;
            }
        }
        return GFX_OK;
    }

    // The viewport must lie inside the back buffer; anything else is refused and changes nothing.
    int32_t SetViewport(const TGfxViewport& viewport) override {
        if (uint64_t{viewport.X} + viewport.Width > params_.BackBufferWidth ||
            uint64_t{viewport.Y} + viewport.Height > params_.BackBufferHeight)
            return GFXERR_INVALIDCALL;
        viewport_ = viewport;
        ApplyViewport();
        return GFX_OK;
    }

    int32_t SetRenderState(uint32_t state, uint32_t value) override {
        if (state >= states_.Render.size()) return GFXERR_INVALIDCALL;
        states_.Render[state] = value;
        return GFX_OK;
    }

    int32_t SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) override {
        if (type >= states_.Stage0.size()) return GFXERR_INVALIDCALL;
        if (stage == 0) states_.Stage0[type] = value; // later stages are never enabled
        return GFX_OK;
    }

    TGfxRect PictureRectInWindow() const override {
        int w = 0, h = 0;
        ShownSize(w, h);
        if (!window_) return {0, 0, w, h};
        // Window coordinates (what pointer events report), not output pixels: on a high-DPI
        // display both hold the same picture at different scales.
        int ww = 0, wh = 0;
        SDL_GetWindowSize(window_, &ww, &wh);
        const SDL_Rect r = FitCentred(w, h, ww, wh);
        return {r.x, r.y, r.x + r.w, r.y + r.h};
    }

    bool OutputSize(int32_t& width, int32_t& height) const override {
        if (!window_) return false;
        int w = 0, h = 0;
        SDL_GetWindowSizeInPixels(window_, &w, &h);
        width = w;
        height = h;
        return w > 0 && h > 0;
    }

    bool ReadFrame(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) const override {
        if (kind_ != TGfxSystemKind::Offscreen || lastFrame_.empty()) return false;
        pixels = lastFrame_;
        width = int32_t(params_.BackBufferWidth);
        height = int32_t(params_.BackBufferHeight);
        return true;
    }

    bool ReadBackBuffer(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) override {
        SDL_Renderer* r = context_->Renderer;
        if (lost_ || inScene_ || !r) return false;
        const int w = int(params_.BackBufferWidth), h = int(params_.BackBufferHeight);
        pixels.resize(size_t(w) * size_t(h));
        if (surface_) {
            SDL_RenderFlush(r);
            if (SDL_LockSurface(surface_) != 0) return false;
            for (int y = 0; y < h; ++y)
                std::memcpy(&pixels[size_t(y) * size_t(w)],
                            static_cast<const uint8_t*>(surface_->pixels) +
                                size_t(y) * size_t(surface_->pitch),
                            size_t(w) * 4);
            SDL_UnlockSurface(surface_);
        } else {
            // SDL reads inside the viewport: the whole target for the read, ours again after.
            SDL_RenderSetViewport(r, nullptr);
            const bool read = target_ && SDL_RenderReadPixels(r, nullptr, SDL_PIXELFORMAT_ARGB8888,
                                                              pixels.data(), w * 4) == 0;
            ApplyViewport();
            if (!read) return false;
        }
        for (uint32_t& p : pixels) p |= 0xFF000000u;
        width = w;
        height = h;
        return true;
    }

    void SimulateDeviceLoss() override { lost_ = true; }
    void SetPartialFrames(bool on) override { partialFrames_ = on; }

private:
    static constexpr uint32_t kMaxTextureSide = 8192;

    // Draws this frame's draws that reach into `area`, clipped to it, in order; consecutive
    // draws with the same texture and states go to the renderer together.
    bool DrawArea(const TPixelRect& area) {
        const TSdlDraw* batchOf = nullptr; // the first draw of the batch being collected
        SDL_Rect batchClip{};
        vertices_.clear();
        indices_.clear();
        bool ok = true;
        const auto flush = [&] {
            if (batchOf && !vertices_.empty()) ok = DrawBatch(*batchOf, batchClip) && ok;
            vertices_.clear();
            indices_.clear();
            batchOf = nullptr;
        };
        for (size_t i = 0; i < draws_.size(); ++i) {
            const TSdlDraw& d = draws_[i];
            const TPixelRect clip = Intersection(PixelRectOf(d.Clip), area);
            if (clip.Empty() || !extents_[i].Box.Intersects(area)) continue;
            const SDL_Rect sdlClip{clip.X0, clip.Y0, clip.X1 - clip.X0, clip.Y1 - clip.Y0};
            // Pairs of triangles are matched as rectangles two by two: an odd draw goes alone.
            const bool joins =
                batchOf && d.Count == 6 && batchOf->Count == 6 && d.Texture == batchOf->Texture &&
                d.AlphaBlend == batchOf->AlphaBlend && d.SrcBlend == batchOf->SrcBlend &&
                d.DestBlend == batchOf->DestBlend && d.Scale == batchOf->Scale &&
                SDL_RectEquals(&sdlClip, &batchClip);
            if (!joins) {
                flush();
                batchOf = &d;
                batchClip = sdlClip;
            }
            const int base = int(vertices_.size());
            vertices_.insert(vertices_.end(), d.Vertices.begin(), d.Vertices.begin() + d.Count);
            for (int k = 0; k < d.Count; ++k) indices_.push_back(base + k);
        }
        flush();
        return ok;
    }

    // Sends the collected vertices_ with the states of `d`, clipped to `clip`.
    bool DrawBatch(const TSdlDraw& d, const SDL_Rect& clip) {
        SDL_Renderer* r = context_->Renderer;
        SDL_RenderSetClipRect(r, &clip);
        TSdlTexture* texture = d.Texture.get();
        if (texture && !texture->EnsureUploaded()) return false;
        SDL_Texture* handle = texture ? texture->Handle() : nullptr;
        const SDL_BlendMode wanted = BlendModeOf(d);
        if (handle) {
            if (!texture->Prepare(wanted, d.Scale) && !texture->Prepare(Fallback(d), d.Scale))
                return false;
        } else if (SDL_SetRenderDrawBlendMode(r, wanted) != 0 &&
                   SDL_SetRenderDrawBlendMode(r, Fallback(d)) != 0) {
            return false;
        }
        return RenderTriangles(texture, d.Scale);
    }

    // Draws the triangles of indices_ in order. Pairs that form an axis-aligned rectangle of one
    // colour showing an axis-aligned block of texels are copied as a rectangle: that maps texel
    // to pixel exactly (and is faster), where the renderer's triangle sampling may be off by
    // part of a texel. Everything else goes through SDL_RenderGeometry.
    bool RenderTriangles(TSdlTexture* texture, SDL_ScaleMode scale) {
        SDL_Renderer* r = context_->Renderer;
        SDL_Texture* handle = texture ? texture->Handle() : nullptr;
        const size_t triangles = indices_.size() / 3;
        size_t runStart = 0; // first triangle not drawn yet
        auto drawRun = [&](size_t end) {
            if (end <= runStart) return true;
            if (handle) {
                texture->SetModulation({255, 255, 255, 255});
                texture->SetScale(scale);
            }
            // SDL's software renderer reads pairs of triangles that cover an axis-aligned
            // rectangle as a rectangle copy and loses a quarter turn of the texture doing so;
            // one triangle per call keeps it from pairing them.
            const size_t step = softwareRenderer_ ? 1 : end - runStart;
            for (size_t t = runStart; t < end; t += step)
                if (SDL_RenderGeometry(r, handle, vertices_.data(), int(vertices_.size()),
                                       indices_.data() + t * 3,
                                       int(std::min(step, end - t) * 3)) != 0)
                    return false;
            runStart = end;
            return true;
        };
        for (size_t t = 0; t + 1 < triangles && handle;) {
            TRectQuad quad;
            if (!AsRectQuad(vertices_.data(), &indices_[t * 3], &indices_[t * 3 + 3],
                            int(texture->Width()), int(texture->Height()), quad)) {
                ++t;
                continue;
            }
            if (!drawRun(t)) return false;
            // A copy of texels onto as many whole pixels samples texel centres: nearest gives
            // the same picture as linear, and costs less on a software rasteriser.
            const bool exact = quad.Dst.w == float(quad.Src.w) && quad.Dst.h == float(quad.Src.h) &&
                               quad.Dst.x == std::floor(quad.Dst.x) &&
                               quad.Dst.y == std::floor(quad.Dst.y);
            if (exact && BlendTinted(*texture, quad)) {
                t += 2;
                runStart = t;
                continue;
            }
            texture->SetModulation(quad.Colour);
            texture->SetScale(exact ? SDL_ScaleModeNearest : scale);
            if (quad.Dst.w > 0 && quad.Dst.h > 0 &&
                SDL_RenderCopyExF(r, handle, &quad.Src, &quad.Dst, 0.0, nullptr,
                                  SDL_RendererFlip(quad.Flip)) != 0)
                return false;
            t += 2;
            runStart = t;
        }
        return drawRun(triangles);
    }

    // A tinted texture blended onto our own back buffer, texel for pixel, computed here as SDL's
    // software renderer computes it (same results to the last bit): colour c = c * tint / 255 and
    // alpha a = a * tint alpha / 255, then dst = c * a / 255 + dst * (255 - a) / 255 per
    // channel and dst alpha = a + dst alpha * (255 - a) / 255, all divisions truncating. SDL's own
    // blit costs about 4.6 us more whenever a texture's tint changes, which text of several
    // colours does at nearly every glyph. Untinted and other blends stay with SDL. False when
    // not done.
    bool BlendTinted(TSdlTexture& texture, const TRectQuad& quad) {
        const SDL_Color& tint = quad.Colour;
        if (!context_->Software || texture.BlendMode() != SDL_BLENDMODE_BLEND ||
            (tint.r == 255 && tint.g == 255 && tint.b == 255 && tint.a == 255))
            return false;
        // Texels outside the texture are SDL's to clip.
        if (quad.Src.x < 0 || quad.Src.y < 0 || quad.Src.x + quad.Src.w > int(texture.Width()) ||
            quad.Src.y + quad.Src.h > int(texture.Height()))
            return false;
        SDL_Rect clip{};
        SDL_RenderGetClipRect(context_->Renderer, &clip);
        if (SDL_RectEmpty(&clip)) clip = {0, 0, surface_->w, surface_->h};
        const SDL_Rect placed{int(quad.Dst.x), int(quad.Dst.y), quad.Src.w, quad.Src.h};
        SDL_Rect area{};
        const SDL_Rect whole{0, 0, surface_->w, surface_->h};
        if (!SDL_IntersectRect(&placed, &clip, &area) || !SDL_IntersectRect(&area, &whole, &area))
            return true; // nothing of it shows
        void* texels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture.Handle(), nullptr, &texels, &pitch) != 0) return false;
        SDL_RenderFlush(context_->Renderer); // what SDL still holds is drawn first
        const bool mirror = (quad.Flip & SDL_FLIP_HORIZONTAL) != 0;
        const bool flip = (quad.Flip & SDL_FLIP_VERTICAL) != 0;
        const TTintedBlend blend(tint);
        for (int y = area.y; y < area.y + area.h; ++y) {
            const int v = quad.Src.y + (flip ? quad.Src.h - 1 - (y - placed.y) : y - placed.y);
            const auto* src = reinterpret_cast<const uint32_t*>(
                static_cast<const uint8_t*>(texels) + size_t(v) * size_t(pitch));
            auto* dst = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface_->pixels) +
                                                    size_t(y) * size_t(surface_->pitch));
            // The texel under the row's first pixel, and the way along the texture row.
            const int u =
                quad.Src.x + (mirror ? quad.Src.w - 1 - (area.x - placed.x) : area.x - placed.x);
            blend.Row(src + u, mirror ? -1 : 1, dst + area.x, area.w);
        }
        SDL_UnlockTexture(texture.Handle());
        return true;
    }

    int32_t CreateOffscreen() {
        const int32_t made = CreateSurfaceRenderer();
        return made == GFX_OK ? Started() : made;
    }

    // The back buffer as a memory surface of ours with SDL's software renderer drawing into it.
    int32_t CreateSurfaceRenderer() {
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, int(params_.BackBufferWidth),
                                                  int(params_.BackBufferHeight), 32,
                                                  SDL_PIXELFORMAT_ARGB8888);
        if (!surface_) return GFXERR_OUTOFVIDEOMEMORY;
        SDL_FillRect(surface_, nullptr, 0xFF000000u);
        SDL_SetSurfaceBlendMode(surface_, SDL_BLENDMODE_NONE); // presented as a plain copy
        context_->Renderer = SDL_CreateSoftwareRenderer(surface_);
        if (!context_->Renderer) return GFXERR_NOTAVAILABLE;
        return GFX_OK;
    }

    int32_t CreateInWindow() {
        if (!window_) return GFXERR_INVALIDCALL;
        if (const int32_t mode = ApplyWindowMode(); mode != GFX_OK) return mode;
        // Without direct rendering the frame is drawn in memory and copied to the window's own
        // image (see CreateWindowRenderer).
        if (WindowDrawsInSoftware(window_)) {
            const int32_t made = CreateSurfaceRenderer();
            return made == GFX_OK ? Started() : made;
        }
        const Uint32 flags =
            SDL_RENDERER_TARGETTEXTURE | (WantsVSync() ? SDL_RENDERER_PRESENTVSYNC : 0);
        context_->Renderer = CreateWindowRenderer(window_, flags);
        if (!context_->Renderer) return GFXERR_NOTAVAILABLE;
        target_ = SDL_CreateTexture(context_->Renderer, SDL_PIXELFORMAT_ARGB8888,
                                    SDL_TEXTUREACCESS_TARGET, int(params_.BackBufferWidth),
                                    int(params_.BackBufferHeight));
        if (!target_) return GFXERR_OUTOFVIDEOMEMORY;
        SDL_SetTextureBlendMode(target_, SDL_BLENDMODE_NONE);
        SDL_SetTextureScaleMode(target_, SDL_ScaleModeLinear);
        SDL_SetRenderTarget(context_->Renderer, target_);
        SDL_SetRenderDrawColor(context_->Renderer, 0, 0, 0, 255);
        SDL_RenderClear(context_->Renderer);
        return Started();
    }

    // A window at rest waits for the display's refresh; full screen does as VSync says.
    bool WantsVSync() const {
        return params_.Windowed || params_.DesktopFullScreen ||
               params_.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
    }

    // Puts the window in the mode the parameters ask for: framed, full screen on the desktop's
    // mode, or full screen at a mode of the back buffer's size.
    int32_t ApplyWindowMode() {
        if (params_.Windowed) {
            const bool wasFullScreen =
                (SDL_GetWindowFlags(window_) &
                 (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)) != 0;
            SDL_SetWindowFullscreen(window_, 0);
            if (wasFullScreen) {
                // Back from full screen: the window as it was before; when it started in full
                // screen, the framed window's kept size (800 x 600 when none is kept),
                // resizable.
                SDL_SetWindowBordered(window_, SDL_TRUE);
                SDL_SetWindowResizable(window_, SDL_TRUE);
                SDL_Rect r = windowedRect_;
                if (r.w <= 0) {
                    const int density = int(std::max(params_.Density, 1u));
                    r = {SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                         int(params_.BackBufferWidth) / density,
                         int(params_.BackBufferHeight) / density};
                    KeptWindowGeometry(r.w, r.h, windowedMaximised_);
                }
                SDL_SetWindowSize(window_, r.w, r.h);
                SDL_SetWindowPosition(window_, r.x, r.y);
                if (windowedMaximised_) SDL_MaximizeWindow(window_);
            }
        } else if (params_.DesktopFullScreen) {
            const Uint32 flags = SDL_GetWindowFlags(window_);
            if (!(flags & (SDL_WINDOW_FULLSCREEN | SDL_WINDOW_FULLSCREEN_DESKTOP)) &&
                !(flags & SDL_WINDOW_BORDERLESS)) {
                windowedMaximised_ = (flags & SDL_WINDOW_MAXIMIZED) != 0;
                if (windowedMaximised_) SDL_RestoreWindow(window_);
                SDL_GetWindowPosition(window_, &windowedRect_.x, &windowedRect_.y);
                SDL_GetWindowSize(window_, &windowedRect_.w, &windowedRect_.h);
            }
            // Cover the display first: without a window manager the full-screen state alone
            // leaves the window at its old size.
            SDL_Rect bounds{};
            const int display = SDL_GetWindowDisplayIndex(window_);
            if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &bounds) == 0) {
                SDL_SetWindowPosition(window_, bounds.x, bounds.y);
                SDL_SetWindowSize(window_, bounds.w, bounds.h);
            }
            if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0)
                return GFXERR_NOTAVAILABLE;
        } else {
            SDL_DisplayMode want{};
            want.w = int(params_.BackBufferWidth);
            want.h = int(params_.BackBufferHeight);
            want.refresh_rate = int(params_.FullScreen_RefreshRateInHz);
            SDL_DisplayMode got{};
            if (!SDL_GetClosestDisplayMode(0, &want, &got) ||
                SDL_SetWindowDisplayMode(window_, &got) != 0 ||
                SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN) != 0)
                return GFXERR_NOTAVAILABLE;
        }
        return GFX_OK;
    }

    // The state every new or reset device starts in.
    int32_t Started() {
        SDL_RendererInfo info{};
        softwareRenderer_ = SDL_GetRendererInfo(context_->Renderer, &info) == 0 &&
                            (info.flags & SDL_RENDERER_SOFTWARE) != 0;
        context_->Software = surface_ != nullptr;
        states_ = TGfxStates();
        viewport_ = {0, 0, params_.BackBufferWidth, params_.BackBufferHeight, 0.0f, 1.0f};
        ApplyViewport();
        customBlendWorks_ = true;
        inScene_ = false;
        lastDraws_.clear();
        lastExtents_.clear();
        wholeFrameDue_ = true;
        presentDue_ = true;
        showWhole_ = true;
        return GFX_OK;
    }

    void ApplyViewport() {
        if (!context_->Renderer) return;
        const SDL_Rect clip{int(viewport_.X), int(viewport_.Y), int(viewport_.Width),
                            int(viewport_.Height)};
        SDL_RenderSetClipRect(context_->Renderer, &clip);
    }

    SDL_BlendMode BlendModeOf(const TSdlDraw& d) const {
        if (!d.AlphaBlend) return SDL_BLENDMODE_NONE;
        const uint32_t src = d.SrcBlend;
        const uint32_t dst = d.DestBlend;
        if (!customBlendWorks_) return NearestBuiltInBlend(src, dst);
        return SDL_ComposeCustomBlendMode(SdlFactor(src, false), SdlFactor(dst, false),
                                          SDL_BLENDOPERATION_ADD, SdlFactor(src, true),
                                          SdlFactor(dst, true), SDL_BLENDOPERATION_ADD);
    }
    // Called when the renderer refused the custom mode: it will not take one later either.
    SDL_BlendMode Fallback(const TSdlDraw& d) {
        customBlendWorks_ = false;
        return BlendModeOf(d);
    }

    // Copies what the frames since the last copy drew (all of it the first time).
    void KeepFrame() {
        const size_t w = params_.BackBufferWidth, h = params_.BackBufferHeight;
        if (lastFrame_.size() != w * h) {
            lastFrame_.resize(w * h);
            drawnSinceKept_ = {{0, 0, int(w), int(h)}};
        }
        SDL_LockSurface(surface_);
        for (const TPixelRect& r : drawnSinceKept_)
            for (int y = r.Y0; y < r.Y1; ++y) {
                const auto* row = reinterpret_cast<const uint32_t*>(
                    static_cast<const uint8_t*>(surface_->pixels) +
                    size_t(y) * size_t(surface_->pitch));
                for (int x = r.X0; x < r.X1; ++x)
                    lastFrame_[size_t(y) * w + size_t(x)] = row[x] | 0xFF000000u;
            }
        SDL_UnlockSurface(surface_);
        drawnSinceKept_.clear();
    }

    TGfxSystemKind kind_;
    SDL_Window* window_;
    std::shared_ptr<TSdlContext> context_;
    TGfxPresentParameters params_;
    SDL_Surface* surface_ = nullptr;
    SDL_Texture* target_ = nullptr;
    std::atomic<bool> lost_{false};
    // The arrangement the picture is shown in (picture pixels; none while regions_ is empty).
    int32_t arrangedW_ = 0, arrangedH_ = 0;
    std::vector<TGfxRegion> regions_;
    uint32_t gaps_ = 0; // 0xRRGGBB
    // The window's place and size before it went full screen, restored when it comes back.
    SDL_Rect windowedRect_{0, 0, 0, 0};
    bool windowedMaximised_ = false;
    bool inScene_ = false;
    bool customBlendWorks_ = true;
    bool softwareRenderer_ = false;
    TGfxStates states_;
    TGfxViewport viewport_;
    std::shared_ptr<TSdlTexture> boundTexture_;
    std::shared_ptr<TSdlVertexBuffer> stream_;
    uint32_t stride_ = 0;
    uint32_t fvf_ = 0;
    std::vector<SDL_Vertex> vertices_;
    std::vector<int> indices_;
    std::vector<uint32_t> lastFrame_;
    std::vector<TPixelRect> drawnSinceKept_;  // what lastFrame_ does not have yet
    std::vector<TPixelRect> shownSince_;      // what the window has not shown yet
    bool showWhole_ = true;                   // ... or all of it
    const SDL_Surface* shownImage_ = nullptr; // the window's image that holds the last frame
    static constexpr size_t kMaxPendingRects = 256;
    // This frame's draws and the last frame's, with where each may change pixels.
    std::vector<TSdlDraw> draws_, lastDraws_;
    std::vector<TDrawExtent> extents_, lastExtents_;
    bool partialFrames_ = true;
    std::atomic<bool> wholeFrameDue_{true}; // the back buffer does not hold the last frame
    std::atomic<bool> presentDue_{true};    // the next Present has something to show
};

// SDL reports that render targets or the whole device were reset (a driver reset, a display
// change): the textures' contents are gone, which the API reports as a lost device.
int WatchRenderResets(void* userData, SDL_Event* event) {
    auto* device = static_cast<TSdlDevice*>(userData);
    if (event->type == SDL_RENDER_DEVICE_RESET) device->MarkLost();
    if (event->type == SDL_RENDER_TARGETS_RESET) device->TargetLost(); // textures stay

    // The window's contents may be gone or at another size: show the frame again.
    if (event->type == SDL_WINDOWEVENT && (event->window.event == SDL_WINDOWEVENT_EXPOSED ||
                                           event->window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
                                           event->window.event == SDL_WINDOWEVENT_SHOWN ||
                                           event->window.event == SDL_WINDOWEVENT_RESTORED ||
                                           event->window.event == SDL_WINDOWEVENT_MAXIMIZED))
        device->WantPresent();
    return 0;
}

void CopyString(char (&to)[512], const std::string& from) {
    std::snprintf(to, sizeof to, "%s", from.c_str());
}

class TSdlSystem final : public IGfxSystem {
public:
    explicit TSdlSystem(TGfxSystemKind kind) : kind_(kind) {}
    ~TSdlSystem() override {
        if (kind_ == TGfxSystemKind::Window) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    }

    int32_t GetAdapterIdentifier(uint32_t adapter, uint32_t, TGfxAdapterIdentifier& id) override {
        if (adapter != 0) return GFXERR_INVALIDCALL;
        id = {};
        if (kind_ == TGfxSystemKind::Offscreen) {
            CopyString(id.Description, "SDL software renderer (offscreen)");
            CopyString(id.Driver, "offscreen");
            return GFX_OK;
        }
        // The renderer of the device made last; before any, the one SDL tries first.
        SDL_RendererInfo info{};
        const std::string renderer =
            !lastRenderer_.empty() ? lastRenderer_
            : SDL_GetNumRenderDrivers() > 0 && SDL_GetRenderDriverInfo(0, &info) == 0 && info.name
                ? info.name
                : "software";
        const char* video = SDL_GetCurrentVideoDriver();
        CopyString(id.Description, "SDL " + renderer + " renderer");
        CopyString(id.Driver, video ? video : "unknown");
        return GFX_OK;
    }

    int32_t GetDeviceCaps(uint32_t adapter, int32_t deviceType, TGfxCaps& caps) override {
        if (adapter != 0 || (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF))
            return GFXERR_INVALIDCALL;
        caps = {};
        caps.DeviceType = deviceType;
        caps.MaxTextureWidth = caps.MaxTextureHeight = 8192;
        caps.PresentationIntervals = D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_IMMEDIATE;
        return GFX_OK;
    }

    int32_t GetAdapterDisplayMode(uint32_t adapter, TGfxDisplayMode& mode) override {
        if (adapter != 0) return GFXERR_INVALIDCALL;
        if (kind_ == TGfxSystemKind::Offscreen) {
            mode = {1024, 768, 60, D3DFMT_X8R8G8B8};
            return GFX_OK;
        }
        SDL_DisplayMode m{};
        if (SDL_GetDesktopDisplayMode(0, &m) != 0) return GFXERR_NOTAVAILABLE;
        mode = {uint32_t(m.w), uint32_t(m.h), uint32_t(std::max(m.refresh_rate, 0)),
                FormatOfSdl(m.format)};
        return GFX_OK;
    }

    uint32_t GetAdapterModeCount(uint32_t adapter) override {
        if (adapter != 0) return 0;
        if (kind_ == TGfxSystemKind::Offscreen) return uint32_t(kOffscreenModes.size());
        return uint32_t(std::max(SDL_GetNumDisplayModes(0), 0));
    }

    int32_t EnumAdapterModes(uint32_t adapter, uint32_t index, TGfxDisplayMode& mode) override {
        if (adapter != 0) return GFXERR_INVALIDCALL;
        if (kind_ == TGfxSystemKind::Offscreen) {
            if (index >= kOffscreenModes.size()) return GFXERR_INVALIDCALL;
            mode = kOffscreenModes[index];
            return GFX_OK;
        }
        SDL_DisplayMode m{};
        if (SDL_GetDisplayMode(0, int(index), &m) != 0) return GFXERR_INVALIDCALL;
        mode = {uint32_t(m.w), uint32_t(m.h), uint32_t(std::max(m.refresh_rate, 0)),
                FormatOfSdl(m.format)};
        return GFX_OK;
    }

    int32_t CreateDevice(uint32_t adapter, int32_t deviceType, TNativeWindow* focusWindow, uint32_t,
                         TGfxPresentParameters& params,
                         std::shared_ptr<IGfxDevice>& device) override {
        device.reset();
        if (adapter != 0 || (deviceType != D3DDEVTYPE_HAL && deviceType != D3DDEVTYPE_REF))
            return GFXERR_INVALIDCALL;
        TNativeWindow* window = params.hDeviceWindow ? params.hDeviceWindow : focusWindow;
        if (kind_ == TGfxSystemKind::Window && !window) return GFXERR_INVALIDCALL;
        auto made = std::make_shared<TSdlDevice>(
            kind_, kind_ == TGfxSystemKind::Window ? SdlWindowOf(window) : nullptr);
        const int32_t result = made->Create(params);
        if (result != GFX_OK) return result;
        lastRenderer_ = made->RendererName();
        device = std::move(made);
        return GFX_OK;
    }

private:
    static inline const std::array<TGfxDisplayMode, 6> kOffscreenModes = {{
        {640, 480, 60, D3DFMT_X8R8G8B8},
        {640, 480, 60, D3DFMT_R5G6B5},
        {800, 600, 60, D3DFMT_X8R8G8B8},
        {800, 600, 60, D3DFMT_R5G6B5},
        {1024, 768, 60, D3DFMT_X8R8G8B8},
        {1024, 768, 60, D3DFMT_R5G6B5},
    }};
    TGfxSystemKind kind_;
    std::string lastRenderer_;
};

} // namespace

std::shared_ptr<IGfxSystem> CreateGfxSystem(TGfxSystemKind kind) {
    if (kind == TGfxSystemKind::Window && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
    return std::make_shared<TSdlSystem>(kind);
}
