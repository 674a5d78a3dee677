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
// The payoff's own kinds; their ages and lives count in game time units.
constexpr uint8_t pkSpark = 7;   // a tinted spark flying off, falling and fading
constexpr uint8_t pkGlow = 8;    // a tinted glow or ring growing and fading, added to the picture
constexpr uint8_t pkCallout = 9; // a word popping up, rising a little and fading

struct TParticle {
    TPatternImage* Image = nullptr; // kinds 2, 3, 4 (not owned)
    uint8_t Kind = 0;
    uint8_t Layer = 0;
    double Scale = 0.0; // 1/256 for kinds 2, 4, 6; kind 3: the current frame position
    uint16_t Frames = 0;
    uint32_t Colour = 0xFFFFFFFF; // kinds 1 and 6: colour without alpha
    float Age = 0.0f;
    float X = 0.0f, Y = 0.0f;   // picture centre; kind 1: the text's left and top
    float VX = 0.0f, VY = 0.0f; // kind 3: VY is the frame speed; kind 9: the rise over its life
    float Life = 0.0f;
    std::string Text;
    bool Grow = false;
    // Kinds 7..9: the pattern drawn (spark), the peak alpha (glow), the callout's scale in
    // percent, and a callout that stays still.
    int32_t Pattern = 0;
    uint8_t Alpha = 255;
    uint16_t TextScale = 100;
    bool Still = false;
};

class TVOParticleEngine {
public:
    // Debris leaves when it falls to `bottomEdge`, the picture's bottom.
    TVOParticleEngine(TRenderDevice* device, float bottomEdge);

    // Two texts: a grey shadow at (x + 2, y + 2), then the white text; they rise and fade
    // (`still`: they only fade). At another `scale` (percent) than 100 the text grows or shrinks
    // about the middle of its size at 100.
    void AddText(const std::string& text, float x, float y, bool still = false,
                 uint16_t scale = 100);
    // Grow: in from nothing (new balls); otherwise shrinking away (removed balls).
    void AddPop(TPatternImage* image, bool grow, float x, float y);
    // Plays `cycles` rounds of `frames` frames at `speed` frames per time unit.
    void AddAnimation(TPatternImage* image, uint16_t frames, float x, float y, float speed,
                      uint16_t cycles);
    void AddDebris(TPatternImage* image, float x, float y, float vx, float vy);
    void AddFlash(float x, float y);
    // Pattern `pattern` of `image`, centred at (x, y), flying at (vx, vy) pixels a unit and
    // falling at 1.2 pixels a unit squared, shrinking and fading over `life` units; drawn added in
    // `colour` (0xBBGGRR).
    void AddSpark(TPatternImage* image, int pattern, float x, float y, float vx, float vy,
                  uint32_t colour, float life);
    // `image` centred at (x, y) from `scale` (1/256), growing by `growth` a unit, fading from
    // `alpha` to nothing over `life` units; drawn added in `colour` (0xBBGGRR).
    void AddGlow(TPatternImage* image, float x, float y, double scale, float growth,
                 uint32_t colour, uint8_t alpha, float life);
    // `text` centred on x with its top at y at `scale` percent: it pops up over the first tenth
    // of its life, rises `rise` pixels and fades over the last third; in `colour` (0xBBGGRR) over
    // a dark shadow. `still`: it neither pops nor rises, it only fades.
    void AddCallout(const std::string& text, float x, float y, uint16_t scale, uint32_t colour,
                    float life, float rise, bool still = false);

    void Update(double delta);
    void Draw(uint8_t layer);
    void ClearAnimations(); // removes every kind-3 particle
    void Clear();           // removes every particle
    // Removes the particles of kinds 1..6 less than 3 away on both axes (what belongs to a cell's
    // ball; the payoff's own kinds run their course).
    void RemoveAt(float x, float y);

    const std::vector<TParticle>& Particles() const { return particles_; }
    // The alpha a floating text is drawn with: round(255 Life - 255 Age), fading to clear.
    static uint8_t TextAlpha(const TParticle& p);
    // The alpha of the flash's first pass: round(100 Life - 100 Age) div 10.
    static uint8_t FlashAlpha(const TParticle& p);
    // A callout's scale (percent) and alpha at its age.
    static uint16_t CalloutScale(const TParticle& p);
    static uint8_t CalloutAlpha(const TParticle& p);

private:
    TRenderDevice* device_;
    float bottomEdge_;
    std::vector<TParticle> particles_;
    double step_ = 0.0; // the Delta of the previous Update
};

extern TVOParticleEngine* ParticleEngine;

// The pattern phase of debris: the field's BouncePhase, so that thrown balls keep animating.
// Set by whoever creates the field; debris draws pattern 0 while it is null.
extern const float* DebrisPhase;
