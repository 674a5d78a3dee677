#pragma once
// TGameField: the 9 x 9 playing field and the rules engine. Cell (x, y) is column x from the left,
// row y from the top. Timers, phases and speeds count in game time units of 1/15 second (the frame
// timer's Delta).
//
// The rules neither draw nor sound and know no screen: they act on their context (the game in
// progress, the tables, the statistics, the random generators; FieldContext.h), and what happens
// goes out through IFieldEvents to the listeners (the sounds, the particles, the shell, which
// turns the end of a game into its screens). The field's drawing (view/FieldRender.cpp) reads the
// state below. The clocks of the animations live here too, since the rules' sounds and the
// travelling ball's turns follow them.
#include "game/BallKinds.h"
#include "game/FieldContext.h"
#include "game/FieldEvents.h"
#include "game/Grid.h"
#include "game/Rules.h"
#include "game/Statistics.h"
#include "game/Undo.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

constexpr uint8_t kNoHover = 255;        // HoverX/HoverY: the pointer is not over the field
constexpr uint8_t kNoSelection = 254;    // SelX/SelY: nothing selected
constexpr uint8_t kBlockedMark = 255;    // PathMarks: the hovered empty cell cannot be reached
constexpr double kTurnIdle = -200.0;     // TurnTimer while waiting for the player
constexpr double kTurnGameOver = 1000.0; // TurnTimer when the emptying of a full field begins
constexpr double kFinalBoardTime = 30.0; // a finished game's board stands still this long first

class TGameField {
public:
    // A field on `context`; the parts it leaves empty (all of them by default) are the field's
    // own: a fresh game, fresh tables and generators seeded with 0, and no statistics.
    TGameField(uint8_t columns, uint8_t rows, TFieldContext context = {});
    ~TGameField();
    // A copy would share the parts of its context the original owns; a move takes them along.
    TGameField(const TGameField&) = delete;
    TGameField& operator=(const TGameField&) = delete;
    TGameField(TGameField&&) = default;
    TGameField& operator=(TGameField&&) = default;

    // Cell counts.
    int32_t FreeCellCount() const;
    bool HasFreeCells(uint8_t n) const; // at least n empty cells (counted in a byte)
    bool HasBalls() const;

    // Path search. Returns the path length L (1..64) and leaves the chosen path in PathGrid
    // (start 1, next cell 2, ..., target L + 1, every other element 0), or kNoPath when the start
    // is the target, the target is occupied (both leave everything untouched) or no path exists
    // (PathGrid cleared, the target's PathMarks element set to kBlockedMark).
    uint8_t FindPath(uint8_t fromX, uint8_t fromY, uint8_t toX, uint8_t toY);
    // Runs each frame before Render with the cell under the pointer (outside 0..8 when the
    // pointer is off the field): takes it as the hovered cell and, while a ball is selected,
    // highlights the path to it (one frame late) or marks it blocked.
    void UpdateHover(int column, int row);

    // Inserts the score into the current mode's table and returns the row it took, or
    // kNotEntered.
    int InsertHighScore();

    // Line removal. Removes every run of five cells whose Kinds share a bit (longer runs count as
    // overlapping runs of five), scores them with the multiplier and the chain bonus and reports
    // them (LineCleared). Returns the number of cells removed.
    uint8_t ClearMatches();
    // A paint ball that arrived at (x, y) next to other balls vanishes; its neighbours turn its
    // colour 6.5 units later (ResolveTurn). False when `kind` is no paint ball or it has no
    // occupied neighbour: then it stays like a ball of its colour.
    bool ApplyPaintBall(int32_t x, int32_t y, uint32_t kind);
    // A bomb that arrived at (x, y) destroys the occupied 3 x 3 block around it, setting off the
    // bombs in it. True when it destroyed at least one ball itself. Bombs score nothing.
    bool ExplodeBomb(int32_t x, int32_t y, uint32_t kind);

    // Turn cycle.
    void Clear();
    // The field's part of a new game: effects cleared, field cleared, mode made current, the
    // starting balls placed, score 0, balls per turn set, reported with its seed (GameDealt). The
    // shell then shows the playing screen. The balls' generator starts from `seed`, so that the
    // same seed and the same moves play the same game; without one, the seed is the generator's
    // next number (0 .. 2^32 - 1).
    void NewGame(uint8_t mode, uint64_t seed);
    void NewGame(uint8_t mode);
    // Places `count` balls (random plain balls, or the preview's first entries) and draws a new
    // preview; ends the game instead when fewer than mode + 3 cells are empty.
    void SpawnBalls(int32_t count, bool random);
    // A mouse press (or a drag's release on another cell) on cell (column, row) with `button`
    // (0 left, 1 right, 2 middle): selects, deselects or sends the selected ball; another button
    // than the left drops the selection wherever it is pressed. A left press off the field
    // (outside 0..8) and any press while a turn resolves are ignored.
    void Click(int column, int row, int32_t button);
    // Runs when TurnTimer has expired: the arrival of a travelling ball, paint, bombs, lines, new
    // balls; the repaint after a paint ball; the lines of new balls; the end of an emptied game.
    void ResolveTurn();
    // Counts the game, enters its score into the table, clears the field and reports GameEnded.
    void EndGame();

    // Undo: takes back the last move (the field, preview, score, chain, balls per turn and the
    // mode's statistics as they were before it); its sounds and effects stop (MoveUndone). Refused
    // while a turn resolves, once the game has ended and in modes without undo. Repeating the move
    // afterwards brings the same new balls.
    bool CanUndo() const;
    bool Undo();
    // There is a move to take back, once the turn in progress (if any) has resolved: what the
    // undo button shows.
    bool HasUndo() const;

    // One frame of `delta` units of the rules: the clocks move (the travel clock, the appear
    // timers, the turn clock, the bounce and fuse phases with the selection beat, the hover
    // sound's clock and the travelling ball's direction); with `sparkles`, an idle plain ball
    // sparkles about once a second (the chance is 1 / `frameRate`); a finished game's board
    // stands for its beat (FinalBoardTimer), then loses a ball (in every frame up to 100 frames a
    // second, about 100 a second above: the chance is 100 / `frameRate`); and the turn resolves.
    void Update(double delta, int32_t frameRate, bool sparkles = false);

    // The per-frame operation on the playing screen, defined by the field's drawing
    // (view/FieldRender.cpp): Update with the measured frame rate, then Draw. Does nothing off the
    // playing screen.
    void Render(double delta);
    // The overlay, the balls, the selected and hovered ball, the preview and the travelling ball
    // as the field stands: drawing the same state again draws the same picture and moves nothing.
    void Draw() const;

    // Listeners of the field's events, called in the order they were added. Not owned.
    void AddListener(IFieldEvents* listener);
    void RemoveListener(IFieldEvents* listener);

    bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x <= MaxX && y <= MaxY; }
    TCell& Cell(int x, int y) { return Cells(x, y); }
    const TCell& Cell(int x, int y) const { return Cells(x, y); }

    uint8_t MaxX = 0, MaxY = 0;
    TGrid<uint8_t> MatchMarks;
    TGrid<double> AppearTimers; // > 0 while a ball grows in or travels: not drawn at rest
    bool Selected = false;
    double TurnTimer = kTurnIdle;
    int32_t TargetX = 0, TargetY = 0;
    int16_t TravelDirX = 0, TravelDirY = 0;
    bool Moving = false;
    uint8_t HoverX = 0, HoverY = 0;
    uint8_t LastHoverX = 0, LastHoverY = 0;
    double FusePhase = 0.0;
    double HoverSoundTimer = 0.0;
    uint8_t PaintColour = 0;
    bool GameOver = false;
    // While above 0 after the end of a game, the full board stands still before it empties.
    double FinalBoardTimer = 0.0;
    int32_t BallsPerTurn = 0;
    // Counts turns resolved back to waiting for the player (and games ended); the shell saves
    // when it changes.
    uint32_t TurnsCompleted = 0;
    uint8_t SelX = 0, SelY = 0;
    uint8_t SelPicture = 0;
    float BouncePhase = 0.0f;
    TGrid<TCell> Cells;
    TGrid<float> PathGrid;    // wave numbers of the search, then the chosen path and travel clock
    TGrid<uint8_t> PathMarks; // 0 plain, 1..254 highlighted path, 255 blocked target
    std::array<TCell, 5> Preview{};
    uint8_t ChainCount = 0;

    // Time since the last selection sound, and the position in the a, b, c, d cycle. A click on a
    // ball sets 5 and 15, so that the first eligible frame plays variant a.
    float SelSoundClock = 0.0f;
    uint8_t SelSoundStep = 0;

    TUndoHistory History;
    // What the field acts on; Stats may be changed (emptied while nothing is to be counted).
    TFieldContext Context;
    // The game has had its first move and counts as played (a resumed game was counted when it
    // began).
    bool GameCounted = false;
    // The player took a hint in this game: its end counts with the hinted games.
    bool Hinted = false;

    // The rules' view of this field: its cells and marks with the game's figures.
    rules::TRulesRef Rules();
    TGameState& Game() { return *Context.Game; }
    const TGameState& Game() const { return *Context.Game; }

private:
    class TReporter; // turns the rules' steps into the field's events
    friend class TReporter;

    // The halves of Update around the idle sparkle.
    void Advance(double delta);
    void FinishFrame(double delta, int32_t frameRate);
    void RecordMove();
    void FinishMove();
    void DrawSpawnState();
    void EmptyOneBall();
    void SparkleIdleBall(int32_t frameRate);
    void TurnTravellingBall();

    template <typename TCall> void Emit(TCall call) {
        for (IFieldEvents* listener : listeners_) call(*listener);
    }
    TFieldBall BallAt(int x, int y) const { return {x, y, Cells(x, y).Picture}; }

    std::vector<IFieldEvents*> listeners_;
    std::unique_ptr<TStandaloneGame> own_; // the parts of the context the field was not given

    // The move being resolved, for the statistics: score before it and the lines it removed.
    bool moveOpen_ = false;
    int32_t moveStartScore_ = 0;
    uint32_t moveLines_ = 0;
};
