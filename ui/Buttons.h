#pragma once
// TButtons: the picture buttons of every screen. A button exists while its StateMask meets the
// screen-state word; it shows pattern 0 (normal), 1 (hovered) or 2 (pressed or selected), asks
// for the hover and click sounds through OnSound, and fires its OnClick on release.
#include "layout/Layout.h" // the button numbers

#include <cstdint>
#include <functional>
#include <vector>

class TPatternImage;
class TRenderDevice;

struct TButton {
    int32_t X = 0, Y = 0;           // top-left corner in the picture
    TPatternImage* Image = nullptr; // not owned; its pattern size is the button's size
    std::function<void()> OnClick;  // may be empty
    bool Pressed = false;           // held down since the last press
    bool Selected = false;          // shown pressed and ignoring the mouse
    // Shown faded and without its hover look; a click still reaches its command (which may
    // refuse) but makes no click sound.
    bool Disabled = false;
    int32_t OffsetX = 0; // drawn this far right of X (a shake); the hit area stays
    uint32_t StateMask = 0;
    // Added to the pattern drawn: a button of two looks (a switch) holds both, three each.
    int32_t PatternBase = 0;
    // Units it still shows that it was pressed: pressed in look and lit (a key's press too).
    double PressLight = 0.0;
};

// The sounds a button asks for: the pointer came onto it, or it was pressed.
enum class TButtonSound { Hover, Click };

class TButtons {
public:
    explicit TButtons(TRenderDevice* device);

    void Add(int32_t x, int32_t y, TPatternImage* image, uint32_t stateMask,
             std::function<void()> onClick);
    void DrawAll();
    void DrawButton(int32_t index);
    void MouseDown();
    void MouseUp();
    void SelectMode(); // marks the current mode's button (1, 2 or 3) and no other
    // The buttons' own clock, by the frame's delta: a pressed button's light fades.
    void Advance(double delta);
    // The button is on the screen now and a click on it would fire: shown, taking input while a
    // message is open, not selected, with a command.
    bool Pressable(int32_t index) const;
    // The button is on the screen now and takes input while a message is open; it may be
    // selected (lit, ignoring clicks).
    bool Shown(int32_t index) const;
    // Presses and releases the button as a click on it would (the click sound, then its command);
    // false when it is not pressable.
    bool Press(int32_t index);

    bool ButtonDown = false;
    int32_t Count = 0;
    int32_t HoverIndex = 0; // the button that last made the hover sound
    std::vector<TButton> Items;
    // Plays a button's sound; silent while empty. The shell plays them through the sound bank.
    std::function<void(TButtonSound)> OnSound;
    // Test hook: called for every button drawn, with its index and pattern.
    std::function<void(int32_t index, int32_t pattern)> OnDraw;

private:
    int32_t HoverPattern(int32_t index); // plays the hover sound when due
    void Draw(int32_t index, int32_t pattern);

    TRenderDevice* device_;
    int32_t pressed_ = -1; // the button most recently pressed
};

extern TButtons* Buttons;
