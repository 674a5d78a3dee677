#include "platform/Registry.h"

#include "platform/Paths.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

std::string Trim(const std::string& s) {
    const auto b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return {};
    const auto e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}

std::vector<std::string> ReadLines(const std::string& file) {
    std::vector<std::string> lines;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

} // namespace

TRegistry::TRegistry(std::string file)
    : file_(file.empty() ? paths::UserConfigDir() + "/registry" : std::move(file)) {}

std::optional<std::string> TRegistry::ReadString(const std::string& name) const {
    for (const std::string& line : ReadLines(file_)) {
        const auto eq = line.find('=');
        if (eq == std::string::npos || Lower(Trim(line.substr(0, eq))) != Lower(name)) continue;
        return Trim(line.substr(eq + 1));
    }
    return std::nullopt;
}

std::optional<int32_t> TRegistry::ReadInteger(const std::string& name) const {
    const std::optional<std::string> text = ReadString(name);
    if (!text) return std::nullopt;
    const std::string& value = *text;
    int32_t v = 0;
    const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), v);
    if (ec != std::errc() || end != value.data() + value.size()) return std::nullopt;
    return v;
}

bool TRegistry::WriteInteger(const std::string& name, int32_t value) {
    return WriteString(name, std::to_string(value));
}

bool TRegistry::WriteString(const std::string& name, const std::string& value) {
    std::vector<std::string> lines = ReadLines(file_);
    std::string entry = name + "=";
    for (char c : value)
        if (c != '\n' && c != '\r') entry += c;
    bool replaced = false;
    for (std::string& line : lines) {
        const auto eq = line.find('=');
        if (eq != std::string::npos && Lower(Trim(line.substr(0, eq))) == Lower(name)) {
            line = entry;
            replaced = true;
        }
    }
    if (!replaced) lines.push_back(entry);

    std::error_code ec;
    const std::filesystem::path path(file_);
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ec);
    const std::string temp = file_ + ".tmp";
    {
        std::ofstream out(temp, std::ios::trunc);
        for (const std::string& line : lines) out << line << '\n';
        out.flush();
        if (!out) {
            std::filesystem::remove(temp, ec);
            return false;
        }
    }
    std::filesystem::rename(temp, file_, ec);
    return !ec;
}
