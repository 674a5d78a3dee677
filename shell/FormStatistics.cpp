// The statistics: counting play time, saving when a game has ended, and their page on the
// high-score screen.
#include "shell/Form.h"

#include "game/GameField.h"
#include "layout/Layout.h"
#include "render/PatternImage.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/SettingsStore.h"
#include "state/GameState.h"
#include "state/ShellState.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

#include <string>

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kLabel = 0xFFFFDDAA; // 0xAABBGGRR: a light blue for the row labels

std::string Duration(uint64_t seconds) {
    const uint64_t h = seconds / 3600, m = seconds / 60 % 60, s = seconds % 60;
    std::string mm = std::to_string(m), ss = std::to_string(s);
    if (mm.size() < 2) mm = "0" + mm;
    if (ss.size() < 2) ss = "0" + ss;
    return std::to_string(h) + ":" + mm + ":" + ss;
}

} // namespace

// Runs every frame: play time while a game runs on the playing screen with no message, and the
// files written once a game has finished (the tables first, then the statistics).
void TForm1::CountPlayTime(double delta) {
    // A game running: counted, on the field, and not the demo's.
    if (Shell.Word == scrPlaying && field_ && field_->GameCounted && field_->HasBalls() &&
        !DemoActive())
        Statistics().AddPlayTime(GameState.CurrentMode, delta / 15.0);
    if (store_->StatisticsBehind()) WriteSettings(true);
}

void TForm1::DrawStatistics(uint8_t mode) {
    const TStatistics& stats = Statistics();
    if (!Font || !Strings || mode >= stats.Modes.size()) return;
    const TModeStatistics& m = stats.Modes[mode];
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
    // The seed deals that game again: `velm-orra --seed N`, or "?seed=N" in the browser.
    if (const std::optional<uint64_t> seed = LastSeed()) {
        std::string line = Strings->LastSeed;
        if (const size_t at = line.find("%s"); at != std::string::npos)
            line.replace(at, 2, std::to_string(*seed));
        Font->DrawTextScaled(line, kLastSeed.X, kLastSeed.Y, kReplayTextScale, kLabel);
    }
    DrawDailyLine();
}

void TForm1::DrawDailyLine() {
    if (!Font || !Strings || !store_) return;
    const TDate today = UtcToday();
    const TDailyResult* kept = store_->DailyResults().Find(today);
    if (!kept) return;
    std::string line = Strings->DailyResult;
    for (const std::string& value :
         {std::to_string(kept->Score), std::to_string(store_->DailyResults().Streak(today))})
        if (const size_t at = line.find("%s"); at != std::string::npos) line.replace(at, 2, value);
    Font->DrawTextScaled(line, kDailyLine.X, kDailyLine.Y, kReplayTextScale, kLabel);
}
