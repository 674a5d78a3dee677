// Line removal and scoring, paint balls and bombs: the rules' functions, reported as the field's
// events.
#include "game/FieldReporter.h"
#include "game/GameField.h"

rules::TRulesRef TGameField::Rules() {
    return rules::TRulesRef{rules::TCells{Cells.Data(), Cells.Columns(), Cells.Rows()},
                            MatchMarks.Data(),
                            Game().CurrentMode,
                            Game().Score,
                            ChainCount,
                            BallsPerTurn,
                            Preview,
                            PaintColour};
}

uint8_t TGameField::ClearMatches() {
    TReporter reporter(*this);
    return rules::ClearLines(Rules(), reporter).Removed;
}

bool TGameField::ApplyPaintBall(int32_t x, int32_t y, uint32_t kind) {
    TReporter reporter(*this);
    if (!rules::ApplyPaintBall(Rules(), x, y, kind, reporter)) return false;
    // The neighbours take its colour when this clock runs out (ResolveTurn).
    TurnTimer = 6.5;
    Moving = false;
    return true;
}

bool TGameField::ExplodeBomb(int32_t x, int32_t y, uint32_t kind) {
    TReporter reporter(*this);
    return rules::ExplodeBomb(Rules().Cells, x, y, kind, reporter);
}
