#pragma once
// The moments that land: a cleared line flashes and bursts into sparks of its balls' colours; a
// chain shows its length in a callout near the line; a line of seven or more and a bomb going
// off shake the field and send a ring out. The bigger the move (a longer line, a multiplier, a
// longer chain), the more and faster the sparks, the larger its points, and from one step up a
// ring, from two a shake that grows with it. Everything runs on game time (the particle engine's
// updates and Advance), so it plays at the same speed at any frame rate. With reduced motion
// only the chain's callout shows, still, fading out.
#include "game/FieldEvents.h"

#include <cstddef>
#include <cstdint>

class TFieldPayoff final : public IFieldEvents {
public:
    void GameStarting() override;
    void LineCleared(const TLineClear& clear) override;
    void BlastEnded(const TFieldBall& bomb, int victims) override;
    void MoveUndone() override;

    // The shake's clock, by the frame's delta (units).
    void Advance(double delta);
    // Where the field is drawn this frame, in picture pixels off its place.
    int ShakeX() const;
    int ShakeY() const;
    bool Shaking() const { return shakeLeft_ > 0; }

    // The chain's length a clear shows (2 for the second line-making move in a row), 0 for none.
    static int ChainLength(const TLineClear& clear);
    // Lines of this many balls and more make a big moment.
    static constexpr size_t kBigLine = 7;
    // How far a clear stands above a plain line of five, in steps: a ball more in the line, a
    // multiplier's x3, x6, x9 (one, two, three) and each move of a chain past the first.
    static int Steps(const TLineClear& clear);
    // The size its points float up at, in percent: 100 for a plain five, up to 170.
    static uint16_t PointsScale(const TLineClear& clear);
    // Sparks each removed ball throws.
    static int SparksPerBall(const TLineClear& clear);

private:
    void Shake(double amplitude);
    void BigMoment(float x, float y, uint32_t colour);
    uint32_t NextRandom();

    double shakeLeft_ = 0.0; // units
    double shakeAge_ = 0.0;
    double amplitude_ = 0.0;
    uint32_t random_ = 0x2545F491u; // the sparks' own, so that they touch no other generator
};
