#include "tools/artgen/Widgets.h"

#include "layout/Layout.h"
#include "tools/artgen/Effects.h"
#include "tools/artgen/Palette.h"
#include "tools/artgen/Translations.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace artgen {

namespace {

const std::string kButtons = "graphics/buttons/";

// Three-state picture: `draw` paints state s into a frame.
void MakeStates(TPictureSet& set, const std::string& file,
                const std::function<void(TCanvas&, int)>& draw) {
    std::vector<TCanvas> frames = FramesFor(file, 3);
    for (int s = 0; s < 3; ++s) draw(frames[static_cast<size_t>(s)], s);
    set.AddFrames(file, frames, 1);
}

TRgb StateText(int state) {
    return state == 1 ? Rgb(0xFFFFFF) : (state == 2 ? Rgb(0xFFE7A0) : ui::kText);
}

// A label wider than `room` does not fit where it is drawn.
void CheckFit(TPictureSet& set, cairo_t* cr, const std::string& file, const std::string& label,
              double room) {
    const double w = TextWidth(cr, label);
    if (w > room)
        set.NoteMisfit(CurrentLanguage() + " " + file + ": \"" + label + "\" is " +
                       std::to_string(static_cast<int>(w)) + " px wide, room for " +
                       std::to_string(static_cast<int>(room)));
}

void TextButton(TPictureSet& set, const std::string& name, const std::string& label, TFace face,
                double size) {
    MakeStates(set, kButtons + name, [&](TCanvas& c, int s) {
        cairo_t* cr = c.Cr();
        DrawButtonFace(cr, 1, 1, c.Width() - 2, c.Height() - 2, s);
        // The rounded ends and a little air on either side; a long word may shrink a little.
        SetFontToFit(cr, face, label, size, size * 0.8, c.Width() - 14);
        if (s == 0) CheckFit(set, cr, kButtons + name, label, c.Width() - 14);
        cairo_font_extents_t fe;
        cairo_font_extents(cr, &fe);
        const double base = c.Height() / 2.0 + (fe.ascent - fe.descent) / 2 - 0.5 + (s == 2);
        LabelCentred(cr, label, c.Width() / 2.0, base, StateText(s), 1.0, 0.8);
    });
}

} // namespace

void DrawButtonFace(cairo_t* cr, double x, double y, double w, double h, int state) {
    const double r = std::min(h / 2, 9.0);
    // Outer glow while hovered.
    if (state == 1) {
        for (int i = 3; i >= 1; --i) {
            RoundedRect(cr, x - i * 0.5 + 0.5, y - i * 0.5 + 0.5, w + i - 1, h + i - 1,
                        r + i * 0.5);
            SetSource(cr, ui::kAccent, 0.12);
            cairo_fill(cr);
        }
    }
    // Body: a vertical gradient of the button colour.
    TRgb top = Rgb(0x4E3FB8), bottom = Rgb(0x261B72);
    if (state == 1) top = Rgb(0x6A58E0), bottom = Rgb(0x33259A);
    if (state == 2) top = Rgb(0x1B1356), bottom = Rgb(0x3A2C9E);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    AddStop(g, 0, top);
    AddStop(g, 1, bottom);
    RoundedRect(cr, x, y, w, h, r);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    // Rim.
    cairo_set_line_width(cr, 1.0);
    SetSource(cr, state == 1 ? ui::kAccent : (state == 2 ? ui::kGold : ui::kPanelEdge),
              state == 0 ? 0.75 : 0.95);
    cairo_stroke(cr);
    // Glass: a soft sheen over the upper half (none while pressed).
    if (state != 2) {
        cairo_pattern_t* s = cairo_pattern_create_linear(0, y + 1, 0, y + h * 0.55);
        cairo_pattern_add_color_stop_rgba(s, 0, 1, 1, 1, state == 1 ? 0.34 : 0.24);
        cairo_pattern_add_color_stop_rgba(s, 1, 1, 1, 1, 0.02);
        RoundedRect(cr, x + 1.5, y + 1.5, w - 3, h * 0.5, r - 1.5);
        cairo_set_source(cr, s);
        cairo_fill(cr);
        cairo_pattern_destroy(s);
    } else {
        // Inner shadow along the top edge: the face sits lower.
        cairo_pattern_t* s = cairo_pattern_create_linear(0, y + 1, 0, y + 5);
        cairo_pattern_add_color_stop_rgba(s, 0, 0, 0, 0.05, 0.5);
        cairo_pattern_add_color_stop_rgba(s, 1, 0, 0, 0.05, 0);
        RoundedRect(cr, x + 1, y + 1, w - 2, h - 2, r - 1);
        cairo_set_source(cr, s);
        cairo_fill(cr);
        cairo_pattern_destroy(s);
    }
}

namespace {

// A round button with an arrow (high-score table paging).
void ArrowButton(TPictureSet& set, const std::string& name, bool right) {
    MakeStates(set, kButtons + name, [right](TCanvas& c, int s) {
        cairo_t* cr = c.Cr();
        const double cx = c.Width() / 2.0, cy = c.Height() / 2.0, r = c.Width() / 2.0 - 2;
        DrawButtonFace(cr, cx - r, cy - r, 2 * r, 2 * r, s);
        const double d = right ? 1 : -1, o = (s == 2) ? 1 : 0;
        cairo_new_path(cr);
        cairo_move_to(cr, cx + d * r * 0.5, cy + o);
        cairo_line_to(cr, cx - d * r * 0.3, cy - r * 0.5 + o);
        cairo_line_to(cr, cx - d * r * 0.3, cy + r * 0.5 + o);
        cairo_close_path(cr);
        SetSource(cr, StateText(s));
        cairo_fill(cr);
    });
}

// Small round plus and minus buttons beside the volume bars.
void StepButton(TPictureSet& set, const std::string& name, bool plus) {
    MakeStates(set, kButtons + name, [plus](TCanvas& c, int s) {
        cairo_t* cr = c.Cr();
        const double cx = c.Width() / 2.0, cy = c.Height() / 2.0, r = c.Width() / 2.0 - 0.5;
        DrawButtonFace(cr, cx - r, cy - r, 2 * r, 2 * r, s);
        const double o = (s == 2) ? 0.5 : 0;
        SetSource(cr, StateText(s));
        cairo_rectangle(cr, cx - 4.5, cy - 1 + o, 9, 2);
        if (plus) cairo_rectangle(cr, cx - 1, cy - 4.5 + o, 2, 9);
        cairo_fill(cr);
    });
}

// Undo: a round button with an arrow curving back to the left.
void UndoButton(TPictureSet& set, const std::string& name) {
    MakeStates(set, kButtons + name, [](TCanvas& c, int s) {
        cairo_t* cr = c.Cr();
        const double cx = c.Width() / 2.0, cy = c.Height() / 2.0, r = c.Width() / 2.0 - 2;
        DrawButtonFace(cr, cx - r, cy - r, 2 * r, 2 * r, s);
        const double o = (s == 2) ? 1 : 0;
        const double ar = r * 0.45; // radius of the arrow's arc
        SetSource(cr, StateText(s));
        cairo_set_line_width(cr, r * 0.2);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_new_path(cr);
        // From the top of the arc clockwise round the right side to the bottom left.
        cairo_arc(cr, cx + r * 0.05, cy + r * 0.08 + o, ar, -M_PI / 2, M_PI * 0.8);
        cairo_stroke(cr);
        // The head at the top end, pointing left.
        const double hx = cx + r * 0.05 - ar * 0.1, hy = cy + r * 0.08 - ar + o;
        cairo_new_path(cr);
        cairo_move_to(cr, hx - r * 0.42, hy);
        cairo_line_to(cr, hx + r * 0.05, hy - r * 0.32);
        cairo_line_to(cr, hx + r * 0.05, hy + r * 0.32);
        cairo_close_path(cr);
        cairo_fill(cr);
    });
}

// Hint: a round button with a light bulb, its glass lit and its screw base below.
void HintButton(TPictureSet& set, const std::string& name) {
    MakeStates(set, kButtons + name, [](TCanvas& c, int s) {
        cairo_t* cr = c.Cr();
        const double cx = c.Width() / 2.0, cy = c.Height() / 2.0, r = c.Width() / 2.0 - 2;
        DrawButtonFace(cr, cx - r, cy - r, 2 * r, 2 * r, s);
        const double o = (s == 2) ? 1 : 0;
        const double gr = r * 0.36, gy = cy - r * 0.14 + o; // the glass: radius, centre
        SetSource(cr, StateText(s));
        cairo_new_path(cr);
        cairo_arc(cr, cx, gy, gr, M_PI * 0.78, M_PI * 2.22);
        cairo_line_to(cr, cx + gr * 0.45, gy + gr * 1.25);
        cairo_line_to(cr, cx - gr * 0.45, gy + gr * 1.25);
        cairo_close_path(cr);
        cairo_fill(cr);
        // The base: two bands under the neck.
        cairo_set_line_width(cr, r * 0.09);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        for (int band = 0; band < 2; ++band) {
            const double by = gy + gr * (1.55 + 0.42 * band);
            cairo_new_path(cr);
            cairo_move_to(cr, cx - gr * 0.42, by);
            cairo_line_to(cr, cx + gr * 0.42, by);
            cairo_stroke(cr);
        }
    });
}

// Previous and next page: a text with a small arrow.
void PageButton(TPictureSet& set, const std::string& name, const std::string& label, bool right) {
    MakeStates(set, kButtons + name, [&](TCanvas& c, int s) {
        cairo_t* cr = c.Cr();
        DrawButtonFace(cr, 1, 1, c.Width() - 2, c.Height() - 2, s);
        SetFont(cr, TFace::Bold, 12);
        const double o = (s == 2) ? 1 : 0, cy = c.Height() / 2.0 + o;
        const double tw = TextWidth(cr, label), total = tw + 12;
        if (s == 0) CheckFit(set, cr, kButtons + name, label, c.Width() - 26);
        const double x0 = (c.Width() - total) / 2;
        const double ax = right ? x0 + tw + 5 : x0, tx = right ? x0 : x0 + 12;
        cairo_new_path(cr);
        const double d = right ? 1 : -1, ac = ax + 3.5;
        cairo_move_to(cr, ac + d * 3.5, cy);
        cairo_line_to(cr, ac - d * 3.5, cy - 4);
        cairo_line_to(cr, ac - d * 3.5, cy + 4);
        cairo_close_path(cr);
        SetSource(cr, StateText(s));
        cairo_fill(cr);
        LabelLeft(cr, label, tx, cy + 4.5, StateText(s), 1.0, 0.8);
    });
}

// A translucent dark panel with a bright rim: the common backing of boxes.
void Panel(cairo_t* cr, double x, double y, double w, double h, double r, double alpha) {
    cairo_pattern_t* g = cairo_pattern_create_linear(0, y, 0, y + h);
    AddStop(g, 0, Rgb(0x2A2070), alpha);
    AddStop(g, 1, Rgb(0x120C38), alpha);
    RoundedRect(cr, x, y, w, h, r);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, 1.5);
    SetSource(cr, ui::kPanelEdge, 0.8);
    cairo_stroke(cr);
    RoundedRect(cr, x + 2.5, y + 2.5, w - 5, h - 5, r - 2);
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.08);
    cairo_stroke(cr);
}

// The screen head: a banner whose title the game writes at y 25 (2 px into the picture).
void MakeHead(TPictureSet& set) {
    TCanvas c(260, 55);
    cairo_t* cr = c.Cr();
    Glow(cr, 130, 18, 120, Rgb(0x6A50FF), 0.25);
    Panel(cr, 8, 0.75, 244, 30, 14, 0.92);
    // Ornament under the banner: a line fading out to both sides with a diamond.
    cairo_pattern_t* g = cairo_pattern_create_linear(20, 0, 240, 0);
    AddStop(g, 0, ui::kAccent, 0);
    AddStop(g, 0.5, ui::kAccent, 0.9);
    AddStop(g, 1, ui::kAccent, 0);
    cairo_set_source(cr, g);
    cairo_rectangle(cr, 20, 38, 220, 1.5);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    cairo_new_path(cr);
    cairo_move_to(cr, 130, 34);
    cairo_line_to(cr, 135, 38.75);
    cairo_line_to(cr, 130, 43.5);
    cairo_line_to(cr, 125, 38.75);
    cairo_close_path(cr);
    SetSource(cr, ui::kAccent);
    cairo_fill(cr);
    Glow(cr, 130, 38.75, 10, ui::kAccent, 0.5);
    set.AddWhole("graphics/element_headtext_gamezone.tga", std::move(c));
}

// The message box, drawn at kMessageBox: the caption at kMessageCaptionY and the text from
// kMessageTextY, the Yes and No buttons below.
void MakeInform(TPictureSet& set) {
    TCanvas c(443, 291);
    cairo_t* cr = c.Cr();
    // Soft shadow.
    {
        TCanvas sh(443, 291);
        RoundedRect(sh.Cr(), 14, 16, 415, 263, 22);
        cairo_set_source_rgba(sh.Cr(), 0, 0, 0.05, 0.7);
        cairo_fill(sh.Cr());
        Blur(sh, 4);
        c.Paint(sh, 0, 0);
    }
    Panel(cr, 8, 8, 427, 271, 20, 0.97);
    // Header band with a glowing emblem: three small balls.
    cairo_pattern_t* band = cairo_pattern_create_linear(0, 12, 0, 58);
    AddStop(band, 0, Rgb(0x5B48D8), 0.55);
    AddStop(band, 1, Rgb(0x5B48D8), 0.0);
    RoundedRect(cr, 12, 12, 419, 46, 17);
    cairo_set_source(cr, band);
    cairo_fill(cr);
    cairo_pattern_destroy(band);
    const int colours[3] = {1, 4, 3};
    for (int i = 0; i < 3; ++i) {
        const double x = 201.5 + i * 20, y = 36;
        Glow(cr, x, y, 12, BallColour(colours[i]), 0.35);
        cairo_pattern_t* g = cairo_pattern_create_radial(x - 2, y - 2, 0.5, x, y, 6.5);
        AddStop(g, 0, Lighter(BallColour(colours[i]), 0.8));
        AddStop(g, 0.4, BallColour(colours[i]));
        AddStop(g, 1, Darker(BallColour(colours[i]), 0.45));
        cairo_set_source(cr, g);
        cairo_arc(cr, x, y, 6.5, 0, 2 * kPi);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
    // Separator under the caption row.
    cairo_pattern_t* g = cairo_pattern_create_linear(60, 0, 383, 0);
    AddStop(g, 0, ui::kPanelEdge, 0);
    AddStop(g, 0.5, ui::kPanelEdge, 0.7);
    AddStop(g, 1, ui::kPanelEdge, 0);
    cairo_set_source(cr, g);
    cairo_rectangle(cr, 60, 92, 323, 1);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    set.AddWhole("graphics/inform.tga", std::move(c));
}

// High-score titles: pattern = mode for the tables, 3 + mode for the statistics pages, drawn at
// kTableTitle between the arrows of the page buttons (btnPreviousTable and btnNextTable).
void MakeHighMode(TPictureSet& set) {
    const std::string file = "graphics/high_mode.tga";
    std::vector<TCanvas> frames = FramesFor(file, 6);
    const char* names[3] = {"Btn.Kids", "Btn.Normal", "Btn.Professional"};
    const int ballsPerMode[3] = {1, 2, 3};
    for (int page = 0; page < 6; ++page) {
        const int m = page % 3;
        TCanvas& c = frames[static_cast<size_t>(page)];
        cairo_t* cr = c.Cr();
        Panel(cr, 40, 48, 300, 44, 16, 0.9);
        SetFont(cr, TFace::Bold, 24);
        // Title with a gold gradient.
        cairo_new_path(cr);
        CheckFit(set, cr, file, Tr(names[m]), 290);
        TextPathCentred(cr, Tr(names[m]), 190, 79);
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 60, 0, 80);
        AddStop(g, 0, Rgb(0xFFF3C4));
        AddStop(g, 1, Rgb(0xF2B440));
        cairo_save(cr);
        cairo_translate(cr, 1, 1.5);
        cairo_set_source_rgba(cr, 0.03, 0, 0.1, 0.7);
        cairo_fill_preserve(cr);
        cairo_restore(cr);
        cairo_new_path(cr);
        TextPathCentred(cr, Tr(names[m]), 190, 79);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        // Crown of stars above: one per level of the mode.
        SetFont(cr, TFace::Regular, 12);
        const std::string& caption = Tr(page < 3 ? "Table.TopTen" : "Table.Statistics");
        CheckFit(set, cr, file, caption, 200);
        LabelCentred(cr, caption, 190, 40, ui::kTextDim, 0.9, 0.5);
        for (int i = 0; i < ballsPerMode[m]; ++i) {
            const double x = 190 + (i - (ballsPerMode[m] - 1) / 2.0) * 18;
            StarPath(cr, x, 18, 7.5, 3.2, 5, -kPi / 2);
            SetSource(cr, ui::kGold);
            cairo_fill(cr);
            Glow(cr, x, 18, 10, ui::kGold, 0.3);
        }
    }
    set.AddFrames(file, frames, 1);
}

// Options rows: pattern 0 "Sound" (drawn at kSoundRow), pattern 1 "Music" (kMusicRow). The
// minus button, the volume bar and the plus button lie over the row's right part.
void MakeSoundOpt(TPictureSet& set) {
    const std::string file = kButtons + "sound_opt.tga";
    std::vector<TCanvas> frames = FramesFor(file, 2);
    const char* labels[2] = {"Opt.Sound", "Opt.Music"};
    for (int p = 0; p < 2; ++p) {
        TCanvas& c = frames[static_cast<size_t>(p)];
        cairo_t* cr = c.Cr();
        Panel(cr, 1, 1, 403, 43, 14, 0.88);
        // Icon: a speaker for sound, a note for music.
        SetSource(cr, ui::kAccent);
        cairo_new_path(cr);
        if (p == 0) {
            cairo_move_to(cr, 18, 18);
            cairo_line_to(cr, 23, 18);
            cairo_line_to(cr, 30, 12);
            cairo_line_to(cr, 30, 33);
            cairo_line_to(cr, 23, 27);
            cairo_line_to(cr, 18, 27);
            cairo_close_path(cr);
            cairo_fill(cr);
            cairo_set_line_width(cr, 1.6);
            for (int i = 0; i < 2; ++i) {
                cairo_new_path(cr);
                cairo_arc(cr, 30, 22.5, 5 + i * 4.5, -0.8, 0.8);
                cairo_stroke(cr);
            }
        } else {
            cairo_arc(cr, 21, 29, 4, 0, 2 * kPi);
            cairo_fill(cr);
            cairo_arc(cr, 33, 26, 4, 0, 2 * kPi);
            cairo_fill(cr);
            cairo_rectangle(cr, 23.5, 12, 1.8, 17);
            cairo_rectangle(cr, 35.5, 9, 1.8, 17);
            cairo_fill(cr);
            cairo_move_to(cr, 23.5, 12);
            cairo_line_to(cr, 37.3, 9);
            cairo_line_to(cr, 37.3, 13);
            cairo_line_to(cr, 23.5, 16);
            cairo_close_path(cr);
            cairo_fill(cr);
        }
        SetFont(cr, TFace::Bold, 17);
        // The label ends before the minus button.
        const int minus = kButtonPlaces[btnMusicDown].X - kMusicRow.X;
        const int bar = kVolumeBarLeft - kMusicRow.X;
        CheckFit(set, cr, file, Tr(labels[p]), minus - 52);
        LabelLeft(cr, Tr(labels[p]), 48, 29, ui::kText, 1.0, 0.8);
        // Trough of the bar.
        RoundedRect(cr, bar - 2, 10, kVolumeBarWidth + 4, 18, 9);
        cairo_set_source_rgba(cr, 0.02, 0.0, 0.08, 0.75);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1);
        SetSource(cr, ui::kPanelEdge, 0.6);
        cairo_stroke(cr);
        // Scale marks under the trough.
        for (int i = 0; i <= 10; ++i) {
            const double x = bar + i * kVolumeBarWidth / 10.0;
            cairo_rectangle(cr, x - 0.5, 31, 1, i % 5 == 0 ? 5 : 3);
        }
        SetSource(cr, ui::kTextDim, 0.6);
        cairo_fill(cr);
    }
    set.AddFrames(file, frames, 1);
}

// The volume bar, pattern 1 drawn tinted from yellow to red by the volume: white with a gloss so
// that the tint shows. Pattern 0 is the same bar, unlit.
void MakeSoundBar(TPictureSet& set) {
    const std::string file = kButtons + "sound_opt_g.tga";
    std::vector<TCanvas> frames = FramesFor(file, 2);
    for (int p = 0; p < 2; ++p) {
        cairo_t* cr = frames[static_cast<size_t>(p)].Cr();
        cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, 14);
        const double v = p == 1 ? 1.0 : 0.45;
        cairo_pattern_add_color_stop_rgba(g, 0, v, v, v, 1);
        cairo_pattern_add_color_stop_rgba(g, 0.45, v * 0.85, v * 0.85, v * 0.85, 1);
        cairo_pattern_add_color_stop_rgba(g, 1, v * 0.55, v * 0.55, v * 0.55, 1);
        RoundedRect(cr, 0.5, 1, 193, 12, 6);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        RoundedRect(cr, 3, 2.5, 188, 4, 2);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
        cairo_fill(cr);
    }
    set.AddFrames(file, frames, 1);
}

// The full-screen check box, pattern = flag, drawn tinted 0xFF00CC99: light greys so the tint
// shows. The box lies inside the square a press answers to (kFullScreenHit).
void MakeFullScreen(TPictureSet& set) {
    const std::string file = kButtons + "fullscreen.tga";
    std::vector<TCanvas> frames = FramesFor(file, 2);
    for (int p = 0; p < 2; ++p) {
        cairo_t* cr = frames[static_cast<size_t>(p)].Cr();
        RoundedRect(cr, 2.5, 2.5, 20, 20, 5);
        cairo_set_source_rgba(cr, 0.05, 0.05, 0.08, 0.75);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1.6);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.95);
        cairo_stroke(cr);
        if (p == 1) {
            cairo_new_path(cr);
            cairo_move_to(cr, 7, 12.5);
            cairo_line_to(cr, 11, 17);
            cairo_line_to(cr, 19, 6.5);
            cairo_set_line_width(cr, 3);
            cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
            cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
            cairo_set_source_rgba(cr, 1, 1, 1, 1);
            cairo_stroke(cr);
        }
        // A dark backing keeps the label readable over the empty grid.
        RoundedRect(cr, 28, 2, 215, 21, 8);
        cairo_set_source_rgba(cr, 0.03, 0.03, 0.06, 0.55);
        cairo_fill(cr);
        // The label on the backing, which ends at x 243; the box takes effect at once, so no
        // note says when.
        const std::string& label = Tr("Opt.FullScreen");
        SetFontToFit(cr, TFace::Bold, label, 16, 13, 241 - 36);
        if (p == 0) CheckFit(set, cr, file, label, 241 - 36);
        LabelLeft(cr, label, 36, 18.5, {1, 1, 1}, 1.0, 0.7);
    }
    set.AddFrames(file, frames, 1);
}

// The pointer in full screen: an arrow with its tip at the top-left pixel.
void MakeCursor(TPictureSet& set) {
    TCanvas c(18, 25);
    cairo_t* cr = c.Cr();
    cairo_new_path(cr);
    cairo_move_to(cr, 1, 1);
    cairo_line_to(cr, 1, 19);
    cairo_line_to(cr, 5.5, 15);
    cairo_line_to(cr, 9, 23);
    cairo_line_to(cr, 12, 21.8);
    cairo_line_to(cr, 8.6, 14);
    cairo_line_to(cr, 14.5, 14);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 10, 20);
    AddStop(g, 0, Rgb(0xFFFFFF));
    AddStop(g, 1, Rgb(0xC8C0FF));
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, 1.2);
    SetSource(cr, Rgb(0x1A1040));
    cairo_stroke(cr);
    std::vector<TCanvas> frames;
    frames.push_back(std::move(c));
    set.AddFrames("graphics/cursor.tga", frames, 1);
}

// The Options screen's language row (drawn at kLanguageRow): a globe, the label and, below it,
// when a new choice takes effect. The game draws the language's arrows and the chosen language
// between them over the row's right part.
void MakeLanguageRow(TPictureSet& set) {
    const std::string file = kButtons + "language.tga";
    std::vector<TCanvas> frames = FramesFor(file, 1);
    cairo_t* cr = frames[0].Cr();
    Panel(cr, 1, 1, 403, 38, 14, 0.88);
    // Globe: a circle with a meridian and two parallels.
    SetSource(cr, ui::kAccent);
    cairo_set_line_width(cr, 1.6);
    cairo_new_path(cr);
    cairo_arc(cr, 25, 20, 10, 0, 2 * kPi);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_translate(cr, 25, 20);
    cairo_scale(cr, 0.45, 1);
    cairo_arc(cr, 0, 0, 10, 0, 2 * kPi);
    cairo_restore(cr);
    cairo_stroke(cr);
    cairo_move_to(cr, 15, 20);
    cairo_line_to(cr, 35, 20);
    cairo_move_to(cr, 17, 14);
    cairo_line_to(cr, 33, 14);
    cairo_move_to(cr, 17, 26);
    cairo_line_to(cr, 33, 26);
    cairo_stroke(cr);
    // The texts end 4 pixels before the first arrow.
    const int room = kButtonPlaces[btnLanguagePrevious].X - kLanguageRow.X - 4 - 46;
    SetFont(cr, TFace::Bold, 15);
    CheckFit(set, cr, file, Tr("Opt.Language"), room);
    LabelLeft(cr, Tr("Opt.Language"), 46, 19, ui::kText, 1.0, 0.8);
    SetFont(cr, TFace::Regular, 10);
    CheckFit(set, cr, file, Tr("Opt.LanguageNote"), room);
    LabelLeft(cr, Tr("Opt.LanguageNote"), 46, 33, ui::kTextDim, 0.95, 0.4);
    set.AddFrames(file, frames, 1);
}

// The choices of the language row: pattern 0 follows the system, then one per language in its
// own name, in the game's list order.
void MakeLanguageNames(TPictureSet& set) {
    const std::string file = kButtons + "languages.tga";
    std::vector<std::string> names = {Tr("Opt.System")};
    for (const TLanguageInfo& l : Languages()) names.push_back(l.Name);
    std::vector<TCanvas> frames = FramesFor(file, static_cast<int>(names.size()));
    for (size_t i = 0; i < names.size(); ++i) {
        TCanvas& c = frames[i];
        cairo_t* cr = c.Cr();
        RoundedRect(cr, 1, 1, c.Width() - 2, c.Height() - 2, 8);
        cairo_set_source_rgba(cr, 0.02, 0.0, 0.08, 0.75);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1);
        SetSource(cr, ui::kPanelEdge, 0.6);
        cairo_stroke(cr);
        SetFontToFit(cr, TFace::Bold, names[i], 14, 11, c.Width() - 8);
        CheckFit(set, cr, file, names[i], c.Width() - 8);
        LabelCentred(cr, names[i], c.Width() / 2.0, 17, i == 0 ? ui::kTextDim : Rgb(0xFFFFFF), 1.0,
                     0.6);
    }
    set.AddFrames(file, frames, 1);
}

// The Options screen's panel of switches (drawn at kAccessPanel, on the card): a row for reduced
// motion, one for the symbols on the balls and one for the first-game tips, each an icon and its
// label; the game draws each row's switch over the panel's right part.
void MakeAccessPanel(TPictureSet& set) {
    const std::string file = kButtons + "access.tga";
    std::vector<TCanvas> frames = FramesFor(file, 1);
    cairo_t* cr = frames[0].Cr();
    Panel(cr, 1, 1, kAccessPanelWidth - 2, kAccessPanelHeight - 2, 14, 0.88);
    const char* labels[3] = {"Opt.ReducedMotion", "Opt.Symbols", "Opt.Tips"};
    const double iconX = 22;
    for (int row = 0; row < 3; ++row) {
        const double mid =
            kAccessRowTop - kAccessPanel.Y + row * kAccessRowPitch + kSwitchHeight / 2.0;
        SetSource(cr, ui::kAccent);
        cairo_set_line_width(cr, 1.6);
        cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
        cairo_new_path(cr);
        if (row == 0) {
            // A ball at rest, the lines of its motion stopped short behind it.
            cairo_arc(cr, iconX + 4, mid, 5.5, 0, 2 * kPi);
            cairo_fill(cr);
            for (int i = 0; i < 3; ++i) {
                cairo_move_to(cr, iconX - 12, mid - 4 + 4 * i);
                cairo_line_to(cr, iconX - 5 - (i == 1 ? 2 : 0), mid - 4 + 4 * i);
            }
            cairo_stroke(cr);
        } else if (row == 1) {
            // A ball wearing a star.
            cairo_arc(cr, iconX, mid, 9, 0, 2 * kPi);
            cairo_fill(cr);
            StarPath(cr, iconX, mid + 0.5, 6, 2.6, 5, -kPi / 2);
            SetSource(cr, ui::kPanel);
            cairo_fill(cr);
        } else {
            // A speech bubble with an exclamation mark.
            RoundedRect(cr, iconX - 10, mid - 8, 20, 13, 4);
            cairo_move_to(cr, iconX - 4, mid + 5);
            cairo_line_to(cr, iconX - 7, mid + 9.5);
            cairo_line_to(cr, iconX + 1, mid + 5);
            cairo_fill(cr);
            SetSource(cr, ui::kPanel);
            cairo_rectangle(cr, iconX - 1, mid - 6, 2, 6);
            cairo_rectangle(cr, iconX - 1, mid + 1.2, 2, 2);
            cairo_fill(cr);
        }
        const double left = kAccessLabelLeft - kAccessPanel.X;
        const double room = kButtonPlaces[btnReducedMotion].X - kAccessLabelLeft - 8;
        SetFontToFit(cr, TFace::Bold, Tr(labels[row]), 15, 13, room);
        CheckFit(set, cr, file, Tr(labels[row]), room);
        LabelLeft(cr, Tr(labels[row]), left, mid + 5, ui::kText, 1.0, 0.8);
    }
    set.AddFrames(file, frames, 1);
}

// A two-way switch: the first choice on the left, the second on the right; patterns 0..2 show
// the first chosen (normal, hovered, pressed), 3..5 the second. The chosen half is lit, the
// other dark, each with its word, so the choice reads without colour.
void MakeSwitch(TPictureSet& set, const std::string& name, const std::string& first,
                const std::string& second) {
    const std::string file = kButtons + name;
    std::vector<TCanvas> frames = FramesFor(file, 6);
    for (int p = 0; p < 6; ++p) {
        TCanvas& c = frames[static_cast<size_t>(p)];
        cairo_t* cr = c.Cr();
        const int chosen = p / 3, state = p % 3;
        const double w = c.Width(), h = c.Height(), half = w / 2;
        // Trough.
        RoundedRect(cr, 0.5, 0.5, w - 1, h - 1, h / 2 - 0.5);
        cairo_set_source_rgba(cr, 0.02, 0.0, 0.08, 0.85);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1);
        SetSource(cr, state == 1 ? ui::kAccent : ui::kPanelEdge, state == 1 ? 0.95 : 0.7);
        cairo_stroke(cr);
        // The lit half.
        const double x0 = chosen == 0 ? 2 : half, y0 = 2;
        DrawButtonFace(cr, x0, y0, half - 2, h - 4, state == 2 ? 2 : (state == 1 ? 1 : 0));
        cairo_pattern_t* g = cairo_pattern_create_linear(0, y0, 0, y0 + h - 4);
        AddStop(g, 0, Rgb(0xFFE9A8), state == 2 ? 0.55 : 0.85);
        AddStop(g, 1, Rgb(0xF2B440), state == 2 ? 0.55 : 0.85);
        RoundedRect(cr, x0 + 1, y0 + 1, half - 4, h - 6, (h - 6) / 2);
        cairo_set_source(cr, g);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
        const std::string* words[2] = {&first, &second};
        for (int side = 0; side < 2; ++side) {
            const double room = half - 12;
            SetFontToFit(cr, TFace::Bold, *words[side], 13, 10.5, room);
            if (p == 0) CheckFit(set, cr, file, *words[side], room);
            const bool lit = side == chosen;
            const double cx = side == 0 ? half / 2 + 1 : half + half / 2 - 1;
            LabelCentred(cr, *words[side], cx, h / 2 + 4.5 + (lit && state == 2 ? 1 : 0),
                         lit ? Rgb(0x2A1650) : ui::kTextDim, 1.0, lit ? 0.0 : 0.6);
        }
    }
    set.AddFrames(file, frames, 1);
}

} // namespace

void MakeWordPictures(TPictureSet& set) {
    TextButton(set, "new game.tga", Tr("Btn.NewGame"), TFace::Bold, 14);
    TextButton(set, "kids.tga", Tr("Btn.Kids"), TFace::Bold, 12.5);
    TextButton(set, "normal.tga", Tr("Btn.Normal"), TFace::Bold, 12.5);
    TextButton(set, "professional.tga", Tr("Btn.Professional"), TFace::Bold, 12.5);
    TextButton(set, "options.tga", Tr("Btn.Options"), TFace::Bold, 15);
    TextButton(set, "instructions.tga", Tr("Btn.HowToPlay"), TFace::Bold, 15);
    TextButton(set, "high scores.tga", Tr("Btn.HighScores"), TFace::Bold, 15);
    TextButton(set, "exit.tga", Tr("Btn.Exit"), TFace::Bold, 15);
    TextButton(set, "back.tga", Tr("Btn.Back"), TFace::Bold, 17);
    TextButton(set, "clear.tga", Tr("Btn.Clear"), TFace::Bold, 17);
    TextButton(set, "yes.tga", Tr("Btn.Yes"), TFace::Bold, 19);
    TextButton(set, "no.tga", Tr("Btn.No"), TFace::Bold, 19);
    PageButton(set, "prev.tga", Tr("Btn.Previous"), false);
    PageButton(set, "next.tga", Tr("Btn.Next"), true);
    MakeHighMode(set);
    MakeSoundOpt(set);
    MakeFullScreen(set);
    MakeLanguageRow(set);
    MakeLanguageNames(set);
    MakeAccessPanel(set);
    MakeSwitch(set, "switch_onoff.tga", Tr("Opt.Off"), Tr("Opt.On"));
    MakeSwitch(set, "switch_symbols.tga", Tr("Opt.Faint"), Tr("Opt.Clear"));
    MakeRecordBanner(set);
}

void MakeWidgets(TPictureSet& set) {
    MakeWordPictures(set);
    ArrowButton(set, "high_mode_l.tga", false);
    ArrowButton(set, "high_mode_r.tga", true);
    StepButton(set, "up.tga", true);
    StepButton(set, "down.tga", false);
    UndoButton(set, "undo.tga");
    HintButton(set, "hint.tga");
    MakeHead(set);
    MakeInform(set);
    MakeSoundBar(set);
    MakeCursor(set);
}

} // namespace artgen
