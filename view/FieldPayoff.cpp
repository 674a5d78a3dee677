#include "view/FieldPayoff.h"

#include "fx/ParticleEngine.h"
#include "game/BallKinds.h"
#include "render/BallColours.h"
#include "render/Pictures.h"
#include "state/OptionsState.h"
#include "ui/VOStrings.h"
#include "view/FieldPlaces.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <string>
#include <vector>

using namespace places;

namespace {

constexpr double kShakeUnits = 7.0;   // about half a second
constexpr double kShakeCycles = 0.85; // swings a unit
constexpr uint32_t kGold = 0x6ED3FF;  // 0xBBGGRR
constexpr uint32_t kEmber = 0x3A8CFF; // 0xBBGGRR: the orange of a blast

bool Reduced() {
    return Options.ReducedMotion;
}

// 0xRRGGBB to the particles' 0xBBGGRR.
uint32_t Tint(uint32_t rgb) {
    return (rgb & 0x00FF00) | (rgb >> 16 & 0xFF) | (rgb & 0xFF) << 16;
}

// A lighter shade, so that sparks of dark colours still glow.
uint32_t Lit(uint32_t rgb) {
    uint32_t out = 0;
    for (int shift : {0, 8, 16}) {
        const uint32_t c = rgb >> shift & 0xFF;
        out |= (c + (255 - c) * 2 / 5) << shift;
    }
    return out;
}

// The colours a ball picture sparks in (0xRRGGBB): its colour bits, or gold for a ball without
// any (a bomb).
std::vector<uint32_t> SparkColours(uint32_t picture) {
    std::vector<uint32_t> colours;
    if (picture + 1 < static_cast<uint32_t>(kBallKindCount)) {
        const uint32_t bits = BallKinds[picture + 1].Kind & kindColourMask;
        for (size_t c = 0; c < kBallColours.size(); ++c)
            if (bits & (1u << c)) colours.push_back(kBallColours[c]);
    }
    if (colours.empty()) colours.push_back(0xFFD36E);
    return colours;
}

std::string Fill(const std::string& text, const std::string& value) {
    const size_t at = text.find("%s");
    return at == std::string::npos ? text + " " + value
                                   : text.substr(0, at) + value + text.substr(at + 2);
}

} // namespace

uint32_t TFieldPayoff::NextRandom() {
    random_ ^= random_ << 13;
    random_ ^= random_ >> 17;
    random_ ^= random_ << 5;
    return random_;
}

int TFieldPayoff::ChainLength(const TLineClear& clear) {
    if (clear.ChainBonus <= 0 || clear.Points <= 0) return 0;
    return static_cast<int>(clear.ChainBonus / clear.Points) + 1;
}

int TFieldPayoff::Steps(const TLineClear& clear) {
    const int longer = std::max(0, static_cast<int>(clear.Balls.size()) - 5);
    const int factor =
        clear.Multiplier > 1 ? static_cast<int>(std::min(clear.Multiplier, 9u) / 3) : 0;
    const int chain = std::max(0, ChainLength(clear) - 1);
    return longer + factor + chain;
}

uint16_t TFieldPayoff::PointsScale(const TLineClear& clear) {
    return static_cast<uint16_t>(100 + 14 * std::min(Steps(clear), 5));
}

int TFieldPayoff::SparksPerBall(const TLineClear& clear) {
    return 6 + 2 * std::min(Steps(clear), 5);
}

void TFieldPayoff::GameStarting() {
    shakeLeft_ = 0;
}

void TFieldPayoff::MoveUndone() {
    shakeLeft_ = 0;
}

void TFieldPayoff::Shake(double amplitude) {
    if (Reduced()) return;
    amplitude_ = std::max(amplitude, shakeLeft_ > 0 ? amplitude_ : 0.0);
    shakeLeft_ = kShakeUnits;
    shakeAge_ = 0;
}

void TFieldPayoff::Advance(double delta) {
    if (shakeLeft_ <= 0) return;
    shakeLeft_ = std::max(0.0, shakeLeft_ - delta);
    shakeAge_ += delta;
}

// A decaying swing, sideways and a little less up and down, whole pixels.
int TFieldPayoff::ShakeX() const {
    if (shakeLeft_ <= 0) return 0;
    const double fade = shakeLeft_ / kShakeUnits;
    return static_cast<int>(
        std::lround(amplitude_ * fade * std::sin(2 * std::numbers::pi * kShakeCycles * shakeAge_)));
}

int TFieldPayoff::ShakeY() const {
    if (shakeLeft_ <= 0) return 0;
    const double fade = shakeLeft_ / kShakeUnits;
    return static_cast<int>(
        std::lround(0.6 * amplitude_ * fade *
                    std::sin(2 * std::numbers::pi * kShakeCycles * 1.3 * shakeAge_ + 1.0)));
}

// A ring going out, a veil of light over the field and a shower of twinkles.
void TFieldPayoff::BigMoment(float x, float y, uint32_t colour) {
    ParticleEngine->AddGlow(Pictures.Ring, x, y, 48, 70.0f, colour, 230, 9.0f);
    ParticleEngine->AddGlow(Pictures.Glow, x, y, 900, 120.0f, 0xFFFFFF, 70, 3.0f);
    for (int i = 0; i < 24; ++i) {
        const double a = 2 * std::numbers::pi * (i + (NextRandom() % 100) / 100.0) / 24;
        const double speed = 5.0 + (NextRandom() % 60) / 10.0;
        ParticleEngine->AddSpark(Pictures.Spark, 1, x, y, static_cast<float>(std::cos(a) * speed),
                                 static_cast<float>(std::sin(a) * speed - 2.0), colour,
                                 12.0f + static_cast<float>(NextRandom() % 6));
    }
}

void TFieldPayoff::LineCleared(const TLineClear& clear) {
    if (!ParticleEngine || clear.Balls.empty()) return;
    random_ ^=
        static_cast<uint32_t>(clear.Balls.front().X * 9 + clear.Balls.front().Y + 1) * 0x9E3779B9u;
    const int chain = ChainLength(clear);
    const float cx = CentreX(clear.CentreX), cy = CentreY(clear.CentreY);
    if (chain >= 2 && Strings) {
        // Above the line's points, or on the top row below its chain bonus; larger for longer
        // chains.
        const int row = kLineTextTop + kLineTextRowPitch * clear.CentreY;
        const float y = static_cast<float>(clear.CentreY > 0 ? row - 36 : kChainTextTop + 26);
        const auto scale = static_cast<uint16_t>(std::min(150, 110 + 8 * chain));
        ParticleEngine->AddCallout(Fill(Strings->Chain, std::to_string(chain)), cx, y, scale, kGold,
                                   24.0f, kCalloutRise, Reduced());
    }
    if (Reduced()) return;
    // Each ball flashes in its colour and bursts into sparks, more and faster for a bigger move.
    const int steps = std::min(Steps(clear), 5);
    const int sparks = SparksPerBall(clear);
    const double pace = 1.0 + 0.12 * steps;
    for (const TFieldBall& b : clear.Balls) {
        const std::vector<uint32_t> colours = SparkColours(b.Picture);
        const float x = CentreX(b.X), y = CentreY(b.Y);
        ParticleEngine->AddGlow(Pictures.Glow, x, y, 200 + 20 * steps, 40.0f,
                                Tint(Lit(colours.front())), 235, 5.0f);
        for (int i = 0; i < sparks; ++i) {
            const double a = 2 * std::numbers::pi * (i + (NextRandom() % 100) / 100.0) / sparks;
            const double speed = pace * (2.5 + (NextRandom() % 50) / 10.0);
            const uint32_t colour = colours[static_cast<size_t>(i) % colours.size()];
            ParticleEngine->AddSpark(
                Pictures.Spark, 0, x, y, static_cast<float>(std::cos(a) * speed),
                static_cast<float>(std::sin(a) * speed - 1.5), Tint(Lit(colour)),
                8.0f + static_cast<float>(NextRandom() % 5));
        }
    }
    if (clear.Balls.size() >= kBigLine || steps >= 3) {
        BigMoment(cx, cy, kGold);
    } else if (steps >= 1) {
        // A ring going out, wider for each step.
        ParticleEngine->AddGlow(Pictures.Ring, cx, cy, 40,
                                40.0f + 15.0f * static_cast<float>(steps), kGold, 200, 7.0f);
    }
    if (steps >= 2) Shake(std::min(1.0 + steps, 5.0));
}

void TFieldPayoff::BlastEnded(const TFieldBall& bomb, int victims) {
    if (!ParticleEngine || victims == 0 || Reduced()) return;
    BigMoment(BurstX(bomb.X), BurstY(bomb.Y), kEmber);
    Shake(4.0);
}
