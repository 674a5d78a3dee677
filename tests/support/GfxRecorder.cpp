#include "tests/support/GfxRecorder.h"

#include <cstdio>
#include <cstring>

TRecordingGfxTexture::TRecordingGfxTexture(uint32_t width, uint32_t height, int32_t format)
    : Texels(size_t(width) * height * size_t(GfxFormatBytes(format)), 0), width_(width),
      height_(height), format_(format) {}

int32_t TRecordingGfxTexture::LockRect(uint32_t level, TGfxLockedRect& rect, uint32_t) {
    ++Locks;
    if (LockResult != GFX_OK) return LockResult;
    if (level != 0) return GFXERR_INVALIDCALL;
    rect.Pitch = int32_t(width_) * GfxFormatBytes(format_);
    rect.Bits = Texels.data();
    return GFX_OK;
}

int32_t TRecordingGfxTexture::UnlockRect(uint32_t) {
    ++Unlocks;
    return UnlockResult;
}

int32_t TRecordingGfxVertexBuffer::Lock(uint32_t offset, uint32_t size, uint8_t*& data, uint32_t) {
    ++Locks;
    LastLockOffset = offset;
    LastLockSize = size;
    if (LockResult != GFX_OK) return LockResult;
    if (offset > Memory.size() || size > Memory.size() - offset) return GFXERR_INVALIDCALL;
    data = Memory.data() + offset;
    return GFX_OK;
}

int32_t TRecordingGfxVertexBuffer::Unlock() {
    return GFX_OK;
}

int32_t TRecordingGfxDevice::Reset(TGfxPresentParameters&) {
    Calls.push_back("Reset");
    ++Resets;
    if (ResetResult == GFX_OK) lost_ = false;
    return ResetResult;
}

int32_t TRecordingGfxDevice::Present() {
    Calls.push_back("Present");
    ++Presents;
    return lost_ ? GFXERR_DEVICELOST : PresentResult;
}

int32_t TRecordingGfxDevice::BeginScene() {
    Calls.push_back("BeginScene");
    return BeginSceneResult;
}

int32_t TRecordingGfxDevice::EndScene() {
    Calls.push_back("EndScene");
    return EndSceneResult;
}

int32_t TRecordingGfxDevice::CreateTexture(uint32_t width, uint32_t height, uint32_t, uint32_t,
                                           int32_t format, int32_t,
                                           std::shared_ptr<IGfxTexture>& texture) {
    Calls.push_back("CreateTexture");
    texture.reset();
    ++textureCalls_;
    if (CreateTextureResult != GFX_OK) return CreateTextureResult;
    if (CreateTextureFailsFrom > 0 && textureCalls_ >= CreateTextureFailsFrom)
        return GFXERR_OUTOFVIDEOMEMORY;
    if (GfxFormatBytes(format) == 0) return GFXERR_INVALIDCALL;
    auto made = std::make_shared<TRecordingGfxTexture>(width, height, format);
    made->LockResult = NewTextureLockResult;
    made->UnlockResult = NewTextureUnlockResult;
    Textures.push_back(made);
    texture = made;
    return GFX_OK;
}

int32_t TRecordingGfxDevice::CreateVertexBuffer(uint32_t length, uint32_t, uint32_t, int32_t,
                                                std::shared_ptr<IGfxVertexBuffer>& buffer) {
    Calls.push_back("CreateVertexBuffer");
    buffer.reset();
    ++vertexBufferCalls_;
    if (CreateVertexBufferResult != GFX_OK) return CreateVertexBufferResult;
    if (vertexBufferCalls_ == CreateVertexBufferFailsAt) return GFXERR_OUTOFVIDEOMEMORY;
    auto made = std::make_shared<TRecordingGfxVertexBuffer>(length);
    VertexBuffers.push_back(made);
    buffer = made;
    return GFX_OK;
}

int32_t TRecordingGfxDevice::SetTexture(uint32_t, IGfxTexture* texture) {
    Calls.push_back("SetTexture");
    TextureBinds.push_back(texture);
    if (SetTextureResult != GFX_OK) return SetTextureResult;
    bound_ = texture ? texture->shared_from_this() : nullptr;
    return GFX_OK;
}

int32_t TRecordingGfxDevice::SetStreamSource(uint32_t, IGfxVertexBuffer* buffer, uint32_t stride) {
    Calls.push_back("SetStreamSource");
    if (SetStreamSourceResult != GFX_OK) return SetStreamSourceResult;
    stream_ = buffer ? buffer->shared_from_this() : nullptr;
    stride_ = stride;
    return GFX_OK;
}

int32_t TRecordingGfxDevice::SetVertexShader(uint32_t fvf) {
    Calls.push_back("SetVertexShader");
    LastFvf = fvf;
    return SetVertexShaderResult;
}

int32_t TRecordingGfxDevice::DrawPrimitive(int32_t type, uint32_t start, uint32_t count) {
    Calls.push_back("DrawPrimitive");
    if (DrawPrimitiveResult != GFX_OK) return DrawPrimitiveResult;
    TRecordedDraw draw;
    draw.PrimitiveType = type;
    draw.StartVertex = start;
    draw.PrimitiveCount = count;
    draw.Texture = bound_.get();
    draw.Stream = stream_.get();
    draw.Stride = stride_;
    const uint32_t vertices = type == D3DPT_TRIANGLELIST ? count * 3 : count + 2;
    auto* buffer = dynamic_cast<TRecordingGfxVertexBuffer*>(stream_.get());
    if (buffer && stride_ >= kGfxVertexSize) {
        for (uint32_t i = start; i < start + vertices; ++i) {
            const size_t at = size_t(i) * stride_;
            if (at + kGfxVertexSize > buffer->Memory.size()) break;
            TRecordedVertex v{};
            std::memcpy(&v, buffer->Memory.data() + at, sizeof v);
            draw.Vertices.push_back(v);
        }
    }
    Draws.push_back(std::move(draw));
    return GFX_OK;
}

int32_t TRecordingGfxDevice::SetViewport(const TGfxViewport& viewport) {
    Calls.push_back("SetViewport");
    Viewports.push_back(viewport);
    return GFX_OK;
}

int32_t TRecordingGfxDevice::SetRenderState(uint32_t state, uint32_t value) {
    Calls.push_back("SetRenderState");
    RenderStates.emplace_back(state, value);
    return GFX_OK;
}

int32_t TRecordingGfxDevice::SetTextureStageState(uint32_t stage, uint32_t type, uint32_t value) {
    Calls.push_back("SetTextureStageState");
    StageStates.push_back({stage, type, value});
    return GFX_OK;
}

TGfxRect TRecordingGfxDevice::PictureRectInWindow() const {
    return PictureRect;
}

bool TRecordingGfxDevice::ReadFrame(std::vector<uint32_t>&, int32_t&, int32_t&) const {
    return false;
}

void TRecordingGfxDevice::ClearRecord() {
    Calls.clear();
    Draws.clear();
    RenderStates.clear();
    StageStates.clear();
    TextureBinds.clear();
    Viewports.clear();
    Presents = Resets = 0;
}

TRecordingGfxSystem::TRecordingGfxSystem() {
    std::snprintf(Identifier.Description, sizeof Identifier.Description, "Recording adapter");
    std::snprintf(Identifier.Driver, sizeof Identifier.Driver, "recorder");
}

int32_t TRecordingGfxSystem::GetAdapterIdentifier(uint32_t, uint32_t,
                                                  TGfxAdapterIdentifier& identifier) {
    Calls.push_back("GetAdapterIdentifier");
    if (AdapterIdentifierResult == GFX_OK) identifier = Identifier;
    return AdapterIdentifierResult;
}

int32_t TRecordingGfxSystem::GetDeviceCaps(uint32_t, int32_t deviceType, TGfxCaps& caps) {
    Calls.push_back("GetDeviceCaps");
    LastDeviceType = deviceType;
    caps = {};
    caps.DeviceType = deviceType;
    return DeviceCapsResult;
}

int32_t TRecordingGfxSystem::GetAdapterDisplayMode(uint32_t, TGfxDisplayMode& mode) {
    Calls.push_back("GetAdapterDisplayMode");
    if (DisplayModeResult == GFX_OK) mode = DesktopMode;
    return DisplayModeResult;
}

uint32_t TRecordingGfxSystem::GetAdapterModeCount(uint32_t) {
    Calls.push_back("GetAdapterModeCount");
    return uint32_t(Modes.size());
}

int32_t TRecordingGfxSystem::EnumAdapterModes(uint32_t, uint32_t index,
                                              TGfxDisplayMode& displayMode) {
    Calls.push_back("EnumAdapterModes");
    if (EnumModesResult != GFX_OK) return EnumModesResult;
    if (EnumModesFailures > 0) {
        --EnumModesFailures;
        return GFXERR_INVALIDCALL;
    }
    if (index >= Modes.size()) return GFXERR_INVALIDCALL;
    displayMode = Modes[index];
    return GFX_OK;
}

int32_t TRecordingGfxSystem::CreateDevice(uint32_t, int32_t deviceType, TNativeWindow*,
                                          uint32_t behaviourFlags, TGfxPresentParameters& params,
                                          std::shared_ptr<IGfxDevice>& device) {
    Calls.push_back("CreateDevice");
    LastDeviceType = deviceType;
    LastBehaviourFlags = behaviourFlags;
    LastParams = params;
    device.reset();
    if (CreateDeviceResult != GFX_OK) return CreateDeviceResult;
    device = Device;
    return GFX_OK;
}
