#include "shell/DemoPlayer.h"

#include "game/GameField.h"
#include "layout/Layout.h"
#include "platform/Clock.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"
#include "shell/Guidance.h"
#include "shell/HintSearch.h"
#include "state/GameState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

#include <utility>

namespace {

// The pace, in seconds: the chosen ball shows selected for a moment before it goes, and each
// move rests a moment after its turn.
constexpr double kDemoSelectBeat = 0.7;
constexpr double kDemoMoveBeat = 0.9;

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kShadow = 0xC0000000;
constexpr uint32_t kLabelBand = 0xA0100808; // 0xAABBGGRR: dark, slightly blue, as the final board's

} // namespace

TDemoPlayer::TDemoPlayer(TGameField& field, TGuidance* guidance,
                         std::vector<IFieldEvents*> listeners)
    : field_(field), guidance_(guidance), listeners_(std::move(listeners)) {}

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
    saved_ = std::make_unique<TShellGame>(GameState);
    // The player's field steps aside whole; the demo's field takes its place (the screen, the
    // pointers to the field and the tips' view of it stay valid). Its game shows its score in
    // GameState, which is put back at the end; its balls come from generators of its own, so
    // the player's next balls are the ones they would have been.
    const uint64_t seed = SystemClock().GetTickCount() + (++demos_ << 32);
    own_ = std::make_unique<TStandaloneGame>(seed);
    TFieldContext context = own_->Context();
    context.Game = &GameState;
    context.Stats = nullptr; // no statistics, and no score: its game never reaches its end
    savedField_ = std::make_unique<TGameField>(std::move(field_));
    field_ = TGameField(static_cast<uint8_t>(savedField_->MaxX + 1),
                        static_cast<uint8_t>(savedField_->MaxY + 1), context);
    for (IFieldEvents* listener : listeners_) field_.AddListener(listener);
    Shell.Word = scrPlaying;
    if (guidance_) guidance_->Held = true; // the player's first-game tips wait for the player
    field_.NewGame(GameState.ChosenMode);
}

bool TDemoPlayer::Stop() {
    if (!active_) return false;
    active_ = false;
    idle_ = 0.0;
    if (search_) search_->Cancel();
    field_.Clear(); // its listeners let go of the demo's effects
    if (savedField_) field_ = std::move(*savedField_);
    savedField_.reset();
    if (saved_) GameState = *saved_;
    saved_.reset();
    own_.reset();
    if (guidance_) guidance_->Held = false;
    Shell.Word = returnWord_;
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
void TDemoPlayer::DrawLabel(TRenderDevice& device, TPatternImage* white, bool paused) const {
    if (!active_ || !Font || !Strings) return;
    if (white) {
        const int32_t top = kInvitation.Y + kFinalBoardBand.Top;
        const int32_t low = kInvitation.Y + kFinalBoardBand.Bottom;
        device.DrawQuadCol(white, kFieldLeft, top, kFieldRight, top, kFieldRight, low, kFieldLeft,
                           low, kLabelBand, 0, fxBlend | fxfDiffuseAlpha);
    }
    const std::string& label = paused ? Strings->Paused : Strings->DemoLabel;
    Font->DrawTextScaled(label, kInvitation.X + 2, kInvitation.Y + 2, 100, kShadow);
    Font->DrawTextScaled(label, kInvitation.X, kInvitation.Y, 100, kWhite);
}
