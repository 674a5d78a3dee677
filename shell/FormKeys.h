#pragma once
// Keyboard and game-controller play: every key of either source arrives here as a virtual key
// (the App layer turns pad buttons into keys) and becomes the same commands and field actions
// the mouse reaches. Two focus marks show where the keys act: the cursor on a field cell and
// the ring over one button of the current screen. Both hide while the mouse is used.
#include <cstdint>
#include <memory>
#include <vector>

class TForm1;
class TPatternImage;
class TRenderDevice;

class TFormKeys {
public:
    explicit TFormKeys(TForm1& form);
    ~TFormKeys();
    TFormKeys(const TFormKeys&) = delete;
    TFormKeys& operator=(const TFormKeys&) = delete;

    // A key down with its shift state (ssShift, ssAlt, ssCtrl). Keys of the name entry (typing,
    // Backspace, Enter) are the form's own and never come here.
    void KeyDown(uint16_t key, uint32_t shift);
    // The mouse moved or was pressed: the cursor and the ring hide until the next key.
    void MouseUsed();
    // Once a frame, before anything is drawn. The field hovers and clicks where the pointer is,
    // so the cursor moves the pointer to its cell; that pointer follows the cursor while the
    // cursor shows and leaves the picture otherwise, so that no button lights up under a
    // pointer the player never moved.
    void Frame();
    // Draws the field cursor and the focus ring over the frame (call after the screens and the
    // message box, before the full-screen pointer).
    void Draw(TRenderDevice& device);
    // Releases the drawing texture (before the device goes).
    void FreeTextures();
    // One opaque white pattern (8 x 8), made on first use, for tinted marks and bars; null
    // when the device cannot make it.
    TPatternImage* White(TRenderDevice& device);
    // Shows the ring on `index` (a message opening with its focus on No).
    void FocusButton(int32_t index);
    // A new game: the cursor waits in the middle cell, hidden until a key brings it.
    void CentreCursor();

    // The buttons the ring walks on the current screen, in its order: the screen's own buttons
    // in reading order (rows top to bottom, each left to right), then the whole menu top down,
    // its lit buttons too, so that each screen has a fixed count of stops. While a message is
    // open only its own buttons.
    std::vector<int32_t> RingOrder() const;
    // The focused button, or -1 while the ring is hidden.
    int32_t Focused() const;
    // The field cursor's cell; shown only on the playing screen without a message.
    bool CursorShown() const { return cursorShown_; }
    int32_t CursorX() const { return cursorX_; }
    int32_t CursorY() const { return cursorY_; }

private:
    void FieldKey(uint16_t key);
    void MoveCursor(int32_t x, int32_t y);
    void FieldAction();
    void DropSelection();
    void MoveRing(int32_t step);
    bool PressFocused();
    void ShowCursor();
    bool Shortcut(uint16_t key, uint32_t shift);
    void ScreenKey(uint16_t key);
    void MessageKey(uint16_t key);
    void AnswerKey(uint16_t key);
    void DrawFrame(TRenderDevice& device, int32_t x, int32_t y, int32_t w, int32_t h,
                   int32_t thickness, uint32_t colour);
    void DrawMark(TRenderDevice& device, int32_t x, int32_t y, int32_t w, int32_t h);

    TForm1& form_;
    bool cursorShown_ = false;
    int32_t cursorX_ = 4, cursorY_ = 4; // the middle cell at first
    bool ringShown_ = false;
    bool pointerFromKeys_ = false; // the pointer sits where the cursor put it, not the mouse
    int32_t focus_ = -1;           // a button index; valid only while it is in RingOrder()
    std::unique_ptr<TPatternImage> white_; // one white pattern, tinted for the marks
};
