#pragma once
// The values the game keeps outside "Config.bin": the full-screen flag and the language choice.
// They live in a small text file, "registry" under the user's configuration folder, one
// "Name=value" line per value; names compare ignoring case.
#include <cstdint>
#include <optional>
#include <string>

class TRegistry {
public:
    // The file defaults to paths::UserConfigDir() + "/registry" (none without a usable home: every
    // read finds nothing and every write fails).
    explicit TRegistry(std::string file = {});

    // The value, or nothing when the file or the name is missing or the value is not a number.
    std::optional<int32_t> ReadInteger(const std::string& name) const;
    // Creates the folder and the file as needed; false when they cannot be written or when a file
    // is there that cannot be read (a folder, a FIFO, a device, a symlink, no permission, over
    // 64 KB), which is left as it is. Other values in the file are kept.
    bool WriteInteger(const std::string& name, int32_t value);
    // The value as written, without the blanks around it; nothing when the name is missing.
    std::optional<std::string> ReadString(const std::string& name) const;
    // As WriteInteger; line breaks in the value are dropped so that it stays one line.
    bool WriteString(const std::string& name, const std::string& value);

    const std::string& File() const { return file_; }

    // A registry file that is damaged — a regular file over 64 KB, or one holding lines that are
    // no "Name=value" or that hold control bytes — is kept as "<file>.damaged", and its sound
    // lines (none of one too large to read) are written back in its place. For the start, before
    // the values are read. What was found and done, for the log; nothing when the file is sound
    // or missing, when something else is in its place, or when this run writes nothing.
    std::optional<std::string> KeepDamagedAside();

    // For a run that must write nothing (no lock guards its files): every write fails and
    // leaves the file as it is. For the whole process.
    static void SetReadOnly(bool readOnly);

private:
    std::string file_;
};
