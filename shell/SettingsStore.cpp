#include "shell/SettingsStore.h"

#include "game/GameField.h"
#include "game/GameModes.h"
#include "game/HighScores.h"
#include "game/Random.h"
#include "platform/Registry.h"
#include "shell/KeptFiles.h"
#include "shell/Language.h"
#include "shell/Log.h"
#include "shell/Settings.h"
#include "shell/TableReplays.h"
#include "state/GameState.h"
#include "state/OptionsState.h"
#include "state/TablesState.h"

#include <filesystem>
#include <optional>

namespace {

// The file named `name` in the folder of `configFile`, unless `file` names one.
std::string Beside(const std::string& configFile, std::string file, const char* name) {
    // Without a settings file (no usable data folder) there is none of the others either.
    if (!file.empty() || configFile.empty()) return file;
    return (std::filesystem::path(configFile).parent_path() / name).string();
}

} // namespace

TSettingsStore::TSettingsStore(const std::string& configFile, std::string extraFile,
                               std::string statsFile)
    : kept_(std::make_unique<TKeptFiles>(
          configFile, Beside(configFile, std::move(extraFile), kConfigExtraFile),
          Beside(configFile, std::move(statsFile), kStatisticsFile))) {
    kept_->KeepReplaysIn(Beside(configFile, std::string(), kTableReplaysFile));
    kept_->KeepDailyIn(Beside(configFile, std::string(), kDailyResultsFile));
}

TSettingsStore::~TSettingsStore() = default;

bool TSettingsStore::Read(TGameField& field) {
    stats_ = kept_->ReadStatistics();
    daily_ = kept_->ReadDaily();
    finishedSeen_ = FinishedGames();
    Log.Line("Loading config ...");
    const TKeptConfig kept = kept_->ReadConfig();
    loaded_ = kept_->ConfigWritable();
    const TConfigContents& c = kept.Contents;
    HighScores = c.Table;
    Options.MusicVolume = c.MusicVolume;
    Options.SoundVolume = c.SoundVolume;
    ReadReplays();
    if (!c.HasGame) return false;
    Log.Line("Config.bin holds a game of " + std::to_string(c.Game.Score) + " points");
    GameState.CurrentMode = c.Game.Mode;
    // "Play again" after the restored game ends starts the mode that game was played in.
    GameState.ChosenMode = c.Game.Mode;
    GameState.Score = c.Game.Score;
    // A kept game has moves: whatever would discard it asks first, as in the run it was played.
    GameState.GameTouched = true;
    field.BallsPerTurn = c.Game.BallsPerTurn;
    for (size_t i = 0; i < c.Game.Preview.size(); ++i) field.Preview[i] = c.Game.Preview[i];
    for (int x = 0; x < 9; ++x)
        for (int y = 0; y < 9; ++y)
            field.Cell(x, y) = c.Game.Cells[static_cast<size_t>(x)][static_cast<size_t>(y)];
    field.GameCounted = true; // counted as played when it began
    if (kept.Extra.HasRandom) {
        SetRandState(kept.Extra.Random);
        field.History.SetReplayStates(kept.Extra.Replay);
    }
    return true;
}

void TSettingsStore::ReadReplays() {
    HighScoreReplays = THighScoreReplays{};
    const std::vector<uint8_t> bytes = kept_->ReadReplays();
    if (bytes.empty()) return;
    std::string why;
    if (!DecodeTableReplays(bytes.data(), bytes.size(), HighScoreReplays, &why)) {
        Log.Line("Replays.bin is not used (" + why + ")");
        kept_->ReplaysDamaged(bytes);
        return;
    }
    const int dropped = MatchTableReplays(HighScores, HighScoreReplays);
    if (dropped > 0)
        Log.Line("Replays.bin: " + std::to_string(dropped) +
                 " replays go with no table entry and are dropped");
}

std::vector<uint8_t> TSettingsStore::EncodeConfig(const TGameField* field, bool game) const {
    TSavedGame saved;
    saved.Mode = GameState.CurrentMode;
    saved.Score = GameState.Score;
    if (field) {
        saved.BallsPerTurn = field->BallsPerTurn;
        for (size_t i = 0; i < saved.Preview.size(); ++i) saved.Preview[i] = field->Preview[i];
        for (int x = 0; x < 9; ++x)
            for (int y = 0; y < 9; ++y)
                saved.Cells[static_cast<size_t>(x)][static_cast<size_t>(y)] = field->Cell(x, y);
    }
    return ::EncodeConfig(HighScores, Options.MusicVolume, Options.SoundVolume, game, saved);
}

// The saved game's generator states and the tables' whole scores.
TConfigExtra TSettingsStore::EncodeExtra(const TGameField* field, bool game) const {
    TConfigExtra extra;
    if (game && field) {
        extra.HasRandom = true;
        extra.Random = RandState();
        extra.Replay = field->History.ReplayStates();
    }
    for (size_t m = 0; m < HighScores.Blocks.size(); ++m)
        for (size_t r = 0; r < HighScores.Blocks[m].size(); ++r)
            extra.Scores[m][r] = HighScores.Blocks[m][r].Points();
    return extra;
}

bool TSettingsStore::Write(const TGameField* field, bool game, bool statistics) {
    const std::string stats = stats_.ToText();
    if (loaded_) kept_->SaveDaily(daily_.ToText());
    // Before the tables they go with (see KeptFiles.h); a failure loses no entry, only replays.
    if (kept_->ConfigWritable()) kept_->SaveReplays(EncodeTableReplays(HighScoreReplays));
    const bool saved = kept_->Save(EncodeConfig(field, game), EncodeExtra(field, game),
                                   statistics ? &stats : nullptr);
    if (statistics && saved) finishedSeen_ = FinishedGames();
    return saved;
}

void TSettingsStore::WriteNothing() {
    loaded_ = false;
    kept_->WriteNothing();
}

void TSettingsStore::SkipTurns(const TGameField& field) {
    savedTurns_ = field.TurnsCompleted;
}

void TSettingsStore::SaveIfRequested(const TGameField* field, bool game, bool mayWrite) {
    if (field && field->TurnsCompleted != savedTurns_) {
        savedTurns_ = field->TurnsCompleted;
        saveRequested_ = true;
    }
    if (!saveRequested_) return;
    saveRequested_ = false;
    // Only what the file was read from may be replaced, and only with something new.
    if (!loaded_ || !mayWrite) return;
    kept_->SaveDaily(daily_.ToText());
    if (kept_->ConfigSaved(EncodeConfig(field, game), EncodeExtra(field, game)) &&
        kept_->ReplaysSaved(EncodeTableReplays(HighScoreReplays)))
        return;
    Write(field, game, false);
}

uint64_t TSettingsStore::FinishedGames() const {
    uint64_t n = 0;
    for (const TModeStatistics& m : stats_.Modes) n += m.GamesFinished;
    return n;
}

// --- The registry --------------------------------------------------------------------------------

void TSettingsStore::ReadAccessSettings() {
    const TRegistry registry;
    Options.ReducedMotion = registry.ReadInteger("ReducedMotion").value_or(0) != 0;
    Options.ClearSymbols = registry.ReadString("BallSymbols").value_or("faint") == "clear";
}

void TSettingsStore::KeepReducedMotion(bool on) {
    if (!TRegistry().WriteInteger("ReducedMotion", on ? 1 : 0))
        Log.Line("Cannot save the reduced-motion setting");
}

void TSettingsStore::KeepBallSymbols(bool clear) {
    if (!TRegistry().WriteString("BallSymbols", clear ? "clear" : "faint"))
        Log.Line("Cannot save the symbols setting");
}

void TSettingsStore::KeepFullScreen(bool on) {
    if (!TRegistry().WriteInteger("Fullscreen", on ? 1 : 0))
        Log.Line("Cannot save the full-screen setting");
}

void TSettingsStore::KeepLanguageChoice(const std::string& value) {
    if (!TRegistry().WriteString(language::kRegistryName, value))
        Log.Line("Cannot save the language choice");
}

// Normal when none is kept; it is written only once another mode is played.
int32_t TSettingsStore::RememberedMode() {
    const std::optional<int32_t> mode = TRegistry().ReadInteger("Mode");
    rememberedMode_ = mode && *mode >= modeKids && *mode <= modeProfessional ? *mode : modeNormal;
    return rememberedMode_;
}

std::string TSettingsStore::RememberedName() {
    std::string name;
    for (const char c : TRegistry().ReadString(kNameKey).value_or(""))
        if (NameByte(c) && name.size() < kMaxNameLength) name.push_back(c);
    return name.empty() ? std::string(kDefaultName) : name;
}

void TSettingsStore::RememberName(const std::string& name) {
    if (name.empty() || name == RememberedName()) return;
    if (!TRegistry().WriteString(kNameKey, name)) Log.Line("Cannot save the player's name");
}

void TSettingsStore::RememberMode(int32_t mode) {
    if (rememberedMode_ == mode) return;
    rememberedMode_ = mode;
    if (!TRegistry().WriteInteger("Mode", mode)) Log.Line("Cannot save the chosen mode");
}
