#include "shell/KeptFiles.h"

#include "platform/Files.h"
#include "shell/Log.h"
#include "shell/TableReplays.h"

#include <algorithm>
#include <filesystem>
#include <utility>

namespace {

// A statistics file is a few hundred bytes, an extra file some kilobytes (an undo history of
// thousands of moves at most); anything far larger is not ours.
constexpr size_t kMaxStatsBytes = size_t{64} * 1024;
constexpr size_t kMaxExtraBytes = size_t{4} << 20;

std::filesystem::file_type TypeOf(const std::string& file) {
    std::error_code ec;
    return std::filesystem::symlink_status(file, ec).type();
}

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::string Text(const std::vector<uint8_t>& bytes) {
    return std::string(bytes.begin(), bytes.end());
}

} // namespace

TKeptFiles::TKeptFiles(std::string configFile, std::string extraFile, std::string statsFile)
    : configFile_(std::move(configFile)), extraFile_(std::move(extraFile)),
      statsFile_(std::move(statsFile)) {}

void TKeptFiles::KeepCopyAside(const std::string& file, const std::vector<uint8_t>& bytes) {
    const std::string aside = file + ".damaged";
    std::string error;
    if (WriteFileAtomically(aside, bytes, &error))
        Log.Line(std::filesystem::path(file).filename().string() +
                 " is damaged; a copy is kept as " + aside);
    else
        Log.Line(std::filesystem::path(file).filename().string() +
                 " is damaged and no copy could be kept (" + error + ")");
}

void TKeptFiles::MoveAside(const std::string& file) {
    const std::string aside = file + ".damaged";
    std::string error;
    if (MoveFileAside(file, aside, &error))
        Log.Line(std::filesystem::path(file).filename().string() + " is kept as " + aside);
    else
        Log.Line("Cannot keep " + file + " aside (" + error + ")");
}

TKeptConfig TKeptFiles::ReadConfig() {
    TKeptConfig kept;
    kept.Contents.Table = FreshHighScoreTable();
    configWritable_ = false;
    configSound_ = false;
    diskConfig_.clear();
    diskExtra_.clear();
    diskSection_ = TConfigExtra{};
    if (configFile_.empty()) return kept;
    // A symlink to nowhere is there too: it is replaced, never followed, when the game saves.
    std::vector<uint8_t> bytes;
    if (TypeOf(configFile_) != std::filesystem::file_type::not_found) {
        std::string error;
        if (!ReadFileBytes(configFile_, bytes, &error)) {
            // Played with the defaults; the file is left alone, so that its scores stay.
            Log.Line("Cannot read Config.bin (" + error + "); it will not be overwritten");
            kept.Status = TKeptConfig::TStatus::Unreadable;
            return kept;
        }
        kept.Status = TKeptConfig::TStatus::Read;
        kept.Contents = DecodeConfig(bytes.data(), bytes.size());
        for (const std::string& note : kept.Contents.Notes) Log.Line("Config.bin: " + note);
        // The damaged file is kept as it was, before the game writes its sound parts back.
        if (kept.Contents.Damaged()) KeepCopyAside(configFile_, bytes);
        configSound_ = !kept.Contents.Damaged();
        diskConfig_ = bytes;
    }
    configWritable_ = true;
    ReadExtra(bytes, kept);
    return kept;
}

void TKeptFiles::ReadExtra(const std::vector<uint8_t>& config, TKeptConfig& kept) {
    diskSection_.ConfigHash = ConfigHash(config);
    const std::filesystem::file_type type = TypeOf(extraFile_);
    if (extraFile_.empty() || type == std::filesystem::file_type::not_found) return;
    std::vector<uint8_t> bytes;
    std::string error;
    // Never read through a symlink, whose target a copy aside would make readable here.
    if (!ReadFileBytes(extraFile_, bytes, &error, kMaxExtraBytes, false)) {
        Log.Line("Config.extra is not used (" + error + ")");
        // Something else in its place (a FIFO, a folder, a link) is no file of ours: a save
        // replaces it if it can.
        if (type == std::filesystem::file_type::regular) MoveAside(extraFile_);
        return;
    }
    std::vector<TConfigExtra> sections;
    if (!DecodeConfigExtra(Text(bytes), sections, &error)) {
        Log.Line("Config.extra is not used (" + error + ")");
        KeepCopyAside(extraFile_, bytes);
        return;
    }
    const auto mine = std::find_if(sections.begin(), sections.end(), [&](const TConfigExtra& s) {
        return s.ConfigHash == diskSection_.ConfigHash;
    });
    if (mine == sections.end()) {
        // Written by hand, or beside a "Config.bin" put in place by hand.
        Log.Line("Config.extra goes with another Config.bin and is not used");
        KeepCopyAside(extraFile_, bytes);
        return;
    }
    TConfigExtra section = *mine;
    std::vector<std::string> notes;
    CompleteTableScores(kept.Contents.Table, section, notes);
    for (const std::string& note : notes) Log.Line("Config.extra: " + note);
    if (notes.empty())
        diskExtra_ = Text(bytes);
    else
        KeepCopyAside(extraFile_, bytes);
    diskSection_ = section;
    kept.Extra = section;
}

TStatistics TKeptFiles::ReadStatistics() {
    statsWritable_ = false;
    statsSound_ = false;
    diskStats_.clear();
    if (statsFile_.empty()) return {};
    const std::filesystem::file_type type = TypeOf(statsFile_);
    if (type == std::filesystem::file_type::not_found) {
        statsWritable_ = true;
        return {};
    }
    std::vector<uint8_t> bytes;
    std::string error;
    std::error_code ec;
    if (type == std::filesystem::file_type::regular &&
        std::filesystem::file_size(statsFile_, ec) > kMaxStatsBytes && !ec) {
        Log.Line("Cannot read " + statsFile_ + " (larger than " + std::to_string(kMaxStatsBytes) +
                 " bytes); statistics start from zero");
        MoveAside(statsFile_);
        statsWritable_ = true;
        return {};
    }
    if (!ReadFileBytes(statsFile_, bytes, &error, kMaxStatsBytes)) {
        Log.Line("Cannot read " + statsFile_ + " (" + error +
                 "); statistics start from zero and the file is left as it is");
        return {};
    }
    std::vector<std::string> notes;
    const std::string text = Text(bytes);
    TStatistics stats = TStatistics::FromText(text, &notes);
    for (const std::string& n : notes) Log.Line(statsFile_ + ": " + n);
    if (notes.empty()) {
        statsSound_ = true;
        diskStats_ = text;
    } else {
        // The damaged original stays beside the rewritten file for whoever wants to look.
        KeepCopyAside(statsFile_, bytes);
    }
    statsWritable_ = true;
    return stats;
}

std::string TKeptFiles::ExtraText(const std::vector<uint8_t>& config,
                                  const TConfigExtra& extra) const {
    TConfigExtra section = extra;
    section.ConfigHash = ConfigHash(config);
    std::vector<TConfigExtra> sections{section};
    if (diskSection_.ConfigHash != section.ConfigHash) sections.push_back(diskSection_);
    return EncodeConfigExtra(sections);
}

bool TKeptFiles::ConfigSaved(const std::vector<uint8_t>& config, const TConfigExtra& extra) const {
    return !configWritable_ ||
           (configSound_ && config == diskConfig_ && ExtraText(config, extra) == diskExtra_);
}

bool TKeptFiles::Save(const std::vector<uint8_t>& config, const TConfigExtra& extra,
                      const std::string* stats) {
    bool configFailed = false;
    if (!ConfigSaved(config, extra)) {
        std::string error;
        const std::string text = ExtraText(config, extra);
        bool done = true;
        if (text != diskExtra_) {
            done = WriteFileAtomically(extraFile_, Bytes(text), &error);
            if (done) diskExtra_ = text;
        }
        if (done && (!configSound_ || config != diskConfig_)) {
            done = WriteFileAtomically(configFile_, config, &error);
            if (done) {
                diskConfig_ = config;
                configSound_ = true;
            }
        }
        if (done) {
            diskSection_ = extra;
            diskSection_.ConfigHash = ConfigHash(config);
            configError_.clear();
        } else {
            // Saved after every turn: the same failure is logged once.
            if (error != configError_)
                Log.Line("Cannot save Config.bin (" + error + "); the previous file is kept");
            configError_ = error;
            configFailed = true;
        }
    }
    if (!stats || !statsWritable_ || (statsSound_ && *stats == diskStats_)) return !configFailed;
    // Statistics never run ahead of the tables they go with.
    if (configFailed) return false;
    std::string error;
    if (!WriteFileAtomically(statsFile_, Bytes(*stats), &error)) {
        // Retried every frame until it works: the same failure is logged once.
        if (error != statsError_) Log.Line("Cannot save the statistics: " + error);
        statsError_ = error;
        return false;
    }
    statsError_.clear();
    statsSound_ = true;
    diskStats_ = *stats;
    return true;
}

std::vector<uint8_t> TKeptFiles::ReadReplays() {
    replaysWritable_ = replaysSound_ = false;
    diskReplays_.clear();
    if (replaysFile_.empty()) return {};
    const std::filesystem::file_type type = TypeOf(replaysFile_);
    replaysWritable_ = true;
    if (type == std::filesystem::file_type::not_found) return {};
    std::error_code ec;
    if (type == std::filesystem::file_type::regular &&
        std::filesystem::file_size(replaysFile_, ec) > kMaxTableReplaysBytes && !ec) {
        Log.Line("Replays.bin is larger than any file of replays and is not used");
        MoveAside(replaysFile_);
        return {};
    }
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(replaysFile_, bytes, &error, kMaxTableReplaysBytes, false)) {
        Log.Line("Cannot read Replays.bin (" + error + "); it will not be overwritten");
        replaysWritable_ = false;
        return {};
    }
    replaysSound_ = true;
    diskReplays_ = bytes;
    return bytes;
}

void TKeptFiles::ReplaysDamaged(const std::vector<uint8_t>& bytes) {
    replaysSound_ = false;
    KeepCopyAside(replaysFile_, bytes);
}

bool TKeptFiles::SaveReplays(const std::vector<uint8_t>& bytes) {
    if (ReplaysSaved(bytes)) return true;
    std::string error;
    if (!WriteFileAtomically(replaysFile_, bytes, &error)) {
        if (error != replaysError_) Log.Line("Cannot save Replays.bin (" + error + ")");
        replaysError_ = error;
        return false;
    }
    replaysError_.clear();
    replaysSound_ = true;
    diskReplays_ = bytes;
    return true;
}

TDailyResults TKeptFiles::ReadDaily() {
    dailyWritable_ = dailySound_ = false;
    diskDaily_.clear();
    if (dailyFile_.empty()) return {};
    const std::filesystem::file_type type = TypeOf(dailyFile_);
    dailyWritable_ = true;
    if (type == std::filesystem::file_type::not_found) return {};
    std::error_code ec;
    if (type == std::filesystem::file_type::regular &&
        std::filesystem::file_size(dailyFile_, ec) > kMaxStatsBytes && !ec) {
        Log.Line("Daily.txt is larger than any file of daily results and is not used");
        MoveAside(dailyFile_);
        return {};
    }
    std::vector<uint8_t> bytes;
    std::string error;
    if (!ReadFileBytes(dailyFile_, bytes, &error, kMaxStatsBytes, false)) {
        Log.Line("Cannot read Daily.txt (" + error + "); it will not be overwritten");
        dailyWritable_ = false;
        return {};
    }
    std::vector<std::string> notes;
    const std::string text = Text(bytes);
    TDailyResults results = TDailyResults::FromText(text, &notes);
    for (const std::string& n : notes) Log.Line("Daily.txt: " + n);
    if (notes.empty()) {
        dailySound_ = true;
        diskDaily_ = text;
    } else {
        KeepCopyAside(dailyFile_, bytes);
    }
    return results;
}

bool TKeptFiles::SaveDaily(const std::string& text) {
    if (!dailyWritable_ || (dailySound_ && text == diskDaily_)) return true;
    std::string error;
    if (!WriteFileAtomically(dailyFile_, Bytes(text), &error)) {
        if (error != dailyError_) Log.Line("Cannot save Daily.txt (" + error + ")");
        dailyError_ = error;
        return false;
    }
    dailyError_.clear();
    dailySound_ = true;
    diskDaily_ = text;
    return true;
}
