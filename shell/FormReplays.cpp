// The tables' replays on the high-score screen: the marks of the entries whose replay verifies,
// watching a replay at a watching pace, and the seed of the game dealt last.
#include "shell/Form.h"

#include "fx/FrameTiming.h"
#include "fx/SoundBank.h"
#include "game/GameField.h"
#include "game/ReplayPlayer.h"
#include "layout/Layout.h"
#include "render/PatternImage.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
#include "shell/TableReplays.h"
#include "state/GameState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

#include <string>

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kVerified = 0xFF60E060; // 0xAABBGGRR: green, a replay that verifies
constexpr uint32_t kUnverified = 0xFF909090;
constexpr uint32_t kLegend = 0xFFD0D0D0;
constexpr uint32_t kRed = 0xFF0000FF;
constexpr uint32_t kKeysBand = 0xA0100808; // the demo label's dark band
constexpr double kMaxSpeed = 8.0;

// The replay's mode and speed, or that it stands paused.
std::string WatchState(const TReplayPlayer& watch) {
    std::string state;
    if (Strings) {
        const std::string* names[3] = {&Strings->Kids, &Strings->Normal, &Strings->Proff};
        state = *names[watch.Replay().Mode % 3] + "   ";
    }
    if (watch.Paused) return state + (Strings ? Strings->ReplayPaused : std::string());
    return state + "\xD7" + std::to_string(static_cast<int>(watch.Speed));
}

} // namespace

void TForm1::TWatchEnd::operator()(TReplayPlayer* player) const {
    delete player;
}

bool TForm1::CmdWatchReplay(size_t mode, size_t row) {
    if (mode >= kHighScoreModes || row >= kHighScoreRows) return false;
    const std::vector<uint8_t>& bytes = HighScoreReplays[mode][row];
    TReplay replay;
    if (bytes.empty() || !DecodeReplay(bytes.data(), bytes.size(), replay, nullptr)) return false;
    watch_.reset(new TReplayPlayer(std::move(replay)));
    watch_->Deal();
    watchPage_ = static_cast<uint8_t>(mode);
    Tables.Watching = true;
    if (SoundBank) SoundBank->Play(TSample::Press);
    return true;
}

void TForm1::StopWatching() {
    watch_.reset();
    Tables.Watching = false;
}

std::optional<uint64_t> TForm1::LastSeed() const {
    if (!tableRecorder_ || !tableRecorder_->Recorder().Recording()) return std::nullopt;
    return tableRecorder_->Recorder().Replay().Seed;
}

void TForm1::WatchStep(double delta) {
    if (!watch_) return;
    // Only on the table it came from, with no message over it.
    if (!HasFlag(Shell.Word, scrHighScores) || HasFlag(Shell.Word, scrMessageBox) ||
        Tables.StatisticsShown || Tables.HighScorePage % kHighScoreModes != watchPage_) {
        StopWatching();
        return;
    }
    watch_->Advance(delta, FrameTimer1 ? FrameTimer1->FrameRate() : 0);
}

bool TForm1::WatchKey(uint16_t key) {
    if (!watch_) return false;
    if (key == VK_SPACE || key == 'P') {
        watch_->Paused = !watch_->Paused;
    } else if (key == 'F') {
        watch_->Paused = false;
        watch_->Speed = watch_->Speed >= kMaxSpeed ? 1.0 : watch_->Speed * 2;
    } else if (key == VK_ESCAPE || key == VK_BACK) {
        StopWatching();
    } else {
        return false;
    }
    return true;
}

bool TForm1::WatchPress(int32_t button) {
    if (!watch_) return false;
    const bool onField = Pointer.X >= kFieldLeft && Pointer.X < kFieldRight &&
                         Pointer.Y >= kFieldTop && Pointer.Y < kFieldBottom;
    if (!onField) return false; // the buttons still answer (and leaving the table stops)
    if (button == 0)
        watch_->Paused = !watch_->Paused;
    else
        StopWatching();
    return true;
}

void TForm1::DrawWatching() {
    DrawScreenHead(Strings ? Strings->ReplayHead : std::string());
    watch_->Field().Draw();
    if (!Font) return;
    const TGameField& f = watch_->Field();
    Font->DrawTextCentered(std::to_string(f.Game().Score), kScore.X, kScore.Y, kRed);
    Font->DrawTextScaled(WatchState(*watch_), kModeName.X, kModeName.Y, 75, kWhite);
    if (!Strings) return;
    if (TPatternImage* white = keys_->White(*device_)) {
        const int32_t top = kReplayKeys.Y + kReplayKeysBand.Top;
        const int32_t low = kReplayKeys.Y + kReplayKeysBand.Bottom;
        device_->DrawQuadCol(white, kFieldLeft, top, kFieldRight, top, kFieldRight, low, kFieldLeft,
                             low, kKeysBand, 0, fxBlend | fxfDiffuseAlpha);
    }
    Font->DrawTextScaled(Strings->ReplayKeys, kReplayKeys.X, kReplayKeys.Y, kReplayTextScale,
                         kLegend);
}

void TForm1::DrawReplayMarks(uint8_t page) {
    if (!replayMarks_ || !Font) return;
    // One replay played through the rules a frame until the page's are all checked.
    replayMarks_->CheckOne(HighScoreReplays, page);
    bool any = false;
    for (size_t row = 0; row < kHighScoreRows; ++row) {
        const TReplayMarks::TMark mark =
            replayMarks_->Mark(HighScores, HighScoreReplays, page, row);
        if (mark == TReplayMarks::TMark::None) continue;
        any = true;
        const auto y = static_cast<uint16_t>(kTableRowTop + kTableRowPitch * row);
        Font->DrawText("\xBB", kReplayMarkLeft, y,
                       mark == TReplayMarks::TMark::Verified ? kVerified : kUnverified);
    }
    if (any && Strings)
        Font->DrawTextScaled(Strings->ReplayLegend, kReplayLegend.X, kReplayLegend.Y,
                             kReplayTextScale, kLegend);
}
