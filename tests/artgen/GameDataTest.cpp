// The generated pictures, font and texts, read back the way the game reads them.
#include "layout/Layout.h"
#include "render/Catalogue.h"
#include "render/ImageReader.h"
#include "ui/VOFont.h"

#include "tests/artgen/ColourVision.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string kData = VO_GAME_DATA_DIR;

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    std::istringstream in(text);
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

uint8_t Alpha(const TBitmap& b, int x, int y) {
    return b.PixelARGB(x, y) >> 24;
}

TEST(GeneratedPictures, EveryCatalogueEntryLoadsWithItsPatterns) {
    for (const auto* list :
         {&StartupCatalogue(), &IngameCatalogue(), &OptionsCatalogue(), &EffectsCatalogue()})
        for (const TCatalogueEntry& e : *list) {
            SCOPED_TRACE(e.File);
            const std::string path = kData + "/" + e.File;
            ASSERT_TRUE(FileExists(path));
            TBitmapEx b;
            std::string error;
            ASSERT_TRUE(b.LoadFromFile(path, &error)) << error;
            // A 21 picture carries alpha (32 bits); the JPEG and the BMP are opaque 24-bit ones.
            EXPECT_EQ(b.BitsPerPixel(), e.Format == 21 ? 32 : 24);
            const int pw = e.Whole ? b.Width() : e.PatternWidth;
            const int ph = e.Whole ? b.Height() : e.PatternHeight;
            const int patterns = (b.Width() / pw) * (b.Height() / ph);
            EXPECT_GE(patterns, e.MinPatterns);
            if (!e.Whole) {
                EXPECT_LE(pw, e.TextureWidth);
                EXPECT_LE(ph, e.TextureHeight);
            }
            if (e.Format == 21) {
                bool visible = false;
                for (int y = 0; y < b.Height() && !visible; y += 3)
                    for (int x = 0; x < b.Width() && !visible; x += 3) visible = Alpha(b, x, y) > 0;
                EXPECT_TRUE(visible) << "nothing visible";
            }
            // Its dense twin: the same patterns at twice the pixels each way (a long strip may
            // lay them out in more columns), of the same kind.
            TBitmapEx dense;
            ASSERT_TRUE(dense.LoadFromFile(kData + "/" + kDenseFolder + "/" + e.File, &error))
                << error;
            EXPECT_EQ(dense.BitsPerPixel(), b.BitsPerPixel());
            EXPECT_EQ(int64_t{dense.Width()} * dense.Height(), int64_t{4} * b.Width() * b.Height());
            EXPECT_GE((dense.Width() / (2 * pw)) * (dense.Height() / (2 * ph)), e.MinPatterns);
        }
}

// Every picture of another language and the font's glyphs have their dense twin, twice the
// size each way.
TEST(GeneratedPictures, LanguagePicturesAndGlyphsHaveDenseTwins) {
    int twins = 0;
    for (const auto& f : std::filesystem::recursive_directory_iterator(kData + "/lang")) {
        if (f.path().extension() != ".tga") continue;
        const std::string name = std::filesystem::relative(f.path(), kData).string();
        SCOPED_TRACE(name);
        TBitmapEx plain, dense;
        ASSERT_TRUE(plain.LoadFromFile(f.path().string()));
        ASSERT_TRUE(dense.LoadFromFile(kData + "/" + kDenseFolder + "/" + name));
        EXPECT_EQ(dense.Width(), 2 * plain.Width());
        EXPECT_EQ(dense.Height(), 2 * plain.Height());
        ++twins;
    }
    EXPECT_GE(twins, 6 * 20);
    TBitmapEx plain, dense;
    ASSERT_TRUE(plain.LoadFromFile(kData + "/graphics/font/font.bmp"));
    ASSERT_TRUE(dense.LoadFromFile(kData + "/" + kDenseFolder + "/graphics/font/font.bmp"));
    EXPECT_EQ(dense.Width(), 2 * plain.Width());
    EXPECT_EQ(dense.Height(), 2 * plain.Height());
    EXPECT_EQ(dense.BitsPerPixel(), 32);
}

// Pattern p's top-left corner in a picture cut into pw x ph patterns.
void PatternOrigin(const TBitmap& b, int pw, int ph, int p, int& x, int& y) {
    const int across = b.Width() / pw;
    x = (p % across) * pw;
    y = (p / across) * ph;
}

// The game centres every ball picture on (303 + 52 c + w0 / 2, 31 + 52 r + h0 / 2) while the
// cell centre is (323 + 52 c, 51 + 52 r): the ball at rest and every frame of the hover
// animation must cover the cell centre and leave the pattern's corners clear.
TEST(GeneratedPictures, BallsAtRestSitOnTheCellCentre) {
    for (int n = 1; n <= 22; ++n) {
        SCOPED_TRACE(n);
        const bool paint = n >= 12 && n <= 18;
        const int pw = paint ? 44 : 40, ph = paint ? 45 : 40;
        TBitmapEx b;
        ASSERT_TRUE(b.LoadFromFile(kData + "/graphics/balls/" + std::to_string(n) + "_0.tga"));
        for (int p = 0; p < 26; ++p) {
            int x = 0, y = 0;
            PatternOrigin(b, pw, ph, p, x, y);
            const int cx = x + pw / 2 - (pw / 2 - 20), cy = y + ph / 2 - (ph / 2 - 20);
            EXPECT_EQ(Alpha(b, cx, cy), 255) << "pattern " << p;
            EXPECT_EQ(Alpha(b, x, y), 0) << "pattern " << p;
        }
    }
}

// The mean colour of pattern 0 (the ball at rest) of a plain ball's picture, each pixel weighted
// by its alpha; `density` 1 or 2.
vision::TColour MeanBallColour(int n, int density) {
    TBitmapEx b;
    const std::string folder = density == 2 ? kData + "/" + kDenseFolder : kData;
    EXPECT_TRUE(b.LoadFromFile(folder + "/graphics/balls/" + std::to_string(n) + "_0.tga"));
    double r = 0, g = 0, bl = 0, w = 0;
    for (int y = 0; y < 40 * density && y < b.Height(); ++y)
        for (int x = 0; x < 40 * density && x < b.Width(); ++x) {
            const uint32_t p = b.PixelARGB(x, y);
            const double a = (p >> 24) / 255.0;
            r += a * ((p >> 16) & 0xFF) / 255.0;
            g += a * ((p >> 8) & 0xFF) / 255.0;
            bl += a * (p & 0xFF) / 255.0;
            w += a;
        }
    return w > 0 ? vision::TColour{r / w, g / w, bl / w} : vision::TColour{};
}

// No two plain balls may look alike, for normal vision and for protan, deutan and tritan vision
// at full severity: every pair of mean colours differs by at least 12 (CIE76) however the
// deficiency is simulated. The figures are printed for the README.
TEST(GeneratedPictures, PlainBallsStayApartInEveryColourVision) {
    const char* names[7] = {"red", "green", "blue", "yellow", "violet", "cyan", "white"};
    for (int density : {1, 2}) {
        std::vector<vision::TColour> means;
        for (int n = 1; n <= 7; ++n) means.push_back(MeanBallColour(n, density));
        for (bool onEncoded : {false, true}) {
            std::string line =
                std::to_string(density) + "x" + (onEncoded ? " (encoded)" : "") + ":";
            for (vision::TVision v : vision::kVisions) {
                const vision::TClosest c = vision::ClosestPair(means, v, onEncoded);
                char figure[96];
                std::snprintf(figure, sizeof figure, " %s %.1f (%s-%s)", vision::Name(v),
                              c.Difference, names[c.First], names[c.Second]);
                line += figure;
                EXPECT_GE(c.Difference, 12.0) << line;
            }
            std::printf("closest plain balls, %s\n", line.c_str());
        }
    }
}

// Contrast ratio (WCAG 2) of two colours given as 0x..RRGGBB or, with `abgr`, 0xAABBGGRR.
double RelativeLuminance(uint32_t rgb) {
    double l = 0;
    const double weights[3] = {0.2126, 0.7152, 0.0722};
    for (int i = 0; i < 3; ++i) {
        const double c = ((rgb >> (16 - 8 * i)) & 0xFF) / 255.0;
        l += weights[i] * (c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4));
    }
    return l;
}
uint32_t FromAbgr(uint32_t abgr) {
    return (abgr & 0xFF) << 16 | (abgr & 0xFF00) | (abgr >> 16 & 0xFF);
}
double Contrast(uint32_t a, uint32_t b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The messages' caption and text, and the tips' text, against every pixel of the box picture
// where any language's words may fall (the caption's band, the text's room, the tips' inner
// area), each laid over white, the worst that may lie under a box: at least 4.5 : 1 everywhere. The
// colours and boxes are the same in every language; the generator fails the build where a
// language's text fits no room.
TEST(GeneratedPictures, MessageTextsStandOutFromTheirBoxes) {
    struct TArea {
        const char* File;
        TPlace At;
        TEdges Room;
        uint32_t Colour;
    };
    const TArea areas[] = {
        {"graphics/inform.tga",
         kMessageBox,
         {kMessageRoomLeft, 186, kMessageRoomRight, 216},
         kMessageCaptionColour},
        {"graphics/inform.tga",
         kMessageBox,
         {kMessageRoomLeft, kMessageTextY, kMessageRoomRight, kMessageTextBottom},
         kMessageTextColour},
        {"graphics/fx/tip.tga",
         {kTipBox.Left, kTipBox.Top},
         {kTipBox.Left + kTipPadding, kTipBox.Top + kTipPadding, kTipBox.Right - kTipPadding,
          kTipBox.Bottom - kTipPadding},
         kMessageTextColour},
    };
    for (const TArea& a : areas) {
        TBitmapEx b;
        ASSERT_TRUE(b.LoadFromFile(kData + "/" + a.File)) << a.File;
        double worst = 100;
        for (int y = a.Room.Top; y < a.Room.Bottom; ++y)
            for (int x = a.Room.Left; x < a.Room.Right; ++x) {
                const uint32_t p = b.PixelARGB(x - a.At.X, y - a.At.Y);
                const uint32_t alpha = p >> 24;
                uint32_t over = 0;
                for (int shift : {0, 8, 16})
                    over |= ((p >> shift & 0xFF) * alpha + 255 * (255 - alpha) + 127) / 255
                            << shift;
                const double c = Contrast(FromAbgr(a.Colour), over);
                worst = std::min(worst, c);
            }
        EXPECT_GE(worst, 4.5) << a.File << " at y " << a.Room.Top;
        std::printf("lowest text contrast, %s from y %d: %.1f : 1\n", a.File, a.Room.Top, worst);
    }
}

// The clear-symbol balls: the same pattern layout as the faint ones they stand in for, and the
// symbol really drawn at full contrast: inside the ball the clear picture holds both near-black
// or white texels and texels of the ball's own colour, and it differs from the faint one.
TEST(GeneratedPictures, ClearSymbolBallsMatchTheirFaintTwins) {
    for (const TCatalogueEntry& e : IngameCatalogue()) {
        const std::string clear = ClearSymbolsFile(e.File);
        if (clear.empty()) continue;
        SCOPED_TRACE(clear);
        TBitmapEx faint, bold;
        ASSERT_TRUE(faint.LoadFromFile(kData + "/" + e.File));
        ASSERT_TRUE(bold.LoadFromFile(kData + "/" + clear));
        ASSERT_EQ(bold.Width(), faint.Width());
        ASSERT_EQ(bold.Height(), faint.Height());
        int strong = 0, changed = 0;
        for (int y = 0; y < e.PatternHeight; ++y)
            for (int x = 0; x < e.PatternWidth; ++x) {
                const uint32_t p = bold.PixelARGB(x, y), q = faint.PixelARGB(x, y);
                if ((p >> 24) < 255) continue;
                const int lo = std::min({p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF});
                const int hi = std::max({p & 0xFF, (p >> 8) & 0xFF, (p >> 16) & 0xFF});
                strong += hi < 70 || lo > 225;
                changed += p != q;
            }
        EXPECT_GT(strong, 20);
        EXPECT_GT(changed, 80);
        TBitmapEx dense;
        EXPECT_TRUE(dense.LoadFromFile(kData + "/" + kDenseFolder + "/" + clear));
    }
}

// The selected bomb is drawn at (303 + 52 c, 11 + 52 r) and the hovered one at (303 + 52 c,
// 27 + 52 r): both must put the bomb's body over the cell centre (323 + 52 c, 51 + 52 r).
TEST(GeneratedPictures, BombPicturesCoverTheCellCentre) {
    struct TCase {
        const char* File;
        int Pw, Ph, Dy;
    };
    for (const TCase& c : {TCase{"bomb_0.tga", 40, 41, 0}, TCase{"bomb_1.tga", 40, 45, 24},
                           TCase{"bomb_2.tga", 54, 63, 40}}) {
        SCOPED_TRACE(c.File);
        TBitmapEx b;
        ASSERT_TRUE(b.LoadFromFile(kData + "/graphics/balls/" + c.File));
        const int patterns = c.Dy == 0 ? 26 : 6;
        for (int p = 0; p < patterns; ++p) {
            int x = 0, y = 0;
            PatternOrigin(b, c.Pw, c.Ph, p, x, y);
            const int cy = c.Dy == 0 ? y + c.Ph / 2 : y + c.Dy;
            EXPECT_EQ(Alpha(b, x + 20, cy), 255) << "pattern " << p;
        }
    }
}

// Field cells 0..2 are overlays blended over the empty cell 3, which must be nearly opaque.
TEST(GeneratedPictures, FieldCellsLayerOverTheEmptyCell) {
    TBitmapEx b;
    ASSERT_TRUE(b.LoadFromFile(kData + "/graphics/field.tga"));
    ASSERT_GE(b.Width() / 51, 4);
    EXPECT_GT(Alpha(b, 3 * 51 + 25, 25), 200);              // empty cell
    EXPECT_LT(Alpha(b, 0 * 51 + 25, 25), 64);               // plain overlay: a faint sheen
    EXPECT_GT(Alpha(b, 1 * 51 + 25, 25), Alpha(b, 25, 25)); // the path shows
    EXPECT_GT(Alpha(b, 2 * 51 + 17, 17), 128);              // the cross of the blocked mark
}

// The help pages leave the screen head (drawn before them at x 400..660, y 23..78) and the page
// buttons under them (y 445..485) visible.
TEST(GeneratedPictures, HelpPagesKeepTheHeadAndButtonsClear) {
    for (int page = 0; page < 5; ++page) {
        SCOPED_TRACE(page);
        TBitmapEx b;
        ASSERT_TRUE(b.LoadFromFile(kData + "/graphics/help" + std::to_string(page) + ".tga"));
        ASSERT_EQ(b.Width(), 467);
        for (int x = 97; x < 357; x += 5) EXPECT_EQ(Alpha(b, x, 20), 0);
        for (int x = 7; x < 453; x += 5) EXPECT_EQ(Alpha(b, x, 430), 0);
        EXPECT_GT(Alpha(b, 233, 200), 200);
    }
}

TEST(GeneratedFont, MetricsFitTheMessageLinePitch) {
    const std::string rls = ReadAll(kData + "/graphics/font/font.rls");
    ASSERT_EQ(rls.size(), 258u);
    const int height = static_cast<uint8_t>(rls[0]), width = static_cast<uint8_t>(rls[1]);
    EXPECT_LE(height * 0.7, 15.0);
    EXPECT_GE(height, 18); // high-score rows are 25 pixels apart at scale 100
    for (int c = 33; c < 127; ++c) {
        const int advance = static_cast<uint8_t>(rls[static_cast<size_t>(2 + c)]);
        EXPECT_GT(advance, 0) << "code " << c;
        EXPECT_LE(advance, width) << "code " << c;
    }
    EXPECT_GT(static_cast<uint8_t>(rls[2 + 32]), 0);   // space
    EXPECT_EQ(static_cast<uint8_t>(rls[2 + 0x81]), 0); // unused in Windows-1252
}

TEST(GeneratedFont, GlyphPictureCarriesCoverageInAlpha) {
    const std::string rls = ReadAll(kData + "/graphics/font/font.rls");
    ASSERT_EQ(rls.size(), 258u);
    const int gh = static_cast<uint8_t>(rls[0]), gw = static_cast<uint8_t>(rls[1]);
    TBitmapEx b;
    std::string error;
    ASSERT_TRUE(b.LoadFromFile(kData + "/graphics/font/font.bmp", &error)) << error;
    ASSERT_EQ(b.BitsPerPixel(), 32);
    ASSERT_GE((b.Width() / gw) * (b.Height() / gh), 256);
    // A white face on a black rim: every inked pixel is a grey, and an opaque glyph has both
    // ends, so a tinted face always has its dark edge against any background.
    int faces = 0, rims = 0;
    auto coverage = [&](int code) {
        int x0 = 0, y0 = 0, sum = 0;
        PatternOrigin(b, gw, gh, code, x0, y0);
        for (int y = 0; y < gh; ++y)
            for (int x = 0; x < gw; ++x) {
                const int a = Alpha(b, x0 + x, y0 + y);
                sum += a;
                if (a == 0) continue;
                const uint32_t p = b.PixelARGB(x0 + x, y0 + y);
                const uint32_t r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, bl = p & 0xFF;
                EXPECT_TRUE(r == g && g == bl) << code << " at " << x << "," << y;
                if (a == 255 && r >= 0xF0) ++faces;
                if (a == 255 && r <= 0x10) ++rims;
            }
        return sum;
    };
    EXPECT_GT(coverage('A'), 255 * 20);
    EXPECT_GT(coverage(0xE9), 255 * 10); // e acute
    EXPECT_GT(coverage(0x80), 255 * 10); // euro sign
    EXPECT_EQ(coverage(' '), 0);
    EXPECT_EQ(coverage(7), 0);
    EXPECT_GT(faces, 30);
    EXPECT_GT(rims, 30);
}

// A strings.txt reader following the file format: "$Key" then the value line, "@Key" then "{",
// lines, "}". Keys compare case-insensitively.
struct TStrings {
    std::map<std::string, std::string> Strings;
    std::map<std::string, std::vector<std::string>> Lists;
};

std::string Lower(std::string s) {
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

TStrings ParseStrings(const std::string& text) {
    TStrings t;
    const std::vector<std::string> lines = Lines(text);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::string& l = lines[i];
        if (l.empty() || l[0] == ';') continue;
        if (l[0] == '$' && i + 1 < lines.size()) {
            t.Strings.emplace(Lower(l.substr(1)), lines[i + 1]);
            ++i;
        } else if (l[0] == '@' && i + 1 < lines.size() && lines[i + 1] == "{") {
            std::vector<std::string> list;
            size_t j = i + 2;
            for (; j < lines.size() && lines[j] != "}"; ++j) list.push_back(lines[j]);
            EXPECT_LT(j, lines.size()) << "list " << l << " has no closing }";
            t.Lists.emplace(Lower(l.substr(1)), list);
            i = j;
        }
    }
    return t;
}

// The string tables: English at the data folder's root, every other language under lang/.
std::vector<std::pair<std::string, std::string>> StringFiles() {
    std::vector<std::pair<std::string, std::string>> files = {{"en", kData + "/strings.txt"}};
    for (const char* code : {"de", "fr", "es", "it", "nl", "pt"})
        files.emplace_back(code, kData + "/lang/" + code + "/strings.txt");
    return files;
}

TEST(GeneratedTexts, StringTableHoldsEveryKeyInEveryLanguage) {
    for (const auto& [code, file] : StringFiles()) {
        SCOPED_TRACE(code);
        const std::string text = ReadAll(file);
        ASSERT_FALSE(text.empty()) << file;
        const TStrings t = ParseStrings(text);
        EXPECT_EQ(t.Strings.at("maincaption"), "Velm Orra");
        for (const char* key : {"options", "highscores", "help", "kids", "normal", "proff"})
            EXPECT_FALSE(t.Strings.at(key).empty()) << key;
        for (const char* dialog :
             {"exit", "new", "old", "clear", "entername", "lowscore", "fullscreen", "exitkeep"}) {
            const std::string d = dialog;
            ASSERT_TRUE(t.Strings.count(d + "_caption")) << d;
            ASSERT_TRUE(t.Lists.count(d + "_text")) << d;
            EXPECT_FALSE(t.Lists.at(d + "_text").empty()) << d;
        }
        if (code != "en") {
            EXPECT_NE(t.Strings.at("help"), "How to Play") << "not translated";
        }
    }
}

// Message texts at scale 70 must stay inside the box (x 310..753) and clear of the pictures on
// its left (the wreath of the name entry ends at x 420, the crying ball at x 500), and above the
// Yes/No buttons at y 320; the name entry keeps y 265 free for the typed name. Measured with the
// game's own font layout: the first glyph's left edge and the last one's advance.
TEST(GeneratedTexts, MessageTextsFitTheirBoxesInEveryLanguage) {
    const std::string rls = ReadAll(kData + "/graphics/font/font.rls");
    ASSERT_EQ(rls.size(), 258u);
    TVOFont font(nullptr);
    for (int c = 0; c < 256; ++c)
        font.Advance[static_cast<size_t>(c)] =
            static_cast<uint8_t>(rls[2 + static_cast<size_t>(c)]);
    int left = 0, right = 0;
    font.OnGlyph = [&](uint8_t code, int32_t x, int32_t, int32_t, uint32_t) {
        left = std::min(left, x);
        right = std::max(right, x + static_cast<int32_t>(std::nearbyint(font.Advance[code] * 0.7)));
    };
    struct TBox {
        const char* Name;
        int Centre, Left;
        size_t MaxLines;
    };
    for (const auto& [code, file] : StringFiles()) {
        const TStrings t = ParseStrings(ReadAll(file));
        for (const TBox& box : {TBox{"exit", 530, 322, 5}, TBox{"new", 530, 322, 5},
                                TBox{"old", 530, 322, 5}, TBox{"clear", 530, 322, 5},
                                TBox{"entername", 550, 424, 2}, TBox{"lowscore", 600, 504, 5},
                                TBox{"fullscreen", 530, 322, 5}, TBox{"exitkeep", 530, 322, 5}}) {
            SCOPED_TRACE(code + " " + box.Name);
            const std::string name = box.Name;
            std::vector<std::string> lines = t.Lists.at(name + "_text");
            EXPECT_LE(lines.size(), box.MaxLines);
            lines.push_back(t.Strings.at(name + "_caption"));
            for (const std::string& line : lines) {
                left = 0xFFFF;
                right = 0;
                font.DrawTextScaled(line, static_cast<uint16_t>(box.Centre), 200, 70, 0);
                if (right == 0) continue; // an empty line
                EXPECT_GE(left, box.Left) << line;
                EXPECT_LE(right, 741) << line;
            }
        }
    }
}

} // namespace
