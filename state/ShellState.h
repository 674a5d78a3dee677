#pragma once
// The screen-state word: what the game shows (its values in ScreenFlags.h). Shared by the field,
// the buttons, the keys and the shell; all on the window thread.
#include "state/ScreenFlags.h"

#include <cstdint>

// The screen-state word and the words to go back to. The other shell variables are kept by the
// screen or part that owns them, each in a header of its own (GameState.h, PointerState.h,
// OptionsState.h, TablesState.h, HelpState.h, FrameClocks.h), so that a change to one of them
// rebuilds only its users.
struct TShellState {
    uint32_t Word = scrLogo;
    uint32_t ReturnState = scrMenu; // the word an answer of No goes back to
    uint32_t BackState = scrMenu;   // the word the Back buttons restore
};

extern TShellState Shell;

// Every shell variable of every part back to its start value, as at the start of the program.
void ResetShellState();

inline bool HasFlag(uint32_t word, uint32_t flag) {
    return (word & flag) != 0;
}
