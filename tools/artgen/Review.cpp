#include "tools/artgen/Review.h"

#include "tools/artgen/Files.h"
#include "tools/artgen/Font.h"
#include "tools/artgen/Logo.h"
#include "tools/artgen/Palette.h"
#include "tools/artgen/Texts.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace artgen {

void DrawPattern(TCanvas& target, const TPictureSet& set, const std::string& file, int pattern,
                 double x, double y, double alpha) {
    const TPicture* p = set.Find(file);
    if (!p) return;
    const int across = std::max(1, p->Image->Width() / p->PatternWidth);
    const int count =
        PatternCount(p->Image->Width(), p->Image->Height(), p->PatternWidth, p->PatternHeight);
    pattern = std::clamp(pattern, 0, count - 1);
    const double sx = (pattern % across) * p->PatternWidth;
    const double sy = (pattern / across) * p->PatternHeight;
    cairo_t* cr = target.Cr();
    cairo_save(cr);
    cairo_rectangle(cr, x, y, p->PatternWidth, p->PatternHeight);
    cairo_clip(cr);
    cairo_set_source_surface(cr, p->Image->Surface(), x - sx, y - sy);
    cairo_paint_with_alpha(cr, alpha);
    cairo_restore(cr);
}

void DrawPatternCentred(TCanvas& target, const TPictureSet& set, const std::string& file,
                        int pattern, double cx, double cy) {
    const TPicture* p = set.Find(file);
    if (!p) return;
    DrawPattern(target, set, file, pattern, cx - p->PatternWidth / 2.0,
                cy - p->PatternHeight / 2.0);
}

namespace {

void Quadrants(TCanvas& c, const TPictureSet& set, const std::string& file) {
    for (int q = 0; q < 4; ++q) DrawPattern(c, set, file, q, (q % 2) * 400, (q / 2) * 300);
}

struct TButtonPlace {
    const char* File;
    int X, Y;
};

const TButtonPlace kMenu[] = {
    {"new game.tga", 80, 167},     {"kids.tga", 87, 208},    {"normal.tga", 87, 244},
    {"professional.tga", 87, 280}, {"options.tga", 73, 383}, {"instructions.tga", 73, 429},
    {"high scores.tga", 73, 475},  {"exit.tga", 73, 521},
};

void CommonLayer(TCanvas& c, const TPictureSet& set, int selected) {
    Quadrants(c, set, "graphics/ingame.tga");
    for (int col = 0; col < 9; ++col)
        for (int row = 0; row < 9; ++row)
            DrawPattern(c, set, "graphics/field.tga", 3, 298 + 52 * col, 26 + 52 * row);
    for (int i = 0; i < 8; ++i)
        DrawPattern(c, set, std::string("graphics/buttons/") + kMenu[i].File,
                    i == selected ? 2 : (i == 5 ? 1 : 0), kMenu[i].X, kMenu[i].Y);
    DrawPattern(c, set, "graphics/logo_small.tga", 37, 80, 40);
}

// The playing screen with a handful of balls, a selected ball, a path and the preview.
TCanvas PlayingMockup(const TPictureSet& set, const TFontImage& font) {
    TCanvas c(800, 600);
    CommonLayer(c, set, 2);
    const std::string balls = "graphics/balls/";
    struct TBall {
        int X, Y, N;
    };
    const TBall placed[] = {{0, 0, 1},  {1, 0, 2},  {2, 1, 3},  {4, 4, 4},  {5, 4, 5},  {6, 4, 6},
                            {7, 4, 7},  {1, 7, 8},  {2, 7, 9},  {3, 7, 10}, {8, 8, 11}, {0, 3, 12},
                            {6, 1, 15}, {3, 2, 19}, {4, 2, 20}, {5, 2, 21}, {7, 7, 4},  {8, 0, 7}};
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y) {
            const bool path = (y == 6 && x >= 2 && x <= 6) || (x == 6 && y == 5);
            DrawPattern(c, set, "graphics/field.tga", path ? 1 : 0, 298 + 52 * x, 26 + 52 * y);
        }
    DrawPattern(c, set, "graphics/field.tga", 2, 298 + 52 * 8, 26 + 52 * 2);
    for (const TBall& b : placed) {
        const std::string f = balls + std::to_string(b.N) + "_0.tga";
        const TPicture* p = set.Find(f);
        DrawPatternCentred(c, set, f, 0, 303 + 52 * b.X + p->PatternWidth / 2,
                           31 + 52 * b.Y + p->PatternHeight / 2);
    }
    DrawPattern(c, set, balls + "bomb_0.tga", 0, 303 + 52 * 7 - 0, 31 + 52 * 2 - 0);
    DrawPatternCentred(c, set, balls + "2_1.tga", 4, 323 + 52 * 2, 51 + 52 * 6);
    DrawPattern(c, set, balls + "bomb_2.tga", 2, 303 + 52 * 5, 11 + 52 * 8);
    DrawPatternCentred(c, set, balls + "4_2.tga", 14, 323 + 52 * 4, 51 + 52 * 4);
    const int preview[4] = {3, 5, 22, 16};
    for (int k = 0; k < 4; ++k) {
        const std::string f =
            preview[k] == 22 ? balls + "bomb_0.tga" : balls + std::to_string(preview[k]) + "_0.tga";
        DrawPatternCentred(c, set, f, 0, 540 + 52 * k, 552);
    }
    font.DrawCentred(c, "12480", 142, 340, 100, Rgb(0xFF0000));
    font.DrawCentred(c, "Normal", 530, 502, 75, Rgb(0xFFFFFF));
    font.DrawLeft(c, "+50", 500, 90, Rgb(0xFFFFFF));
    return c;
}

void ScreenHead(TCanvas& c, const TPictureSet& set, const TFontImage& font,
                const std::string& title) {
    DrawPattern(c, set, "graphics/element_headtext_gamezone.tga", 0, 400, 23);
    font.DrawCentred(c, title, 532, 27, 100, Rgb(0x888888));
    font.DrawCentred(c, title, 530, 25, 100, Rgb(0xFFFFFF));
}

TCanvas OptionsMockup(const TPictureSet& set, const TFontImage& font) {
    TCanvas c(800, 600);
    CommonLayer(c, set, 4);
    ScreenHead(c, set, font, "Options");
    const std::string b = "graphics/buttons/";
    DrawPattern(c, set, b + "sound_opt.tga", 1, 330, 160);
    DrawPattern(c, set, b + "sound_opt.tga", 0, 330, 260);
    const TPicture* bar = set.Find(b + "sound_opt_g.tga");
    for (int row = 0; row < 2; ++row) {
        const int volume = row == 0 ? 50 : 75;
        TCanvas tinted(bar->PatternWidth, bar->PatternHeight);
        DrawPattern(tinted, set, b + "sound_opt_g.tga", 1, 0, 0);
        cairo_t* cr = tinted.Cr();
        cairo_set_operator(cr, CAIRO_OPERATOR_MULTIPLY);
        cairo_set_source_rgb(cr, 1, (255 - 2 * volume) / 255.0, 0);
        cairo_paint(cr);
        cairo_set_operator(cr, CAIRO_OPERATOR_DEST_IN);
        DrawPattern(tinted, set, b + "sound_opt_g.tga", 1, 0, 0);
        const double w = std::round(volume * bar->PatternWidth / 100.0);
        cairo_save(c.Cr());
        cairo_rectangle(c.Cr(), 0, 0, 490 + w, 600);
        cairo_clip(c.Cr());
        c.Paint(tinted, 490, 172 + 100 * row);
        cairo_restore(c.Cr());
        DrawPattern(c, set, b + "down.tga", 0, 468, 170 + 100 * row);
        DrawPattern(c, set, b + "up.tga", row, 688, 170 + 100 * row);
    }
    {
        const TPicture* fs = set.Find(b + "fullscreen.tga");
        TCanvas tinted(fs->PatternWidth, fs->PatternHeight);
        DrawPattern(tinted, set, b + "fullscreen.tga", 1, 0, 0);
        cairo_set_operator(tinted.Cr(), CAIRO_OPERATOR_MULTIPLY);
        cairo_set_source_rgb(tinted.Cr(), 0x99 / 255.0, 0xCC / 255.0, 0);
        cairo_paint(tinted.Cr());
        cairo_set_operator(tinted.Cr(), CAIRO_OPERATOR_DEST_IN);
        DrawPattern(tinted, set, b + "fullscreen.tga", 1, 0, 0);
        c.Paint(tinted, 410, 360);
    }
    DrawPattern(c, set, b + "back.tga", 1, 460, 445);
    return c;
}

TCanvas HighScoreMockup(const TPictureSet& set, const TFontImage& font, const TTexts& texts) {
    TCanvas c(800, 600);
    CommonLayer(c, set, 6);
    ScreenHead(c, set, font, "High Scores");
    DrawPattern(c, set, "graphics/high_mode.tga", 1, 345, 70);
    DrawPattern(c, set, "graphics/buttons/high_mode_l.tga", 0, 340, 130);
    DrawPattern(c, set, "graphics/buttons/high_mode_r.tga", 1, 690, 130);
    const char* names[10] = {"Amelia", "Bruno", "Chiara", "Dmitri", "Elena",
                             "Farid",  "Greta", "Hugo",   "Ines",   "Jonas"};
    for (int i = 0; i < 10; ++i) {
        font.DrawLeft(c, names[i], 360, 170 + 25 * i, Rgb(0xFFFFFF));
        font.DrawRight(c, std::to_string(1000 - 100 * i), 700, 170 + 25 * i, Rgb(0xFFFFFF));
    }
    DrawPattern(c, set, "graphics/buttons/back.tga", 0, 385, 445);
    DrawPattern(c, set, "graphics/buttons/clear.tga", 0, 535, 445);
    // A message box over it: the name entry.
    DrawPattern(c, set, "graphics/inform.tga", 0, 310, 130);
    DrawPattern(c, set, "graphics/lau.tga", 1, 360, 200);
    font.DrawCentred(c, texts.Caption("EnterName"), 550, 200, 70, Rgb(0xFF0000));
    int y = 230;
    for (const std::string& line : texts.Lines("EnterName")) {
        font.DrawCentred(c, line, 550, y, 70, Rgb(0xFFFF00));
        y += 15;
    }
    font.DrawCentred(c, "Player I", 550, 265, 85, Rgb(0xFFFFFF));
    DrawPattern(c, set, "graphics/buttons/yes.tga", 1, 410, 320);
    DrawPattern(c, set, "graphics/buttons/no.tga", 0, 540, 320);
    return c;
}

TCanvas MessageMockup(const TPictureSet& set, const TFontImage& font, const TTexts& texts,
                      const std::string& kind, int centre) {
    TCanvas c(800, 600);
    CommonLayer(c, set, 2);
    DrawPattern(c, set, "graphics/inform.tga", 0, 310, 130);
    if (kind == "LowScore") DrawPattern(c, set, "graphics/cry.tga", 3, 360, 200);
    font.DrawCentred(c, texts.Caption(kind), centre, 200, 70, Rgb(0xFF0000));
    int y = 230;
    for (const std::string& line : texts.Lines(kind)) {
        font.DrawCentred(c, line, centre, y, 70, Rgb(0xFFFF00));
        y += 15;
    }
    DrawPattern(c, set, "graphics/buttons/yes.tga", 0, 410, 320);
    DrawPattern(c, set, "graphics/buttons/no.tga", 2, 540, 320);
    return c;
}

TCanvas HelpMockup(const TPictureSet& set, const TFontImage& font, int page) {
    TCanvas c(800, 600);
    CommonLayer(c, set, 5);
    ScreenHead(c, set, font, "How to Play");
    DrawPattern(c, set, "graphics/help" + std::to_string(page) + ".tga", 0, 303, 31);
    if (page > 0) DrawPattern(c, set, "graphics/buttons/prev.tga", 0, 310, 455);
    if (page < 4) DrawPattern(c, set, "graphics/buttons/next.tga", 1, 650, 455);
    DrawPattern(c, set, "graphics/buttons/back.tga", 0, 460, 445);
    return c;
}

// The logo screen at a given logo clock, flare and shine.
TCanvas LogoMockup(const TPictureSet& set, int letters, int flare, int shine, double progress) {
    TCanvas c(800, 600);
    Quadrants(c, set, "graphics/background.jpg");
    Quadrants(c, set, "graphics/loading_element.tga");
    DrawPattern(c, set, "graphics/logo/velm.tga", 0, 270, 120);
    DrawPattern(c, set, "graphics/logo/orra.tga", 0, 270, 120);
    DrawPattern(c, set, "graphics/logo/i.tga", letters, 300, -30);
    DrawPattern(c, set, "graphics/logo/ball.tga", letters, 300, -30);
    if (flare >= 0) {
        const TPicture* p = set.Find("graphics/logo/flare.tga");
        const double scale = (flare * 32 < 256 ? flare * 30 : 256 - (flare * 30 - 256)) / 256.0;
        cairo_t* cr = c.Cr();
        cairo_save(cr);
        cairo_translate(cr, 340, 160);
        cairo_rotate(cr, flare * 16 / 256.0 * 2 * kPi);
        cairo_scale(cr, scale, scale);
        cairo_set_source_surface(cr, p->Image->Surface(), -p->Image->Width() / 2.0,
                                 -p->Image->Height() / 2.0);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    if (shine >= 0) DrawPattern(c, set, "graphics/logo/blik_orra.tga", shine, 281, 233);
    const TPicture* bar = set.Find("graphics/statusline.tga");
    cairo_save(c.Cr());
    cairo_rectangle(c.Cr(), 0, 0, 286 + bar->Image->Width() * progress / 195.0, 600);
    cairo_clip(c.Cr());
    DrawPattern(c, set, "graphics/statusline.tga", 0, 286, 330);
    cairo_restore(c.Cr());
    return c;
}

} // namespace

} // namespace artgen

namespace artgen {

namespace {

// Every picture on a dark checkerboard, in rows, each with its name, pattern size and count.
TCanvas ContactSheet(const TPictureSet& set) {
    const int width = 1800, margin = 16, label = 16, maxCell = 420;
    struct TPlace {
        const TPicture* P;
        double X, Y, Scale;
    };
    std::vector<TPlace> places;
    double x = margin, y = margin, rowHeight = 0;
    for (const auto& [file, pic] : set.All()) {
        const double w = pic.Image->Width(), h = pic.Image->Height();
        const double scale = std::min(1.0, maxCell / std::max(w, h));
        const double cw = std::max(w * scale, 150.0), ch = h * scale + label;
        if (x + cw > width - margin) {
            x = margin;
            y += rowHeight + margin;
            rowHeight = 0;
        }
        places.push_back({&pic, x, y, scale});
        x += cw + margin;
        rowHeight = std::max(rowHeight, ch);
    }
    const int height = static_cast<int>(y + rowHeight + margin);
    TCanvas c(width, height);
    cairo_t* cr = c.Cr();
    cairo_set_source_rgb(cr, 0.09, 0.08, 0.14);
    cairo_paint(cr);
    SetFont(cr, TFace::Regular, 11);
    for (const TPlace& p : places) {
        const double w = p.P->Image->Width() * p.Scale, h = p.P->Image->Height() * p.Scale;
        const double top = p.Y + label;
        for (int cy = 0; cy < h; cy += 8)
            for (int cx = 0; cx < w; cx += 8) {
                const bool dark = ((cx + cy) / 8) % 2 == 0;
                cairo_rectangle(cr, p.X + cx, top + cy, std::min(8.0, w - cx),
                                std::min(8.0, h - cy));
                cairo_set_source_rgb(cr, dark ? 0.16 : 0.22, dark ? 0.14 : 0.2, dark ? 0.26 : 0.32);
                cairo_fill(cr);
            }
        cairo_save(cr);
        cairo_translate(cr, p.X, top);
        cairo_scale(cr, p.Scale, p.Scale);
        cairo_set_source_surface(cr, p.P->Image->Surface(), 0, 0);
        cairo_paint(cr);
        cairo_restore(cr);
        const int count = PatternCount(p.P->Image->Width(), p.P->Image->Height(), p.P->PatternWidth,
                                       p.P->PatternHeight);
        const std::string text = p.P->File.substr(p.P->File.find('/') + 1) + "  " +
                                 std::to_string(p.P->PatternWidth) + "x" +
                                 std::to_string(p.P->PatternHeight) + " x" + std::to_string(count);
        LabelLeft(cr, text, p.X, p.Y + 11, Rgb(0xD0C8F0), 1.0, 0);
    }
    return c;
}

} // namespace

bool WriteReview(const TPictureSet& set, const std::string& reviewDir, std::string* error) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::create_directories(fs::path(reviewDir) / "icons", ec);
    fs::create_directories(fs::path(reviewDir) / "screens", ec);
    if (ec) {
        if (error) *error = reviewDir + ": cannot create the review folder: " + ec.message();
        return false;
    }
    const fs::path dir(reviewDir);
    ContactSheet(set).WritePng((dir / "contact-sheet.png").string());
    // The desktop icons, named by the application id.
    for (int size : {16, 24, 32, 48, 64, 128, 256, 512})
        MakeIcon(size).WritePng(
            (dir / "icons" / (std::string(VO_APP_ID) + "-" + std::to_string(size) + ".png"))
                .string());
    if (!WriteFileBytes((dir / "icons" / (std::string(VO_APP_ID) + ".svg")).string(), IconSvg(),
                        error))
        return false;
    const TFontImage font;
    const TTexts texts;
    const fs::path screens = dir / "screens";
    PlayingMockup(set, font).WritePng((screens / "playing.png").string());
    OptionsMockup(set, font).WritePng((screens / "options.png").string());
    HighScoreMockup(set, font, texts).WritePng((screens / "highscores.png").string());
    for (const TDialogText& d : texts.Dialogs()) {
        const int centre = d.Name == "EnterName" ? 550 : (d.Name == "LowScore" ? 600 : 530);
        MessageMockup(set, font, texts, d.Name, centre)
            .WritePng((screens / ("message-" + d.Name + ".png")).string());
    }
    for (int page = 0; page < 5; ++page)
        HelpMockup(set, font, page)
            .WritePng((screens / ("help" + std::to_string(page) + ".png")).string());
    LogoMockup(set, 0, -1, -1, 10).WritePng((screens / "logo-0.png").string());
    LogoMockup(set, 10, -1, -1, 40).WritePng((screens / "logo-10.png").string());
    LogoMockup(set, 32, 6, -1, 60).WritePng((screens / "logo-flare.png").string());
    LogoMockup(set, 32, -1, 12, 75).WritePng((screens / "logo-shine.png").string());
    LogoMockup(set, 32, -1, -1, 190).WritePng((screens / "loading.png").string());
    return true;
}

} // namespace artgen
