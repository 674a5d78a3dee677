// The turn cycle: new games, spawning and the preview, clicks, the resolution of a turn and the
// end of a game.
#include "game/GameField.h"
#include "game/GameModes.h"
#include "game/Random.h"
#include "state/GameState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"

namespace {

constexpr double kAppearTime = 6.75; // a new ball grows in for this long before it is drawn
constexpr double kSettleTime = 7.0;  // new balls settle before their lines are searched

// A multiplier from s = Random(16): 0..11 x3, 12..14 x6, 15 x9.
int MultiplierEntry() {
    const int s = Random(16);
    return s <= 11 ? 19 : s <= 14 ? 20 : 21;
}

// A preview ball by the odds of the mode: r = Random(256), and where the row says so one more
// draw for the colour or the kind.
int PreviewEntry(uint8_t mode) {
    const int r = Random(256);
    switch (mode) {
    case 0: // Kids: plain 1..6, two-colour, rainbow
        if (r <= 200) return 1 + Random(6);
        if (r <= 245) return 8 + Random(3);
        return 11;
    case 1: // Normal
        if (r <= 201) return 1 + Random(6);
        if (r <= 207) return kindEntryBomb;
        if (r <= 222) return 8 + Random(3);
        if (r <= 232) return 11;
        if (r <= 253) return 12 + Random(6);
        return MultiplierEntry();
    default: // Professional: all seven colours
        if (r <= 220) return 1 + Random(7);
        if (r <= 227) return kindEntryBomb;
        if (r <= 240) return 8 + Random(3);
        if (r <= 245) return 11;
        if (r <= 253) return 12 + Random(7);
        return MultiplierEntry();
    }
}

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
    Emit([](IFieldEvents& e) { e.GameStarting(); });
    Clear();
    GameOver = false; // a new game may be asked for while the last one empties
    FinalBoardTimer = 0.0;
    GameState.CurrentMode = mode;
    SpawnBalls(ModeRules[mode].StartBalls, true);
    GameState.Score = 0;
    BallsPerTurn = ModeRules[mode].BallsPerTurn;
    GameCounted = false;
}

void TGameField::SpawnBalls(int32_t count, bool random) {
    const uint8_t mode = GameState.CurrentMode;
    // The room check asks for mode + 3 empty cells whatever the count; a running game never
    // places more than mode + 2, so placing below always finds a cell.
    if (!HasFreeCells(static_cast<uint8_t>(mode + 3))) {
        GameOver = true;
        FinalBoardTimer = kFinalBoardTime;
        Emit([](IFieldEvents& e) { e.GameOver(); });
        TurnTimer = kTurnGameOver;
        return;
    }
    std::vector<TFieldBall> placed;
    for (int32_t i = 0; i < count && FreeCellCount() > 0; ++i) {
        int x = 0, y = 0;
        do {
            x = Random(MaxX + 1);
            y = Random(MaxY + 1);
        } while (Cells(x, y).Kind != 0);
        const TCell ball = random ? BallKinds[1 + static_cast<size_t>(Random(mode == 0 ? 7 : 6))]
                                  : Preview[static_cast<size_t>(i % 5)];
        Cells(x, y) = ball;
        AppearTimers(x, y) = kAppearTime;
        placed.push_back(BallAt(x, y));
    }
    Emit([&](IFieldEvents& e) { e.BallsSpawned(placed); });
    for (TCell& next : Preview) next = BallKinds[static_cast<size_t>(PreviewEntry(mode))];
    TurnTimer = kSettleTime;
    Moving = false;
}

void TGameField::Click(int32_t pointerX, int32_t pointerY, int32_t button) {
    if (TurnTimer > 0) return; // a turn is being resolved
    if (button != 0) {
        Selected = false;
        SelX = SelY = kNoSelection;
        PathGrid.Fill(0.0f);
        Emit([](IFieldEvents& e) { e.SelectionCancelled(); });
        return;
    }
    const int x = CellColumn(pointerX);
    const int y = CellRow(pointerY);
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
        for (int i = TargetX - 1; i <= TargetX + 1; ++i)
            for (int j = TargetY - 1; j <= TargetY + 1; ++j)
                if (Inside(i, j) && !(i == TargetX && j == TargetY) && Cells(i, j).Kind != 0)
                    Cells(i, j) = BallKinds[PaintColour];
        PaintColour = 0;
    }

    // New or repainted balls may have made a line: scored with the chain as it stands.
    if (!Moving) ClearMatches();

    if (Moving) {
        GameState.GameTouched = true;
        if (!GameCounted && Stats) Stats->GameStarted(GameState.CurrentMode);
        GameCounted = true;
        Cells(TargetX, TargetY) = Cells(SelX, SelY);
        Emit([&](IFieldEvents& e) { e.BallLanded(BallAt(TargetX, TargetY)); });
        Cells(SelX, SelY).Kind = 0;

        const bool painted = ApplyPaintBall(TargetX, TargetY, Cells(TargetX, TargetY).Kind);
        const bool bombed = ExplodeBomb(TargetX, TargetY, Cells(TargetX, TargetY).Kind);
        // A bomb that found nothing to destroy is a bomb again.
        for (int x = 0; x <= MaxX; ++x)
            for (int y = 0; y <= MaxY; ++y)
                if (Cells(x, y).Kind == kindDetonating) Cells(x, y).Kind = kindBomb;

        if (ClearMatches() > 0) {
            ++ChainCount;
        } else {
            // A move that fires a paint ball or a bomb brings no new balls.
            if (!painted && !bombed) {
                DrawSpawnState();
                SpawnBalls(BallsPerTurn, false);
            }
            BallsPerTurn = BallsPerTurnFor(GameState.CurrentMode, FreeCellCount());
            ChainCount = 0;
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
    if (Stats) Stats->GameFinished(GameState.CurrentMode, GameState.Score);
    GameState.FinalScore = GameState.Score;
    Clear();
    GameState.GameTouched = false;
    InsertHighScore();
    GameState.Score = 0;
    Emit([](IFieldEvents& e) { e.GameEnded(); });
    Tables.HighScorePage = GameState.CurrentMode;
    Tables.StatisticsShown = false; // the mode's table, whatever page an earlier visit left open
    Shell.ReturnState = scrMenu;
}

// --- Undo and the move's figures -----------------------------------------------------------------

void TGameField::RecordMove() {
    moveOpen_ = true;
    moveStartScore_ = GameState.Score;
    moveLines_ = 0;
    const uint8_t mode = GameState.CurrentMode;
    const size_t depth = mode < kUndoDepth.size() ? kUndoDepth[mode] : 0;
    if (depth == 0) return;
    TFieldSnapshot s;
    s.Cells.reserve(static_cast<size_t>((MaxX + 1) * (MaxY + 1)));
    for (int x = 0; x <= MaxX; ++x)
        for (int y = 0; y <= MaxY; ++y) s.Cells.push_back(Cells(x, y));
    s.Preview = Preview;
    s.Score = GameState.Score;
    s.ChainCount = ChainCount;
    s.BallsPerTurn = BallsPerTurn;
    s.GameTouched = GameState.GameTouched;
    if (Stats && mode < Stats->Modes.size()) s.Stats = Stats->Modes[mode];
    History.Push(std::move(s), depth);
}

// Called right before a move's new balls are drawn: after an undo the generator goes back to the
// state the undone move drew from; the state used is kept with the move's snapshot.
void TGameField::DrawSpawnState() {
    uint64_t state = 0;
    if (History.TakeReplayState(state)) SetRandState(state);
    if (TFieldSnapshot* last = History.Last()) {
        last->Spawned = true;
        last->SpawnState = RandState();
    }
}

void TGameField::FinishMove() {
    if (!moveOpen_) return;
    moveOpen_ = false;
    if (Stats)
        Stats->MoveDone(GameState.CurrentMode, GameState.Score - moveStartScore_, moveLines_,
                        ChainCount);
}

bool TGameField::HasUndo() const {
    const uint8_t mode = GameState.CurrentMode;
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
    GameState.Score = s.Score;
    ChainCount = s.ChainCount;
    BallsPerTurn = s.BallsPerTurn;
    GameState.GameTouched = s.GameTouched;
    Selected = false;
    SelX = SelY = kNoSelection;
    PaintColour = 0;
    Moving = false;
    moveOpen_ = false;
    if (Stats && GameState.CurrentMode < Stats->Modes.size()) {
        // Games played and play time are not the move's: they stay.
        TModeStatistics& m = Stats->Modes[GameState.CurrentMode];
        TModeStatistics back = s.Stats;
        back.GamesPlayed = m.GamesPlayed;
        back.PlaySeconds = m.PlaySeconds;
        m = back;
    }
    Emit([](IFieldEvents& e) { e.MoveUndone(); });
    return true;
}
