#include "platform/Gfx.h"
#include "platform/Window.h"
#include "tests/render/RenderTestSupport.h"

#include <gtest/gtest.h>

#include <SDL.h>
#include <cstdlib>
#include <cstring>
#include <malloc.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define VO_LSAN_PAUSE 1
#endif
#endif

namespace {

// A bare offscreen device of the graphics layer, 64 x 32.
std::shared_ptr<IGfxDevice> OffscreenDevice(std::shared_ptr<IGfxSystem>& system) {
    system = CreateGfxSystem(TGfxSystemKind::Offscreen);
    TGfxPresentParameters params;
    params.BackBufferWidth = 64;
    params.BackBufferHeight = 32;
    params.Windowed = true;
    std::shared_ptr<IGfxDevice> device;
    EXPECT_EQ(system->CreateDevice(0, D3DDEVTYPE_HAL, nullptr, 0, params, device), GFX_OK);
    return device;
}

} // namespace

TEST(GfxLayer, ResourcesCheckTheirLocks) {
    std::shared_ptr<IGfxSystem> system;
    auto device = OffscreenDevice(system);
    ASSERT_TRUE(device);
    std::shared_ptr<IGfxVertexBuffer> vb;
    ASSERT_EQ(device->CreateVertexBuffer(140, 0, kGfxVertexFormat, D3DPOOL_MANAGED, vb), GFX_OK);
    uint8_t* data = nullptr;
    EXPECT_EQ(vb->Lock(100, 100, data, 0), GFXERR_INVALIDCALL);
    EXPECT_EQ(vb->Unlock(), GFXERR_INVALIDCALL);
    ASSERT_EQ(vb->Lock(0, 0, data, 0), GFX_OK);               // 0 = everything
    EXPECT_EQ(vb->Lock(0, 140, data, 0), GFXERR_INVALIDCALL); // already locked
    EXPECT_EQ(vb->Unlock(), GFX_OK);

    std::shared_ptr<IGfxTexture> texture;
    EXPECT_EQ(device->CreateTexture(16, 8, 1, 0, 31, D3DPOOL_MANAGED, texture), GFXERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(16, 8, 1, 0, D3DFMT_R5G6B5, D3DPOOL_DEFAULT, texture),
              GFXERR_INVALIDCALL);
    EXPECT_EQ(device->CreateTexture(0, 8, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, texture),
              GFXERR_INVALIDCALL);
    ASSERT_EQ(device->CreateTexture(16, 8, 1, 0, D3DFMT_R5G6B5, D3DPOOL_MANAGED, texture), GFX_OK);
    TGfxLockedRect rect;
    EXPECT_EQ(texture->LockRect(1, rect, 0), GFXERR_INVALIDCALL);
    ASSERT_EQ(texture->LockRect(0, rect, 0), GFX_OK);
    EXPECT_EQ(rect.Pitch, 32);
    EXPECT_EQ(texture->LockRect(0, rect, 0), GFXERR_INVALIDCALL);
    EXPECT_EQ(texture->UnlockRect(0), GFX_OK);
    EXPECT_EQ(texture->UnlockRect(0), GFXERR_INVALIDCALL);
}

TEST(GfxLayer, DrawingNeedsASceneAValidFormatAndEnoughVertices) {
    std::shared_ptr<IGfxSystem> system;
    auto device = OffscreenDevice(system);
    ASSERT_TRUE(device);
    std::shared_ptr<IGfxVertexBuffer> vb;
    ASSERT_EQ(device->CreateVertexBuffer(140, 0, kGfxVertexFormat, D3DPOOL_MANAGED, vb), GFX_OK);
    ASSERT_EQ(device->SetStreamSource(0, vb.get(), 28), GFX_OK);
    ASSERT_EQ(device->SetVertexShader(kGfxVertexFormat), GFX_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), GFXERR_INVALIDCALL); // no scene
    EXPECT_EQ(device->EndScene(), GFXERR_INVALIDCALL);
    ASSERT_EQ(device->BeginScene(), GFX_OK);
    EXPECT_EQ(device->BeginScene(), GFXERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), GFX_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 4), GFXERR_INVALIDCALL); // 6 > 5
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2), GFXERR_INVALIDCALL);
    EXPECT_EQ(device->DrawPrimitive(1, 0, 1), GFXERR_INVALIDCALL); // points
    ASSERT_EQ(device->SetVertexShader(0x142), GFX_OK);
    EXPECT_EQ(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2), GFXERR_INVALIDCALL);
    EXPECT_EQ(device->EndScene(), GFX_OK);
}

TEST(GfxLayer, ViewportMustLieInsideTheBackBuffer) {
    std::shared_ptr<IGfxSystem> system;
    auto device = OffscreenDevice(system);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->SetViewport({0, 0, 64, 32, 0, 0}), GFX_OK);
    EXPECT_EQ(device->SetViewport({10, 0, 60, 32, 0, 0}), GFXERR_INVALIDCALL);
    EXPECT_EQ(device->SetViewport({0, 0, 0xFFFFFFF0u, 32, 0, 0}), GFXERR_INVALIDCALL);
    EXPECT_EQ(device->SetViewport({64, 32, 0, 0, 0, 0}), GFX_OK); // empty: draws nothing
}

TEST(GfxLayer, LossIsReportedByPresentUntilReset) {
    std::shared_ptr<IGfxSystem> system;
    auto device = OffscreenDevice(system);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->Present(), GFX_OK);
    device->SimulateDeviceLoss();
    EXPECT_EQ(device->Present(), GFXERR_DEVICELOST);
    EXPECT_EQ(device->Present(), GFXERR_DEVICELOST);
    TGfxPresentParameters params;
    params.BackBufferWidth = 64;
    params.BackBufferHeight = 32;
    params.Windowed = true;
    ASSERT_EQ(device->Reset(params), GFX_OK);
    EXPECT_EQ(device->Present(), GFX_OK);
    std::vector<uint32_t> pixels;
    int32_t w = 0, h = 0;
    ASSERT_TRUE(device->ReadFrame(pixels, w, h));
    EXPECT_EQ(w, 64);
    EXPECT_EQ(h, 32);
    EXPECT_EQ(pixels[0], 0xFF000000u);
}

TEST(GfxLayer, OffscreenSystemDescribesItself) {
    auto system = CreateGfxSystem(TGfxSystemKind::Offscreen);
    TGfxAdapterIdentifier id;
    ASSERT_EQ(system->GetAdapterIdentifier(0, 0, id), GFX_OK);
    EXPECT_STRNE(id.Description, "");
    EXPECT_STREQ(id.Driver, "offscreen");
    EXPECT_EQ(system->GetAdapterIdentifier(1, 0, id), GFXERR_INVALIDCALL);
    TGfxCaps caps;
    EXPECT_EQ(system->GetDeviceCaps(0, D3DDEVTYPE_REF, caps), GFX_OK);
    EXPECT_EQ(system->GetDeviceCaps(0, 7, caps), GFXERR_INVALIDCALL);
    ASSERT_GT(system->GetAdapterModeCount(0), 0u);
    TGfxDisplayMode mode;
    EXPECT_EQ(system->EnumAdapterModes(0, system->GetAdapterModeCount(0), mode),
              GFXERR_INVALIDCALL);
}

// A real window on SDL's "dummy" video driver: the window flavour of the layer end to end.
TEST(GfxLayer, WindowedDeviceDrawsAndPresents) {
    std::string error;
    TNativeWindow* window = CreateNativeWindow("Velm Orra test", 800, 600, false, &error);
    ASSERT_NE(window, nullptr) << error;
    {
        TRenderDevice device;
        device.SetOwnerWindow(window);
        device.SetWidth(800);
        device.SetHeight(600);
        ASSERT_EQ(device.InitDevice(), 0);
        EXPECT_STRNE(device.AdapterInfo().Driver, "");
        TPatternImage image;
        MakePatternSet(device.Device(), image, 4, 4, 4, 4, [](int, int) { return 0xFFFFFFFFu; });
        for (int i = 0; i < 2; ++i) {
            ASSERT_TRUE(device.BeginFrame());
            ASSERT_TRUE(device.DrawRotated(&image, 100, 100, 20, 256, 0, fxBlend));
            ASSERT_TRUE(device.EndFrame());
            ASSERT_TRUE(device.PresentFrame());
        }
        const TRect r = device.PictureRectInWindow();
        EXPECT_EQ(r.Left, 0);
        EXPECT_EQ(r.Right, 800);
        EXPECT_EQ(r.Bottom, 600);
        EXPECT_TRUE(device.ReadFrame().empty()); // a window keeps no copy
        EXPECT_EQ(device.DoneDevice(), 0);
    }
    DestroyNativeWindow(window);
}

TEST(GfxLayer, DesktopFullScreenCentresThePicture) {
    TNativeWindow* window = CreateNativeWindow("Velm Orra test", 800, 600, true);
    ASSERT_NE(window, nullptr);
    {
        TRenderDevice device;
        device.SetOwnerWindow(window);
        device.SetWidth(800);
        device.SetHeight(600);
        device.SetFullScreen(true);
        device.SetDesktopFullScreen(true);
        ASSERT_EQ(device.InitDevice(), 0);
        int32_t ww = 0, wh = 0;
        NativeWindowClientSize(window, ww, wh);
        const TRect r = device.PictureRectInWindow();
        // Scaled to fit, proportions kept, centred.
        EXPECT_EQ(r.Left, (ww - (r.Right - r.Left)) / 2);
        EXPECT_EQ(r.Top, (wh - (r.Bottom - r.Top)) / 2);
        EXPECT_LE(r.Right - r.Left, ww);
        EXPECT_LE(r.Bottom - r.Top, wh);
        EXPECT_NEAR(double(r.Right - r.Left) / (r.Bottom - r.Top), 800.0 / 600.0, 0.01);
        ASSERT_TRUE(device.BeginFrame());
        ASSERT_TRUE(device.EndFrame());
        EXPECT_TRUE(device.PresentFrame());
    }
    DestroyNativeWindow(window);
}

// A window's device keeps no record of what each frame drew (only an offscreen device keeps its
// frames, to be read back): over thousands of frames that each change somewhere, the heap in use
// stays where it was. Drawn by SDL's software renderer into the window's image, as on a display
// without direct rendering, with SDL's offscreen video driver; only what changed is copied into
// the window's image, which still shows each frame whole.
TEST(GfxLayer, AWindowShowsItsFramesWholeAndKeepsNoRecordOfTheirDamage) {
    // The offscreen video driver loads the system's GL libraries, which keep allocations of
    // their own for the life of the process: not ours to report.
    struct TPauseLeakChecks {
#ifdef VO_LSAN_PAUSE
        TPauseLeakChecks() {
            __lsan_disable();
        }
        ~TPauseLeakChecks() {
            __lsan_enable();
        }
#endif
    };
    [[maybe_unused]] TPauseLeakChecks pause;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    setenv("LIBGL_ALWAYS_SOFTWARE", "1", 1); // no direct rendering: the window's own image
    std::string error;
    TNativeWindow* window = CreateNativeWindow("frames", 160, 120, true, &error);
    ASSERT_TRUE(window) << error;
    {
        TRenderDevice device;
        device.SetOwnerWindow(window);
        device.SetWidth(160);
        device.SetHeight(120);
        ASSERT_EQ(device.InitDevice(), 0);
        TPatternImage dot;
        MakePatternSet(device.Device(), dot, 4, 4, 4, 4, [](int, int) { return 0xFFFFFFFFu; });
        const auto frames = [&](int n) {
            for (int i = 0; i < n; ++i) {
                ASSERT_TRUE(device.BeginFrame());
                device.DrawImage(&dot, i % 150, (i / 7) % 110, 0, fxNone);
                device.EndFrame();
                device.PresentFrame();
            }
        };
        frames(200);
        std::vector<uint32_t> back;
        int32_t width = 0, height = 0;
        ASSERT_TRUE(device.Device()->ReadBackBuffer(back, width, height));
        SDL_Surface* shown = SDL_GetWindowSurface(SdlWindowOf(window));
        ASSERT_TRUE(shown && shown->w == width && shown->h == height);
        ASSERT_EQ(shown->format->BytesPerPixel, 4);
        int differ = 0;
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) {
                uint32_t pixel = 0;
                std::memcpy(&pixel,
                            static_cast<const uint8_t*>(shown->pixels) + y * shown->pitch + x * 4,
                            4);
                differ += (pixel & 0xFFFFFF) != (back[size_t(y * width + x)] & 0xFFFFFF);
            }
        EXPECT_EQ(differ, 0) << "pixels the window shows from an older frame";
        const size_t before = mallinfo2().uordblks;
        frames(3000);
        const size_t after = mallinfo2().uordblks;
        EXPECT_LT(after, before + 16 * 1024) << before << " -> " << after;
        dot.FreeTextures();
        device.DoneDevice();
    }
    DestroyNativeWindow(window);
    unsetenv("LIBGL_ALWAYS_SOFTWARE");
    unsetenv("SDL_VIDEODRIVER");
}