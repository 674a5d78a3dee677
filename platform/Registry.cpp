#include "platform/Registry.h"

#include "platform/Files.h"
#include "platform/Paths.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
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

// A registry file of a few lines; anything larger is not one.
constexpr size_t kMaxRegistryBytes = size_t{64} * 1024;

bool readOnly = false;

// The file's lines; false when something is there that cannot be read as a registry file (a
// folder, a FIFO, a device, unreadable, too large, a symlink). A missing file has no lines. A
// symlink is never read through: it may name a private file whose lines a write would copy
// into a new registry that anyone can read.
bool ReadLines(const std::string& file, std::vector<std::string>& lines) {
    lines.clear();
    if (file.empty()) return false;
    std::error_code ec;
    if (std::filesystem::symlink_status(file, ec).type() == std::filesystem::file_type::not_found)
        return true;
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(file, bytes, nullptr, kMaxRegistryBytes, false)) return false;
    std::string line;
    for (const uint8_t b : bytes) {
        if (b == '\n') {
            lines.push_back(std::move(line));
            line.clear();
        } else {
            line += static_cast<char>(b);
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return true;
}

// A line the game can have written: blank, or "Name=value" without control bytes (a line end
// of CR, as an editor may leave, is trimmed when read).
bool SoundLine(const std::string& line) {
    for (size_t i = 0; i < line.size(); ++i) {
        const auto c = static_cast<unsigned char>(line[i]);
        if ((c < 32 && c != '\t' && !(c == '\r' && i + 1 == line.size())) || c == 127) return false;
    }
    return Trim(line).empty() || line.find('=') != std::string::npos;
}

} // namespace

TRegistry::TRegistry(std::string file)
    : file_(!file.empty()                    ? std::move(file)
            : paths::UserConfigDir().empty() ? std::string()
                                             : paths::UserConfigDir() + "/registry") {}

std::optional<std::string> TRegistry::ReadString(const std::string& name) const {
    std::vector<std::string> lines;
    ReadLines(file_, lines);
    for (const std::string& line : lines) {
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

void TRegistry::SetReadOnly(bool value) {
    readOnly = value;
}

bool TRegistry::WriteString(const std::string& name, const std::string& value) {
    if (readOnly) return false;
    std::vector<std::string> lines;
    // An unreadable file is left alone: it may hold what another program or the player put there.
    if (!ReadLines(file_, lines)) return false;
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
    std::vector<uint8_t> bytes;
    for (const std::string& line : lines) {
        bytes.insert(bytes.end(), line.begin(), line.end());
        bytes.push_back('\n');
    }
    return WriteFileAtomically(file_, bytes, nullptr);
}

std::optional<std::string> TRegistry::KeepDamagedAside() {
    std::error_code ec;
    if (readOnly || file_.empty() ||
        std::filesystem::symlink_status(file_, ec).type() != std::filesystem::file_type::regular)
        return std::nullopt;
    const std::string aside = file_ + ".damaged";
    std::string error;
    std::vector<std::string> lines;
    if (std::filesystem::file_size(file_, ec) > kMaxRegistryBytes && !ec) {
        if (!MoveFileAside(file_, aside, &error))
            return "The registry file is too large and cannot be kept aside (" + error + ")";
        return "The registry file is too large; it is kept as " + aside;
    }
    std::vector<uint8_t> bytes;
    if (!ReadLines(file_, lines) || !ReadFileBytes(file_, bytes, nullptr, kMaxRegistryBytes, false))
        return std::nullopt; // unreadable: left as it is, and never written
    std::vector<uint8_t> sound;
    size_t damaged = 0;
    for (const std::string& line : lines) {
        if (!SoundLine(line)) {
            ++damaged;
            continue;
        }
        sound.insert(sound.end(), line.begin(), line.end());
        sound.push_back('\n');
    }
    if (damaged == 0) return std::nullopt;
    const std::string what = "The registry file has " + std::to_string(damaged) + " damaged line" +
                             (damaged == 1 ? "" : "s");
    if (!WriteFileAtomically(aside, bytes, &error))
        return what + " and cannot be kept aside (" + error + "); it is left as it is";
    if (!WriteFileAtomically(file_, sound, &error))
        return what + "; it is kept as " + aside + " but cannot be written again (" + error + ")";
    return what + "; it is kept as " + aside + " and its sound lines are used";
}
