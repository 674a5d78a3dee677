#include "shell/Language.h"

#include "platform/DataPack.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

#include <algorithm>
#include <cctype>

namespace language {

namespace {

std::string current = "en";

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

} // namespace

const std::vector<TLanguage>& All() {
    static const std::vector<TLanguage> all = {
        {"en", "English"},
        {"de", "Deutsch"},
        {"fr", "Fran\xE7"
               "ais"},
        {"es", "Espa\xF1ol"},
        {"it", "Italiano"},
        {"nl", "Nederlands"},
        {"pt", "Portugu\xEAs"},
    };
    return all;
}

std::string CodeOfLocale(const std::string& locale) {
    // The language part ends at the territory, the code set or the modifier.
    std::string code = Lower(locale.substr(0, locale.find_first_of("_.@-")));
    for (const TLanguage& l : All())
        if (code == l.Code) return code;
    return {};
}

std::string FromEnvironment(const TGetEnv& getEnv) {
    for (const char* variable : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = getEnv(variable);
        if (!value || !*value) continue;
        std::string list = value;
        size_t start = 0;
        while (start <= list.size()) {
            const size_t colon = std::min(list.find(':', start), list.size());
            std::string code = CodeOfLocale(list.substr(start, colon - start));
            if (!code.empty()) return code;
            start = colon + 1;
        }
    }
    return "en";
}

std::string Resolve(const std::string& choice, const TGetEnv& getEnv) {
    for (const TLanguage& l : All())
        if (Lower(choice) == l.Code) return l.Code;
    return FromEnvironment(getEnv);
}

int ChoiceIndex(const std::string& choice) {
    const std::vector<TLanguage>& all = All();
    for (size_t i = 0; i < all.size(); ++i)
        if (Lower(choice) == all[i].Code) return static_cast<int>(i) + 1;
    return 0;
}

std::string ChoiceValue(int index) {
    const std::vector<TLanguage>& all = All();
    if (index < 1 || index > static_cast<int>(all.size())) return "auto";
    return all[static_cast<size_t>(index - 1)].Code;
}

void SetCurrent(const std::string& code) {
    current = code.empty() ? "en" : code;
}

const std::string& Current() {
    return current;
}

std::string LocalisedName(const std::string& name) {
    std::string n = name;
    std::replace(n.begin(), n.end(), '\\', '/');
    if (n.rfind("./", 0) == 0) n.erase(0, 2);
    if (current == "en") return n;
    const std::string localised = "lang/" + current + "/" + n;
    return DataFileExists(paths::DataPath(localised)) ? localised : n;
}

std::string ChoiceFromRegistry() {
    return TRegistry().ReadString(kRegistryName).value_or("");
}

} // namespace language
