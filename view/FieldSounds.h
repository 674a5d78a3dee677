#pragma once
// The field's sounds: its events played through the sound bank (the global SoundBank; silent
// while there is none).
#include "game/FieldEvents.h"

class TFieldSounds final : public IFieldEvents {
public:
    void BallsSpawned(const std::vector<TFieldBall>& balls) override;
    void CellPressed(int x, int y) override;
    void SelectionCancelled() override;
    void BallPicked(const TFieldBall& ball, bool selected, bool armed) override;
    void MoveStarted(const TFieldBall& ball, int toX, int toY, int length) override;
    void CornerTurned() override;
    void TurnClockExpired() override;
    void BallLanded(const TFieldBall& ball) override;
    void LineCleared(const TLineClear& clear) override;
    void PaintBallFired(const TFieldBall& ball) override;
    void BlastStarted(const TFieldBall& bomb) override;
    void BallBlasted(const TFieldBall& ball, float vx, float vy) override;
    void BlastEnded(const TFieldBall& bomb, int victims) override;
    void SelectionBeat(const TFieldBall& ball, int variant) override;
    void BallHovered(const TFieldBall& ball, bool bomb) override;
    void MoveUndone() override;
};
