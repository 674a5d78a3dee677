#pragma once
// The game on the screen: the rules' state of it with what the shell keeps beside (the mode the
// next new game takes, the last game's final score), the one field that plays it, and the context
// that field acts on.
#include "game/FieldContext.h"
#include "game/FieldEvents.h"

#include <cstdint>

class TGameField;

struct TShellGame : TGameState {
    uint8_t ChosenMode = modeKids; // the mode the next new game takes
    int32_t FinalScore = 0;        // score of the game that ended last, for the game-end messages
    TGameEnd LastEnd;              // the game that ended last, for its summary
};

extern TShellGame GameState;

// The one field of the game.
extern TGameField* GameField;

// The context of the game on the screen: GameState, the high-score tables, `stats` (none: nothing
// is counted) and the game's two generators (game/Random.h).
TFieldContext ScreenGameContext(TStatistics* stats = nullptr);
