#pragma once
// Types shared by the render device and its callers: property enumerations, effect codes,
// rectangles and D3D-style format numbers.
// Texture and display formats (D3DFMT_A8R8G8B8 = 21 ... D3DFMT_X4R4G4B4 = 30) come from the
// graphics layer.
#include "platform/GfxTypes.h"

#include <cstdint>

enum TBitDepth { bd_Low, bd_High };
enum TZBuffer { zb_None, zb_16bit, zb_32bit };
enum TRefreshRate { rr_default, rr_lowest, rr_average, rr_higher, rr_highest, rr_custom };

// Effect code: the low byte selects the blend mode, the flags modify the drawing.
constexpr uint32_t fxNone = 0;              // opaque
constexpr uint32_t fxAdd = 1;               // ONE, ONE
constexpr uint32_t fxBlend = 2;             // SRCALPHA, INVSRCALPHA
constexpr uint32_t fxAddAlpha = 3;          // SRCALPHA, ONE
constexpr uint32_t fxMultiply = 4;          // ZERO, SRCCOLOR
constexpr uint32_t fxColorBlend = 5;        // SRCCOLOR, INVSRCCOLOR
constexpr uint32_t fxColorAdd = 6;          // SRCCOLOR, ONE
constexpr uint32_t fxInvMultiply = 7;       // ZERO, INVSRCCOLOR
constexpr uint32_t fxShadow = 8;            // ZERO, INVSRCALPHA
constexpr uint32_t fxBlend2 = 9;            // SRCALPHA, INVSRCALPHA
constexpr uint32_t fxfDiffuseAlpha = 0x100; // texture alpha times the colour's alpha
constexpr uint32_t fxfMirror = 0x200;       // left-right
constexpr uint32_t fxfFlip = 0x400;         // upside down

struct TRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};
