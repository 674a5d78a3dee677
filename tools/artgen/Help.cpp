#include "tools/artgen/Help.h"

#include "layout/Layout.h"
#include "tools/artgen/Balls.h"
#include "tools/artgen/Palette.h"
#include "tools/artgen/Translations.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace artgen {

namespace {

constexpr double kPanelTop = 54, kPanelBottom = 408; // page rows free of the head and buttons
constexpr double kLeft = 22, kRight = 445;

// What the page being drawn needs checked: its lowest text row and any line wider than its
// column (a word that cannot be broken).
struct TPageFit {
    double Lowest = 0;
    std::vector<std::string> TooWide;
};
TPageFit fit;

void Reaches(double y) {
    fit.Lowest = std::max(fit.Lowest, y);
}

std::vector<std::string> Wrap(cairo_t* cr, const std::string& text, double width) {
    std::vector<std::string> lines;
    std::string line, word;
    auto flushWord = [&]() {
        if (word.empty()) return;
        const std::string candidate = line.empty() ? word : line + " " + word;
        if (!line.empty() && TextWidth(cr, candidate) > width) {
            lines.push_back(line);
            line = word;
        } else {
            line = candidate;
        }
        word.clear();
    };
    for (char ch : text) {
        if (ch == ' ')
            flushWord();
        else
            word += ch;
    }
    flushWord();
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// A paragraph at (x, y) (top of the first line), wrapped to `width`; returns the y below it.
double Paragraph(cairo_t* cr, const std::string& text, double x, double y, double width,
                 double size = 13, const TRgb& colour = ui::kText, TFace face = TFace::Regular) {
    SetFont(cr, face, size);
    const double lineHeight = size * 1.32;
    for (const std::string& line : Wrap(cr, text, width)) {
        if (TextWidth(cr, line) > width + 0.5) fit.TooWide.push_back(line);
        LabelLeft(cr, line, x, y + size, colour, 1.0, 0.5);
        y += lineHeight;
    }
    Reaches(y);
    return y;
}

// A bullet paragraph: a small diamond, then the wrapped text.
double Bullet(cairo_t* cr, const std::string& text, double y, double size = 13) {
    const double x = kLeft, right = kRight;
    cairo_new_path(cr);
    cairo_move_to(cr, x + 4, y + 6);
    cairo_line_to(cr, x + 8, y + 10);
    cairo_line_to(cr, x + 4, y + 14);
    cairo_line_to(cr, x, y + 10);
    cairo_close_path(cr);
    SetSource(cr, ui::kAccent);
    cairo_fill(cr);
    return Paragraph(cr, text, x + 16, y, right - x - 16, size) + 5;
}

// The page background: a glass panel with the page title and its number.
TCanvas Page(int number, const std::string& title) {
    TCanvas c(kHelpPageSize, kHelpPageSize);
    cairo_t* cr = c.Cr();
    RoundedRect(cr, 6, kPanelTop, 455, kPanelBottom - kPanelTop, 16);
    cairo_pattern_t* g = cairo_pattern_create_linear(0, kPanelTop, 0, kPanelBottom);
    AddStop(g, 0, Rgb(0x241B66), 0.96);
    AddStop(g, 1, Rgb(0x110C36), 0.96);
    cairo_set_source(cr, g);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(g);
    cairo_set_line_width(cr, 1.5);
    SetSource(cr, ui::kPanelEdge, 0.8);
    cairo_stroke(cr);
    SetFont(cr, TFace::Bold, 18);
    LabelLeft(cr, title, kLeft, kPanelTop + 29, ui::kGold, 1.0, 0.7);
    SetFont(cr, TFace::Regular, 12);
    const std::string n = std::to_string(number + 1) + " / 5";
    LabelLeft(cr, n, kRight - TextWidth(cr, n), kPanelTop + 27, ui::kTextDim, 1.0, 0);
    cairo_pattern_t* line = cairo_pattern_create_linear(kLeft, 0, kRight, 0);
    AddStop(line, 0, ui::kAccent, 0.9);
    AddStop(line, 1, ui::kAccent, 0);
    cairo_set_source(cr, line);
    cairo_rectangle(cr, kLeft, kPanelTop + 38, kRight - kLeft, 1.2);
    cairo_fill(cr);
    cairo_pattern_destroy(line);
    return c;
}

// A cell of the small boards in the pictures.
void Cell(cairo_t* cr, double x, double y, double s, int look) {
    RoundedRect(cr, x + 1, y + 1, s - 2, s - 2, 5);
    if (look == 1) {
        SetSource(cr, ui::kAccent, 0.3);
        cairo_fill_preserve(cr);
        SetSource(cr, ui::kAccent, 0.9);
    } else if (look == 2) {
        SetSource(cr, Rgb(0xFF3A4A), 0.22);
        cairo_fill_preserve(cr);
        SetSource(cr, Rgb(0xFF5A64), 0.9);
    } else {
        SetSource(cr, Rgb(0x2B2377), 0.95);
        cairo_fill_preserve(cr);
        SetSource(cr, Rgb(0x5A4AB0), 0.6);
    }
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void Cross(cairo_t* cr, double cx, double cy, double r) {
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 3);
    SetSource(cr, Rgb(0xFF5A64));
    cairo_move_to(cr, cx - r, cy - r);
    cairo_line_to(cr, cx + r, cy + r);
    cairo_move_to(cr, cx + r, cy - r);
    cairo_line_to(cr, cx - r, cy + r);
    cairo_stroke(cr);
}

void Arrow(cairo_t* cr, double x0, double y, double x1) {
    cairo_set_line_width(cr, 2.5);
    SetSource(cr, ui::kAccent);
    cairo_move_to(cr, x0, y);
    cairo_line_to(cr, x1 - 6, y);
    cairo_stroke(cr);
    cairo_move_to(cr, x1, y);
    cairo_line_to(cr, x1 - 8, y - 5);
    cairo_line_to(cr, x1 - 8, y + 5);
    cairo_close_path(cr);
    cairo_fill(cr);
}

// Page 1: picking a ball up and sending it along a free path.
TCanvas MovesPage() {
    TCanvas c = Page(0, Tr("Help0.Title"));
    cairo_t* cr = c.Cr();
    const double s = 30, x0 = 233.5 - 3.5 * s, y0 = 100;
    // Board: the ball at (0,1) travels right and up to (4,0); (6,2) is walled in.
    const int path[][2] = {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {4, 0}};
    for (int x = 0; x < 7; ++x)
        for (int y = 0; y < 3; ++y) {
            int look = 0;
            for (const auto& p : path)
                if (p[0] == x && p[1] == y) look = 1;
            if (x == 6 && y == 2) look = 2;
            Cell(cr, x0 + x * s, y0 + y * s, s, look);
        }
    auto centre = [&](int x, int y, double& cx, double& cy) {
        cx = x0 + x * s + s / 2;
        cy = y0 + y * s + s / 2;
    };
    double cx = 0, cy = 0;
    const int walls[][3] = {{5, 2, 2}, {6, 1, 4}, {2, 2, 3}, {3, 0, 6}, {5, 0, 7}};
    for (const auto& w : walls) {
        centre(w[0], w[1], cx, cy);
        DrawBall(c, w[2] - 1, cx, cy, 12);
    }
    centre(0, 1, cx, cy);
    Glow(cr, cx, cy - 3, 17, Lighter(BallColour(1), 0.3), 0.5);
    DrawBall(c, 0, cx, cy - 3, 12, 0.4);
    centre(4, 0, cx, cy);
    TCanvas ghost(kHelpPageSize, kHelpPageSize);
    DrawBall(ghost, 0, cx, cy, 12);
    c.Paint(ghost, 0, 0, 0.3);
    centre(6, 2, cx, cy);
    Cross(cr, cx, cy, 6);
    // Route arrow.
    double ax = 0, ay = 0, bx = 0, by = 0;
    centre(1, 1, ax, ay);
    centre(4, 1, bx, by);
    cairo_set_line_width(cr, 2);
    SetSource(cr, {1, 1, 1}, 0.8);
    const double dash[2] = {4, 4};
    cairo_set_dash(cr, dash, 2, 0);
    cairo_move_to(cr, ax - 6, ay);
    cairo_line_to(cr, bx, by);
    cairo_line_to(cr, bx, by - s + 10);
    cairo_stroke(cr);
    cairo_set_dash(cr, nullptr, 0, 0);
    double y = y0 + 3 * s + 14;
    for (const char* key : {"Help0.1", "Help0.2", "Help0.3"}) y = Bullet(cr, Tr(key), y, 12.5);
    Paragraph(cr, Tr("Help0.Keys"), kLeft, y + 2, kRight - kLeft, 11.5, ui::kTextDim);
    return c;
}

// Page 2: lines, points and the chain bonus.
TCanvas LinesPage() {
    TCanvas c = Page(1, Tr("Help1.Title"));
    cairo_t* cr = c.Cr();
    const double y0 = 114;
    Glow(cr, 233.5, y0, 70, ui::kAccent, 0.18);
    cairo_set_line_width(cr, 26);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetSource(cr, ui::kAccent, 0.18);
    cairo_move_to(cr, 233.5 - 2 * 38, y0);
    cairo_line_to(cr, 233.5 + 2 * 38, y0);
    cairo_stroke(cr);
    for (int i = 0; i < 5; ++i) DrawBall(c, 3, 233.5 + (i - 2) * 38, y0, 13, 0.3);
    SetFont(cr, TFace::Bold, 16);
    LabelCentred(cr, "+50", 233.5 + 2 * 38 + 48, y0 - 8, {1, 1, 1}, 1.0, 0.8);
    double y = y0 + 26;
    y = Bullet(cr, Tr("Help1.1"), y, 12.5);
    // Points table.
    struct TRow {
        const char* What; // key
        const char* Points;
    };
    const TRow rows[] = {
        {"Help1.Five", "50"}, {"Help1.Six", "70"}, {"Help1.Seven", "90"}, {"Help1.Cross", "130"}};
    RoundedRect(cr, 60, y + 2, 347, 4 * 18 + 8, 8);
    cairo_set_source_rgba(cr, 0.02, 0.0, 0.1, 0.45);
    cairo_fill(cr);
    y += 8;
    for (const TRow& r : rows) {
        SetFont(cr, TFace::Regular, 13);
        if (TextWidth(cr, Tr(r.What)) > 290) fit.TooWide.push_back(Tr(r.What));
        LabelLeft(cr, Tr(r.What), 76, y + 13, ui::kText, 1.0, 0.5);
        SetFont(cr, TFace::Bold, 13);
        LabelLeft(cr, r.Points, 390 - TextWidth(cr, r.Points), y + 13, ui::kGold, 1.0, 0.5);
        y += 18;
    }
    y += 8;
    y = Bullet(cr, Tr("Help1.2"), y, 12.5);
    Bullet(cr, Tr("Help1.3"), y, 12.5);
    return c;
}

// Page 3: the special balls that change how lines form.
TCanvas SpecialPage() {
    TCanvas c = Page(2, Tr("Help2.Title"));
    cairo_t* cr = c.Cr();
    double y = 106;
    auto item = [&](std::initializer_list<int> pictures, const std::string& text) {
        double x = kLeft + 16;
        for (int p : pictures) {
            DrawBall(c, p, x, y + 12, 14);
            x += 32;
        }
        const double textX = kLeft + 112;
        const double bottom = Paragraph(cr, text, textX, y - 4, kRight - textX);
        y = std::max(bottom, y + 34) + 10;
    };
    item({7, 8, 9}, Tr("Help2.1"));
    item({10}, Tr("Help2.2"));
    item({18, 19, 20}, Tr("Help2.3"));
    SetFont(cr, TFace::Bold, 14);
    LabelLeft(cr, Tr("Help2.Colours"), kLeft, y + 14, ui::kGold, 1.0, 0.6);
    y += 26;
    for (int colour = 1; colour <= kColours; ++colour) {
        const double x = kLeft + 30 + (colour - 1) * 61;
        DrawBall(c, colour - 1, x, y + 18, 16);
        SetFont(cr, TFace::Regular, 11);
        const std::string& name = Tr("Colour." + std::to_string(colour));
        if (TextWidth(cr, name) > 60) fit.TooWide.push_back(name);
        LabelCentred(cr, name, x, y + 50, ui::kTextDim, 1.0, 0);
    }
    Paragraph(cr, Tr("Help2.Symbols"), kLeft, y + 60, kRight - kLeft);
    return c;
}

// Page 4: paint balls and bombs.
TCanvas PaintBombPage() {
    TCanvas c = Page(3, Tr("Help3.Title"));
    cairo_t* cr = c.Cr();
    // Paint: the paint ball among three others, then the three repainted.
    double y = 112;
    const int before[3] = {1, 2, 5};
    DrawBall(c, 11, 70, y + 10, 15);
    for (int i = 0; i < 3; ++i) DrawBall(c, before[i], 110 + i * 32, y + 10, 13);
    Arrow(cr, 212, y + 10, 250);
    for (int i = 0; i < 3; ++i) DrawBall(c, 0, 276 + i * 32, y + 10, 13);
    y = Paragraph(cr, Tr("Help3.1"), kLeft, y + 36, kRight - kLeft) + 14;
    // Bomb: the bomb beside a cluster, then the blast.
    DrawBomb(c, 70, y + 14, 14, 0.3, 0.5);
    const int cluster[3] = {3, 6, 4};
    for (int i = 0; i < 3; ++i) DrawBall(c, cluster[i] - 1, 110 + i * 32, y + 14, 13);
    Arrow(cr, 212, y + 14, 250);
    Glow(cr, 310, y + 14, 34, Rgb(0xFFA040), 0.7);
    Glow(cr, 310, y + 14, 14, Rgb(0xFFFFE0), 0.9);
    TRng rng(9);
    for (int i = 0; i < 10; ++i) {
        const double a = rng.Range(0, 2 * kPi), d = rng.Range(16, 36);
        Glow(cr, 310 + std::cos(a) * d, y + 14 + std::sin(a) * d * 0.7, 3, Rgb(0xFFD080), 0.9);
    }
    y = Paragraph(cr, Tr("Help3.2"), kLeft, y + 44, kRight - kLeft) + 12;
    Bullet(cr, Tr("Help3.3"), y);
    return c;
}

// Page 5: the three modes side by side, with how far back undo goes in each.
TCanvas ModesPage() {
    TCanvas c = Page(4, Tr("Help4.Title"));
    cairo_t* cr = c.Cr();
    struct TMode {
        const char* Name; // key
        int Stars;
        const char* Prefix; // of the value keys
        int Balls[3];
    };
    const TMode modes[3] = {
        {"Btn.Kids", 1, "Help4.Kids", {1, 8, 10}},
        {"Btn.Normal", 2, "Help4.Normal", {11, 21, 18}},
        {"Btn.Professional", 3, "Help4.Pro", {6, 17, 20}},
    };
    // The texts go on a layer of their own first: the boxes behind them take the height of the
    // tallest column.
    TCanvas texts(kHelpPageSize, kHelpPageSize);
    cairo_t* tr = texts.Cr();
    const double top = 92, w = 139, gap = 7;
    double bottom = top;
    for (int m = 0; m < 3; ++m) {
        const TMode& mode = modes[m];
        const double x = 18 + m * (w + gap), cx = x + w / 2;
        for (int i = 0; i < mode.Stars; ++i) {
            StarPath(tr, cx + (i - (mode.Stars - 1) / 2.0) * 16, top + 15, 6.5, 2.8, 5, -kPi / 2);
            SetSource(tr, ui::kGold);
            cairo_fill(tr);
        }
        SetFont(tr, TFace::Bold, 15);
        if (TextWidth(tr, Tr(mode.Name)) > w - 8) fit.TooWide.push_back(Tr(mode.Name));
        LabelCentred(tr, Tr(mode.Name), cx, top + 39, {1, 1, 1}, 1.0, 0.7);
        for (int i = 0; i < 3; ++i) DrawBall(texts, mode.Balls[i], cx + (i - 1) * 30, top + 60, 10);
        double y = top + 76;
        const std::string prefix = mode.Prefix;
        for (const char* row : {"Start", "Turn", "Colours", "Specials", "Undo"}) {
            SetFont(tr, TFace::Regular, 10.5);
            const std::string& label = Tr(std::string("Help4.") + row);
            if (TextWidth(tr, label) > w - 20) fit.TooWide.push_back(label);
            LabelLeft(tr, label, x + 10, y + 10, ui::kTextDim, 1.0, 0);
            y = Paragraph(tr, Tr(prefix + row), x + 10, y + 12, w - 20, 11.5, ui::kText,
                          TFace::Bold) +
                2;
        }
        bottom = std::max(bottom, y + 4);
    }
    for (int m = 0; m < 3; ++m) {
        const double x = 18 + m * (w + gap);
        RoundedRect(cr, x, top, w, bottom - top, 12);
        cairo_set_source_rgba(cr, 0.03, 0.0, 0.12, 0.5);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1);
        SetSource(cr, ui::kPanelEdge, 0.6);
        cairo_stroke(cr);
    }
    c.Paint(texts, 0, 0, 1.0);
    Paragraph(cr, Tr("Help4.Footer"), kLeft, bottom + 6, kRight - kLeft, 12);
    return c;
}

} // namespace

void MakeHelp(TPictureSet& set) {
    TCanvas (*const pages[5])() = {MovesPage, LinesPage, SpecialPage, PaintBombPage, ModesPage};
    for (int page = 0; page < 5; ++page) {
        fit = {};
        const std::string file = "graphics/help" + std::to_string(page) + ".tga";
        set.AddWhole(file, pages[page]());
        // The page and back buttons sit below the panel.
        if (fit.Lowest > kPanelBottom - 4)
            set.NoteMisfit(CurrentLanguage() + " " + file + ": the text runs down to y " +
                           std::to_string(static_cast<int>(fit.Lowest)) + ", below the panel");
        for (const std::string& line : fit.TooWide) {
            std::string note = CurrentLanguage() + " " + file + ": \"";
            note += line;
            note += "\" is too wide";
            set.NoteMisfit(note);
        }
    }
}

} // namespace artgen
