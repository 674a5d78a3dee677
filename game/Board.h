#pragma once
// TBoard: the game at the player's turn as a plain value — the cells, the preview and the figures
// (mode, score, chain, balls per turn) — without the field's clocks, marks and listeners, cheap
// to copy. PlayMove plays a whole turn on it with the rules' own functions, so that a simulated
// game is the game.
#include "game/Rules.h"

#include <array>
#include <cstdint>

class TGameField;

// A ball sent from one cell to another; FromX < 0 is no move.
struct TMove {
    int8_t FromX = -1, FromY = -1, ToX = -1, ToY = -1;
    bool Valid() const { return FromX >= 0; }
    friend bool operator==(const TMove&, const TMove&) = default;
};

struct TBoard {
    static constexpr int kSide = 9;
    static constexpr int kCellCount = kSide * kSide;

    std::array<TCell, kCellCount> Cells{}; // column by column: (x, y) at x * 9 + y
    std::array<TCell, 5> Preview{};
    uint8_t Mode = 1;
    int32_t Score = 0;
    uint8_t Chain = 0;
    int32_t BallsPerTurn = 3;
    uint8_t PaintColour = 0;                 // only between the steps of a turn
    std::array<uint8_t, kCellCount> Marks{}; // the line search's scratch

    static constexpr int Index(int x, int y) { return x * kSide + y; }
    TCell& At(int x, int y) { return Cells[static_cast<size_t>(Index(x, y))]; }
    const TCell& At(int x, int y) const { return Cells[static_cast<size_t>(Index(x, y))]; }
    rules::TRulesRef Ref() {
        return {rules::TCells{Cells.data(), kSide, kSide},
                Marks.data(),
                Mode,
                Score,
                Chain,
                BallsPerTurn,
                Preview,
                PaintColour};
    }
};

// The field's game as a board: its cells and preview, its chain and balls per turn, the current
// mode and the score. Meaningful while the field waits for the player.
TBoard BoardOf(const TGameField& field);

// What a turn brought.
struct TMoveOutcome {
    int32_t Points = 0;  // everything the turn scored: lines, chain bonus, repainted and new balls
    uint8_t Removed = 0; // cells of lines the move itself removed (0: a quiet move)
    bool Painted = false;
    bool Bombed = false;
    bool Spawned = false;  // the preview's balls were placed
    bool GameOver = false; // they found no room: the game is over
};

// The draws the field makes besides the new balls: three for each ball a blast destroys (its
// debris), in the blast's order. A simulation makes them too, so that its generator stays where the
// game's would be.
template <class TRandom> struct TDebrisDraws : rules::TQuiet {
    TRandom& Random;
    explicit TDebrisDraws(TRandom& random) : Random(random) {}
    void BallBlasted(int /*x*/, int /*y*/) {
        for (int i = 0; i < 3; ++i) Random(100);
    }
};

// Plays the move `m` (a ball to a cell it can reach) and the rest of its turn, as the field does
// over its clocks: the arrival, a paint ball's repaint, the new balls (from the preview, on cells
// drawn from `random`, with a new preview drawn from it) and their lines. `random` ends where the
// game's generator would.
template <class TRandom> TMoveOutcome PlayMove(TBoard& b, const TMove& m, TRandom& random) {
    const int32_t before = b.Score;
    const rules::TRulesRef r = b.Ref();
    TDebrisDraws<TRandom> events(random);
    TMoveOutcome o;
    const rules::TArrival a = rules::Arrive(r, m.FromX, m.FromY, m.ToX, m.ToY, events);
    o.Removed = a.Removed;
    o.Painted = a.Painted;
    o.Bombed = a.Bombed;
    if (a.Removed == 0) {
        if (a.SpawnDue()) {
            o.Spawned = true;
            o.GameOver = !rules::SpawnBalls(r, b.BallsPerTurn, false, random, events);
        }
        rules::QuietMoveEnds(r);
    }
    if (!o.GameOver) {
        if (b.PaintColour > 0) {
            rules::Repaint(r.Cells, m.ToX, m.ToY, b.PaintColour);
            b.PaintColour = 0;
            rules::ClearLines(r, events);
        } else if (o.Spawned) {
            rules::ClearLines(r, events); // lines the new balls made
        }
    }
    o.Points = b.Score - before;
    return o;
}
