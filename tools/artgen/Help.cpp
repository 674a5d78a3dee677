#include "tools/artgen/Help.h"

#include "tools/artgen/Balls.h"
#include "tools/artgen/Palette.h"

#include <cmath>
#include <string>
#include <vector>

namespace artgen {

namespace {

constexpr double kPanelTop = 54, kPanelBottom = 408; // page rows free of the head and buttons
constexpr double kLeft = 22, kRight = 445;

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
        LabelLeft(cr, line, x, y + size, colour, 1.0, 0.5);
        y += lineHeight;
    }
    return y;
}

// A bullet paragraph: a small diamond, then the wrapped text.
double Bullet(cairo_t* cr, const std::string& text, double y, double x = kLeft,
              double right = kRight) {
    cairo_new_path(cr);
    cairo_move_to(cr, x + 4, y + 6);
    cairo_line_to(cr, x + 8, y + 10);
    cairo_line_to(cr, x + 4, y + 14);
    cairo_line_to(cr, x, y + 10);
    cairo_close_path(cr);
    SetSource(cr, ui::kAccent);
    cairo_fill(cr);
    return Paragraph(cr, text, x + 16, y, right - x - 16) + 5;
}

// The page background: a glass panel with the page title and its number.
TCanvas Page(int number, const std::string& title) {
    TCanvas c(467, 467);
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
    TCanvas c = Page(0, "Moving the balls");
    cairo_t* cr = c.Cr();
    const double s = 34, x0 = 233.5 - 3.5 * s, y0 = 104;
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
    TCanvas ghost(467, 467);
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
    y = Bullet(cr, "Click a ball to pick it up: it starts to bounce.", y);
    y = Bullet(cr,
               "Click an empty cell to send it there. The ball rolls over free cells only - up, "
               "down, left or right, never diagonally - and takes the shortest way.",
               y);
    y = Bullet(cr,
               "A red cross marks a cell it cannot reach. Dragging a ball works too; the "
               "right mouse button puts it back down.",
               y);
    Bullet(cr,
           "Each move that makes no line brings new balls, shown in advance in the Next "
           "tray. When there is no room left for them, the game is over.",
           y);
    return c;
}

// Page 2: lines, points and the chain bonus.
TCanvas LinesPage() {
    TCanvas c = Page(1, "Lines and points");
    cairo_t* cr = c.Cr();
    const double y0 = 128;
    Glow(cr, 233.5, y0, 70, ui::kAccent, 0.18);
    cairo_set_line_width(cr, 26);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    SetSource(cr, ui::kAccent, 0.18);
    cairo_move_to(cr, 233.5 - 2 * 38, y0);
    cairo_line_to(cr, 233.5 + 2 * 38, y0);
    cairo_stroke(cr);
    for (int i = 0; i < 5; ++i) DrawBall(c, 3, 233.5 + (i - 2) * 38, y0, 15, 0.3);
    SetFont(cr, TFace::Bold, 16);
    LabelCentred(cr, "+50", 233.5 + 2 * 38 + 48, y0 - 8, {1, 1, 1}, 1.0, 0.8);
    double y = y0 + 30;
    y = Bullet(cr,
               "Line up five or more balls of one colour in a row, a column or a diagonal: "
               "they vanish and score. No new balls arrive after a move that clears a line.",
               y);
    // Points table.
    struct TRow {
        const char* What;
        const char* Points;
    };
    const TRow rows[] = {{"Five in a line", "50"},
                         {"Six in a line", "70"},
                         {"Seven in a line", "90"},
                         {"Two lines of five crossing", "130"}};
    RoundedRect(cr, 60, y + 2, 347, 4 * 19 + 8, 8);
    cairo_set_source_rgba(cr, 0.02, 0.0, 0.1, 0.45);
    cairo_fill(cr);
    y += 8;
    for (const TRow& r : rows) {
        SetFont(cr, TFace::Regular, 13);
        LabelLeft(cr, r.What, 76, y + 13, ui::kText, 1.0, 0.5);
        SetFont(cr, TFace::Bold, 13);
        LabelLeft(cr, r.Points, 390 - TextWidth(cr, r.Points), y + 13, ui::kGold, 1.0, 0.5);
        y += 19;
    }
    y += 12;
    Bullet(cr,
           "Chain bonus: clear lines on consecutive moves. The second line in a row earns "
           "its points once more, the third twice more, and so on - until a move clears "
           "nothing.",
           y);
    return c;
}

// Page 3: the special balls that change how lines form.
TCanvas SpecialPage() {
    TCanvas c = Page(2, "Special balls");
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
    item({7, 8, 9}, "Two-colour balls count for both of their colours at once.");
    item({10}, "The rainbow ball carries every colour: it fits any line.");
    item({18, 19, 20}, "Multipliers fit any colour too, and multiply the points of their line "
                       "by 3, 6 or 9.");
    SetFont(cr, TFace::Bold, 14);
    LabelLeft(cr, "Tell the colours apart", kLeft, y + 14, ui::kGold, 1.0, 0.6);
    y += 26;
    for (int colour = 1; colour <= kColours; ++colour) {
        const double x = kLeft + 30 + (colour - 1) * 61;
        DrawBall(c, colour - 1, x, y + 18, 16);
        SetFont(cr, TFace::Regular, 11);
        LabelCentred(cr, ColourName(colour), x, y + 50, ui::kTextDim, 1.0, 0);
    }
    Paragraph(cr,
              "Each colour also wears its own faint symbol: heart, triangle, ring, star, "
              "diamond, cross and square.",
              kLeft, y + 60, kRight - kLeft);
    return c;
}

// Page 4: paint balls and bombs.
TCanvas PaintBombPage() {
    TCanvas c = Page(3, "Paint balls and bombs");
    cairo_t* cr = c.Cr();
    // Paint: the paint ball among three others, then the three repainted.
    double y = 112;
    const int before[3] = {1, 2, 5};
    DrawBall(c, 11, 70, y + 10, 15);
    for (int i = 0; i < 3; ++i) DrawBall(c, before[i], 110 + i * 32, y + 10, 13);
    Arrow(cr, 212, y + 10, 250);
    for (int i = 0; i < 3; ++i) DrawBall(c, 0, 276 + i * 32, y + 10, 13);
    y = Paragraph(cr,
                  "A paint ball plays like a ball of its colour - until you move it next to "
                  "other balls. Then it bursts and, a moment later, paints every ball "
                  "around it in its colour.",
                  kLeft, y + 36, kRight - kLeft) +
        14;
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
    y = Paragraph(cr,
                  "Move a bomb next to other balls and it blows up the whole 3 x 3 block "
                  "around it - other bombs go off too. Blasted balls score nothing.",
                  kLeft, y + 44, kRight - kLeft) +
        12;
    Bullet(cr,
           "When a paint ball or a bomb goes off, no new balls arrive that turn. Moved to "
           "a spot with no neighbours, it simply stays there.",
           y);
    return c;
}

// Page 5: the three modes side by side.
TCanvas ModesPage() {
    TCanvas c = Page(4, "Three ways to play");
    cairo_t* cr = c.Cr();
    struct TMode {
        const char* Name;
        int Stars;
        const char* Start;
        const char* Turn;
        const char* Colours;
        const char* Specials;
        int Balls[3];
    };
    const TMode modes[3] = {
        {"Kids",
         1,
         "3 balls",
         "2 balls",
         "7 at the start, then 6",
         "Two-colour, rainbow",
         {1, 8, 10}},
        {"Normal", 2, "6 balls", "3 balls", "6", "+ bombs, paint, x3 x6 x9", {11, 21, 18}},
        {"Professional",
         3,
         "9 balls",
         "4 balls",
         "All 7 arrive",
         "+ bombs, paint, x3 x6 x9",
         {6, 17, 20}},
    };
    const double top = 100, w = 139, gap = 7, h = 246;
    for (int m = 0; m < 3; ++m) {
        const TMode& mode = modes[m];
        const double x = 18 + m * (w + gap), cx = x + w / 2;
        RoundedRect(cr, x, top, w, h, 12);
        cairo_set_source_rgba(cr, 0.03, 0.0, 0.12, 0.5);
        cairo_fill_preserve(cr);
        cairo_set_line_width(cr, 1);
        SetSource(cr, ui::kPanelEdge, 0.6);
        cairo_stroke(cr);
        for (int i = 0; i < mode.Stars; ++i) {
            StarPath(cr, cx + (i - (mode.Stars - 1) / 2.0) * 16, top + 16, 6.5, 2.8, 5, -kPi / 2);
            SetSource(cr, ui::kGold);
            cairo_fill(cr);
        }
        SetFont(cr, TFace::Bold, 15);
        LabelCentred(cr, mode.Name, cx, top + 42, {1, 1, 1}, 1.0, 0.7);
        for (int i = 0; i < 3; ++i) DrawBall(c, mode.Balls[i], cx + (i - 1) * 30, top + 66, 11);
        double y = top + 88;
        auto row = [&](const char* label, const char* value) {
            SetFont(cr, TFace::Regular, 10.5);
            LabelLeft(cr, label, x + 10, y + 10, ui::kTextDim, 1.0, 0);
            y = Paragraph(cr, value, x + 10, y + 12, w - 20, 11.5, ui::kText, TFace::Bold) + 3;
        };
        row("Balls at the start", mode.Start);
        row("New balls each turn", mode.Turn);
        row("Colours", mode.Colours);
        row("Special balls", mode.Specials);
    }
    Paragraph(cr,
              "Fewer balls arrive as the board fills up. Each mode keeps its own table of "
              "the ten best scores.",
              kLeft, top + h + 8, kRight - kLeft, 12.5);
    return c;
}

} // namespace

void MakeHelp(TPictureSet& set) {
    set.AddWhole("graphics/help0.tga", MovesPage());
    set.AddWhole("graphics/help1.tga", LinesPage());
    set.AddWhole("graphics/help2.tga", SpecialPage());
    set.AddWhole("graphics/help3.tga", PaintBombPage());
    set.AddWhole("graphics/help4.tga", ModesPage());
}

} // namespace artgen
