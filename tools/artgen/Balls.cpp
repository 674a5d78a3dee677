#include "tools/artgen/Balls.h"

#include "render/Catalogue.h"

#include "tools/artgen/Palette.h"
#include "tools/artgen/Sphere.h"

#include <cmath>
#include <string>
#include <vector>

namespace artgen {

namespace {

const std::string kDir = "graphics/balls/";
constexpr double kR = 17.0; // ball radius in the 52-pixel cells

bool IsPaint(int k) {
    return k >= 11 && k <= 17;
}

// Small glossy drops of paint beside a paint ball.
void PaintDrops(cairo_t* cr, const TRgb& c, double cx, double cy, double r) {
    struct TDrop {
        double Dx, Dy, R;
    };
    const TDrop drops[] = {{0.98, 0.78, 0.17}, {1.22, 0.42, 0.11}, {0.55, 1.12, 0.12}};
    for (const TDrop& d : drops) {
        const double x = cx + d.Dx * r, y = cy + d.Dy * r, rr = d.R * r;
        cairo_pattern_t* g =
            cairo_pattern_create_radial(x - rr * 0.4, y - rr * 0.4, rr * 0.1, x, y, rr);
        AddStop(g, 0, Lighter(c, 0.7));
        AddStop(g, 0.5, c);
        AddStop(g, 1, Darker(c, 0.35));
        cairo_set_source(cr, g);
        cairo_new_path(cr);
        cairo_arc(cr, x, y, rr, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
}

void MultiplierFigure(cairo_t* cr, int factor, double cx, double cy, double r) {
    const std::string text = std::string("x").append(std::to_string(factor));
    SetFont(cr, TFace::Bold, r * 0.92);
    cairo_text_extents_t e;
    cairo_text_extents(cr, text.c_str(), &e);
    const double x = cx - e.width / 2 - e.x_bearing, y = cy - e.height / 2 - e.y_bearing;
    cairo_new_path(cr);
    TextPath(cr, text, x, y);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_source_rgba(cr, 0.12, 0.04, 0.22, 0.85);
    cairo_set_line_width(cr, r * 0.16);
    cairo_stroke_preserve(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_fill(cr);
}

} // namespace

void DrawBomb(TCanvas& canvas, double cx, double cy, double r, double spark, double heat) {
    cairo_t* cr = canvas.Cr();
    BallShadow(cr, cx, cy + r, r, 0.5);
    // Fuse: from the cap towards the upper right.
    const double capX = cx + r * 0.42, capY = cy - r * 0.86;
    const double endX = cx + r * 0.95, endY = cy - r * 1.28;
    TBallPaint body = BallPaintFor(21);
    TBallPose pose{cx, cy, r};
    RenderSphere(canvas, body, pose);
    // Cap: a short metal collar tilted with the fuse.
    cairo_save(cr);
    cairo_translate(cr, capX, capY);
    cairo_rotate(cr, 0.45);
    cairo_pattern_t* metal = cairo_pattern_create_linear(-r * 0.3, 0, r * 0.3, 0);
    AddStop(metal, 0, Rgb(0x5A5670));
    AddStop(metal, 0.4, Rgb(0xD8D4EA));
    AddStop(metal, 1, Rgb(0x4A465E));
    cairo_set_source(cr, metal);
    RoundedRect(cr, -r * 0.3, -r * 0.2, r * 0.6, r * 0.36, r * 0.08);
    cairo_fill(cr);
    cairo_pattern_destroy(metal);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_move_to(cr, capX + r * 0.05, capY - r * 0.1);
    cairo_curve_to(cr, capX + r * 0.2, capY - r * 0.45, endX - r * 0.35, endY + r * 0.05, endX,
                   endY);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, r * 0.14);
    SetSource(cr, Rgb(0xC9A66B));
    cairo_stroke_preserve(cr);
    cairo_set_line_width(cr, r * 0.05);
    SetSource(cr, Rgb(0x7A5A30), 0.8);
    const double dash[2] = {r * 0.08, r * 0.08};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    // Spark: a flickering twinkle with an orange glow and a few flying embers.
    const double flicker = 0.75 + 0.25 * std::sin(spark * 2 * kPi * 3) * std::cos(spark * 2 * kPi);
    const double size = r * (0.42 + 0.28 * heat) * flicker;
    Glow(cr, endX, endY, size * 1.6, Rgb(0xFF8A20), 0.55 + 0.3 * heat);
    Twinkle(cr, endX, endY, size, spark * kPi, 1.0);
    TRng rng(7);
    for (int i = 0; i < 3 + static_cast<int>(heat * 4); ++i) {
        const double a = rng.Range(-2.6, -0.2), speed = rng.Range(0.5, 1.0);
        const double t = std::fmod(spark + rng.Uniform(), 1.0);
        const double ex = endX + std::cos(a) * t * size * 2.2 * speed;
        const double ey = endY + std::sin(a) * t * size * 2.2 * speed;
        Glow(cr, ex, ey, r * 0.12 * (1.2 - t), Rgb(0xFFD070), 0.9 * (1 - t));
    }
}

void DrawBall(TCanvas& canvas, int picture, double cx, double cy, double r, double shine,
              double spin, double spark, bool clearSymbols) {
    if (picture == 21) {
        DrawBomb(canvas, cx, cy + r * 0.12, r * 0.86, spark, 0.0);
        return;
    }
    cairo_t* cr = canvas.Cr();
    BallShadow(cr, cx, cy + r, r, 0.5);
    TBallPaint paint = BallPaintFor(picture, clearSymbols);
    TBallPose pose{cx, cy, r};
    pose.Shine = shine;
    pose.Spin = spin;
    RenderSphere(canvas, paint, pose);
    if (IsPaint(picture)) PaintDrops(cr, BallColour(picture - 10), cx, cy, r);
    if (picture >= 18 && picture <= 20) MultiplierFigure(cr, (picture - 17) * 3, cx, cy, r);
}

} // namespace artgen

namespace artgen {

namespace {

std::string BallFile(int n, int set) {
    return kDir + std::to_string(n) + "_" + std::to_string(set) + ".tga";
}

// The file of ball k's set 0 or 1 in the look asked for.
std::string LookFile(int k, int set, bool clearSymbols) {
    const std::string file = BallFile(k + 1, set);
    return clearSymbols ? ClearSymbolsFile(file) : file;
}

// The ball centre inside a frame of the given file: the game centres every ball picture on the
// point (303 + 52 x + w0 / 2, 31 + 52 y + h0 / 2), w0 x h0 being the %d_0 pattern size, and the
// cell centre lies at (323 + 52 x, 51 + 52 y); the centre sits that far off the frame's middle.
void RestCentre(int k, int pw, int ph, double& cx, double& cy) {
    const bool paint = IsPaint(k);
    const double w0 = paint ? 44 : 40, h0 = paint ? 45 : 40;
    cx = pw / 2.0 - (std::floor(w0 / 2) - 20);
    cy = ph / 2.0 - (std::floor(h0 / 2) - 20);
}

void AddFrames(TPictureSet& set, const std::string& file, std::vector<TCanvas>& frames) {
    set.AddFrames(file, frames, AcrossFor(file));
}

// Where the sharp highlight of a ball of radius r sits.
void HighlightPoint(double cx, double cy, double r, double& x, double& y) {
    x = cx - 0.245 * r;
    y = cy - 0.36 * r;
}

// %d_0: frame 0 is the ball at rest; the hovered ball and the preview loop through all 26 with
// a slow highlight swell, a small wobble of the surface and a twinkle at the highlight.
void MakeRest(TPictureSet& set, int k, bool clearSymbols) {
    const std::string file = LookFile(k, 0, clearSymbols);
    std::vector<TCanvas> frames = FramesFor(file, 26);
    for (int f = 0; f < 26; ++f) {
        TCanvas& c = frames[static_cast<size_t>(f)];
        double cx = 0, cy = 0;
        RestCentre(k, c.Width(), c.Height(), cx, cy);
        const double t = f / 26.0;
        const double swell = 0.5 - 0.5 * std::cos(2 * kPi * t);
        DrawBall(c, k, cx, cy, kR, swell * 0.8, 0.35 * std::sin(2 * kPi * t), t, clearSymbols);
        if (k != 21 && f > 0) {
            double sx = 0, sy = 0;
            HighlightPoint(cx, cy, kR, sx, sy);
            Twinkle(c.Cr(), sx, sy, 9.0 * std::pow(std::sin(kPi * t), 2), t * kPi / 2, 1.0);
        }
    }
    AddFrames(set, file, frames);
}

// Lift (pixels) and squash of the selected ball's bounce at frame f of 0..25.
void BounceAt(int f, double hop, double& lift, double& sx, double& sy) {
    lift = 0;
    double stretch = 0;
    if (f < 15) {
        const double t = f / 15.0;
        lift = hop * 4 * t * (1 - t);
        stretch = 0.05 * std::abs(1 - 2 * t);
    } else if (f < 18) {
        const double squash[3] = {0.09, 0.13, 0.06};
        stretch = -squash[f - 15];
    } else if (f < 24) {
        const double t = (f - 18) / 6.0;
        lift = hop * 0.35 * 4 * t * (1 - t);
        stretch = 0.02 * std::abs(1 - 2 * t);
    }
    sy = 1 + stretch;
    sx = 1 / std::sqrt(sy) - (stretch < 0 ? stretch * 0.2 : 0);
}

// %d_1: the selected ball hops, squashes on landing, hops once more and settles; a halo in its
// colour marks the selection.
void MakeBounce(TPictureSet& set, int k, bool clearSymbols) {
    const std::string file = LookFile(k, 1, clearSymbols);
    std::vector<TCanvas> frames = FramesFor(file, 26);
    const bool paint = IsPaint(k);
    const double r = paint ? 17.0 : 16.5, hop = paint ? 6.0 : 4.0;
    const TRgb halo = k < 7 ? BallColour(k + 1) : (paint ? BallColour(k - 10) : Rgb(0xFFFFFF));
    for (int f = 0; f < 26; ++f) {
        TCanvas& c = frames[static_cast<size_t>(f)];
        double cx = 0, cy = 0;
        RestCentre(k, c.Width(), c.Height(), cx, cy);
        const double ground = cy + kR;
        double lift = 0, sx = 1, sy = 1;
        BounceAt(f, hop, lift, sx, sy);
        const double bcy = ground - lift - r * sy;
        cairo_t* cr = c.Cr();
        // Selection mark: a soft halo round the ball and a thin ring on the cell that pulses
        // once per bounce while the ball hops inside it.
        const double pulse = 0.5 + 0.5 * std::cos(2 * kPi * f / 25.0);
        Glow(cr, cx, bcy, r + 4.5, Lighter(halo, 0.3), 0.45);
        cairo_new_path(cr);
        cairo_arc(cr, cx, cy, r + 2.3, 0, 2 * kPi);
        cairo_set_line_width(cr, 1.2);
        SetSource(cr, Lighter(halo, 0.6), 0.3 + 0.4 * pulse);
        cairo_stroke(cr);
        if (k == 21) {
            DrawBomb(c, cx, bcy + 1.5, r * 0.86, f / 26.0, 0.3);
            continue;
        }
        BallShadow(cr, cx, ground, r * (1 - lift / 14), 0.5 * (1 - lift / 12));
        TBallPaint paintLook = BallPaintFor(k, clearSymbols);
        TBallPose pose{cx, bcy, r, sx, sy};
        pose.Shine = 0.3;
        RenderSphere(c, paintLook, pose);
        if (paint) PaintDrops(cr, BallColour(k - 10), cx, bcy, r);
        if (k >= 18 && k <= 20) MultiplierFigure(cr, (k - 17) * 3, cx, bcy, r);
    }
    AddFrames(set, file, frames);
}

// Bomb pictures: at rest (bomb_0), under the pointer (bomb_1, a livelier spark) and selected
// (bomb_2, a fierce spark and a shiver). The body sits on the same spot in all three.
void MakeBombs(TPictureSet& set) {
    {
        const std::string file = kDir + "bomb_0.tga";
        std::vector<TCanvas> frames = FramesFor(file, 26);
        for (int f = 0; f < 26; ++f) {
            TCanvas& c = frames[static_cast<size_t>(f)];
            DrawBomb(c, 20, 22.5, 14.6, f / 26.0, 0.0);
        }
        AddFrames(set, file, frames);
    }
    {
        const std::string file = kDir + "bomb_1.tga";
        std::vector<TCanvas> frames = FramesFor(file, 6);
        for (int f = 0; f < 6; ++f)
            DrawBomb(frames[static_cast<size_t>(f)], 20, 26.5, 14.6, f / 6.0, 0.6);
        AddFrames(set, file, frames);
    }
    {
        const std::string file = kDir + "bomb_2.tga";
        std::vector<TCanvas> frames = FramesFor(file, 6);
        const double shake[6] = {0, 0.8, -0.6, 0.5, -0.8, 0.3};
        for (int f = 0; f < 6; ++f) {
            TCanvas& c = frames[static_cast<size_t>(f)];
            const double pulse = 0.5 + 0.5 * std::cos(2 * kPi * f / 6.0);
            Glow(c.Cr(), 20, 42.5, 20, Rgb(0xFF5A3C), 0.35 + 0.3 * pulse);
            DrawBomb(c, 20 + shake[f], 42.5, 14.6, f / 6.0, 1.0);
        }
        AddFrames(set, file, frames);
    }
}

// %d_2: a twinkle drifts over the highlight, grows and fades.
void MakeSparkleTwinkle(TPictureSet& set, int colour) {
    const std::string file = BallFile(colour, 2);
    std::vector<TCanvas> frames = FramesFor(file, 36);
    const TRgb tint = Lighter(BallColour(colour), 0.4);
    for (int f = 0; f < 36; ++f) {
        TCanvas& c = frames[static_cast<size_t>(f)];
        const double t = f / 36.0, cx = 22, cy = 21;
        const double a = -2.7 + 1.6 * t;
        const double x = cx + std::cos(a) * kR * 0.62, y = cy + std::sin(a) * kR * 0.62;
        const double size = 8.5 * std::pow(std::sin(kPi * t), 1.5);
        Glow(c.Cr(), x, y, size * 1.3, tint, 0.45);
        Twinkle(c.Cr(), x, y, size, t * kPi * 0.75, 1.0);
    }
    AddFrames(set, file, frames);
}

// %d_3: a band of light sweeps across the ball, then a pause.
void MakeSparkleSweep(TPictureSet& set, int colour) {
    const std::string file = BallFile(colour, 3);
    std::vector<TCanvas> frames = FramesFor(file, 44);
    for (int f = 0; f < 44; ++f) {
        TCanvas& c = frames[static_cast<size_t>(f)];
        if (f >= 30) continue;
        cairo_t* cr = c.Cr();
        const double cx = 20, cy = 20, p = (-1.5 + 3.0 * f / 29.0) * kR;
        cairo_save(cr);
        cairo_arc(cr, cx, cy, kR - 0.3, 0, 2 * kPi);
        cairo_clip(cr);
        cairo_translate(cr, cx, cy);
        cairo_rotate(cr, -kPi / 4);
        cairo_pattern_t* g = cairo_pattern_create_linear(p - 7, 0, p + 7, 0);
        AddStop(g, 0, {1, 1, 1}, 0);
        AddStop(g, 0.5, {1, 1, 1}, 0.42);
        AddStop(g, 1, {1, 1, 1}, 0);
        cairo_set_source(cr, g);
        cairo_paint(cr);
        cairo_pattern_destroy(g);
        cairo_restore(cr);
    }
    AddFrames(set, file, frames);
}

// %d_4: three sparks circle the ball on a tilted orbit, hidden while behind it.
void MakeSparkleOrbit(TPictureSet& set, int colour) {
    const std::string file = BallFile(colour, 4);
    std::vector<TCanvas> frames = FramesFor(file, 54);
    const TRgb tint = Lighter(BallColour(colour), 0.5);
    for (int f = 0; f < 54; ++f) {
        TCanvas& c = frames[static_cast<size_t>(f)];
        const double cx = 24, cy = 20.5;
        for (int s = 0; s < 3; ++s) {
            const double a = 2 * kPi * (f / 54.0 + s / 3.0);
            const double ox = std::cos(a) * 20.5, oy = std::sin(a) * 6.0;
            const double x = cx + ox * std::cos(-0.35) - oy * std::sin(-0.35);
            const double y = cy + ox * std::sin(-0.35) + oy * std::cos(-0.35);
            const bool behind = std::sin(a) < 0 && std::hypot(x - cx, y - cy) < kR + 1;
            if (behind) continue;
            const double size = 3.2 + 1.2 * std::sin(a);
            Glow(c.Cr(), x, y, size * 1.6, tint, 0.6);
            Twinkle(c.Cr(), x, y, size + 1, a, 0.95);
        }
    }
    AddFrames(set, file, frames);
}

// %d_5: the highlight glitters between two brightnesses.
void MakeSparkleGlitter(TPictureSet& set, int colour) {
    const std::string file = BallFile(colour, 5);
    std::vector<TCanvas> frames = FramesFor(file, 2);
    double sx = 0, sy = 0;
    HighlightPoint(20, 20, kR, sx, sy);
    Glow(frames[0].Cr(), sx, sy, 5, {1, 1, 1}, 0.25);
    Glow(frames[1].Cr(), sx, sy, 6.5, {1, 1, 1}, 0.45);
    Twinkle(frames[1].Cr(), sx, sy, 4.5, 0.3, 0.8);
    AddFrames(set, file, frames);
}

// An irregular paint blob of radius r with a glossy highlight.
void PaintBlob(cairo_t* cr, const TRgb& c, double cx, double cy, double r, double alpha,
               unsigned seed) {
    TRng rng(seed);
    const int lobes = 9;
    double radii[lobes];
    for (double& v : radii) v = r * rng.Range(0.78, 1.12);
    cairo_new_path(cr);
    for (int i = 0; i <= lobes; ++i) {
        const double a0 = 2 * kPi * i / lobes, a1 = 2 * kPi * (i + 0.5) / lobes;
        const double ra = radii[i % lobes], rb = (radii[i % lobes] + radii[(i + 1) % lobes]) * 0.42;
        if (i == 0)
            cairo_move_to(cr, cx + ra * std::cos(a0), cy + ra * std::sin(a0));
        else
            cairo_curve_to(cr, cx + rb * std::cos(a0 - 0.35) * 1.1,
                           cy + rb * std::sin(a0 - 0.35) * 1.1, cx + ra * std::cos(a0 - 0.1),
                           cy + ra * std::sin(a0 - 0.1), cx + ra * std::cos(a0),
                           cy + ra * std::sin(a0));
        (void)a1;
    }
    cairo_close_path(cr);
    cairo_pattern_t* g =
        cairo_pattern_create_radial(cx - r * 0.35, cy - r * 0.4, r * 0.05, cx, cy, r * 1.1);
    AddStop(g, 0, Lighter(c, 0.65), alpha);
    AddStop(g, 0.35, c, alpha);
    AddStop(g, 1, Darker(c, 0.3), alpha);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
}

// %d_6: drops of paint fly in, splash over the ball and melt away, revealing its new colour.
void MakePaintSplash(TPictureSet& set, int colour) {
    const std::string file = BallFile(colour, 6);
    std::vector<TCanvas> frames = FramesFor(file, 18);
    const TRgb c = BallColour(colour);
    const double cx = 20, cy = 20;
    for (int f = 0; f < 18; ++f) {
        cairo_t* cr = frames[static_cast<size_t>(f)].Cr();
        if (f < 6) {
            for (int d = 0; d < 5; ++d) {
                const double a = 2 * kPi * d / 5 + 0.4, t = f / 5.0;
                const double dist = 19 * (1 - t) + 3;
                PaintBlob(cr, c, cx + std::cos(a) * dist, cy + std::sin(a) * dist, 2 + 2.5 * t, 1.0,
                          static_cast<unsigned>(d + 1));
            }
        } else {
            const double t = (f - 6) / 11.0;
            const double r = 10 + 9 * std::min(1.0, t * 2.5);
            const double alpha = f < 10 ? 0.95 : 0.95 * (1 - (f - 10) / 8.0);
            PaintBlob(cr, c, cx, cy, r, alpha, 42);
            for (int d = 0; d < 6; ++d) {
                const double a = 2 * kPi * d / 6 + 0.9;
                const double dist = r + 1 + 3 * t;
                PaintBlob(cr, c, cx + std::cos(a) * dist, cy + std::sin(a) * dist,
                          1.6 * (1 - t * 0.5), alpha, static_cast<unsigned>(10 + d));
            }
        }
    }
    AddFrames(set, file, frames);
}

} // namespace

void MakeBalls(TPictureSet& set) {
    for (int k = 0; k < 22; ++k) {
        MakeRest(set, k, false);
        MakeBounce(set, k, false);
        if (HasClearSymbols(k)) {
            MakeRest(set, k, true);
            MakeBounce(set, k, true);
        }
    }
    MakeBombs(set);
    for (int colour = 1; colour <= kColours; ++colour) {
        MakeSparkleTwinkle(set, colour);
        MakeSparkleSweep(set, colour);
        MakeSparkleOrbit(set, colour);
        MakeSparkleGlitter(set, colour);
        MakePaintSplash(set, colour);
    }
}

} // namespace artgen
