#include "state/GameEndScreens.h"

#include "state/GameState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"

void ShowGameEnd(const TGameEnd& end) {
    GameState.FinalScore = end.Score;
    GameState.LastEnd = end;
    if (end.Entered()) {
        Shell.Word = scrMessageBox + scrMsgEnterName + scrHighScores;
        Tables.NewEntryRow = static_cast<uint8_t>(end.Row);
        Tables.NameSelected = true; // the name proposed: typing replaces it
    } else {
        Shell.Word = scrMessageBox + scrMsgLowScore + scrHighScores;
    }
    Tables.HighScorePage = end.Mode;
    Tables.StatisticsShown = false; // the mode's table, whatever page an earlier visit left open
    Shell.ReturnState = scrMenu;
}
