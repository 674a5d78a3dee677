#include "view/FieldEffects.h"

#include "fx/ParticleEngine.h"
#include "state/OptionsState.h"
#include "view/FieldPayoff.h"
#include "view/FieldPlaces.h"

#include <string>

using namespace places;

namespace {

constexpr uint16_t kSplashFrames = 18;
constexpr float kSplashSpeed = 2.0f; // frames per unit

// The four idle sparkles: picture set (0..3 = %d_2 .. %d_5), frames, repetitions, and how far
// below the cell centre they are centred.
struct TSparkle {
    int Set;
    uint16_t Frames;
    uint16_t Cycles;
    int Drop;
};
constexpr TSparkle kSparkles[4] = {{0, 36, 2, 0}, {2, 54, 1, 1}, {1, 44, 3, 0}, {3, 2, 20, 0}};

// The effects at the centre of cell (x, y); a press or a line also clears those a pixel lower.
void RemoveAtCell(int x, int y) {
    ParticleEngine->RemoveAt(CentreX(x), CentreY(y));
}
void RemoveAtCellAndBelow(int x, int y) {
    ParticleEngine->RemoveAt(CentreX(x), CentreY(y) + 1.0f);
    ParticleEngine->RemoveAt(CentreX(x), CentreY(y));
}

} // namespace

void TFieldEffects::GameStarting() {
    if (ParticleEngine) ParticleEngine->ClearAnimations();
}

void TFieldEffects::BallsSpawned(const std::vector<TFieldBall>& balls) {
    if (!ParticleEngine) return;
    for (const TFieldBall& b : balls)
        ParticleEngine->AddPop(BallPicture(b.Picture), true, CentreX(b.X), CentreY(b.Y));
}

void TFieldEffects::GameOver() {
    if (ParticleEngine) ParticleEngine->ClearAnimations();
}

void TFieldEffects::BallEmptied(const TFieldBall& ball) {
    if (ParticleEngine)
        ParticleEngine->AddPop(BallPicture(ball.Picture), false, CentreX(ball.X), CentreY(ball.Y));
}

void TFieldEffects::GameEnded(const TGameEnd&) {
    if (ParticleEngine) ParticleEngine->ClearAnimations();
}

void TFieldEffects::BallPicked(const TFieldBall& ball, bool, bool) {
    if (ParticleEngine) RemoveAtCellAndBelow(ball.X, ball.Y);
}

void TFieldEffects::LineCleared(const TLineClear& clear) {
    if (!ParticleEngine) return;
    for (const TFieldBall& b : clear.Balls) {
        RemoveAtCellAndBelow(b.X, b.Y);
        ParticleEngine->AddPop(BallPicture(b.Picture), false, BurstX(b.X), BurstY(b.Y));
    }
    std::string text = std::string("+").append(std::to_string(clear.Points));
    if (clear.Multiplier > 1) text.append("x").append(std::to_string(clear.Multiplier));
    const bool still = Options.ReducedMotion;
    // A bigger move's points float up larger.
    const uint16_t scale = TFieldPayoff::PointsScale(clear);
    ParticleEngine->AddText(text, static_cast<float>(kLineTextLeft + kCellPitch * clear.CentreX),
                            static_cast<float>(kLineTextTop + kLineTextRowPitch * clear.CentreY),
                            still, scale);
    if (clear.ChainBonus > 0)
        ParticleEngine->AddText(
            std::string("+").append(std::to_string(clear.ChainBonus)).append(" Chain Bonus"),
            static_cast<float>(kChainTextLeft + kCellPitch * clear.CentreX),
            static_cast<float>(kChainTextTop + kLineTextRowPitch * clear.CentreY), still, scale);
}

void TFieldEffects::PaintBallArrived(const TFieldBall& ball, uint8_t colour,
                                     const std::vector<TFieldBall>& neighbours) {
    if (!ParticleEngine) return;
    ParticleEngine->ClearAnimations();
    RemoveAtCell(ball.X, ball.Y);
    TPatternImage* splash =
        colour >= 1 && colour <= Pictures.Paint.size() ? Pictures.Paint[colour - 1u] : nullptr;
    for (const TFieldBall& n : neighbours) {
        RemoveAtCell(n.X, n.Y);
        ParticleEngine->AddAnimation(splash, kSplashFrames, CentreX(n.X), CentreY(n.Y),
                                     kSplashSpeed, 1);
    }
}

void TFieldEffects::PaintBallFired(const TFieldBall& ball) {
    if (ParticleEngine)
        ParticleEngine->AddPop(BallPicture(ball.Picture), false, BurstX(ball.X), BurstY(ball.Y));
}

void TFieldEffects::BlastReached(int x, int y) {
    if (ParticleEngine) RemoveAtCell(x, y);
}

// With reduced motion a blasted ball shrinks away where it stood instead of flying off, and the
// blast does not flash.
void TFieldEffects::BallBlasted(const TFieldBall& ball, float vx, float vy) {
    if (!ParticleEngine) return;
    if (Options.ReducedMotion)
        ParticleEngine->AddPop(BallPicture(ball.Picture), false, BurstX(ball.X), BurstY(ball.Y));
    else
        ParticleEngine->AddDebris(BallPicture(ball.Picture), BurstX(ball.X), BurstY(ball.Y), vx,
                                  vy);
}

void TFieldEffects::BlastEnded(const TFieldBall& bomb, int victims) {
    if (!ParticleEngine || victims == 0) return;
    ParticleEngine->AddPop(BallPicture(bomb.Picture), false, BurstX(bomb.X), BurstY(bomb.Y));
    if (!Options.ReducedMotion) ParticleEngine->AddFlash(BurstX(bomb.X), BurstY(bomb.Y));
}

void TFieldEffects::MoveUndone() {
    if (ParticleEngine) ParticleEngine->Clear();
}

void TFieldEffects::BallSparkled(const TFieldBall& ball, int sparkle) {
    if (!ParticleEngine || sparkle < 0 || sparkle >= 4 ||
        ball.Picture >= Pictures.Sparkle[0].size())
        return;
    const TSparkle& s = kSparkles[sparkle];
    ParticleEngine->AddAnimation(Pictures.Sparkle[static_cast<size_t>(s.Set)][ball.Picture],
                                 s.Frames, CentreX(ball.X), CentreY(ball.Y) + s.Drop, 1.0f,
                                 s.Cycles);
}
