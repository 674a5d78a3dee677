#pragma once
// TRenderDevice: the one drawing device. It presents an 800 x 600 picture in the owner window or
// full screen (or, offscreen, into a memory surface) and draws patterns of TPatternImage sets as
// textured, vertex-coloured quads with a small set of blend effects, batching up to 42 quads that
// share a texture and an effect.
//
// Colours are 0xAABBGGRR (alpha in the top byte, red in the low byte). Angles are in 1/256 turn
// (64 draws a pattern upright), scales in 1/256 (256 = natural size).
//
// Every position, size and clip rectangle is in picture pixels (Width x Height). The back buffer
// holds Density x Density real pixels a picture pixel: at density 2 an 800 x 600 picture is drawn
// into 1600 x 1200 pixels, from pictures of as many texels (TPatternImage::Density).
#include "render/RenderTypes.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class IGfxSystem;
class IGfxDevice;
class IGfxVertexBuffer;
class IGfxTexture;
class TPatternImage;
struct TNativeWindow;

// The adapter identification read by InitDevice (strings are zero-terminated).
struct TAdapterInfo {
    char Driver[512] = {};
    char Description[512] = {};
};

// The results of the device's life and of drawing its batch: 0 done, or a negative code that
// names what failed.
constexpr int32_t rdDone = 0;
// InitDevice: already initialised, or neither an owner window nor offscreen; DoneDevice and the
// batch: not initialised.
constexpr int32_t rdRefused = -1;
constexpr int32_t rdNoGraphics = -2;     // no graphics system
constexpr int32_t rdNoMode = -3;         // full screen: no display mode enumerated or chosen
constexpr int32_t rdNoDesktopMode = -4;  // windowed: the desktop's display mode unreadable
constexpr int32_t rdNoDevice = -5;       // the device could not be created
constexpr int32_t rdNoVertexBuffer = -6; // a vertex buffer could not be created
constexpr int32_t rdNoCaps = -7;         // the device's capabilities unreadable
constexpr int32_t rdNoAdapterId = -8;    // the adapter's identifier unreadable
constexpr int32_t rdLockFailed = -9;     // the batch's vertex buffer would not lock or unlock
constexpr int32_t rdDrawFailed = -10;    // the batch would not draw

class TRenderDevice {
public:
    TRenderDevice();
    ~TRenderDevice(); // DoneDevice
    TRenderDevice(const TRenderDevice&) = delete;
    TRenderDevice& operator=(const TRenderDevice&) = delete;

    // --- Owner and presentation --------------------------------------------------------------
    // The owner form's window. Without an owner (and not offscreen) InitDevice returns rdRefused.
    void SetOwnerWindow(TNativeWindow* window);
    // Offscreen: render into a Width x Height memory surface with the software renderer; no
    // window or display is needed. Ignored while initialised.
    void SetOffscreen(bool offscreen);
    bool Offscreen() const;
    // Full screen on the desktop's own mode with the picture scaled to fit and centred, for
    // displays without a mode of Width x Height. Used when FullScreen is set. Ignored while
    // initialised.
    void SetDesktopFullScreen(bool value);
    bool DesktopFullScreen() const;
    // Where the picture lies in the window's client area (window coordinates): scaled to fit
    // with its proportions kept and centred, in a window of any size and in full screen (the
    // arranged picture's place when it is arranged).
    TRect PictureRectInWindow() const;
    // The picture shown rearranged: `width` x `height` picture pixels made of the regions (pieces
    // of the picture at their own size, placed elsewhere), `gaps` (0xRRGGBB) between them. No
    // regions: the picture as it is. Kept through resets and a new device.
    struct TRegion {
        TRect From; // picture pixels
        int32_t ToX = 0, ToY = 0;
    };
    void SetArrangement(int32_t width, int32_t height, std::vector<TRegion> regions, uint32_t gaps);
    // A pointer position in window coordinates as picture coordinates, through the picture's
    // place and its arrangement; false (the point left as it was) for a point beside the picture
    // or in a gap of the arrangement.
    bool WindowToPicture(int32_t& x, int32_t& y) const;
    // Switches a running device between a window and full screen on the desktop's own mode at
    // once, through a reset (textures survive it). FullScreen and DesktopFullScreen follow.
    // False, with the device left as it was, when the switch fails or nothing is initialised.
    bool SwitchFullScreen(bool fullScreen);
    // Real pixels a picture pixel covers where the picture is shown (the window's drawable pixels,
    // on high-DPI displays more than its coordinates); 1 offscreen or when nothing is shown.
    double PixelsPerPicturePixel() const;
    // Back-buffer pixels per picture pixel, 1 or 2. Changing it on a running device resets it to
    // the new back-buffer size: what the textures held may be lost (ContentsLost). False, with
    // the device left as it was, when that fails.
    int32_t Density() const;
    bool SetDensity(int32_t density);

    // --- Published properties ---------------------------------------------------------------
    // Width, Height, BackBufferCount, BitDepth, FullScreen, ZBuffer, VSync, RefreshRate and
    // CustomRefreshRate ignore new values while initialised. Setting RefreshRate to anything but
    // rr_custom sets CustomRefreshRate to 0; CustomRefreshRate accepts a value only while
    // RefreshRate is rr_custom. Antialias and Dithering apply at once when initialised.
    bool Antialias() const;
    void SetAntialias(bool value);
    bool Dithering() const;
    void SetDithering(bool value);
    bool Hardware() const;
    void SetHardware(bool value);
    bool FullScreen() const;
    void SetFullScreen(bool value);
    int32_t Width() const;
    void SetWidth(int32_t value);
    int32_t Height() const;
    void SetHeight(int32_t value);
    int32_t BackBufferCount() const;
    void SetBackBufferCount(int32_t value);
    TBitDepth BitDepth() const;
    void SetBitDepth(TBitDepth value);
    TZBuffer ZBuffer() const;
    void SetZBuffer(TZBuffer value);
    bool VSync() const;
    void SetVSync(bool value);
    TRefreshRate RefreshRate() const;
    void SetRefreshRate(TRefreshRate value);
    int32_t CustomRefreshRate() const;
    void SetCustomRefreshRate(int32_t value);
    std::function<void(TRenderDevice& sender)> OnDeviceLost;

    // --- Read-only state ----------------------------------------------------------------------
    bool Initialized() const;
    IGfxDevice* Device() const; // for TPatternImage loading
    const TAdapterInfo& AdapterInfo() const;

    // --- Device life --------------------------------------------------------------------------
    // rdDone, or the rdRefused .. rdNoAdapterId code of what failed.
    int32_t InitDevice();
    int32_t DoneDevice(); // rdDone if it was initialised, else rdRefused
    bool ResetDevice();

    // --- Frame --------------------------------------------------------------------------------
    bool BeginFrame();   // discards queued quads
    bool EndFrame();     // draws queued quads
    bool PresentFrame(); // calls OnDeviceLost when the device is lost
    void SetClipRect(const TRect& rect);

    // --- Drawing: false when not initialised or the pattern cannot be selected (null or empty
    // image); nothing is queued then. --------------------------------------------------------
    bool DrawQuad(TPatternImage* image, int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t x3,
                  int32_t y3, int32_t x4, int32_t y4, int32_t pattern, uint32_t effect);
    bool DrawQuadCol(TPatternImage* image, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                     int32_t x3, int32_t y3, int32_t x4, int32_t y4, uint32_t colour,
                     int32_t pattern, uint32_t effect);
    bool DrawImage(TPatternImage* image, int32_t x, int32_t y, int32_t pattern, uint32_t effect);
    bool DrawImageCol(TPatternImage* image, int32_t x, int32_t y, uint32_t colour, int32_t pattern,
                      uint32_t effect);
    bool DrawImageScaled(TPatternImage* image, int32_t x, int32_t y, int32_t scale, uint32_t colour,
                         int32_t pattern, uint32_t effect);
    bool DrawRotated(TPatternImage* image, int32_t x, int32_t y, int32_t angle, int32_t scale,
                     int32_t pattern, uint32_t effect);
    bool DrawRotatedCol(TPatternImage* image, int32_t x, int32_t y, int32_t angle, int32_t scale,
                        uint32_t colour, int32_t pattern, uint32_t effect);
    bool DrawRotatedColTrunc(TPatternImage* image, int32_t x, int32_t y, int32_t angle,
                             int32_t scale, uint32_t colour, int32_t pattern, uint32_t effect);

    // --- The frame as a picture ------------------------------------------------------------------
    // Copies the frame presented last into `into`: one pattern of the picture's size (Width x
    // Height) at the device's density, made anew when the size or density changed. Call between
    // frames. False, leaving `into` as it was, when the frame cannot be read.
    bool SnapshotFrame(TPatternImage& into);
    // Where every following draw of this frame lands, in picture pixels off its place (a shaking
    // field); BeginFrame sets it back to (0, 0).
    void SetDrawOffset(int32_t dx, int32_t dy);

    // --- Offscreen read-back (tests, screenshots) ---------------------------------------------
    // The last presented frame as 0xAARRGGBB pixels, row 0 at the top, at the back buffer's size
    // (Width x Height times Density each way); empty when not offscreen.
    std::vector<uint32_t> ReadFrame() const;
    // Writes the last presented frame as a BMP file.
    bool SaveFrame(const std::string& path) const;

    // --- Test support ---------------------------------------------------------------------------
    // Stands in for the graphics system InitDevice would create (a recording double in tests).
    void UseGfxSystem(std::shared_ptr<IGfxSystem> system);
    // Makes the next PresentFrame find the device lost, as after a driver reset.
    void SimulateDeviceLoss();
    // Off: every frame is drawn whole instead of only where it changed (the picture is the same).
    void SetPartialFrames(bool on);
    // The rotation cache: entries in use (0..2048) and the scaled size kept at an index.
    int32_t RotationCacheCount() const;
    bool RotationCacheEntry(int32_t index, int32_t& width, int32_t& height) const;

private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
};

// The main form's device, reachable by the field, the particles and the buttons.
extern TRenderDevice* RenderDevice1;

// The rotation cache's angle of the line from (x1, y1) to (x2, y2), in radians, 0..2 pi.
double AngleOf(double x1, double y1, double x2, double y2);
