// The statistics file and the statistics page of the high-score screen.
#include "shell/Form.h"

#include "game/GameField.h"
#include "layout/Layout.h"
#include "platform/Files.h"
#include "render/PatternImage.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/Log.h"
#include "state/GameState.h"
#include "state/ShellState.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

#include <filesystem>
#include <string>

namespace {

// A statistics file is a few hundred bytes; anything far larger is not ours.
constexpr uintmax_t kMaxStatsBytes = uintmax_t{64} * 1024;

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kLabel = 0xFFFFDDAA; // 0xAABBGGRR: a light blue for the row labels

std::string Duration(uint64_t seconds) {
    const uint64_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    std::string mm = std::to_string(m), ss = std::to_string(s);
    if (mm.size() < 2) mm = "0" + mm;
    if (ss.size() < 2) ss = "0" + ss;
    return std::to_string(h) + ":" + mm + ":" + ss;
}

uint64_t FinishedGames(const TStatistics& s) {
    uint64_t n = 0;
    for (const TModeStatistics& m : s.Modes) n += m.GamesFinished;
    return n;
}

} // namespace

void TForm1::ReadStatistics() {
    stats_ = TStatistics{};
    if (options_.StatsFile.empty()) {
        statsWritable_ = false; // nothing is kept this run
        return;
    }
    std::error_code ec;
    const bool exists = std::filesystem::exists(options_.StatsFile, ec);
    if (!exists) {
        statsWritable_ = true;
        finishedSeen_ = 0;
        return;
    }
    std::vector<uint8_t> bytes;
    std::string error;
    const uintmax_t size = std::filesystem::file_size(options_.StatsFile, ec);
    if (ec || size > kMaxStatsBytes || !std::filesystem::is_regular_file(options_.StatsFile, ec) ||
        !ReadFileBytes(options_.StatsFile, bytes, &error)) {
        Log.Line("Cannot read " + options_.StatsFile +
                 (error.empty() ? std::string(" (not a statistics file)") : " (" + error + ")") +
                 "; statistics start from zero and the file is left as it is");
        statsWritable_ = false;
        return;
    }
    std::vector<std::string> notes;
    stats_ = TStatistics::FromText(std::string(bytes.begin(), bytes.end()), &notes);
    for (const std::string& n : notes) Log.Line(options_.StatsFile + ": " + n);
    if (!notes.empty()) {
        // The damaged original stays beside the rewritten file for whoever wants to look.
        std::string why;
        if (!WriteFileAtomically(options_.StatsFile + ".damaged", bytes, &why))
            Log.Line("Cannot keep the damaged statistics: " + why);
    }
    statsWritable_ = true;
    finishedSeen_ = FinishedGames(stats_);
}

bool TForm1::WriteStatistics() {
    if (!statsWritable_) return false;
    const std::string text = stats_.ToText();
    std::string error;
    if (!WriteFileAtomically(options_.StatsFile, std::vector<uint8_t>(text.begin(), text.end()),
                             &error)) {
        Log.Line("Cannot save the statistics: " + error);
        return false;
    }
    finishedSeen_ = FinishedGames(stats_);
    return true;
}

// Runs every frame: play time while a game runs on the playing screen with no message, and the
// file written once a game has finished.
void TForm1::CountPlayTime(double delta) {
    // A game running: counted, on the field, and not the demo's.
    if (Shell.Word == scrPlaying && field_ && field_->GameCounted && field_->HasBalls() &&
        !demo_.Active)
        stats_.AddPlayTime(GameState.CurrentMode, delta / 15.0);
    if (FinishedGames(stats_) != finishedSeen_) WriteStatistics();
}

void TForm1::DrawStatistics(uint8_t mode) {
    if (!Font || !Strings || mode >= stats_.Modes.size()) return;
    const TModeStatistics& m = stats_.Modes[mode];
    Font->DrawTextScaled(Strings->Statistics, kStatisticsTitle.X, kStatisticsTitle.Y, 100, kWhite);
    const std::string values[] = {std::to_string(m.GamesPlayed),  std::to_string(m.GamesFinished),
                                  std::to_string(m.BestScore),    std::to_string(m.AverageScore()),
                                  std::to_string(m.LinesCleared), std::to_string(m.LongestChain),
                                  std::to_string(m.BestMove),     Duration(m.PlaySeconds)};
    for (size_t i = 0; i < std::size(values); ++i) {
        const auto y = static_cast<uint16_t>(kStatisticsRowTop + kStatisticsRowPitch * i);
        if (i < Strings->StatisticsRows.size())
            Font->DrawText(Strings->StatisticsRows[i], kTableNameLeft, y, kLabel);
        int width = 0;
        for (unsigned char c : values[i]) width += Font->Advance[c];
        Font->DrawText(values[i], static_cast<uint16_t>(kTableScoreRight - width), y, kWhite);
    }
}
