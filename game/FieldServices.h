#pragma once
// The field's access to the effects, sounds, pictures and the device through their global
// references. Each of them may be absent (before loading, in tests of the bare rules); the field
// then simply goes without.
#include "fx/ParticleEngine.h"
#include "fx/SoundBank.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"
#include "state/Pictures.h"

#include <cstdint>
#include <string>

namespace field_fx {

inline TPatternImage* BallPicture(uint32_t picture) {
    return picture < Pictures.Ball.size() ? Pictures.Ball[picture] : nullptr;
}
inline TPatternImage* BouncePicture(uint32_t picture) {
    return picture < Pictures.Bounce.size() ? Pictures.Bounce[picture] : nullptr;
}

// Pattern width and height of a ball picture halved toward zero: a ball is drawn centred at
// (303 + 52x + w/2, 31 + 52y + h/2), the cell centre for a 40 x 40 ball.
inline int HalfWidth(const TPatternImage* image) {
    return image ? image->PatternWidth / 2 : 20;
}
inline int HalfHeight(const TPatternImage* image) {
    return image ? image->PatternHeight / 2 : 20;
}

inline void Play(uint32_t sample) {
    if (SoundBank) SoundBank->Play(sample);
}
inline void Play(TSample s) {
    if (SoundBank) SoundBank->Play(s);
}
inline void PlayLooping(uint32_t sample) {
    if (SoundBank) SoundBank->PlayLooping(sample);
}
inline void PlayLooping(TSample s) {
    if (SoundBank) SoundBank->PlayLooping(s);
}
inline void Stop(uint32_t sample) {
    if (SoundBank) SoundBank->Stop(sample);
}
inline void Stop(TSample s) {
    if (SoundBank) SoundBank->Stop(s);
}
// The selected-bomb loop: selection sounds entry 22, variant a ("sounds/a_bomb.ogg").
inline uint32_t BombLoop() {
    return SoundBank ? SoundBank->Selection(0, 22) : 0;
}

inline void RemoveAt(float x, float y) {
    if (ParticleEngine) ParticleEngine->RemoveAt(x, y);
}
inline void ClearAnimations() {
    if (ParticleEngine) ParticleEngine->ClearAnimations();
}
inline void AddPop(TPatternImage* image, bool grow, float x, float y) {
    if (ParticleEngine) ParticleEngine->AddPop(image, grow, x, y);
}
inline void AddText(const std::string& text, float x, float y) {
    if (ParticleEngine) ParticleEngine->AddText(text, x, y);
}
inline void AddAnimation(TPatternImage* image, uint16_t frames, float x, float y, float speed,
                         uint16_t cycles) {
    if (ParticleEngine) ParticleEngine->AddAnimation(image, frames, x, y, speed, cycles);
}

} // namespace field_fx
