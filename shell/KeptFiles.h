#pragma once
// The player's files in the data folder, read by a start and written together by every save:
// "Config.bin" (tables, volumes and the saved game in its fixed 1450 bytes), "Config.extra"
// (what goes beyond those bytes, in a section for each "Config.bin" it goes with) and
// "Stats.txt". A save writes, each file in one step (WriteFileAtomically), "Config.extra" with
// the sections of the new and of the on-disk "Config.bin", then "Config.bin", then "Stats.txt".
// So a stop at any instant leaves each file whole, old or new; an extra file holding the section
// of whichever "Config.bin" is there; and statistics never ahead of the tables (a finished game
// is never counted again). A file that is there but cannot be used is kept aside as
// "<file>.damaged" before anything replaces it, and the log says why.
#include "game/DailyResults.h"
#include "game/Statistics.h"
#include "shell/Settings.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// What a start reads from "Config.bin" and its section of "Config.extra".
struct TKeptConfig {
    enum class TStatus { Missing, Unreadable, Read };
    TStatus Status = TStatus::Missing;
    // The defaults unless Read; the table's saturated scores completed from the extra file.
    TConfigContents Contents;
    // The section that goes with the "Config.bin" read (scores, generator states); empty when
    // there is none or it could not be used.
    TConfigExtra Extra;
};

class TKeptFiles {
public:
    // Empty names keep nothing: nothing is read and every save writes nothing.
    TKeptFiles(std::string configFile, std::string extraFile, std::string statsFile);

    // "Config.bin" and its section of "Config.extra". A "Config.bin" that is there but cannot be
    // read (no regular file, no permission, too large) is left as it is and never written in
    // this run, nor is "Config.extra".
    TKeptConfig ReadConfig();
    // "Stats.txt" as far as it is sound. One that is no regular file or cannot be read is left
    // as it is and never written in this run.
    TStatistics ReadStatistics();

    // Writes what differs from the files on disk, in the order above; `stats` null leaves
    // "Stats.txt" alone. A file that cannot be written ends the save there: "Config.bin" is not
    // written without its extra file, nor "Stats.txt" after a failed "Config.bin". False on a
    // failure, which is logged once until its cause changes or a save succeeds.
    bool Save(const std::vector<uint8_t>& config, const TConfigExtra& extra,
              const std::string* stats);
    // True when Save would write neither "Config.extra" nor "Config.bin".
    bool ConfigSaved(const std::vector<uint8_t>& config, const TConfigExtra& extra) const;
    bool ConfigWritable() const { return configWritable_; }
    // For a run that must not write (what was read may be half in place): no save writes
    // anything any more.
    void WriteNothing() {
        configWritable_ = statsWritable_ = replaysWritable_ = dailyWritable_ = false;
    }
    bool StatsWritable() const { return statsWritable_; }

    // "Replays.bin", the tables' replays (shell/TableReplays.h); an empty name keeps none.
    void KeepReplaysIn(std::string file) { replaysFile_ = std::move(file); }
    // Its bytes, empty when there is none. One that is no regular file or cannot be read is left
    // as it is and never written in this run; one too large is moved aside unread.
    std::vector<uint8_t> ReadReplays();
    // The bytes ReadReplays gave could not be used: kept aside, and the next save replaces them.
    void ReplaysDamaged(const std::vector<uint8_t>& bytes);
    // Writes "Replays.bin" in one step when it differs from the file on disk. A save writes it
    // before "Config.bin": a stop between them leaves replays that find their entries by score.
    bool SaveReplays(const std::vector<uint8_t>& bytes);
    bool ReplaysSaved(const std::vector<uint8_t>& bytes) const {
        return !replaysWritable_ || (replaysSound_ && bytes == diskReplays_);
    }

    // "Daily.txt", the daily results; an empty name keeps none. Read as "Stats.txt" is: as far
    // as it is sound, a damaged one kept aside as "Daily.txt.damaged" and written anew at the
    // next save, one that is no regular file or cannot be read left as it is.
    void KeepDailyIn(std::string file) { dailyFile_ = std::move(file); }
    TDailyResults ReadDaily();
    // Writes "Daily.txt" in one step when `text` differs from the file on disk; independent of
    // the other files (a result stands on its own). False on a failure, logged once.
    bool SaveDaily(const std::string& text);

private:
    void ReadExtra(const std::vector<uint8_t>& config, TKeptConfig& kept);
    // The extra file's text a save of `config` with `extra` writes.
    std::string ExtraText(const std::vector<uint8_t>& config, const TConfigExtra& extra) const;
    // Keeps `bytes`, read from `file`, as "<file>.damaged"; logged.
    void KeepCopyAside(const std::string& file, const std::vector<uint8_t>& bytes);
    // Renames `file` to "<file>.damaged" (one too large to read); logged.
    void MoveAside(const std::string& file);

    std::string configFile_, extraFile_, statsFile_;
    bool configWritable_ = false;
    bool statsWritable_ = false;
    // What the files on disk hold, as far as this program knows them.
    bool configSound_ = false; // "Config.bin" is there and holds diskConfig_ unchanged
    std::vector<uint8_t> diskConfig_;
    TConfigExtra diskSection_; // the section of the "Config.bin" on disk
    std::string diskExtra_;    // "Config.extra" as read or written; empty: to be written
    bool statsSound_ = false;  // "Stats.txt" holds diskStats_
    std::string diskStats_;
    std::string configError_, statsError_; // the failures last logged
    std::string replaysFile_;
    bool replaysWritable_ = false;
    bool replaysSound_ = false; // "Replays.bin" holds diskReplays_
    std::vector<uint8_t> diskReplays_;
    std::string replaysError_;
    std::string dailyFile_;
    bool dailyWritable_ = false;
    bool dailySound_ = false; // "Daily.txt" holds diskDaily_
    std::string diskDaily_, dailyError_;
};
