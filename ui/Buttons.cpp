#include "ui/Buttons.h"

#include "render/PatternImage.h"
#include "render/RenderDevice.h"
#include "state/GameState.h"
#include "state/HelpState.h"
#include "state/OptionsState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"
#include "ui/VOStrings.h"

#include <algorithm>
#include <cmath>

TButtons* Buttons = nullptr;

namespace {

constexpr int32_t kNormal = 0, kHovered = 1, kPressed = 2; // the three patterns of a button
constexpr double kPressLight = 3.0;                        // units a press shows after it (200 ms)
constexpr uint8_t kDefaultLastHelpPage = 4;
constexpr uint32_t kDisabledTint = 0x88909090; // 0xAABBGGRR: grey, a little over half opaque

bool Active(const TButton& b) {
    return (b.StateMask & Shell.Word) != 0;
}

bool DialogShown() {
    return HasFlag(Shell.Word, scrMessageBox);
}

// Strictly inside the pattern rectangle: the left and top edges do not count.
bool PointerOver(const TButton& b) {
    if (!b.Image) return false;
    const int64_t px = Pointer.X, py = Pointer.Y;
    return b.X < px && px < int64_t{b.X} + b.Image->PatternWidth && b.Y < py &&
           py < int64_t{b.Y} + b.Image->PatternHeight;
}

// While a dialog is shown only the buttons that belong to it alone take the mouse.
bool TakesMouse(const TButton& b) {
    return !DialogShown() || b.StateMask == scrMessageBox;
}

uint8_t LastHelpPage() {
    return Strings ? Strings->LastHelpPage : kDefaultLastHelpPage;
}

// The help screen's previous-page button on the first page and next-page button on the last are
// neither drawn nor pressable.
bool HiddenPageButton(int32_t index) {
    return (index == btnPrevPage && Help.Page == 0) ||
           (index == btnNextPage && Help.Page == LastHelpPage()) ||
           ((index == btnUndo || index == btnHint) && GameState.CurrentMode == modeProfessional) ||
           // A replay watched over the table covers the field its buttons stand on.
           (Tables.Watching && index >= btnPreviousTable && index <= btnClearTable);
}

} // namespace

TButtons::TButtons(TRenderDevice* device) : device_(device) {}

void TButtons::Add(int32_t x, int32_t y, TPatternImage* image, uint32_t stateMask,
                   std::function<void()> onClick) {
    TButton b;
    b.X = x;
    b.Y = y;
    b.Image = image;
    b.StateMask = stateMask;
    b.OnClick = std::move(onClick);
    Items.push_back(std::move(b));
    Count = static_cast<int32_t>(Items.size());
}

// The hover sound plays when the pointer comes onto a button other than the one that sounded
// last; moving off and back onto the same button stays silent.
int32_t TButtons::HoverPattern(int32_t index) {
    if (index != HoverIndex && OnSound) OnSound(TButtonSound::Hover);
    HoverIndex = index;
    return kHovered;
}

// A press shows for a moment after it: the pressed look, lit from within and fading (with
// reduced motion the look alone).
void TButtons::Draw(int32_t index, int32_t pattern) {
    if (OnDraw) OnDraw(index, pattern);
    const TButton& b = Items[static_cast<size_t>(index)];
    if (!device_) return;
    if (b.Disabled) {
        device_->DrawImageCol(b.Image, b.X + b.OffsetX, b.Y, kDisabledTint, kNormal + b.PatternBase,
                              fxBlend | fxfDiffuseAlpha);
        return;
    }
    const int32_t shown = (b.PressLight > 0 ? kPressed : pattern) + b.PatternBase;
    device_->DrawImage(b.Image, b.X + b.OffsetX, b.Y, shown, fxBlend);
    if (b.PressLight > 0 && !Options.ReducedMotion) {
        const auto alpha = static_cast<uint32_t>(std::lround(110 * b.PressLight / kPressLight));
        device_->DrawImageCol(b.Image, b.X + b.OffsetX, b.Y, 0x00FFFFFFu | alpha << 24, shown,
                              fxAddAlpha | fxfDiffuseAlpha);
    }
}

void TButtons::Advance(double delta) {
    for (TButton& b : Items) b.PressLight = std::max(0.0, b.PressLight - delta);
}

void TButtons::DrawAll() {
    for (int32_t i = 0; i < static_cast<int32_t>(Items.size()); ++i) {
        const TButton& b = Items[static_cast<size_t>(i)];
        if (!Active(b) || HiddenPageButton(i)) continue;
        int32_t pattern = kNormal;
        if (b.Pressed || b.Selected)
            pattern = kPressed;
        else if (!DialogShown() && !b.Disabled && PointerOver(b))
            pattern = HoverPattern(i);
        Draw(i, pattern);
    }
}

void TButtons::DrawButton(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(Items.size())) return;
    const TButton& b = Items[static_cast<size_t>(index)];
    if (!Active(b)) return;
    int32_t pattern = kNormal;
    if (b.Pressed || b.Selected)
        pattern = kPressed;
    else if (PointerOver(b))
        pattern = HoverPattern(index);
    Draw(index, pattern);
}

void TButtons::MouseDown() {
    for (int32_t i = 0; i < static_cast<int32_t>(Items.size()); ++i) {
        TButton& b = Items[static_cast<size_t>(i)];
        if (!Active(b) || !PointerOver(b) || !TakesMouse(b) || HiddenPageButton(i) || b.Selected)
            continue;
        b.Pressed = !b.Disabled;
        if (!b.Disabled) b.PressLight = kPressLight;
        pressed_ = i;
        ButtonDown = true;
        if (!b.Disabled && OnSound) OnSound(TButtonSound::Click);
    }
}

void TButtons::MouseUp() {
    if (!ButtonDown) return;
    ButtonDown = false;
    if (pressed_ >= 0 && pressed_ < static_cast<int32_t>(Items.size()))
        Items[static_cast<size_t>(pressed_)].Pressed = false;
    // The release fires whatever lies under the pointer. The word is re-read for every button,
    // so a command that changes the screen can let a later button at the same place fire too.
    for (size_t i = 0; i < Items.size(); ++i) {
        const TButton& b = Items[i];
        if (!Active(b) || !PointerOver(b) || !TakesMouse(b) ||
            HiddenPageButton(static_cast<int32_t>(i)) || b.Selected || !b.OnClick)
            continue;
        const std::function<void()> command = b.OnClick; // the command may add buttons
        command();
    }
}

bool TButtons::Pressable(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(Items.size())) return false;
    const TButton& b = Items[static_cast<size_t>(index)];
    return Active(b) && b.Image && TakesMouse(b) && !HiddenPageButton(index) && !b.Selected &&
           b.OnClick;
}

bool TButtons::Shown(int32_t index) const {
    if (index < 0 || index >= static_cast<int32_t>(Items.size())) return false;
    const TButton& b = Items[static_cast<size_t>(index)];
    return Active(b) && b.Image && TakesMouse(b) && !HiddenPageButton(index);
}

bool TButtons::Press(int32_t index) {
    if (!Pressable(index)) return false;
    if (!Items[static_cast<size_t>(index)].Disabled) {
        if (OnSound) OnSound(TButtonSound::Click);
        Items[static_cast<size_t>(index)].PressLight = kPressLight;
    }
    const std::function<void()> command = Items[static_cast<size_t>(index)].OnClick;
    command();
    return true;
}

void TButtons::SelectMode() {
    for (TButton& b : Items) b.Selected = false;
    const size_t mode = size_t{GameState.CurrentMode} + btnKids;
    if (mode < Items.size()) Items[mode].Selected = true;
}
