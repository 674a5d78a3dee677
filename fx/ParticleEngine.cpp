#include "fx/ParticleEngine.h"

#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "ui/VOFont.h"

#include <algorithm>
#include <cmath>

TVOParticleEngine* ParticleEngine = nullptr;
const float* DebrisPhase = nullptr;

namespace {

constexpr int32_t kUpright = 64;    // angle in 1/256 turn
constexpr int32_t kFlashAngle = 90; // the flash is drawn turned a little
constexpr int32_t kNaturalSize = 256;
constexpr uint32_t kFlashGlow = 0x110066FF; // second, orange pass of the flash
// Growth of the flash in scale units (1/256) per time unit: over its 1.5 units it widens from
// half to about 1.25 times the explosion picture's size, at any frame rate.
constexpr double kFlashGrowth = 128.0;
constexpr double kSparkFall = 1.2; // pixels a unit squared
// Light added to the picture as far as the texture's alpha times the colour's alpha reach.
constexpr uint32_t kAdded = fxAddAlpha | fxfDiffuseAlpha;
constexpr uint32_t kCalloutShadow = 0x2A0A14; // 0xBBGGRR: a deep violet under the words

// Round to nearest, halves to even (the current rounding mode is never changed).
int32_t RoundEven(double v) {
    return static_cast<int32_t>(std::nearbyint(v));
}

// Moves `p` on by `d` units; true when it is done. Debris is done at `bottomEdge`.
bool Step(TParticle& p, double d, float bottomEdge) {
    switch (p.Kind) {
    case pkText:
        p.X += static_cast<float>(p.VX * d / 10);
        p.Y += static_cast<float>(p.VY * d / 10);
        p.Age += static_cast<float>(d / 30);
        return p.Age >= p.Life;
    case pkPop:
        p.Scale += p.Grow ? 40 * d : -40 * d;
        p.Age += static_cast<float>(d / 30);
        return p.Age >= p.Life;
    case pkAnimation:
        p.Scale += d * p.VY;
        if (p.Scale > p.Frames) p.Scale -= p.Frames;
        p.Age += static_cast<float>(d);
        return p.Age >= p.Life;
    case pkDebris:
        p.X += static_cast<float>(p.VX * d);
        p.Y += static_cast<float>(p.VY * d);
        p.VY += static_cast<float>(5 * d);
        p.Age += static_cast<float>(d / 30);
        return p.Y >= bottomEdge;
    case pkFlash:
        p.X += static_cast<float>(p.VX * d / 10);
        p.Y += static_cast<float>(p.VY * d / 10);
        p.Age += static_cast<float>(d / 30);
        p.Scale += kFlashGrowth * d;
        return p.Age >= p.Life;
    case pkSpark:
        // The fall integrated over the step: the same path at any frame rate.
        p.X += static_cast<float>(p.VX * d);
        p.Y += static_cast<float>(p.VY * d + kSparkFall * d * d / 2);
        p.VY += static_cast<float>(kSparkFall * d);
        p.Age += static_cast<float>(d);
        return p.Age >= p.Life;
    case pkGlow:
        p.Scale += p.VX * d;
        p.Age += static_cast<float>(d);
        return p.Age >= p.Life;
    case pkCallout:
        if (!p.Still) p.Y -= static_cast<float>(p.VY * d / p.Life);
        p.Age += static_cast<float>(d);
        return p.Age >= p.Life;
    default:
        return false;
    }
}

} // namespace

TVOParticleEngine::TVOParticleEngine(TRenderDevice* device, float bottomEdge)
    : device_(device), bottomEdge_(bottomEdge) {}

uint8_t TVOParticleEngine::TextAlpha(const TParticle& p) {
    const double alpha = 255.0 * p.Life - 255.0 * p.Age;
    return static_cast<uint8_t>(std::clamp(RoundEven(alpha), 0, 255));
}

uint8_t TVOParticleEngine::FlashAlpha(const TParticle& p) {
    const int32_t alpha = RoundEven(100.0 * p.Life - 100.0 * p.Age) / 10;
    return static_cast<uint8_t>(std::clamp(alpha, 0, 255));
}

uint16_t TVOParticleEngine::CalloutScale(const TParticle& p) {
    if (p.Still || p.Life <= 0) return p.TextScale;
    // Up from 60 % to 115 % over the first tenth of its life, settling at 100 % by the fifth.
    const double t = p.Age / p.Life;
    double k = 1.0;
    if (t < 0.1)
        k = 0.6 + 0.55 * t / 0.1;
    else if (t < 0.2)
        k = 1.15 - 0.15 * (t - 0.1) / 0.1;
    return static_cast<uint16_t>(RoundEven(p.TextScale * k));
}

uint8_t TVOParticleEngine::CalloutAlpha(const TParticle& p) {
    if (p.Life <= 0) return 0;
    const double left = (p.Life - p.Age) / p.Life; // 1 .. 0
    const double a = left >= 1.0 / 3 ? 1.0 : left * 3;
    return static_cast<uint8_t>(std::clamp(RoundEven(255 * a), 0, 255));
}

void TVOParticleEngine::AddSpark(TPatternImage* image, int pattern, float x, float y, float vx,
                                 float vy, uint32_t colour, float life) {
    TParticle p;
    p.Kind = pkSpark;
    p.Image = image;
    p.Pattern = pattern;
    p.X = x;
    p.Y = y;
    p.VX = vx;
    p.VY = vy;
    p.Colour = colour & 0xFFFFFF;
    p.Scale = kNaturalSize;
    p.Life = life;
    particles_.push_back(std::move(p));
}

void TVOParticleEngine::AddGlow(TPatternImage* image, float x, float y, double scale, float growth,
                                uint32_t colour, uint8_t alpha, float life) {
    TParticle p;
    p.Kind = pkGlow;
    p.Image = image;
    p.X = x;
    p.Y = y;
    p.Scale = scale;
    p.VX = growth;
    p.Colour = colour & 0xFFFFFF;
    p.Alpha = alpha;
    p.Life = life;
    particles_.push_back(std::move(p));
}

void TVOParticleEngine::AddCallout(const std::string& text, float x, float y, uint16_t scale,
                                   uint32_t colour, float life, float rise, bool still) {
    TParticle p;
    p.Kind = pkCallout;
    p.VY = rise;
    p.Text = text;
    p.X = x;
    p.Y = y;
    p.TextScale = scale;
    p.Colour = colour & 0xFFFFFF;
    p.Life = life;
    p.Still = still;
    particles_.push_back(std::move(p));
}

void TVOParticleEngine::AddText(const std::string& text, float x, float y, bool still,
                                uint16_t scale) {
    for (const auto& [dx, colour] : {std::pair{2.0f, 0x888888u}, std::pair{0.0f, 0xFFFFFFu}}) {
        TParticle p;
        p.Kind = pkText;
        p.Text = text;
        p.X = x + dx;
        p.Y = y + dx;
        p.Colour = colour;
        p.VY = still ? 0.0f : -20.0f;
        p.Life = 1.0f;
        p.TextScale = scale;
        particles_.push_back(std::move(p));
    }
}

void TVOParticleEngine::AddPop(TPatternImage* image, bool grow, float x, float y) {
    TParticle p;
    p.Kind = pkPop;
    p.Image = image;
    p.Grow = grow;
    p.X = x;
    p.Y = y;
    p.Scale = grow ? 0.0 : kNaturalSize;
    p.Life = grow ? 0.24f : 0.23f;
    particles_.push_back(std::move(p));
}

void TVOParticleEngine::AddAnimation(TPatternImage* image, uint16_t frames, float x, float y,
                                     float speed, uint16_t cycles) {
    if (!(speed > 0.0f)) return; // a still animation would never end
    TParticle p;
    p.Kind = pkAnimation;
    p.Image = image;
    p.Frames = frames;
    p.X = x;
    p.Y = y;
    p.VY = speed;
    p.Life = static_cast<float>(frames) * static_cast<float>(cycles) / speed;
    particles_.push_back(std::move(p));
}

void TVOParticleEngine::AddDebris(TPatternImage* image, float x, float y, float vx, float vy) {
    TParticle p;
    p.Kind = pkDebris;
    p.Image = image;
    p.X = x;
    p.Y = y;
    p.VX = vx;
    p.VY = vy;
    p.Scale = kNaturalSize;
    particles_.push_back(std::move(p));
}

void TVOParticleEngine::AddFlash(float x, float y) {
    TParticle p;
    p.Kind = pkFlash;
    p.X = x;
    p.Y = y;
    p.Scale = 128.0;
    p.Colour = 0xFFFFFF;
    p.Life = 0.05f;
    particles_.push_back(std::move(p));
}

void TVOParticleEngine::Update(double delta) {
    // One pass that steps every particle and closes the gaps of the removed ones in order.
    size_t kept = 0;
    for (size_t i = 0; i < particles_.size(); ++i) {
        if (Step(particles_[i], step_, bottomEdge_)) continue;
        if (kept != i) particles_[kept] = std::move(particles_[i]);
        ++kept;
    }
    particles_.resize(kept);
    step_ = delta;
}

void TVOParticleEngine::Draw(uint8_t layer) {
    for (const TParticle& p : particles_) {
        if (p.Layer != layer) continue;
        const auto x = static_cast<int32_t>(p.X);
        const auto y = static_cast<int32_t>(p.Y);
        switch (p.Kind) {
        case pkText: {
            if (!Font) break;
            const uint32_t colour = (p.Colour & 0xFFFFFF) | uint32_t{TextAlpha(p)} << 24;
            if (p.TextScale == 100) {
                Font->DrawText(p.Text, static_cast<uint16_t>(x), static_cast<uint16_t>(y), colour);
                break;
            }
            const int32_t grow = Font->ScaledHeight(p.TextScale) - Font->ScaledHeight(100);
            Font->DrawTextScaled(
                p.Text, static_cast<uint16_t>(x + Font->TextWidth(p.Text, 100) / 2),
                static_cast<uint16_t>(std::max(0, y - grow / 2)), p.TextScale, colour);
            break;
        }
        case pkPop:
            // A shrinking ball passes scale 0 just before it goes; it is not drawn mirrored.
            if (device_ && p.Scale >= 1.0)
                device_->DrawRotated(p.Image, x, y, kUpright, static_cast<int32_t>(p.Scale), 0,
                                     fxBlend);
            break;
        case pkAnimation:
            if (device_)
                device_->DrawRotated(p.Image, x, y, kUpright, kNaturalSize,
                                     static_cast<int32_t>(p.Scale), fxBlend);
            break;
        case pkDebris:
            if (device_)
                device_->DrawRotated(p.Image, x, y, kUpright, static_cast<int32_t>(p.Scale),
                                     DebrisPhase ? static_cast<int32_t>(*DebrisPhase) : 0, fxBlend);
            break;
        case pkFlash: {
            if (!device_) break;
            const int32_t cx = RoundEven(p.X), cy = RoundEven(p.Y), scale = RoundEven(p.Scale);
            device_->DrawRotatedCol(Pictures.Explosion, cx, cy, kFlashAngle, scale,
                                    (p.Colour & 0xFFFFFF) | uint32_t{FlashAlpha(p)} << 24, 0,
                                    fxAdd);
            if (p.Age < 1.0f)
                device_->DrawRotatedCol(Pictures.Explosion, cx, cy, kFlashAngle, scale, kFlashGlow,
                                        0, fxAdd);
            break;
        }
        case pkSpark: {
            if (!device_ || p.Life <= 0) break;
            const double left = 1.0 - p.Age / p.Life;
            const auto alpha = static_cast<uint32_t>(std::clamp(RoundEven(255 * left), 0, 255));
            const int32_t scale = RoundEven(kNaturalSize * (0.45 + 0.55 * left));
            device_->DrawRotatedCol(p.Image, RoundEven(p.X), RoundEven(p.Y), kUpright, scale,
                                    p.Colour | alpha << 24, p.Pattern, kAdded);
            break;
        }
        case pkGlow: {
            if (!device_ || p.Life <= 0) break;
            const double left = 1.0 - p.Age / p.Life;
            const auto alpha = static_cast<uint32_t>(std::clamp(RoundEven(p.Alpha * left), 0, 255));
            device_->DrawRotatedCol(p.Image, RoundEven(p.X), RoundEven(p.Y), kUpright,
                                    RoundEven(p.Scale), p.Colour | alpha << 24, 0, kAdded);
            break;
        }
        case pkCallout: {
            if (!Font) break;
            const uint16_t scale = CalloutScale(p);
            const uint32_t alpha = CalloutAlpha(p);
            const auto cx = static_cast<uint16_t>(RoundEven(p.X));
            const auto top = static_cast<uint16_t>(RoundEven(p.Y));
            // The words are centred on their middle as they pop, not on their top.
            const int lift = (scale - p.TextScale) * Font->GlyphHeight / 200;
            Font->DrawTextScaled(p.Text, static_cast<uint16_t>(cx + 2),
                                 static_cast<uint16_t>(top - lift + 2), scale,
                                 kCalloutShadow | alpha << 24);
            Font->DrawTextScaled(p.Text, cx, static_cast<uint16_t>(top - lift), scale,
                                 p.Colour | alpha << 24);
            break;
        }
        default:
            break;
        }
    }
}

void TVOParticleEngine::ClearAnimations() {
    std::erase_if(particles_, [](const TParticle& p) { return p.Kind == pkAnimation; });
}

void TVOParticleEngine::Clear() {
    particles_.clear();
}

void TVOParticleEngine::RemoveAt(float x, float y) {
    std::erase_if(particles_, [x, y](const TParticle& p) {
        return p.Kind < pkSpark && std::fabs(p.X - x) < 3.0f && std::fabs(p.Y - y) < 3.0f;
    });
}
