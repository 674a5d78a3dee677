#pragma once
// Where a finished game leads: the high-score screen of its mode (the table, not the statistics)
// under the name-entry message when its score took a place, under the low-score message
// otherwise; an answer of No then goes back to the menu. The final score stays for the messages.
#include "game/FieldEvents.h"

void ShowGameEnd(const TGameEnd& end);

// The shell's listener to the field for it; added before any listener that asks which screen a
// game's end opened.
class TGameEndScreens final : public IFieldEvents {
public:
    void GameEnded(const TGameEnd& end) override { ShowGameEnd(end); }
};
