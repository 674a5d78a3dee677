#include "tools/artgen/Sphere.h"

#include <algorithm>
#include <cmath>

namespace artgen {

TMask::TMask(const std::function<void(cairo_t*)>& draw, int size)
    : size_(size), cov_(static_cast<size_t>(size * size)) {
    cairo_surface_t* s = cairo_image_surface_create(CAIRO_FORMAT_A8, size, size);
    cairo_t* cr = cairo_create(s);
    cairo_translate(cr, size / 2.0, size / 2.0);
    cairo_scale(cr, size / 2.0, size / 2.0);
    cairo_set_source_rgba(cr, 0, 0, 0, 1);
    draw(cr);
    cairo_destroy(cr);
    cairo_surface_flush(s);
    const unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            cov_[static_cast<size_t>(y * size + x)] = data[y * stride + x] / 255.0f;
    cairo_surface_destroy(s);
}

double TMask::Sample(double u, double v) const {
    const double fx = (u + 1) * size_ / 2 - 0.5, fy = (v + 1) * size_ / 2 - 0.5;
    if (fx < -1 || fy < -1 || fx > size_ || fy > size_) return 0;
    const int x0 = static_cast<int>(std::floor(fx)), y0 = static_cast<int>(std::floor(fy));
    const double tx = fx - x0, ty = fy - y0;
    auto at = [&](int x, int y) -> double {
        if (x < 0 || y < 0 || x >= size_ || y >= size_) return 0;
        return cov_[static_cast<size_t>(y * size_ + x)];
    };
    return (at(x0, y0) * (1 - tx) + at(x0 + 1, y0) * tx) * (1 - ty) +
           (at(x0, y0 + 1) * (1 - tx) + at(x0 + 1, y0 + 1) * tx) * ty;
}

namespace {

struct TVec {
    double X, Y, Z;
};

TVec Normalise(TVec v) {
    const double l = std::sqrt(v.X * v.X + v.Y * v.Y + v.Z * v.Z);
    return {v.X / l, v.Y / l, v.Z / l};
}

double Dot(const TVec& a, const TVec& b) {
    return a.X * b.X + a.Y * b.Y + a.Z * b.Z;
}

const TVec kLight = Normalise({-0.5, -0.75, 0.85});
const TVec kHalf = Normalise({kLight.X, kLight.Y, kLight.Z + 1});
const TVec kThrough = Normalise({0.3, 0.85, 0.45});
const TRgb kRim{0.50, 0.42, 0.95};

// Colour and coverage of one sample point, or false outside the ball.
bool Shade(const TBallPaint& paint, const TBallPose& pose, double px, double py, TRgb& out) {
    const double dx = (px - pose.Cx) / (pose.R * pose.Sx), dy = (py - pose.Cy) / (pose.R * pose.Sy);
    const double d2 = dx * dx + dy * dy;
    if (d2 >= 1) return false;
    const TVec n{dx, dy, std::sqrt(1 - d2)};
    const double cs = std::cos(pose.Spin), sn = std::sin(pose.Spin);
    const double lx = n.X * cs + n.Z * sn, lz = -n.X * sn + n.Z * cs, ly = n.Y;
    TRgb a = paint.Albedo(lx, ly, lz);
    if (paint.Symbol && lz > 0) {
        const double u = lx / paint.SymbolScale, v = ly / paint.SymbolScale;
        const double facing = SmoothStep(0.15, 0.55, lz);
        TRgb symbol = paint.SymbolColour;
        if (paint.SymbolContrast) {
            const bool light = 0.2126 * a.R + 0.7152 * a.G + 0.0722 * a.B > 0.42;
            const TRgb dark = Rgb(0x140C28), white = Rgb(0xFFFFFF);
            symbol = light ? dark : white;
            if (paint.SymbolEdge)
                a = Mix(a, light ? white : dark, paint.SymbolEdge->Sample(u, v) * facing * 0.75);
        }
        a = Mix(a, symbol, paint.Symbol->Sample(u, v) * facing * paint.SymbolStrength);
    }
    const double diff = std::pow(std::max(0.0, Dot(n, kLight)), 1.15);
    TRgb c{a.R * (0.10 + 0.98 * diff), a.G * (0.10 + 0.98 * diff), a.B * (0.10 + 0.98 * diff)};
    // Light passing through the ball brightens the side away from the light.
    const double t = std::max(0.0, Dot(n, kThrough));
    const TRgb through = Lighter(a, 0.15);
    c.R += through.R * 0.50 * t * t * t;
    c.G += through.G * 0.50 * t * t * t;
    c.B += through.B * 0.50 * t * t * t;
    const double rim = std::pow(1 - n.Z, 3.0);
    c = Mix(c, kRim, 0.22 * rim);
    const double edge = 0.80 + 0.20 * SmoothStep(0.0, 0.3, n.Z);
    c = {c.R * edge, c.G * edge, c.B * edge};
    const double nh = std::max(0.0, Dot(n, kHalf));
    const double gloss = paint.Gloss * ((0.16 + 0.12 * pose.Shine) * std::pow(nh, 8) +
                                        (1.0 + 0.6 * pose.Shine) * std::pow(nh, 90));
    c.R += gloss;
    c.G += gloss;
    c.B += gloss;
    out = {Clamp01(c.R), Clamp01(c.G), Clamp01(c.B)};
    return true;
}

} // namespace

void RenderSphere(TCanvas& canvas, const TBallPaint& paint, const TBallPose& unitPose) {
    canvas.Flush();
    const int w = canvas.PixelWidth(), h = canvas.PixelHeight(), stride = canvas.Stride();
    unsigned* px = canvas.Pixels();
    // Shaded in pixels: the pose scaled by the density. The samples per picture unit stay the
    // same at every density (a 2 x 2 pixel block of a 2x canvas takes one sample a pixel inside
    // and 2 x 2 along the outline), so a denser picture costs no more shading than its area.
    const int density = canvas.Density();
    TBallPose pose = unitPose;
    pose.Cx *= density;
    pose.Cy *= density;
    pose.R *= density;
    const double rx = pose.R * pose.Sx, ry = pose.R * pose.Sy;
    const int x0 = std::max(0, static_cast<int>(std::floor(pose.Cx - rx)) - 1);
    const int x1 = std::min(w - 1, static_cast<int>(std::ceil(pose.Cx + rx)) + 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(pose.Cy - ry)) - 1);
    const int y1 = std::min(h - 1, static_cast<int>(std::ceil(pose.Cy + ry)) + 1);
    // Pixels well inside the outline are smooth: 2 x 2 samples do; the outline gets 4 x 4.
    auto inside = [&](double x, double y) {
        const double dx = (x - pose.Cx) / rx, dy = (y - pose.Cy) / ry;
        return dx * dx + dy * dy < 0.97;
    };
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            const bool interior =
                inside(x, y) && inside(x + 1, y) && inside(x, y + 1) && inside(x + 1, y + 1);
            const int sub = std::max(1, (interior ? 2 : 4) / density);
            double r = 0, g = 0, b = 0, cover = 0;
            for (int sy = 0; sy < sub; ++sy)
                for (int sx = 0; sx < sub; ++sx) {
                    TRgb c;
                    if (Shade(paint, pose, x + (sx + 0.5) / sub, y + (sy + 0.5) / sub, c)) {
                        r += c.R;
                        g += c.G;
                        b += c.B;
                        cover += 1;
                    }
                }
            if (cover == 0) continue;
            const double n = sub * sub;
            const double a = cover / n; // premultiplied source: sums already weighted by coverage
            unsigned& d = px[y * stride + x];
            const double da = ((d >> 24) & 0xFF) / 255.0, dr = ((d >> 16) & 0xFF) / 255.0,
                         dg = ((d >> 8) & 0xFF) / 255.0, db = (d & 0xFF) / 255.0;
            const double oa = a + da * (1 - a), or_ = r / n + dr * (1 - a),
                         og = g / n + dg * (1 - a), ob = b / n + db * (1 - a);
            auto q = [](double v) { return static_cast<unsigned>(std::lround(Clamp01(v) * 255)); };
            d = (q(oa) << 24) | (q(or_) << 16) | (q(og) << 8) | q(ob);
        }
    canvas.MarkDirty();
}

void BallShadow(cairo_t* cr, double cx, double groundY, double r, double alpha) {
    cairo_save(cr);
    cairo_translate(cr, cx + r * 0.12, groundY - r * 0.05);
    cairo_scale(cr, 1.0, 0.32);
    cairo_pattern_t* g = cairo_pattern_create_radial(0, 0, 0, 0, 0, r * 0.95);
    cairo_pattern_add_color_stop_rgba(g, 0, 0.02, 0.0, 0.06, alpha);
    cairo_pattern_add_color_stop_rgba(g, 0.55, 0.02, 0.0, 0.06, alpha * 0.5);
    cairo_pattern_add_color_stop_rgba(g, 1, 0.02, 0.0, 0.06, 0);
    cairo_set_source(cr, g);
    cairo_arc(cr, 0, 0, r * 0.95, 0, 2 * kPi);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_restore(cr);
}

} // namespace artgen
