#include "render/ImageReader.h"

#include "platform/DataPack.h"
#include "platform/Files.h"
#include "platform/Memory.h"

#include <algorithm>
#include <cctype>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <jpeglib.h>
#include <new>
#include <string>
#include <vector>

namespace {

constexpr size_t kTgaHeaderSize = 18;
constexpr uint8_t kDescriptorMirrored = 0x10; // right-to-left rows: refused
constexpr uint8_t kDescriptorTopFirst = 0x20;

bool Fail(std::string* error, const std::string& message) {
    if (error) *error = message;
    return false;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

// A plain 32-bit picture of the largest size, with room for its header.
constexpr size_t kMaxPictureFileBytes = size_t{kMaxPictureSide} * kMaxPictureSide * 4 + 65536;

// The picture's bytes: from the data pack when it holds the file, else from the file itself.
bool ReadWholeFile(const std::string& fileName, std::vector<uint8_t>& data, std::string* error) {
    std::string why;
    if (!ReadDataFile(fileName, data, &why, kMaxPictureFileBytes)) return Fail(error, why);
    return true;
}

uint16_t Word(const uint8_t* p) {
    return uint16_t(p[0] | (p[1] << 8));
}

// Decodes the run-length packets of a type-10 TGA into `out` (exactly `outSize` bytes, pixels of
// `b` bytes). Packets may cross row ends but never the end of the picture.
bool DecodeRle(const uint8_t* in, size_t inSize, size_t b, uint8_t* out, size_t outSize,
               const std::string& name, std::string* error) {
    size_t pos = 0, done = 0;
    while (done < outSize) {
        if (pos >= inSize) return Fail(error, name + ": the TGA ends inside its pixel data");
        const uint8_t h = in[pos++];
        const size_t count = (h & 0x7F) + 1u;
        const size_t bytes = count * b;
        if (bytes > outSize - done)
            return Fail(error, name + ": a run-length packet runs past the end of the picture");
        if (h & 0x80) {
            if (inSize - pos < b) return Fail(error, name + ": the TGA ends inside its pixel data");
            if (b == 4) {
                uint32_t pixel;
                std::memcpy(&pixel, in + pos, 4);
                for (size_t i = 0; i < count; ++i) std::memcpy(out + done + i * 4, &pixel, 4);
            } else {
                for (size_t i = 0; i < count; ++i) std::memcpy(out + done + i * b, in + pos, b);
            }
            pos += b;
        } else {
            if (inSize - pos < bytes)
                return Fail(error, name + ": the TGA ends inside its pixel data");
            std::memcpy(out + done, in + pos, bytes);
            pos += bytes;
        }
        done += bytes;
    }
    return true;
}

// libjpeg reports fatal errors through error_exit, which must not return: it jumps back to the
// decoder with the library's message kept.
struct TJpegError {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr info) {
    auto* err = reinterpret_cast<TJpegError*>(info->err);
    err->base.format_message(info, err->message);
    std::longjmp(err->jump, 1);
}

void JpegNoOutput(j_common_ptr) {}

// Decodes a whole JPEG into `picture` as 24-bit B, G, R rows. Only trivially destructible
// objects live in this frame, so the long jump from the error handler is safe. Returns false with
// the library's message in `message` (JMSG_LENGTH_MAX chars).
bool DecodeJpeg(const uint8_t* data, size_t size, TBitmap& picture, char* message) {
    jpeg_decompress_struct info;
    TJpegError err;
    info.err = jpeg_std_error(&err.base);
    err.base.error_exit = JpegErrorExit;
    err.base.output_message = JpegNoOutput;
    err.message[0] = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "%s", err.message);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    info.scale_num = 1; // full size
    info.scale_denom = 1;
    info.out_color_space = JCS_EXT_BGR; // colour, in the bitmap's byte order
    info.dct_method = JDCT_ISLOW;       // the most accurate decoding
    info.do_fancy_upsampling = TRUE;
    info.do_block_smoothing = TRUE;
    info.dither_mode = JDITHER_NONE;
    info.quantize_colors = FALSE;
    jpeg_calc_output_dimensions(&info);
    // A complete JPEG spends at least a bit on every 8 x 8 block, that is a byte per 512 pixels;
    // a file that claims far more pixels than its bytes can hold is damaged (the decoder would
    // fill the missing rows with grey) and is refused before a huge picture is allocated.
    // Pictures up to a megapixel always pass.
    const int64_t pixels = int64_t{info.output_width} * info.output_height;
    if (pixels > (int64_t{1} << 20) && pixels / 1024 > static_cast<int64_t>(size)) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX,
                      "%lldx%lld pixels in %zu bytes: the file is cut short",
                      static_cast<long long>(info.output_width),
                      static_cast<long long>(info.output_height), size);
        return false;
    }
    if (pixels > kMaxBitmapPixels ||
        !picture.SetSize(int32_t(info.output_width), int32_t(info.output_height), 24)) {
        jpeg_destroy_decompress(&info);
        std::snprintf(message, JMSG_LENGTH_MAX, "the picture is too large");
        return false;
    }
    jpeg_start_decompress(&info);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.ScanLine(int32_t(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

bool TBitmapEx::LoadFromFile(const std::string& fileName, std::string* error) {
    if (!DataFileExists(fileName)) {
        MakePlaceholder();
        return true;
    }
    const std::string ext = Lower(ExtractFileExt(fileName));
    // Short of memory, a picture fails like a damaged one (its caller shows the placeholder)
    // instead of ending the program.
    try {
        std::vector<uint8_t> data;
        if (!ReadWholeFile(fileName, data, error)) return false;
        if (ext == ".tga") return LoadTGAFromMemory(data.data(), data.size(), fileName, error);
        if (ext == ".jpg") return LoadJPEGFromMemory(data.data(), data.size(), fileName, error);
        return LoadBMPFromMemory(data.data(), data.size(), fileName, error);
    } catch (const std::bad_alloc&) {
        NoteMemoryShort();
        return Fail(error, fileName + ": out of memory while loading the picture");
    }
}

bool TBitmapEx::LoadTGAFromMemory(const uint8_t* data, size_t size, const std::string& name,
                                  std::string* error) {
    if (size < kTgaHeaderSize) return Fail(error, name + ": the file ends inside its TGA header");
    const uint8_t idLength = data[0];
    const uint8_t colourMapType = data[1];
    const uint8_t imageType = data[2];
    const int32_t width = Word(data + 12);
    const int32_t height = Word(data + 14);
    const uint8_t depth = data[16];
    const uint8_t descriptor = data[17];

    if (imageType != 2 && imageType != 10) return Fail(error, "TGA graphics is not in True-Color");
    if (colourMapType != 0) return Fail(error, "Color-mapped TGA is not supported");
    if (depth != 32 && depth != 24) return Fail(error, "Invalid TGA Bit-depth!");
    if (descriptor & kDescriptorMirrored) return Fail(error, "Mirrored TGA is not supported!");

    const bool bottomFirst = (descriptor & kDescriptorTopFirst) == 0;
    const size_t start = kTgaHeaderSize + idLength;
    if (size < start) return Fail(error, name + ": the file ends inside its TGA ID field");
    if (width == 0 || height == 0)
        return Fail(error, name + ": the TGA has no pixels (width or height is 0)");
    if (width > kMaxPictureSide || height > kMaxPictureSide)
        return Fail(error, name + ": the TGA claims " + std::to_string(width) + " x " +
                               std::to_string(height) + " pixels, more than " +
                               std::to_string(kMaxPictureSide) + " on a side");

    const size_t b = depth / 8u;
    const size_t pixelCount = size_t(width) * size_t(height);
    const size_t available = size - start;
    // Checked before allocating, so that a damaged size field cannot claim huge memory: plain
    // data needs every byte; run-length data needs at least one packet (1 + b bytes) per 128
    // pixels.
    const size_t needed = imageType == 2 ? pixelCount * b : (pixelCount + 127) / 128 * (1 + b);
    if (available < needed) return Fail(error, name + ": the TGA ends inside its pixel data");

    // The pixels go straight into the picture's rows, which lie one after the other top first;
    // a bottom-first picture is turned over afterwards.
    TBitmap picture;
    if (!picture.SetSize(width, height, depth == 32 ? 32 : 24))
        return Fail(error, name + ": out of memory for the picture");
    uint8_t* pixels = picture.ScanLine(0);
    if (imageType == 2) {
        std::memcpy(pixels, data + start, pixelCount * b);
    } else if (!DecodeRle(data + start, available, b, pixels, pixelCount * b, name, error)) {
        return false;
    }
    if (bottomFirst)
        for (int32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom)
            std::swap_ranges(picture.ScanLine(top), picture.ScanLine(top) + picture.RowBytes(),
                             picture.ScanLine(bottom));
    static_cast<TBitmap&>(*this) = std::move(picture);
    return true;
}

bool TBitmapEx::LoadJPEGFromMemory(const uint8_t* data, size_t size, const std::string& name,
                                   std::string* error) {
    TBitmap picture;
    char message[JMSG_LENGTH_MAX] = {};
    if (size == 0) return Fail(error, name + ": the JPEG file is empty");
    if (!DecodeJpeg(data, size, picture, message))
        return Fail(error, name + ": cannot decode the JPEG (" + message + ")");
    static_cast<TBitmap&>(*this) = std::move(picture);
    return true;
}

bool TBitmapEx::SaveToFile(const std::string& fileName, std::string* error) const {
    if (Lower(ExtractFileExt(fileName)) != ".tga") return TBitmap::SaveToFile(fileName, error);
    if (BitsPerPixel() != 24 && BitsPerPixel() != 32) return Fail(error, "Invalid pixel format!");
    uint8_t header[kTgaHeaderSize] = {};
    header[2] = 2;
    header[12] = uint8_t(Width());
    header[13] = uint8_t(Width() >> 8);
    header[14] = uint8_t(Height());
    header[15] = uint8_t(Height() >> 8);
    header[16] = uint8_t(BitsPerPixel());
    header[17] = kDescriptorTopFirst;
    if (Width() > 0xFFFF || Height() > 0xFFFF)
        return Fail(error, fileName + ": too large for a TGA file (65535 pixels at most)");
    std::ofstream out(fileName, std::ios::binary | std::ios::trunc);
    if (!out) return Fail(error, fileName + ": cannot create the file");
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    for (int32_t y = 0; y < Height(); ++y)
        out.write(reinterpret_cast<const char*>(ScanLine(y)), RowBytes());
    out.close();
    if (!out) return Fail(error, fileName + ": write error");
    return true;
}

void TBitmapEx::MakePlaceholder() {
    constexpr TColor kOrange = 0x0000AEFF; // red 0xFF, green 0xAE, blue 0x00
    constexpr TColor kWhite = 0x00FFFFFF;
    constexpr TColor kBlack = 0x00000000;
    SetSize(64, 64, 32);
    FillHatchDiagCross(0, 0, 64, 64, kOrange, kWhite);
    TextOut(5, 25, "NO IMAGE", kBlack, kOrange);
}
