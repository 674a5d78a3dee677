#include "tools/artgen/Effects.h"

#include "layout/Layout.h"
#include "tools/artgen/Palette.h"
#include "tools/artgen/Translations.h"

#include <cmath>
#include <string>
#include <vector>

namespace artgen {

namespace {

const std::string kFx = "graphics/fx/";

// White, so that the game tints them: a round spark with a hot core (0) and a four-pointed
// twinkle (1).
void MakeSpark(TPictureSet& set) {
    const std::string file = kFx + "spark.tga";
    std::vector<TCanvas> frames = FramesFor(file, 2);
    Glow(frames[0].Cr(), 8, 8, 8, {1, 1, 1}, 0.7);
    Glow(frames[0].Cr(), 8, 8, 3.5, {1, 1, 1}, 1.0);
    Glow(frames[1].Cr(), 8, 8, 5, {1, 1, 1}, 0.5);
    Twinkle(frames[1].Cr(), 8, 8, 7.5, 0, 1.0);
    set.AddFrames(file, frames, 2);
}

// A thin bright ring with a soft glow on both sides, nearly filling its square.
void MakeRing(TPictureSet& set) {
    const std::string file = kFx + "ring.tga";
    std::vector<TCanvas> frames = FramesFor(file, 1);
    TCanvas& c = frames[0];
    {
        TCanvas soft(96, 96);
        cairo_t* cr = soft.Cr();
        cairo_arc(cr, 48, 48, 40, 0, 2 * kPi);
        cairo_set_line_width(cr, 6);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
        cairo_stroke(cr);
        Blur(soft, 3);
        c.Paint(soft, 0, 0);
    }
    cairo_t* cr = c.Cr();
    cairo_arc(cr, 48, 48, 40, 0, 2 * kPi);
    cairo_set_line_width(cr, 2.2);
    cairo_set_source_rgba(cr, 1, 1, 1, 1);
    cairo_stroke(cr);
    set.AddFrames(file, frames, 1);
}

// A soft round glow, brightest in its middle.
void MakeGlow(TPictureSet& set) {
    const std::string file = kFx + "glow.tga";
    std::vector<TCanvas> frames = FramesFor(file, 1);
    Glow(frames[0].Cr(), 32, 32, 32, {1, 1, 1}, 0.8);
    Glow(frames[0].Cr(), 32, 32, 14, {1, 1, 1}, 0.6);
    set.AddFrames(file, frames, 1);
}

// The tips' box: a panel like the message box's with a gold edge, drawn at kTipBox; its inside
// stays plain, since a tip's text may fill it.
void MakeTipBox(TPictureSet& set) {
    const std::string file = kFx + "tip.tga";
    std::vector<TCanvas> frames = FramesFor(file, 1);
    TCanvas& c = frames[0];
    cairo_t* cr = c.Cr();
    const double w = c.Width(), h = c.Height();
    RoundedRect(cr, 1, 1, w - 2, h - 2, 12);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
    AddStop(g, 0, Rgb(0x2E2378), 0.97);
    AddStop(g, 1, Rgb(0x17104A), 0.97);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, 1.5);
    SetSource(cr, ui::kGold, 0.85);
    cairo_stroke(cr);
    set.AddFrames(file, frames, 1);
}

// The card of the Options and High Scores screens, drawn over the field's cells: opaque, in the
// frame's deep blue with a soft light from the top, a fine edge and an inner line, so that the
// rows on it stand on one calm surface.
void MakeCard(TPictureSet& set) {
    const std::string file = kFx + "card.tga";
    std::vector<TCanvas> frames = FramesFor(file, 1);
    TCanvas& c = frames[0];
    cairo_t* cr = c.Cr();
    const double w = c.Width(), h = c.Height();
    RoundedRect(cr, 0.75, 0.75, w - 1.5, h - 1.5, 10);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, 0, 0, h);
    AddStop(g, 0, Rgb(0x231A5E));
    AddStop(g, 0.35, Rgb(0x1A1348));
    AddStop(g, 1, Rgb(0x120C36));
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, 1.5);
    SetSource(cr, ui::kPanelEdge, 0.55);
    cairo_stroke(cr);
    Glow(cr, w / 2, 0, w * 0.55, Rgb(0x6A50FF), 0.12);
    RoundedRect(cr, 4.5, 4.5, w - 9, h - 9, 7);
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.06);
    cairo_stroke(cr);
    set.AddFrames(file, frames, 1);
}

} // namespace

void MakeEffects(TPictureSet& set) {
    MakeSpark(set);
    MakeRing(set);
    MakeGlow(set);
    MakeTipBox(set);
    MakeCard(set);
}

// "New high score!" in large gold letters with a dark rim, over a soft glow, between two stars.
void MakeRecordBanner(TPictureSet& set) {
    const std::string file = kFx + "record.tga";
    std::vector<TCanvas> frames = FramesFor(file, 1);
    TCanvas& c = frames[0];
    cairo_t* cr = c.Cr();
    const double w = c.Width(), h = c.Height();
    Glow(cr, w / 2, h / 2, w * 0.45, ui::kGold, 0.25);
    const std::string& words = Tr("Game.Record");
    const double room = w - 2 * 52;
    SetFontToFit(cr, TFace::Bold, words, 40, 26, room);
    if (TextWidth(cr, words) > room)
        set.NoteMisfit(CurrentLanguage() + " " + file + ": \"" + words + "\" does not fit");
    cairo_new_path(cr);
    TextPathCentred(cr, words, w / 2, h / 2 + 14);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 5);
    cairo_set_source_rgba(cr, 0.08, 0.03, 0.2, 0.9);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, h / 2 - 20, 0, h / 2 + 16);
    AddStop(g, 0, Rgb(0xFFF6D0));
    AddStop(g, 1, Rgb(0xF2B440));
    cairo_set_source(cr, g);
    cairo_fill(cr);
    cairo_pattern_destroy(g);
    for (double x : {26.0, w - 26}) {
        Glow(cr, x, h / 2, 20, ui::kGold, 0.5);
        StarPath(cr, x, h / 2, 15, 6.5, 5, -kPi / 2);
        SetSource(cr, ui::kGold);
        cairo_fill(cr);
    }
    set.AddFrames(file, frames, 1);
}

} // namespace artgen
