#include "platform/Bitmap.h"

#include "platform/Files.h"
#include "platform/Memory.h"
#include "platform/SdlError.h"

#include <SDL.h>

#include <algorithm>
#include <new>

namespace {

// Printable ASCII 32..126, rows of five pixels; bit 4 is the leftmost pixel. Seven rows from
// the cap height to the baseline, and two below it for the descenders of g, j, p, q and y, whose
// bowls sit on the baseline like the other small letters (a g squeezed above the baseline reads
// as a 9). Rows left out are blank.
// clang-format off
constexpr uint8_t kTinyFont[95][kTinyFontRows] = {
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}, // ' '
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x00, 0x04}, // '!'
    {0x0A, 0x0A, 0x0A, 0x00, 0x00, 0x00, 0x00}, // '"'
    {0x0A, 0x0A, 0x1F, 0x0A, 0x1F, 0x0A, 0x0A}, // '#'
    {0x04, 0x0F, 0x14, 0x0E, 0x05, 0x1E, 0x04}, // '$'
    {0x18, 0x19, 0x02, 0x04, 0x08, 0x13, 0x03}, // '%'
    {0x0C, 0x12, 0x14, 0x08, 0x15, 0x12, 0x0D}, // '&'
    {0x04, 0x04, 0x08, 0x00, 0x00, 0x00, 0x00}, // '\''
    {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}, // '('
    {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}, // ')'
    {0x00, 0x04, 0x15, 0x0E, 0x15, 0x04, 0x00}, // '*'
    {0x00, 0x04, 0x04, 0x1F, 0x04, 0x04, 0x00}, // '+'
    {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}, // ','
    {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}, // '-'
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}, // '.'
    {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}, // '/'
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}, // '0'
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}, // '1'
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}, // '2'
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}, // '3'
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}, // '4'
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}, // '5'
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}, // '6'
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}, // '7'
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}, // '8'
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}, // '9'
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}, // ':'
    {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x04, 0x08}, // ';'
    {0x02, 0x04, 0x08, 0x10, 0x08, 0x04, 0x02}, // '<'
    {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}, // '='
    {0x08, 0x04, 0x02, 0x01, 0x02, 0x04, 0x08}, // '>'
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x00, 0x04}, // '?'
    {0x0E, 0x11, 0x01, 0x0D, 0x15, 0x15, 0x0E}, // '@'
    {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, // 'A'
    {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}, // 'B'
    {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}, // 'C'
    {0x1C, 0x12, 0x11, 0x11, 0x11, 0x12, 0x1C}, // 'D'
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}, // 'E'
    {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}, // 'F'
    {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}, // 'G'
    {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}, // 'H'
    {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 'I'
    {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}, // 'J'
    {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}, // 'K'
    {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}, // 'L'
    {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}, // 'M'
    {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}, // 'N'
    {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // 'O'
    {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}, // 'P'
    {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}, // 'Q'
    {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}, // 'R'
    {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}, // 'S'
    {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, // 'T'
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}, // 'U'
    {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}, // 'V'
    {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}, // 'W'
    {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}, // 'X'
    {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}, // 'Y'
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}, // 'Z'
    {0x0E, 0x08, 0x08, 0x08, 0x08, 0x08, 0x0E}, // '['
    {0x00, 0x10, 0x08, 0x04, 0x02, 0x01, 0x00}, // '\\'
    {0x0E, 0x02, 0x02, 0x02, 0x02, 0x02, 0x0E}, // ']'
    {0x04, 0x0A, 0x11, 0x00, 0x00, 0x00, 0x00}, // '^'
    {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x1F}, // '_'
    {0x08, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00}, // '`'
    {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}, // 'a'
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x1E}, // 'b'
    {0x00, 0x00, 0x0E, 0x10, 0x10, 0x11, 0x0E}, // 'c'
    {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F}, // 'd'
    {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}, // 'e'
    {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}, // 'f'
    {0x00, 0x00, 0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x0E}, // 'g'
    {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11}, // 'h'
    {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}, // 'i'
    {0x02, 0x00, 0x06, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}, // 'j'
    {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12}, // 'k'
    {0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}, // 'l'
    {0x00, 0x00, 0x1A, 0x15, 0x15, 0x11, 0x11}, // 'm'
    {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}, // 'n'
    {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E}, // 'o'
    {0x00, 0x00, 0x1E, 0x11, 0x11, 0x11, 0x1E, 0x10, 0x10}, // 'p'
    {0x00, 0x00, 0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x01}, // 'q'
    {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10}, // 'r'
    {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}, // 's'
    {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}, // 't'
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0D}, // 'u'
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x0A, 0x04}, // 'v'
    {0x00, 0x00, 0x11, 0x11, 0x15, 0x15, 0x0A}, // 'w'
    {0x00, 0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11}, // 'x'
    {0x00, 0x00, 0x11, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x0E}, // 'y'
    {0x00, 0x00, 0x1F, 0x02, 0x04, 0x08, 0x1F}, // 'z'
    {0x02, 0x04, 0x04, 0x08, 0x04, 0x04, 0x02}, // '{'
    {0x04, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}, // '|'
    {0x08, 0x04, 0x04, 0x02, 0x04, 0x04, 0x08}, // '}'
    {0x00, 0x00, 0x08, 0x15, 0x02, 0x00, 0x00}, // '~'
};
// clang-format on

void PutPixel(uint8_t* p, int32_t bytesPerPixel, TColor colour) {
    p[0] = uint8_t(colour >> 16); // blue
    p[1] = uint8_t(colour >> 8);  // green
    p[2] = uint8_t(colour);       // red
    if (bytesPerPixel == 4) p[3] = 0xFF;
}

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

} // namespace

const uint8_t* TinyFontGlyph(char c) {
    const auto code = static_cast<unsigned char>(c);
    if (code < 32 || code > 126) return kTinyFont['?' - 32];
    return kTinyFont[code - 32];
}

std::string ExtractFileExt(const std::string& fileName) {
    const size_t dot = fileName.find_last_of('.');
    const size_t slash = fileName.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && slash > dot)) return {};
    return fileName.substr(dot);
}

bool FileExists(const std::string& fileName) {
    return IsRegularFile(fileName);
}

bool TBitmap::SetSize(int32_t width, int32_t height, int32_t bitsPerPixel) {
    if (bitsPerPixel != 8 && bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32)
        return false;
    if (width < 0 || height < 0 || int64_t{width} * height > kMaxBitmapPixels) return false;
    std::vector<uint8_t> pixels;
    try {
        pixels.assign(size_t(width) * size_t(height) * size_t(bitsPerPixel / 8), 0);
    } catch (const std::bad_alloc&) {
        NoteMemoryShort();
        return false;
    }
    pixels_ = std::move(pixels);
    width_ = width;
    height_ = height;
    bitsPerPixel_ = bitsPerPixel;
    return true;
}

bool TBitmap::SetBitsPerPixel(int32_t bitsPerPixel) {
    if (bitsPerPixel == bitsPerPixel_) return true;
    if ((bitsPerPixel != 24 && bitsPerPixel != 32) || (bitsPerPixel_ != 24 && bitsPerPixel_ != 32))
        return false;
    TBitmap converted;
    if (!converted.SetSize(width_, height_, bitsPerPixel)) return false;
    const int32_t from = bitsPerPixel_ / 8, to = bitsPerPixel / 8;
    for (int32_t y = 0; y < height_; ++y) {
        const uint8_t* s = ScanLine(y);
        uint8_t* d = converted.ScanLine(y);
        for (int32_t x = 0; x < width_; ++x, s += from, d += to) {
            d[0] = s[0];
            d[1] = s[1];
            d[2] = s[2];
        }
    }
    *this = std::move(converted);
    return true;
}

void TBitmap::Clear() {
    pixels_.clear();
    pixels_.shrink_to_fit();
    width_ = height_ = bitsPerPixel_ = 0;
}

namespace {

uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) {
    return uint16_t(p[0] | p[1] << 8);
}

// Checks the headers of the BMP at the start of `source` (read and sought back) before SDL's
// reader sees them: SDL sizes its buffers from the header alone, so a damaged size, colour count
// or header length in a tiny file would have it ask for gigabytes or terabytes. Refused: a header
// length other than the known ones (12..124 bytes), sizes of 0 or beyond kMaxBitmapPixels, an
// unknown depth or compression, more palette colours than the depth can index, and uncompressed
// rows that the file does not hold. False with the reason in `error`.
bool CheckBmpHeaders(SDL_RWops* source, std::string* error) {
    uint8_t h[14 + 40] = {};
    const Sint64 start = SDL_RWtell(source);
    const Sint64 total = SDL_RWsize(source);
    const size_t got = SDL_RWread(source, h, 1, sizeof h);
    SDL_RWseek(source, start, RW_SEEK_SET);
    if (got < 18 || h[0] != 'B' || h[1] != 'M') return Fail(error, "not a BMP file");
    const uint32_t pixelsAt = Le32(h + 10);
    const uint32_t infoSize = Le32(h + 14);
    if (infoSize < 12 || infoSize > 124 || got < 14 + std::min<uint32_t>(infoSize, 40))
        return Fail(error, "the BMP header is damaged");
    int64_t width = 0, height = 0;
    uint32_t depth = 0, compression = 0, colours = 0;
    if (infoSize == 12) { // the OS/2 core header: 16-bit sizes
        width = Le16(h + 18);
        height = int16_t(Le16(h + 20));
        depth = Le16(h + 24);
    } else {
        width = int32_t(Le32(h + 18));
        height = int32_t(Le32(h + 22));
        depth = Le16(h + 28);
        if (infoSize >= 20) compression = Le32(h + 30);
        if (infoSize >= 36) colours = Le32(h + 46);
    }
    height = height < 0 ? -height : height; // negative: rows stored top first
    if (width <= 0 || height == 0 || width * height > kMaxBitmapPixels)
        return Fail(error, "the BMP has no pixels or is too large (" + std::to_string(width) +
                               " x " + std::to_string(height) + ")");
    const uint32_t depths[] = {1, 2, 4, 8, 16, 24, 32};
    if (std::find(std::begin(depths), std::end(depths), depth) == std::end(depths))
        return Fail(error, "the BMP has an unknown depth (" + std::to_string(depth) + " bits)");
    // No compression (0), run-length (1, 2) and masked rows (3, 6) are all SDL reads; for any
    // other kind it would size a surface from the header before it gives up.
    if (compression > 3 && compression != 6)
        return Fail(error,
                    "the BMP has an unknown compression (" + std::to_string(compression) + ")");
    if (depth <= 8 && colours > (1u << depth))
        return Fail(error, "the BMP claims " + std::to_string(colours) + " palette colours");
    // Uncompressed (0) and masked (3, 6) rows are padded to 4 bytes and must all be there. A
    // run-length picture (1, 2) needs two bytes per run of at most 255 pixels; one that claims
    // over a megapixel and more than 1024 pixels per byte it holds is cut short.
    const int64_t first = pixelsAt ? pixelsAt : 14 + int64_t{infoSize};
    const int64_t data = total >= 0 ? total - std::min<int64_t>(first, total) : -1;
    if (data >= 0 && (compression == 0 || compression == 3 || compression == 6) &&
        data < (width * depth + 31) / 32 * 4 * height)
        return Fail(error, "the BMP ends inside its pixel data");
    if (data >= 0 && (compression == 1 || compression == 2) && width * height > (1 << 20) &&
        width * height / 1024 > data)
        return Fail(error, "the BMP ends inside its run-length data");
    return true;
}

// Reads a BMP from `source` (closed here) into `out` as 24 or 32 bits per pixel.
bool LoadBMP(SDL_RWops* source, const std::string& name, TBitmap& out, std::string* error) {
    if (!source) return Fail(error, name + ": cannot open the file (" + SdlError() + ")");
    std::string reason;
    if (!CheckBmpHeaders(source, &reason)) {
        SDL_RWclose(source);
        return Fail(error, name + ": not a readable BMP file (" + reason + ")");
    }
    SDL_Surface* loaded = SDL_LoadBMP_RW(source, 1);
    if (!loaded) return Fail(error, name + ": not a readable BMP file (" + SdlError() + ")");
    const bool hasAlpha = loaded->format->Amask != 0;
    SDL_Surface* surface = SDL_ConvertSurfaceFormat(
        loaded, hasAlpha ? SDL_PIXELFORMAT_BGRA32 : SDL_PIXELFORMAT_BGR24, 0);
    SDL_FreeSurface(loaded);
    if (!surface) return Fail(error, name + ": cannot convert the BMP (" + SdlError() + ")");
    TBitmap picture;
    bool ok = picture.SetSize(surface->w, surface->h, hasAlpha ? 32 : 24);
    if (ok) {
        SDL_LockSurface(surface);
        for (int32_t y = 0; y < picture.Height(); ++y)
            std::copy_n(static_cast<const uint8_t*>(surface->pixels) + size_t(y) * surface->pitch,
                        picture.RowBytes(), picture.ScanLine(y));
        SDL_UnlockSurface(surface);
    }
    SDL_FreeSurface(surface);
    if (!ok) return Fail(error, name + ": the BMP is too large");
    out = std::move(picture);
    return true;
}

} // namespace

bool TBitmap::LoadFromFile(const std::string& fileName, std::string* error) {
    return LoadBMP(SDL_RWFromFile(fileName.c_str(), "rb"), fileName, *this, error);
}

bool TBitmap::LoadBMPFromMemory(const uint8_t* data, size_t size, const std::string& name,
                                std::string* error) {
    if (size > size_t(INT32_MAX)) return Fail(error, name + ": the BMP is too large");
    return LoadBMP(SDL_RWFromConstMem(data, int(size)), name, *this, error);
}

bool TBitmap::SaveToFile(const std::string& fileName, std::string* error) const {
    if (bitsPerPixel_ != 24 && bitsPerPixel_ != 32)
        return Fail(error, fileName + ": only 24- and 32-bit bitmaps can be saved as BMP");
    if (Empty()) return Fail(error, fileName + ": an empty bitmap cannot be saved");
    // SDL reads the rows in place; the surface does not own or change them.
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<uint8_t*>(pixels_.data()), width_, height_, bitsPerPixel_, RowBytes(),
        bitsPerPixel_ == 32 ? SDL_PIXELFORMAT_BGRA32 : SDL_PIXELFORMAT_BGR24);
    if (!surface) return Fail(error, fileName + ": " + SdlError());
    const bool ok = SDL_SaveBMP(surface, fileName.c_str()) == 0;
    SDL_FreeSurface(surface);
    if (!ok) return Fail(error, fileName + ": cannot write the BMP (" + SdlError() + ")");
    return true;
}

void TBitmap::FillRect(int32_t x0, int32_t y0, int32_t x1, int32_t y1, TColor colour) {
    FillHatchDiagCross(x0, y0, x1, y1, colour, colour);
}

void TBitmap::FillHatchDiagCross(int32_t x0, int32_t y0, int32_t x1, int32_t y1, TColor colour,
                                 TColor background) {
    if (bitsPerPixel_ != 24 && bitsPerPixel_ != 32) return;
    const int32_t b = bitsPerPixel_ / 8;
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, width_);
    y1 = std::min(y1, height_);
    for (int32_t y = y0; y < y1; ++y) {
        uint8_t* row = ScanLine(y);
        for (int32_t x = x0; x < x1; ++x) {
            const bool onLine = ((x + y) & 7) == 7 || ((x - y) & 7) == 0;
            PutPixel(row + std::ptrdiff_t{x} * b, b, onLine ? colour : background);
        }
    }
}

void TBitmap::TextOut(int32_t x, int32_t y, const std::string& text, TColor textColour,
                      TColor backColour) {
    for (size_t i = 0; i < text.size(); ++i) {
        const uint8_t* glyph = TinyFontGlyph(text[i]);
        const int32_t cellX = x + int32_t(i) * kTinyFontCellWidth;
        for (int32_t row = 0; row < kTinyFontCellHeight; ++row) {
            const uint8_t bits = row < kTinyFontRows ? glyph[row] : 0;
            for (int32_t col = 0; col < kTinyFontCellWidth; ++col) {
                const bool on = col < 5 && (bits & (0x10 >> col)) != 0;
                SetPixel(cellX + col, y + row, on ? textColour : backColour);
            }
        }
    }
}

int32_t TBitmap::TextWidth(const std::string& text) {
    return int32_t(text.size()) * kTinyFontCellWidth;
}

int32_t TBitmap::TextHeight() {
    return kTinyFontCellHeight;
}

uint32_t TBitmap::PixelARGB(int32_t x, int32_t y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
    if (bitsPerPixel_ != 24 && bitsPerPixel_ != 32) return 0;
    const int32_t b = bitsPerPixel_ / 8;
    const uint8_t* p = ScanLine(y) + std::ptrdiff_t{x} * b;
    const uint32_t alpha = b == 4 ? p[3] : 0xFF;
    return alpha << 24 | uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0];
}

void TBitmap::SetPixel(int32_t x, int32_t y, TColor colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
    if (bitsPerPixel_ != 24 && bitsPerPixel_ != 32) return;
    const int32_t b = bitsPerPixel_ / 8;
    PutPixel(ScanLine(y) + std::ptrdiff_t{x} * b, b, colour);
}

void PreparePictureThreadState() {
    SDL_ClearError();
}

void ReleasePictureThreadState() {
    SDL_TLSCleanup();
}
