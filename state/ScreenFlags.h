#pragma once
// The values of the screen-state word (ShellState.h): the screens, the messages and the steps of
// the start sequence. Constants only, for whoever names a screen without reading the word (the
// layout's button table among them).
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

// Messages whose Yes destroys what cannot be had back (a game, a table, the statistics): they
// open with the focus on No, and a bare Enter answers No.
constexpr uint32_t scrDestructiveMessages = scrMsgNew | scrMsgClear | scrMsgResetStats;
