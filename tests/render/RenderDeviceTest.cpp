#include "tests/render/RenderTestSupport.h"
#include "tests/support/GfxRecorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>

namespace {

// A device initialised on the recording double, with two 64 x 64 sets of four 32 x 32 patterns.
class RecordedDevice : public ::testing::Test {
protected:
    void SetUp() override {
        device.SetOffscreen(true);
        device.SetWidth(800);
        device.SetHeight(600);
        device.UseGfxSystem(system);
        ASSERT_EQ(device.InitDevice(), 0);
        MakePatternSet(device.Device(), a, 64, 64, 32, 32, [](int, int) { return 0xFFFFFFFFu; });
        MakePatternSet(device.Device(), b, 64, 64, 32, 32, [](int, int) { return 0xFF000000u; });
        rec().ClearRecord();
    }
    TRecordingGfxDevice& rec() { return *system->Device; }
    // The render states set since the last ClearRecord, as (state, value) pairs.
    std::vector<std::pair<uint32_t, uint32_t>> States() { return rec().RenderStates; }

    std::shared_ptr<TRecordingGfxSystem> system = std::make_shared<TRecordingGfxSystem>();
    TRenderDevice device;
    TPatternImage a, b;
};

// A system with one device, initialised with `configure` applied first; returns InitDevice's code.
int32_t InitWith(TRenderDevice& device, const std::shared_ptr<TRecordingGfxSystem>& system) {
    device.SetOffscreen(true);
    device.UseGfxSystem(system);
    return device.InitDevice();
}

} // namespace

TEST(RenderDeviceInit, FailureCodesLeaveTheDeviceUninitialised) {
    {
        TRenderDevice d; // no owner, not offscreen
        d.UseGfxSystem(std::make_shared<TRecordingGfxSystem>());
        EXPECT_EQ(d.InitDevice(), -1);
    }
    struct Case {
        const char* name;
        int32_t expected;
        void (*configure)(TRecordingGfxSystem&, TRenderDevice&);
    };
    const Case cases[] = {
        {"caps", -7, [](TRecordingGfxSystem& s, TRenderDevice&) { s.DeviceCapsResult = -1; }},
        {"identifier", -8,
         [](TRecordingGfxSystem& s, TRenderDevice&) { s.AdapterIdentifierResult = -1; }},
        {"desktop mode", -4,
         [](TRecordingGfxSystem& s, TRenderDevice&) { s.DisplayModeResult = GFXERR_INVALIDCALL; }},
        {"no full-screen mode", -3,
         [](TRecordingGfxSystem&, TRenderDevice& d) { d.SetFullScreen(true); }},
        {"both enumerations fail", -3,
         [](TRecordingGfxSystem& s, TRenderDevice& d) {
             d.SetFullScreen(true);
             s.Modes = {{640, 480, 60, D3DFMT_R5G6B5}};
             s.EnumModesFailures = 2;
         }},
        {"device", -5,
         [](TRecordingGfxSystem& s, TRenderDevice&) {
             s.CreateDeviceResult = GFXERR_NOTAVAILABLE;
         }},
        {"strip buffer", -6,
         [](TRecordingGfxSystem& s, TRenderDevice&) { s.Device->CreateVertexBufferFailsAt = 1; }},
        {"batch buffer", -6,
         [](TRecordingGfxSystem& s, TRenderDevice&) { s.Device->CreateVertexBufferFailsAt = 2; }},
    };
    for (const Case& c : cases) {
        auto system = std::make_shared<TRecordingGfxSystem>();
        TRenderDevice d;
        c.configure(*system, d);
        EXPECT_EQ(InitWith(d, system), c.expected) << c.name;
        EXPECT_FALSE(d.Initialized()) << c.name;
        EXPECT_EQ(d.Device(), nullptr) << c.name;
        TPatternImage none;
        EXPECT_FALSE(d.DrawImage(&none, 0, 0, 0, fxNone)) << c.name;
        EXPECT_FALSE(d.BeginFrame()) << c.name;
        EXPECT_EQ(d.DoneDevice(), -1) << c.name;
    }
}

TEST(RenderDeviceInit, NoGraphicsSystemGivesMinusTwo) {
    // A video driver that does not exist: the window system cannot start.
    setenv("SDL_VIDEODRIVER", "no-such-driver", 1);
    int ownerStandIn = 0; // never touched: creation fails before the window is used
    TRenderDevice d;
    d.SetOwnerWindow(reinterpret_cast<TNativeWindow*>(&ownerStandIn));
    EXPECT_EQ(d.InitDevice(), -2);
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    EXPECT_FALSE(d.Initialized());
}

TEST(RenderDeviceInit, WindowedParametersAndFixedStates) {
    auto system = std::make_shared<TRecordingGfxSystem>();
    system->DesktopMode = {1280, 1024, 75, D3DFMT_R5G6B5};
    TRenderDevice d;
    d.SetWidth(800);
    d.SetHeight(600);
    d.SetZBuffer(zb_16bit);
    d.SetHardware(false);
    ASSERT_EQ(InitWith(d, system), 0);
    EXPECT_TRUE(d.Initialized());
    EXPECT_EQ(d.InitDevice(), -1); // already initialised
    const TGfxPresentParameters& p = system->LastParams;
    EXPECT_TRUE(p.Windowed);
    EXPECT_EQ(p.BackBufferWidth, 800u);
    EXPECT_EQ(p.BackBufferHeight, 600u);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(p.BackBufferCount, 0u);
    EXPECT_EQ(p.SwapEffect, D3DSWAPEFFECT_DISCARD);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 0u);
    EXPECT_TRUE(p.EnableAutoDepthStencil);
    EXPECT_EQ(p.AutoDepthStencilFormat, D3DFMT_D16);
    EXPECT_EQ(system->LastDeviceType, D3DDEVTYPE_REF);
    EXPECT_EQ(system->LastBehaviourFlags, D3DCREATE_SOFTWARE_VERTEXPROCESSING);
    EXPECT_STREQ(d.AdapterInfo().Description, "Recording adapter");
    EXPECT_STREQ(d.AdapterInfo().Driver, "recorder");

    auto& dev = *system->Device;
    ASSERT_EQ(dev.VertexBuffers.size(), 2u);
    EXPECT_EQ(dev.VertexBuffers[0]->Length(), 140u);
    EXPECT_EQ(dev.VertexBuffers[1]->Length(), 7168u);
    using P = std::pair<uint32_t, uint32_t>;
    EXPECT_EQ(dev.RenderStates,
              (std::vector<P>{
                  {D3DRS_CULLMODE, D3DCULL_NONE}, {D3DRS_LIGHTING, 0}, {D3DRS_DITHERENABLE, 0}}));
    ASSERT_EQ(dev.StageStates.size(), 2u);
    EXPECT_EQ(dev.StageStates[0].Type, D3DTSS_MAGFILTER);
    EXPECT_EQ(dev.StageStates[0].Value, D3DTEXF_LINEAR);
    EXPECT_EQ(dev.StageStates[1].Type, D3DTSS_MINFILTER);

    EXPECT_EQ(d.DoneDevice(), 0);
    EXPECT_FALSE(d.Initialized());
    EXPECT_EQ(d.DoneDevice(), -1);
}

TEST(RenderDeviceInit, FullScreenTriesTheOtherDepthAndChoosesByRate) {
    auto system = std::make_shared<TRecordingGfxSystem>();
    system->Modes = {{800, 600, 60, D3DFMT_X8R8G8B8},
                     {800, 600, 85, D3DFMT_X8R8G8B8},
                     {800, 600, 75, D3DFMT_R5G6B5},
                     {1024, 768, 100, D3DFMT_X8R8G8B8}};
    system->EnumModesFailures = 1; // the 16-bit pass fails, so the 32-bit one is used
    TRenderDevice d;
    d.SetFullScreen(true);
    d.SetWidth(800);
    d.SetHeight(600);
    d.SetBitDepth(bd_Low);
    d.SetRefreshRate(rr_highest);
    d.SetVSync(true);
    d.SetBackBufferCount(2);
    ASSERT_EQ(InitWith(d, system), 0);
    const TGfxPresentParameters& p = system->LastParams;
    EXPECT_FALSE(p.Windowed);
    EXPECT_EQ(p.BackBufferFormat, D3DFMT_X8R8G8B8);
    EXPECT_EQ(p.FullScreen_RefreshRateInHz, 85u);
    EXPECT_EQ(p.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_ONE);
    EXPECT_EQ(p.BackBufferCount, 2u);

    // rr_default picks the lowest mode but asks for the adapter's default rate.
    auto again = std::make_shared<TRecordingGfxSystem>();
    again->Modes = system->Modes;
    TRenderDevice e;
    e.SetFullScreen(true);
    e.SetWidth(800);
    e.SetHeight(600);
    e.SetBitDepth(bd_High);
    ASSERT_EQ(InitWith(e, again), 0);
    EXPECT_EQ(again->LastParams.FullScreen_RefreshRateInHz, 0u);
    EXPECT_EQ(again->LastParams.FullScreen_PresentationInterval, D3DPRESENT_INTERVAL_IMMEDIATE);
}

TEST(RenderDeviceInit, DesktopFullScreenUsesTheDesktopMode) {
    auto system = std::make_shared<TRecordingGfxSystem>();
    TRenderDevice d;
    d.SetFullScreen(true);
    d.SetDesktopFullScreen(true);
    d.SetWidth(800);
    d.SetHeight(600);
    ASSERT_EQ(InitWith(d, system), 0); // no listed mode needed
    EXPECT_TRUE(system->LastParams.DesktopFullScreen);
    EXPECT_FALSE(system->LastParams.Windowed);
    EXPECT_EQ(system->LastParams.BackBufferWidth, 800u);
    system->Device->PictureRect = {240, 0, 1680, 1080};
    EXPECT_EQ(d.PictureRectInWindow().Left, 240);
    EXPECT_EQ(d.PictureRectInWindow().Right, 1680);
    // Pointer positions come through the picture's place: scaled 1.8 times here.
    int32_t x = 240 + 180, y = 1079;
    EXPECT_TRUE(d.WindowToPicture(x, y));
    EXPECT_EQ(x, 100);
    EXPECT_EQ(y, 599);
    x = 100;
    EXPECT_FALSE(d.WindowToPicture(x, y)) << "in the bar beside the picture";

    // Arranged, a 200 x 400 picture made of two pieces (the device shows it in the same
    // place, 1440 x 1080 here, 5.4 times): a point goes back to where its piece came from;
    // between the pieces it is no point of the picture.
    d.SetArrangement(200, 400, {{{600, 0, 800, 200}, 0, 0}, {{0, 400, 100, 600}, 50, 210}}, 0);
    system->Device->PictureRect = {600, 0, 1140, 1080}; // 540 x 1080: 2.7 times
    x = 600 + 27, y = 27;                               // (10, 10) arranged
    EXPECT_TRUE(d.WindowToPicture(x, y));
    EXPECT_EQ(x, 610);
    EXPECT_EQ(y, 10);
    x = 600 + 27 * 6, y = 27 * 22; // (60, 220) arranged: the second piece's (10, 10)
    EXPECT_TRUE(d.WindowToPicture(x, y));
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 410);
    x = 600 + 27, y = 27 * 20 + 13; // (10, 204): between the pieces
    EXPECT_FALSE(d.WindowToPicture(x, y));
    EXPECT_EQ(system->Device->Arranged, 2u) << "the device shows the pieces";
    d.SetArrangement(0, 0, {}, 0);
    EXPECT_EQ(system->Device->Arranged, 0u);
}

TEST(RenderDeviceProperties, DefaultsAndRulesWhileInitialised) {
    TRenderDevice d;
    EXPECT_TRUE(d.Antialias());
    EXPECT_FALSE(d.Dithering());
    EXPECT_TRUE(d.Hardware());
    EXPECT_FALSE(d.FullScreen());
    EXPECT_EQ(d.Width(), 640);
    EXPECT_EQ(d.Height(), 480);
    EXPECT_EQ(d.BackBufferCount(), 1);
    EXPECT_EQ(d.BitDepth(), bd_Low);
    EXPECT_EQ(d.ZBuffer(), zb_None);
    EXPECT_FALSE(d.VSync());
    EXPECT_EQ(d.RefreshRate(), rr_default);
    EXPECT_EQ(d.CustomRefreshRate(), 0);
    EXPECT_EQ(d.PictureRectInWindow().Right, 640);

    d.SetCustomRefreshRate(72); // refused: the rate is not rr_custom
    EXPECT_EQ(d.CustomRefreshRate(), 0);
    d.SetRefreshRate(rr_custom);
    d.SetCustomRefreshRate(72);
    EXPECT_EQ(d.CustomRefreshRate(), 72);
    d.SetRefreshRate(rr_highest);
    EXPECT_EQ(d.CustomRefreshRate(), 0);

    auto system = std::make_shared<TRecordingGfxSystem>();
    ASSERT_EQ(InitWith(d, system), 0);
    d.SetWidth(800);
    d.SetHeight(600);
    d.SetFullScreen(true);
    d.SetRefreshRate(rr_lowest);
    d.SetBitDepth(bd_High);
    EXPECT_EQ(d.Width(), 640);
    EXPECT_EQ(d.Height(), 480);
    EXPECT_FALSE(d.FullScreen());
    EXPECT_EQ(d.RefreshRate(), rr_highest);
    EXPECT_EQ(d.BitDepth(), bd_Low);
    d.SetHardware(false); // stored at any time
    EXPECT_FALSE(d.Hardware());
}

TEST_F(RecordedDevice, AntialiasAndDitheringApplyAtOnceAfterDrawingWhatIsQueued) {
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxNone));
    ASSERT_TRUE(device.DrawImage(&a, 40, 0, 1, fxNone));
    device.SetAntialias(false);
    ASSERT_EQ(rec().Draws.size(), 1u);
    ASSERT_EQ(rec().StageStates.size(), 2u);
    EXPECT_EQ(rec().StageStates[0].Value, D3DTEXF_POINT);
    EXPECT_EQ(rec().StageStates[1].Value, D3DTEXF_POINT);
    device.SetDithering(true);
    EXPECT_EQ(States().back(), (std::pair<uint32_t, uint32_t>{D3DRS_DITHERENABLE, 1}));
}

TEST_F(RecordedDevice, FortyThreeQuadsAreOneBatchOfFortyTwoAndOneStrip) {
    ASSERT_TRUE(device.BeginFrame());
    for (int i = 0; i < 43; ++i) ASSERT_TRUE(device.DrawImage(&a, i, 0, 0, fxBlend));
    ASSERT_TRUE(device.EndFrame());
    ASSERT_EQ(rec().Draws.size(), 2u);
    EXPECT_EQ(rec().Draws[0].PrimitiveType, D3DPT_TRIANGLELIST);
    EXPECT_EQ(rec().Draws[0].PrimitiveCount, 84u);
    EXPECT_EQ(rec().Draws[0].Stride, 28u);
    EXPECT_EQ(rec().Draws[0].Stream, rec().VertexBuffers[1].get());
    EXPECT_EQ(rec().Draws[1].PrimitiveType, D3DPT_TRIANGLESTRIP);
    EXPECT_EQ(rec().Draws[1].PrimitiveCount, 2u);
    EXPECT_EQ(rec().Draws[1].Stream, rec().VertexBuffers[0].get());
    EXPECT_EQ(rec().LastFvf, 0x144u);
    EXPECT_EQ(rec().VertexBuffers[1]->LastLockSize, 7168u);
    EXPECT_EQ(rec().VertexBuffers[0]->LastLockSize, 140u);
    EXPECT_EQ(rec().Calls.back(), "EndScene");

    // The strip holds the 43rd quad's corners: top-left, top-right, bottom-left, bottom-right.
    const auto& strip = rec().Draws[1].Vertices;
    ASSERT_EQ(strip.size(), 4u);
    EXPECT_FLOAT_EQ(strip[0].X, 41.5f);
    EXPECT_FLOAT_EQ(strip[1].X, 73.5f);
    EXPECT_FLOAT_EQ(strip[2].Y, 31.5f);
    EXPECT_FLOAT_EQ(strip[3].X, 73.5f);
    EXPECT_FLOAT_EQ(strip[3].Y, 31.5f);
    // The list repeats vertices 3 and 2 for the second triangle of each quad.
    const auto& list = rec().Draws[0].Vertices;
    EXPECT_EQ(list[3].X, list[2].X);
    EXPECT_EQ(list[3].Y, list[2].Y);
    EXPECT_EQ(list[4].X, list[1].X);
    EXPECT_FLOAT_EQ(list[5].X, 31.5f);
    EXPECT_FLOAT_EQ(list[5].Y, 31.5f);
    EXPECT_FLOAT_EQ(list[5].Z, 0.0f);
    EXPECT_FLOAT_EQ(list[5].Rhw, 1.0f);
}

TEST_F(RecordedDevice, MirrorAndFlipBitsKeepTheBatchButDiffuseAlphaBreaksIt) {
    for (uint32_t e : {0x2u, 0x202u, 0x402u, 0x602u, 0x2u})
        ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, e));
    ASSERT_TRUE(device.EndFrame());
    ASSERT_EQ(rec().Draws.size(), 1u);
    EXPECT_EQ(rec().Draws[0].PrimitiveCount, 10u);

    rec().ClearRecord();
    for (uint32_t e : {0x2u, 0x102u, 0x2u, 0x102u}) ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, e));
    ASSERT_TRUE(device.EndFrame());
    EXPECT_EQ(rec().Draws.size(), 4u);
}

TEST_F(RecordedDevice, StatesChangeOnlyWhenTheEffectChanges) {
    // Current effect after InitDevice is 0: drawing with 0 sets nothing.
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxNone));
    EXPECT_EQ(rec().StateChanges(), 0u);

    using P = std::pair<uint32_t, uint32_t>;
    for (int i = 0; i < 5; ++i) ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxAdd));
    EXPECT_EQ(States(), (std::vector<P>{{D3DRS_ALPHABLENDENABLE, 1},
                                        {D3DRS_SRCBLEND, D3DBLEND_ONE},
                                        {D3DRS_DESTBLEND, D3DBLEND_ONE}}));
    rec().ClearRecord();
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxBlend | fxfDiffuseAlpha));
    EXPECT_EQ(States(), (std::vector<P>{{D3DRS_ALPHABLENDENABLE, 1},
                                        {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
                                        {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA}}));
    ASSERT_EQ(rec().StageStates.size(), 3u);
    EXPECT_EQ(rec().StageStates[0].Type, D3DTSS_ALPHAOP);
    EXPECT_EQ(rec().StageStates[0].Value, D3DTOP_MODULATE);
    EXPECT_EQ(rec().StageStates[1].Value, D3DTA_TEXTURE);
    EXPECT_EQ(rec().StageStates[2].Value, D3DTA_DIFFUSE);

    rec().ClearRecord();
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, 200)); // no table row: only the alpha op changes
    EXPECT_TRUE(States().empty());
    ASSERT_EQ(rec().StageStates.size(), 1u);
    EXPECT_EQ(rec().StageStates[0].Value, D3DTOP_SELECTARG1);

    rec().ClearRecord();
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxNone));
    EXPECT_EQ(States(), (std::vector<P>{{D3DRS_ALPHABLENDENABLE, 0}}));

    const std::pair<uint32_t, uint32_t> rows[] = {
        {D3DBLEND_SRCALPHA, D3DBLEND_ONE},         {D3DBLEND_ZERO, D3DBLEND_SRCCOLOR},
        {D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR}, {D3DBLEND_SRCCOLOR, D3DBLEND_ONE},
        {D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR},     {D3DBLEND_ZERO, D3DBLEND_INVSRCALPHA},
        {D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA}};
    for (uint32_t code = 3; code <= 9; ++code) {
        rec().ClearRecord();
        ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, code));
        EXPECT_EQ(States(), (std::vector<P>{{D3DRS_ALPHABLENDENABLE, 1},
                                            {D3DRS_SRCBLEND, rows[code - 3].first},
                                            {D3DRS_DESTBLEND, rows[code - 3].second}}))
            << code;
    }
}

TEST_F(RecordedDevice, TextureIsBoundOnlyWhenItChanges) {
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxNone));
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 3, fxNone)); // same texture, other pattern
    ASSERT_TRUE(device.DrawImage(&b, 0, 0, 0, fxNone));
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxNone));
    ASSERT_TRUE(device.EndFrame());
    EXPECT_EQ(rec().TextureBinds.size(), 3u);
    ASSERT_EQ(rec().Draws.size(), 3u);
    EXPECT_EQ(rec().Draws[0].PrimitiveCount, 4u);
    EXPECT_EQ(rec().Draws[1].Texture, b.Textures[0].get());
}

TEST_F(RecordedDevice, FailedBindOrMissingPatternQueuesNothing) {
    TPatternImage empty;
    EXPECT_FALSE(device.DrawImage(&empty, 0, 0, 0, fxNone));
    EXPECT_FALSE(device.DrawImage(nullptr, 0, 0, 0, fxNone));
    EXPECT_FALSE(device.DrawRotated(&empty, 0, 0, 64, 256, 0, fxNone));
    rec().SetTextureResult = GFXERR_INVALIDCALL;
    EXPECT_FALSE(device.DrawImage(&a, 0, 0, 0, fxNone));
    rec().SetTextureResult = GFX_OK;
    ASSERT_TRUE(device.EndFrame());
    EXPECT_TRUE(rec().Draws.empty());
}

TEST_F(RecordedDevice, ColourIsSwappedToVertexOrderAndPositionsShiftHalfAPixel) {
    ASSERT_TRUE(device.DrawImageCol(&a, 10, 20, 0x11223344u, 3, fxNone));
    ASSERT_TRUE(device.EndFrame());
    ASSERT_EQ(rec().Draws.size(), 1u);
    const auto& v = rec().Draws[0].Vertices;
    ASSERT_EQ(v.size(), 4u);
    for (const auto& vertex : v) EXPECT_EQ(vertex.Diffuse, 0x11443322u);
    EXPECT_FLOAT_EQ(v[0].X, 9.5f);
    EXPECT_FLOAT_EQ(v[0].Y, 19.5f);
    EXPECT_FLOAT_EQ(v[3].X, 41.5f);
    EXPECT_FLOAT_EQ(v[3].Y, 51.5f);
    // Pattern 3 is the bottom-right quarter of the texture.
    EXPECT_FLOAT_EQ(v[0].U, 0.5f);
    EXPECT_FLOAT_EQ(v[0].V, 0.5f);
    EXPECT_FLOAT_EQ(v[3].U, 1.0f);
    EXPECT_FLOAT_EQ(v[3].V, 1.0f);

    rec().ClearRecord();
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxNone));
    ASSERT_TRUE(device.EndFrame());
    EXPECT_EQ(rec().Draws[0].Vertices[0].Diffuse, 0xFFFFFFFFu);
}

TEST_F(RecordedDevice, MirrorSwapsLeftAndRightFlipTopAndBottom) {
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxfMirror | fxfFlip));
    ASSERT_TRUE(device.EndFrame());
    const auto& v = rec().Draws[0].Vertices;
    EXPECT_FLOAT_EQ(v[0].U, 0.5f); // top-left corner shows the pattern's bottom-right texel
    EXPECT_FLOAT_EQ(v[0].V, 0.5f);
    EXPECT_FLOAT_EQ(v[3].U, 0.0f);
    EXPECT_FLOAT_EQ(v[3].V, 0.0f);
}

TEST_F(RecordedDevice, PatternIndexIsClamped) {
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, -5, fxNone));
    ASSERT_TRUE(device.EndFrame());
    EXPECT_FLOAT_EQ(rec().Draws[0].Vertices[0].U, 0.0f);
    EXPECT_FLOAT_EQ(rec().Draws[0].Vertices[0].V, 0.0f);
    rec().ClearRecord();
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 1000, fxNone));
    ASSERT_TRUE(device.EndFrame());
    EXPECT_FLOAT_EQ(rec().Draws[0].Vertices[0].U, 0.5f);
    EXPECT_FLOAT_EQ(rec().Draws[0].Vertices[0].V, 0.5f);
}

TEST_F(RecordedDevice, ScaledImageSizeTruncates) {
    ASSERT_TRUE(device.DrawImageScaled(&a, 100, 100, 200, 0xFFFFFFFF, 0, fxNone));
    ASSERT_TRUE(device.EndFrame());
    const auto& v = rec().Draws[0].Vertices;
    EXPECT_FLOAT_EQ(v[3].X, 100 + 25 - 0.5f); // 32 x 200 / 256 = 25
    EXPECT_FLOAT_EQ(v[3].Y, 100 + 25 - 0.5f);
}

namespace {

// The four corners (corner 1..4 order) of the one quad drawn, in whole pixels.
std::vector<std::pair<int, int>> Corners(const TRecordedDraw& draw) {
    const auto& v = draw.Vertices; // strip: corners 1, 2, 4, 3
    auto at = [&](size_t i) {
        return std::pair{int(std::lround(v[i].X + 0.5f)), int(std::lround(v[i].Y + 0.5f))};
    };
    return {at(0), at(1), at(3), at(2)};
}

} // namespace

TEST_F(RecordedDevice, RotatedCornersMatchTheCheckValues) {
    using C = std::vector<std::pair<int, int>>;
    TPatternImage wide, square;
    MakePatternSet(device.Device(), wide, 128, 32, 100, 20, [](int, int) { return ~0u; });
    MakePatternSet(device.Device(), square, 64, 64, 52, 52, [](int, int) { return ~0u; });
    auto drawn = [&](TPatternImage& image, int x, int y, int angle) {
        rec().ClearRecord();
        EXPECT_TRUE(device.DrawRotated(&image, x, y, angle, 256, 0, fxNone));
        EXPECT_TRUE(device.EndFrame());
        return Corners(rec().Draws.at(0));
    };
    EXPECT_EQ(drawn(wide, 400, 300, 64), (C{{350, 290}, {450, 290}, {450, 310}, {350, 310}}));
    EXPECT_EQ(drawn(wide, 400, 300, 0), (C{{390, 350}, {390, 250}, {410, 250}, {410, 350}}));
    EXPECT_EQ(drawn(square, 100, 100, 32), (C{{63, 100}, {100, 63}, {137, 100}, {100, 137}}));

    // Truncation instead of rounding: 36.77 becomes 36, not 37.
    rec().ClearRecord();
    ASSERT_TRUE(device.DrawRotatedColTrunc(&square, 100, 100, 32, 256, 0xFFFFFFFF, 0, fxNone));
    ASSERT_TRUE(device.EndFrame());
    EXPECT_EQ(Corners(rec().Draws[0]), (C{{64, 100}, {100, 64}, {136, 100}, {100, 136}}));
}

TEST_F(RecordedDevice, RotationCacheKeepsDistinctSizesAndDropsTheOldestWhenFull) {
    ASSERT_TRUE(device.DrawRotated(&a, 0, 0, 10, 256, 0, fxNone));
    ASSERT_TRUE(device.DrawRotated(&a, 5, 5, 99, 256, 0, fxNone)); // same size: cached
    EXPECT_EQ(device.RotationCacheCount(), 1);
    // Scale 8k draws the 32 x 32 pattern at k x k: one new size per draw.
    for (int k = 1; device.RotationCacheCount() < 2048; ++k) {
        if (k == 32) continue; // the first entry's size
        ASSERT_TRUE(device.DrawRotated(&a, 0, 0, 64, 8 * k, 0, fxNone));
        ASSERT_LE(k, 2100);
    }
    ASSERT_EQ(device.RotationCacheCount(), 2048);
    int32_t w = 0, h = 0;
    ASSERT_TRUE(device.RotationCacheEntry(2047, w, h));
    const std::pair<int32_t, int32_t> last{w, h};
    ASSERT_TRUE(device.RotationCacheEntry(0, w, h));
    EXPECT_EQ(w, 32);
    // The 2049th distinct size takes the first place; the last entry is gone.
    TPatternImage odd;
    MakePatternSet(device.Device(), odd, 1024, 8, 1000, 7, [](int, int) { return ~0u; });
    ASSERT_TRUE(device.DrawRotated(&odd, 0, 0, 64, 256, 0, fxNone));
    EXPECT_EQ(device.RotationCacheCount(), 2048);
    ASSERT_TRUE(device.RotationCacheEntry(0, w, h));
    EXPECT_EQ(std::pair(w, h), std::pair(1000, 7));
    ASSERT_TRUE(device.RotationCacheEntry(1, w, h));
    EXPECT_EQ(w, 32); // the former first entry moved one place on
    for (int i = 0; i < 2048; ++i) {
        ASSERT_TRUE(device.RotationCacheEntry(i, w, h));
        EXPECT_NE(std::pair(w, h), last) << i;
    }
}

TEST(RenderDeviceAngle, AngleOfFollowsItsQuadrantRules) {
    constexpr double pi = std::numbers::pi;
    EXPECT_DOUBLE_EQ(AngleOf(0, 5, 0, 0), 0.0); // straight up
    EXPECT_DOUBLE_EQ(AngleOf(0, 0, 0, 5), pi);  // straight down
    EXPECT_DOUBLE_EQ(AngleOf(0, 0, 5, 0), pi);  // same row, to the right
    EXPECT_DOUBLE_EQ(AngleOf(5, 0, 0, 0), 0.0); // same row, to the left
    EXPECT_NEAR(AngleOf(0, 0, 1, 1), 7 * pi / 4, 1e-12);
    EXPECT_NEAR(AngleOf(0, 0, -1, 1), pi / 4, 1e-12);
    for (double x : {-3.0, 0.5, 7.0})
        for (double y : {-2.0, 0.0, 4.0}) {
            const double angle = AngleOf(1, 1, x, y);
            EXPECT_GE(angle, 0.0);
            EXPECT_LE(angle, 2 * pi);
        }
}

TEST_F(RecordedDevice, DrawingAfterDoneDeviceFailsAndDoneDrawsWhatIsQueued) {
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxNone));
    EXPECT_EQ(device.DoneDevice(), 0);
    ASSERT_EQ(rec().Draws.size(), 1u);
    EXPECT_EQ(rec().TextureBinds.back(), nullptr);
    EXPECT_FALSE(device.DrawImage(&a, 0, 0, 0, fxNone));
    EXPECT_FALSE(device.DrawRotated(&a, 0, 0, 64, 256, 0, fxNone));
    EXPECT_FALSE(device.EndFrame());
    EXPECT_FALSE(device.PresentFrame());
    EXPECT_FALSE(device.ResetDevice());
    EXPECT_EQ(device.Device(), nullptr);
}

TEST_F(RecordedDevice, BeginFrameDiscardsQueuedQuads) {
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxNone));
    ASSERT_TRUE(device.BeginFrame());
    ASSERT_TRUE(device.EndFrame());
    EXPECT_TRUE(rec().Draws.empty());
    rec().BeginSceneResult = GFXERR_INVALIDCALL;
    EXPECT_FALSE(device.BeginFrame());
}

TEST_F(RecordedDevice, EndFrameStopsWhenTheBatchCannotBeDrawn) {
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxNone));
    rec().VertexBuffers[0]->LockResult = GFXERR_INVALIDCALL;
    EXPECT_FALSE(device.EndFrame());
    EXPECT_EQ(std::count(rec().Calls.begin(), rec().Calls.end(), "EndScene"), 0);
    // The failed quads are gone; the next frame works.
    rec().VertexBuffers[0]->LockResult = GFX_OK;
    ASSERT_TRUE(device.EndFrame());
    EXPECT_TRUE(rec().Draws.empty());

    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxNone));
    rec().DrawPrimitiveResult = GFXERR_INVALIDCALL;
    EXPECT_FALSE(device.EndFrame());
}

TEST_F(RecordedDevice, LostDeviceCallsTheHandlerAndForgetsTextureAndEffect) {
    int lostCalls = 0;
    device.OnDeviceLost = [&](TRenderDevice& sender) {
        ++lostCalls;
        EXPECT_EQ(&sender, &device);
        EXPECT_TRUE(sender.ResetDevice());
    };
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxBlend));
    ASSERT_TRUE(device.EndFrame());
    EXPECT_TRUE(device.PresentFrame());
    device.SimulateDeviceLoss();
    EXPECT_FALSE(device.PresentFrame());
    EXPECT_EQ(lostCalls, 1);
    EXPECT_EQ(rec().Resets, 1);

    // The same texture and effect are set again, and the reset's default states are restored.
    rec().ClearRecord();
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxBlend));
    ASSERT_TRUE(device.EndFrame());
    EXPECT_EQ(rec().TextureBinds.size(), 1u);
    EXPECT_EQ(States().size(), 3u);
    EXPECT_TRUE(device.PresentFrame());
    EXPECT_EQ(lostCalls, 1);

    rec().PresentResult = GFXERR_INVALIDCALL; // another failure is not a loss
    EXPECT_FALSE(device.PresentFrame());
    EXPECT_EQ(lostCalls, 1);
}

TEST_F(RecordedDevice, ResetDeviceRestoresTheFixedStates) {
    device.SetAntialias(false);
    rec().ClearRecord();
    EXPECT_TRUE(device.ResetDevice());
    using P = std::pair<uint32_t, uint32_t>;
    EXPECT_EQ(States(),
              (std::vector<P>{
                  {D3DRS_CULLMODE, D3DCULL_NONE}, {D3DRS_LIGHTING, 0}, {D3DRS_DITHERENABLE, 0}}));
    ASSERT_EQ(rec().StageStates.size(), 2u);
    EXPECT_EQ(rec().StageStates[0].Value, D3DTEXF_POINT);
    rec().ResetResult = GFXERR_DEVICELOST;
    EXPECT_FALSE(device.ResetDevice());
}

TEST_F(RecordedDevice, ClipRectDrawsQueuedQuadsThenSetsTheViewport) {
    ASSERT_TRUE(device.DrawImage(&a, 0, 0, 0, fxNone));
    device.SetClipRect({10, 20, 300, 220});
    ASSERT_EQ(rec().Draws.size(), 1u);
    ASSERT_EQ(rec().Viewports.size(), 1u);
    const TGfxViewport& v = rec().Viewports[0];
    EXPECT_EQ(v.X, 10u);
    EXPECT_EQ(v.Y, 20u);
    EXPECT_EQ(v.Width, 290u);
    EXPECT_EQ(v.Height, 200u);
    EXPECT_EQ(v.MinZ, 0.0f);
    EXPECT_EQ(v.MaxZ, 0.0f);
}
