// Line removal and scoring, paint balls and bombs.
#include "game/GameField.h"
#include "game/GameModes.h"
#include "game/Random.h"
#include "state/GameState.h"

#include <algorithm>
#include <limits>

namespace {

// Adds points to the score, stopping at the largest int32 instead of wrapping to a negative score.
void AddScore(int64_t points) {
    GameState.Score = static_cast<int32_t>(
        std::min<int64_t>(int64_t{GameState.Score} + points, std::numeric_limits<int32_t>::max()));
}

// The colour 1..7 of the lowest colour bit of a kind, 0 when it has none.
uint8_t ColourOf(uint32_t kind) {
    for (int c = 1; c <= 7; ++c)
        if (kind & ColourBit(c)) return static_cast<uint8_t>(c);
    return 0;
}

} // namespace

uint8_t TGameField::ClearMatches() {
    MatchMarks.Fill(0);
    uint8_t lines = 0;

    // A run is a line when its first cell holds a ball and the AND of its five Kinds is not 0.
    auto testRun = [&](int x, int y, int dx, int dy) {
        if (Cells(x, y).Kind == 0) return;
        uint32_t shared = 0xFFFFFFFFu;
        for (int k = 0; k < kLineLength; ++k) shared &= Cells(x + k * dx, y + k * dy).Kind;
        if (shared == 0) return;
        ++lines;
        for (int k = 0; k < kLineLength; ++k) MatchMarks(x + k * dx, y + k * dy) = 1;
    };
    for (int x = 0; x <= MaxX; ++x) {
        for (int y = 0; y <= MaxY; ++y) {
            const bool fitsDown = y < MaxY - 3;
            const bool fitsRight = x < MaxX - 3;
            if (fitsDown) testRun(x, y, 0, 1);
            if (fitsRight) testRun(x, y, 1, 0);
            if (fitsRight && fitsDown) testRun(x, y, 1, 1);
            if (fitsRight && y > 3) testRun(x, y, 1, -1);
        }
    }
    if (lines == 0) return 0;
    moveLines_ += lines;

    // Remove the marked cells in scan order; with several multiplier balls the last one counts.
    TLineClear clear;
    uint32_t multiplier = 1;
    uint8_t removed = 0;
    int minX = MaxX, maxX = 0, minY = MaxY, maxY = 0;
    for (int x = 0; x <= MaxX; ++x) {
        for (int y = 0; y <= MaxY; ++y) {
            if (MatchMarks(x, y) == 0) continue;
            TCell& cell = Cells(x, y);
            if (cell.Kind & kindMultiplier) multiplier = cell.Kind >> 28;
            clear.Balls.push_back(BallAt(x, y));
            cell.Kind = 0;
            ++removed;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }

    // Base points: 5 for a line of five, 7 for six, 13 for two crossing lines of five.
    const auto base = static_cast<uint8_t>(2 * removed - 5);
    clear.Points = 10 * base;
    clear.Multiplier = multiplier;
    clear.CentreX = (minX + maxX) / 2;
    clear.CentreY = (minY + maxY) / 2;
    AddScore(int64_t{10} * base * multiplier);

    // The chain bonus counts the consecutive line-making moves before this one and is not
    // multiplied.
    if (ChainCount > 0) {
        clear.ChainBonus = 10 * base * ChainCount;
        AddScore(clear.ChainBonus);
    }

    Emit([&](IFieldEvents& e) { e.LineCleared(clear); });
    return removed;
}

bool TGameField::ApplyPaintBall(int32_t x, int32_t y, uint32_t kind) {
    if ((kind & kindPaint) == 0) return false;
    const uint8_t colour = ColourOf(kind);
    std::vector<TFieldBall> neighbours;
    for (int i = x - 1; i <= x + 1; ++i)
        for (int j = y - 1; j <= y + 1; ++j)
            if (Inside(i, j) && Cells(i, j).Kind != 0 && !(i == x && j == y))
                neighbours.push_back(BallAt(i, j));
    Emit([&](IFieldEvents& e) { e.PaintBallArrived(BallAt(x, y), colour, neighbours); });
    if (neighbours.empty()) return false;
    PaintColour = colour;

    // A line through the paint ball is removed and scored now, before the repainting.
    ClearMatches();
    Emit([&](IFieldEvents& e) { e.PaintBallFired(BallAt(x, y)); });
    Cells(x, y).Kind = 0;
    TurnTimer = 6.5;
    Moving = false;
    return true;
}

bool TGameField::ExplodeBomb(int32_t x, int32_t y, uint32_t kind) {
    if ((kind & kindBomb) == 0) return false;
    Emit([&](IFieldEvents& e) { e.BlastStarted(BallAt(x, y)); });
    // Marked first, so that the bombs it sets off do not come back to it as a bomb: they destroy
    // it like any ball. Each bomb is thus entered at most once and the chain ends.
    Cells(x, y).Kind = kindDetonating;
    int victims = 0;
    for (int i = x - 1; i <= x + 1; ++i) {
        for (int j = y - 1; j <= y + 1; ++j) {
            if (!Inside(i, j) || Cells(i, j).Kind == 0) continue;
            Emit([&](IFieldEvents& e) { e.BlastReached(i, j); });
            if (i == x && j == y) continue;
            if (Cells(i, j).Kind == kindBomb) {
                ExplodeBomb(i, j, kindBomb);
                continue;
            }
            Cells(i, j).Kind = 0;
            // Three draws in this order: sideways speed, sideways scatter, upward speed.
            const double r1 = Random(100);
            const double r2 = Random(100);
            const double r3 = Random(100);
            const double vx = (r1 / 11.0 + 5.0) * (i - x) + r2 / 50.0 - 1.0;
            const double vy = (r3 / 3.0 + 5.0) * (j - y);
            Emit([&](IFieldEvents& e) {
                e.BallBlasted(BallAt(i, j), static_cast<float>(vx), static_cast<float>(vy));
            });
            ++victims;
        }
    }
    // A bomb that destroyed nothing stays; ResolveTurn makes it a bomb again.
    if (victims > 0) Cells(x, y).Kind = 0;
    Emit([&](IFieldEvents& e) { e.BlastEnded(BallAt(x, y), victims); });
    return victims > 0;
}
