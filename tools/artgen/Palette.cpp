#include "tools/artgen/Palette.h"

#include "render/BallColours.h"

#include <array>
#include <cmath>
#include <memory>

namespace artgen {

namespace {

const std::array<uint32_t, kColours>& kHex = kBallColours;

constexpr std::array<const char*, kColours> kNames = {"red",    "green", "blue", "yellow",
                                                      "violet", "cyan",  "white"};

} // namespace

TRgb BallColour(int colour) {
    return Rgb(kHex[static_cast<size_t>((colour - 1) % kColours)]);
}

const char* ColourName(int colour) {
    return kNames[static_cast<size_t>((colour - 1) % kColours)];
}

void SymbolPath(cairo_t* cr, int colour, double cx, double cy, double r) {
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, r, r);
    cairo_new_path(cr);
    switch ((colour - 1) % kColours + 1) {
    case 1: // heart
        cairo_move_to(cr, 0, 0.85);
        cairo_curve_to(cr, -0.35, 0.55, -0.95, 0.2, -0.95, -0.25);
        cairo_curve_to(cr, -0.95, -0.75, -0.25, -0.95, 0, -0.45);
        cairo_curve_to(cr, 0.25, -0.95, 0.95, -0.75, 0.95, -0.25);
        cairo_curve_to(cr, 0.95, 0.2, 0.35, 0.55, 0, 0.85);
        cairo_close_path(cr);
        break;
    case 2: // triangle
        cairo_move_to(cr, 0, -0.9);
        cairo_line_to(cr, 0.92, 0.72);
        cairo_line_to(cr, -0.92, 0.72);
        cairo_close_path(cr);
        break;
    case 3: // ring
        cairo_arc(cr, 0, 0, 0.85, 0, 2 * kPi);
        cairo_new_sub_path(cr);
        cairo_arc_negative(cr, 0, 0, 0.45, 2 * kPi, 0);
        break;
    case 4: // five-pointed star
        StarPath(cr, 0, 0.06, 0.98, 0.42, 5, -kPi / 2);
        break;
    case 5: // diamond
        cairo_move_to(cr, 0, -0.95);
        cairo_line_to(cr, 0.7, 0);
        cairo_line_to(cr, 0, 0.95);
        cairo_line_to(cr, -0.7, 0);
        cairo_close_path(cr);
        break;
    case 6: // cross
        cairo_rectangle(cr, -0.28, -0.88, 0.56, 1.76);
        cairo_rectangle(cr, -0.88, -0.28, 1.76, 0.56);
        break;
    default: // square
        RoundedRect(cr, -0.72, -0.72, 1.44, 1.44, 0.16);
        break;
    }
    cairo_restore(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
}

const TMask& ColourSymbol(int colour) {
    thread_local std::array<std::unique_ptr<TMask>, kColours> masks; // made on first use
    auto& m = masks[static_cast<size_t>((colour - 1) % kColours)];
    if (!m)
        m = std::make_unique<TMask>([colour](cairo_t* cr) {
            SymbolPath(cr, colour, 0, 0, 1);
            cairo_fill(cr);
        });
    return *m;
}

namespace {

// The symbols of the clear look, in the unit square the sphere maps them over: one symbol
// (`second` 0) nearly filling it, or two, one on each side of a two-colour ball's seam (the first
// colour's half lies towards the upper left). `edge`: the shapes grown by a rim.
void ClearSymbolPaths(cairo_t* cr, int first, int second, bool edge) {
    const auto draw = [&](int colour, double cx, double cy, double r) {
        SymbolPath(cr, colour, cx, cy, r);
        if (edge) {
            cairo_set_line_width(cr, 0.16);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_stroke_preserve(cr);
        }
        cairo_fill(cr);
    };
    if (second == 0) {
        draw(first, 0, 0, 0.78);
    } else {
        draw(first, -0.42, -0.42, 0.46);
        draw(second, 0.42, 0.42, 0.46);
    }
}

const TMask& ClearSymbol(int first, int second, bool edge) {
    constexpr size_t kMasks = size_t{2} * (kColours + 1) * (kColours + 1);
    thread_local std::array<std::unique_ptr<TMask>, kMasks> masks;
    auto& m =
        masks[(static_cast<size_t>(first) * (kColours + 1) + static_cast<size_t>(second)) * 2 +
              (edge ? 1 : 0)];
    if (!m)
        m = std::make_unique<TMask>(
            [first, second, edge](cairo_t* cr) { ClearSymbolPaths(cr, first, second, edge); });
    return *m;
}

void MakeClear(TBallPaint& p, int first, int second) {
    p.Symbol = &ClearSymbol(first, second, false);
    p.SymbolEdge = &ClearSymbol(first, second, true);
    p.SymbolContrast = true;
    p.SymbolScale = 0.62;
    p.SymbolStrength = 1.0;
}

} // namespace

void TwoColours(int picture, int& first, int& second) {
    switch (picture) {
    case 7:
        first = 4, second = 6;
        break;
    case 8:
        first = 1, second = 3;
        break;
    default:
        first = 2, second = 5;
        break;
    }
}

namespace {

TRgb Rainbow(double x, double y) {
    double h = std::atan2(y, x) / (2 * kPi) + 0.5; // 0..1 round the ball
    h = h * kColours;
    const int i = static_cast<int>(std::floor(h)) % kColours;
    const double t = SmoothStep(0.25, 0.75, h - std::floor(h));
    const int order[kColours] = {1, 7, 5, 3, 6, 2, 4};
    TRgb c = Mix(BallColour(order[i]), BallColour(order[(i + 1) % kColours]), t);
    const double centre = std::sqrt(x * x + y * y);
    return Mix({1, 1, 1}, c, SmoothStep(0.0, 0.55, centre) * 0.85 + 0.15);
}

TBallPaint Plain(int colour) {
    TBallPaint p;
    const TRgb c = BallColour(colour);
    p.Albedo = [c](double, double, double) { return c; };
    p.Symbol = &ColourSymbol(colour);
    const bool light = colour == 4 || colour == 7 || colour == 6;
    p.SymbolColour = light ? Darker(c, 0.55) : Lighter(c, 0.6);
    p.SymbolStrength = light ? 0.30 : 0.26;
    return p;
}

} // namespace

bool HasClearSymbols(int picture) {
    return picture >= 0 && (picture < 10 || (picture >= 11 && picture <= 17));
}

TBallPaint BallPaintFor(int picture, bool clearSymbols) {
    if (picture < 7) {
        TBallPaint p = Plain(picture + 1);
        if (clearSymbols) MakeClear(p, picture + 1, 0);
        return p;
    }
    if (picture < 10) {
        int a = 0, b = 0;
        TwoColours(picture, a, b);
        TBallPaint p;
        const TRgb ca = BallColour(a), cb = BallColour(b);
        p.Albedo = [ca, cb](double x, double y, double) {
            const double d = (x + y) * 0.7071;
            const double t = SmoothStep(-0.06, 0.06, d);
            const double seam = 1 - std::abs(t * 2 - 1);
            return Lighter(Mix(ca, cb, t), 0.35 * seam);
        };
        if (clearSymbols) {
            MakeClear(p, a, b);
            p.SymbolScale = 0.95;
        }
        return p;
    }
    if (picture >= 11 && picture <= 17) {
        TBallPaint p = Plain(picture - 10);
        if (clearSymbols) {
            MakeClear(p, picture - 10, 0);
            return p;
        }
        static const TMask drop([](cairo_t* cr) {
            cairo_move_to(cr, 0, -0.95);
            cairo_curve_to(cr, 0.15, -0.55, 0.7, -0.1, 0.7, 0.3);
            cairo_arc(cr, 0, 0.3, 0.7, 0, kPi);
            cairo_curve_to(cr, -0.7, -0.1, -0.15, -0.55, 0, -0.95);
            cairo_close_path(cr);
            cairo_fill(cr);
        });
        p.Symbol = &drop;
        p.SymbolScale = 0.62;
        p.SymbolColour = {1, 1, 1};
        p.SymbolStrength = 0.88;
        return p;
    }
    if (picture == 21) {
        TBallPaint p;
        p.Albedo = [](double, double, double) { return Rgb(0x2A2438); };
        p.Gloss = 0.9;
        return p;
    }
    TBallPaint p; // rainbow and the multipliers
    p.Albedo = [](double x, double y, double) { return Rainbow(x, y); };
    return p;
}

} // namespace artgen
