// The summary of a game that ended, under its game-end message, and the mode's best score beside
// the score while playing.
#include "shell/Form.h"

#include "game/FieldEvents.h"
#include "layout/Layout.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
#include "state/GameState.h"
#include "ui/TextFit.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kLabel = 0xFFFFDDAA;   // 0xAABBGGRR: the statistics page's light blue
constexpr uint32_t kNewBest = 0xFF6ED3FF; // the message captions' warm gold
constexpr uint32_t kStrip = 0xFF360C12;   // the card's deep blue at its foot
constexpr uint32_t kBestLabel = 0xFFBBBBBB;

// Whole seconds as m:ss, or h:mm:ss from an hour on.
std::string Clock(double seconds) {
    const auto total = static_cast<long long>(std::max(0.0, std::floor(seconds)));
    const long long h = total / 3600, m = total / 60 % 60, s = total % 60;
    std::string out = h > 0 ? std::to_string(h) + ":" : "";
    const std::string mm = std::to_string(m), ss = std::to_string(s);
    out += (h > 0 && mm.size() < 2 ? "0" : "") + mm + ":" + (ss.size() < 2 ? "0" : "") + ss;
    return out;
}

} // namespace

std::vector<std::pair<std::string, std::string>> TForm1::SummaryRows() const {
    const TGameEnd& end = GameState.LastEnd;
    const TGameFigures& f = end.Figures;
    const std::string values[] = {
        std::to_string(f.Lines),    std::to_string(f.LongestChain),
        std::to_string(f.BestMove), std::to_string(f.Moves),
        Clock(f.Seconds),           std::to_string(std::max(end.Score, end.PreviousBest))};
    std::vector<std::pair<std::string, std::string>> rows;
    for (size_t i = 0; i < std::size(values); ++i) {
        std::string label =
            Strings && i < Strings->SummaryRows.size() ? Strings->SummaryRows[i] : "";
        if (i + 1 == std::size(values) && end.NewBest() && Strings) label = Strings->NewBest;
        rows.emplace_back(label, values[i]);
    }
    return rows;
}

// A strip on the card under the message box (drawn before it): the game's figures down the left
// column and on into the right, the mode's best last (in gold, "New best!", when this game set it).
void TForm1::DrawGameSummary() {
    TPatternImage* white = keys_->White(*device_);
    const TEdges s = kSummaryStrip;
    if (white)
        device_->DrawQuadCol(white, s.Left, s.Top, s.Right, s.Top, s.Right, s.Bottom, s.Left,
                             s.Bottom, kStrip, 0, fxBlend);
    if (!Font || !Strings) return;
    const auto rows = SummaryRows();
    std::vector<std::string> labels;
    labels.reserve(rows.size());
    for (const auto& r : rows) labels.push_back(r.first);
    const auto width = [](const std::string& text, int scale) {
        return static_cast<int>(Font->TextWidth(text, static_cast<uint16_t>(scale)));
    };
    const int scale = std::max(kSummaryScales[std::size(kSummaryScales) - 1],
                               textfit::SummaryScale(labels, width));
    const auto k = static_cast<uint16_t>(scale);
    const bool newBest = GameState.LastEnd.NewBest();
    for (size_t i = 0; i < rows.size(); ++i) {
        const int column = kSummaryColumns[i / kSummaryRows];
        const auto y =
            static_cast<uint16_t>(kSummaryRowTop + kSummaryRowPitch * (i % kSummaryRows));
        const bool best = i + 1 == rows.size();
        const uint32_t colour = best && newBest ? kNewBest : kWhite;
        const int labelWidth = width(rows[i].first, scale);
        const int valueWidth = width(rows[i].second, scale);
        Font->DrawTextScaled(rows[i].first, static_cast<uint16_t>(column + labelWidth / 2), y, k,
                             best && newBest ? kNewBest : kLabel);
        Font->DrawTextScaled(
            rows[i].second,
            static_cast<uint16_t>(column + kSummaryColumnWidth - (valueWidth + 1) / 2), y, k,
            colour);
    }
}

// The mode's best final score under the score, while a game of the mode is on the field.
void TForm1::DrawPersonalBest() {
    if (!Font || !Strings || Strings->SummaryRows.size() < 6) return;
    const TStatistics& stats = Statistics();
    if (GameState.CurrentMode >= stats.Modes.size()) return;
    const int32_t best = stats.Modes[GameState.CurrentMode].BestScore;
    if (best <= 0) return;
    const std::string text = Strings->SummaryRows[5] + " " + std::to_string(best);
    Font->DrawTextScaled(text, static_cast<uint16_t>(kPersonalBest.X),
                         static_cast<uint16_t>(kPersonalBest.Y), kPersonalBestScale,
                         GameState.Score > best ? kNewBest : kBestLabel);
}
