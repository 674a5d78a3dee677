#include "tools/artgen/Translations.h"

#include <array>
#include <utility>

namespace artgen {

namespace {

thread_local std::string current = "en"; // each thread draws in its own language

// Decodes one UTF-8 sequence at s[i] and advances i; malformed bytes decode as U+FFFD.
unsigned NextCodePoint(const std::string& s, size_t& i) {
    const auto b = static_cast<unsigned char>(s[i++]);
    if (b < 0x80) return b;
    int more = b >= 0xF0 ? 3 : (b >= 0xE0 ? 2 : (b >= 0xC0 ? 1 : -1));
    if (more < 0) return 0xFFFD;
    unsigned cp = b & (0x3F >> more);
    while (more-- > 0) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) return 0xFFFD;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i++]) & 0x3F);
    }
    return cp;
}

} // namespace

const std::vector<TLanguageInfo>& Languages() {
    static const std::vector<TLanguageInfo> all = {
        {"en", "English", &EnglishTexts()},      {"de", "Deutsch", &GermanTexts()},
        {"fr", "Français", &FrenchTexts()},      {"es", "Español", &SpanishTexts()},
        {"it", "Italiano", &ItalianTexts()},     {"nl", "Nederlands", &DutchTexts()},
        {"pt", "Português", &PortugueseTexts()},
    };
    return all;
}

const TLanguageInfo* FindLanguage(const std::string& code) {
    for (const TLanguageInfo& l : Languages())
        if (l.Code == code) return &l;
    return nullptr;
}

void SetLanguage(const std::string& code) {
    current = FindLanguage(code) ? code : "en";
}

const std::string& CurrentLanguage() {
    return current;
}

const std::string* Lookup(const std::string& code, const std::string& key) {
    const TLanguageInfo* l = FindLanguage(code);
    if (!l) return nullptr;
    const auto it = l->Texts->find(key);
    return it == l->Texts->end() ? nullptr : &it->second;
}

const std::string& Tr(const std::string& key) {
    if (const std::string* s = Lookup(current, key)) return *s;
    if (const std::string* s = Lookup("en", key)) return *s;
    return key;
}

std::string ToCp1252(const std::string& utf8, bool* lossless) {
    static constexpr std::array<std::pair<unsigned, char>, 27> high = {{
        {0x20AC, '\x80'}, {0x201A, '\x82'}, {0x0192, '\x83'}, {0x201E, '\x84'}, {0x2026, '\x85'},
        {0x2020, '\x86'}, {0x2021, '\x87'}, {0x02C6, '\x88'}, {0x2030, '\x89'}, {0x0160, '\x8A'},
        {0x2039, '\x8B'}, {0x0152, '\x8C'}, {0x017D, '\x8E'}, {0x2018, '\x91'}, {0x2019, '\x92'},
        {0x201C, '\x93'}, {0x201D, '\x94'}, {0x2022, '\x95'}, {0x2013, '\x96'}, {0x2014, '\x97'},
        {0x02DC, '\x98'}, {0x2122, '\x99'}, {0x0161, '\x9A'}, {0x203A, '\x9B'}, {0x0153, '\x9C'},
        {0x017E, '\x9E'}, {0x0178, '\x9F'},
    }};
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        const unsigned cp = NextCodePoint(utf8, i);
        if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
            out += static_cast<char>(cp);
            continue;
        }
        char mapped = 0;
        for (const auto& [from, to] : high)
            if (from == cp) mapped = to;
        if (!mapped) {
            mapped = '?';
            if (lossless) *lossless = false;
        }
        out += mapped;
    }
    return out;
}

} // namespace artgen
