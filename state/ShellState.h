#pragma once
// The screen-state word: what the game shows. Shared by the field, the buttons, the keys and the
// shell; all on the window thread.
#include <cstdint>

// Screen-state word. scrLogo and scrLoading are whole values; every other word is a sum of the
// flags below. A message is opened by saving the whole word as the return state and adding
// scrMessageBox plus the message flag; answers replace the whole word.
constexpr uint32_t scrLogo = 1;
constexpr uint32_t scrLoading = 2;
constexpr uint32_t scrMenu = 0x4;
constexpr uint32_t scrPlaying = 0x8;
constexpr uint32_t scrOptions = 0x10;
constexpr uint32_t scrHighScores = 0x20;
constexpr uint32_t scrHelp = 0x40;
constexpr uint32_t scrMsgExit = 0x100;
constexpr uint32_t scrMsgNew = 0x200;
constexpr uint32_t scrMsgOld = 0x400;
constexpr uint32_t scrMsgClear = 0x800;
constexpr uint32_t scrMsgEnterName = 0x4000;
constexpr uint32_t scrMsgLowScore = 0x8000;
constexpr uint32_t scrMsgFullScreen = 0x10000;
constexpr uint32_t scrMsgResetStats = 0x20000;
constexpr uint32_t scrMessageBox = 0x10000000;

// Every message flag, in the order the message box draws them and the answers test them.
constexpr uint32_t scrAllMessages = scrMsgExit | scrMsgNew | scrMsgOld | scrMsgClear |
                                    scrMsgEnterName | scrMsgLowScore | scrMsgFullScreen |
                                    scrMsgResetStats;

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
