#include "game/Board.h"

#include "game/GameField.h"

TBoard BoardOf(const TGameField& field) {
    TBoard b;
    for (int x = 0; x < TBoard::kSide; ++x)
        for (int y = 0; y < TBoard::kSide; ++y)
            b.At(x, y) = field.Inside(x, y) ? field.Cell(x, y) : TCell{};
    b.Preview = field.Preview;
    b.Mode = field.Game().CurrentMode;
    b.Score = field.Game().Score;
    b.Chain = field.ChainCount;
    b.BallsPerTurn = field.BallsPerTurn;
    return b;
}
