#pragma once
// The language of every text the player reads. English lives at the data folder's own paths;
// another language keeps its texts and its pictures with words in them under "lang/<code>/" with
// the same relative names, and whatever it lacks is read from the English place. The language is
// set before the first picture loads; a choice made on the Options screen sets it anew and loads
// the texts and pictures again.
#include <functional>
#include <string>
#include <vector>

namespace language {

struct TLanguage {
    const char* Code; // ISO 639-1: "en", "de", ...
    const char* Name; // in the language itself, Windows-1252
};

// English first, then German, French, Spanish, Italian, Dutch, Portuguese.
const std::vector<TLanguage>& All();
// The supported code a locale name stands for: "de" for "de", "de_DE.UTF-8" or "de_AT@euro"
// (any case); empty for an unsupported one, "C" and "POSIX".
std::string CodeOfLocale(const std::string& locale);

using TGetEnv = std::function<const char*(const char*)>;
// The first supported language named by LANGUAGE (a colon-separated list), LC_ALL, LC_MESSAGES
// and LANG, in that order; unset and empty variables are passed over. English when none names one.
std::string FromEnvironment(const TGetEnv& getEnv);
// A choice stored by the Options screen: "" follows the environment; an unknown code is
// followed the same way, so a damaged registry value never leaves the player without texts.
std::string Resolve(const std::string& choice, const TGetEnv& getEnv);

// The language the data is read in (English until set).
void SetCurrent(const std::string& code);
const std::string& Current();
// A data file's game-relative name in the current language: "lang/<code>/<name>" when that file
// exists in the data folder, `name` otherwise. "\" and a leading "./" are normalised first.
std::string LocalisedName(const std::string& name);

// The Options screen's choices: 0 follows the environment, 1 + i is All()[i]. An empty, "auto"
// or unknown stored choice is 0.
int ChoiceIndex(const std::string& choice);
// What the registry keeps for a choice index: "auto" or the language code.
std::string ChoiceValue(int index);

// The registry value holding the player's choice.
inline constexpr const char* kRegistryName = "Language";
// The choice stored in the registry ("" when there is none).
std::string ChoiceFromRegistry();

} // namespace language
