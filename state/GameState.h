#pragma once
// The game in progress as the shell keeps it: its mode, its score and whether the player has
// touched it. The rules read and write it; the shell saves and restores it.
#include <cstdint>

// Game modes (the current and the chosen mode).
constexpr uint8_t modeKids = 0;
constexpr uint8_t modeNormal = 1;
constexpr uint8_t modeProfessional = 2;

struct TGameState {
    uint8_t CurrentMode = modeNormal;
    uint8_t ChosenMode = modeKids; // the mode the next new game takes
    int32_t Score = 0;
    bool GameTouched = false; // the player has moved a ball in the current game
    int32_t FinalScore = 0;   // score of the game that ended last, for the game-end messages
};

extern TGameState GameState;
