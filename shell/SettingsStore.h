#pragma once
// TSettingsStore: what the player keeps between runs. The files in the data folder (through
// TKeptFiles: "Config.bin" with the tables, the volumes and the game in progress, "Config.extra"
// with what goes beyond its bytes, "Stats.txt" with the statistics) and the registry's settings
// of the form (the last mode played, full screen, reduced motion, the balls' symbols, the
// language choice). Reading fills the tables, the options, the game state and the field; saving
// encodes them as they stand. A further part kept beside the tables is read in Read and encoded
// with the others where Write and SaveIfRequested encode them, so that every save writes all of
// them together.
#include "game/DailyResults.h"
#include "game/Statistics.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TGameField;
class TKeptFiles;
struct TConfigExtra;

class TSettingsStore {
public:
    // `configFile` empty: nothing is read or written. `extraFile` and `statsFile` empty:
    // "Config.extra" and "Stats.txt" in the folder of `configFile`.
    TSettingsStore(const std::string& configFile, std::string extraFile, std::string statsFile);
    ~TSettingsStore();
    TSettingsStore(const TSettingsStore&) = delete;
    TSettingsStore& operator=(const TSettingsStore&) = delete;

    // Reads the statistics, then "Config.bin" with its section of "Config.extra": the tables and
    // the volumes, and a kept game into `field` and the game state. False when no game was kept
    // (the field is left as it is).
    bool Read(TGameField& field);
    // True once "Config.bin" has been read and may be written.
    bool Loaded() const { return loaded_; }
    // Writes at once what changed: the tables and volumes, the game on `field` when `game` (a game
    // in progress), and with `statistics` the statistics file too.
    bool Write(const TGameField* field, bool game, bool statistics);
    // For a run that must not write (what was read may be half in place): nothing is written any
    // more.
    void WriteNothing();

    // Asks for a write after the current frame; a completed turn asks for one by itself.
    void RequestSave() { saveRequested_ = true; }
    // The turns of `field` so far ask for no save (the demo's).
    void SkipTurns(const TGameField& field);
    // After each frame: writes "Config.bin" when a save was requested or a turn was completed
    // and the files would change. `mayWrite` false (the form is gone) drops the request.
    void SaveIfRequested(const TGameField* field, bool game, bool mayWrite);

    TStatistics& Statistics() { return stats_; }
    // The daily results ("Daily.txt"), read in Read and written by every save that finds them
    // changed.
    TDailyResults& DailyResults() { return daily_; }
    // A game has finished that the statistics file does not count yet.
    bool StatisticsBehind() const { return FinishedGames() != finishedSeen_; }

    // The registry's settings. Each write logs a failure.
    void ReadAccessSettings(); // reduced motion and the balls' symbols into the options
    void KeepReducedMotion(bool on);
    void KeepBallSymbols(bool clear);
    void KeepFullScreen(bool on);
    void KeepLanguageChoice(const std::string& value);
    // The mode of the last game started (Normal when none is kept).
    int32_t RememberedMode();
    // Keeps `mode` for the next start; written only when it differs from the one kept.
    void RememberMode(int32_t mode);
    // The name last entered in a high-score table, proposed at the next entry ("Player" at first):
    // only the bytes the name entry takes, at most kMaxNameLength of them.
    std::string RememberedName();
    void RememberName(const std::string& name);

private:
    // "Replays.bin" into HighScoreReplays, each replay with its entry of HighScores.
    void ReadReplays();
    // "Config.bin" and its extra section as a save would write them now.
    std::vector<uint8_t> EncodeConfig(const TGameField* field, bool game) const;
    TConfigExtra EncodeExtra(const TGameField* field, bool game) const;
    // Games finished in all modes, as the statistics count them.
    uint64_t FinishedGames() const;

    std::unique_ptr<TKeptFiles> kept_;
    bool loaded_ = false;
    bool saveRequested_ = false;
    uint32_t savedTurns_ = 0; // the field's TurnsCompleted at the last save check
    TStatistics stats_;
    TDailyResults daily_;
    uint64_t finishedSeen_ = 0;   // finished games already written to the statistics file
    int32_t rememberedMode_ = -1; // the mode the registry holds (Normal for none), -1 before read
};
