// The form's side of the demo: when it may start, and what ends it.
#include "shell/Form.h"

#include "game/GameField.h"
#include "game/Statistics.h"
#include "shell/DemoPlayer.h"
#include "shell/FormKeys.h"
#include "shell/SettingsStore.h"
#include "state/ShellState.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

bool TForm1::DemoActive() const {
    return demo_ && demo_->Active();
}

// The demo waits until the player has finished a game of their own (in any mode, with hints or
// not, as the statistics count it): a first start teaches through the player's own first game.
bool TForm1::DemoMayStart() const {
    if (!field_ || paused_ || !options_.Demo || !store_) return false;
    bool finished = false;
    for (const TModeStatistics& m : store_->Statistics().Modes)
        finished = finished || m.GamesFinished > 0 || m.HintedFinished > 0;
    if (!finished) return false;
    if (FieldShowsNoGame()) return true;
    // A dealt board without a move is no game yet.
    return Shell.Word == scrPlaying && !field_->GameCounted && !field_->Selected &&
           !field_->Moving && field_->TurnTimer == kTurnIdle && !field_->GameOver;
}

bool TForm1::NoteInput() {
    if (!demo_ || !demo_->NoteInput()) return false;
    StopDemo();
    return true;
}

void TForm1::StopDemo() {
    if (!demo_ || !demo_->Stop()) return;
    store_->SkipTurns(*field_); // the demo's turns ask for no save
}

void TForm1::DemoStep(double delta) {
    if (demo_) demo_->Step(delta, DemoMayStart());
}

void TForm1::DrawDemoLabel() {
    // The band's white texture is made at its first use.
    if (DemoActive() && Font && Strings)
        demo_->DrawLabel(*device_, keys_->White(*device_), paused_);
}
