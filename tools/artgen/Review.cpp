#include "tools/artgen/Review.h"

#include "layout/Layout.h"
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
    for (int q = 0; q < 4; ++q)
        DrawPattern(c, set, file, q, (q % 2) * kQuadrantWidth, (q / 2) * kQuadrantHeight);
}

// Button `index` of the game's table in its pattern (0 normal, 1 hovered, 2 pressed).
void DrawButton(TCanvas& c, const TPictureSet& set, int index, int pattern) {
    const TButtonPlace& b = kButtonPlaces[index];
    DrawPattern(c, set, std::string(kButtonFolder) + b.Picture, pattern, b.X, b.Y);
}

// The menu buttons down the left, How to Play hovered, `selected` pressed.
constexpr int kMenuButtons = btnExit + 1;
constexpr int kHoveredMenuButton = btnInstructions;

void CommonLayer(TCanvas& c, const TPictureSet& set, int selected) {
    Quadrants(c, set, "graphics/ingame.tga");
    for (int col = 0; col < kFieldCells; ++col)
        for (int row = 0; row < kFieldCells; ++row)
            DrawPattern(c, set, "graphics/field.tga", 3, CellLeft(col), CellTop(row));
    for (int i = 0; i < kMenuButtons; ++i)
        DrawButton(c, set, i, i == selected ? 2 : (i == kHoveredMenuButton ? 1 : 0));
    DrawPattern(c, set, "graphics/logo_small.tga", 37, kSmallLogo.X, kSmallLogo.Y);
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
            DrawPattern(c, set, "graphics/field.tga", path ? 1 : 0, CellLeft(x), CellTop(y));
        }
    DrawPattern(c, set, "graphics/field.tga", 2, CellLeft(8), CellTop(2));
    for (const TBall& b : placed) {
        const std::string f = balls + std::to_string(b.N) + "_0.tga";
        const TPicture* p = set.Find(f);
        DrawPatternCentred(c, set, f, 0, CellLeft(b.X) + kBallInset + p->PatternWidth / 2,
                           CellTop(b.Y) + kBallInset + p->PatternHeight / 2);
    }
    DrawPattern(c, set, balls + "bomb_0.tga", 0, CellLeft(7) + kBallInset, CellTop(2) + kBallInset);
    DrawPatternCentred(c, set, balls + "2_1.tga", 4, CellCentreX(2), CellCentreY(6));
    DrawPattern(c, set, balls + "bomb_2.tga", 2, CellLeft(5) + kBallInset,
                CellTop(8) - kSelectedBombRise);
    DrawPatternCentred(c, set, balls + "4_2.tga", 14, CellCentreX(4), CellCentreY(4));
    const int preview[kPreviewSlots] = {3, 5, 22, 16};
    for (int k = 0; k < kPreviewSlots; ++k) {
        const std::string f =
            preview[k] == 22 ? balls + "bomb_0.tga" : balls + std::to_string(preview[k]) + "_0.tga";
        DrawPatternCentred(c, set, f, 0, kPreviewCentreX + kCellPitch * k, kPreviewCentreY);
    }
    font.DrawCentred(c, "12480", kScore.X, kScore.Y, 100, Rgb(0xFF0000));
    font.DrawCentred(c, "Normal", kModeName.X, kModeName.Y, 75, Rgb(0xFFFFFF));
    font.DrawLeft(c, "+50", 500, 90, Rgb(0xFFFFFF));
    return c;
}

void ScreenHead(TCanvas& c, const TPictureSet& set, const TFontImage& font,
                const std::string& title) {
    DrawPattern(c, set, "graphics/element_headtext_gamezone.tga", 0, kScreenHead.X, kScreenHead.Y);
    font.DrawCentred(c, title, kScreenTitle.X + kTitleShadow, kScreenTitle.Y + kTitleShadow, 100,
                     Rgb(0x888888));
    font.DrawCentred(c, title, kScreenTitle.X, kScreenTitle.Y, 100, Rgb(0xFFFFFF));
}

TCanvas OptionsMockup(const TPictureSet& set, const TFontImage& font) {
    TCanvas c(800, 600);
    CommonLayer(c, set, 4);
    DrawPattern(c, set, "graphics/fx/card.tga", 0, kCard.X, kCard.Y);
    ScreenHead(c, set, font, "Options");
    const std::string b = "graphics/buttons/";
    DrawPattern(c, set, b + "sound_opt.tga", 1, kMusicRow.X, kMusicRow.Y);
    DrawPattern(c, set, b + "sound_opt.tga", 0, kSoundRow.X, kSoundRow.Y);
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
        cairo_rectangle(c.Cr(), 0, 0, kVolumeBarLeft + w, kPictureHeight);
        cairo_clip(c.Cr());
        c.Paint(tinted, kVolumeBarLeft, row == 0 ? kMusicBarTop : kSoundBarTop);
        cairo_restore(c.Cr());
        DrawButton(c, set, row == 0 ? btnMusicDown : btnSoundDown, 0);
        DrawButton(c, set, row == 0 ? btnMusicUp : btnSoundUp, row); // the sound's hovered
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
        c.Paint(tinted, kFullScreenBox.X, kFullScreenBox.Y);
    }
    DrawPattern(c, set, b + "language.tga", 0, kLanguageRow.X, kLanguageRow.Y);
    DrawPattern(c, set, b + "access.tga", 0, kAccessPanel.X, kAccessPanel.Y);
    for (int button :
         {btnLanguagePrevious, btnLanguageNext, btnReducedMotion, btnBallSymbols, btnTips})
        DrawButton(c, set, button, 0);
    DrawButton(c, set, btnOptionsBack, 1);
    return c;
}

TCanvas HighScoreMockup(const TPictureSet& set, const TFontImage& font, const TTexts& texts) {
    TCanvas c(800, 600);
    CommonLayer(c, set, 6);
    DrawPattern(c, set, "graphics/fx/card.tga", 0, kCard.X, kCard.Y);
    ScreenHead(c, set, font, "High Scores");
    DrawPattern(c, set, "graphics/high_mode.tga", 1, kTableTitle.X, kTableTitle.Y);
    DrawButton(c, set, btnPreviousTable, 0);
    DrawButton(c, set, btnNextTable, 1);
    const char* names[10] = {"Amelia", "Bruno", "Chiara", "Dmitri", "Elena",
                             "Farid",  "Greta", "Hugo",   "Ines",   "Jonas"};
    for (int i = 0; i < 10; ++i) {
        const int y = kTableRowTop + kTableRowPitch * i;
        font.DrawLeft(c, names[i], kTableNameLeft, y, Rgb(0xFFFFFF));
        font.DrawRight(c, std::to_string(1000 - 100 * i), kTableScoreRight, y, Rgb(0xFFFFFF));
    }
    DrawButton(c, set, btnScoresBack, 0);
    DrawButton(c, set, btnClearTable, 0);
    // A message box over it: the name entry.
    DrawPattern(c, set, "graphics/inform.tga", 0, kMessageBox.X, kMessageBox.Y);
    DrawPattern(c, set, "graphics/lau.tga", 1, kMessagePicture.X, kMessagePicture.Y);
    font.DrawCentred(c, texts.Caption("EnterName"), kNameEntryCentreX, kMessageCaptionY, 70,
                     Rgb(0xFF0000));
    int y = kMessageTextY;
    for (const std::string& line : texts.Lines("EnterName")) {
        font.DrawCentred(c, line, kNameEntryCentreX, y, 70, Rgb(0xFFFF00));
        y += 15;
    }
    font.DrawCentred(c, "Player I", kNameEntryCentreX, kPlayerNameY, 85, Rgb(0xFFFFFF));
    DrawButton(c, set, btnYes, 1);
    DrawButton(c, set, btnNo, 0);
    return c;
}

TCanvas MessageMockup(const TPictureSet& set, const TFontImage& font, const TTexts& texts,
                      const std::string& kind, int centre) {
    TCanvas c(800, 600);
    CommonLayer(c, set, 2);
    DrawPattern(c, set, "graphics/inform.tga", 0, kMessageBox.X, kMessageBox.Y);
    if (kind == "LowScore")
        DrawPattern(c, set, "graphics/cry.tga", 3, kMessagePicture.X, kMessagePicture.Y);
    font.DrawCentred(c, texts.Caption(kind), centre, kMessageCaptionY, 70, Rgb(0xFF0000));
    int y = kMessageTextY;
    for (const std::string& line : texts.Lines(kind)) {
        font.DrawCentred(c, line, centre, y, 70, Rgb(0xFFFF00));
        y += 15;
    }
    DrawButton(c, set, btnYes, 0);
    DrawButton(c, set, btnNo, 2);
    return c;
}

TCanvas HelpMockup(const TPictureSet& set, const TFontImage& font, int page) {
    TCanvas c(800, 600);
    CommonLayer(c, set, 5);
    ScreenHead(c, set, font, "How to Play");
    DrawPattern(c, set, "graphics/help" + std::to_string(page) + ".tga", 0, kHelpPage.X,
                kHelpPage.Y);
    if (page > 0) DrawButton(c, set, btnPrevPage, 0);
    if (page < 4) DrawButton(c, set, btnNextPage, 1);
    DrawButton(c, set, btnHelpBack, 0);
    return c;
}

// The logo screen at a given logo clock, flare and shine.
TCanvas LogoMockup(const TPictureSet& set, int letters, int flare, int shine, double progress) {
    TCanvas c(800, 600);
    Quadrants(c, set, "graphics/background.jpg");
    Quadrants(c, set, "graphics/loading_element.tga");
    DrawPattern(c, set, "graphics/logo/velm.tga", 0, kLogoWords.X, kLogoWords.Y);
    DrawPattern(c, set, "graphics/logo/orra.tga", 0, kLogoWords.X, kLogoWords.Y);
    DrawPattern(c, set, "graphics/logo/i.tga", letters, kLogoLetters.X, kLogoLetters.Y);
    DrawPattern(c, set, "graphics/logo/ball.tga", letters, kLogoLetters.X, kLogoLetters.Y);
    if (flare >= 0) {
        const TPicture* p = set.Find("graphics/logo/flare.tga");
        const double scale = (flare * 32 < 256 ? flare * 30 : 256 - (flare * 30 - 256)) / 256.0;
        cairo_t* cr = c.Cr();
        cairo_save(cr);
        cairo_translate(cr, kLogoFlare.X, kLogoFlare.Y);
        cairo_rotate(cr, flare * 16 / 256.0 * 2 * kPi);
        cairo_scale(cr, scale, scale);
        cairo_set_source_surface(cr, p->Image->Surface(), -p->Image->Width() / 2.0,
                                 -p->Image->Height() / 2.0);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    if (shine >= 0)
        DrawPattern(c, set, "graphics/logo/blik_orra.tga", shine, kLogoShine.X, kLogoShine.Y);
    const TPicture* bar = set.Find("graphics/statusline.tga");
    cairo_save(c.Cr());
    cairo_rectangle(c.Cr(), 0, 0, kProgressBar.X + bar->Image->Width() * progress / 195.0,
                    kPictureHeight);
    cairo_clip(c.Cr());
    DrawPattern(c, set, "graphics/statusline.tga", 0, kProgressBar.X, kProgressBar.Y);
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
    for (int size : {16, 24, 32, 48, 64, 128, 192, 256, 512})
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
        const int centre = d.Name == "EnterName"  ? kNameEntryCentreX
                           : d.Name == "LowScore" ? kLowScoreCentreX
                                                  : kMessageCentreX;
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
