#pragma once
// TVOFont: the proportional bitmap font. "font.rls" gives the cell size and each character's
// advance; "font.bmp" holds a cell per character code 0..255 with the glyph's coverage in alpha.
// Positions are unsigned 16-bit picture coordinates (pens wrap at 65536); Y is the top edge of the
// glyph cells. Every glyph is drawn with effect 0x102 in the given colour (0xAABBGGRR).
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class TPatternImage;
class TRenderDevice;

class TVOFont {
public:
    explicit TVOFont(TRenderDevice* device);
    ~TVOFont(); // releases the glyph textures
    TVOFont(const TVOFont&) = delete;
    TVOFont& operator=(const TVOFont&) = delete;

    // Both do nothing (and return true) unless the device is initialised. LoadMetrics fails on a
    // missing file or one shorter than 258 bytes, with the file named in `error`; bytes read
    // before the failure stay. LoadGlyphs fails on a missing or unreadable picture.
    bool LoadMetrics(const std::string& fileName, std::string* error = nullptr);
    // The same on the bytes of a metrics file; `name` names it in `error`.
    bool LoadMetricsFromMemory(const uint8_t* data, size_t size, const std::string& name,
                               std::string* error = nullptr);
    // `density`: the glyph picture's texels per picture pixel (a dense picture of the same cells
    // twice the size each way is 2); the metrics stay in picture pixels.
    bool LoadGlyphs(const std::string& fileName, std::string* error = nullptr, int32_t density = 1);
    // Drops the glyph picture (text draws nothing until LoadGlyphs).
    void ReleaseGlyphs();

    void DrawText(const std::string& text, uint16_t x, uint16_t y, uint32_t colour);
    void DrawTextCentered(const std::string& text, uint16_t x, uint16_t y, uint32_t colour);
    // Centred on x at `scale` percent; advances are scaled and rounded (halves to even) per
    // character.
    void DrawTextScaled(const std::string& text, uint16_t x, uint16_t y, uint16_t scale,
                        uint32_t colour);
    // As DrawTextScaled on the text followed by room for a caret as wide as an "I": the room
    // takes part in the centring, so that the text does not shift when the caret blinks. The
    // caret itself is the caller's to draw (a bar no glyph of the font can be mistaken for);
    // returns the left edge of its room.
    int32_t DrawTextCaret(const std::string& text, uint16_t x, uint16_t y, uint16_t scale,
                          uint32_t colour);
    // The height of a line at `scale` percent.
    int32_t ScaledHeight(uint16_t scale) const;
    // Each line centred on x at `scale` percent, line i at y + 15 i.
    void DrawTextBlock(const std::vector<std::string>& lines, uint16_t x, uint16_t y, uint8_t scale,
                       uint32_t colour);
    // Right-aligned: the decimal text ends at x.
    void DrawNumber(int32_t number, uint16_t x, uint16_t y, uint32_t colour);
    // Width of the text at `scale` percent as DrawTextScaled lays it out.
    uint16_t TextWidth(const std::string& text, uint16_t scale) const {
        return ScaledWidth(text, scale);
    }
    // Each line centred on x at `scale` percent, line i at y + pitch i.
    void DrawTextLines(const std::vector<std::string>& lines, uint16_t x, uint16_t y,
                       uint16_t scale, int pitch, uint32_t colour);

    std::array<uint8_t, 256> Advance{};
    uint8_t GlyphHeight = 0;
    uint8_t GlyphWidth = 0;
    TPatternImage* Glyphs = nullptr; // owned

    // Test hook: called for every glyph about to be drawn, with its code, top-left corner, the
    // device scale (1/256; 0 for the unscaled draw) and the colour.
    std::function<void(uint8_t code, int32_t x, int32_t y, int32_t scale, uint32_t colour)> OnGlyph;

private:
    uint16_t Width(const std::string& text) const; // unscaled, 16-bit sum
    uint16_t ScaledAdvance(unsigned char c, uint16_t scale) const;
    uint16_t ScaledWidth(const std::string& text, uint16_t scale) const;
    void DrawGlyph(unsigned char c, int32_t x, int32_t y, int32_t scale, uint32_t colour);
    void DrawRun(const std::string& text, uint16_t x, uint16_t y, uint16_t half, uint32_t colour);

    TRenderDevice* device_;
};

extern TVOFont* Font;
