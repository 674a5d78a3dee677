// What the player keeps, the form's side: the settings store read at the end of loading, the
// saves during play, and the save on exit.
#include "shell/Form.h"

#include "game/GameField.h"
#include "platform/HostScreen.h"
#include "shell/Log.h"
#include "shell/SettingsStore.h"
#include "state/OptionsState.h"
#include "state/ShellState.h"
#include "ui/Buttons.h"

TStatistics& TForm1::Statistics() {
    return store_->Statistics();
}

bool TForm1::SettingsLoaded() const {
    return store_->Loaded();
}

void TForm1::ReadSettings() {
    if (!store_->Read(*field_)) {
        StartInRememberedMode();
        return;
    }
    if (Buttons) Buttons->SelectMode();
    Shell.Word = scrMessageBox + scrMsgOld + scrPlaying;
}

bool TForm1::WriteSettings(bool statistics) {
    return store_->Write(field_.get(), GameInProgress(), statistics);
}

void TForm1::RequestSave() {
    store_->RequestSave();
}

void TForm1::SaveIfRequested() {
    if (DemoActive()) return; // its turns are nobody's game
    store_->SaveIfRequested(field_.get(), GameInProgress(), !destroyed_);
}

void TForm1::FormDestroy() {
    StopDemo();
    destroyed_ = true;
    // A game that ended but has not reached its table yet (its board shown, or emptying) gets
    // its place now, under the name last typed.
    if (field_ && field_->GameOver && Shell.Word != scrLogo && Shell.Word != scrLoading) {
        field_->GameOver = false;
        field_->EndGame();
        if (HasFlag(Shell.Word, scrMsgEnterName)) StorePlayerName();
    }
    Log.Line("Saving config ...");
    if (options_.ConfigFile.empty())
        Log.Line("There is no folder to keep Config.bin in; nothing was saved");
    else if (!store_->Loaded())
        Log.Line("Config.bin was not read in this run and is left as it is");
    // The statistics after the settings, which matter more; each left alone when not read.
    WriteSettings(true);
    if (!loadingFailed_ && !HostOwnsFullScreen()) store_->KeepFullScreen(Options.FullScreen);
}
