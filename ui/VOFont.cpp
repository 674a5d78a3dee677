#include "ui/VOFont.h"

#include "platform/Bitmap.h"
#include "platform/DataPack.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

TVOFont* Font = nullptr;

namespace {

constexpr uint32_t kGlyphEffect = fxBlend | fxfDiffuseAlpha;
constexpr int32_t kGlyphTexture = 256;
constexpr int32_t kLinePitch = 15;    // DrawTextBlock: pixels between lines at any scale
constexpr size_t kMetricsBytes = 258; // font.rls: height, width, 256 advances

// Round to nearest, halves to even, of num / den (num >= 0, den > 0), exactly.
int32_t RoundRatio(int64_t num, int64_t den) {
    int64_t q = num / den;
    const int64_t twiceRest = 2 * (num % den);
    if (twiceRest > den || (twiceRest == den && (q & 1))) ++q;
    return static_cast<int32_t>(q);
}

std::string FilePath(std::string name) {
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

} // namespace

TVOFont::TVOFont(TRenderDevice* device) : device_(device) {}

TVOFont::~TVOFont() {
    ReleaseGlyphs();
}

void TVOFont::ReleaseGlyphs() {
    if (!Glyphs) return;
    Glyphs->FreeTextures();
    delete Glyphs;
    Glyphs = nullptr;
}

bool TVOFont::LoadMetrics(const std::string& fileName, std::string* error) {
    if (!device_ || !device_->Initialized()) return true;
    // Only a regular file of sane size: a FIFO or a device in its place must not block or
    // stream without end.
    std::vector<uint8_t> bytes;
    if (!ReadDataFile(FilePath(fileName), bytes, nullptr, size_t{64} * 1024)) {
        std::error_code ec;
        const bool there = std::filesystem::exists(FilePath(fileName), ec);
        if (error) *error = fileName + (there ? ": not a regular file" : ": file not found");
        return false;
    }
    return LoadMetricsFromMemory(bytes.data(), bytes.size(), fileName, error);
}

bool TVOFont::LoadMetricsFromMemory(const uint8_t* data, size_t size, const std::string& name,
                                    std::string* error) {
    if (!device_ || !device_->Initialized()) return true;
    // Cell height, cell width, then one advance per character code; what was read before a
    // short file ends stays. Bytes after the 258th are not looked at.
    if (size > 0) GlyphHeight = data[0];
    if (size > 1) GlyphWidth = data[1];
    for (size_t c = 0; c < Advance.size() && 2 + c < size; ++c) Advance[c] = data[2 + c];
    if (size < kMetricsBytes) {
        if (error) *error = name + ": read beyond end of file (258 bytes expected)";
        return false;
    }
    return true;
}

bool TVOFont::LoadGlyphs(const std::string& fileName, std::string* error, int32_t density) {
    if (!device_ || !device_->Initialized()) return true;
    ReleaseGlyphs();
    // Other pictures stand in with the "NO IMAGE" placeholder when missing; glyphs cut from it
    // would make every text unreadable, so a missing glyph picture fails like missing metrics.
    if (!DataFileExists(FilePath(fileName))) {
        if (error) *error = fileName + ": file not found";
        return false;
    }
    Glyphs = new TPatternImage;
    Glyphs->Density = density;
    std::string reason;
    const int32_t result =
        Glyphs->LoadFromFile(device_->Device(), FilePath(fileName), GlyphWidth, GlyphHeight,
                             kGlyphTexture, kGlyphTexture, D3DFMT_A8R8G8B8, &reason);
    if (result != 0) {
        if (error)
            *error = fileName + ": " +
                     (reason.empty() ? "glyphs not loaded (code " + std::to_string(result) + ")"
                                     : reason);
        return false;
    }
    return true;
}

uint16_t TVOFont::Width(const std::string& text) const {
    uint16_t w = 0;
    for (unsigned char c : text) w = static_cast<uint16_t>(w + Advance[c]);
    return w;
}

uint16_t TVOFont::ScaledAdvance(unsigned char c, uint16_t scale) const {
    return static_cast<uint16_t>(RoundRatio(int64_t{Advance[c]} * scale, 100));
}

uint16_t TVOFont::ScaledWidth(const std::string& text, uint16_t scale) const {
    uint16_t w = 0;
    for (unsigned char c : text) w = static_cast<uint16_t>(w + ScaledAdvance(c, scale));
    return w;
}

void TVOFont::DrawGlyph(unsigned char c, int32_t x, int32_t y, int32_t scale, uint32_t colour) {
    if (OnGlyph) OnGlyph(c, x, y, scale, colour);
    if (!device_ || !Glyphs) return; // nothing to draw with: the glyph is skipped
    if (scale == 0)
        device_->DrawImageCol(Glyphs, x, y, colour, c, kGlyphEffect);
    else
        device_->DrawImageScaled(Glyphs, x, y, scale, colour, c, kGlyphEffect);
}

void TVOFont::DrawRun(const std::string& text, uint16_t x, uint16_t y, uint16_t half,
                      uint32_t colour) {
    uint16_t pen = x;
    for (unsigned char c : text) {
        DrawGlyph(c, int32_t{pen} - half, y, 0, colour);
        pen = static_cast<uint16_t>(pen + Advance[c]);
    }
}

void TVOFont::DrawText(const std::string& text, uint16_t x, uint16_t y, uint32_t colour) {
    DrawRun(text, x, y, 0, colour);
}

void TVOFont::DrawTextCentered(const std::string& text, uint16_t x, uint16_t y, uint32_t colour) {
    DrawRun(text, x, y, static_cast<uint16_t>(Width(text) / 2), colour);
}

void TVOFont::DrawTextScaled(const std::string& text, uint16_t x, uint16_t y, uint16_t scale,
                             uint32_t colour) {
    const uint16_t half = static_cast<uint16_t>(ScaledWidth(text, scale) / 2);
    // The device's scale is in 1/256: round(scale * 2.56).
    const int32_t factor = RoundRatio(int64_t{scale} * 256, 100);
    uint16_t pen = x;
    for (unsigned char c : text) {
        DrawGlyph(c, int32_t{pen} - half, y, factor, colour);
        pen = static_cast<uint16_t>(pen + ScaledAdvance(c, scale));
    }
}

int32_t TVOFont::DrawTextCaret(const std::string& text, uint16_t x, uint16_t y, uint16_t scale,
                               uint32_t colour) {
    const uint16_t room = ScaledAdvance('I', scale);
    const uint16_t half = static_cast<uint16_t>((ScaledWidth(text, scale) + room) / 2);
    const int32_t factor = RoundRatio(int64_t{scale} * 256, 100);
    uint16_t pen = x;
    for (unsigned char c : text) {
        DrawGlyph(c, int32_t{pen} - half, y, factor, colour);
        pen = static_cast<uint16_t>(pen + ScaledAdvance(c, scale));
    }
    return int32_t{pen} - half;
}

int32_t TVOFont::ScaledHeight(uint16_t scale) const {
    return RoundRatio(int64_t{GlyphHeight} * scale, 100);
}

void TVOFont::DrawTextBlock(const std::vector<std::string>& lines, uint16_t x, uint16_t y,
                            uint8_t scale, uint32_t colour) {
    for (size_t i = 0; i < lines.size(); ++i)
        DrawTextScaled(lines[i], x, static_cast<uint16_t>(y + kLinePitch * i), scale, colour);
}

void TVOFont::DrawTextLines(const std::vector<std::string>& lines, uint16_t x, uint16_t y,
                            uint16_t scale, int pitch, uint32_t colour) {
    for (size_t i = 0; i < lines.size(); ++i)
        DrawTextScaled(lines[i], x, static_cast<uint16_t>(y + pitch * static_cast<int>(i)), scale,
                       colour);
}

void TVOFont::DrawNumber(int32_t number, uint16_t x, uint16_t y, uint32_t colour) {
    const std::string text = std::to_string(number);
    DrawText(text, static_cast<uint16_t>(x - Width(text)), y, colour);
}
