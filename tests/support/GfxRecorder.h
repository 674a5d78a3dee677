#pragma once
// A recording double of the graphics layer for tests: it draws nothing but records every call
// (draws with their vertices, state changes, texture binds, viewports, scenes) and answers with
// results a test can set, to drive the callers' failure paths.
#include "platform/Gfx.h"

#include <string>
#include <vector>

class TRecordingGfxTexture final : public IGfxTexture {
public:
    TRecordingGfxTexture(uint32_t width, uint32_t height, int32_t format);
    int32_t LockRect(uint32_t level, TGfxLockedRect& rect, uint32_t flags) override;
    int32_t UnlockRect(uint32_t level) override;
    uint32_t Width() const override { return width_; }
    uint32_t Height() const override { return height_; }
    int32_t Format() const override { return format_; }

    int32_t LockResult = GFX_OK;
    int32_t UnlockResult = GFX_OK;
    int Locks = 0, Unlocks = 0;
    std::vector<uint8_t> Texels; // rows of Width x bytes-per-texel, no padding

private:
    uint32_t width_, height_;
    int32_t format_;
};

class TRecordingGfxVertexBuffer final : public IGfxVertexBuffer {
public:
    explicit TRecordingGfxVertexBuffer(uint32_t length) : Memory(length, 0) {}
    int32_t Lock(uint32_t offset, uint32_t size, uint8_t*& data, uint32_t flags) override;
    int32_t Unlock() override;
    uint32_t Length() const override { return uint32_t(Memory.size()); }

    int32_t LockResult = GFX_OK;
    int Locks = 0;
    uint32_t LastLockOffset = 0, LastLockSize = 0;
    std::vector<uint8_t> Memory;
};

// One vertex as drawn (the 28-byte layout decoded).
struct TRecordedVertex {
    float X, Y, Z, Rhw;
    uint32_t Diffuse; // 0xAARRGGBB
    float U, V;
};

struct TRecordedDraw {
    int32_t PrimitiveType = 0;
    uint32_t StartVertex = 0;
    uint32_t PrimitiveCount = 0;
    IGfxTexture* Texture = nullptr;
    IGfxVertexBuffer* Stream = nullptr;
    uint32_t Stride = 0;
    std::vector<TRecordedVertex> Vertices; // the vertices the draw used
};

class TRecordingGfxDevice final : public IGfxDevice {
public:
    int32_t Reset(TGfxPresentParameters& params) override;
    int32_t Present() override;
    int32_t BeginScene() override;
    int32_t EndScene() override;
    int32_t CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                          int32_t format, int32_t pool,
                          std::shared_ptr<IGfxTexture>& texture) override;
    int32_t CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, int32_t pool,
                               std::shared_ptr<IGfxVertexBuffer>& buffer) override;
    int32_t SetTexture(uint32_t stage, IGfxTexture* texture) override;
    int32_t SetStreamSource(uint32_t stream, IGfxVertexBuffer* buffer, uint32_t stride) override;
    int32_t SetVertexShader(uint32_t fvf) override;
    int32_t DrawPrimitive(int32_t primitiveType, uint32_t startVertex,
                          uint32_t primitiveCount) override;
    int32_t SetViewport(const TGfxViewport& viewport) override;
    int32_t SetRenderState(uint32_t state, uint32_t value) override;
    int32_t SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) override;
    TGfxRect PictureRectInWindow() const override;
    void SetArrangement(int32_t, int32_t, const std::vector<TGfxRegion>& regions,
                        uint32_t) override {
        Arranged = regions.size();
    }
    bool ReadFrame(std::vector<uint32_t>& pixels, int32_t& width, int32_t& height) const override;
    void SimulateDeviceLoss() override { lost_ = true; }

    // Forgets what was recorded (the results set stay).
    void ClearRecord();
    // State changes since the last ClearRecord, of either kind.
    size_t StateChanges() const { return RenderStates.size() + StageStates.size(); }

    // --- Results to answer with -------------------------------------------------------------
    int32_t ResetResult = GFX_OK;
    int32_t PresentResult = GFX_OK; // GFXERR_DEVICELOST is also answered after SimulateDeviceLoss
    int32_t BeginSceneResult = GFX_OK;
    int32_t EndSceneResult = GFX_OK;
    int32_t CreateTextureResult = GFX_OK;
    int CreateTextureFailsFrom = 0;        // > 0: that call (1-based) and later ones fail
    int32_t NewTextureLockResult = GFX_OK; // what textures made from now on answer
    int32_t NewTextureUnlockResult = GFX_OK;
    int32_t CreateVertexBufferResult = GFX_OK;
    int CreateVertexBufferFailsAt = 0; // > 0: only that call (1-based) fails
    int32_t SetTextureResult = GFX_OK;
    int32_t SetStreamSourceResult = GFX_OK;
    int32_t SetVertexShaderResult = GFX_OK;
    int32_t DrawPrimitiveResult = GFX_OK;
    TGfxRect PictureRect{0, 0, 800, 600};
    size_t Arranged = 0; // pieces of the arrangement shown

    // --- Record -------------------------------------------------------------------------------
    std::vector<std::string> Calls; // method names in call order
    std::vector<TRecordedDraw> Draws;
    std::vector<std::pair<uint32_t, uint32_t>> RenderStates; // (state, value)
    struct TStageState {
        uint32_t Stage, Type, Value;
    };
    std::vector<TStageState> StageStates;
    std::vector<IGfxTexture*> TextureBinds;
    std::vector<TGfxViewport> Viewports;
    std::vector<std::shared_ptr<TRecordingGfxTexture>> Textures; // every texture made
    std::vector<std::shared_ptr<TRecordingGfxVertexBuffer>> VertexBuffers;
    uint32_t LastFvf = 0;
    int Presents = 0, Resets = 0;

private:
    bool lost_ = false;
    int textureCalls_ = 0, vertexBufferCalls_ = 0;
    std::shared_ptr<IGfxTexture> bound_;
    std::shared_ptr<IGfxVertexBuffer> stream_;
    uint32_t stride_ = 0;
};

class TRecordingGfxSystem final : public IGfxSystem {
public:
    TRecordingGfxSystem();
    int32_t GetAdapterIdentifier(uint32_t adapter, uint32_t flags,
                                 TGfxAdapterIdentifier& identifier) override;
    int32_t GetDeviceCaps(uint32_t adapter, int32_t deviceType, TGfxCaps& caps) override;
    int32_t GetAdapterDisplayMode(uint32_t adapter, TGfxDisplayMode& mode) override;
    uint32_t GetAdapterModeCount(uint32_t adapter) override;
    int32_t EnumAdapterModes(uint32_t adapter, uint32_t mode,
                             TGfxDisplayMode& displayMode) override;
    int32_t CreateDevice(uint32_t adapter, int32_t deviceType, TNativeWindow* focusWindow,
                         uint32_t behaviourFlags, TGfxPresentParameters& params,
                         std::shared_ptr<IGfxDevice>& device) override;

    // --- Results and data to answer with ----------------------------------------------------
    int32_t AdapterIdentifierResult = GFX_OK;
    int32_t DeviceCapsResult = GFX_OK;
    int32_t DisplayModeResult = GFX_OK;
    int32_t EnumModesResult = GFX_OK;
    int EnumModesFailures = 0; // the next that many EnumAdapterModes calls fail
    int32_t CreateDeviceResult = GFX_OK;
    TGfxAdapterIdentifier Identifier;
    TGfxDisplayMode DesktopMode{1920, 1080, 60, D3DFMT_X8R8G8B8};
    std::vector<TGfxDisplayMode> Modes;
    // The device handed out by CreateDevice (the same one every time).
    std::shared_ptr<TRecordingGfxDevice> Device = std::make_shared<TRecordingGfxDevice>();

    // --- Record -------------------------------------------------------------------------------
    std::vector<std::string> Calls;
    int32_t LastDeviceType = 0;
    uint32_t LastBehaviourFlags = 0;
    TGfxPresentParameters LastParams;
};
