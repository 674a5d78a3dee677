#pragma once
// A frame like the game's playing screen, made from generated pictures: a backdrop in four
// 400 x 300 quarters, 81 field cells, 81 glossy balls (one row of them turned), and 40 glyphs of
// text blended with a colour. Shared by the offscreen picture test and the render benchmark.
#include "platform/Bitmap.h"
#include "render/ImageReader.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

class TSampleScene {
public:
    static constexpr int kBallSize = 48;
    static constexpr int kCell = 52;
    static constexpr int kFieldX = 298, kFieldY = 26;

    // Writes the pictures into `folder` as TGA files and loads them on the device. False when a
    // set cannot be loaded.
    bool Load(TRenderDevice& device, const std::string& folder) {
        return LoadSet(device, folder + "/backdrop.tga", Backdrop(), Backdrop_, 400, 300, 512,
                       512) &&
               LoadSet(device, folder + "/cell.tga", CellPicture(), Cell_, 0, 0, 64, 64) &&
               LoadSet(device, folder + "/balls.tga", Balls(), Balls_, kBallSize, kBallSize, 256,
                       256) &&
               LoadSet(device, folder + "/glyphs.tga", Glyphs(), Glyphs_, 16, 16, 256, 128);
    }

    void Free() {
        for (TPatternImage* set : {&Backdrop_, &Cell_, &Balls_, &Glyphs_}) set->FreeTextures();
    }

    // Queues the whole picture; the caller brackets it with BeginFrame / EndFrame.
    void Draw(TRenderDevice& device, int frame) {
        for (int q = 0; q < 4; ++q)
            device.DrawImage(&Backdrop_, 400 * (q % 2), 300 * (q / 2), q, fxNone);
        for (int i = 0; i < 81; ++i)
            device.DrawImage(&Cell_, kFieldX + kCell * (i % 9), kFieldY + kCell * (i / 9), 0,
                             fxBlend);
        for (int i = 0; i < 81; ++i) {
            const int row = i / 9, column = i % 9;
            const int angle = row == 4 ? 64 + 16 * column + frame : 64; // the middle row turns
            device.DrawRotated(&Balls_, kFieldX + kCell * column + kCell / 2,
                               kFieldY + kCell * row + kCell / 2, angle, 256, (row + column) % 7,
                               fxBlend);
        }
        const std::string text = "VELM ORRA Score 1250Five in a row: +50!";
        for (size_t i = 0; i < 40; ++i) {
            const char c = i < text.size() ? text[i] : '.';
            const uint32_t colour = i < 10 ? 0xFF40E0FF : 0xC0FFFFFF; // 0xAABBGGRR
            device.DrawImageScaled(&Glyphs_, 20 + 14 * int(i % 20), 520 + 24 * int(i / 20), 256,
                                   colour, c - 32, fxBlend | fxfDiffuseAlpha);
        }
    }

private:
    static bool LoadSet(TRenderDevice& device, const std::string& path, const TBitmapEx& picture,
                        TPatternImage& set, int pw, int ph, int tw, int th) {
        if (!picture.SaveToFile(path)) return false;
        return set.LoadFromFile(device.Device(), path, pw, ph, tw, th, D3DFMT_A8R8G8B8) == 0;
    }

    static void Put(TBitmap& bmp, int x, int y, int r, int g, int b, int a) {
        uint8_t* p = bmp.ScanLine(y) + x * 4;
        p[0] = uint8_t(std::clamp(b, 0, 255));
        p[1] = uint8_t(std::clamp(g, 0, 255));
        p[2] = uint8_t(std::clamp(r, 0, 255));
        p[3] = uint8_t(std::clamp(a, 0, 255));
    }

    // Deep blue-violet, lighter towards the top left.
    static TBitmapEx Backdrop() {
        TBitmapEx bmp;
        bmp.SetSize(800, 600, 32);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 800; ++x) {
                const double t = 1.0 - std::hypot(x / 800.0, y / 600.0) / 1.5;
                Put(bmp, x, y, int(20 + 50 * t), int(12 + 20 * t), int(60 + 90 * t), 255);
            }
        return bmp;
    }

    // A translucent rounded well with a light rim.
    static TBitmapEx CellPicture() {
        TBitmapEx bmp;
        bmp.SetSize(kCell, kCell, 32);
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x) {
                const int edge = std::min({x, y, kCell - 1 - x, kCell - 1 - y});
                const bool rim = edge < 2;
                Put(bmp, x, y, rim ? 150 : 10, rim ? 140 : 8, rim ? 220 : 40, rim ? 200 : 110);
            }
        return bmp;
    }

    // Seven glossy spheres: lit from the top left, a specular spot, a soft antialiased edge.
    static TBitmapEx Balls() {
        static const int colours[7][3] = {{230, 40, 40},  {40, 190, 60},  {50, 90, 235},
                                          {240, 210, 40}, {200, 60, 210}, {40, 200, 210},
                                          {245, 140, 30}};
        TBitmapEx bmp;
        bmp.SetSize(kBallSize * 7, kBallSize, 32);
        const double r = kBallSize / 2.0 - 1;
        for (int k = 0; k < 7; ++k)
            for (int y = 0; y < kBallSize; ++y)
                for (int x = 0; x < kBallSize; ++x) {
                    const double dx = (x + 0.5 - kBallSize / 2.0) / r;
                    const double dy = (y + 0.5 - kBallSize / 2.0) / r;
                    const double d = std::hypot(dx, dy);
                    const double cover = std::clamp((1.0 - d) * r + 0.5, 0.0, 1.0);
                    const double dz = std::sqrt(std::max(0.0, 1.0 - d * d));
                    const double light = std::max(0.0, -0.45 * dx - 0.55 * dy + 0.7 * dz);
                    const double spot = std::pow(std::max(0.0, light), 30);
                    const double shade = 0.25 + 0.8 * light;
                    auto channel = [&](int c) { return int(c * shade + 255 * spot); };
                    Put(bmp, k * kBallSize + x, y, channel(colours[k][0]), channel(colours[k][1]),
                        channel(colours[k][2]), int(255 * cover));
                }
        return bmp;
    }

    // Printable ASCII in 16 x 16 cells (the tiny font doubled), white, coverage in alpha.
    static TBitmapEx Glyphs() {
        TBitmapEx bmp;
        bmp.SetSize(256, 96, 32);
        for (int c = 32; c < 127; ++c) {
            const uint8_t* glyph = TinyFontGlyph(char(c));
            const int cx = 16 * ((c - 32) % 16), cy = 16 * ((c - 32) / 16);
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (glyph[row] & (0x10 >> col))
                        for (int sy = 0; sy < 2; ++sy)
                            for (int sx = 0; sx < 2; ++sx)
                                Put(bmp, cx + 2 + 2 * col + sx, cy + 1 + 2 * row + sy, 255, 255,
                                    255, 255);
        }
        return bmp;
    }

    TPatternImage Backdrop_, Cell_, Balls_, Glyphs_;
};
