#pragma once
// TBitmap: the framework bitmap. A device-independent picture of Width x Height pixels with
// direct row access: row 0 is the top row, rows are packed without padding, and each pixel is
// stored blue, green, red (and, at 32 bits per pixel, a fourth byte, the alpha). Files are BMP,
// read and written through SDL; a 32-bit bitmap keeps its alpha in the BMP.
//
// The canvas part draws the two things the game asks of a canvas: filled and hatched rectangles
// and short texts in a tiny built-in 5 x 7 font (printable ASCII, 6 x 8 pixel cells).
//
// Failures are results: false plus a message in `error` (when given) naming the file.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Framework colour: 0x00BBGGRR (red in the low byte).
using TColor = uint32_t;

// Upper bound on Width x Height of any bitmap (16384 x 16384), so that a damaged size field
// can never ask for gigabytes.
constexpr int64_t kMaxBitmapPixels = int64_t{16384} * 16384;

class TBitmap {
public:
    TBitmap() = default;
    virtual ~TBitmap() = default;
    TBitmap(const TBitmap&) = default;
    TBitmap& operator=(const TBitmap&) = default;
    TBitmap(TBitmap&&) noexcept = default;
    TBitmap& operator=(TBitmap&&) noexcept = default;

    // Replaces the picture by a zero-filled one. Depth 8, 16, 24 or 32 bits per pixel; the sizes
    // 0..kMaxBitmapPixels in total. False (the picture unchanged) for anything else.
    bool SetSize(int32_t width, int32_t height, int32_t bitsPerPixel);
    // Converts between 24 and 32 bits per pixel in place: widening sets the fourth byte to 0,
    // narrowing drops it. False for other depths (the picture is unchanged).
    bool SetBitsPerPixel(int32_t bitsPerPixel);
    void Clear(); // empty: 0 x 0, no depth

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    int32_t BitsPerPixel() const { return bitsPerPixel_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    // Bytes of one row: Width x BitsPerPixel / 8.
    int32_t RowBytes() const { return width_ * (bitsPerPixel_ / 8); }
    // Row 0 is the top. Row must be within 0..Height-1.
    uint8_t* ScanLine(int32_t row) { return pixels_.data() + size_t(row) * size_t(RowBytes()); }
    const uint8_t* ScanLine(int32_t row) const {
        return pixels_.data() + size_t(row) * size_t(RowBytes());
    }

    // BMP files. A BMP with an alpha channel loads as 32 bits per pixel (alpha kept), any other as
    // 24. Saving writes 24-bit bitmaps as 24-bit BMPs and 32-bit ones with their alpha; other
    // depths are refused. On failure the picture is unchanged.
    virtual bool LoadFromFile(const std::string& fileName, std::string* error = nullptr);
    virtual bool SaveToFile(const std::string& fileName, std::string* error = nullptr) const;
    // The BMP reader on data already in memory; `name` only labels messages.
    bool LoadBMPFromMemory(const uint8_t* data, size_t size, const std::string& name,
                           std::string* error = nullptr);

    // --- Canvas (24 and 32 bits per pixel; other depths draw nothing). Rectangles are
    // [x0, x1) x [y0, y1), clipped to the picture. Drawn pixels get alpha 255. ---------------
    void FillRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, TColor colour);
    // The diagonal-cross hatch: lines of `colour` in both diagonal directions every 8 pixels on a
    // `background` fill, aligned to the picture's origin.
    void FillHatchDiagCross(int32_t x0, int32_t y0, int32_t x1, int32_t y1, TColor colour,
                            TColor background);
    // Writes `text` with its cells' top-left at (x, y): glyph pixels in `textColour`, the rest of
    // each cell in `backColour`. Characters outside printable ASCII draw as '?'.
    void TextOut(int32_t x, int32_t y, const std::string& text, TColor textColour,
                 TColor backColour);
    static int32_t TextWidth(const std::string& text);
    static int32_t TextHeight();

    // The pixel at (x, y) as 0xAARRGGBB (alpha 0xFF for 24-bit pictures); 0 outside.
    uint32_t PixelARGB(int32_t x, int32_t y) const;
    void SetPixel(int32_t x, int32_t y, TColor colour);

private:
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t bitsPerPixel_ = 0;
    std::vector<uint8_t> pixels_;
};

// The tiny font: cells are kTinyFontCellWidth x kTinyFontCellHeight pixels, glyphs 5 x 9 in the
// cell's top-left: seven rows down to the baseline, two for descenders. Bit 4 of each row byte is
// the leftmost pixel.
constexpr int32_t kTinyFontCellWidth = 6;
constexpr int32_t kTinyFontCellHeight = 10;
constexpr int32_t kTinyFontRows = 9;
// The kTinyFontRows row bytes of a character (printable ASCII 32..126; others give '?').
const uint8_t* TinyFontGlyph(char c);

// The extension of a file name: the text from the last dot of its last component (".TGA"),
// empty when there is none.
std::string ExtractFileExt(const std::string& fileName);
bool FileExists(const std::string& fileName);

// A thread of the program's own that reads pictures calls this first: the picture readers keep
// per-thread state (their error text), made now while there is room for it (made later, short of
// memory, it could not be made at all). And this before it ends: only a thread the host library
// made releases that state by itself.
void PreparePictureThreadState();
void ReleasePictureThreadState();
