#include "view/FieldSounds.h"

#include "fx/SoundBank.h"
#include "view/FieldPayoff.h"

namespace {

// The tables of sounds by picture hold the 22 ball pictures (0..21); entry 22 is the bomb's own.
constexpr uint32_t kPictureSoundCount = 22;
constexpr int kBombEntry = 22;
// Pictures 21 (the bomb) and up have no selection sounds: a selected bomb hums instead.
constexpr uint32_t kSelectionSoundCount = 21;

void Play(uint32_t sample) {
    if (SoundBank) SoundBank->Play(sample);
}
void Play(TSample s) {
    if (SoundBank) SoundBank->Play(s);
}
void Stop(uint32_t sample) {
    if (SoundBank) SoundBank->Stop(sample);
}
// The lit fuse of a selected bomb: selection sounds entry 22, variant a ("sounds/a_bomb.ogg").
void StopFuse() {
    if (SoundBank) SoundBank->Stop(SoundBank->Selection(0, kBombEntry));
}

} // namespace

void TFieldSounds::BallsSpawned(const std::vector<TFieldBall>&) {
    Play(TSample::App);
}

void TFieldSounds::CellPressed(int, int) {
    StopFuse();
}

void TFieldSounds::SelectionCancelled() {
    StopFuse();
}

void TFieldSounds::BallPicked(const TFieldBall&, bool, bool armed) {
    if (!SoundBank) return;
    if (armed) SoundBank->PlayLooping(SoundBank->Selection(0, kBombEntry));
    SoundBank->RestartSelection(); // the bounce's sounds start at full level again
}

void TFieldSounds::MoveStarted(const TFieldBall&, int, int, int) {
    if (SoundBank) SoundBank->PlayLooping(TSample::BallMove);
}

void TFieldSounds::CornerTurned() {
    Play(TSample::Pin);
}

void TFieldSounds::TurnClockExpired() {
    if (SoundBank) SoundBank->Stop(TSample::BallMove);
}

void TFieldSounds::BallLanded(const TFieldBall& ball) {
    if (ball.Picture < kPictureSoundCount && SoundBank)
        Play(SoundBank->ArrivalSound(static_cast<int>(ball.Picture)));
}

// The removal's sound, then a multiplier's sparkle, a chain's rising run and a long line's
// shimmer over it, each growing with the removal.
void TFieldSounds::LineCleared(const TLineClear& clear) {
    if (!SoundBank) return;
    TClearSize size;
    size.Units = static_cast<int32_t>(clear.Points / 10 * clear.Multiplier);
    size.Balls = static_cast<int>(clear.Balls.size());
    size.Multiplier = clear.Multiplier;
    size.Chain = TFieldPayoff::ChainLength(clear);
    size.Big = clear.Balls.size() >= TFieldPayoff::kBigLine;
    SoundBank->PlayLineClear(size);
}

void TFieldSounds::PaintBallFired(const TFieldBall&) {
    if (SoundBank) SoundBank->PlayPaint();
}

// The bank gathers a blast's sounds, set-off bombs included, and plays them as one when the
// outermost blast ends.
void TFieldSounds::BlastStarted(const TFieldBall&) {
    if (SoundBank) SoundBank->BeginBlast();
}

void TFieldSounds::BallBlasted(const TFieldBall& ball, float, float) {
    if (ball.Picture < kPictureSoundCount && SoundBank)
        SoundBank->AddBlastHit(static_cast<int>(ball.Picture));
}

void TFieldSounds::BlastEnded(const TFieldBall&, int victims) {
    if (SoundBank) SoundBank->EndBlast(victims > 0);
}

void TFieldSounds::SelectionBeat(const TFieldBall& ball, int variant) {
    if (ball.Picture < kSelectionSoundCount && SoundBank)
        SoundBank->PlaySelection(variant, static_cast<int>(ball.Picture));
}

void TFieldSounds::BallHovered(const TFieldBall& ball, bool bomb) {
    if (!SoundBank) return;
    if (ball.Picture < kPictureSoundCount)
        Play(SoundBank->HoverSound(static_cast<int>(ball.Picture)));
    if (bomb) Play(SoundBank->HoverSound(kBombEntry));
}

void TFieldSounds::MoveUndone() {
    if (!SoundBank) return;
    SoundBank->Stop(TSample::BallMove);
    StopFuse();
    for (TSample t : {TSample::App, TSample::Disapp, TSample::Disapp2, TSample::Disapp3,
                      TSample::Pin, TSample::Paint, TSample::Multiply})
        SoundBank->Stop(t);
    for (int picture = 0; picture < static_cast<int>(kPictureSoundCount); ++picture) {
        Stop(SoundBank->ArrivalSound(picture));
        Stop(SoundBank->BlastHitSound(picture));
    }
    Stop(SoundBank->BlastSound(kBombEntry));
}
