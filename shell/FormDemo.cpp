// The demo: the game's own player on the field while nobody plays.
#include "shell/Form.h"

#include "game/GameField.h"
#include "layout/Layout.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
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

bool TForm1::DemoMayStart() const {
    if (!field_ || paused_ || !options_.Demo) return false;
    if (FieldShowsNoGame()) return true;
    // A dealt board without a move is no game yet.
    return Shell.Word == scrPlaying && !field_->GameCounted && !field_->Selected &&
           !field_->Moving && field_->TurnTimer == kTurnIdle && !field_->GameOver;
}

bool TForm1::NoteInput() {
    demo_.Idle = 0.0;
    if (!demo_.Active) return false;
    StopDemo();
    return true;
}

void TForm1::StartDemo() {
    if (!field_) return;
    demo_.Active = true;
    demo_.Beat = kDemoMoveBeat;
    demo_.Next = {};
    demo_.Found = {};
    demo_.ReturnWord = Shell.Word;
    demo_.HadBoard = field_->HasBalls();
    demo_.Saved = std::make_unique<TShellGame>(GameState);
    // No statistics for the demo's games; no score either: its game never reaches its end.
    demo_.Stats = field_->Context.Stats;
    field_->Context.Stats = nullptr;
    Shell.Word = scrPlaying;
    if (guidance_) guidance_->Held = true; // the player's first-game tips wait for the player
    field_->NewGame(GameState.ChosenMode);
}

void TForm1::StopDemo() {
    if (!demo_.Active) return;
    demo_.Active = false;
    demo_.Idle = 0.0;
    if (demoSearch_) demoSearch_->Cancel();
    if (field_) {
        field_->Clear();
        field_->GameOver = false;
        field_->TurnTimer = kTurnIdle;
        field_->Moving = false;
        field_->Context.Stats = demo_.Stats;
        savedTurns_ = field_->TurnsCompleted; // its turns ask for no save
    }
    if (guidance_) guidance_->Held = false;
    if (demo_.Saved) GameState = *demo_.Saved;
    demo_.Saved.reset();
    Shell.Word = demo_.ReturnWord;
    // A board that was dealt but not played is dealt afresh.
    if (field_ && demo_.HadBoard) {
        field_->NewGame(GameState.CurrentMode);
        savedTurns_ = field_->TurnsCompleted;
    }
}

void TForm1::DemoStep(double delta) {
    const double seconds = delta / 15.0; // the frame's game time units, 15 a second
    if (!demo_.Active) {
        if (!DemoMayStart()) {
            demo_.Idle = 0.0;
            return;
        }
        demo_.Idle += seconds;
        if (demo_.Idle >= kDemoAfter) StartDemo();
        return;
    }
    // A game that filled the field starts over before its end would be scored.
    if (field_->GameOver || !field_->HasBalls()) {
        field_->NewGame(GameState.ChosenMode);
        demo_.Next = {};
        demo_.Found = {};
        demo_.Beat = kDemoMoveBeat;
        return;
    }
    if (field_->Moving || field_->TurnTimer != kTurnIdle) return;
    demo_.Beat -= seconds;
    if (!demoSearch_) demoSearch_ = std::make_unique<THintSearch>();
    if (!demo_.Next.Valid()) {
        if (!demo_.Found.Valid()) {
            if (!demoSearch_->Busy()) {
                const TBoard board = BoardOf(*field_);
                demoSearch_->Start(board, PositionSeed(board));
            }
            TMove move;
            uint64_t asked = 0;
            if (!demoSearch_->Poll(move, asked)) return;
            if (asked != PositionSeed(BoardOf(*field_))) return; // asked again next frame
            demo_.Found = move;
        }
        if (demo_.Beat > 0) return;
        // The ball selected and the pointer on its target: the field previews the path.
        demo_.Next = demo_.Found;
        demo_.Found = {};
        field_->Click(demo_.Next.FromX, demo_.Next.FromY, 0);
        Pointer.X = CellCentreX(demo_.Next.ToX);
        Pointer.Y = CellCentreY(demo_.Next.ToY);
        demo_.Beat = kDemoSelectBeat;
        return;
    }
    if (demo_.Beat > 0) return;
    const TMove move = demo_.Next;
    demo_.Next = {};
    demo_.Beat = kDemoMoveBeat;
    field_->Click(move.ToX, move.ToY, 0);
}

// The label stands on a translucent band across the field, as the final board's words do, so
// that the balls it crosses neither hide it nor vanish under it.
void TForm1::DrawDemoLabel() {
    if (!demo_.Active || !Font || !Strings) return;
    if (TPatternImage* white = keys_->White(*device_)) {
        const int32_t top = kInvitation.Y + kFinalBoardBand.Top;
        const int32_t low = kInvitation.Y + kFinalBoardBand.Bottom;
        device_->DrawQuadCol(white, kFieldLeft, top, kFieldRight, top, kFieldRight, low, kFieldLeft,
                             low, kLabelBand, 0, fxBlend | fxfDiffuseAlpha);
    }
    Font->DrawTextScaled(Strings->DemoLabel, kInvitation.X + 2, kInvitation.Y + 2, 100, kShadow);
    Font->DrawTextScaled(Strings->DemoLabel, kInvitation.X, kInvitation.Y, 100, kWhite);
}
