#pragma once
// The screen-state word and the shell variables: what the game shows and what state it is in.
// Shared by the field, the buttons, the sound bank and the shell; all on the window thread.
#include <cstdint>
#include <string>

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

// Messages whose Yes destroys what cannot be had back (a game, a table, the statistics): they
// open with the focus on No, and a bare Enter answers No.
constexpr uint32_t scrDestructiveMessages = scrMsgNew | scrMsgClear | scrMsgResetStats;

// Game modes (the current and the chosen mode).
constexpr uint8_t modeKids = 0;
constexpr uint8_t modeNormal = 1;
constexpr uint8_t modeProfessional = 2;

// The variables live for the whole run; a test resets them all with `Shell = TShellState{}`.
struct TShellState {
    uint32_t Word = scrLogo;
    uint32_t ReturnState = scrMenu; // the word an answer of No goes back to
    uint32_t BackState = scrMenu;   // the word the Back buttons restore
    uint8_t CurrentMode = modeNormal;
    uint8_t ChosenMode = modeKids; // the mode the next new game takes
    uint8_t HighScorePage = 0;     // which mode's table the high-score screen shows
    uint8_t HelpPage = 0;
    bool GameTouched = false; // the player has moved a ball in the current game
    int32_t Score = 0;
    uint8_t NewEntryRow = 0; // table row the name entry fills
    int32_t FinalScore = 0;  // score of the game that ended last, for the game-end messages
    // The row of the newest high score, marked on its mode's table until the player leaves the
    // high-score screen.
    uint8_t MarkedRow = 255; // 255: none
    uint8_t MarkedMode = 0;
    bool StatisticsShown = false; // the high-score screen shows the statistics of its mode
    std::string PlayerName = "Player";
    int32_t PointerX = 0; // pointer in picture coordinates (800 x 600)
    int32_t PointerY = 0;
    int32_t PressedButton = 0; // 0 left, 1 right, 2 middle; 0 after release
    bool FullScreen = false;
    int32_t MusicVolume = 50; // 0..100
    int32_t SoundVolume = 75; // 0..100
    double CaretClock = 0.0;  // blink clock of the name-entry caret, 0..2
    float AnimClock = 0.0f;   // clock of the small logo and the message pictures, 0..500
    int32_t SmallLogoFrame = 0;
};

extern TShellState Shell;

inline bool HasFlag(uint32_t word, uint32_t flag) {
    return (word & flag) != 0;
}
