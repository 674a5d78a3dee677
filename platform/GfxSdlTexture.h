#pragma once
// The graphics layer's textures and vertex buffers over an SDL renderer. Textures are "managed":
// each keeps a copy of its texels in its own format in system memory; unlocking uploads the copy
// (expanded to ARGB8888), and a device reset uploads every copy again.
#include "platform/Gfx.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace gfxsdl {

class TSdlTexture;

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

    int32_t LockRect(uint32_t level, TGfxLockedRect& rect, uint32_t) override;
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
    bool MakeHandle();
    // Before drawing: a texture never unlocked since its handle was made gets its copy now.
    bool EnsureUploaded() { return uploaded_ || Upload(); }
    // Makes the SDL texture (if needed) and fills it from the system-memory copy. Without a copy
    // (dropped, and the handle made anew since) the texture stays blank and reports it.
    bool Upload();
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
    void SetModulation(const SDL_Color& colour);
    // Changes the texture's blend and scale modes only when they differ; false when the
    // renderer refuses the blend mode.
    bool Prepare(SDL_BlendMode blend, SDL_ScaleMode scale);
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

} // namespace gfxsdl
