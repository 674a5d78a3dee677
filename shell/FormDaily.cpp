// The daily game's end: its result kept in the daily results and its share text made.
#include "game/DailyResults.h"
#include "game/FieldEvents.h"
#include "game/GameModes.h"
#include "platform/App.h"
#include "shell/Form.h"
#include "shell/Log.h"
#include "shell/SettingsStore.h"

// Only today's game counts, played to its end by the Normal rules without a hint, dealt in this
// run (a daily game resumed in a later run, or a past day's deal, is played as any other game).
// The first such game of a day is kept; a later one of the same day gets its share text with the
// kept result's streak, but its own figures, and replaces nothing.
void TForm1::DailyGameEnded(const TGameEnd& end) {
    const std::optional<TDate> day = dailyDay_;
    dailyDay_.reset();
    if (!day || !store_ || end.Mode != modeNormal || end.Hinted) return;
    const TDate today = UtcToday();
    if (!(*day == today)) return;
    const TDailyResult result{*day, end.Score, end.Figures.Lines, end.Figures.LongestChain};
    TDailyResults& results = store_->DailyResults();
    if (results.Add(result)) {
        Log.Line("The daily game of " + DateText(*day) + " is kept: " + std::to_string(end.Score) +
                 " points");
        RequestSave();
    }
    dailyShare_ = ::DailyShareText(result, results.Streak(today), end.Figures.StretchPoints);
}

std::string TForm1::TodayShareText() const {
    if (!store_) return {};
    const TDate today = UtcToday();
    const TDailyResult* kept = store_->DailyResults().Find(today);
    if (!kept) return {};
    if (!dailyShare_.empty() && dailyShare_.find(DateText(today)) != std::string::npos)
        return dailyShare_;
    return ::DailyShareText(*kept, store_->DailyResults().Streak(today), {});
}

void TForm1::CmdCopyDaily() {
    const std::string text = TodayShareText();
    if (text.empty()) return;
    if (SetClipboardText(text))
        Log.Line("The daily result is on the clipboard");
    else
        Log.Line("The clipboard refused the daily result");
}
