#pragma once
// The rules of a turn as functions of the cells and the game's figures. The field (TGameField)
// plays them with its clocks between the steps and reports each step to its listeners; a
// simulation (the move-suggesting player) plays a whole turn at once on a copy (TBoard). Both run
// this code, so a simulated turn is the game's turn.
//
// Each function takes an events object whose calls come at the moment the rules act, in their
// order; TQuiet ignores them all, and an events type hides the calls it wants. Random draws come
// from a callable `int32_t random(int32_t n)` returning 0 <= r < n: the game's generator in the
// game, a generator of the simulation's own in a simulation.
#include "game/BallKinds.h"
#include "game/GameModes.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <limits>

constexpr uint8_t kNoPath = 255; // FindPath: no path, or a refused search

// The version of the rules as a recorded game sees them: it goes up with every change that makes
// the same seed and moves play differently (other balls, other places, other points), so that a
// replay is only ever played by the rules it was recorded with.
constexpr uint16_t kRulesVersion = 1;

namespace rules {

// The cells of a field, column by column: (x, y) at x * Rows + y, as TGrid keeps them.
struct TCells {
    TCell* Data = nullptr;
    int Columns = 0, Rows = 0;

    TCell& operator()(int x, int y) const {
        return Data[static_cast<size_t>(x) * static_cast<size_t>(Rows) + static_cast<size_t>(y)];
    }
    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < Columns && y < Rows; }
    size_t Size() const { return static_cast<size_t>(Columns) * static_cast<size_t>(Rows); }
};

// What a turn works on: the cells, a mark per cell for the line search (laid out as the cells),
// and the game's figures.
struct TRulesRef {
    TCells Cells;
    uint8_t* Marks;
    uint8_t Mode;
    int32_t& Score;
    uint8_t& Chain;
    int32_t& BallsPerTurn;
    std::array<TCell, 5>& Preview;
    uint8_t& PaintColour; // colour a fired paint ball gives its neighbours; 0 = none pending
};

// One removal of lines.
struct TLineResult {
    uint8_t Lines = 0;   // runs of five found (a longer run counts once per five)
    uint8_t Removed = 0; // cells removed
    int32_t Points = 0;  // 10 x the base points 2N - 5: 50 for a line of five, unmultiplied
    uint32_t Multiplier = 1;
    int32_t ChainBonus = 0;       // Points x the chain before this removal
    int CentreX = 0, CentreY = 0; // middle of the removed cells' box, rounded down
};

// The occupied cells around a paint ball, in scan order (column by column, each from the top).
struct TNeighbours {
    int Count = 0;
    std::array<int8_t, 8> X{}, Y{};
};

struct TQuiet {
    void LineCell(int /*x*/, int /*y*/) {} // a cell of a line, before it is emptied
    void LinesCleared(const TLineResult& /*result*/) {}
    void PaintArrived(int /*x*/, int /*y*/, uint8_t /*colour*/, const TNeighbours& /*n*/) {}
    void PaintFired(int /*x*/, int /*y*/) {} // before the paint ball's cell is emptied
    void BlastStarted(int /*x*/, int /*y*/) {}
    void BlastReached(int /*x*/, int /*y*/) {}
    void BallBlasted(int /*x*/, int /*y*/) {} // after the ball's cell was emptied
    void BlastEnded(int /*x*/, int /*y*/, int /*victims*/) {}
    void BallPlaced(int /*x*/, int /*y*/) {}
    void BallsPlaced() {} // after the last ball, before the new preview is drawn
    void BallLanded(int /*x*/, int /*y*/) {}
};

int32_t CountFree(const TCells& cells);

// The colour 1..7 of the lowest colour bit of a kind, 0 when it has none.
uint8_t ColourOf(uint32_t kind);

// Adds points to a score, stopping at the largest int32 instead of wrapping to a negative one.
inline void AddScore(int32_t& score, int64_t points) {
    score = static_cast<int32_t>(
        std::min<int64_t>(int64_t{score} + points, std::numeric_limits<int32_t>::max()));
}

// Marks (1) every cell of a run of five whose first cell holds a ball and whose Kinds, ANDed,
// are not 0; clears every other mark. Returns the number of runs.
uint8_t MarkLines(const TCells& cells, uint8_t* marks);

// Paths. The wave search of the field: returns the path length L (1..64) and leaves the chosen
// path in `grid` (laid out as the cells: start 1, next cell 2, ..., target L + 1, every other
// element 0). kNoPath when the start is the target or the target is occupied or outside (grid
// untouched), or when no path exists (grid cleared, *blocked set).
uint8_t FindPath(const TCells& cells, float* grid, int fromX, int fromY, int toX, int toY,
                 bool* blocked = nullptr);

// Removes every line, scoring it with its multiplier (the last multiplier ball in scan order)
// and the chain bonus (not multiplied). Nothing happens without a line.
template <class TEvents> TLineResult ClearLines(const TRulesRef& r, TEvents& events) {
    TLineResult result;
    result.Lines = MarkLines(r.Cells, r.Marks);
    if (result.Lines == 0) return result;
    const TCells& cells = r.Cells;
    int minX = cells.Columns - 1, maxX = 0, minY = cells.Rows - 1, maxY = 0;
    for (int x = 0; x < cells.Columns; ++x) {
        for (int y = 0; y < cells.Rows; ++y) {
            if (r.Marks[static_cast<size_t>(x) * static_cast<size_t>(cells.Rows) +
                        static_cast<size_t>(y)] == 0)
                continue;
            TCell& cell = cells(x, y);
            if (cell.Kind & kindMultiplier) result.Multiplier = cell.Kind >> 28;
            events.LineCell(x, y);
            cell.Kind = 0;
            ++result.Removed;
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    // Base points: 5 for a line of five, 7 for six, 13 for two crossing lines of five.
    const auto base = static_cast<uint8_t>(2 * result.Removed - 5);
    result.Points = 10 * base;
    result.CentreX = (minX + maxX) / 2;
    result.CentreY = (minY + maxY) / 2;
    AddScore(r.Score, int64_t{10} * base * result.Multiplier);
    // The chain counts the consecutive line-making moves before this one.
    if (r.Chain > 0) {
        result.ChainBonus = 10 * base * r.Chain;
        AddScore(r.Score, result.ChainBonus);
    }
    events.LinesCleared(result);
    return result;
}

// A paint ball that arrived at (x, y) next to other balls: a line through it is removed and
// scored, then it leaves its cell, and its colour waits in PaintColour for Repaint. False when
// `kind` is no paint ball or nothing is around it: then it stays like a ball of its colour.
template <class TEvents>
bool ApplyPaintBall(const TRulesRef& r, int x, int y, uint32_t kind, TEvents& events) {
    if ((kind & kindPaint) == 0) return false;
    const uint8_t colour = ColourOf(kind);
    TNeighbours n;
    for (int i = x - 1; i <= x + 1; ++i) {
        for (int j = y - 1; j <= y + 1; ++j) {
            if (!r.Cells.Inside(i, j) || r.Cells(i, j).Kind == 0 || (i == x && j == y)) continue;
            n.X[static_cast<size_t>(n.Count)] = static_cast<int8_t>(i);
            n.Y[static_cast<size_t>(n.Count)] = static_cast<int8_t>(j);
            ++n.Count;
        }
    }
    events.PaintArrived(x, y, colour, n);
    if (n.Count == 0) return false;
    r.PaintColour = colour;
    ClearLines(r, events);
    events.PaintFired(x, y);
    r.Cells(x, y).Kind = 0;
    return true;
}

// The repaint a fired paint ball left pending: every occupied cell of the 3 x 3 block around
// (x, y) but its centre, whatever it holds, becomes the plain ball of `colour`.
void Repaint(const TCells& cells, int x, int y, uint8_t colour);

// A bomb that arrived at (x, y) destroys the occupied 3 x 3 block around it and sets off the
// bombs in it. True when it destroyed a ball itself; otherwise it stays, marked as detonating
// until DefuseBombs. Bombs score nothing.
template <class TEvents>
bool ExplodeBomb(const TCells& cells, int x, int y, uint32_t kind, TEvents& events) {
    if ((kind & kindBomb) == 0) return false;
    events.BlastStarted(x, y);
    // Marked first, so that the bombs it sets off do not come back to it as a bomb: they destroy
    // it like any ball. Each bomb is thus entered at most once and the chain ends.
    cells(x, y).Kind = kindDetonating;
    int victims = 0;
    for (int i = x - 1; i <= x + 1; ++i) {
        for (int j = y - 1; j <= y + 1; ++j) {
            if (!cells.Inside(i, j) || cells(i, j).Kind == 0) continue;
            events.BlastReached(i, j);
            if (i == x && j == y) continue;
            if (cells(i, j).Kind == kindBomb) {
                ExplodeBomb(cells, i, j, kindBomb, events);
                continue;
            }
            cells(i, j).Kind = 0;
            events.BallBlasted(i, j);
            ++victims;
        }
    }
    if (victims > 0) cells(x, y).Kind = 0;
    events.BlastEnded(x, y, victims);
    return victims > 0;
}

// A bomb that found nothing to destroy is a bomb again.
void DefuseBombs(const TCells& cells);

// A multiplier from s = random(16): 0..11 x3, 12..14 x6, 15 x9.
template <class TRandom> int MultiplierEntry(TRandom& random) {
    const int s = random(16);
    return s <= 11 ? 19 : s <= 14 ? 20 : 21;
}

// The BallKinds entry of a preview ball by the odds of the mode: r = random(256), and where the
// row says so one more draw for the colour or the kind.
template <class TRandom> int PreviewEntry(uint8_t mode, TRandom& random) {
    const int r = random(256);
    switch (mode) {
    case 0: // Kids: plain 1..6, two-colour, rainbow
        if (r <= 200) return 1 + random(6);
        if (r <= 245) return 8 + random(3);
        return 11;
    case 1: // Normal
        if (r <= 201) return 1 + random(6);
        if (r <= 207) return kindEntryBomb;
        if (r <= 222) return 8 + random(3);
        if (r <= 232) return 11;
        if (r <= 253) return 12 + random(6);
        return MultiplierEntry(random);
    default: // Professional: all seven colours
        if (r <= 220) return 1 + random(7);
        if (r <= 227) return kindEntryBomb;
        if (r <= 240) return 8 + random(3);
        if (r <= 245) return 11;
        if (r <= 253) return 12 + random(7);
        return MultiplierEntry(random);
    }
}

// Places `count` balls on random empty cells (x drawn, then y, again until the cell is empty):
// random plain balls (colours 1..7 in Kids, 1..6 otherwise), or the preview's entries in order;
// then draws all five preview entries anew. False, placing nothing, when fewer than mode + 3
// cells are empty, whatever the count: the game is over.
template <class TRandom, class TEvents>
bool SpawnBalls(const TRulesRef& r, int32_t count, bool random, TRandom& draw, TEvents& events) {
    if (CountFree(r.Cells) < r.Mode + 3) return false;
    for (int32_t i = 0; i < count && CountFree(r.Cells) > 0; ++i) {
        int x = 0, y = 0;
        do {
            x = draw(r.Cells.Columns);
            y = draw(r.Cells.Rows);
        } while (r.Cells(x, y).Kind != 0);
        r.Cells(x, y) = random ? BallKinds[1 + static_cast<size_t>(draw(r.Mode == 0 ? 7 : 6))]
                               : r.Preview[static_cast<size_t>(i % 5)];
        events.BallPlaced(x, y);
    }
    events.BallsPlaced();
    for (TCell& next : r.Preview) next = BallKinds[static_cast<size_t>(PreviewEntry(r.Mode, draw))];
    return true;
}

// What the arrival of a moved ball set going.
struct TArrival {
    bool Painted = false; // a paint ball went off: its repaint is pending
    bool Bombed = false;  // a bomb destroyed balls
    uint8_t Removed = 0;  // cells of lines removed by the move itself
    bool SpawnDue() const { return Removed == 0 && !Painted && !Bombed; }
};

// The ball of (fromX, fromY) arrives at (toX, toY): a paint ball or a bomb goes off, lines are
// removed, and a line-making move raises the chain. After a move without lines the caller places
// the preview's balls when SpawnDue() (SpawnBalls with BallsPerTurn, from the preview) and then
// calls QuietMoveEnds.
template <class TEvents>
TArrival Arrive(const TRulesRef& r, int fromX, int fromY, int toX, int toY, TEvents& events) {
    r.Cells(toX, toY) = r.Cells(fromX, fromY);
    events.BallLanded(toX, toY);
    r.Cells(fromX, fromY).Kind = 0;
    TArrival a;
    a.Painted = ApplyPaintBall(r, toX, toY, r.Cells(toX, toY).Kind, events);
    a.Bombed = ExplodeBomb(r.Cells, toX, toY, r.Cells(toX, toY).Kind, events);
    DefuseBombs(r.Cells);
    a.Removed = ClearLines(r, events).Removed;
    if (a.Removed > 0) r.Chain = static_cast<uint8_t>(r.Chain + 1);
    return a;
}

// After a move without lines: the balls of the next turn follow from the free cells left (after
// the spawn), and the chain is broken.
inline void QuietMoveEnds(const TRulesRef& r) {
    r.BallsPerTurn = BallsPerTurnFor(r.Mode, CountFree(r.Cells));
    r.Chain = 0;
}

} // namespace rules
