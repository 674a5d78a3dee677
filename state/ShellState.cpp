#include "state/ShellState.h"

#include "state/FrameClocks.h"
#include "state/GameState.h"
#include "state/HelpState.h"
#include "state/OptionsState.h"
#include "state/PointerState.h"
#include "state/TablesState.h"

TShellState Shell;
TShellGame GameState;
TGameField* GameField = nullptr;
THighScoreTable HighScores;
THighScoreReplays HighScoreReplays;
TPointerState Pointer;
TOptionsState Options;
TTablesState Tables;
THelpState Help;
TFrameClocks Clocks;

void ResetShellState() {
    Shell = TShellState{};
    GameState = TShellGame{};
    Pointer = TPointerState{};
    Options = TOptionsState{};
    Tables = TTablesState{};
    HighScoreReplays = THighScoreReplays{};
    Help = THelpState{};
    Clocks = TFrameClocks{};
}

TFieldContext ScreenGameContext(TStatistics* stats) {
    return {&GameState, &HighScores, stats, &BallsStream(), &DecorStream()};
}
