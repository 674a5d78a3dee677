#include "tools/artgen/Canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace artgen {

TRgb Rgb(unsigned hex) {
    return {((hex >> 16) & 0xFF) / 255.0, ((hex >> 8) & 0xFF) / 255.0, (hex & 0xFF) / 255.0};
}

TRgb Mix(const TRgb& a, const TRgb& b, double t) {
    return {a.R + (b.R - a.R) * t, a.G + (b.G - a.G) * t, a.B + (b.B - a.B) * t};
}

TRgb Lighter(const TRgb& c, double t) {
    return Mix(c, {1, 1, 1}, t);
}
TRgb Darker(const TRgb& c, double t) {
    return Mix(c, {0, 0, 0}, t);
}

double Clamp01(double v) {
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

double SmoothStep(double e0, double e1, double x) {
    const double t = Clamp01((x - e0) / (e1 - e0));
    return t * t * (3 - 2 * t);
}

namespace {
thread_local int threadDensity = 1;
} // namespace

void SetDensity(int density) {
    threadDensity = density < 1 ? 1 : density;
}

int Density() {
    return threadDensity;
}

TCanvas::TCanvas(int width, int height)
    : width_(width), height_(height), density_(threadDensity),
      surface_(
          cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width * density_, height * density_)) {
    // The surface's own scale: contexts on it draw in units, and painting it elsewhere covers
    // width x height units whatever the density on either side.
    cairo_surface_set_device_scale(surface_, density_, density_);
    cr_ = cairo_create(surface_);
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GOOD);
}

TCanvas::~TCanvas() {
    if (cr_) cairo_destroy(cr_);
    if (surface_) cairo_surface_destroy(surface_);
}

TCanvas::TCanvas(TCanvas&& other) noexcept
    : width_(other.width_), height_(other.height_), density_(other.density_),
      surface_(other.surface_), cr_(other.cr_) {
    other.surface_ = nullptr;
    other.cr_ = nullptr;
}

unsigned* TCanvas::Pixels() {
    return reinterpret_cast<unsigned*>(cairo_image_surface_get_data(surface_));
}

int TCanvas::Stride() const {
    return cairo_image_surface_get_stride(surface_) / 4;
}

void TCanvas::Flush() {
    cairo_surface_flush(surface_);
}
void TCanvas::MarkDirty() {
    cairo_surface_mark_dirty(surface_);
}

void TCanvas::Paint(const TCanvas& src, double x, double y, double alpha) {
    cairo_save(cr_);
    cairo_set_source_surface(cr_, src.surface_, x, y);
    cairo_paint_with_alpha(cr_, alpha);
    cairo_restore(cr_);
}

void TCanvas::WritePng(const std::string& path) const {
    cairo_surface_flush(surface_);
    cairo_surface_write_to_png(surface_, path.c_str());
}

namespace {

struct TFontFaces {
    FT_Library library = nullptr;
    std::array<cairo_font_face_t*, 3> faces{};

    TFontFaces() {
        if (FT_Init_FreeType(&library) != 0) {
            std::fprintf(stderr, "artgen: FreeType could not be initialised\n");
            std::exit(2);
        }
        const char* files[3] = {"/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
                                "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
                                "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf"};
        for (size_t i = 0; i < 3; ++i) {
            FT_Face face = nullptr;
            if (FT_New_Face(library, files[i], 0, &face) != 0) {
                std::fprintf(stderr, "artgen: cannot open font %s (package fonts-dejavu-core)\n",
                             files[i]);
                std::exit(2);
            }
            faces[i] = cairo_ft_font_face_create_for_ft_face(face, 0);
        }
    }
};

// Each thread its own FreeType library and faces: FreeType objects are not shared between
// threads.
TFontFaces& Faces() {
    thread_local TFontFaces faces; // lives to the end of the thread
    return faces;
}

} // namespace

void SetFont(cairo_t* cr, TFace face, double size) {
    cairo_set_font_face(cr, Faces().faces[static_cast<size_t>(face)]);
    cairo_set_font_size(cr, size);
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr, o);
    cairo_font_options_destroy(o);
}

double TextWidth(cairo_t* cr, const std::string& text) {
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    return e.x_advance;
}

double SetFontToFit(cairo_t* cr, TFace face, const std::string& text, double size, double minSize,
                    double room) {
    for (;; size -= 0.5) {
        SetFont(cr, face, std::max(size, minSize));
        if (size <= minSize || TextWidth(cr, text) <= room) return std::max(size, minSize);
    }
}

void TextPath(cairo_t* cr, const std::string& text, double x, double y) {
    cairo_move_to(cr, x, y);
    cairo_text_path(cr, text.c_str());
}

void TextPathCentred(cairo_t* cr, const std::string& text, double x, double y) {
    TextPath(cr, text, x - TextWidth(cr, text) / 2, y);
}

namespace {

void Label(cairo_t* cr, const std::string& text, double x, double y, const TRgb& colour,
           double alpha, double shadow) {
    if (shadow > 0) {
        cairo_new_path(cr);
        TextPath(cr, text, x + 1, y + 1.5);
        cairo_set_source_rgba(cr, 0.02, 0.0, 0.08, alpha * shadow);
        cairo_fill(cr);
    }
    cairo_new_path(cr);
    TextPath(cr, text, x, y);
    SetSource(cr, colour, alpha);
    cairo_fill(cr);
}

} // namespace

void LabelCentred(cairo_t* cr, const std::string& text, double x, double y, const TRgb& colour,
                  double alpha, double shadow) {
    Label(cr, text, x - TextWidth(cr, text) / 2, y, colour, alpha, shadow);
}

void LabelLeft(cairo_t* cr, const std::string& text, double x, double y, const TRgb& colour,
               double alpha, double shadow) {
    Label(cr, text, x, y, colour, alpha, shadow);
}

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r) {
    r = std::min({r, w / 2, h / 2});
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -kPi / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, kPi / 2);
    cairo_arc(cr, x + r, y + h - r, r, kPi / 2, kPi);
    cairo_arc(cr, x + r, y + r, r, kPi, 1.5 * kPi);
    cairo_close_path(cr);
}

void SetSource(cairo_t* cr, const TRgb& c, double alpha) {
    cairo_set_source_rgba(cr, c.R, c.G, c.B, alpha);
}

void AddStop(cairo_pattern_t* p, double offset, const TRgb& c, double alpha) {
    cairo_pattern_add_color_stop_rgba(p, offset, c.R, c.G, c.B, alpha);
}

void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double angle) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        const double r = (i % 2 == 0) ? outer : inner;
        const double a = angle + i * kPi / points;
        const double x = cx + r * std::cos(a), y = cy + r * std::sin(a);
        if (i == 0)
            cairo_move_to(cr, x, y);
        else
            cairo_line_to(cr, x, y);
    }
    cairo_close_path(cr);
}

void Glow(cairo_t* cr, double cx, double cy, double r, const TRgb& c, double alpha) {
    if (r <= 0 || alpha <= 0) return;
    cairo_pattern_t* g = cairo_pattern_create_radial(cx, cy, 0, cx, cy, r);
    AddStop(g, 0, c, alpha);
    AddStop(g, 0.35, c, alpha * 0.45);
    AddStop(g, 1, c, 0);
    cairo_set_source(cr, g);
    cairo_new_path(cr);
    cairo_arc(cr, cx, cy, r, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

void Twinkle(cairo_t* cr, double cx, double cy, double size, double angle, double alpha) {
    if (size <= 0 || alpha <= 0) return;
    Glow(cr, cx, cy, size * 0.7, Rgb(0xFFF6D8), alpha * 0.6);
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_rotate(cr, angle);
    for (int arm = 0; arm < 2; ++arm) {
        const double len = arm == 0 ? size : size * 0.62;
        cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 0, 0, 0, len);
        AddStop(g, 0, {1, 1, 1}, alpha);
        AddStop(g, 1, {1, 1, 1}, 0);
        cairo_set_source(cr, g);
        cairo_new_path(cr);
        const double w = size * 0.09 + 0.35;
        cairo_move_to(cr, -len, 0);
        cairo_curve_to(cr, -w, -w, -w, -w, 0, -len);
        cairo_curve_to(cr, w, -w, w, -w, len, 0);
        cairo_curve_to(cr, w, w, w, w, 0, len);
        cairo_curve_to(cr, -w, w, -w, w, -len, 0);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_rotate(cr, kPi / 4);
    }
    cairo_restore(cr);
}

namespace {

// One box pass along the rows (horizontal) or the columns of `in` into `out`, over premultiplied
// channels: a sliding sum over 2r + 1 values, with zeros beyond the ends. Columns are swept row by
// row, a running sum per column, so that the memory is read in order.
void BoxPass(const std::vector<double>& in, std::vector<double>& out, int w, int h, int r,
             bool horizontal) {
    const double width = 2 * r + 1;
    if (horizontal) {
        for (int y = 0; y < h; ++y) {
            const double* row = &in[static_cast<size_t>(y) * static_cast<size_t>(w)];
            double* to = &out[static_cast<size_t>(y) * static_cast<size_t>(w)];
            double sum = 0;
            for (int i = 0; i <= std::min(r, w - 1); ++i) sum += row[i];
            for (int i = 0; i < w; ++i) {
                to[i] = sum / width;
                if (i + r + 1 < w) sum += row[i + r + 1];
                if (i - r >= 0) sum -= row[i - r];
            }
        }
        return;
    }
    const auto row = [&](int y) { return &in[static_cast<size_t>(y) * static_cast<size_t>(w)]; };
    std::vector<double> sums(static_cast<size_t>(w), 0.0);
    for (int i = 0; i <= std::min(r, h - 1); ++i) {
        const double* from = row(i);
        for (int x = 0; x < w; ++x) sums[static_cast<size_t>(x)] += from[x];
    }
    for (int y = 0; y < h; ++y) {
        double* to = &out[static_cast<size_t>(y) * static_cast<size_t>(w)];
        for (int x = 0; x < w; ++x) to[x] = sums[static_cast<size_t>(x)] / width;
        if (y + r + 1 < h) {
            const double* add = row(y + r + 1);
            for (int x = 0; x < w; ++x) sums[static_cast<size_t>(x)] += add[x];
        }
        if (y - r >= 0) {
            const double* sub = row(y - r);
            for (int x = 0; x < w; ++x) sums[static_cast<size_t>(x)] -= sub[x];
        }
    }
}

} // namespace

void Blur(TCanvas& canvas, int radius) {
    if (radius < 1) return;
    radius *= canvas.Density();
    canvas.Flush();
    const int w = canvas.PixelWidth(), h = canvas.PixelHeight(), stride = canvas.Stride();
    unsigned* px = canvas.Pixels();
    std::array<std::vector<double>, 4> ch;
    for (auto& c : ch) c.resize(static_cast<size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const unsigned p = px[y * stride + x];
            for (int k = 0; k < 4; ++k)
                ch[static_cast<size_t>(k)][static_cast<size_t>(y * w + x)] = (p >> (8 * k)) & 0xFF;
        }
    std::vector<double> scratch(static_cast<size_t>(w * h));
    for (auto& c : ch)
        for (int pass = 0; pass < 3; ++pass) {
            BoxPass(c, scratch, w, h, radius, true);
            BoxPass(scratch, c, w, h, radius, false);
        }
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            unsigned p = 0;
            for (int k = 0; k < 4; ++k) {
                const double v = ch[static_cast<size_t>(k)][static_cast<size_t>(y * w + x)];
                p |= static_cast<unsigned>(std::clamp(std::lround(v), 0L, 255L)) << (8 * k);
            }
            px[y * stride + x] = p;
        }
    canvas.MarkDirty();
}

unsigned TRng::Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
}

double TRng::Uniform() {
    return (Next() >> 8) / 16777216.0;
}

} // namespace artgen
