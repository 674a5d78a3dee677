#pragma once
// Small pictures for the drawing tests, written as 32-bit BMP files with alpha:
// - a font of 8 x 10 cells, 16 per row: printable ASCII from the tiny 5 x 7 canvas font (at
//   (1, 1) in the cell, advance 6), code 127 a solid 5 x 10 block (advance 6), code 1 the same
//   block with advance 0; other codes empty with advance 0;
// - button pictures of three 40 x 20 patterns, each filled with one opaque colour.
#include "platform/Bitmap.h"

#include <cstdint>
#include <fstream>
#include <string>

namespace testart {

constexpr int kCellW = 8, kCellH = 10, kAdvance = 6, kBlockW = 5;
constexpr uint8_t kBlock = 127, kZeroBlock = 1;

// Sets a 32-bit pixel: colour 0x00BBGGRR plus alpha.
inline void Put(TBitmap& b, int x, int y, uint32_t bgr, uint8_t alpha) {
    uint8_t* p = b.ScanLine(y) + 4 * x;
    p[0] = uint8_t(bgr >> 16);
    p[1] = uint8_t(bgr >> 8);
    p[2] = uint8_t(bgr);
    p[3] = alpha;
}

inline uint8_t AdvanceOf(int code) {
    if (code == kBlock || (code >= 32 && code < 127)) return kAdvance;
    return 0;
}

// Writes "<dir>/font.rls" and "<dir>/font.bmp"; false when either cannot be written.
inline bool WriteFont(const std::string& dir) {
    std::ofstream rls(dir + "/font.rls", std::ios::binary);
    rls.put(char(kCellH)).put(char(kCellW));
    for (int c = 0; c < 256; ++c) rls.put(char(AdvanceOf(c)));
    if (!rls) return false;

    TBitmap bmp;
    if (!bmp.SetSize(16 * kCellW, 16 * kCellH, 32)) return false;
    for (int c = 0; c < 256; ++c) {
        const int x0 = (c % 16) * kCellW, y0 = (c / 16) * kCellH;
        if (c == kBlock || c == kZeroBlock) {
            for (int y = 0; y < kCellH; ++y)
                for (int x = 0; x < kBlockW; ++x) Put(bmp, x0 + x, y0 + y, 0xFFFFFF, 255);
        } else if (c >= 32 && c < 127) {
            const uint8_t* rows = TinyFontGlyph(char(c));
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 5; ++x)
                    if (rows[y] & (0x10 >> x)) Put(bmp, x0 + 1 + x, y0 + 1 + y, 0xFFFFFF, 255);
        }
    }
    return bmp.SaveToFile(dir + "/font.bmp");
}

// Three 40 x 20 patterns side by side, filled with the three colours (0x00BBGGRR).
inline bool WriteButton(const std::string& path, uint32_t normal, uint32_t hovered,
                        uint32_t pressed) {
    TBitmap bmp;
    if (!bmp.SetSize(120, 20, 32)) return false;
    const uint32_t colours[3] = {normal, hovered, pressed};
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 120; ++x) Put(bmp, x, y, colours[x / 40], 255);
    return bmp.SaveToFile(path);
}

} // namespace testart
