#include "shell/DemoPlayer.h"

#include "game/GameField.h"
#include "layout/Layout.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"
#include "shell/Guidance.h"
#include "shell/HintSearch.h"
#include "state/GameState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

namespace {

// The pace, in seconds: the chosen ball shows selected for a moment before it goes, and each
// move rests a moment after its turn.
constexpr double kDemoSelectBeat = 0.7;
constexpr double kDemoMoveBeat = 0.9;

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kShadow = 0xC0000000;
constexpr uint32_t kLabelBand = 0xA0100808; // 0xAABBGGRR: dark, slightly blue, as the final board's

} // namespace

TDemoPlayer::TDemoPlayer(TGameField& field, TGuidance* guidance)
    : field_(field), guidance_(guidance) {}

TDemoPlayer::~TDemoPlayer() = default;

bool TDemoPlayer::NoteInput() {
    idle_ = 0.0;
    return active_;
}

void TDemoPlayer::Start() {
    active_ = true;
    beat_ = kDemoMoveBeat;
    next_ = {};
    found_ = {};
    returnWord_ = Shell.Word;
    hadBoard_ = field_.HasBalls();
    saved_ = std::make_unique<TShellGame>(GameState);
    // No statistics for the demo's games; no score either: its game never reaches its end.
    stats_ = field_.Context.Stats;
    field_.Context.Stats = nullptr;
    Shell.Word = scrPlaying;
    if (guidance_) guidance_->Held = true; // the player's first-game tips wait for the player
    field_.NewGame(GameState.ChosenMode);
}

bool TDemoPlayer::Stop() {
    if (!active_) return false;
    active_ = false;
    idle_ = 0.0;
    if (search_) search_->Cancel();
    field_.Clear();
    field_.GameOver = false;
    field_.TurnTimer = kTurnIdle;
    field_.Moving = false;
    field_.Context.Stats = stats_;
    if (guidance_) guidance_->Held = false;
    if (saved_) GameState = *saved_;
    saved_.reset();
    Shell.Word = returnWord_;
    // A board that was dealt but not played is dealt afresh.
    if (hadBoard_) field_.NewGame(GameState.CurrentMode);
    return true;
}

void TDemoPlayer::Step(double delta, bool mayStart) {
    const double seconds = delta / 15.0; // the frame's game time units, 15 a second
    if (!active_) {
        if (!mayStart) {
            idle_ = 0.0;
            return;
        }
        idle_ += seconds;
        if (idle_ >= kAfter) Start();
        return;
    }
    // A game that filled the field starts over before its end would be scored.
    if (field_.GameOver || !field_.HasBalls()) {
        field_.NewGame(GameState.ChosenMode);
        next_ = {};
        found_ = {};
        beat_ = kDemoMoveBeat;
        return;
    }
    if (field_.Moving || field_.TurnTimer != kTurnIdle) return;
    beat_ -= seconds;
    if (!search_) search_ = std::make_unique<THintSearch>();
    if (!next_.Valid()) {
        if (!found_.Valid()) {
            if (!search_->Busy()) {
                const TBoard board = BoardOf(field_);
                search_->Start(board, PositionSeed(board));
            }
            TMove move;
            uint64_t asked = 0;
            if (!search_->Poll(move, asked)) return;
            if (asked != PositionSeed(BoardOf(field_))) return; // asked again next frame
            found_ = move;
        }
        if (beat_ > 0) return;
        // The ball selected and the pointer on its target: the field previews the path.
        next_ = found_;
        found_ = {};
        field_.Click(next_.FromX, next_.FromY, 0);
        Pointer.X = CellCentreX(next_.ToX);
        Pointer.Y = CellCentreY(next_.ToY);
        beat_ = kDemoSelectBeat;
        return;
    }
    if (beat_ > 0) return;
    const TMove move = next_;
    next_ = {};
    beat_ = kDemoMoveBeat;
    field_.Click(move.ToX, move.ToY, 0);
}

// The label stands on a translucent band across the field, as the final board's words do, so
// that the balls it crosses neither hide it nor vanish under it.
void TDemoPlayer::DrawLabel(TRenderDevice& device, TPatternImage* white) const {
    if (!active_ || !Font || !Strings) return;
    if (white) {
        const int32_t top = kInvitation.Y + kFinalBoardBand.Top;
        const int32_t low = kInvitation.Y + kFinalBoardBand.Bottom;
        device.DrawQuadCol(white, kFieldLeft, top, kFieldRight, top, kFieldRight, low, kFieldLeft,
                           low, kLabelBand, 0, fxBlend | fxfDiffuseAlpha);
    }
    Font->DrawTextScaled(Strings->DemoLabel, kInvitation.X + 2, kInvitation.Y + 2, 100, kShadow);
    Font->DrawTextScaled(Strings->DemoLabel, kInvitation.X, kInvitation.Y, 100, kWhite);
}
