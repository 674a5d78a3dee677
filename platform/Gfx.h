#pragma once
// The graphics layer: the part of a Direct3D 8 style API that the render device and the pattern
// sets call, with the same result codes and numbers (GfxTypes.h). IGfxSystem stands for the API's
// root object (adapter, modes, device creation), IGfxDevice for a device, IGfxTexture and
// IGfxVertexBuffer for its resources. Objects are shared: a texture or buffer stays valid as long
// as someone holds it, but draws nothing once its device is gone.
//
// CreateGfxSystem gives the SDL2 implementation (GfxSdl.cpp); tests/support/GfxRecorder.h a
// recording double for tests.
#include "platform/GfxTypes.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IGfxTexture : public std::enable_shared_from_this<IGfxTexture> {
public:
    virtual ~IGfxTexture() = default;
    // Level 0 only. The whole surface is locked; `rect` gets the row pitch and texel (0, 0).
    virtual int32_t LockRect(uint32_t level, TGfxLockedRect& rect, uint32_t flags) = 0;
    virtual int32_t UnlockRect(uint32_t level) = 0;
    virtual uint32_t Width() const = 0;
    virtual uint32_t Height() const = 0;
    virtual int32_t Format() const = 0;
    // The texels are on the device and the one who wrote them can write them again: the device
    // may drop its own copy. A later lock then starts from zero texels, and a device that loses
    // its textures (a reset after a loss) reports ContentsLost until they are written again.
    virtual void DropSystemCopy() {}
    virtual bool ContentsLost() const { return false; }
};

class IGfxVertexBuffer : public std::enable_shared_from_this<IGfxVertexBuffer> {
public:
    virtual ~IGfxVertexBuffer() = default;
    // `size` 0 locks from `offset` to the end. GFXERR_INVALIDCALL when the range lies outside.
    virtual int32_t Lock(uint32_t offset, uint32_t size, uint8_t*& data, uint32_t flags) = 0;
    virtual int32_t Unlock() = 0;
    virtual uint32_t Length() const = 0;
};

class IGfxDevice {
public:
    virtual ~IGfxDevice() = default;

    virtual int32_t Reset(TGfxPresentParameters& params) = 0;
    // Present(nil, nil, 0, nil): shows the back buffer. GFXERR_DEVICELOST after the platform
    // reported a reset, until Reset succeeds.
    virtual int32_t Present() = 0;
    virtual int32_t BeginScene() = 0;
    virtual int32_t EndScene() = 0;

    virtual int32_t CreateTexture(uint32_t width, uint32_t height, uint32_t levels, uint32_t usage,
                                  int32_t format, int32_t pool,
                                  std::shared_ptr<IGfxTexture>& texture) = 0;
    virtual int32_t CreateVertexBuffer(uint32_t length, uint32_t usage, uint32_t fvf, int32_t pool,
                                       std::shared_ptr<IGfxVertexBuffer>& buffer) = 0;

    // The device holds a reference to the bound texture and stream source; null unbinds.
    virtual int32_t SetTexture(uint32_t stage, IGfxTexture* texture) = 0;
    virtual int32_t SetStreamSource(uint32_t stream, IGfxVertexBuffer* buffer, uint32_t stride) = 0;
    virtual int32_t SetVertexShader(uint32_t fvf) = 0;
    // Inside BeginScene/EndScene; vertices come from stream 0.
    virtual int32_t DrawPrimitive(int32_t primitiveType, uint32_t startVertex,
                                  uint32_t primitiveCount) = 0;
    virtual int32_t SetViewport(const TGfxViewport& viewport) = 0;
    virtual int32_t SetRenderState(uint32_t state, uint32_t value) = 0;
    virtual int32_t SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) = 0;

    // --- Beyond the API: presentation details and offscreen read-back -----------------------
    // Where the picture lies in the window, in window coordinates (the arranged picture's
    // place when it is arranged).
    virtual TGfxRect PictureRectInWindow() const = 0;
    // Shows the picture arranged: a picture of width x height picture pixels made of the regions
    // (each scaled with the rest to fit the window), `gaps` (0xRRGGBB) where none lies. No
    // regions: the picture as it is.
    virtual void SetArrangement(int32_t /*width*/, int32_t /*height*/,
                                const std::vector<TGfxRegion>& /*regions*/, uint32_t /*gaps*/) {}
    // The size in real pixels of what the device presents in (the window's drawable area, more
    // than its coordinates on a high-DPI display); false when it presents in no window.
    virtual bool OutputSize(int32_t& /*width*/, int32_t& /*height*/) const { return false; }
    // The last presented frame as 0xAARRGGBB (alpha always 0xFF), row 0 on top; false when the
    // device keeps no copy (a device presenting to a window).
    virtual bool ReadFrame(std::vector<uint32_t>& pixels, int32_t& width,
                           int32_t& height) const = 0;
    // The back buffer as it is now (between frames: the frame presented last), as 0xAARRGGBB
    // with row 0 on top, at the back buffer's size, from every kind of device; false when it
    // cannot be read (lost, in a scene). A read from a graphics processor waits for it.
    virtual bool ReadBackBuffer(std::vector<uint32_t>& /*pixels*/, int32_t& /*width*/,
                                int32_t& /*height*/) {
        return false;
    }
    // Makes the device behave as after a driver reset: Present answers GFXERR_DEVICELOST.
    virtual void SimulateDeviceLoss() = 0;
    // On (the default), a frame draws only where it differs from the last one; off, every frame
    // is drawn whole. The picture is the same either way.
    virtual void SetPartialFrames(bool) {}
};

class IGfxSystem {
public:
    virtual ~IGfxSystem() = default;
    virtual int32_t GetAdapterIdentifier(uint32_t adapter, uint32_t flags,
                                         TGfxAdapterIdentifier& identifier) = 0;
    virtual int32_t GetDeviceCaps(uint32_t adapter, int32_t deviceType, TGfxCaps& caps) = 0;
    virtual int32_t GetAdapterDisplayMode(uint32_t adapter, TGfxDisplayMode& mode) = 0;
    virtual uint32_t GetAdapterModeCount(uint32_t adapter) = 0;
    virtual int32_t EnumAdapterModes(uint32_t adapter, uint32_t mode,
                                     TGfxDisplayMode& displayMode) = 0;
    virtual int32_t CreateDevice(uint32_t adapter, int32_t deviceType, TNativeWindow* focusWindow,
                                 uint32_t behaviourFlags, TGfxPresentParameters& params,
                                 std::shared_ptr<IGfxDevice>& device) = 0;
};

enum class TGfxSystemKind {
    Window,    // presents in a TNativeWindow (windowed or full screen); initialises SDL video
    Offscreen, // renders into a memory surface with SDL's software renderer; needs no display
};

// Null when the kind cannot be provided (no video subsystem for Window).
std::shared_ptr<IGfxSystem> CreateGfxSystem(TGfxSystemKind kind);
