#include "tools/artgen/Generator.h"

#include "tools/artgen/Audio.h"
#include "tools/artgen/Balls.h"
#include "tools/artgen/Effects.h"
#include "tools/artgen/Files.h"
#include "tools/artgen/Font.h"
#include "tools/artgen/Help.h"
#include "tools/artgen/Logo.h"
#include "tools/artgen/Output.h"
#include "tools/artgen/Review.h"
#include "tools/artgen/Screens.h"
#include "tools/artgen/Texts.h"
#include "tools/artgen/Translations.h"
#include "tools/artgen/Widgets.h"
#include "ui/TextFit.h"
#include "ui/VOStrings.h" // the tips' keys

#include <filesystem>
#include <set>
#include <thread>
#include <vector>

namespace artgen {

namespace {

// `file` (a path relative to the data folder) inside `dir`.
std::string InFolder(const std::string& dir, const std::string& file) {
    std::string path = dir;
    path += '/';
    path += file;
    return path;
}

// Every effect the sound list names. Each file gets its own stream serial number, fixed by its
// place in the sorted list.
bool WriteEffects(const std::string& gameDir, std::string* error) {
    std::set<std::string> files;
    for (const TSoundEntry& e : SoundList()) files.insert(e.File);
    int serial = 0x564F0001;
    for (const std::string& file : files) {
        std::string bytes;
        if (!EncodeOgg(MakeEffect(file), 0.6f, serial++, bytes, error) ||
            !WriteFileBytes(InFolder(gameDir, file), bytes, error))
            return false;
    }
    return true;
}

bool WriteTheme(const std::string& gameDir, std::string* error) {
    std::string theme;
    return EncodeOgg(MakeTheme(), 0.35f, 0x564F0100, theme, error) &&
           WriteFileBytes(gameDir + "/music/theme.ogg", theme, error);
}

bool WritePictures(const TPictureSet& set, const std::string& gameDir, std::string* error) {
    for (const auto& [file, pic] : set.All())
        if (!WritePicture(InFolder(gameDir, file), *pic.Image, pic.PatternWidth, pic.PatternHeight,
                          error))
            return false;
    return true;
}

// Every other language: its string table (with `texts`) and its pictures with words in them
// under lang/<code>/, with the English names. Texts that do not fit are collected in `misfits`.
bool WriteLanguages(const std::string& gameDir, std::vector<std::string>& misfits,
                    std::string* error, bool texts = true) {
    for (const TLanguageInfo& l : Languages()) {
        if (l.Code == "en") continue;
        const TPictureSet set = MakeWordSet(l.Code);
        misfits.insert(misfits.end(), set.Misfits().begin(), set.Misfits().end());
        const std::string dir = gameDir + "/lang/" + l.Code;
        if (!WritePictures(set, dir, error) ||
            (texts && !WriteFileBytes(dir + "/strings.txt", TTexts(l.Code).StringsFile(), error)))
            return false;
    }
    return true;
}

// The window's own icon: 64 x 64 with alpha, a BMP so that the platform layer reads it without
// a PNG decoder.
bool WriteWindowIcon(const std::string& gameDir, std::string* error) {
    return WriteAlphaBmp(gameDir + "/icon.bmp", MakeIcon(64), 64, 64, error);
}

bool WriteFont(const std::string& gameDir, std::string* error) {
    const TFontImage font;
    return WriteFileBytes(gameDir + "/graphics/font/font.rls", font.Metrics(), error) &&
           WriteAlphaBmp(gameDir + "/graphics/font/font.bmp", font.Glyphs(), kGlyphWidth,
                         kGlyphHeight, error);
}

// The English pictures of the current density, checked against the catalogue (in picture units).
TPictureSet MakeEnglishSet(std::vector<std::string>& problems) {
    SetLanguage("en");
    TPictureSet set;
    MakeBalls(set);
    MakeWidgets(set);
    MakeScreens(set);
    MakeLogo(set);
    MakeHelp(set);
    MakeEffects(set);
    problems = CheckAgainstCatalogue(set);
    return set;
}

// The denser set beside the game's own, under `denseDir` with the same relative names: every
// picture and the font's glyphs drawn at 2 pixels a picture unit. The game reads the font's
// metrics from the 1x set only, so the glyphs must be laid out with the same advances.
bool WriteDenseEnglish(const std::string& denseDir, std::vector<std::string>& misfits,
                       std::string* error) {
    SetDensity(2);
    std::vector<std::string> problems;
    const TPictureSet set = MakeEnglishSet(problems);
    if (!problems.empty()) {
        if (error) {
            *error = "the 2x pictures do not satisfy the catalogue:";
            for (const std::string& p : problems) *error += "\n  " + p;
        }
        return false;
    }
    misfits = set.Misfits();
    const TFontImage font;
    if (font.Metrics() != BaseFontMetrics()) {
        if (error) *error = "the 2x font's advances differ from the 1x font's";
        return false;
    }
    return WritePictures(set, denseDir, error) &&
           WriteAlphaBmp(denseDir + "/graphics/font/font.bmp", font.Glyphs(), kGlyphWidth,
                         kGlyphHeight, error);
}

bool WriteDenseLanguages(const std::string& denseDir, std::vector<std::string>& misfits,
                         std::string* error) {
    SetDensity(2);
    return WriteLanguages(denseDir, misfits, error, false);
}

} // namespace

TPictureSet MakeWordSet(const std::string& language) {
    SetLanguage(language);
    TPictureSet set;
    MakeWordPictures(set);
    MakeWordScreens(set);
    MakeHelp(set);
    SetLanguage("en");
    return set;
}

std::vector<std::string> TextMisfits(const std::string& language) {
    const std::string metrics = BaseFontMetrics();
    const int cell = MetricsCellHeight(metrics);
    const auto width = [&metrics](const std::string& text, int scale) {
        return MetricsWidth(metrics, text, scale);
    };
    std::vector<std::string> misfits;
    const TTexts texts(language);
    for (const TDialogText& d : texts.Dialogs()) {
        const uint32_t flag = d.Name == "EnterName"  ? scrMsgEnterName
                              : d.Name == "LowScore" ? scrMsgLowScore
                                                     : 0;
        const textfit::TRoom room = textfit::MessageRoom(flag);
        std::vector<std::string> lines;
        for (const std::string& l : d.Lines) lines.push_back(ToCp1252(l));
        if (textfit::FitScale(lines, room.Width, room.Bottom - room.Top, cell,
                              textfit::MessageScales(), width) == 0)
            misfits.push_back(language + " message " + d.Name + ": the text fits at no scale");
        if (textfit::FitScale({ToCp1252(d.Caption)}, textfit::MessageRoom(0).Width, 100, cell,
                              textfit::MessageScales(), width) == 0)
            misfits.push_back(language + " message " + d.Name + ": the caption is too wide");
    }
    // The one-line labels: the demo's and its pause over the field, the logo's hint, the modes'
    // names on their plaque under the field.
    const struct {
        const char* Key;
        int Scale, Width;
    } labels[] = {{"DemoLabel", 100, kFieldRight - kFieldLeft},
                  {"Paused", 100, kFieldRight - kFieldLeft},
                  {"PressAnyKey", kLogoPressKeyScale, kLogoPressKeyWidth},
                  {"Kids", kModeNameScale, kModeNameWidth},
                  {"Normal", kModeNameScale, kModeNameWidth},
                  {"Proff", kModeNameScale, kModeNameWidth}};
    for (const auto& label : labels)
        if (width(ToCp1252(texts.String(label.Key)), label.Scale) > label.Width)
            misfits.push_back(language + " " + label.Key + ": wider than its room");
    // The game summary's labels, the new best's mark among them, beside the widest figure.
    const auto* rows = texts.List("SummaryRows");
    std::vector<std::string> summary;
    if (rows)
        for (const std::string& l : *rows) summary.push_back(ToCp1252(l));
    summary.push_back(ToCp1252(texts.String("NewBest")));
    if (textfit::SummaryScale(summary, width) == 0)
        misfits.push_back(language + " game summary: a label and its figure fit no column");
    if (rows && rows->size() > 5 &&
        width(ToCp1252((*rows)[5]) + " " + textfit::kSummaryWidestFigure, kPersonalBestScale) >
            kPersonalBestWidth)
        misfits.push_back(language + " the best by the score is wider than its box");
    // The replays' lines and the seed's, the seed at its widest (ten digits).
    for (const char* key :
         {"ReplayLegend", "ReplayKeys", "ReplayPaused", "LastSeed", "DailyResult"}) {
        std::string text = ToCp1252(texts.String(key));
        for (size_t at = text.find("%s"); at != std::string::npos; at = text.find("%s"))
            text.replace(at, 2, "4294967295");
        if (width(text, kReplayTextScale) > kReplayTextRoom)
            misfits.push_back(language + " " + key + ": wider than its line");
    }
    // Every tip in each wording it has (the plain key's for every input kind without its own).
    for (const char* tip : kTipKeys)
        for (const char* suffix : kInputSuffixes) {
            const std::string key = std::string(tip) + suffix;
            if (texts.String(key).empty()) continue;
            const std::string text = ToCp1252(texts.String(key));
            if (!textfit::WrapTip(text, nullptr, width).empty()) continue;
            std::string misfit = language;
            misfit.append(" ").append(key).append(": more than ");
            misfit.append(std::to_string(kTipMaxLines)).append(" lines in the tips' box");
            misfits.push_back(std::move(misfit));
        }
    return misfits;
}

std::string BaseFontMetrics() {
    static const std::string metrics = [] {
        const int density = Density();
        SetDensity(1);
        std::string m = TFontImage().Metrics();
        SetDensity(density);
        return m;
    }();
    return metrics;
}

bool GenerateAll(const std::string& gameDir, const std::string& reviewDir, std::string* error) {
    // The theme, the effects and the 2x pictures are made beside the 1x pictures, on threads of
    // their own (each thread draws at its own density and in its own language); every job is
    // independent, so the output does not depend on their timing.
    std::string themeError, effectsError, denseError, denseWordsError;
    bool themeOk = false, effectsOk = false, denseOk = false, denseWordsOk = false;
    std::vector<std::string> denseMisfits, denseWordMisfits;
    const std::string denseDir = gameDir + "/" + kDenseFolder;
    BaseFontMetrics(); // made once, before the threads ask for it
    std::thread theme([&] { themeOk = WriteTheme(gameDir, &themeError); });
    std::thread effects([&] { effectsOk = WriteEffects(gameDir, &effectsError); });
    std::thread dense([&] { denseOk = WriteDenseEnglish(denseDir, denseMisfits, &denseError); });
    std::thread denseWords(
        [&] { denseWordsOk = WriteDenseLanguages(denseDir, denseWordMisfits, &denseWordsError); });

    std::vector<std::string> problems;
    const TPictureSet set = MakeEnglishSet(problems);
    bool ok = problems.empty();
    if (!ok && error) {
        *error = "the pictures do not satisfy the catalogue:";
        for (const std::string& p : problems) *error += "\n  " + p;
    }
    std::vector<std::string> misfits = set.Misfits();
    for (const TLanguageInfo& l : Languages()) {
        const std::vector<std::string> texts = TextMisfits(l.Code);
        misfits.insert(misfits.end(), texts.begin(), texts.end());
    }
    ok = ok && WriteLanguages(gameDir, misfits, error);
    if (ok && !misfits.empty()) {
        ok = false;
        if (error) {
            *error = "texts that do not fit:";
            for (const std::string& m : misfits) *error += "\n  " + m;
        }
    }
    const TTexts texts;
    ok = ok && WritePictures(set, gameDir, error) && WriteFont(gameDir, error) &&
         WriteWindowIcon(gameDir, error) &&
         WriteFileBytes(gameDir + "/strings.txt", texts.StringsFile(), error) &&
         WriteFileBytes(gameDir + "/sounds.txt", SoundsFile(), error) &&
         WriteReview(set, reviewDir, error);
    theme.join();
    effects.join();
    dense.join();
    denseWords.join();
    if (ok && !(themeOk && effectsOk)) {
        if (error) *error = themeOk ? effectsError : themeError;
        ok = false;
    }
    if (ok && !(denseOk && denseWordsOk)) {
        if (error) *error = denseOk ? denseWordsError : denseError;
        ok = false;
    }
    denseMisfits.insert(denseMisfits.end(), denseWordMisfits.begin(), denseWordMisfits.end());
    if (ok && !denseMisfits.empty()) {
        ok = false;
        if (error) {
            *error = "texts that do not fit at 2x:";
            for (const std::string& m : denseMisfits) *error += "\n  " + m;
        }
    }
    return ok;
}

} // namespace artgen
