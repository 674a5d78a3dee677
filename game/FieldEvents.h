#pragma once
// What happens on the field, as the rules report it to whoever shows and sounds it: the sounds
// and the particle effects listen (view/), and so does the shell. Every call comes at the moment
// the rules act, in their order, so that a listener may do its work right away. Cells are
// (column, row) of the field. The default of every call is to do nothing.
#include "game/HighScores.h"
#include "game/Statistics.h"

#include <cstdint>
#include <vector>

// A ball in a cell of the field, with the picture it is drawn with.
struct TFieldBall {
    int X = 0, Y = 0;
    uint32_t Picture = 0;
};

// One removal of lines.
struct TLineClear {
    std::vector<TFieldBall> Balls; // in scan order: column by column, each from the top
    int32_t Points = 0;            // 10 x the base points (50 for a line of five), unmultiplied
    uint32_t Multiplier = 1;       // the factor of the last multiplier ball removed: 1, 3, 6, 9
    int32_t ChainBonus = 0;        // Points x the chain count before this move; 0 without a chain
    int CentreX = 0, CentreY = 0;  // middle of the removed balls' box, in cells, rounded down
};

// A finished game, as it went into its mode's table.
struct TGameEnd {
    uint8_t Mode = 0;
    int32_t Score = 0;      // the final score
    int Row = kNotEntered;  // the table row it took; kNotEntered when it did not beat the tenth
    TGameFigures Figures{}; // what the game brought, for its summary
    // The mode's best final score before this game, and whether a hint was taken (a hinted game
    // counts apart and never sets the best).
    int32_t PreviousBest = 0;
    bool Hinted = false;
    bool Entered() const { return Row != kNotEntered; }
    bool NewBest() const { return !Hinted && Score > PreviousBest; }
};

class IFieldEvents {
public:
    virtual ~IFieldEvents() = default;

    // A new game begins, before the field is cleared and its first balls are placed.
    virtual void GameStarting() {}
    // The new game's first balls and preview are dealt, in `mode`, from `seed`: the same seed
    // deals the same balls, and the same moves then play the same game.
    virtual void GameDealt(uint8_t /*mode*/, uint64_t /*seed*/) {}
    // The field was cleared: no ball, no selection, no chain.
    virtual void FieldCleared() {}
    // Balls were placed, each growing in over its cell (possibly none), and a new preview drawn.
    virtual void BallsSpawned(const std::vector<TFieldBall>& /*balls*/) {}
    // The field has no room for the next balls: the game is over and the field empties.
    virtual void GameOver() {}
    // One ball of a finished game was taken off.
    virtual void BallEmptied(const TFieldBall& /*ball*/) {}
    // The game ended: its score went into its mode's table (or did not beat the tenth) and the
    // field is empty. What the player sees next is the shell's to show.
    virtual void GameEnded(const TGameEnd& /*end*/) {}

    // A left press on a cell that the rules take (no turn in progress), before anything else.
    virtual void CellPressed(int /*x*/, int /*y*/) {}
    // A press with another button: the selection is dropped.
    virtual void SelectionCancelled() {}
    // A press on a ball, which is now selected or, pressed again, deselected. `armed`: a bomb
    // picked while nothing was selected lights its fuse.
    virtual void BallPicked(const TFieldBall& /*ball*/, bool /*selected*/, bool /*armed*/) {}
    // The selected ball sets off towards (toX, toY) along a path of `length` steps.
    virtual void MoveStarted(const TFieldBall& /*ball*/, int /*toX*/, int /*toY*/, int /*length*/) {
    }
    // The travelling ball changed direction: at its first step, at each corner and on settling.
    virtual void CornerTurned() {}
    // The turn's clock ran out; what it waited for (an arrival, a repaint, the lines of new
    // balls, the end of a game) is resolved now.
    virtual void TurnClockExpired() {}
    // The travelling ball is in its target cell.
    virtual void BallLanded(const TFieldBall& /*ball*/) {}

    virtual void LineCleared(const TLineClear& /*clear*/) {}

    // A paint ball arrived; `neighbours` are the occupied cells around it, which take its colour
    // later. Also for a paint ball with no neighbours, which then stays like a plain ball.
    virtual void PaintBallArrived(const TFieldBall& /*ball*/, uint8_t /*colour*/,
                                  const std::vector<TFieldBall>& /*neighbours*/) {}
    // The paint ball went off and left its cell (after a line through it was scored).
    virtual void PaintBallFired(const TFieldBall& /*ball*/) {}

    // A bomb's blast: it starts, reaches the occupied cells around the bomb (each before anything
    // happens to its ball), destroys balls, sets off the bombs among them (whose blasts start and
    // end within this one's) and ends. `victims` are the balls it destroyed itself; with none
    // the bomb stays on the field, and the blast ends without going off.
    virtual void BlastStarted(const TFieldBall& /*bomb*/) {}
    virtual void BlastReached(int /*x*/, int /*y*/) {}
    // A ball destroyed by a blast, thrown off at (vx, vy) pixels per unit.
    virtual void BallBlasted(const TFieldBall& /*ball*/, float /*vx*/, float /*vy*/) {}
    virtual void BlastEnded(const TFieldBall& /*bomb*/, int /*victims*/) {}

    // The selected ball's beat: variant 0..3 (a..d) of its selection sound is due.
    virtual void SelectionBeat(const TFieldBall& /*ball*/, int /*variant*/) {}
    // The pointer rests on a ball other than the one that sounded last, after a quiet spell.
    virtual void BallHovered(const TFieldBall& /*ball*/, bool /*bomb*/) {}
    // About once a second a plain ball at rest sparkles: one of four sparkles, 0..3.
    virtual void BallSparkled(const TFieldBall& /*ball*/, int /*sparkle*/) {}

    // A move was taken back: whatever it set going stops.
    virtual void MoveUndone() {}
};
