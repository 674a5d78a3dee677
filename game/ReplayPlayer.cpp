#include "game/ReplayPlayer.h"

#include "game/Board.h"
#include "game/Undo.h"

#include <algorithm>

namespace {

std::string CellText(int x, int y) {
    // Appended piece by piece: GCC 12 at -O3 warns of an overlap in "text" + std::string that
    // cannot happen (its bug 105651).
    std::string text = "(";
    text += std::to_string(x);
    text += ", ";
    text += std::to_string(y);
    return text + ")";
}

// The field's clocks never take more than this in one update: a turn clock falls at most this far
// past its end, where the turn still resolves.
constexpr double kLongestUpdate = 15.0;

} // namespace

bool SettleHeadless(TGameField& field) {
    for (int frame = 0; frame < 10000; ++frame) {
        if (field.GameOver) return true;
        if (field.TurnTimer == kTurnIdle) return true;
        field.Update(kLongestUpdate, 0);
    }
    return false;
}

TReplayPlayer::TReplayPlayer(TReplay replay)
    : replay_(std::move(replay)), game_(std::make_unique<TStandaloneGame>(replay_.Seed)),
      field_(TBoard::kSide, TBoard::kSide, game_->Context()) {}

bool TReplayPlayer::Fail(const std::string& why) {
    if (why_.empty()) why_ = why;
    return false;
}

void TReplayPlayer::Deal() {
    if (dealt_) return;
    dealt_ = true;
    if (replay_.RulesVersion != kRulesVersion) {
        Fail("recorded with rules version " + std::to_string(replay_.RulesVersion) +
             "; this game plays rules version " + std::to_string(kRulesVersion));
        return;
    }
    if (replay_.Mode > modeProfessional) {
        Fail("unknown mode " + std::to_string(replay_.Mode));
        return;
    }
    field_.NewGame(replay_.Mode, replay_.Seed);
}

bool TReplayPlayer::StartStep() {
    const TReplayStep& step = replay_.Steps[taken_];
    const std::string name = "step " + std::to_string(taken_ + 1) + " is not legal: ";
    if (field_.GameOver) return Fail("step " + std::to_string(taken_ + 1) + " comes after the end");
    if (step.Undo) {
        const uint8_t mode = replay_.Mode;
        if (kUndoDepth[mode] == 0)
            return Fail(name + "an undo, and " +
                        (mode == modeKids     ? "Kids"
                         : mode == modeNormal ? "Normal"
                                              : "Professional") +
                        " games take nothing back");
        if (!field_.Undo()) return Fail(name + "an undo with nothing to take back");
        ++taken_;
        return true;
    }
    const int fx = step.FromX, fy = step.FromY, tx = step.ToX, ty = step.ToY;
    if (!field_.Inside(fx, fy) || field_.Cell(fx, fy).Kind == 0)
        return Fail(name + "there is no ball at " + CellText(fx, fy));
    if (!field_.Inside(tx, ty) || field_.Cell(tx, ty).Kind != 0)
        return Fail(name + CellText(tx, ty) + " is not empty");
    field_.Click(fx, fy, 0);
    field_.Click(tx, ty, 0);
    if (!field_.Moving)
        return Fail(name + "no free path from " + CellText(fx, fy) + " to " + CellText(tx, ty));
    ++taken_;
    return true;
}

TReplayCheck TReplayPlayer::PlayToEnd() {
    Deal();
    TReplayCheck check;
    if (!Failed() && !SettleHeadless(field_)) Fail("the game never came to rest");
    while (!Failed() && taken_ < replay_.Steps.size()) {
        if (!StartStep()) break;
        if (!SettleHeadless(field_)) Fail("the game never came to rest");
    }
    for (size_t i = 0; i < taken_; ++i) ++(replay_.Steps[i].Undo ? check.Undos : check.Moves);
    check.Score = field_.Game().Score;
    check.Ended = field_.GameOver;
    if (!Failed()) {
        if (replay_.Ended && !check.Ended)
            Fail("its moves do not end the game, as it says they do");
        else if (!replay_.Ended && check.Ended)
            Fail("its moves end the game, which it does not say");
        else if (check.Score != replay_.Score)
            Fail("its moves score " + std::to_string(check.Score) + ", not the " +
                 std::to_string(replay_.Score) + " it states");
    }
    check.Verified = !Failed();
    check.Why = why_;
    return check;
}

void TReplayPlayer::Advance(double delta, int32_t frameRate) {
    Deal();
    if (Paused) return;
    double left = std::max(0.0, delta * Speed);
    while (left > 0) {
        const double d = std::min(left, kLongestUpdate);
        left -= d;
        field_.Update(d, frameRate);
        const bool waiting = field_.TurnTimer == kTurnIdle && !field_.GameOver;
        if (!waiting || Failed() || taken_ >= replay_.Steps.size()) {
            rest_ = 0.0;
            continue;
        }
        rest_ += d;
        if (rest_ < kBeat) continue;
        rest_ = 0.0;
        StartStep();
    }
}

bool TReplayPlayer::Finished() const {
    if (Failed()) return true;
    return dealt_ && taken_ >= replay_.Steps.size() &&
           (field_.GameOver || field_.TurnTimer == kTurnIdle);
}

TReplayCheck VerifyReplay(const TReplay& replay) {
    return TReplayPlayer(replay).PlayToEnd();
}

TReplayCheck VerifyReplayBytes(const uint8_t* data, size_t size) {
    TReplay replay;
    TReplayCheck check;
    if (!DecodeReplay(data, size, replay, &check.Why)) return check;
    return VerifyReplay(replay);
}
