#include "game/GameField.h"

#include "game/HighScores.h"

#include <algorithm>
#include <cmath>

namespace {

// Path values are whole wave numbers held in single precision; rounding is to nearest, ties to
// even, as everywhere in the field.
int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

} // namespace

void TGameField::AddListener(IFieldEvents* listener) {
    if (listener && std::find(listeners_.begin(), listeners_.end(), listener) == listeners_.end())
        listeners_.push_back(listener);
}

void TGameField::RemoveListener(IFieldEvents* listener) {
    listeners_.erase(std::remove(listeners_.begin(), listeners_.end(), listener), listeners_.end());
}

TGameField::TGameField(uint8_t columns, uint8_t rows, TFieldContext context)
    : MaxX(static_cast<uint8_t>(columns - 1)), MaxY(static_cast<uint8_t>(rows - 1)),
      MatchMarks(columns, rows), AppearTimers(columns, rows), Cells(columns, rows),
      PathGrid(columns, rows), PathMarks(columns, rows), Context(context) {
    if (Context.Game && Context.Tables && Context.Balls && Context.Decor) return;
    own_ = std::make_unique<TStandaloneGame>();
    if (!Context.Game) Context.Game = &own_->Game;
    if (!Context.Tables) Context.Tables = &own_->Tables;
    if (!Context.Balls) Context.Balls = &own_->Balls;
    if (!Context.Decor) Context.Decor = &own_->Decor;
}

TGameField::~TGameField() = default;

int32_t TGameField::FreeCellCount() const {
    int32_t n = 0;
    for (int x = 0; x <= MaxX; ++x)
        for (int y = 0; y <= MaxY; ++y)
            if (Cells(x, y).Kind == 0) ++n;
    return n;
}

bool TGameField::HasFreeCells(uint8_t n) const {
    uint8_t count = 0;
    for (int x = 0; x <= MaxX; ++x)
        for (int y = 0; y <= MaxY; ++y)
            if (Cells(x, y).Kind == 0) ++count;
    return count >= n;
}

bool TGameField::HasBalls() const {
    for (int x = 0; x <= MaxX; ++x)
        for (int y = 0; y <= MaxY; ++y)
            if (Cells(x, y).Kind != 0) return true;
    return false;
}

uint8_t TGameField::FindPath(uint8_t fromX, uint8_t fromY, uint8_t toX, uint8_t toY) {
    bool blocked = false;
    const uint8_t length =
        rules::FindPath(Rules().Cells, PathGrid.Data(), fromX, fromY, toX, toY, &blocked);
    if (blocked) PathMarks(toX, toY) = kBlockedMark;
    return length;
}

void TGameField::UpdateHover(int column, int row) {
    HoverX = HoverY = kNoHover;
    const int x = column, y = row;
    // Off the field the marks stay as the last frame over the field left them.
    if (!Inside(x, y)) return;
    HoverX = static_cast<uint8_t>(x);
    HoverY = static_cast<uint8_t>(y);
    if (!Selected) {
        PathMarks.Fill(0);
        return;
    }
    // The highlight shows the path that the previous frame's search left. Values below zero (a
    // travel clock run past its end) show as plain cells.
    for (int i = 0; i <= MaxX; ++i) {
        for (int j = 0; j <= MaxY; ++j) {
            const int v = RoundEven(PathGrid(i, j));
            PathMarks(i, j) = v <= 0 ? 0 : v >= 255 ? 254 : static_cast<uint8_t>(v);
        }
    }
    const uint8_t r = FindPath(SelX, SelY, static_cast<uint8_t>(x), static_cast<uint8_t>(y));
    if (r > 0 && r < kNoPath) return;
    for (int i = 0; i <= MaxX; ++i)
        for (int j = 0; j <= MaxY; ++j)
            if (PathMarks(i, j) != kBlockedMark) PathMarks(i, j) = 0;
    if (Inside(SelX, SelY)) PathMarks(SelX, SelY) = 0;
}

int TGameField::InsertHighScore() {
    return ::InsertHighScore(Context.Tables->Blocks[Game().CurrentMode % kHighScoreModes],
                             Game().Score);
}
