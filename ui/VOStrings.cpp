#include "ui/VOStrings.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

TVOStrings* Strings = nullptr;

namespace {

// Blanks and control characters (codes 0..32) around a line do not count.
std::string Trim(const std::string& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && static_cast<unsigned char>(s[begin]) <= ' ') ++begin;
    while (end > begin && static_cast<unsigned char>(s[end - 1]) <= ' ') --end;
    return s.substr(begin, end - begin);
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : static_cast<char>(c);
    });
    return s;
}

// The lines of a text file; "\r\n", "\n" and a lone "\r" each end a line, and a final line
// break does not start another line.
std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\n' && c != '\r') {
            line += c;
            continue;
        }
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        lines.push_back(std::move(line));
        line.clear();
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
}

// The whole file; false when it is missing, a folder or unreadable.
bool ReadText(std::string path, std::string& text) {
    std::replace(path.begin(), path.end(), '\\', '/');
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream out;
    out << in.rdbuf();
    text = out.str();
    return !in.bad();
}

} // namespace

// The index of the first key line "<prefix><key>" (case-insensitive, trimmed), skipping empty and
// ";" lines; source size when there is none.
size_t TVOStrings::FindKey(char prefix, const std::string& key) const {
    const std::string wanted = prefix + Lower(key);
    for (size_t i = 0; i < source_.size(); ++i) {
        const std::string& line = source_[i];
        if (line.empty() || line[0] == ';') continue;
        if (Lower(Trim(line)) == wanted) return i;
    }
    return source_.size();
}

std::string TVOStrings::GetString(const std::string& key) const {
    const size_t at = FindKey('$', key);
    // A key on the last line has no value: empty.
    return at + 1 < source_.size() ? source_[at + 1] : std::string();
}

void TVOStrings::GetList(const std::string& key, std::vector<std::string>& list) const {
    const size_t at = FindKey('@', key);
    // Skip the key line and the "{" line; a list without its "}" ends at the last line.
    for (size_t i = at + 2; i < source_.size(); ++i) {
        if (Trim(source_[i]) == "}") break;
        list.push_back(source_[i]);
    }
}

bool TVOStrings::LoadFromFile(const std::string& fileName, std::string* error) {
    std::string text;
    if (!ReadText(fileName, text)) {
        if (error) *error = fileName + ": cannot read the string table";
        return false;
    }
    LoadFromText(text);
    return true;
}

void TVOStrings::LoadFromText(const std::string& text) {
    source_ = SplitLines(text);

    MainCaption = GetString("MainCaption");
    Help = GetString("Help");
    Options = GetString("Options");
    HighScores = GetString("HighScores");
    Kids = GetString("Kids");
    Normal = GetString("Normal");
    Proff = GetString("Proff");
    NewGameHint = GetString("NewGameHint");
    FinalScore = GetString("FinalScore");
    FinalPlace = GetString("FinalPlace");
    Statistics = GetString("Statistics");
    Places.clear();
    GetList("Places", Places);
    StatisticsRows.clear();
    GetList("StatisticsRows", StatisticsRows);

    const std::pair<std::string*, std::vector<std::string>*> dialogs[] = {
        {&Exit_Caption, &Exit_Text},
        {&New_Caption, &New_Text},
        {&Old_Caption, &Old_Text},
        {&Clear_Caption, &Clear_Text},
        {&EnterName_Caption, &EnterName_Text},
        {&LowScore_Caption, &LowScore_Text},
        {&FullScreen_Caption, &FullScreen_Text},
        {&ResetStats_Caption, &ResetStats_Text}};
    const char* names[] = {"Exit",      "New",      "Old",        "Clear",
                           "EnterName", "LowScore", "FullScreen", "ResetStats"};
    for (size_t i = 0; i < std::size(dialogs); ++i) {
        *dialogs[i].first = GetString(std::string(names[i]) + "_Caption");
        dialogs[i].second->clear();
        GetList(std::string(names[i]) + "_Text", *dialogs[i].second);
    }
    source_.clear();
}
