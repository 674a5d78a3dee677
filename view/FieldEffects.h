#pragma once
// The field's particle effects: balls popping in and out, the floating points of a line, the
// paint splashes, the debris and flash of a bomb, the idle sparkles (the global ParticleEngine;
// nothing while there is none). Before the rules change a cell, the effects still running there are
// removed.
#include "game/FieldEvents.h"

class TFieldEffects final : public IFieldEvents {
public:
    void GameStarting() override;
    void BallsSpawned(const std::vector<TFieldBall>& balls) override;
    void GameOver() override;
    void BallEmptied(const TFieldBall& ball) override;
    void GameEnded(const TGameEnd& end) override;
    void BallPicked(const TFieldBall& ball, bool selected, bool armed) override;
    void LineCleared(const TLineClear& clear) override;
    void PaintBallArrived(const TFieldBall& ball, uint8_t colour,
                          const std::vector<TFieldBall>& neighbours) override;
    void PaintBallFired(const TFieldBall& ball) override;
    void BlastReached(int x, int y) override;
    void BallBlasted(const TFieldBall& ball, float vx, float vy) override;
    void BlastEnded(const TFieldBall& bomb, int victims) override;
    void MoveUndone() override;
    void BallSparkled(const TFieldBall& ball, int sparkle) override;
};
