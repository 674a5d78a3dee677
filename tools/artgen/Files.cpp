#include "tools/artgen/Files.h"

#include "render/ImageReader.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <jpeglib.h>

namespace artgen {

namespace {

bool MakeParent(const std::string& path, std::string* error) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    if (ec) {
        if (error) *error = path + ": cannot create its folder: " + ec.message();
        return false;
    }
    return true;
}

// One pass of colour bleeding: every transparent pixel with visible or already bled neighbours
// in its pattern takes their average colour (of the state before the pass). `column` and `row`
// give each x and y the index of its pattern.
void BleedPass(std::vector<unsigned char>& px, std::vector<unsigned char>& known, int w, int h,
               const std::vector<int>& column, const std::vector<int>& row) {
    struct TBled {
        size_t At;
        unsigned char Colour[3];
    };
    std::vector<TBled> bled;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y * w + x);
            if (known[i]) continue;
            int sum[3] = {0, 0, 0}, n = 0;
            for (int ny = std::max(0, y - 1); ny <= std::min(h - 1, y + 1); ++ny) {
                if (row[static_cast<size_t>(ny)] != row[static_cast<size_t>(y)]) continue;
                for (int nx = std::max(0, x - 1); nx <= std::min(w - 1, x + 1); ++nx) {
                    if (column[static_cast<size_t>(nx)] != column[static_cast<size_t>(x)]) continue;
                    const size_t j = static_cast<size_t>(ny * w + nx);
                    if (!known[j]) continue;
                    for (int k = 0; k < 3; ++k) sum[k] += px[j * 4 + static_cast<size_t>(k)];
                    ++n;
                }
            }
            if (n == 0) continue;
            TBled b{i, {}};
            for (int k = 0; k < 3; ++k) b.Colour[k] = static_cast<unsigned char>(sum[k] / n);
            bled.push_back(b);
        }
    for (const TBled& b : bled) {
        std::copy_n(b.Colour, 3, &px[b.At * 4]);
        known[b.At] = 1;
    }
}

} // namespace

std::vector<unsigned char> StraightBgra(const TCanvas& canvas, int patternWidth,
                                        int patternHeight) {
    TCanvas& c = const_cast<TCanvas&>(canvas);
    c.Flush();
    const int w = c.PixelWidth(), h = c.PixelHeight(), stride = c.Stride();
    const unsigned* src = c.Pixels();
    std::vector<unsigned char> px(static_cast<size_t>(w * h * 4));
    std::vector<unsigned char> known(static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned p = src[y * stride + x];
            const unsigned a = p >> 24;
            const size_t i = static_cast<size_t>(y * w + x);
            unsigned char* d = &px[i * 4];
            d[3] = static_cast<unsigned char>(a);
            if (a == 0) continue;
            known[i] = 1;
            for (int k = 0; k < 3; ++k) {
                const unsigned v = (p >> (8 * k)) & 0xFF;
                d[k] = static_cast<unsigned char>(std::min(255u, (v * 255 + a / 2) / a));
            }
        }
    const int d = c.Density();
    const int pw = patternWidth > 0 ? patternWidth * d : w;
    const int ph = patternHeight > 0 ? patternHeight * d : h;
    std::vector<int> column(static_cast<size_t>(w)), row(static_cast<size_t>(h));
    for (int x = 0; x < w; ++x) column[static_cast<size_t>(x)] = x / pw;
    for (int y = 0; y < h; ++y) row[static_cast<size_t>(y)] = y / ph;
    for (int pass = 0; pass < 3; ++pass) BleedPass(px, known, w, h, column, row);
    return px;
}

namespace {

// Opaque 24-bit rows (B, G, R) of the canvas over black.
std::vector<unsigned char> OpaqueBgr(const TCanvas& canvas) {
    TCanvas& c = const_cast<TCanvas&>(canvas);
    c.Flush();
    const int w = c.PixelWidth(), h = c.PixelHeight(), stride = c.Stride();
    std::vector<unsigned char> px(static_cast<size_t>(w * h * 3));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned p = c.Pixels()[y * stride + x];
            for (int k = 0; k < 3; ++k)
                px[static_cast<size_t>((y * w + x) * 3 + k)] =
                    static_cast<unsigned char>((p >> (8 * k)) & 0xFF);
        }
    return px;
}

bool WriteJpeg(const std::string& path, const TCanvas& canvas, std::string* error) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) {
        if (error) *error = path + ": cannot be written";
        return false;
    }
    const std::vector<unsigned char> bgr = OpaqueBgr(canvas);
    const int w = canvas.PixelWidth(), h = canvas.PixelHeight();
    std::vector<unsigned char> row(static_cast<size_t>(w * 3));
    jpeg_compress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, f);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 94, TRUE);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        const size_t y = cinfo.next_scanline;
        for (int x = 0; x < w; ++x)
            for (int k = 0; k < 3; ++k)
                row[static_cast<size_t>(x * 3 + k)] = bgr[(y * w + x) * 3 + 2 - k];
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const bool ok = std::fclose(f) == 0;
    if (!ok && error) *error = path + ": write failed";
    return ok;
}

// A 32-bit TGA with run-length packets (type 10), rows top first; a packet never spans two rows.
// A run of two or more equal pixels is one repeat packet, anything else goes into literal
// packets of up to 128 pixels.
bool WriteRunLengthTga(const std::string& path, const std::vector<unsigned char>& bgra, int w,
                       int h, std::string* error) {
    if (w > 0xFFFF || h > 0xFFFF) {
        if (error) *error = path + ": too large for a TGA file (65535 pixels at most)";
        return false;
    }
    std::string out(18, '\0');
    out[2] = 10;
    out[12] = static_cast<char>(w & 0xFF);
    out[13] = static_cast<char>(w >> 8);
    out[14] = static_cast<char>(h & 0xFF);
    out[15] = static_cast<char>(h >> 8);
    out[16] = 32;
    out[17] = 0x28; // top first, eight bits of alpha
    auto pixel = [&](int x, int y) { return &bgra[(static_cast<size_t>(y) * w + x) * 4]; };
    auto same = [&](int x, int y) {
        return std::equal(pixel(x, y), pixel(x, y) + 4, pixel(x + 1, y));
    };
    for (int y = 0; y < h; ++y) {
        int x = 0;
        while (x < w) {
            int run = 1;
            while (x + run < w && run < 128 && same(x + run - 1, y)) ++run;
            if (run >= 2) {
                out.push_back(static_cast<char>(0x80 | (run - 1)));
                out.append(reinterpret_cast<const char*>(pixel(x, y)), 4);
                x += run;
                continue;
            }
            int literal = 1;
            while (x + literal < w && literal < 128 &&
                   !(x + literal + 1 < w && same(x + literal, y)))
                ++literal;
            out.push_back(static_cast<char>(literal - 1));
            out.append(reinterpret_cast<const char*>(pixel(x, y)),
                       static_cast<size_t>(literal) * 4);
            x += literal;
        }
    }
    return WriteFileBytes(path, out, error);
}

} // namespace

bool WritePicture(const std::string& path, const TCanvas& canvas, int patternWidth,
                  int patternHeight, std::string* error) {
    if (!MakeParent(path, error)) return false;
    const std::string ext = std::filesystem::path(path).extension().string();
    if (ext == ".jpg") return WriteJpeg(path, canvas, error);
    const int w = canvas.PixelWidth(), h = canvas.PixelHeight();
    TBitmapEx bmp;
    if (ext == ".bmp") {
        const std::vector<unsigned char> bgr = OpaqueBgr(canvas);
        bmp.SetSize(w, h, 24);
        for (int y = 0; y < h; ++y)
            std::copy_n(&bgr[static_cast<size_t>(y * w * 3)], w * 3, bmp.ScanLine(y));
    } else {
        const std::vector<unsigned char> bgra = StraightBgra(canvas, patternWidth, patternHeight);
        // The denser set is run-length coded: a sixth of the size on disk, read as fast. The 1x
        // files stay uncompressed as they always were.
        if (canvas.Density() > 1) return WriteRunLengthTga(path, bgra, w, h, error);
        bmp.SetSize(w, h, 32);
        for (int y = 0; y < h; ++y)
            std::copy_n(&bgra[static_cast<size_t>(y * w * 4)], w * 4, bmp.ScanLine(y));
    }
    return bmp.SaveToFile(path, error);
}

bool WriteAlphaBmp(const std::string& path, const TCanvas& canvas, int patternWidth,
                   int patternHeight, std::string* error) {
    if (!MakeParent(path, error)) return false;
    const int w = canvas.PixelWidth(), h = canvas.PixelHeight();
    const std::vector<unsigned char> bgra = StraightBgra(canvas, patternWidth, patternHeight);
    TBitmap bmp;
    bmp.SetSize(w, h, 32);
    for (int y = 0; y < h; ++y)
        std::copy_n(&bgra[static_cast<size_t>(y * w * 4)], w * 4, bmp.ScanLine(y));
    return bmp.SaveToFile(path, error);
}

bool WriteFileBytes(const std::string& path, const std::string& bytes, std::string* error) {
    if (!MakeParent(path, error)) return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
        if (error) *error = path + ": write failed";
        return false;
    }
    return true;
}

} // namespace artgen
