#include "tools/artgen/Logo.h"

#include "layout/Layout.h"
#include "tools/artgen/Palette.h"
#include "tools/artgen/Sphere.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace artgen {

namespace {

// Logo geometry in screen pixels.
constexpr double kWordSize = 74;  // font size of both words (cap height about 54)
constexpr double kLeft = 305;     // left edge of both words
constexpr double kVelmBase = 200; // baseline of VELM
constexpr double kOrraBase = 297; // baseline of ORRA
constexpr double kBallX = 336;    // the ball resting in the notch of the V
constexpr double kBallY = 144;
constexpr double kBallR = 16.5;
constexpr int kBallColour = 5; // violet

// Fills a word with the logo's look: a glow, a dark outline and a vertical gradient.
void Word(cairo_t* cr, const char* text, double base, const TRgb& top, const TRgb& bottom,
          double glowAlpha) {
    SetFont(cr, TFace::CondensedBold, kWordSize);
    cairo_new_path(cr);
    TextPath(cr, text, kLeft, base);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (glowAlpha > 0) {
        cairo_set_line_width(cr, 10);
        SetSource(cr, Mix(top, bottom, 0.5), glowAlpha);
        cairo_stroke_preserve(cr);
    }
    cairo_set_line_width(cr, 4.5);
    SetSource(cr, Rgb(0x120A34));
    cairo_stroke_preserve(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, base - 56, 0, base);
    AddStop(g, 0, Lighter(top, 0.6));
    AddStop(g, 0.45, top);
    AddStop(g, 0.55, bottom);
    AddStop(g, 1, Lighter(bottom, 0.25));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // A thin bright line along the upper edges.
    cairo_new_path(cr);
    TextPath(cr, text, kLeft, base);
    cairo_save(cr);
    cairo_clip(cr);
    cairo_new_path(cr);
    TextPath(cr, text, kLeft, base + 2);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_rectangle(cr, kLeft - 10, base - 80, 400, 100);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.45);
    cairo_fill(cr);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    cairo_restore(cr);
}

const TRgb kVelmTop = Rgb(0xE9E2FF), kVelmBottom = Rgb(0x8A6CFF);
const TRgb kOrraTop = Rgb(0xB8F4FF), kOrraBottom = Rgb(0x3C8CFF);

void Velm(cairo_t* cr) {
    Word(cr, "VELM", kVelmBase, kVelmTop, kVelmBottom, 0.18);
}
void Orra(cairo_t* cr) {
    Word(cr, "ORRA", kOrraBase, kOrraTop, kOrraBottom, 0.18);
}

// The logo ball at picture point (x, y), on a canvas whose origin is picture point (ox, oy)
// and scale s.
void LogoBall(TCanvas& c, double s, double ox, double oy, double x, double y, double sx, double sy,
              double shine) {
    TBallPaint paint = BallPaintFor(kBallColour - 1);
    paint.Symbol = nullptr;
    TBallPose pose{(x - ox) * s, (y - oy) * s, kBallR * s, sx, sy};
    pose.Shine = shine;
    RenderSphere(c, paint, pose);
}

// Ball height above its rest point and squash, frames 0..32 of the letter animation: out of
// sight at frame 0, falling from frame 1, landing at 12, a small rebound, at rest from 22 on.
void DropAt(int f, double& y, double& sx, double& sy) {
    sx = sy = 1;
    if (f == 0) {
        y = -400;
    } else if (f <= 12) {
        const double t = f / 12.0;
        y = -(1 - t * t) * 210;
        sy = 1 + 0.25 * t;
        sx = 1 / std::sqrt(sy);
    } else if (f <= 15) {
        const double sq[3] = {0.22, 0.3, 0.12};
        y = 3 * sq[f - 13];
        sy = 1 - sq[f - 13];
        sx = 1 + sq[f - 13] * 0.7;
    } else if (f <= 22) {
        const double t = (f - 15) / 7.0;
        y = -22 * 4 * t * (1 - t);
    } else {
        y = 0;
    }
}

// Letter layers, 33 frames each: i.tga (57 x 306) holds the light trail and the landing ring
// under the ball, ball.tga (57 x 213) the ball itself. Both are drawn at kLogoLetters.
void MakeLetterLayers(TPictureSet& set) {
    std::vector<TCanvas> trail, ball;
    const double ox = kLogoLetters.X, oy = kLogoLetters.Y;
    for (int f = 0; f < 33; ++f) {
        trail.emplace_back(57, 306);
        ball.emplace_back(57, 213);
        double dy = 0, sx = 1, sy = 1;
        DropAt(f, dy, sx, sy);
        const double by = kBallY + dy;
        cairo_t* cr = trail.back().Cr();
        cairo_translate(cr, -ox, -oy);
        if (f >= 1 && f <= 13) {
            const double len = 30 + 6 * f;
            cairo_pattern_t* g = cairo_pattern_create_linear(0, by - len, 0, by);
            AddStop(g, 0, ui::kAccent, 0);
            AddStop(g, 1, ui::kAccent, 0.55);
            cairo_set_source(cr, g);
            RoundedRect(cr, kBallX - kBallR * 0.8, by - len, kBallR * 1.6, len, kBallR * 0.8);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
        if (f >= 12 && f <= 24) {
            const double t = (f - 12) / 12.0;
            cairo_save(cr);
            cairo_translate(cr, kBallX, kBallY + kBallR - 2);
            cairo_scale(cr, 1, 0.35);
            cairo_arc(cr, 0, 0, 8 + 18 * t, 0, 2 * kPi);
            cairo_restore(cr);
            cairo_set_line_width(cr, 2.5 * (1 - t) + 0.5);
            SetSource(cr, ui::kAccent, 0.9 * (1 - t));
            cairo_stroke(cr);
        }
        if (f >= 12) {
            const double a = f < 16 ? 0.6 : 0.6 - 0.35 * std::min(1.0, (f - 16) / 10.0);
            Glow(cr, kBallX, kBallY, 27, Rgb(0xB07CFF), a);
        }
        if (f >= 1)
            LogoBall(ball.back(), 1, ox, oy, kBallX, by + kBallR * (1 - sy), sx, sy,
                     f >= 22 ? 0.4 : 0.0);
    }
    set.AddFrames("graphics/logo/i.tga", trail, AcrossFor("graphics/logo/i.tga"));
    set.AddFrames("graphics/logo/ball.tga", ball, AcrossFor("graphics/logo/ball.tga"));
}

// The two words, each a whole picture drawn at kLogoWords.
void MakeWords(TPictureSet& set) {
    TCanvas velm(300, 110), orra(300, 200);
    cairo_translate(velm.Cr(), -kLogoWords.X, -kLogoWords.Y);
    Velm(velm.Cr());
    cairo_translate(orra.Cr(), -kLogoWords.X, -kLogoWords.Y);
    Orra(orra.Cr());
    set.AddWhole("graphics/logo/velm.tga", std::move(velm));
    set.AddWhole("graphics/logo/orra.tga", std::move(orra));
}

// The flare, drawn rotated about its centre at kLogoFlare: rays and a ring around a hot core.
void MakeFlare(TPictureSet& set) {
    TCanvas c(256, 256);
    cairo_t* cr = c.Cr();
    const double m = 128;
    Glow(cr, m, m, 120, Rgb(0x8F6BFF), 0.35);
    cairo_save(cr);
    cairo_translate(cr, m, m);
    for (int i = 0; i < 12; ++i) {
        const double len = (i % 3 == 0) ? 126 : 80;
        const double w = (i % 3 == 0) ? 4.5 : 3;
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, len, 0);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.9);
        cairo_pattern_add_color_stop_rgba(g, 1, 0.7, 0.85, 1, 0);
        cairo_set_source(cr, g);
        cairo_move_to(cr, 0, -w);
        cairo_line_to(cr, len, 0);
        cairo_line_to(cr, 0, w);
        cairo_close_path(cr);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        cairo_rotate(cr, 2 * kPi / 12);
    }
    cairo_restore(cr);
    cairo_arc(cr, m, m, 46, 0, 2 * kPi);
    cairo_set_line_width(cr, 2);
    cairo_set_source_rgba(cr, 0.7, 0.9, 1, 0.35);
    cairo_stroke(cr);
    Glow(cr, m, m, 40, Rgb(0xFFFFFF), 0.85);
    set.AddWhole("graphics/logo/flare.tga", std::move(c));
}

// The shine over ORRA, 29 frames drawn at kLogoShine: a band of light crosses the letters, then
// a twinkle on the last letter.
void MakeShine(TPictureSet& set) {
    std::vector<TCanvas> frames;
    const double ox = kLogoShine.X, oy = kLogoShine.Y;
    for (int f = 0; f < 29; ++f) {
        frames.emplace_back(235, 75);
        cairo_t* cr = frames.back().Cr();
        cairo_translate(cr, -ox, -oy);
        if (f <= 22) {
            const double x = kLeft - 40 + f * 12.0;
            cairo_save(cr);
            SetFont(cr, TFace::CondensedBold, kWordSize);
            cairo_new_path(cr);
            TextPath(cr, "ORRA", kLeft, kOrraBase);
            cairo_clip(cr);
            cairo_pattern_t* g = cairo_pattern_create_linear(x - 26, 0, x + 6, 0);
            AddStop(g, 0, {1, 1, 1}, 0);
            AddStop(g, 0.75, {1, 1, 1}, 1.0);
            AddStop(g, 1, {1, 1, 1}, 0);
            cairo_set_source(cr, g);
            cairo_paint(cr);
            cairo_pattern_destroy(g);
            cairo_restore(cr);
            // A faint streak of light over the whole word, brightest at the band.
            cairo_pattern_t* streak = cairo_pattern_create_linear(x - 40, 0, x + 20, 0);
            AddStop(streak, 0, ui::kAccent, 0);
            AddStop(streak, 0.7, ui::kAccent, 0.22);
            AddStop(streak, 1, ui::kAccent, 0);
            cairo_set_source(cr, streak);
            cairo_rectangle(cr, ox, oy + 4, 235, 67);
            cairo_fill(cr);
            cairo_pattern_destroy(streak);
        }
        if (f >= 18) {
            const double t = (f - 18) / 10.0;
            Twinkle(cr, 493, 250, 18 * std::sin(kPi * t), t * 1.5, 1.0);
        }
    }
    set.AddFrames("graphics/logo/blik_orra.tga", frames, AcrossFor("graphics/logo/blik_orra.tga"));
}

} // namespace

void DrawLogo(TCanvas& canvas, double s, double ox, double oy) {
    cairo_t* cr = canvas.Cr();
    cairo_save(cr);
    cairo_scale(cr, s, s);
    cairo_translate(cr, -ox, -oy);
    Velm(cr);
    Orra(cr);
    Glow(cr, kBallX, kBallY, 27, Rgb(0xB07CFF), 0.3);
    cairo_restore(cr);
    LogoBall(canvas, s, ox, oy, kBallX, kBallY, 1, 1, 0.4);
}

namespace {

// The small logo of the menu, 38 frames at kSmallLogo: the ball hops in the V while a shine
// crosses the words; frame 37 is the logo at rest.
void MakeSmallLogo(TPictureSet& set) {
    std::vector<TCanvas> frames;
    const double s = 0.42, ox = kLeft - 18 / s, oy = kBallY - kBallR - 12 / s;
    for (int f = 0; f < 38; ++f) {
        frames.emplace_back(125, 100);
        TCanvas& c = frames.back();
        cairo_t* cr = c.Cr();
        cairo_save(cr);
        cairo_scale(cr, s, s);
        cairo_translate(cr, -ox, -oy);
        Velm(cr);
        Orra(cr);
        if (f < 24) {
            const double x = kLeft - 40 + f * 14.0;
            SetFont(cr, TFace::CondensedBold, kWordSize);
            cairo_new_path(cr);
            TextPath(cr, "VELM", kLeft, kVelmBase);
            TextPath(cr, "ORRA", kLeft, kOrraBase);
            cairo_save(cr);
            cairo_clip(cr);
            cairo_pattern_t* g = cairo_pattern_create_linear(x - 25, 0, x + 25, 0);
            AddStop(g, 0, {1, 1, 1}, 0);
            AddStop(g, 0.5, {1, 1, 1}, 0.8);
            AddStop(g, 1, {1, 1, 1}, 0);
            cairo_set_source(cr, g);
            cairo_paint(cr);
            cairo_pattern_destroy(g);
            cairo_restore(cr);
        }
        Glow(cr, kBallX, kBallY, 27, Rgb(0xB07CFF), 0.3);
        cairo_restore(cr);
        double lift = 0, sx = 1, sy = 1;
        if (f < 16) {
            const double t = f / 16.0;
            lift = 26 * 4 * t * (1 - t);
        } else if (f < 19) {
            const double sq[3] = {0.12, 0.18, 0.08};
            sy = 1 - sq[f - 16];
            sx = 1 + sq[f - 16] * 0.7;
        }
        LogoBall(c, s, ox, oy, kBallX, kBallY - lift + kBallR * (1 - sy), sx, sy,
                 f >= 19 ? 0.4 : 0.1);
    }
    set.AddFrames("graphics/logo_small.tga", frames, 1);
}

// A crying ball for the low-score box, 10 frames at kMessagePicture: tears roll and drop.
void MakeCry(TPictureSet& set) {
    std::vector<TCanvas> frames;
    for (int f = 0; f < 10; ++f) {
        frames.emplace_back(140, 82);
        TCanvas& c = frames.back();
        cairo_t* cr = c.Cr();
        const double cx = 52, cy = 40, r = 28;
        BallShadow(cr, cx, cy + r, r, 0.5);
        TBallPaint paint = BallPaintFor(2);
        paint.Symbol = nullptr;
        TBallPose pose{cx, cy, r};
        RenderSphere(c, paint, pose);
        // Face: sad brows, closed eyes, a small frown.
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, 2.4);
        cairo_set_source_rgba(cr, 0.05, 0.05, 0.2, 0.85);
        for (int side = -1; side <= 1; side += 2) {
            cairo_new_path(cr);
            cairo_arc(cr, cx + side * 10, cy + 2, 5, 0.3 * kPi, 0.7 * kPi);
            cairo_stroke(cr);
            cairo_move_to(cr, cx + side * 5, cy - 9);
            cairo_line_to(cr, cx + side * 14, cy - 6);
            cairo_stroke(cr);
        }
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy + 21, 7, 1.25 * kPi, 1.75 * kPi);
        cairo_stroke(cr);
        // Tears: one from each eye, at different phases.
        for (int side = -1; side <= 1; side += 2) {
            const double t = std::fmod(f / 10.0 + (side > 0 ? 0.5 : 0.0), 1.0);
            const double x = cx + side * 12, y = cy + 8 + t * 34;
            const double a = t < 0.8 ? 1.0 : (1 - t) * 5;
            cairo_new_path(cr);
            cairo_move_to(cr, x, y - 5);
            cairo_curve_to(cr, x + 1, y - 2, x + 3.5, y, x + 3.5, y + 2);
            cairo_arc(cr, x, y + 2, 3.5, 0, kPi);
            cairo_curve_to(cr, x - 3.5, y, x - 1, y - 2, x, y - 5);
            cairo_pattern_t* g = cairo_pattern_create_radial(x - 1, y, 0.5, x, y + 1, 4.5);
            AddStop(g, 0, {1, 1, 1}, a);
            AddStop(g, 1, Rgb(0x7FD8FF), a * 0.9);
            cairo_set_source(cr, g);
            cairo_fill(cr);
            cairo_pattern_destroy(g);
        }
        // A small rain cloud.
        const double drift = std::sin(f / 10.0 * 2 * kPi) * 2;
        cairo_new_path(cr);
        cairo_arc(cr, 100 + drift, 22, 10, 0, 2 * kPi);
        cairo_arc(cr, 113 + drift, 16, 12, 0, 2 * kPi);
        cairo_arc(cr, 126 + drift, 23, 9, 0, 2 * kPi);
        cairo_rectangle(cr, 100 + drift, 22, 26, 10);
        SetSource(cr, Rgb(0x9AA0C8), 0.9);
        cairo_fill(cr);
        for (int d = 0; d < 3; ++d) {
            const double t = std::fmod(f / 10.0 + d / 3.0, 1.0);
            const double x = 103 + d * 10 + drift - t * 3, y = 36 + t * 36;
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x - 2, y + 6);
        }
        cairo_set_line_width(cr, 1.6);
        SetSource(cr, Rgb(0x7FD8FF), 0.8);
        cairo_stroke(cr);
    }
    set.AddFrames("graphics/cry.tga", frames, 1);
}

// The name-entry picture, 2 frames at kMessagePicture: a laurel wreath round a gold star.
void MakeLaurel(TPictureSet& set) {
    std::vector<TCanvas> frames;
    for (int f = 0; f < 2; ++f) {
        frames.emplace_back(60, 60);
        cairo_t* cr = frames.back().Cr();
        const double cx = 30, cy = 31;
        for (int side = -1; side <= 1; side += 2)
            for (int i = 0; i < 6; ++i) {
                const double a = kPi / 2 + side * (0.45 + i * 0.38);
                const double x = cx + std::cos(a) * 22, y = cy + std::sin(a) * 22;
                cairo_save(cr);
                cairo_translate(cr, x, y);
                cairo_rotate(cr, a + side * kPi / 2 + side * 0.5);
                cairo_scale(cr, 1, 0.45);
                cairo_arc(cr, 0, 0, 6, 0, 2 * kPi);
                cairo_restore(cr);
                SetSource(cr, Mix(Rgb(0x5CD06A), Rgb(0xC8F0A0), i / 6.0));
                cairo_fill(cr);
            }
        Glow(cr, cx, cy, 20, ui::kGold, f == 0 ? 0.35 : 0.6);
        StarPath(cr, cx, cy + 1, 13, 5.5, 5, -kPi / 2);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, cy - 13, 0, cy + 13);
        AddStop(g, 0, Rgb(0xFFF4B8));
        AddStop(g, 1, Rgb(0xF0A820));
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        cairo_set_line_width(cr, 1);
        SetSource(cr, Rgb(0x8A5A10));
        cairo_stroke(cr);
        if (f == 1) Twinkle(cr, cx + 8, cy - 9, 9, 0.2, 1.0);
    }
    set.AddFrames("graphics/lau.tga", frames, 1);
}

} // namespace

TCanvas MakeIcon(int size) {
    TCanvas c(size, size);
    cairo_t* cr = c.Cr();
    const double s = size / 64.0;
    RoundedRect(cr, 2 * s, 2 * s, 60 * s, 60 * s, 13 * s);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, size);
    AddStop(g, 0, Rgb(0x3A2C9E));
    AddStop(g, 1, Rgb(0x120C3A));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    // A V holding a ball.
    cairo_new_path(cr);
    cairo_move_to(cr, 10 * s, 22 * s);
    cairo_line_to(cr, 24 * s, 22 * s);
    cairo_line_to(cr, 32 * s, 44 * s);
    cairo_line_to(cr, 40 * s, 22 * s);
    cairo_line_to(cr, 54 * s, 22 * s);
    cairo_line_to(cr, 38 * s, 56 * s);
    cairo_line_to(cr, 26 * s, 56 * s);
    cairo_close_path(cr);
    cairo_pattern_t* v = cairo_pattern_create_linear(0, 22 * s, 0, 56 * s);
    AddStop(v, 0, Rgb(0xE9E2FF));
    AddStop(v, 1, Rgb(0x8A6CFF));
    cairo_set_source(cr, v);
    cairo_fill(cr);
    cairo_pattern_destroy(v);
    Glow(cr, 32 * s, 20 * s, 18 * s, Rgb(0xB07CFF), 0.5);
    TBallPaint paint = BallPaintFor(kBallColour - 1);
    paint.Symbol = nullptr;
    TBallPose pose{32 * s, 20 * s, 12 * s};
    RenderSphere(c, paint, pose);
    return c;
}

namespace {

std::string Hex(const TRgb& c) {
    char out[8];
    const auto byte = [](double v) {
        return static_cast<int>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
    };
    std::snprintf(out, sizeof out, "#%02X%02X%02X", byte(c.R), byte(c.G), byte(c.B));
    return out;
}

} // namespace

// The vector twin of MakeIcon: the tile, the V, the glow and the ball as gradients, with the
// ball's specular highlight as a soft white ellipse.
std::string IconSvg() {
    const TRgb ball = BallColour(kBallColour);
    std::string s;
    s += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    s += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" height=\"64\" "
         "viewBox=\"0 0 64 64\">\n<defs>\n";
    s += "<linearGradient id=\"tile\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
         "<stop offset=\"0\" stop-color=\"#3A2C9E\"/><stop offset=\"1\" "
         "stop-color=\"#120C3A\"/></linearGradient>\n";
    s += "<linearGradient id=\"vee\" x1=\"0\" y1=\"0\" x2=\"0\" y2=\"1\">"
         "<stop offset=\"0\" stop-color=\"#E9E2FF\"/><stop offset=\"1\" "
         "stop-color=\"#8A6CFF\"/></linearGradient>\n";
    s += "<radialGradient id=\"glow\"><stop offset=\"0\" stop-color=\"#B07CFF\" "
         "stop-opacity=\"0.5\"/><stop offset=\"1\" stop-color=\"#B07CFF\" "
         "stop-opacity=\"0\"/></radialGradient>\n";
    s += "<radialGradient id=\"ball\" cx=\"0.38\" cy=\"0.32\" r=\"0.75\">"
         "<stop offset=\"0\" stop-color=\"" +
         Hex(Lighter(ball, 0.55)) +
         "\"/>"
         "<stop offset=\"0.45\" stop-color=\"" +
         Hex(ball) +
         "\"/>"
         "<stop offset=\"1\" stop-color=\"" +
         Hex(Darker(ball, 0.6)) + "\"/></radialGradient>\n";
    s += "</defs>\n";
    s += "<rect x=\"2\" y=\"2\" width=\"60\" height=\"60\" rx=\"13\" fill=\"url(#tile)\"/>\n";
    s += "<path d=\"M10 22H24L32 44L40 22H54L38 56H26Z\" fill=\"url(#vee)\"/>\n";
    s += "<circle cx=\"32\" cy=\"20\" r=\"18\" fill=\"url(#glow)\"/>\n";
    s += "<circle cx=\"32\" cy=\"20\" r=\"12\" fill=\"url(#ball)\"/>\n";
    s += "<ellipse cx=\"28.5\" cy=\"15\" rx=\"3.5\" ry=\"2.4\" fill=\"#FFFFFF\" "
         "fill-opacity=\"0.6\"/>\n";
    s += "</svg>\n";
    return s;
}

void MakeLogo(TPictureSet& set) {
    MakeLetterLayers(set);
    MakeWords(set);
    MakeFlare(set);
    MakeShine(set);
    MakeSmallLogo(set);
    MakeCry(set);
    MakeLaurel(set);
}

} // namespace artgen
