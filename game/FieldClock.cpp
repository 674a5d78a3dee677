// The field's clocks, advanced once a frame: the travel clock, the timers, the animation phases
// with the sounds that follow them, the travelling ball's turns, the idle sparkles, the emptying of
// a finished game and the turn resolution at the end of the frame.
#include "game/GameField.h"

#include <cmath>

namespace {

int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

constexpr float kBounceCycle = 25.0f; // patterns of the bouncing and hovered balls
constexpr double kFuseCycle = 6.0;    // patterns of the burning fuse
constexpr float kBeatGap = 5.0f;      // the selection sound plays at most this often
constexpr double kHoverQuiet = 10.0;  // a hover sound needs this long since the last one
constexpr double kEmptyingStep = 5.0; // the turn clock after each ball a finished game loses
constexpr int kSparkleKinds = 4;
constexpr uint32_t kPlainPictures = 7; // the plain balls' pictures, 0..6, are the ones that sparkle

} // namespace

void TGameField::Update(double delta, int32_t frameRate, bool sparkles) {
    Advance(delta);
    if (sparkles) SparkleIdleBall(frameRate);
    FinishFrame(delta, frameRate);
}

void TGameField::Advance(double delta) {
    // The travel clock: every positive path element falls by the frame's time.
    for (int x = 0; x <= MaxX; ++x)
        for (int y = 0; y <= MaxY; ++y)
            if (PathGrid(x, y) > 0) PathGrid(x, y) -= static_cast<float>(delta);

    for (int x = 0; x <= MaxX; ++x)
        for (int y = 0; y <= MaxY; ++y)
            if (AppearTimers(x, y) > 0) AppearTimers(x, y) -= delta;
    if (TurnTimer > 0) TurnTimer -= delta;

    // The selection sound follows the bounce: at least 5 units apart and only when the rounded
    // phase is a multiple of 5; variants a, b, c, d in turn.
    BouncePhase += static_cast<float>(delta);
    SelSoundClock += static_cast<float>(delta);
    if (Selected && SelSoundClock >= kBeatGap && RoundEven(BouncePhase) % 5 == 0) {
        SelSoundClock = 0.0f;
        SelSoundStep = static_cast<uint8_t>(SelSoundStep + 1);
        if (SelSoundStep >= 4) SelSoundStep = 0;
        const TFieldBall ball = BallAt(SelX, SelY);
        const int variant = SelSoundStep;
        Emit([&](IFieldEvents& e) { e.SelectionBeat(ball, variant); });
    }
    if (BouncePhase > kBounceCycle) BouncePhase -= kBounceCycle;
    FusePhase += delta;
    if (FusePhase > kFuseCycle) FusePhase -= kFuseCycle;

    // The hovered ball sounds after a quiet spell, unless it is the move's target or the ball
    // that sounded last.
    if (HoverX != kNoHover && Inside(HoverX, HoverY)) {
        const int x = HoverX, y = HoverY;
        const TCell& cell = Cells(x, y);
        if (cell.Kind != 0 && AppearTimers(x, y) <= 0 && !(x == SelX && y == SelY)) {
            HoverSoundTimer += delta;
            const bool isTarget = x == TargetX && y == TargetY;
            const bool isLast = x == LastHoverX && y == LastHoverY;
            if (!isTarget && !isLast && HoverSoundTimer > kHoverQuiet) {
                const bool bomb = cell.Kind == kindBomb;
                Emit([&](IFieldEvents& e) { e.BallHovered(BallAt(x, y), bomb); });
                LastHoverX = static_cast<uint8_t>(x);
                LastHoverY = static_cast<uint8_t>(y);
                HoverSoundTimer = 0;
            }
        }
    }

    TurnTravellingBall();
}

// PathGrid holds the chosen path as a travel clock: cell k of the path holds k + 1 - t after t
// units. The ball is in the cell whose value rounds to 1 and moves toward the neighbour that
// rounds to 2, one cell per unit. Every change of direction is a turn: the first step, each
// corner and the settling, where no neighbour rounds to 2 and the direction falls back to (0, 0).
void TGameField::TurnTravellingBall() {
    if (Selected) return;
    for (int x = 0; x <= MaxX; ++x) {
        for (int y = 0; y <= MaxY; ++y) {
            if (RoundEven(PathGrid(x, y)) != 1) continue;
            const int16_t oldX = TravelDirX, oldY = TravelDirY;
            auto next = [&](int i, int j) {
                return Inside(i, j) && RoundEven(PathGrid(i, j)) == 2;
            };
            TravelDirX = static_cast<int16_t>(next(x + 1, y) ? 1 : next(x - 1, y) ? -1 : 0);
            TravelDirY = static_cast<int16_t>(next(x, y + 1) ? 1 : next(x, y - 1) ? -1 : 0);
            if (TravelDirX != oldX || TravelDirY != oldY)
                Emit([](IFieldEvents& e) { e.CornerTurned(); });
        }
    }
}

void TGameField::FinishFrame(double delta, int32_t frameRate) {
    // A finished game first stands still for a beat (the shell dims it and says why), then
    // empties.
    if (GameOver && FinalBoardTimer > 0)
        FinalBoardTimer -= delta;
    else if (GameOver && (*Context.Decor)(frameRate) < 100 && HasBalls())
        EmptyOneBall();
    ResolveTurn();
}

// The end of a game: one random ball goes per frame; 5 units after the last one the turn
// resolution ends the game. The balls are drawn from the decoration's generator, which the
// frames advance: the game's own generator never depends on the frame rate.
void TGameField::EmptyOneBall() {
    TRandomStream& decor = *Context.Decor;
    int x = 0, y = 0;
    do {
        x = decor(MaxX + 1);
        y = decor(MaxY + 1);
    } while (Cells(x, y).Kind == 0);
    const TFieldBall ball = BallAt(x, y);
    Cells(x, y).Kind = 0;
    Emit([&](IFieldEvents& e) { e.BallEmptied(ball); });
    TurnTimer = kEmptyingStep;
}

// About once a second (one frame in the measured frame rate), while nothing is selected and the
// game goes on, a random plain ball sparkles. The draws come from the decoration's generator, so
// that the frames never change the balls.
void TGameField::SparkleIdleBall(int32_t frameRate) {
    TRandomStream& decor = *Context.Decor;
    if (Selected || GameOver || decor(frameRate) != 10) return;
    const int sparkle = decor(kSparkleKinds);
    const int x = decor(MaxX + 1);
    const int y = decor(MaxY + 1);
    if (!Inside(x, y)) return;
    const TCell& cell = Cells(x, y);
    if (cell.Kind == 0 || cell.Picture >= kPlainPictures) return;
    Emit([&](IFieldEvents& e) { e.BallSparkled(BallAt(x, y), sparkle); });
}
