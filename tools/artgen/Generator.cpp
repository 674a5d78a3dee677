#include "tools/artgen/Generator.h"

#include "tools/artgen/Audio.h"
#include "tools/artgen/Balls.h"
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
        if (!EncodeOgg(MakeEffect(file), 0.4f, serial++, bytes, error) ||
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

// Every other language: its string table and its pictures with words in them under
// lang/<code>/, with the English names. Texts that do not fit are collected in `misfits`.
bool WriteLanguages(const std::string& gameDir, std::vector<std::string>& misfits,
                    std::string* error) {
    for (const TLanguageInfo& l : Languages()) {
        if (l.Code == "en") continue;
        const TPictureSet set = MakeWordSet(l.Code);
        misfits.insert(misfits.end(), set.Misfits().begin(), set.Misfits().end());
        const std::string dir = gameDir + "/lang/" + l.Code;
        if (!WritePictures(set, dir, error) ||
            !WriteFileBytes(dir + "/strings.txt", TTexts(l.Code).StringsFile(), error))
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

bool GenerateAll(const std::string& gameDir, const std::string& reviewDir, std::string* error) {
    // The theme and the effects are made beside the pictures, on threads of their own; every job
    // is independent, so the output does not depend on their timing.
    std::string themeError, effectsError;
    bool themeOk = false, effectsOk = false;
    std::thread theme([&] { themeOk = WriteTheme(gameDir, &themeError); });
    std::thread effects([&] { effectsOk = WriteEffects(gameDir, &effectsError); });

    SetLanguage("en");
    TPictureSet set;
    MakeBalls(set);
    MakeWidgets(set);
    MakeScreens(set);
    MakeLogo(set);
    MakeHelp(set);
    const std::vector<std::string> problems = CheckAgainstCatalogue(set);
    bool ok = problems.empty();
    if (!ok && error) {
        *error = "the pictures do not satisfy the catalogue:";
        for (const std::string& p : problems) *error += "\n  " + p;
    }
    std::vector<std::string> misfits = set.Misfits();
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
    if (ok && !(themeOk && effectsOk)) {
        if (error) *error = themeOk ? effectsError : themeError;
        ok = false;
    }
    return ok;
}

} // namespace artgen
