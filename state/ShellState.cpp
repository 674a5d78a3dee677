#include "state/ShellState.h"

#include "state/FrameClocks.h"
#include "state/GameState.h"
#include "state/HelpState.h"
#include "state/OptionsState.h"
#include "state/PointerState.h"
#include "state/TablesState.h"

TShellState Shell;
TGameState GameState;
TPointerState Pointer;
TOptionsState Options;
TTablesState Tables;
THelpState Help;
TFrameClocks Clocks;

void ResetShellState() {
    Shell = TShellState{};
    GameState = TGameState{};
    Pointer = TPointerState{};
    Options = TOptionsState{};
    Tables = TTablesState{};
    Help = THelpState{};
    Clocks = TFrameClocks{};
}
