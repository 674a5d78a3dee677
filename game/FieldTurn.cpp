// The turn cycle: new games, spawning and the preview, clicks, the resolution of a turn and the
// end of a game.
#include "game/FieldReporter.h"
#include "game/GameField.h"
#include "game/GameModes.h"

namespace {

constexpr double kSettleTime = 7.0; // new balls settle before their lines are searched

} // namespace

void TGameField::Clear() {
    for (int x = 0; x <= MaxX; ++x)
        for (int y = 0; y <= MaxY; ++y) Cells(x, y).Kind = 0;
    PathGrid.Fill(0.0f);
    MatchMarks.Fill(0);
    Selected = false;
    Emit([](IFieldEvents& e) { e.FieldCleared(); });
    ChainCount = 0;
    History.Clear();
    moveOpen_ = false;
}

void TGameField::NewGame(uint8_t mode) {
    NewGame(mode, Context.Balls->Next32());
}

void TGameField::NewGame(uint8_t mode, uint64_t seed) {
    Emit([](IFieldEvents& e) { e.GameStarting(); });
    Clear();
    GameOver = false; // a new game may be asked for while the last one empties
    FinalBoardTimer = 0.0;
    Game().CurrentMode = mode;
    Context.Balls->Seed(seed);
    SpawnBalls(ModeRules[mode].StartBalls, true);
    Game().Score = 0;
    BallsPerTurn = ModeRules[mode].BallsPerTurn;
    GameCounted = false;
    Hinted = false;
    if (Context.Stats) Context.Stats->GameDealt();
    Emit([&](IFieldEvents& e) { e.GameDealt(mode, seed); });
}

void TGameField::SpawnBalls(int32_t count, bool random) {
    TReporter reporter(*this);
    // The room check asks for mode + 3 empty cells whatever the count; a running game never
    // places more than mode + 2, so placing always finds a cell.
    if (!rules::SpawnBalls(Rules(), count, random, *Context.Balls, reporter)) {
        GameOver = true;
        FinalBoardTimer = kFinalBoardTime;
        Emit([](IFieldEvents& e) { e.GameOver(); });
        TurnTimer = kTurnGameOver;
        return;
    }
    TurnTimer = kSettleTime;
    Moving = false;
}

void TGameField::Click(int column, int row, int32_t button) {
    if (TurnTimer > 0) return; // a turn is being resolved
    if (button != 0) {
        Selected = false;
        SelX = SelY = kNoSelection;
        PathGrid.Fill(0.0f);
        Emit([](IFieldEvents& e) { e.SelectionCancelled(); });
        return;
    }
    const int x = column, y = row;
    if (!Inside(x, y)) return;
    Emit([&](IFieldEvents& e) { e.CellPressed(x, y); });

    TCell& cell = Cells(x, y);
    if (cell.Kind == 0) {
        if (!Selected) return;
        const uint8_t length =
            FindPath(SelX, SelY, static_cast<uint8_t>(x), static_cast<uint8_t>(y));
        if (length > 0 && length < kNoPath) {
            RecordMove();
            // The ball leaves its cell: hidden there while it travels; SelX and SelY keep the
            // start for the arrival.
            AppearTimers(SelX, SelY) = length + 1;
            TurnTimer = length;
            Moving = true;
            Selected = false;
            TargetX = x;
            TargetY = y;
            const TFieldBall ball = BallAt(SelX, SelY);
            Emit([&](IFieldEvents& e) { e.MoveStarted(ball, x, y, length); });
        } else {
            Selected = false;
            SelX = SelY = kNoSelection;
        }
        return;
    }

    // A bomb picked with nothing selected lights its fuse; the next press puts it out.
    const bool armed = !Selected && cell.Picture == kPictureBomb;
    const bool deselect = Selected && SelX == x && SelY == y;
    Emit([&](IFieldEvents& e) { e.BallPicked(BallAt(x, y), !deselect, armed); });
    SelSoundClock = 5.0f;
    SelSoundStep = 15;
    if (deselect) {
        Selected = false;
        SelX = SelY = kNoSelection;
    } else {
        SelX = static_cast<uint8_t>(x);
        SelY = static_cast<uint8_t>(y);
        SelPicture = static_cast<uint8_t>(cell.Picture);
        Selected = true;
    }
}

void TGameField::ResolveTurn() {
    // Catches every expiry: a clock that was above 0 falls at most 15 below it in one frame.
    if (TurnTimer > 0 || TurnTimer < -100) return;
    Emit([](IFieldEvents& e) { e.TurnClockExpired(); });
    TurnTimer = kTurnIdle;

    if (GameOver) {
        FinishMove();
        EndGame();
        GameOver = false;
        ++TurnsCompleted;
        return;
    }

    if (PaintColour > 0) {
        rules::Repaint(Rules().Cells, TargetX, TargetY, PaintColour);
        PaintColour = 0;
    }

    // New or repainted balls may have made a line: scored with the chain as it stands.
    if (!Moving) ClearMatches();

    if (Moving) {
        Game().GameTouched = true;
        if (!GameCounted && Context.Stats) Context.Stats->GameStarted(Game().CurrentMode);
        GameCounted = true;
        TReporter reporter(*this);
        const rules::TArrival arrival =
            rules::Arrive(Rules(), SelX, SelY, TargetX, TargetY, reporter);
        // A paint ball's repaint waits for its clock, which ApplyPaintBall's part set.
        if (arrival.Painted) {
            TurnTimer = 6.5;
            Moving = false;
        }
        if (arrival.Removed == 0) {
            // A move that fires a paint ball or a bomb brings no new balls.
            if (arrival.SpawnDue()) {
                DrawSpawnState();
                SpawnBalls(BallsPerTurn, false);
            }
            rules::QuietMoveEnds(Rules());
        }
    }

    Selected = false;
    SelX = SelY = kNoSelection;
    if (TurnTimer == kTurnIdle) {
        ++TurnsCompleted; // nothing more to resolve: the player's turn
        FinishMove();
    }
}

void TGameField::EndGame() {
    TGameState& game = Game();
    TGameEnd end;
    end.Mode = game.CurrentMode;
    end.Score = game.Score;
    end.Hinted = Hinted;
    if (Context.Stats && game.CurrentMode < Context.Stats->Modes.size()) {
        end.Figures = Context.Stats->Current;
        end.PreviousBest = Context.Stats->Modes[game.CurrentMode].BestScore;
    }
    if (Context.Stats) Context.Stats->GameFinished(game.CurrentMode, game.Score, Hinted);
    Clear();
    game.GameTouched = false;
    end.Row = InsertHighScore();
    game.Score = 0;
    Emit([&](IFieldEvents& e) { e.GameEnded(end); });
}

// --- Undo and the move's figures -----------------------------------------------------------------

void TGameField::RecordMove() {
    moveOpen_ = true;
    moveStartScore_ = Game().Score;
    moveLines_ = 0;
    const uint8_t mode = Game().CurrentMode;
    const size_t depth = mode < kUndoDepth.size() ? kUndoDepth[mode] : 0;
    if (depth == 0) return;
    TFieldSnapshot s;
    s.Cells.reserve(static_cast<size_t>((MaxX + 1) * (MaxY + 1)));
    for (int x = 0; x <= MaxX; ++x)
        for (int y = 0; y <= MaxY; ++y) s.Cells.push_back(Cells(x, y));
    s.Preview = Preview;
    s.Score = Game().Score;
    s.ChainCount = ChainCount;
    s.BallsPerTurn = BallsPerTurn;
    s.GameTouched = Game().GameTouched;
    if (Context.Stats && mode < Context.Stats->Modes.size()) {
        s.Stats = Context.Stats->Modes[mode];
        s.Figures = Context.Stats->Current;
    }
    History.Push(std::move(s), depth);
}

// Called right before a move's new balls are drawn: after an undo the generator goes back to the
// state the undone move drew from; the state used is kept with the move's snapshot.
void TGameField::DrawSpawnState() {
    uint64_t state = 0;
    if (History.TakeReplayState(state)) Context.Balls->State = state;
    if (TFieldSnapshot* last = History.Last()) {
        last->Spawned = true;
        last->SpawnState = Context.Balls->State;
    }
}

void TGameField::FinishMove() {
    if (!moveOpen_) return;
    moveOpen_ = false;
    if (Context.Stats)
        Context.Stats->MoveDone(Game().CurrentMode, Game().Score - moveStartScore_, moveLines_,
                                ChainCount);
}

bool TGameField::HasUndo() const {
    const uint8_t mode = Game().CurrentMode;
    return mode < kUndoDepth.size() && kUndoDepth[mode] > 0 && !History.Empty() && !GameOver;
}

bool TGameField::CanUndo() const {
    return HasUndo() && TurnTimer == kTurnIdle;
}

bool TGameField::Undo() {
    if (!CanUndo()) return false;
    const TFieldSnapshot s = History.Pop();
    size_t i = 0;
    for (int x = 0; x <= MaxX; ++x)
        for (int y = 0; y <= MaxY; ++y) Cells(x, y) = i < s.Cells.size() ? s.Cells[i++] : TCell{};
    AppearTimers.Fill(0.0);
    PathGrid.Fill(0.0f);
    PathMarks.Fill(0);
    MatchMarks.Fill(0);
    Preview = s.Preview;
    Game().Score = s.Score;
    ChainCount = s.ChainCount;
    BallsPerTurn = s.BallsPerTurn;
    Game().GameTouched = s.GameTouched;
    Selected = false;
    SelX = SelY = kNoSelection;
    PaintColour = 0;
    Moving = false;
    moveOpen_ = false;
    if (Context.Stats && Game().CurrentMode < Context.Stats->Modes.size()) {
        // Games played and play time are not the move's: they stay.
        TModeStatistics& m = Context.Stats->Modes[Game().CurrentMode];
        TModeStatistics back = s.Stats;
        back.GamesPlayed = m.GamesPlayed;
        back.PlaySeconds = m.PlaySeconds;
        m = back;
        const double seconds = Context.Stats->Current.Seconds;
        Context.Stats->Current = s.Figures;
        Context.Stats->Current.Seconds = seconds;
    }
    Emit([](IFieldEvents& e) { e.MoveUndone(); });
    return true;
}
