#include "shell/FormKeys.h"

#include "fx/SoundBank.h"
#include "game/GameField.h"
#include "platform/App.h"
#include "platform/GfxTypes.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"
#include "shell/Form.h"
#include "state/GameState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "ui/Buttons.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The flags of the screens; a button shown on all of them belongs to the menu down the left.
constexpr uint32_t kScreens = scrMenu | scrPlaying | scrOptions | scrHighScores | scrHelp;
// Buttons whose tops lie closer than this share a row of the ring.
constexpr int32_t kRowTolerance = 24;

// Where the pointer goes while the keys are in use off the field: left of and above the
// picture, over no button and no cell.
constexpr int32_t kPointerAway = -1000;

// Colours as the device takes them: 0xAABBGGRR.
constexpr uint32_t kMarkDark = 0xE0000000;
constexpr uint32_t kMarkLight = 0xFF40E8FF; // warm yellow-white

bool MessageOpen() {
    return HasFlag(Shell.Word, scrMessageBox);
}
bool StartSequence() {
    return Shell.Word == scrLogo || Shell.Word == scrLoading;
}
bool OnField() {
    return HasFlag(Shell.Word, scrPlaying) && !MessageOpen() && GameField;
}
bool IsArrow(uint16_t key) {
    return key == VK_LEFT || key == VK_RIGHT || key == VK_UP || key == VK_DOWN;
}
void Sound(TSample s) {
    if (SoundBank) SoundBank->Play(s);
}

} // namespace

TFormKeys::TFormKeys(TForm1& form) : form_(form) {}

TFormKeys::~TFormKeys() {
    FreeTextures();
}

void TFormKeys::FreeTextures() {
    if (white_) white_->FreeTextures();
    white_.reset();
}

void TFormKeys::FocusButton(int32_t index) {
    focus_ = index;
    ringShown_ = true;
}

void TFormKeys::CentreCursor() {
    cursorX_ = cursorY_ = 4;
    cursorShown_ = false;
}

void TFormKeys::MouseUsed() {
    cursorShown_ = false;
    ringShown_ = false;
    pointerFromKeys_ = false;
}

void TFormKeys::Frame() {
    if (!pointerFromKeys_) return;
    if (cursorShown_ && OnField()) {
        MoveCursor(cursorX_, cursorY_);
    } else {
        Pointer.X = kPointerAway;
        Pointer.Y = kPointerAway;
    }
}

std::vector<int32_t> TFormKeys::RingOrder() const {
    std::vector<int32_t> own, menu;
    if (!Buttons) return own;
    for (int32_t i = 0; i < static_cast<int32_t>(Buttons->Items.size()); ++i) {
        if (!Buttons->Shown(i)) continue;
        const bool everywhere =
            (Buttons->Items[static_cast<size_t>(i)].StateMask & kScreens) == kScreens;
        (everywhere ? menu : own).push_back(i);
    }
    const auto& items = Buttons->Items;
    const auto top = [&](int32_t i) { return items[static_cast<size_t>(i)].Y; };
    const auto left = [&](int32_t i) { return items[static_cast<size_t>(i)].X; };
    const auto byTop = [&](int32_t a, int32_t b) { return top(a) < top(b); };
    std::stable_sort(own.begin(), own.end(), byTop);
    // Rows: a run of buttons whose tops lie within the tolerance of the row's first.
    for (size_t start = 0; start < own.size();) {
        size_t end = start + 1;
        while (end < own.size() && top(own[end]) - top(own[start]) < kRowTolerance) ++end;
        std::stable_sort(own.begin() + static_cast<std::ptrdiff_t>(start),
                         own.begin() + static_cast<std::ptrdiff_t>(end),
                         [&](int32_t a, int32_t b) { return left(a) < left(b); });
        start = end;
    }
    std::stable_sort(menu.begin(), menu.end(), byTop);
    own.insert(own.end(), menu.begin(), menu.end());
    return own;
}

int32_t TFormKeys::Focused() const {
    if (!ringShown_ || StartSequence()) return -1;
    const std::vector<int32_t> ring = RingOrder();
    if (ring.empty()) return -1;
    // A focus the screen no longer shows moves to the start of the screen's ring.
    return std::find(ring.begin(), ring.end(), focus_) != ring.end() ? focus_ : ring.front();
}

void TFormKeys::MoveRing(int32_t step) {
    const std::vector<int32_t> ring = RingOrder();
    if (ring.empty()) return;
    const int32_t current = Focused();
    const auto n = static_cast<int32_t>(ring.size());
    int32_t at = 0;
    if (current < 0) {
        at = step > 0 ? 0 : n - 1;
    } else {
        const auto pos =
            static_cast<int32_t>(std::find(ring.begin(), ring.end(), current) - ring.begin());
        at = ((pos + step) % n + n) % n;
    }
    ringShown_ = true;
    cursorShown_ = false;
    if (ring[static_cast<size_t>(at)] != current) Sound(TSample::Hover);
    focus_ = ring[static_cast<size_t>(at)];
}

// True when the ring showed a button; a lit (selected) one takes the press and does nothing.
bool TFormKeys::PressFocused() {
    const int32_t index = Focused();
    if (index < 0 || !Buttons) return false;
    focus_ = index;
    const bool wasOnField = OnField();
    const uint32_t word = Shell.Word;
    Buttons->Press(index);
    // A button that starts or returns to a game hands the keys to the field; on another
    // screen the ring starts at that screen's first stop.
    if (!wasOnField && OnField()) ShowCursor();
    if (Shell.Word != word) focus_ = -1;
    return true;
}

// The cursor comes back on the cell the keys left it on (the middle one in a new game), not
// under the pointer: a mouse resting over the field says nothing about where the keys are.
void TFormKeys::ShowCursor() {
    ringShown_ = false;
    if (!GameField) return;
    MoveCursor(cursorX_, cursorY_);
}

void TFormKeys::ShowCursorAt(int32_t x, int32_t y) {
    ringShown_ = false;
    if (GameField) MoveCursor(x, y);
}

void TFormKeys::MoveCursor(int32_t x, int32_t y) {
    const TGameField& f = *GameField;
    cursorX_ = std::clamp<int32_t>(x, 0, f.MaxX);
    cursorY_ = std::clamp<int32_t>(y, 0, f.MaxY);
    cursorShown_ = true;
    pointerFromKeys_ = true;
    // The field hovers and clicks at the pointer: the cursor's cell becomes the pointer's.
    Pointer.X = CellLeft(cursorX_) + kCellPitch / 2;
    Pointer.Y = CellTop(cursorY_) + kCellPitch / 2;
}

void TFormKeys::FieldAction() {
    MoveCursor(cursorX_, cursorY_);
    Pointer.PressedButton = 0;
    GameField->Click(ColumnAt(Pointer.X), RowAt(Pointer.Y), Pointer.PressedButton);
}

void TFormKeys::DropSelection() {
    // A right click drops the selection; the same rule, so a turn in progress refuses it too.
    Pointer.PressedButton = 1;
    GameField->Click(ColumnAt(Pointer.X), RowAt(Pointer.Y), Pointer.PressedButton);
    Pointer.PressedButton = 0;
}

void TFormKeys::FieldKey(uint16_t key) {
    const bool moveKey =
        IsArrow(key) || key == VK_HOME || key == VK_END || key == VK_PRIOR || key == VK_NEXT;
    if (!cursorShown_) {
        // The first key after the mouse only brings the cursor back.
        if (moveKey || key == VK_RETURN || key == VK_SPACE) {
            ShowCursor();
            return;
        }
    }
    const TGameField& f = *GameField;
    switch (key) {
    case VK_LEFT:
        MoveCursor(cursorX_ - 1, cursorY_);
        break;
    case VK_RIGHT:
        MoveCursor(cursorX_ + 1, cursorY_);
        break;
    case VK_UP:
        MoveCursor(cursorX_, cursorY_ - 1);
        break;
    case VK_DOWN:
        MoveCursor(cursorX_, cursorY_ + 1);
        break;
    case VK_HOME:
        MoveCursor(0, cursorY_);
        break;
    case VK_END:
        MoveCursor(f.MaxX, cursorY_);
        break;
    case VK_PRIOR:
        MoveCursor(cursorX_, 0);
        break;
    case VK_NEXT:
        MoveCursor(cursorX_, f.MaxY);
        break;
    case VK_RETURN:
    case VK_SPACE:
        FieldAction();
        break;
    case VK_ESCAPE:
        DropSelection();
        break;
    default:
        break;
    }
}

// Keys that mean the same on every screen. True when the key was one of them.
bool TFormKeys::Shortcut(uint16_t key, uint32_t shift) {
    const bool ctrl = (shift & ssCtrl) != 0;
    if (ctrl && key == 'Q') {
        bool canClose = true;
        form_.FormCloseQuery(canClose); // asks, as closing the window does
        return true;
    }
    if (key == VK_F11 || (key == VK_RETURN && (shift & ssAlt))) {
        form_.SwitchFullScreenLive();
        return true;
    }
    if (key == 'M' && !ctrl && !HasFlag(Shell.Word, scrMsgEnterName)) {
        if (SoundBank) SoundBank->SetMuted(!SoundBank->Muted());
        return true;
    }
    // The menu's commands, which its buttons refuse while a message is open.
    const bool menuKey =
        (ctrl && key == 'N') || key == VK_F1 || key == VK_GAMEPAD_MENU || key == VK_GAMEPAD_VIEW;
    if (!menuKey) return false;
    if (MessageOpen()) return true;
    if (key == VK_F1)
        form_.CmdInstructions();
    else if (key == VK_GAMEPAD_VIEW)
        form_.CmdOptions();
    else
        form_.CmdNewGame(); // asks first when the game has been touched
    if (OnField()) {
        if (cursorShown_ || ringShown_) ShowCursor();
    } else if (ringShown_ && !MessageOpen()) {
        focus_ = -1; // the new screen's ring starts at its beginning
    }
    return true;
}

void TFormKeys::MessageKey(uint16_t key) {
    AnswerKey(key);
    // An answer that returns to the board hands the keys back to the field cursor.
    if (!MessageOpen() && OnField() && ringShown_) ShowCursor();
}

void TFormKeys::AnswerKey(uint16_t key) {
    const bool nameEntry = HasFlag(Shell.Word, scrMsgEnterName);
    switch (key) {
    case VK_LEFT:
    case VK_UP:
        MoveRing(-1);
        return;
    case VK_RIGHT:
    case VK_DOWN:
        MoveRing(1);
        return;
    case VK_ESCAPE:
        form_.CmdNo();
        return;
    case VK_RETURN:
        // A bare Enter takes the safe answer: No where Yes would destroy something.
        if (PressFocused()) return;
        if (HasFlag(Shell.Word, scrDestructiveMessages))
            form_.CmdNo();
        else
            form_.CmdYes();
        return;
    case VK_SPACE:
        if (!nameEntry) PressFocused();
        return;
    case 'Y':
        if (!nameEntry) form_.CmdYes();
        return;
    case 'N':
        if (!nameEntry) form_.CmdNo();
        return;
    default:
        return;
    }
}

void TFormKeys::ScreenKey(uint16_t key) {
    const uint32_t w = Shell.Word;
    const bool playing = HasFlag(w, scrPlaying);
    // On the field the arrows belong to the cursor unless the ring is in use.
    if (playing && !ringShown_ && key != VK_TAB) {
        if (GameField) FieldKey(key);
        return;
    }
    switch (key) {
    case VK_UP:
        MoveRing(-1);
        return;
    case VK_DOWN:
        MoveRing(1);
        return;
    case VK_RETURN:
    case VK_SPACE:
        if (!PressFocused()) MoveRing(1);
        return;
    case VK_ESCAPE:
        if (HasFlag(w, scrOptions) || HasFlag(w, scrHelp) || HasFlag(w, scrHighScores)) {
            form_.CmdBack();
            if (OnField() && (ringShown_ || cursorShown_)) ShowCursor();
        } else if (playing) {
            ShowCursor();
        } else {
            ringShown_ = false;
        }
        return;
    case VK_LEFT:
    case VK_RIGHT:
        break;
    default:
        return;
    }
    const bool right = key == VK_RIGHT;
    if (playing) {
        ShowCursor(); // from the menu back to the field
    } else if (HasFlag(w, scrOptions)) {
        const int32_t f = Focused();
        // A focused switch takes the choice on that side (off / faint left, on / clear right).
        if (f == btnReducedMotion || f == btnBallSymbols || f == btnTips)
            form_.SetSwitch(f, right);
        else if (f == btnSoundDown || f == btnSoundUp)
            right ? form_.CmdSoundUp() : form_.CmdSoundDown();
        else
            right ? form_.CmdMusicUp() : form_.CmdMusicDown();
    } else if (HasFlag(w, scrHelp)) {
        right ? form_.CmdNextPage() : form_.CmdPreviousPage();
    } else if (HasFlag(w, scrHighScores)) {
        right ? form_.CmdNextTable() : form_.CmdPreviousTable();
    }
}

void TFormKeys::KeyDown(uint16_t key, uint32_t shift) {
    if (StartSequence()) {
        if ((shift & ssCtrl) && key == 'Q') Shortcut(key, shift);
        return;
    }
    if (Shortcut(key, shift)) return;
    if (key == VK_TAB) {
        MoveRing((shift & ssShift) ? -1 : 1);
        return;
    }
    if (MessageOpen())
        MessageKey(key);
    else
        ScreenKey(key);
}

// --- Drawing -------------------------------------------------------------------------------------

void TFormKeys::DrawFrame(TRenderDevice& device, int32_t x, int32_t y, int32_t w, int32_t h,
                          int32_t t, uint32_t colour) {
    const auto quad = [&](int32_t qx, int32_t qy, int32_t qw, int32_t qh) {
        device.DrawQuadCol(white_.get(), qx, qy, qx + qw, qy, qx + qw, qy + qh, qx, qy + qh, colour,
                           0, fxBlend);
    };
    quad(x, y, w, t);
    quad(x, y + h - t, w, t);
    quad(x, y + t, t, h - 2 * t);
    quad(x + w - t, y + t, t, h - 2 * t);
}

// A light frame three pixels wide between dark edges: it reads on every ball colour, on the
// light cells and on the dark backdrop alike.
void TFormKeys::DrawMark(TRenderDevice& device, int32_t x, int32_t y, int32_t w, int32_t h) {
    DrawFrame(device, x, y, w, h, 5, kMarkDark);
    DrawFrame(device, x + 1, y + 1, w - 2, h - 2, 3, kMarkLight);
}

TPatternImage* TFormKeys::White(TRenderDevice& device) {
    if (white_ || !device.Initialized()) return white_.get();
    auto image = std::make_unique<TPatternImage>();
    int32_t pitch = 0;
    uint8_t* bits = nullptr;
    if (image->CreateTextures(device.Device(), 8, 8, 8, 8, 1, D3DFMT_A8R8G8B8) != 0 ||
        image->LockTexture(0, pitch, bits) != 0)
        return nullptr;
    for (int32_t row = 0; row < 8; ++row)
        std::fill_n(reinterpret_cast<uint32_t*>(bits + std::ptrdiff_t{row} * pitch), 8,
                    0xFFFFFFFFu);
    image->UnlockTexture(0);
    white_ = std::move(image);
    return white_.get();
}

void TFormKeys::Draw(TRenderDevice& device) {
    if (StartSequence() || !device.Initialized()) return;
    const int32_t focused = Focused();
    const bool cursor = cursorShown_ && OnField();
    if (focused < 0 && !cursor) return;
    if (!White(device)) return;
    if (cursor) DrawMark(device, CellLeft(cursorX_), CellTop(cursorY_), kCellPitch, kCellPitch);
    if (focused >= 0 && Buttons) {
        const TButton& b = Buttons->Items[static_cast<size_t>(focused)];
        DrawMark(device, b.X - 3, b.Y - 3, b.Image->PatternWidth + 6, b.Image->PatternHeight + 6);
    }
}
