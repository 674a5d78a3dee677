#include "render/Catalogue.h"

#include "layout/Layout.h"
#include "render/Pictures.h"

#include <string>

namespace {

TCatalogueEntry Entry(std::string file, int pw, int ph, int tw, int th, int minPatterns,
                      TPatternImage** slot, int format = 21) {
    TCatalogueEntry e;
    e.File = std::move(file);
    e.PatternWidth = pw;
    e.PatternHeight = ph;
    e.TextureWidth = tw;
    e.TextureHeight = th;
    e.Format = format;
    e.MinPatterns = minPatterns;
    e.Slot = slot;
    return e;
}

TCatalogueEntry Whole(std::string file, TPatternImage** slot) {
    TCatalogueEntry e;
    e.File = std::move(file);
    e.Whole = true;
    e.Slot = slot;
    return e;
}

std::vector<TCatalogueEntry> MakeStartup() {
    TPictures& p = Pictures;
    return {
        Entry("graphics/cursor.tga", 18, 25, 32, 32, 1, &p.Cursor),
        Entry("graphics/background.jpg", kQuadrantWidth, kQuadrantHeight, 512, 512, 4,
              &p.Background, 23),
        Entry("graphics/loading_element.tga", kQuadrantWidth, kQuadrantHeight, 512, 512, 4,
              &p.LoadingElement),
        Whole("graphics/logo/flare.tga", &p.Flare),
        Whole("graphics/statusline.tga", &p.StatusLine),
        Entry("graphics/logo/ball.tga", 57, 213, 512, 512, 33, &p.LogoBall),
        Entry("graphics/logo/i.tga", 57, 306, 512, 512, 33, &p.LogoI),
        Entry("graphics/logo/blik_orra.tga", 235, 75, 512, 512, 29, &p.BlikOrra),
        Whole("graphics/logo/velm.tga", &p.Velm),
        Whole("graphics/logo/orra.tga", &p.Orra),
    };
}

std::vector<TCatalogueEntry> MakeIngame() {
    TPictures& p = Pictures;
    const std::string b = "graphics/buttons/";
    const std::string balls = "graphics/balls/";
    std::vector<TCatalogueEntry> c = {
        Entry(b + "new game.tga", 126, 26, 128, 32, 3, &p.NewGame),
        Entry(b + "kids.tga", 115, 25, 128, 32, 3, &p.Kids),
        Entry(b + "normal.tga", 115, 25, 128, 32, 3, &p.Normal),
        Entry(b + "professional.tga", 115, 25, 128, 32, 3, &p.Professional),
        Entry(b + "options.tga", 143, 31, 256, 32, 3, &p.Options),
        Entry(b + "instructions.tga", 143, 31, 256, 32, 3, &p.Instructions),
        Entry(b + "high scores.tga", 143, 31, 256, 32, 3, &p.HighScoresButton),
        Entry(b + "exit.tga", 143, 31, 256, 32, 3, &p.Exit),
        Entry("graphics/element_headtext_gamezone.tga", 260, 55, 512, 64, 1, &p.HeadText),
        Entry("graphics/high_mode.tga", 380, 96, 512, 512, 6, &p.HighMode),
        Entry(b + "high_mode_r.tga", 34, 34, 64, 128, 3, &p.HighModeR),
        Entry(b + "high_mode_l.tga", 34, 34, 64, 128, 3, &p.HighModeL),
        Entry(b + "back.tga", 144, 40, 256, 128, 3, &p.Back),
        Entry(b + "clear.tga", 144, 40, 256, 128, 3, &p.Clear),
        Entry("graphics/ingame.tga", kQuadrantWidth, kQuadrantHeight, 512, 512, 4, &p.Ingame),
        Entry("graphics/field.tga", 51, 51, 256, 64, 4, &p.Field),
    };
    for (int n = 1; n <= 22; ++n) {
        const bool paint = n >= 12 && n <= 18;
        const size_t i = static_cast<size_t>(n - 1);
        c.push_back(Entry(balls + std::to_string(n) + "_0.tga", paint ? 44 : 40, paint ? 45 : 40,
                          256, 256, 26, &p.Ball[i]));
        c.push_back(Entry(balls + std::to_string(n) + "_1.tga", paint ? 47 : 40, paint ? 52 : 44,
                          256, 256, 26, &p.Bounce[i]));
    }
    c.push_back(Entry(balls + "bomb_0.tga", 40, 41, 64, 64, 26, &p.Ball[21]));
    c.push_back(Entry(balls + "bomb_1.tga", 40, 45, 128, 256, 6, &p.BombHovered));
    c.push_back(Entry(balls + "bomb_2.tga", 54, 63, 128, 256, 6, &p.BombSelected));
    for (int n = 1; n <= 7; ++n) {
        const size_t i = static_cast<size_t>(n - 1);
        const std::string s = balls + std::to_string(n);
        c.push_back(Entry(s + "_2.tga", 44, 42, 512, 256, 36, &p.Sparkle[0][i]));
        c.push_back(Entry(s + "_3.tga", 40, 40, 512, 512, 44, &p.Sparkle[1][i]));
        c.push_back(Entry(s + "_4.tga", 48, 43, 512, 256, 54, &p.Sparkle[2][i]));
        c.push_back(Entry(s + "_5.tga", 40, 40, 512, 256, 2, &p.Sparkle[3][i]));
        c.push_back(Entry(s + "_6.tga", 40, 40, 256, 256, 18, &p.Paint[i]));
    }
    c.push_back(Entry("graphics/inform.tga", 443, 291, 512, 512, 1, &p.Inform));
    c.push_back(Entry(b + "yes.tga", 112, 48, 128, 64, 3, &p.Yes));
    c.push_back(Entry(b + "no.tga", 112, 48, 128, 64, 3, &p.No));
    c.push_back(Entry(b + "prev.tga", 106, 24, 128, 128, 3, &p.Prev));
    c.push_back(Entry(b + "next.tga", 106, 24, 128, 128, 3, &p.Next));
    c.push_back(Entry(b + "fullscreen.tga", 245, 25, 256, 64, 2, &p.FullScreenBox));
    c.push_back(Entry(b + "sound_opt.tga", 405, 45, 512, 64, 2, &p.SoundOpt));
    c.push_back(Entry(b + "sound_opt_g.tga", kVolumeBarWidth, 14, 256, 16, 2, &p.SoundOptG));
    c.push_back(Entry(b + "up.tga", 18, 18, 32, 64, 3, &p.Up));
    c.push_back(Entry(b + "down.tga", 18, 18, 32, 64, 3, &p.Down));
    c.push_back(Entry(b + "undo.tga", 34, 34, 64, 128, 3, &p.Undo));
    c.push_back(Entry(b + "hint.tga", 34, 34, 64, 128, 3, &p.Hint));
    c.push_back(Entry("graphics/explosion.bmp", 128, 128, 128, 128, 1, &p.Explosion, 23));
    for (int page = 0; page < 5; ++page)
        c.push_back(Entry("graphics/help" + std::to_string(page) + ".tga", kHelpPageSize,
                          kHelpPageSize, 512, 512, 1, &p.Help[static_cast<size_t>(page)]));
    c.push_back(Entry("graphics/logo_small.tga", 125, 100, 128, 128, 38, &p.LogoSmall));
    c.push_back(Entry("graphics/cry.tga", 140, 82, 256, 128, 10, &p.Cry));
    c.push_back(Entry("graphics/lau.tga", 60, 60, 64, 64, 2, &p.Lau));
    return c;
}

std::vector<TCatalogueEntry> MakeOptions() {
    TPictures& p = Pictures;
    const std::string b = "graphics/buttons/";
    return {
        Entry(b + "language.tga", 405, 40, 512, 64, 1, &p.LanguageRow),
        Entry(b + "languages.tga", 140, 24, 256, 256, 8, &p.LanguageNames),
        Entry(b + "access.tga", kAccessPanelWidth, kAccessPanelHeight, 512, 128, 1, &p.AccessPanel),
        Entry(b + "switch_onoff.tga", kSwitchWidth, kSwitchHeight, 256, 256, 6, &p.SwitchOnOff),
        Entry(b + "switch_symbols.tga", kSwitchWidth, kSwitchHeight, 256, 256, 6, &p.SwitchSymbols),
    };
}

std::vector<TCatalogueEntry> MakeEffects() {
    TPictures& p = Pictures;
    const std::string fx = "graphics/fx/";
    return {
        Entry(fx + "spark.tga", 16, 16, 32, 16, 2, &p.Spark),
        Entry(fx + "ring.tga", 96, 96, 128, 128, 1, &p.Ring),
        Entry(fx + "glow.tga", 64, 64, 64, 64, 1, &p.Glow),
        Entry(fx + "tip.tga", kTipBox.Right - kTipBox.Left, kTipBox.Bottom - kTipBox.Top, 256, 128,
              1, &p.TipBox),
        Entry(fx + "record.tga", 440, 110, 512, 128, 1, &p.Record),
        Entry(fx + "card.tga", kCardSize, kCardSize, 512, 512, 1, &p.Card),
    };
}

} // namespace

TPictures Pictures;

const std::vector<TCatalogueEntry>& StartupCatalogue() {
    static const std::vector<TCatalogueEntry> c = MakeStartup();
    return c;
}

const std::vector<TCatalogueEntry>& IngameCatalogue() {
    static const std::vector<TCatalogueEntry> c = MakeIngame();
    return c;
}

const std::vector<TCatalogueEntry>& OptionsCatalogue() {
    static const std::vector<TCatalogueEntry> c = MakeOptions();
    return c;
}

const std::vector<TCatalogueEntry>& EffectsCatalogue() {
    static const std::vector<TCatalogueEntry> c = MakeEffects();
    return c;
}

std::string ClearSymbolsFile(const std::string& file) {
    const std::string balls = "graphics/balls/";
    if (file.rfind(balls, 0) != 0) return {};
    const std::string name = file.substr(balls.size()); // "<n>_<set>.tga"
    const size_t bar = name.find('_');
    if (bar == std::string::npos || bar == 0 || name.size() != bar + 6) return {};
    const std::string tail = name.substr(bar);
    if (tail != "_0.tga" && tail != "_1.tga") return {};
    int n = 0;
    for (size_t i = 0; i < bar; ++i) {
        if (name[i] < '0' || name[i] > '9' || n > 100) return {};
        n = n * 10 + (name[i] - '0');
    }
    const bool plainOrMixed = n >= 1 && n <= 10, paint = n >= 12 && n <= 18;
    return plainOrMixed || paint ? std::string(kClearSymbolsFolder) + name : std::string();
}
