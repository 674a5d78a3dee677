#include "shell/Guidance.h"

#include "game/BallKinds.h"
#include "game/GameField.h"
#include "layout/Layout.h"
#include "platform/Registry.h"
#include "render/PatternImage.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "state/GameState.h"
#include "state/OptionsState.h"
#include "state/ShellState.h"
#include "ui/Buttons.h"
#include "ui/TextFit.h"
#include "ui/VOFont.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr const char* kTipNames[tipCount] = {"start",   "select", "line",       "undo", "twocolour",
                                             "rainbow", "paint",  "multiplier", "bomb"};
// How long a tip stays (units), unless its moment passes first.
constexpr double kLong = 300.0;  // 20 s: the start, until a ball is picked
constexpr double kShort = 150.0; // 10 s
constexpr double kFadeIn = 3.0;
constexpr double kFadeOut = 6.0;
constexpr double kPulse = 24.0; // units a mark's pulse takes

// The cells a picked ball can reach: the path highlight's picture, added in a warm light.
constexpr uint32_t kReachable = 0xB070D8FF; // 0xAABBGGRR
constexpr uint32_t kMark = 0x6ED3FF;        // 0xBBGGRR: the ring round a slot or button

bool Still() {
    return Options.ReducedMotion;
}

} // namespace

std::string TGuidance::SeenValue(const std::array<bool, tipCount>& seen) {
    std::string value;
    for (size_t i = 0; i < seen.size(); ++i)
        if (seen[i]) value.append(value.empty() ? "" : ",").append(kTipNames[i]);
    return value;
}

std::array<bool, tipCount> TGuidance::ParseSeen(const std::string& value) {
    std::array<bool, tipCount> seen{};
    size_t at = 0;
    while (at <= value.size()) {
        const size_t end = std::min(value.find(',', at), value.size());
        const std::string name = value.substr(at, end - at);
        for (size_t i = 0; i < seen.size(); ++i)
            if (name == kTipNames[i]) seen[i] = true;
        at = end + 1;
    }
    return seen;
}

void TGuidance::Load() {
    const TRegistry registry;
    on_ = registry.ReadInteger(kRegistryOn).value_or(1) != 0;
    seen_ = ParseSeen(registry.ReadString(kRegistrySeen).value_or(""));
    Options.Tips = on_;
}

void TGuidance::Save() const {
    TRegistry().WriteString(kRegistrySeen, SeenValue(seen_));
}

// "Tips" is written only once the player has switched: a first start keeps the default.
void TGuidance::SetOn(bool on) {
    if (on && !on_) seen_ = {};
    on_ = on;
    Options.Tips = on;
    if (!on) showing_ = tipCount;
    TRegistry().WriteInteger(kRegistryOn, on ? 1 : 0);
    Save();
}

bool TGuidance::Show(TTip tip, double life) {
    if (Held || !on_ || seen_[tip]) return false;
    seen_[tip] = true;
    showing_ = tip;
    age_ = 0.0;
    life_ = life;
    Save();
    return true;
}

void TGuidance::Hide(TTip tip) {
    // Hidden by letting it fade from now on.
    if (showing_ == tip) life_ = std::min(life_, age_ + kFadeOut);
}

TTip TGuidance::SpecialTip(uint32_t picture) {
    if (picture >= 7 && picture <= 9) return tipTwoColour;
    if (picture == 10) return tipRainbow;
    if (picture >= 11 && picture <= 17) return tipPaint;
    if (picture >= 18 && picture <= 20) return tipMultiplier;
    if (picture == kPictureBomb) return tipBomb;
    return tipCount;
}

void TGuidance::BallsSpawned(const std::vector<TFieldBall>&) {
    // A new game's first balls: how to play, once. Later, a special ball waiting in the preview
    // for the first time, unless the start is still being read.
    if (Show(tipStart, kLong)) return;
    if (showing_ == tipStart && age_ < life_) return;
    for (int k = 0; k < field_.BallsPerTurn && k < static_cast<int>(field_.Preview.size()); ++k) {
        const TTip tip = SpecialTip(field_.Preview[static_cast<size_t>(k)].Picture);
        if (tip != tipCount && Show(tip, kShort)) {
            previewSlot_ = k;
            return;
        }
    }
}

void TGuidance::BallPicked(const TFieldBall&, bool selected, bool) {
    Hide(tipStart);
    if (selected)
        Show(tipSelect, kShort);
    else
        Hide(tipSelect);
}

void TGuidance::SelectionCancelled() {
    Hide(tipSelect);
}

void TGuidance::MoveStarted(const TFieldBall&, int, int, int) {
    Hide(tipSelect);
    Hide(tipStart);
}

void TGuidance::LineCleared(const TLineClear&) {
    Show(tipLine, kShort);
}

void TGuidance::MoveUndone() {
    Show(tipUndo, kShort);
}

void TGuidance::GameEnded(const TGameEnd&) {
    showing_ = tipCount;
}

void TGuidance::FieldCleared() {
    if (showing_ != tipStart) showing_ = tipCount;
}

void TGuidance::Advance(double delta) {
    if (Held || showing_ == tipCount) return; // a tip on show waits out the demo
    age_ += delta;
    if (age_ >= life_) showing_ = tipCount;
}

// Only the fades need every frame; a standing tip's pulse steps once a unit, which the frames
// at rest show.
bool TGuidance::Animating() const {
    if (showing_ == tipCount || Still()) return false;
    return age_ < kFadeIn || age_ > life_ - kFadeOut;
}

void TGuidance::Draw(TRenderDevice& device, TVOFont* font,
                     const std::array<std::string, tipCount>& texts) {
    if (Held || showing_ == tipCount || !HasFlag(Shell.Word, scrPlaying) ||
        HasFlag(Shell.Word, scrMessageBox))
        return;
    // Fades in and out; a ring pulses (both still with reduced motion). The pulse steps once a
    // unit, as the ambient animation does, so that a standing tip needs only the frames at rest.
    double fade = 1.0;
    if (!Still()) fade = std::clamp(std::min(age_ / kFadeIn, (life_ - age_) / kFadeOut), 0.0, 1.0);
    const double pulse =
        Still() ? 1.0 : 0.75 + 0.25 * std::cos(2 * std::numbers::pi * std::floor(age_) / kPulse);
    const auto alpha = [&](double a) { return static_cast<uint32_t>(std::lround(255 * a * fade)); };

    // The marks: the cells the picked ball can reach, the special ball's preview slot, the
    // undo button.
    if (showing_ == tipSelect && field_.Selected) {
        std::vector<uint8_t> reached(81, 0);
        std::vector<std::pair<int, int>> queue{{field_.SelX, field_.SelY}};
        for (size_t i = 0; i < queue.size(); ++i) {
            const auto [x, y] = queue[i];
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                const int nx = x + dx, ny = y + dy;
                if (!field_.Inside(nx, ny) || field_.Cell(nx, ny).Kind != 0 ||
                    reached[static_cast<size_t>(nx * 9 + ny)])
                    continue;
                reached[static_cast<size_t>(nx * 9 + ny)] = 1;
                queue.push_back({nx, ny});
            }
        }
        // A steady light: a pulse over this many cells would redraw the field at every step.
        const uint32_t colour = (kReachable & 0xFFFFFF) | alpha((kReachable >> 24) / 255.0) << 24;
        for (int x = 0; x <= field_.MaxX; ++x)
            for (int y = 0; y <= field_.MaxY; ++y)
                if (reached[static_cast<size_t>(x * 9 + y)])
                    device.DrawImageCol(Pictures.Field, CellLeft(x), CellTop(y), colour, 1,
                                        fxAddAlpha | fxfDiffuseAlpha);
    }
    const auto ring = [&](int x, int y, int scale) {
        device.DrawRotatedCol(Pictures.Ring, x, y, 64, scale, kMark | alpha(pulse) << 24, 0,
                              fxAddAlpha | fxfDiffuseAlpha);
    };
    if (showing_ >= tipTwoColour && previewSlot_ >= 0)
        ring(kPreviewCentreX + kCellPitch * previewSlot_, kPreviewCentreY, 170);
    if (showing_ == tipUndo && Buttons && Buttons->Items.size() > static_cast<size_t>(btnUndo)) {
        const TButton& b = Buttons->Items[static_cast<size_t>(btnUndo)];
        if (b.Image) ring(b.X + b.Image->PatternWidth / 2, b.Y + b.Image->PatternHeight / 2, 150);
    }

    // The box and its text, wrapped to it.
    device.DrawImageCol(Pictures.TipBox, kTipBox.Left, kTipBox.Top, 0xFFFFFF | alpha(1.0) << 24, 0,
                        fxBlend | fxfDiffuseAlpha);
    if (!font) return;
    int scale = kTipTextScale;
    const std::vector<std::string> lines =
        textfit::WrapTip(texts[showing_], &scale, [font](const std::string& t, int s) {
            return static_cast<int>(font->TextWidth(t, static_cast<uint16_t>(s)));
        });
    const int pitch = textfit::LinePitch(font->GlyphHeight, scale);
    const int height = pitch * static_cast<int>(lines.size());
    const int top = (kTipBox.Top + kTipBox.Bottom - height) / 2;
    font->DrawTextLines(lines, static_cast<uint16_t>((kTipBox.Left + kTipBox.Right) / 2),
                        static_cast<uint16_t>(top), static_cast<uint16_t>(scale), pitch,
                        (kMessageTextColour & 0xFFFFFF) | alpha(1.0) << 24);
}
