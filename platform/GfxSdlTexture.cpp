#include "platform/GfxSdlTexture.h"

#include "platform/GfxSdlFormats.h"

#include <algorithm>

namespace gfxsdl {

int32_t TSdlTexture::LockRect(uint32_t level, TGfxLockedRect& rect, uint32_t) {
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

bool TSdlTexture::MakeHandle() {
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

bool TSdlTexture::Upload() {
    if (!context_->Renderer) return true; // nothing to upload to; the copy stays
    if (!MakeHandle()) return false;
    if (memory_.empty()) {
        contentsLost_ = true;
        uploaded_ = true; // nothing better to show until the texels are written again
        return true;
    }
    if (format_ == D3DFMT_A8R8G8B8) { // already in the renderer's layout
        uploaded_ = SDL_UpdateTexture(texture_, nullptr, memory_.data(), pitch_) == 0;
        opaque_ =
            AllOpaque(reinterpret_cast<const uint32_t*>(memory_.data()), size_t(width_) * height_);
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

void TSdlTexture::SetModulation(const SDL_Color& colour) {
    if (SameColour(colour, modulation_)) return;
    SDL_SetTextureColorMod(texture_, colour.r, colour.g, colour.b);
    SDL_SetTextureAlphaMod(texture_, colour.a);
    modulation_ = colour;
}

bool TSdlTexture::Prepare(SDL_BlendMode blend, SDL_ScaleMode scale) {
    if (blend != blendMode_) {
        if (SDL_SetTextureBlendMode(texture_, blend) != 0) return false;
        blendMode_ = blend;
    }
    SetScale(scale);
    return true;
}

} // namespace gfxsdl
