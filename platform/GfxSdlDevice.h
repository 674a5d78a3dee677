// The graphics layer's device over the SDL2 renderer (GfxSdlDevice.cpp: making, resetting and
// presenting; GfxSdlScene.cpp: the scene and its draws).
//
// - Textures keep a copy of their texels (GfxSdlTexture.h); a reset uploads every copy again.
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
#include "platform/GfxSdlDraw.h"
#include "platform/GfxSdlTexture.h"

#include <SDL.h>

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace gfxsdl {

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

// Marks the device lost or its frame due again on SDL's reports of resets and window changes.
int WatchRenderResets(void* userData, SDL_Event* event);

class TSdlDevice final : public IGfxDevice {
public:
    TSdlDevice(TGfxSystemKind kind, SDL_Window* window);
    ~TSdlDevice() override;

    int32_t Create(const TGfxPresentParameters& params);

    void MarkLost() { lost_ = true; }

    // A device that is not lost keeps its renderer and textures through a reset to another
    // window mode or presentation interval; only another back-buffer size, or a loss, makes
    // them anew.
    int32_t Reset(TGfxPresentParameters& params) override;

    int32_t Present() override;

    // Copies the back buffer into the window's own image, scaled to fit with its proportions
    // kept and centred on black, and shows it. An image of the picture's own size that already
    // holds the last frame gets only what was drawn since, and only that is shown. False when the
    // window has no image to give.
    bool PresentSurface();
    // The rectangles drawn since the last present, copied into the window's image of the
    // picture's size and shown; false (the whole picture due next) when that fails.
    bool ShowDrawnSince(SDL_Surface* out);
    bool WholeDue();

    // Where the host shows the picture itself (a page's canvas at the picture's own size), only
    // what changed since it last did.
    bool ShowByHost(int sw, int sh);

    // The size in back-buffer pixels of what is shown: the picture, or its arrangement.
    void ShownSize(int& width, int& height) const;

    // What Present copies: rectangles of the back buffer and where each goes in `shown`, the
    // place of the picture or its arrangement in the output. Neighbouring pieces meet without a
    // gap at any scale.
    std::vector<std::pair<SDL_Rect, SDL_Rect>> Pieces(const SDL_Rect& shown) const;

    void SetArrangement(int32_t width, int32_t height, const std::vector<TGfxRegion>& regions,
                        uint32_t gaps) override;

    int32_t BeginScene() override;
    // Draws what differs from the last frame; the draws of this one are kept for the next.
    int32_t EndScene() override;

    // The SDL renderer drawing the frames ("opengles2", "software", ...).
    std::string RendererName() const;

    // The window shows something else than the last presented frame (it was resized, uncovered
    // or shown again): the next Present presents even an unchanged frame.
    void WantPresent();
    // The back buffer's contents are gone: the next frame is drawn whole.
    void TargetLost();

    int32_t CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t,
                          int32_t format, int32_t pool,
                          std::shared_ptr<IGfxTexture>& texture) override;

    int32_t CreateVertexBuffer(uint32_t length, uint32_t, uint32_t, int32_t,
                               std::shared_ptr<IGfxVertexBuffer>& buffer) override;

    int32_t SetTexture(uint32_t stage, IGfxTexture* texture) override;

    int32_t SetStreamSource(uint32_t stream, IGfxVertexBuffer* buffer, uint32_t stride) override;

    int32_t SetVertexShader(uint32_t fvf) override;

    int32_t DrawPrimitive(int32_t type, uint32_t start, uint32_t count) override;

    // The viewport must lie inside the back buffer; anything else is refused and changes nothing.
    int32_t SetViewport(const TGfxViewport& viewport) override;

    int32_t SetRenderState(uint32_t state, uint32_t value) override;

    int32_t SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) override;

    TGfxRect PictureRectInWindow() const override;

    bool OutputSize(int32_t& width, int32_t& height) const override;

    bool ReadFrame(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) const override;

    bool ReadBackBuffer(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) override;

    void SimulateDeviceLoss() override { lost_ = true; }
    void SetPartialFrames(bool on) override { partialFrames_ = on; }

private:
    static constexpr uint32_t kMaxTextureSide = 8192;

    // Draws this frame's draws that reach into `area`, clipped to it, in order; consecutive
    // draws with the same texture and states go to the renderer together.
    bool DrawArea(const TPixelRect& area);

    // Sends the collected vertices_ with the states of `d`, clipped to `clip`.
    bool DrawBatch(const TSdlDraw& d, const SDL_Rect& clip);

    // Draws the triangles of indices_ in order. Pairs that form an axis-aligned rectangle of one
    // colour showing an axis-aligned block of texels are copied as a rectangle: that maps texel
    // to pixel exactly (and is faster), where the renderer's triangle sampling may be off by
    // part of a texel. Everything else goes through SDL_RenderGeometry.
    bool RenderTriangles(TSdlTexture* texture, SDL_ScaleMode scale);

    // A tinted texture blended onto our own back buffer, texel for pixel, computed here as SDL's
    // software renderer computes it (same results to the last bit): colour c = c * tint / 255 and
    // alpha a = a * tint alpha / 255, then dst = c * a / 255 + dst * (255 - a) / 255 per
    // channel and dst alpha = a + dst alpha * (255 - a) / 255, all divisions truncating. SDL's own
    // blit costs about 4.6 us more whenever a texture's tint changes, which text of several
    // colours does at nearly every glyph. Untinted and other blends stay with SDL. False when
    // not done.
    bool BlendTinted(TSdlTexture& texture, const TRectQuad& quad);

    int32_t CreateOffscreen();

    // The back buffer as a memory surface of ours with SDL's software renderer drawing into it.
    int32_t CreateSurfaceRenderer();

    int32_t CreateInWindow();

    // A window at rest waits for the display's refresh; full screen does as VSync says.
    bool WantsVSync() const;

    // Puts the window in the mode the parameters ask for: framed, full screen on the desktop's
    // mode, or full screen at a mode of the back buffer's size.
    int32_t ApplyWindowMode();

    // The state every new or reset device starts in.
    int32_t Started();

    void ApplyViewport();

    SDL_BlendMode BlendModeOf(const TSdlDraw& d) const;
    // Called when the renderer refused the custom mode: it will not take one later either.
    SDL_BlendMode Fallback(const TSdlDraw& d);

    // Copies what the frames since the last copy drew (all of it the first time).
    void KeepFrame();

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

} // namespace gfxsdl
