#include "tools/artgen/Screens.h"

#include "layout/Layout.h"
#include "tools/artgen/Palette.h"
#include "tools/artgen/Sphere.h"
#include "tools/artgen/Translations.h"

#include <cmath>
#include <string>
#include <vector>

namespace artgen {

void PaintBackdrop(TCanvas& canvas, unsigned seed) {
    cairo_t* cr = canvas.Cr();
    const double w = canvas.Width(), h = canvas.Height();
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, w * 0.3, h);
    AddStop(g, 0, ui::kBackTop);
    AddStop(g, 1, ui::kBackBottom);
    cairo_set_source(cr, g);
    cairo_paint(cr);
    cairo_pattern_destroy(g);
    // Two large coloured washes.
    Glow(cr, w * 0.72, h * 0.28, w * 0.6, Rgb(0x5A2FB0), 0.35);
    Glow(cr, w * 0.12, h * 0.85, w * 0.5, Rgb(0x1E4FB0), 0.25);
    // Soft bokeh lights, drawn on a separate layer and blurred.
    TCanvas lights(canvas.Width(), canvas.Height());
    TRng rng(seed);
    for (int i = 0; i < 38; ++i) {
        const double x = rng.Range(0, w), y = rng.Range(0, h), r = rng.Range(6, 34);
        const TRgb c = Mix(Rgb(0x7A5CFF), Rgb(0x47C8FF), rng.Uniform());
        cairo_arc(lights.Cr(), x, y, r, 0, 2 * kPi);
        SetSource(lights.Cr(), c, rng.Range(0.04, 0.12));
        cairo_fill(lights.Cr());
    }
    Blur(lights, 3);
    canvas.Paint(lights, 0, 0);
    // Vignette.
    cairo_pattern_t* v =
        cairo_pattern_create_radial(w / 2, h / 2, h * 0.35, w / 2, h / 2, w * 0.75);
    cairo_pattern_add_color_stop_rgba(v, 0, 0, 0, 0.03, 0);
    cairo_pattern_add_color_stop_rgba(v, 1, 0, 0, 0.03, 0.55);
    cairo_set_source(cr, v);
    cairo_paint(cr);
    cairo_pattern_destroy(v);
}

namespace {

void AddQuadrants(TPictureSet& set, const std::string& file, TCanvas&& picture) {
    std::vector<TCanvas> frames;
    for (int q = 0; q < 4; ++q) {
        TCanvas f(400, 300);
        cairo_set_operator(f.Cr(), CAIRO_OPERATOR_SOURCE);
        f.Paint(picture, -(q % 2) * 400.0, -(q / 2) * 300.0);
        frames.push_back(std::move(f));
    }
    set.AddFrames(file, frames, 2);
}

// A recessed panel: dark glass with a bright lower rim and a faint top line.
void Inset(cairo_t* cr, double x, double y, double w, double h, double r, double alpha) {
    RoundedRect(cr, x, y, w, h, r);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    AddStop(g, 0, Rgb(0x07051A), alpha);
    AddStop(g, 1, Rgb(0x141040), alpha);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    RoundedRect(cr, x + 0.5, y + 0.5, w - 1, h - 1, r);
    cairo_pattern_t* rim = cairo_pattern_create_linear(0, y, 0, y + h);
    AddStop(rim, 0, Rgb(0x000000), 0.5);
    AddStop(rim, 1, ui::kPanelEdge, 0.7);
    cairo_set_source(cr, rim);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_pattern_destroy(rim);
}

// A raised frame: a bevelled band around a rectangle.
void Frame(cairo_t* cr, double x, double y, double w, double h, double r, double band) {
    TRgb top = Rgb(0x5C4AC8), bottom = Rgb(0x1C1458);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y - band, 0, y + h + band);
    AddStop(g, 0, top);
    AddStop(g, 1, bottom);
    RoundedRect(cr, x - band, y - band, w + 2 * band, h + 2 * band, r + band);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    RoundedRect(cr, x - band + 0.5, y - band + 0.5, w + 2 * band - 1, h + 2 * band - 1, r + band);
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgba(cr, 0.8, 0.75, 1, 0.55);
    cairo_stroke(cr);
}

// The in-game background, around the places of the layout: the menu column on the left with
// the score panel, the field framed, the mode name's plaque under it and the preview tray.
// The word with a space between its letters (UTF-8 sequences kept whole).
std::string Spaced(const std::string& word) {
    std::string out;
    for (unsigned char c : word) {
        if (!out.empty() && (c & 0xC0) != 0x80) out += ' ';
        out += static_cast<char>(c);
    }
    return out;
}

void MakeIngame(TPictureSet& set) {
    TCanvas c(800, 600);
    PaintBackdrop(c, 11);
    cairo_t* cr = c.Cr();
    // Menu column.
    {
        TCanvas sh(800, 600);
        RoundedRect(sh.Cr(), 52, 22, 182, 560, 18);
        cairo_set_source_rgba(sh.Cr(), 0, 0, 0.05, 0.6);
        cairo_fill(sh.Cr());
        Blur(sh, 5);
        c.Paint(sh, 2, 4);
    }
    RoundedRect(cr, 52, 20, 182, 560, 18);
    cairo_pattern_t* col = cairo_pattern_create_linear(0, 20, 0, 580);
    AddStop(col, 0, Rgb(0x2C2278), 0.85);
    AddStop(col, 1, Rgb(0x140E42), 0.85);
    cairo_set_source(cr, col);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(col);
    cairo_set_line_width(cr, 1.5);
    SetSource(cr, ui::kPanelEdge, 0.6);
    cairo_stroke(cr);
    // The mode buttons hang from a thin rail under New Game, a tick at the middle of each.
    const TButtonPlace& newGame = kButtonPlaces[btnNewGame];
    const TButtonPlace& kids = kButtonPlaces[btnKids];
    const double modeMiddle = 12.5; // half a mode button's height
    const double rail = kids.X - 9.5;
    cairo_set_line_width(cr, 1);
    SetSource(cr, ui::kPanelEdge, 0.45);
    cairo_move_to(cr, rail, newGame.Y + 29);
    cairo_line_to(cr, rail, kButtonPlaces[btnKids + 2].Y + 12);
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) {
        cairo_move_to(cr, rail, kButtonPlaces[btnKids + i].Y + modeMiddle);
        cairo_line_to(cr, kids.X - 1, kButtonPlaces[btnKids + i].Y + modeMiddle);
    }
    cairo_stroke(cr);
    // Score panel: label above the red figures the game writes at kScore.
    Inset(cr, kScore.X - 72, kScore.Y - 24, 146, 54, 12, 0.9);
    SetFont(cr, TFace::Bold, 10);
    const std::string score = Spaced(Tr("Game.Score"));
    if (TextWidth(cr, score) > 136) set.NoteMisfit(CurrentLanguage() + " ingame: " + score);
    LabelCentred(cr, score, kScore.X + 1, kScore.Y - 8, ui::kTextDim, 0.9, 0);
    Glow(cr, kScore.X + 1, kScore.Y + 12, 60, Rgb(0xFF3040), 0.08);
    // Thin separators above the game buttons and above the screen buttons.
    cairo_pattern_t* sep = cairo_pattern_create_linear(70, 0, 216, 0);
    AddStop(sep, 0, ui::kPanelEdge, 0);
    AddStop(sep, 0.5, ui::kPanelEdge, 0.6);
    AddStop(sep, 1, ui::kPanelEdge, 0);
    cairo_set_source(cr, sep);
    cairo_rectangle(cr, 70, newGame.Y - 12, 146, 1);
    cairo_rectangle(cr, 70, kButtonPlaces[btnOptions].Y - 6, 146, 1);
    cairo_fill(cr);
    cairo_pattern_destroy(sep);
    // Field frame and well round the cells.
    const int fieldSide = kFieldCells * kCellPitch;
    {
        TCanvas sh(800, 600);
        RoundedRect(sh.Cr(), kFieldLeft - 14, kFieldTop - 12, fieldSide + 28, fieldSide + 26, 16);
        cairo_set_source_rgba(sh.Cr(), 0, 0, 0.05, 0.65);
        cairo_fill(sh.Cr());
        Blur(sh, 6);
        c.Paint(sh, 3, 5);
    }
    const int well = kFieldWell;
    Frame(cr, kFieldLeft - well, kFieldTop - well, fieldSide + 2 * well, fieldSide + 2 * well, 8,
          kFieldFrameBand);
    Inset(cr, kFieldLeft - well, kFieldTop - well, fieldSide + 2 * well, fieldSide + 2 * well, 8,
          0.95);
    // Bottom panel: the mode name's plaque and the preview tray, from 92 pixels left of the
    // first well's centre to 34 right of the last one's.
    Frame(cr, kModeName.X - 68, kModeName.Y - 2, 136, 20, 10, 2);
    Inset(cr, kModeName.X - 68, kModeName.Y - 2, 136, 20, 9, 0.9);
    const int trayLeft = kPreviewCentreX - 92, trayTop = kPreviewCentreY - 26;
    const int trayWidth = 92 + (kPreviewSlots - 1) * kCellPitch + 34;
    Frame(cr, trayLeft, trayTop, trayWidth, 54, 14, 4);
    Inset(cr, trayLeft, trayTop, trayWidth, 54, 13, 0.92);
    // Between the tray's rounded end and the first well, 10 pixels clear of the end's inner edge
    // and 6 of the well, so that no word touches either.
    const double nextLeft = trayLeft + 10, nextRight = kPreviewCentreX - 22 - 6;
    SetFontToFit(cr, TFace::Bold, Tr("Game.Next"), 11, 8, nextRight - nextLeft);
    if (TextWidth(cr, Tr("Game.Next")) > nextRight - nextLeft)
        set.NoteMisfit(CurrentLanguage() + " ingame: " + Tr("Game.Next"));
    LabelCentred(cr, Tr("Game.Next"), (nextLeft + nextRight) / 2, kPreviewCentreY + 5, ui::kTextDim,
                 0.95, 0);
    for (int k = 0; k < kPreviewSlots; ++k) {
        const double x = kPreviewCentreX + kCellPitch * k, y = kPreviewCentreY;
        cairo_arc(cr, x, y, 22, 0, 2 * kPi);
        cairo_pattern_t* well = cairo_pattern_create_radial(x, y - 6, 4, x, y, 22);
        AddStop(well, 0, Rgb(0x2A2270), 0.9);
        AddStop(well, 1, Rgb(0x0A0826), 0.9);
        cairo_set_source(cr, well);
        cairo_fill(cr);
        cairo_pattern_destroy(well);
        cairo_arc(cr, x, y, 22, 0, 2 * kPi);
        cairo_set_line_width(cr, 1);
        SetSource(cr, ui::kPanelEdge, 0.5);
        cairo_stroke(cr);
    }
    AddQuadrants(set, "graphics/ingame.tga", std::move(c));
}

// Field cells: 0 overlay of a plain cell, 1 the path highlight, 2 the unreachable target, 3 the
// empty cell drawn under everything; 0..2 are blended over 3.
void MakeField(TPictureSet& set) {
    std::vector<TCanvas> frames;
    frames.reserve(4);
    for (int i = 0; i < 4; ++i) frames.emplace_back(51, 51);
    {
        cairo_t* cr = frames[3].Cr();
        RoundedRect(cr, 1, 1, 49, 49, 7);
        cairo_pattern_t* g = cairo_pattern_create_radial(25.5, 20, 4, 25.5, 25.5, 36);
        AddStop(g, 0, Rgb(0x2B2377), 0.95);
        AddStop(g, 1, Rgb(0x161046), 0.95);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        // Bevel: dark top-left inner edge, light bottom-right one.
        RoundedRect(cr, 1.5, 1.5, 48, 48, 6.5);
        cairo_pattern_t* b = cairo_pattern_create_linear(0, 0, 51, 51);
        AddStop(b, 0, Rgb(0x05030F), 0.7);
        AddStop(b, 0.5, Rgb(0x05030F), 0.0);
        AddStop(b, 1, Rgb(0x9D8CFF), 0.45);
        cairo_set_source(cr, b);
        cairo_set_line_width(cr, 1.2);
        cairo_stroke(cr);
        cairo_pattern_destroy(b);
    }
    {
        cairo_t* cr = frames[0].Cr(); // a faint sheen: the glass of the board
        RoundedRect(cr, 3, 3, 45, 45, 6);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 3, 0, 30);
        cairo_pattern_add_color_stop_rgba(g, 0, 1, 1, 1, 0.06);
        cairo_pattern_add_color_stop_rgba(g, 1, 1, 1, 1, 0);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    {
        cairo_t* cr = frames[1].Cr(); // the path: a glowing cyan tile
        RoundedRect(cr, 2, 2, 47, 47, 7);
        cairo_pattern_t* g = cairo_pattern_create_radial(25.5, 25.5, 3, 25.5, 25.5, 32);
        AddStop(g, 0, ui::kAccent, 0.45);
        AddStop(g, 1, ui::kAccent, 0.12);
        cairo_set_source(cr, g);
        cairo_fill_preserve(cr);
        cairo_pattern_destroy(g);
        cairo_set_line_width(cr, 1.5);
        SetSource(cr, ui::kAccent, 0.85);
        cairo_stroke(cr);
        Glow(cr, 25.5, 25.5, 7, {1, 1, 1}, 0.5);
    }
    {
        cairo_t* cr = frames[2].Cr(); // unreachable: a red tile with a cross
        RoundedRect(cr, 2, 2, 47, 47, 7);
        SetSource(cr, Rgb(0xFF3A4A), 0.2);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1.5);
        SetSource(cr, Rgb(0xFF5A64), 0.85);
        cairo_stroke(cr);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_set_line_width(cr, 4);
        SetSource(cr, Rgb(0xFF5A64), 0.9);
        cairo_move_to(cr, 17, 17);
        cairo_line_to(cr, 34, 34);
        cairo_move_to(cr, 34, 17);
        cairo_line_to(cr, 17, 34);
        cairo_stroke(cr);
    }
    set.AddFrames("graphics/field.tga", frames, 5);
}

// The background of the logo and loading screens (JPEG, no alpha).
void MakeBackground(TPictureSet& set) {
    TCanvas c(800, 600);
    PaintBackdrop(c, 5);
    // A faint field of resting balls far below, out of focus.
    TCanvas balls(800, 600);
    for (int i = 0; i < 9; ++i) {
        const double x = 110 + i * 72, y = 520 + (i % 2) * 14;
        Glow(balls.Cr(), x, y, 30, BallColour(i % 7 + 1), 0.25);
    }
    Blur(balls, 4);
    c.Paint(balls, 0, 0);
    AddQuadrants(set, "graphics/background.jpg", std::move(c));
}

// The backdrop of the logo and loading screens, over the background: a halo behind the logo and
// the trough of the progress bar, 6 pixels round the bar at kProgressBar.
void MakeLoadingElement(TPictureSet& set) {
    TCanvas c(800, 600);
    cairo_t* cr = c.Cr();
    Glow(cr, 400, 215, 260, Rgb(0x6A4CFF), 0.35);
    Glow(cr, 400, 215, 140, Rgb(0x9FD8FF), 0.12);
    // Rays behind the logo.
    cairo_save(cr);
    cairo_translate(cr, 400, 215);
    for (int i = 0; i < 16; ++i) {
        cairo_rotate(cr, 2 * kPi / 16);
        cairo_move_to(cr, 0, 0);
        cairo_line_to(cr, 330, -22);
        cairo_line_to(cr, 330, 22);
        cairo_close_path(cr);
    }
    cairo_pattern_t* rays = cairo_pattern_create_radial(0, 0, 20, 0, 0, 330);
    cairo_pattern_add_color_stop_rgba(rays, 0, 0.7, 0.6, 1, 0.10);
    cairo_pattern_add_color_stop_rgba(rays, 1, 0.7, 0.6, 1, 0);
    cairo_set_source(cr, rays);
    cairo_fill(cr);
    cairo_pattern_destroy(rays);
    cairo_restore(cr);
    Inset(cr, kProgressBar.X - 6, kProgressBar.Y - 5, kProgressBarWidth + 12, 22, 11, 0.85);
    SetFont(cr, TFace::Regular, 12);
    LabelCentred(cr, Tr("Game.Loading"), kPictureWidth / 2, kProgressBar.Y + 38, ui::kTextDim, 0.9,
                 0.5);
    AddQuadrants(set, "graphics/loading_element.tga", std::move(c));
}

// The progress bar, revealed from the left: a glowing cyan-to-violet capsule.
void MakeStatusLine(TPictureSet& set) {
    TCanvas c(kProgressBarWidth, 16);
    cairo_t* cr = c.Cr();
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, kProgressBarWidth, 0);
    AddStop(g, 0, Rgb(0x3FD6FF));
    AddStop(g, 1, Rgb(0xA66BFF));
    RoundedRect(cr, 1, 2, 226, 12, 6);
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    RoundedRect(cr, 4, 3.5, 220, 4, 2);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
    cairo_fill(cr);
    set.AddWhole("graphics/statusline.tga", std::move(c));
}

// The explosion, drawn additively (black is transparent): a hot core and a ring of sparks.
void MakeExplosion(TPictureSet& set) {
    TCanvas c(128, 128);
    cairo_t* cr = c.Cr();
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ADD);
    Glow(cr, 64, 64, 62, Rgb(0xFF5A10), 0.8);
    Glow(cr, 64, 64, 38, Rgb(0xFFB040), 0.9);
    Glow(cr, 64, 64, 18, Rgb(0xFFFFE0), 1.0);
    TRng rng(3);
    for (int i = 0; i < 28; ++i) {
        const double a = rng.Range(0, 2 * kPi), d = rng.Range(20, 56);
        Glow(cr, 64 + std::cos(a) * d, 64 + std::sin(a) * d, rng.Range(3, 7), Rgb(0xFFD080), 0.9);
    }
    set.AddWhole("graphics/explosion.bmp", std::move(c));
}

} // namespace

void MakeWordScreens(TPictureSet& set) {
    MakeLoadingElement(set);
    MakeIngame(set);
}

void MakeScreens(TPictureSet& set) {
    MakeBackground(set);
    MakeWordScreens(set);
    MakeStatusLine(set);
    MakeField(set);
    MakeExplosion(set);
}

} // namespace artgen
