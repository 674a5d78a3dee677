#include "platform/GfxSdlDevice.h"

#include "platform/HostScreen.h"
#include "platform/Memory.h"
#include "platform/Window.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace gfxsdl {

TSdlDevice::TSdlDevice(TGfxSystemKind kind, SDL_Window* window)
    : kind_(kind), window_(window), context_(std::make_shared<TSdlContext>()) {
    SDL_AddEventWatch(WatchRenderResets, this);
}

TSdlDevice::~TSdlDevice() {
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

int32_t TSdlDevice::Create(const TGfxPresentParameters& params) {
    params_ = params;
    if (params.BackBufferWidth == 0 || params.BackBufferHeight == 0 ||
        params.BackBufferWidth > 16384 || params.BackBufferHeight > 16384)
        return GFXERR_INVALIDCALL;
    return kind_ == TGfxSystemKind::Offscreen ? CreateOffscreen() : CreateInWindow();
}

int32_t TSdlDevice::Reset(TGfxPresentParameters& params) {
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

int32_t TSdlDevice::Present() {
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

bool TSdlDevice::PresentSurface() {
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
        SDL_FillRect(out, nullptr,
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

bool TSdlDevice::ShowDrawnSince(SDL_Surface* out) {
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

bool TSdlDevice::WholeDue() {
    shownSince_.clear();
    showWhole_ = true;
    return false;
}

bool TSdlDevice::ShowByHost(int sw, int sh) {
    int ww = 0, wh = 0;
    SDL_GetWindowSizeInPixels(window_, &ww, &wh);
    if (ww != sw || wh != sh) return false;
    std::vector<SDL_Rect> pieces, areas;
    for (const auto& [from, to] : Pieces(SDL_Rect{0, 0, sw, sh})) {
        pieces.push_back(from);
        pieces.push_back(to);
    }
    if (showWhole_) shownSince_ = {{0, 0, surface_->w, surface_->h}};
    for (const TPixelRect& r : shownSince_) areas.push_back({r.X0, r.Y0, r.X1 - r.X0, r.Y1 - r.Y0});
    if (!HostShowPicture(window_, surface_, pieces.data(), int(pieces.size() / 2), areas.data(),
                         int(areas.size()), showWhole_, gaps_))
        return false;
    shownSince_.clear();
    showWhole_ = false;
    return true;
}

void TSdlDevice::ShownSize(int& width, int& height) const {
    const int density = int(std::max(params_.Density, 1u));
    width = regions_.empty() ? int(params_.BackBufferWidth) : arrangedW_ * density;
    height = regions_.empty() ? int(params_.BackBufferHeight) : arrangedH_ * density;
}

std::vector<std::pair<SDL_Rect, SDL_Rect>> TSdlDevice::Pieces(const SDL_Rect& shown) const {
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

void TSdlDevice::SetArrangement(int32_t width, int32_t height,
                                const std::vector<TGfxRegion>& regions, uint32_t gaps) {
    const bool arranged = width > 0 && height > 0 && !regions.empty();
    arrangedW_ = arranged ? width : 0;
    arrangedH_ = arranged ? height : 0;
    regions_ = arranged ? regions : std::vector<TGfxRegion>{};
    gaps_ = gaps;
    presentDue_ = true;
    showWhole_ = true;
}

std::string TSdlDevice::RendererName() const {
    SDL_RendererInfo info{};
    if (!context_->Renderer || SDL_GetRendererInfo(context_->Renderer, &info) != 0 || !info.name)
        return "unknown";
    return info.name;
}

void TSdlDevice::WantPresent() {
    presentDue_ = true;
    showWhole_ = true;
}

void TSdlDevice::TargetLost() {
    wholeFrameDue_ = true;
    presentDue_ = true;
}

int32_t TSdlDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t,
                                  int32_t format, int32_t pool,
                                  std::shared_ptr<IGfxTexture>& texture) {
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

int32_t TSdlDevice::CreateVertexBuffer(uint32_t length, uint32_t, uint32_t, int32_t,
                                       std::shared_ptr<IGfxVertexBuffer>& buffer) {
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

TGfxRect TSdlDevice::PictureRectInWindow() const {
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

bool TSdlDevice::OutputSize(int32_t& width, int32_t& height) const {
    if (!window_) return false;
    int w = 0, h = 0;
    SDL_GetWindowSizeInPixels(window_, &w, &h);
    width = w;
    height = h;
    return w > 0 && h > 0;
}

bool TSdlDevice::ReadFrame(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) const {
    if (kind_ != TGfxSystemKind::Offscreen || lastFrame_.empty()) return false;
    pixels = lastFrame_;
    width = int32_t(params_.BackBufferWidth);
    height = int32_t(params_.BackBufferHeight);
    return true;
}

bool TSdlDevice::ReadBackBuffer(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) {
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

int32_t TSdlDevice::CreateOffscreen() {
    const int32_t made = CreateSurfaceRenderer();
    return made == GFX_OK ? Started() : made;
}

int32_t TSdlDevice::CreateSurfaceRenderer() {
    surface_ =
        SDL_CreateRGBSurfaceWithFormat(0, int(params_.BackBufferWidth),
                                       int(params_.BackBufferHeight), 32, SDL_PIXELFORMAT_ARGB8888);
    if (!surface_) return GFXERR_OUTOFVIDEOMEMORY;
    SDL_FillRect(surface_, nullptr, 0xFF000000u);
    SDL_SetSurfaceBlendMode(surface_, SDL_BLENDMODE_NONE); // presented as a plain copy
    context_->Renderer = SDL_CreateSoftwareRenderer(surface_);
    if (!context_->Renderer) return GFXERR_NOTAVAILABLE;
    return GFX_OK;
}

int32_t TSdlDevice::CreateInWindow() {
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
    target_ =
        SDL_CreateTexture(context_->Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                          int(params_.BackBufferWidth), int(params_.BackBufferHeight));
    if (!target_) return GFXERR_OUTOFVIDEOMEMORY;
    SDL_SetTextureBlendMode(target_, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(target_, SDL_ScaleModeLinear);
    SDL_SetRenderTarget(context_->Renderer, target_);
    SDL_SetRenderDrawColor(context_->Renderer, 0, 0, 0, 255);
    SDL_RenderClear(context_->Renderer);
    return Started();
}

bool TSdlDevice::WantsVSync() const {
    return params_.Windowed || params_.DesktopFullScreen ||
           params_.FullScreen_PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
}

int32_t TSdlDevice::ApplyWindowMode() {
    if (params_.Windowed) {
        const bool wasFullScreen = (SDL_GetWindowFlags(window_) &
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

int32_t TSdlDevice::Started() {
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

void TSdlDevice::KeepFrame() {
    const size_t w = params_.BackBufferWidth, h = params_.BackBufferHeight;
    if (lastFrame_.size() != w * h) {
        lastFrame_.resize(w * h);
        drawnSinceKept_ = {{0, 0, int(w), int(h)}};
    }
    SDL_LockSurface(surface_);
    for (const TPixelRect& r : drawnSinceKept_)
        for (int y = r.Y0; y < r.Y1; ++y) {
            const auto* row =
                reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface_->pixels) +
                                                  size_t(y) * size_t(surface_->pitch));
            for (int x = r.X0; x < r.X1; ++x)
                lastFrame_[size_t(y) * w + size_t(x)] = row[x] | 0xFF000000u;
        }
    SDL_UnlockSurface(surface_);
    drawnSinceKept_.clear();
}

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

} // namespace gfxsdl
