#include "render/RenderDevice.h"

#include "platform/Bitmap.h"
#include "platform/Gfx.h"
#include "render/ModeList.h"
#include "render/PatternImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <numbers>

TRenderDevice* RenderDevice1 = nullptr;

namespace {

// One vertex as the device sends it: pre-transformed position, diffuse 0xAARRGGBB, texture
// coordinates (format 0x144).
struct TVertex {
    float X = 0, Y = 0, Z = 0, Rhw = 1;
    uint32_t Diffuse = 0xFFFFFFFF;
    float U = 0, V = 0;
};
static_assert(sizeof(TVertex) == kGfxVertexSize);

constexpr int32_t kMaxBatchQuads = 42;   // 252 of the batch buffer's 256 vertices
constexpr uint32_t kBatchVertices = 256; // 7168 bytes
constexpr uint32_t kStripVertices = 5;   // 140 bytes; a strip uses 4
constexpr int32_t kRotationCacheSize = 2048;

// 0xAABBGGRR (the callers' layout) to 0xAARRGGBB (the vertex layout): swaps red and blue.
uint32_t SwapRedBlue(uint32_t c) {
    return (c & 0xFF00FF00u) | ((c & 0xFFu) << 16) | ((c >> 16) & 0xFFu);
}

struct TBlendRow {
    uint32_t Src, Dest;
};
// Rows 1..9 of the blend table; 0 switches blending off; 10..255 change nothing.
constexpr TBlendRow kBlendTable[10] = {
    {0, 0},
    {D3DBLEND_ONE, D3DBLEND_ONE},              // fxAdd
    {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}, // fxBlend
    {D3DBLEND_SRCALPHA, D3DBLEND_ONE},         // fxAddAlpha
    {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR},        // fxMultiply
    {D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR}, // fxColorBlend
    {D3DBLEND_SRCCOLOR, D3DBLEND_ONE},         // fxColorAdd
    {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},     // fxInvMultiply
    {D3DBLEND_ZERO, D3DBLEND_INVSRCALPHA},     // fxShadow
    {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}, // fxBlend2
};

constexpr uint32_t kBlendByte = 0xFF;

// Scaled pattern size and, for the four reference points, the angle and distance from the
// centre (see TRenderDevice::DrawRotated*).
struct TRotationEntry {
    int32_t Width = 0, Height = 0;
    double Angle[4] = {};
    double Radius[4] = {};
};

enum class TRounding { Nearest, Truncate };

} // namespace

double AngleOf(double x1, double y1, double x2, double y2) {
    constexpr double pi = std::numbers::pi;
    double angle;
    if (x1 == x2) {
        angle = y2 < y1 ? 0.0 : pi;
    } else {
        angle = pi - std::atan((y2 - y1) / (x2 - x1));
        if (y1 < y2) angle += pi;
        if (y1 == y2) angle = x1 < x2 ? pi : 0.0;
    }
    while (angle < 0) angle += 2 * pi;
    while (angle > 2 * pi) angle -= 2 * pi;
    return angle;
}

struct TRenderDevice::TImpl {
    // Published properties.
    bool Antialias = true;
    bool Dithering = false;
    bool Hardware = true;
    bool FullScreen = false;
    int32_t Width = 640;
    int32_t Height = 480;
    int32_t BackBufferCount = 1;
    TBitDepth BitDepth = bd_Low;
    TZBuffer ZBuffer = zb_None;
    bool VSync = false;
    TRefreshRate RefreshRate = rr_default;
    int32_t CustomRefreshRate = 0;
    int32_t Density = 1;
    int32_t OffsetX = 0, OffsetY = 0; // added to every draw's picture coordinates

    // Presentation.
    int32_t ArrangedWidth = 0, ArrangedHeight = 0;
    std::vector<TRenderDevice::TRegion> Regions; // none: the picture as it is
    uint32_t Gaps = 0;
    void ApplyArrangement();
    TNativeWindow* Owner = nullptr;
    bool Offscreen = false;
    bool DesktopFullScreen = false;
    std::shared_ptr<IGfxSystem> InjectedSystem;

    // Device state.
    bool Initialized = false;
    std::shared_ptr<IGfxSystem> System;
    std::shared_ptr<IGfxDevice> Device;
    TGfxPresentParameters Params;
    TAdapterInfo AdapterInfo;
    TGfxCaps Caps;
    std::shared_ptr<IGfxVertexBuffer> QuadBuffer;  // single-quad strip
    std::shared_ptr<IGfxVertexBuffer> BatchBuffer; // triangle lists

    // Batch.
    std::array<TVertex, kBatchVertices> Staging{};
    int32_t QueuedQuads = 0;
    std::array<TVertex, 4> Template{}; // top-left, top-right, bottom-left, bottom-right
    std::shared_ptr<IGfxTexture> Bound;
    uint32_t CurrentEffect = 0;

    // Rotation cache, most recently added first once full.
    std::vector<TRotationEntry> Cache = std::vector<TRotationEntry>(kRotationCacheSize);
    int32_t CacheUsed = 0;

    void ReleaseAll() {
        Bound.reset();
        BatchBuffer.reset();
        QuadBuffer.reset();
        Device.reset();
        System.reset();
        Initialized = false;
    }

    void SetFilters() {
        const uint32_t filter = Antialias ? D3DTEXF_LINEAR : D3DTEXF_POINT;
        Device->SetTextureStageState(0, D3DTSS_MAGFILTER, filter);
        Device->SetTextureStageState(0, D3DTSS_MINFILTER, filter);
    }

    // The states the device keeps for its whole life; a reset returns them to their defaults.
    void ApplyFixedStates() {
        for (TVertex& v : Template) v.Z = 0.0f, v.Rhw = 1.0f;
        Device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
        Device->SetRenderState(D3DRS_LIGHTING, 0);
        SetFilters();
        Device->SetRenderState(D3DRS_DITHERENABLE, Dithering ? 1 : 0);
    }

    int32_t FlushBatch() {
        const int32_t n = QueuedQuads;
        QueuedQuads = 0;
        if (n == 0) return 0;
        if (!Initialized) return rdRefused;
        IGfxVertexBuffer* buffer;
        uint32_t primitives;
        int32_t type;
        uint8_t* data = nullptr;
        if (n == 1) {
            // Vertices 1, 2, 3 and 6 of the queued quad are the corners in strip order.
            TVertex strip[kStripVertices] = {Staging[0], Staging[1], Staging[2], Staging[5], {}};
            buffer = QuadBuffer.get();
            if (buffer->Lock(0, sizeof strip, data, 0) != GFX_OK || !data) return rdLockFailed;
            std::memcpy(data, strip, sizeof strip);
            type = D3DPT_TRIANGLESTRIP;
            primitives = 2;
        } else {
            buffer = BatchBuffer.get();
            if (buffer->Lock(0, sizeof Staging, data, 0) != GFX_OK || !data) return rdLockFailed;
            std::memcpy(data, Staging.data(), sizeof Staging);
            type = D3DPT_TRIANGLELIST;
            primitives = uint32_t(2 * n);
        }
        if (buffer->Unlock() != GFX_OK) return rdLockFailed;
        if (Device->SetStreamSource(0, buffer, kGfxVertexSize) != GFX_OK ||
            Device->SetVertexShader(kGfxVertexFormat) != GFX_OK ||
            Device->DrawPrimitive(type, 0, primitives) != GFX_OK)
            return rdDrawFailed;
        return rdDone;
    }

    bool SelectTexture(TPatternImage* image, int32_t pattern, uint32_t effect) {
        TPatternSelection selection;
        if (!image ||
            !image->SelectPattern(pattern, (effect & fxfMirror) != 0, (effect & fxfFlip) != 0,
                                  selection) ||
            !selection.Texture)
            return false;
        for (int i = 0; i < 4; ++i) Template[size_t(i)].U = selection.U[i];
        for (int i = 0; i < 4; ++i) Template[size_t(i)].V = selection.V[i];
        if (selection.Texture != Bound.get()) {
            if (FlushBatch() != 0) return false;
            if (Device->SetTexture(0, selection.Texture) < 0) return false;
            Bound = selection.Texture->shared_from_this();
        }
        return true;
    }

    void SetEffect(uint32_t effect) {
        const uint32_t blend = effect & kBlendByte;
        const bool blendChanged = blend != (CurrentEffect & kBlendByte);
        const bool alphaChanged = (effect & fxfDiffuseAlpha) != (CurrentEffect & fxfDiffuseAlpha);
        if (blendChanged || alphaChanged) FlushBatch();
        if (blendChanged && blend == fxNone) {
            Device->SetRenderState(D3DRS_ALPHABLENDENABLE, 0);
        } else if (blendChanged && blend < 10) {
            Device->SetRenderState(D3DRS_ALPHABLENDENABLE, 1);
            Device->SetRenderState(D3DRS_SRCBLEND, kBlendTable[blend].Src);
            Device->SetRenderState(D3DRS_DESTBLEND, kBlendTable[blend].Dest);
        }
        if (alphaChanged) {
            if (effect & fxfDiffuseAlpha) {
                Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
                Device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
                Device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
            } else {
                Device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
            }
        }
        CurrentEffect = effect;
    }

    void QueueQuad() {
        if (QueuedQuads == kMaxBatchQuads) FlushBatch();
        TVertex* out = &Staging[size_t(QueuedQuads) * 6];
        // Two triangles sharing the edge from vertex 2 to vertex 3.
        out[0] = Template[0];
        out[1] = Template[1];
        out[2] = Template[2];
        out[3] = Template[2];
        out[4] = Template[1];
        out[5] = Template[3];
        ++QueuedQuads;
    }

    bool DrawQuad(TPatternImage* image, const int32_t (&x)[4], const int32_t (&y)[4],
                  uint32_t diffuse, int32_t pattern, uint32_t effect) {
        if (!Initialized) return false;
        if (!SelectTexture(image, pattern, effect)) return false;
        // Corners 1..4 run clockwise from the top-left; the template holds them as top-left,
        // top-right, bottom-left, bottom-right.
        static constexpr int kCornerOfVertex[4] = {0, 1, 3, 2};
        const float d = float(Density);
        for (int i = 0; i < 4; ++i) {
            TVertex& v = Template[size_t(i)];
            v.X = float(x[kCornerOfVertex[i]] + OffsetX) * d - 0.5f;
            v.Y = float(y[kCornerOfVertex[i]] + OffsetY) * d - 0.5f;
            v.Diffuse = diffuse;
        }
        SetEffect(effect);
        QueueQuad();
        return true;
    }

    const TRotationEntry& RotationEntry(int32_t w, int32_t h) {
        for (int32_t i = 0; i < CacheUsed; ++i)
            if (Cache[size_t(i)].Width == w && Cache[size_t(i)].Height == h)
                return Cache[size_t(i)];
        size_t slot;
        if (CacheUsed < kRotationCacheSize) {
            slot = size_t(CacheUsed++);
        } else {
            std::move_backward(Cache.begin(), Cache.end() - 1, Cache.end());
            slot = 0;
        }
        TRotationEntry& e = Cache[slot];
        e.Width = w;
        e.Height = h;
        // The first axis of this computation comes from the height: with the angle counted as
        // it is, this makes angle 64 draw the pattern upright.
        // Whole halves: an odd side turns about the pixel left of and above its middle.
        const double cx = static_cast<double>(h / 2), cy = static_cast<double>(w / 2);
        const double px[4] = {0, double(h), 0, double(h)};
        const double py[4] = {0, 0, double(w), double(w)};
        for (int i = 0; i < 4; ++i) {
            e.Radius[i] = std::sqrt((cx - px[i]) * (cx - px[i]) + (cy - py[i]) * (cy - py[i]));
            e.Angle[i] = AngleOf(cx, cy, px[i], py[i]);
        }
        return e;
    }

    bool DrawRotated(TPatternImage* image, int32_t x, int32_t y, int32_t angle, int32_t scale,
                     uint32_t diffuse, int32_t pattern, uint32_t effect, TRounding rounding) {
        if (!Initialized || !image || !image->Loaded) return false;
        const int32_t w = int32_t(int64_t{image->PatternWidth} * scale / 256);
        const int32_t h = int32_t(int64_t{image->PatternHeight} * scale / 256);
        const TRotationEntry& e = RotationEntry(w, h);
        const double a = angle * 2 * std::numbers::pi / 256;
        int32_t px[4], py[4];
        for (int i = 0; i < 4; ++i) {
            const double dx = e.Radius[i] * std::cos(a + e.Angle[i]);
            const double dy = e.Radius[i] * std::sin(a + e.Angle[i]);
            px[i] =
                x + int32_t(rounding == TRounding::Nearest ? std::nearbyint(dx) : std::trunc(dx));
            py[i] =
                y + int32_t(rounding == TRounding::Nearest ? std::nearbyint(dy) : std::trunc(dy));
        }
        // Corners 1..4 are the points of P0, P1, P3, P2.
        return DrawQuad(image, {px[0], px[1], px[3], px[2]}, {py[0], py[1], py[3], py[2]}, diffuse,
                        pattern, effect);
    }

    int32_t CreateDevice();
};

int32_t TRenderDevice::TImpl::CreateDevice() {
    System = InjectedSystem
                 ? InjectedSystem
                 : CreateGfxSystem(Offscreen ? TGfxSystemKind::Offscreen : TGfxSystemKind::Window);
    if (!System) return rdNoGraphics;

    const int32_t deviceType = Hardware ? D3DDEVTYPE_HAL : D3DDEVTYPE_REF;
    if (System->GetDeviceCaps(0, deviceType, Caps) != GFX_OK) return ReleaseAll(), rdNoCaps;
    TGfxAdapterIdentifier identifier;
    if (System->GetAdapterIdentifier(0, 0, identifier) != GFX_OK)
        return ReleaseAll(), rdNoAdapterId;
    std::memcpy(AdapterInfo.Driver, identifier.Driver, sizeof AdapterInfo.Driver);
    std::memcpy(AdapterInfo.Description, identifier.Description, sizeof AdapterInfo.Description);
    AdapterInfo.Driver[sizeof AdapterInfo.Driver - 1] = 0;
    AdapterInfo.Description[sizeof AdapterInfo.Description - 1] = 0;

    Params = TGfxPresentParameters();
    Params.Windowed = !FullScreen;
    Params.MultiSampleType = D3DMULTISAMPLE_NONE;
    if (ZBuffer != zb_None) {
        Params.EnableAutoDepthStencil = true;
        Params.AutoDepthStencilFormat = ZBuffer == zb_16bit ? D3DFMT_D16 : D3DFMT_D32;
    }
    Params.hDeviceWindow = Owner;
    Params.Density = uint32_t(Density);

    if (FullScreen && DesktopFullScreen) {
        TGfxDisplayMode desktop;
        if (System->GetAdapterDisplayMode(0, desktop) < 0) return ReleaseAll(), rdNoDesktopMode;
        Params.BackBufferWidth = uint32_t(Width * Density);
        Params.BackBufferHeight = uint32_t(Height * Density);
        Params.BackBufferFormat = desktop.Format;
        Params.BackBufferCount = uint32_t(BackBufferCount);
        Params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        Params.FullScreen_PresentationInterval =
            VSync ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_IMMEDIATE;
        Params.DesktopFullScreen = true;
    } else if (FullScreen) {
        // A display mode of the picture's own size shows it pixel for pixel.
        Density = 1;
        Params.Density = 1;
        TModeList modes;
        modes.CustomRate = CustomRefreshRate;
        const int32_t first = BitDepth == bd_Low ? 16 : 32;
        const int32_t second = BitDepth == bd_Low ? 32 : 16;
        if (!modes.EnumModes(System.get(), Width, Height, first) &&
            !modes.EnumModes(System.get(), Width, Height, second))
            return ReleaseAll(), rdNoMode;
        const TModeRecord* mode = modes.ChooseMode(RefreshRate);
        if (!mode) return ReleaseAll(), rdNoMode;
        Params.BackBufferWidth = uint32_t(mode->Width);
        Params.BackBufferHeight = uint32_t(mode->Height);
        Params.BackBufferFormat = mode->Format;
        Params.BackBufferCount = uint32_t(BackBufferCount);
        Params.SwapEffect = D3DSWAPEFFECT_DISCARD;
        Params.FullScreen_PresentationInterval =
            VSync ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_IMMEDIATE;
        Params.FullScreen_RefreshRateInHz =
            RefreshRate == rr_default ? 0 : uint32_t(std::max(mode->RefreshRate, 0));
    } else {
        TGfxDisplayMode desktop;
        if (System->GetAdapterDisplayMode(0, desktop) < 0) return ReleaseAll(), rdNoDesktopMode;
        Params.BackBufferWidth = uint32_t(Width * Density);
        Params.BackBufferHeight = uint32_t(Height * Density);
        Params.BackBufferFormat = desktop.Format;
        Params.SwapEffect = D3DSWAPEFFECT_DISCARD;
    }

    if (System->CreateDevice(0, deviceType, Owner, D3DCREATE_SOFTWARE_VERTEXPROCESSING, Params,
                             Device) != GFX_OK ||
        !Device)
        return ReleaseAll(), rdNoDevice;
    // Asked again: the renderer the device draws with is known now (without a graphics processor
    // it is not the one tried first).
    if (System->GetAdapterIdentifier(0, 0, identifier) == GFX_OK)
        std::memcpy(AdapterInfo.Description, identifier.Description,
                    sizeof AdapterInfo.Description - 1);
    if (Device->CreateVertexBuffer(kStripVertices * kGfxVertexSize, 0, kGfxVertexFormat,
                                   D3DPOOL_MANAGED, QuadBuffer) != GFX_OK ||
        !QuadBuffer ||
        Device->CreateVertexBuffer(kBatchVertices * kGfxVertexSize, 0, kGfxVertexFormat,
                                   D3DPOOL_MANAGED, BatchBuffer) != GFX_OK ||
        !BatchBuffer)
        return ReleaseAll(), rdNoVertexBuffer;

    ApplyFixedStates();
    Bound.reset();
    QueuedQuads = 0;
    CurrentEffect = 0;
    Initialized = true;
    ApplyArrangement();
    return rdDone;
}

void TRenderDevice::TImpl::ApplyArrangement() {
    if (!Device) return;
    std::vector<TGfxRegion> regions;
    for (const TRegion& r : Regions)
        regions.push_back({{r.From.Left, r.From.Top, r.From.Right, r.From.Bottom}, r.ToX, r.ToY});
    Device->SetArrangement(ArrangedWidth, ArrangedHeight, regions, Gaps);
}

TRenderDevice::TRenderDevice() : impl_(std::make_unique<TImpl>()) {}

TRenderDevice::~TRenderDevice() {
    DoneDevice();
    if (RenderDevice1 == this) RenderDevice1 = nullptr;
}

// --- Owner and presentation ------------------------------------------------------------------

void TRenderDevice::SetOwnerWindow(TNativeWindow* window) {
    impl_->Owner = window;
}

void TRenderDevice::SetOffscreen(bool offscreen) {
    if (!impl_->Initialized) impl_->Offscreen = offscreen;
}

bool TRenderDevice::Offscreen() const {
    return impl_->Offscreen;
}

void TRenderDevice::SetDesktopFullScreen(bool value) {
    if (!impl_->Initialized) impl_->DesktopFullScreen = value;
}

bool TRenderDevice::DesktopFullScreen() const {
    return impl_->DesktopFullScreen;
}

TRect TRenderDevice::PictureRectInWindow() const {
    if (!impl_->Initialized) return {0, 0, impl_->Width, impl_->Height};
    const TGfxRect r = impl_->Device->PictureRectInWindow();
    return {r.Left, r.Top, r.Right, r.Bottom};
}

void TRenderDevice::SetArrangement(int32_t width, int32_t height, std::vector<TRegion> regions,
                                   uint32_t gaps) {
    const bool arranged = width > 0 && height > 0 && !regions.empty();
    impl_->ArrangedWidth = arranged ? width : 0;
    impl_->ArrangedHeight = arranged ? height : 0;
    impl_->Regions = arranged ? std::move(regions) : std::vector<TRegion>{};
    impl_->Gaps = gaps;
    if (impl_->Initialized) impl_->ApplyArrangement();
}

bool TRenderDevice::WindowToPicture(int32_t& x, int32_t& y) const {
    const TImpl& d = *impl_;
    const TRect r = PictureRectInWindow();
    const int64_t w = r.Right - r.Left, h = r.Bottom - r.Top;
    if (w <= 0 || h <= 0) return true;
    if (x < r.Left || y < r.Top || x >= r.Right || y >= r.Bottom) return false;
    const int64_t shownW = d.Regions.empty() ? d.Width : d.ArrangedWidth;
    const int64_t shownH = d.Regions.empty() ? d.Height : d.ArrangedHeight;
    const auto ax = static_cast<int32_t>((x - r.Left) * shownW / w);
    const auto ay = static_cast<int32_t>((y - r.Top) * shownH / h);
    if (d.Regions.empty()) {
        x = ax;
        y = ay;
        return true;
    }
    for (const TRegion& g : d.Regions) {
        const int32_t dx = ax - g.ToX, dy = ay - g.ToY;
        if (dx < 0 || dy < 0 || dx >= g.From.Right - g.From.Left ||
            dy >= g.From.Bottom - g.From.Top)
            continue;
        x = g.From.Left + dx;
        y = g.From.Top + dy;
        return true;
    }
    return false;
}

bool TRenderDevice::SwitchFullScreen(bool fullScreen) {
    TImpl& d = *impl_;
    if (!d.Initialized) return false;
    if (fullScreen == d.FullScreen && (!fullScreen || d.DesktopFullScreen)) return true;
    const TGfxPresentParameters before = d.Params;
    TGfxPresentParameters& p = d.Params;
    p.Windowed = !fullScreen;
    p.DesktopFullScreen = fullScreen;
    p.BackBufferWidth = uint32_t(d.Width * d.Density);
    p.BackBufferHeight = uint32_t(d.Height * d.Density);
    p.BackBufferCount = fullScreen ? uint32_t(d.BackBufferCount) : 0;
    p.FullScreen_RefreshRateInHz = 0;
    p.FullScreen_PresentationInterval =
        fullScreen ? (d.VSync ? D3DPRESENT_INTERVAL_ONE : D3DPRESENT_INTERVAL_IMMEDIATE) : 0;
    if (!ResetDevice()) {
        p = before;
        ResetDevice();
        return false;
    }
    d.FullScreen = fullScreen;
    if (fullScreen) d.DesktopFullScreen = true;
    return true;
}

double TRenderDevice::PixelsPerPicturePixel() const {
    int32_t w = 0, h = 0;
    if (!impl_->Initialized || !impl_->Device->OutputSize(w, h) || w <= 0 || h <= 0) return 1.0;
    return std::min(double(w) / impl_->Width, double(h) / impl_->Height);
}

int32_t TRenderDevice::Density() const {
    return impl_->Density;
}

bool TRenderDevice::SetDensity(int32_t density) {
    TImpl& d = *impl_;
    if (density < 1 || density > 2) return false;
    if (!d.Initialized) {
        d.Density = density;
        return true;
    }
    if (density == d.Density) return true;
    // A display mode switched to the picture's size shows nothing finer.
    if (d.FullScreen && !d.DesktopFullScreen) return false;
    const int32_t before = d.Density;
    d.Params.BackBufferWidth = uint32_t(d.Width * density);
    d.Params.BackBufferHeight = uint32_t(d.Height * density);
    d.Params.Density = uint32_t(density);
    d.FlushBatch();
    if (!ResetDevice()) {
        d.Params.BackBufferWidth = uint32_t(d.Width * before);
        d.Params.BackBufferHeight = uint32_t(d.Height * before);
        d.Params.Density = uint32_t(before);
        ResetDevice();
        return false;
    }
    d.Density = density;
    return true;
}

// --- Published properties --------------------------------------------------------------------

bool TRenderDevice::Antialias() const {
    return impl_->Antialias;
}

void TRenderDevice::SetAntialias(bool value) {
    impl_->Antialias = value;
    if (!impl_->Initialized) return;
    impl_->FlushBatch();
    impl_->SetFilters();
}

bool TRenderDevice::Dithering() const {
    return impl_->Dithering;
}

void TRenderDevice::SetDithering(bool value) {
    impl_->Dithering = value;
    if (!impl_->Initialized) return;
    impl_->FlushBatch();
    impl_->Device->SetRenderState(D3DRS_DITHERENABLE, value ? 1 : 0);
}

bool TRenderDevice::Hardware() const {
    return impl_->Hardware;
}
void TRenderDevice::SetHardware(bool value) {
    impl_->Hardware = value;
}

bool TRenderDevice::FullScreen() const {
    return impl_->FullScreen;
}
void TRenderDevice::SetFullScreen(bool value) {
    if (!impl_->Initialized) impl_->FullScreen = value;
}

int32_t TRenderDevice::Width() const {
    return impl_->Width;
}
void TRenderDevice::SetWidth(int32_t value) {
    if (!impl_->Initialized) impl_->Width = value;
}

int32_t TRenderDevice::Height() const {
    return impl_->Height;
}
void TRenderDevice::SetHeight(int32_t value) {
    if (!impl_->Initialized) impl_->Height = value;
}

int32_t TRenderDevice::BackBufferCount() const {
    return impl_->BackBufferCount;
}
void TRenderDevice::SetBackBufferCount(int32_t value) {
    if (!impl_->Initialized) impl_->BackBufferCount = value;
}

TBitDepth TRenderDevice::BitDepth() const {
    return impl_->BitDepth;
}
void TRenderDevice::SetBitDepth(TBitDepth value) {
    if (!impl_->Initialized) impl_->BitDepth = value;
}

TZBuffer TRenderDevice::ZBuffer() const {
    return impl_->ZBuffer;
}
void TRenderDevice::SetZBuffer(TZBuffer value) {
    if (!impl_->Initialized) impl_->ZBuffer = value;
}

bool TRenderDevice::VSync() const {
    return impl_->VSync;
}
void TRenderDevice::SetVSync(bool value) {
    if (!impl_->Initialized) impl_->VSync = value;
}

TRefreshRate TRenderDevice::RefreshRate() const {
    return impl_->RefreshRate;
}
void TRenderDevice::SetRefreshRate(TRefreshRate value) {
    if (impl_->Initialized) return;
    impl_->RefreshRate = value;
    if (value != rr_custom) impl_->CustomRefreshRate = 0;
}

int32_t TRenderDevice::CustomRefreshRate() const {
    return impl_->CustomRefreshRate;
}
void TRenderDevice::SetCustomRefreshRate(int32_t value) {
    if (!impl_->Initialized && impl_->RefreshRate == rr_custom) impl_->CustomRefreshRate = value;
}

// --- Read-only state -------------------------------------------------------------------------

bool TRenderDevice::Initialized() const {
    return impl_->Initialized;
}
IGfxDevice* TRenderDevice::Device() const {
    return impl_->Device.get();
}
const TAdapterInfo& TRenderDevice::AdapterInfo() const {
    return impl_->AdapterInfo;
}

// --- Device life -----------------------------------------------------------------------------

int32_t TRenderDevice::InitDevice() {
    if (impl_->Initialized || (!impl_->Owner && !impl_->Offscreen)) return rdRefused;
    return impl_->CreateDevice();
}

int32_t TRenderDevice::DoneDevice() {
    if (!impl_->Initialized) return rdRefused;
    impl_->FlushBatch();
    impl_->Device->SetTexture(0, nullptr);
    impl_->ReleaseAll();
    return rdDone;
}

bool TRenderDevice::ResetDevice() {
    if (!impl_->Initialized) return false;
    if (impl_->Device->Reset(impl_->Params) != GFX_OK) return false;
    // A reset returns every state to its default (no texture bound, blending off, point
    // filtering): what the device tracks and its fixed states must follow.
    impl_->Bound.reset();
    impl_->CurrentEffect = 0;
    impl_->ApplyFixedStates();
    return true;
}

// --- Frame -----------------------------------------------------------------------------------

bool TRenderDevice::BeginFrame() {
    impl_->OffsetX = impl_->OffsetY = 0;
    if (!impl_->Initialized) return false;
    impl_->QueuedQuads = 0;
    return impl_->Device->BeginScene() == GFX_OK;
}

bool TRenderDevice::EndFrame() {
    if (!impl_->Initialized) return false;
    if (impl_->FlushBatch() != 0) return false;
    return impl_->Device->EndScene() == GFX_OK;
}

bool TRenderDevice::PresentFrame() {
    if (!impl_->Initialized) return false;
    const int32_t result = impl_->Device->Present();
    if (result == GFXERR_DEVICELOST && OnDeviceLost) {
        OnDeviceLost(*this);
        impl_->Bound.reset();
        impl_->CurrentEffect = 0;
    }
    return result == GFX_OK;
}

void TRenderDevice::SetClipRect(const TRect& rect) {
    if (!impl_->Initialized) return;
    impl_->FlushBatch();
    const int32_t d = impl_->Density;
    TGfxViewport viewport;
    viewport.X = uint32_t(rect.Left * d);
    viewport.Y = uint32_t(rect.Top * d);
    viewport.Width = uint32_t((rect.Right - rect.Left) * d);
    viewport.Height = uint32_t((rect.Bottom - rect.Top) * d);
    viewport.MinZ = 0.0f;
    viewport.MaxZ = 0.0f;
    impl_->Device->SetViewport(viewport);
}

// --- Drawing ---------------------------------------------------------------------------------

bool TRenderDevice::DrawQuad(TPatternImage* image, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                             int32_t x3, int32_t y3, int32_t x4, int32_t y4, int32_t pattern,
                             uint32_t effect) {
    return impl_->DrawQuad(image, {x1, x2, x3, x4}, {y1, y2, y3, y4}, 0xFFFFFFFFu, pattern, effect);
}

bool TRenderDevice::DrawQuadCol(TPatternImage* image, int32_t x1, int32_t y1, int32_t x2,
                                int32_t y2, int32_t x3, int32_t y3, int32_t x4, int32_t y4,
                                uint32_t colour, int32_t pattern, uint32_t effect) {
    return impl_->DrawQuad(image, {x1, x2, x3, x4}, {y1, y2, y3, y4}, SwapRedBlue(colour), pattern,
                           effect);
}

bool TRenderDevice::DrawImage(TPatternImage* image, int32_t x, int32_t y, int32_t pattern,
                              uint32_t effect) {
    return DrawImageCol(image, x, y, 0xFFFFFFFFu, pattern, effect);
}

bool TRenderDevice::DrawImageCol(TPatternImage* image, int32_t x, int32_t y, uint32_t colour,
                                 int32_t pattern, uint32_t effect) {
    if (!image) return false;
    const int32_t w = image->PatternWidth, h = image->PatternHeight;
    return DrawQuadCol(image, x, y, x + w, y, x + w, y + h, x, y + h, colour, pattern, effect);
}

bool TRenderDevice::DrawImageScaled(TPatternImage* image, int32_t x, int32_t y, int32_t scale,
                                    uint32_t colour, int32_t pattern, uint32_t effect) {
    if (!image) return false;
    const int32_t w = int32_t(int64_t{image->PatternWidth} * scale / 256);
    const int32_t h = int32_t(int64_t{image->PatternHeight} * scale / 256);
    return DrawQuadCol(image, x, y, x + w, y, x + w, y + h, x, y + h, colour, pattern, effect);
}

bool TRenderDevice::DrawRotated(TPatternImage* image, int32_t x, int32_t y, int32_t angle,
                                int32_t scale, int32_t pattern, uint32_t effect) {
    return impl_->DrawRotated(image, x, y, angle, scale, 0xFFFFFFFFu, pattern, effect,
                              TRounding::Nearest);
}

bool TRenderDevice::DrawRotatedCol(TPatternImage* image, int32_t x, int32_t y, int32_t angle,
                                   int32_t scale, uint32_t colour, int32_t pattern,
                                   uint32_t effect) {
    return impl_->DrawRotated(image, x, y, angle, scale, SwapRedBlue(colour), pattern, effect,
                              TRounding::Nearest);
}

bool TRenderDevice::DrawRotatedColTrunc(TPatternImage* image, int32_t x, int32_t y, int32_t angle,
                                        int32_t scale, uint32_t colour, int32_t pattern,
                                        uint32_t effect) {
    return impl_->DrawRotated(image, x, y, angle, scale, SwapRedBlue(colour), pattern, effect,
                              TRounding::Truncate);
}

// --- Offscreen read-back ---------------------------------------------------------------------

void TRenderDevice::SetDrawOffset(int32_t dx, int32_t dy) {
    impl_->OffsetX = dx;
    impl_->OffsetY = dy;
}

// The picture is made anew each time and keeps no copy in memory once it is on the device.
bool TRenderDevice::SnapshotFrame(TPatternImage& into) {
    if (!impl_->Initialized) return false;
    std::vector<uint32_t> pixels;
    int32_t w = 0, h = 0;
    if (!impl_->Device->ReadBackBuffer(pixels, w, h) || w <= 0 || h <= 0) return false;
    into.FreeTextures();
    into.Density = impl_->Density;
    int32_t pitch = 0;
    uint8_t* bits = nullptr;
    if (into.CreateTextures(impl_->Device.get(), w, h, w, h, 1, D3DFMT_A8R8G8B8) != 0 ||
        into.LockTexture(0, pitch, bits) != 0 || !bits) {
        into.FreeTextures();
        return false;
    }
    for (int32_t y = 0; y < h; ++y)
        std::memcpy(bits + ptrdiff_t{y} * pitch, &pixels[size_t(y) * size_t(w)], size_t(w) * 4);
    if (into.UnlockTexture(0) != 0) {
        into.FreeTextures();
        return false;
    }
    into.Textures[0]->DropSystemCopy();
    return true;
}

std::vector<uint32_t> TRenderDevice::ReadFrame() const {
    std::vector<uint32_t> pixels;
    int32_t w = 0, h = 0;
    if (!impl_->Initialized || !impl_->Device->ReadFrame(pixels, w, h)) pixels.clear();
    return pixels;
}

bool TRenderDevice::SaveFrame(const std::string& path) const {
    std::vector<uint32_t> pixels;
    int32_t w = 0, h = 0;
    if (!impl_->Initialized || !impl_->Device->ReadFrame(pixels, w, h)) return false;
    TBitmap frame;
    if (!frame.SetSize(w, h, 24)) return false;
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = frame.ScanLine(y);
        for (int32_t x = 0; x < w; ++x, row += 3) {
            const uint32_t p = pixels[size_t(y) * size_t(w) + size_t(x)];
            row[0] = uint8_t(p);
            row[1] = uint8_t(p >> 8);
            row[2] = uint8_t(p >> 16);
        }
    }
    return frame.SaveToFile(path);
}

// --- Test support ----------------------------------------------------------------------------

void TRenderDevice::UseGfxSystem(std::shared_ptr<IGfxSystem> system) {
    impl_->InjectedSystem = std::move(system);
}

void TRenderDevice::SimulateDeviceLoss() {
    if (impl_->Initialized) impl_->Device->SimulateDeviceLoss();
}

void TRenderDevice::SetPartialFrames(bool on) {
    if (impl_->Initialized) impl_->Device->SetPartialFrames(on);
}

int32_t TRenderDevice::RotationCacheCount() const {
    return impl_->CacheUsed;
}

bool TRenderDevice::RotationCacheEntry(int32_t index, int32_t& width, int32_t& height) const {
    if (index < 0 || index >= impl_->CacheUsed) return false;
    width = impl_->Cache[size_t(index)].Width;
    height = impl_->Cache[size_t(index)].Height;
    return true;
}
