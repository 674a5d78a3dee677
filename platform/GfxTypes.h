#pragma once
// Values of the graphics layer, numbered as the Direct3D 8 API numbers them, because the render
// device and the pattern sets are written against those numbers: result codes, formats, render
// and texture-stage states, blend factors, primitive types, pools.
#include <cstdint>

// --- Results: 0 success, negative failures -----------------------------------------------------
constexpr int32_t GFX_OK = 0;
constexpr int32_t GFXERR_DEVICELOST = int32_t(0x88760868u);
constexpr int32_t GFXERR_NOTAVAILABLE = int32_t(0x8876086Au);
constexpr int32_t GFXERR_INVALIDCALL = int32_t(0x8876086Cu);
constexpr int32_t GFXERR_OUTOFVIDEOMEMORY = int32_t(0x8876017Cu);
constexpr int32_t GFXERR_FAIL = int32_t(0x80004005u); // E_FAIL

// --- Formats (texture, display, depth) -----------------------------------------------------------
constexpr int D3DFMT_UNKNOWN = 0;
constexpr int D3DFMT_A8R8G8B8 = 21;
constexpr int D3DFMT_X8R8G8B8 = 22;
constexpr int D3DFMT_R5G6B5 = 23;
constexpr int D3DFMT_X1R5G5B5 = 24;
constexpr int D3DFMT_A1R5G5B5 = 25;
constexpr int D3DFMT_A4R4G4B4 = 26;
constexpr int D3DFMT_R3G3B2 = 27;
constexpr int D3DFMT_A8 = 28;
constexpr int D3DFMT_A8R3G3B2 = 29;
constexpr int D3DFMT_X4R4G4B4 = 30;
constexpr int D3DFMT_D32 = 71;
constexpr int D3DFMT_D16 = 80;

// Bytes per texel of a texture format 21..30; 0 for any other number.
int32_t GfxFormatBytes(int32_t format);

// --- Device creation ---------------------------------------------------------------------------
constexpr int32_t D3DDEVTYPE_HAL = 1;
constexpr int32_t D3DDEVTYPE_REF = 2;
constexpr uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr uint32_t D3DMULTISAMPLE_NONE = 0;
constexpr uint32_t D3DSWAPEFFECT_DISCARD = 1;
constexpr uint32_t D3DPRESENT_INTERVAL_DEFAULT = 0;
constexpr uint32_t D3DPRESENT_INTERVAL_ONE = 1;
constexpr uint32_t D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000u;

// --- Resources -----------------------------------------------------------------------------------
constexpr int32_t D3DPOOL_DEFAULT = 0;
constexpr int32_t D3DPOOL_MANAGED = 1;
constexpr int32_t D3DPOOL_SYSTEMMEM = 2;
// Vertex format: pre-transformed position (x, y, z, rhw), diffuse colour, one texture coordinate
// pair; 28 bytes a vertex.
constexpr uint32_t D3DFVF_XYZRHW = 0x004;
constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
constexpr uint32_t D3DFVF_TEX1 = 0x100;
constexpr uint32_t kGfxVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1; // 0x144
constexpr uint32_t kGfxVertexSize = 28;

// --- Drawing -------------------------------------------------------------------------------------
constexpr int32_t D3DPT_TRIANGLELIST = 4;
constexpr int32_t D3DPT_TRIANGLESTRIP = 5;

// Render states.
constexpr uint32_t D3DRS_SRCBLEND = 19;
constexpr uint32_t D3DRS_DESTBLEND = 20;
constexpr uint32_t D3DRS_CULLMODE = 22;
constexpr uint32_t D3DRS_DITHERENABLE = 26;
constexpr uint32_t D3DRS_ALPHABLENDENABLE = 27;
constexpr uint32_t D3DRS_LIGHTING = 137;
constexpr uint32_t D3DCULL_NONE = 1;

// Blend factors.
constexpr uint32_t D3DBLEND_ZERO = 1;
constexpr uint32_t D3DBLEND_ONE = 2;
constexpr uint32_t D3DBLEND_SRCCOLOR = 3;
constexpr uint32_t D3DBLEND_INVSRCCOLOR = 4;
constexpr uint32_t D3DBLEND_SRCALPHA = 5;
constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;
constexpr uint32_t D3DBLEND_DESTALPHA = 7;
constexpr uint32_t D3DBLEND_INVDESTALPHA = 8;
constexpr uint32_t D3DBLEND_DESTCOLOR = 9;
constexpr uint32_t D3DBLEND_INVDESTCOLOR = 10;

// Texture-stage states and their values.
constexpr uint32_t D3DTSS_COLOROP = 1;
constexpr uint32_t D3DTSS_ALPHAOP = 4;
constexpr uint32_t D3DTSS_ALPHAARG1 = 5;
constexpr uint32_t D3DTSS_ALPHAARG2 = 6;
constexpr uint32_t D3DTSS_MAGFILTER = 16;
constexpr uint32_t D3DTSS_MINFILTER = 17;
constexpr uint32_t D3DTOP_SELECTARG1 = 2;
constexpr uint32_t D3DTOP_MODULATE = 4;
constexpr uint32_t D3DTA_DIFFUSE = 0;
constexpr uint32_t D3DTA_TEXTURE = 2;
constexpr uint32_t D3DTEXF_POINT = 1;
constexpr uint32_t D3DTEXF_LINEAR = 2;

// --- Records -------------------------------------------------------------------------------------
struct TGfxDisplayMode {
    uint32_t Width = 0;
    uint32_t Height = 0;
    uint32_t RefreshRate = 0; // Hz; 0 = the adapter's default
    int32_t Format = D3DFMT_UNKNOWN;
};

struct TGfxAdapterIdentifier {
    char Driver[512] = {};
    char Description[512] = {};
    uint32_t VendorId = 0;
    uint32_t DeviceId = 0;
};

struct TGfxCaps {
    int32_t DeviceType = 0;
    uint32_t MaxTextureWidth = 0;
    uint32_t MaxTextureHeight = 0;
    uint32_t PresentationIntervals = 0;
};

struct TNativeWindow;

struct TGfxPresentParameters {
    uint32_t BackBufferWidth = 0;
    uint32_t BackBufferHeight = 0;
    int32_t BackBufferFormat = D3DFMT_UNKNOWN;
    uint32_t BackBufferCount = 0;
    uint32_t MultiSampleType = D3DMULTISAMPLE_NONE;
    uint32_t SwapEffect = 0;
    TNativeWindow* hDeviceWindow = nullptr;
    bool Windowed = false;
    bool EnableAutoDepthStencil = false;
    int32_t AutoDepthStencilFormat = D3DFMT_UNKNOWN;
    uint32_t Flags = 0;
    uint32_t FullScreen_RefreshRateInHz = 0;
    uint32_t FullScreen_PresentationInterval = 0;
    // Not windowed: fill the desktop at its own mode, the picture scaled to fit and centred,
    // instead of switching the display to the back buffer's mode.
    bool DesktopFullScreen = false;
    // Back-buffer pixels a picture pixel: a window at the picture's own size is the back buffer's
    // size over this.
    uint32_t Density = 1;
};

struct TGfxViewport {
    uint32_t X = 0, Y = 0, Width = 0, Height = 0;
    float MinZ = 0.0f, MaxZ = 0.0f;
};

struct TGfxLockedRect {
    int32_t Pitch = 0; // bytes from one row to the next
    uint8_t* Bits = nullptr;
};

// A rectangle in window pixels, right and bottom exclusive.
struct TGfxRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// A piece of an arranged picture: the picture's rectangle From (picture pixels) shown at the same
// size with its top-left corner at (ToX, ToY) of the arranged picture.
struct TGfxRegion {
    TGfxRect From;
    int32_t ToX = 0, ToY = 0;
};
