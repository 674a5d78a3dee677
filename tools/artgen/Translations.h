#pragma once
// The words of every language the game speaks, keyed by name. English is complete and is the
// fallback for a key a language lacks. Keys name what the player reads: "Btn.*" the button
// labels, "Opt.*" the Options labels, "Game.*" the words on the in-game screen, "Help<n>.*" the
// help pages, and the string table's own keys ("Options", "Exit_Caption", "Exit_Text" with its
// lines joined by "\n"). Texts are UTF-8; the string table is written in Windows-1252.
#include <map>
#include <string>
#include <vector>

namespace artgen {

using TTextTable = std::map<std::string, std::string>;

struct TLanguageInfo {
    std::string Code; // "en", "de", ...
    std::string Name; // in the language itself
    const TTextTable* Texts;
};

// English first, then German, French, Spanish, Italian, Dutch and Portuguese.
const std::vector<TLanguageInfo>& Languages();
const TLanguageInfo* FindLanguage(const std::string& code);

// The language Tr reads (English until set; an unknown code selects English).
void SetLanguage(const std::string& code);
const std::string& CurrentLanguage();
// The text of `key` in the current language, English where it has none, the key itself where
// English has none either.
const std::string& Tr(const std::string& key);
// The text of `key` in `code` only; nullptr where that language lacks it.
const std::string* Lookup(const std::string& code, const std::string& key);

// The UTF-8 text in Windows-1252; characters that code page lacks become "?" and clear `lossless`.
std::string ToCp1252(const std::string& utf8, bool* lossless = nullptr);

// The English table (the complete key list) and one per language, each in a file of its own.
const TTextTable& EnglishTexts();
const TTextTable& GermanTexts();
const TTextTable& FrenchTexts();
const TTextTable& SpanishTexts();
const TTextTable& ItalianTexts();
const TTextTable& DutchTexts();
const TTextTable& PortugueseTexts();

} // namespace artgen
