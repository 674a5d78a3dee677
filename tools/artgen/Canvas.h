#pragma once
// Drawing surfaces and helpers shared by every picture of the generator. All surfaces are cairo
// ARGB32 (premultiplied alpha, native byte order); they are turned into straight-alpha B, G, R, A
// rows only when a picture is written.
//
// Pictures are drawn in picture units (the game's 800 x 600 picture space) at a pixel density of
// 1 or 2 pixels per unit: a canvas of w x h units holds w*d x h*d pixels, and cairo maps units to
// pixels itself, so every shape, text and gradient is drawn at the density's own resolution.
// Only code that touches pixels (Pixels, Blur, the sphere shader, the writers) sees the density.
#include <cairo.h>

#include <memory>
#include <string>

namespace artgen {

struct TRgb {
    double R = 0, G = 0, B = 0;
};
TRgb Rgb(unsigned hex); // 0xRRGGBB
TRgb Mix(const TRgb& a, const TRgb& b, double t);
TRgb Lighter(const TRgb& c, double t); // towards white
TRgb Darker(const TRgb& c, double t);  // towards black

// The pixels per picture unit of the canvases this thread makes from now on (1 or 2; 1 unless
// set). Each thread draws at its own density, so sets of both densities can be made at once.
void SetDensity(int density);
int Density();

// An owned cairo image surface with a context on it, `width` x `height` picture units at the
// thread's density.
class TCanvas {
public:
    TCanvas(int width, int height);
    ~TCanvas();
    TCanvas(const TCanvas&) = delete;
    TCanvas& operator=(const TCanvas&) = delete;
    TCanvas(TCanvas&& other) noexcept;

    int Width() const { return width_; } // picture units
    int Height() const { return height_; }
    int Density() const { return density_; }
    int PixelWidth() const { return width_ * density_; }
    int PixelHeight() const { return height_ * density_; }
    cairo_t* Cr() const { return cr_; }
    cairo_surface_t* Surface() const { return surface_; }
    // Raw premultiplied pixels (0xAARRGGBB words); call Flush before and MarkDirty after writing.
    unsigned* Pixels();
    int Stride() const; // in pixels
    void Flush();
    void MarkDirty();
    // Paints `src` with its top-left corner at (x, y) units using the OVER operator.
    void Paint(const TCanvas& src, double x, double y, double alpha = 1.0);
    void WritePng(const std::string& path) const;

private:
    int width_, height_, density_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

enum class TFace { Regular, Bold, CondensedBold };

// Selects a DejaVu face at `size` pixels on the context (FreeType, fixed hinting options so
// output is identical on every run).
void SetFont(cairo_t* cr, TFace face, double size);
// Width of `text` (UTF-8) in the current font, in pixels.
double TextWidth(cairo_t* cr, const std::string& text);
// Selects `face` at the largest size from `size` down to `minSize` (half-pixel steps) at which
// `text` is at most `room` wide, and returns that size (`minSize` when none fits).
double SetFontToFit(cairo_t* cr, TFace face, const std::string& text, double size, double minSize,
                    double room);
// Adds the outline of `text` to the path with its baseline starting at (x, y).
void TextPath(cairo_t* cr, const std::string& text, double x, double y);
// The same, centred horizontally on x.
void TextPathCentred(cairo_t* cr, const std::string& text, double x, double y);
// Fills centred text with a soft drop shadow: the usual look of labels.
void LabelCentred(cairo_t* cr, const std::string& text, double x, double y, const TRgb& colour,
                  double alpha = 1.0, double shadow = 0.6);
void LabelLeft(cairo_t* cr, const std::string& text, double x, double y, const TRgb& colour,
               double alpha = 1.0, double shadow = 0.6);

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double r);
void SetSource(cairo_t* cr, const TRgb& c, double alpha = 1.0);
void AddStop(cairo_pattern_t* p, double offset, const TRgb& c, double alpha = 1.0);
// An n-pointed star centred at (cx, cy) with outer and inner radii, first point at `angle`.
void StarPath(cairo_t* cr, double cx, double cy, double outer, double inner, int points,
              double angle);
// A soft round glow (radial gradient from `alpha` at the centre to 0 at radius r).
void Glow(cairo_t* cr, double cx, double cy, double r, const TRgb& c, double alpha);
// A four-pointed twinkle with a glowing core.
void Twinkle(cairo_t* cr, double cx, double cy, double size, double angle, double alpha);

// Gaussian-like blur of the whole canvas (three box passes), used for glows and shadows; the
// radius is in picture units.
void Blur(TCanvas& canvas, int radius);

// Deterministic pseudo-random numbers for scattering decoration (fixed seeds only).
class TRng {
public:
    explicit TRng(unsigned seed) : state_(seed * 2654435761u + 1u) {}
    unsigned Next();
    double Uniform(); // [0, 1)
    double Range(double lo, double hi) { return lo + (hi - lo) * Uniform(); }

private:
    unsigned state_;
};

constexpr double kPi = 3.14159265358979323846;
double Clamp01(double v);
double SmoothStep(double e0, double e1, double x);

} // namespace artgen
