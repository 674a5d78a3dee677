#pragma once
// TVOParticleEngine: the short-lived effects of the field: floating score texts, balls popping in
// and out, frame animations on a cell, balls thrown by a bomb and the bomb's flash. Every update
// uses the time step handed to the previous Update (the first uses 0), in game time units.
#include <cstdint>
#include <string>
#include <vector>

class TPatternImage;
class TRenderDevice;

constexpr uint8_t pkText = 1;
constexpr uint8_t pkPop = 2;
constexpr uint8_t pkAnimation = 3;
constexpr uint8_t pkDebris = 4;
constexpr uint8_t pkFlash = 6;

struct TParticle {
    TPatternImage* Image = nullptr; // kinds 2, 3, 4 (not owned)
    uint8_t Kind = 0;
    uint8_t Layer = 0;
    double Scale = 0.0; // 1/256 for kinds 2, 4, 6; kind 3: the current frame position
    uint16_t Frames = 0;
    uint32_t Colour = 0xFFFFFFFF; // kinds 1 and 6: colour without alpha
    float Age = 0.0f;
    float X = 0.0f, Y = 0.0f;   // picture centre; kind 1: the text's left and top
    float VX = 0.0f, VY = 0.0f; // kind 3: VY is the frame speed
    float Life = 0.0f;
    std::string Text;
    bool Grow = false;
};

class TVOParticleEngine {
public:
    explicit TVOParticleEngine(TRenderDevice* device);

    // Two texts: a grey shadow at (x + 2, y + 2), then the white text; they rise and fade.
    void AddText(const std::string& text, float x, float y);
    // Grow: in from nothing (new balls); otherwise shrinking away (removed balls).
    void AddPop(TPatternImage* image, bool grow, float x, float y);
    // Plays `cycles` rounds of `frames` frames at `speed` frames per time unit.
    void AddAnimation(TPatternImage* image, uint16_t frames, float x, float y, float speed,
                      uint16_t cycles);
    void AddDebris(TPatternImage* image, float x, float y, float vx, float vy);
    void AddFlash(float x, float y);

    void Update(double delta);
    void Draw(uint8_t layer);
    void ClearAnimations();          // removes every kind-3 particle
    void Clear();                    // removes every particle
    void RemoveAt(float x, float y); // removes particles less than 3 away on both axes

    const std::vector<TParticle>& Particles() const { return particles_; }
    // The alpha a floating text is drawn with: round(255 Life - 255 Age), fading to clear.
    static uint8_t TextAlpha(const TParticle& p);
    // The alpha of the flash's first pass: round(100 Life - 100 Age) div 10.
    static uint8_t FlashAlpha(const TParticle& p);

private:
    TRenderDevice* device_;
    std::vector<TParticle> particles_;
    double step_ = 0.0; // the Delta of the previous Update
};

extern TVOParticleEngine* ParticleEngine;

// The pattern phase of debris: the field's BouncePhase, so that thrown balls keep animating.
// Set by whoever creates the field; debris draws pattern 0 while it is null.
extern const float* DebrisPhase;
