// The device's scene: the draw calls kept as draws, and at the scene's end the parts of the frame
// that differ from the last one drawn again.
#include "platform/GfxSdlDevice.h"

#include "platform/GfxSdlFormats.h"
#include "platform/TintedBlend.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace gfxsdl {

int32_t TSdlDevice::BeginScene() {
    if (inScene_) return GFXERR_INVALIDCALL;
    inScene_ = true;
    draws_.clear();
    extents_.clear();
    return GFX_OK;
}

int32_t TSdlDevice::EndScene() {
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

int32_t TSdlDevice::SetTexture(uint32_t stage, IGfxTexture* texture) {
    if (stage != 0) return GFXERR_INVALIDCALL;
    auto* sdl = dynamic_cast<TSdlTexture*>(texture);
    if (texture && !sdl) return GFXERR_INVALIDCALL; // made by another kind of device
    boundTexture_ = sdl ? std::static_pointer_cast<TSdlTexture>(sdl->shared_from_this()) : nullptr;
    return GFX_OK;
}

int32_t TSdlDevice::SetStreamSource(uint32_t stream, IGfxVertexBuffer* buffer, uint32_t stride) {
    auto* sdl = dynamic_cast<TSdlVertexBuffer*>(buffer);
    if (stream != 0 || (buffer && !sdl)) return GFXERR_INVALIDCALL;
    stream_ = sdl ? std::static_pointer_cast<TSdlVertexBuffer>(sdl->shared_from_this()) : nullptr;
    stride_ = stride;
    return GFX_OK;
}

int32_t TSdlDevice::SetVertexShader(uint32_t fvf) {
    fvf_ = fvf;
    return GFX_OK;
}

int32_t TSdlDevice::DrawPrimitive(int32_t type, uint32_t start, uint32_t count) {
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
    const bool opaqueVertices = std::all_of(vertices_.begin(), vertices_.end(),
                                            [](const SDL_Vertex& v) { return v.color.a == 255; });
    if (draw.AlphaBlend && draw.SrcBlend == D3DBLEND_SRCALPHA &&
        draw.DestBlend == D3DBLEND_INVSRCALPHA && boundTexture_ && boundTexture_->Opaque() &&
        opaqueVertices)
        draw.AlphaBlend = 0;
    draw.Scale = states_.Stage0[D3DTSS_MAGFILTER] == D3DTEXF_LINEAR ? SDL_ScaleModeLinear
                                                                    : SDL_ScaleModeNearest;
    draw.Clip = {int(viewport_.X), int(viewport_.Y), int(viewport_.Width), int(viewport_.Height)};
    for (uint32_t t = 0; t < count; ++t) {
        const uint32_t first = type == D3DPT_TRIANGLELIST ? 3 * t : t;
        for (uint32_t k = 0; k < 3; ++k) draw.Vertices[size_t(draw.Count++)] = vertices_[first + k];
        if (draw.Count == 6 || t + 1 == count) {
            extents_.push_back(ExtentOf(draw));
            draws_.push_back(draw);
            draw.Count = 0;
        }
    }
    return GFX_OK;
}

int32_t TSdlDevice::SetViewport(const TGfxViewport& viewport) {
    if (uint64_t{viewport.X} + viewport.Width > params_.BackBufferWidth ||
        uint64_t{viewport.Y} + viewport.Height > params_.BackBufferHeight)
        return GFXERR_INVALIDCALL;
    viewport_ = viewport;
    ApplyViewport();
    return GFX_OK;
}

int32_t TSdlDevice::SetRenderState(uint32_t state, uint32_t value) {
    if (state >= states_.Render.size()) return GFXERR_INVALIDCALL;
    states_.Render[state] = value;
    return GFX_OK;
}

int32_t TSdlDevice::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
    if (type >= states_.Stage0.size()) return GFXERR_INVALIDCALL;
    if (stage == 0) states_.Stage0[type] = value; // later stages are never enabled
    return GFX_OK;
}

bool TSdlDevice::DrawArea(const TPixelRect& area) {
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
        const bool joins = batchOf && d.Count == 6 && batchOf->Count == 6 &&
                           d.Texture == batchOf->Texture && d.AlphaBlend == batchOf->AlphaBlend &&
                           d.SrcBlend == batchOf->SrcBlend && d.DestBlend == batchOf->DestBlend &&
                           d.Scale == batchOf->Scale && SDL_RectEquals(&sdlClip, &batchClip);
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

bool TSdlDevice::DrawBatch(const TSdlDraw& d, const SDL_Rect& clip) {
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

bool TSdlDevice::RenderTriangles(TSdlTexture* texture, SDL_ScaleMode scale) {
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
                                   indices_.data() + t * 3, int(std::min(step, end - t) * 3)) != 0)
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

bool TSdlDevice::BlendTinted(TSdlTexture& texture, const TRectQuad& quad) {
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
        const auto* src = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(texels) +
                                                            size_t(v) * size_t(pitch));
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

void TSdlDevice::ApplyViewport() {
    if (!context_->Renderer) return;
    const SDL_Rect clip{int(viewport_.X), int(viewport_.Y), int(viewport_.Width),
                        int(viewport_.Height)};
    SDL_RenderSetClipRect(context_->Renderer, &clip);
}

SDL_BlendMode TSdlDevice::BlendModeOf(const TSdlDraw& d) const {
    if (!d.AlphaBlend) return SDL_BLENDMODE_NONE;
    const uint32_t src = d.SrcBlend;
    const uint32_t dst = d.DestBlend;
    if (!customBlendWorks_) return NearestBuiltInBlend(src, dst);
    return SDL_ComposeCustomBlendMode(SdlFactor(src, false), SdlFactor(dst, false),
                                      SDL_BLENDOPERATION_ADD, SdlFactor(src, true),
                                      SdlFactor(dst, true), SDL_BLENDOPERATION_ADD);
}

SDL_BlendMode TSdlDevice::Fallback(const TSdlDraw& d) {
    customBlendWorks_ = false;
    return BlendModeOf(d);
}

} // namespace gfxsdl
