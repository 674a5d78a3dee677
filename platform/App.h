#pragma once
// The application: the main form's window, its events turned into the form's handlers, the idle
// hook that runs the frames, and termination. One thread runs everything.
#include "platform/IdleHost.h"
#include "platform/InputKind.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct TNativeWindow;

// Shift state bits of mouse and key events.
constexpr uint32_t ssShift = 1;
constexpr uint32_t ssAlt = 2;
constexpr uint32_t ssCtrl = 4;

// Virtual-key codes the game reads (Windows' numbers). Letters and digits are their upper-case
// ASCII codes.
constexpr uint16_t VK_BACK = 8;
constexpr uint16_t VK_TAB = 9;
constexpr uint16_t VK_RETURN = 13;
constexpr uint16_t VK_ESCAPE = 27;
constexpr uint16_t VK_SPACE = 32;
constexpr uint16_t VK_PRIOR = 33; // Page Up
constexpr uint16_t VK_NEXT = 34;  // Page Down
constexpr uint16_t VK_END = 35;
constexpr uint16_t VK_HOME = 36;
constexpr uint16_t VK_LEFT = 37;
constexpr uint16_t VK_UP = 38;
constexpr uint16_t VK_RIGHT = 39;
constexpr uint16_t VK_DOWN = 40;
constexpr uint16_t VK_DELETE = 46;
constexpr uint16_t VK_F1 = 0x70;
constexpr uint16_t VK_F11 = 0x7A;
// A game controller's Start and Back (Select) buttons and its Y button (a hint); its other
// buttons arrive as the keys above (D-pad and left stick as arrows, A as Enter, B as Escape).
constexpr uint16_t VK_GAMEPAD_MENU = 0xCF;
constexpr uint16_t VK_GAMEPAD_VIEW = 0xD0;
constexpr uint16_t VK_GAMEPAD_Y = 0xC6;

// Game-controller buttons the game reads, and the virtual key each one sends.
enum class TPadButton { Up, Down, Left, Right, A, B, Y, Start, Back };
uint16_t PadButtonKey(TPadButton button);

// Key-repeat-like timing for a held direction of the D-pad or the stick: the key goes out on
// the press, again after kFirstDelay ms, then every kInterval ms until the release. Times in
// milliseconds from any fixed origin.
class TPadRepeat {
public:
    static constexpr uint32_t kFirstDelay = 400;
    static constexpr uint32_t kInterval = 120;
    // A direction goes down: returns its key, to be sent at once. A second direction replaces
    // the first.
    uint16_t Press(TPadButton direction, uint32_t now);
    void Release(TPadButton direction);
    // The key due at `now` (0 when none); at most one per call.
    uint16_t Due(uint32_t now);
    bool Held() const { return key_ != 0; }

private:
    TPadButton held_ = TPadButton::Up;
    uint16_t key_ = 0;
    uint32_t next_ = 0;
};

// Where a pointer outside the picture is reported: off the field and off every button.
constexpr int32_t kOutsidePoint = -1000;

enum class TCursorShape { Arrow, AppStart, None };

// The main form's handlers. Mouse positions are client pixels of the form (see
// TApplication::SetPointMapper); buttons are 0 left, 1 right, 2 middle.
class IFormEvents {
public:
    virtual ~IFormEvents() = default;
    virtual void FormMouseMove(uint32_t shift, int32_t x, int32_t y) = 0;
    virtual void FormMouseDown(int32_t button, uint32_t shift, int32_t x, int32_t y) = 0;
    virtual void FormMouseUp(int32_t button, uint32_t shift, int32_t x, int32_t y) = 0;
    virtual void FormKeyDown(uint16_t& key, uint32_t shift) = 0;
    // A typed character in Windows-1252; characters without a single-byte form are not sent.
    virtual void FormKeyPress(char& key) = 0;
    virtual void FormCloseQuery(bool& canClose) = 0;
    virtual void ApplicationActivate() = 0;
    virtual void ApplicationDeactivate() = 0;
    // Called before the handlers of a press, a key, a controller button or a pointer that moved
    // by itself, with the kind of input it came from.
    virtual void FormInputKind(TInputKind) {}
};

class TApplication final : public IIdleHost {
public:
    TApplication() = default;
    ~TApplication() override;
    TApplication(const TApplication&) = delete;
    TApplication& operator=(const TApplication&) = delete;

    // Starts the host's event and video services; false with the reason when there is no display.
    bool Initialize(std::string* error);
    // The desktop's size in pixels (0 x 0 when unknown).
    void DesktopSize(int32_t& width, int32_t& height) const;

    // The main form's window, centred, with the given client size; borderless for full screen.
    bool CreateMainWindow(const std::string& caption, int32_t clientWidth, int32_t clientHeight,
                          bool borderless, IFormEvents* form, std::string* error);
    TNativeWindow* MainWindow() const { return window_; }
    void SetCaption(const std::string& caption);
    void SetCursor(TCursorShape shape);
    // Paints the window once without the graphics device: black, with `text` in white at
    // (x, y) in client pixels, at about a 16-point size.
    void PaintStartText(const std::string& text, int32_t x, int32_t y);
    // Turns a pointer position in window coordinates into the client's, a picture of
    // pictureWidth x pictureHeight, at every pointer event (the window may change size at any
    // time); false for a point beside the picture. Without a mapper the client is the window.
    // Presses beside the picture are not sent; moves there go to kOutsidePoint.
    using TPointMapper = std::function<bool(int32_t& x, int32_t& y)>;
    void SetPointMapper(TPointMapper mapper, int32_t pictureWidth, int32_t pictureHeight);
    // The client size the form sees (the picture size once SetPointMapper has run).
    void ClientSize(int32_t& width, int32_t& height) const;
    // False while the form handles a move event that came from the window changing size under
    // a pointer that stayed where it was (full screen on and off, a resize): such a move is no
    // use of the mouse.
    bool PointerMoved() const { return pointerMoved_; }
    // The program changes the window itself (full screen on or off): the moves that follow
    // for a moment are the change's.
    void NoteWindowChange();

    void SetIdleHandler(TIdleHandler handler) override { idle_ = std::move(handler); }
    // Asked before each wait between frames: true while only ambient animation runs, which then
    // gets kRestFrameRate frames a second instead of one per display refresh.
    void SetRestQuery(std::function<bool()> query) { restQuery_ = std::move(query); }
    static constexpr int32_t kRestFrameRate = 15;
    // Runs the message loop: events go to the form; while the queue is empty the idle handler
    // runs, again at once while it leaves Done false. After Terminate it runs `finish` (the
    // program's own end: the exit save, the form's clean-up) and returns. In a browser the page
    // owns the loop and calls one pass per animation frame: there Run never returns, `finish`
    // runs when the loop stops, and what the caller keeps on its stack stays valid until then.
    void Run(std::function<void()> finish = nullptr);
    // Handles the events waiting now, without running the idle handler (tests).
    void ProcessMessages();
    // One pass of the loop where the host drives it (the browser's animation callback, set up by
    // Run); false once the loop has ended.
    bool RunPass();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    // Closes the window; with `keepGeometry` its size is stored in the registry for the next
    // start (not after a start that failed: such a run writes nothing).
    void DestroyMainWindow(bool keepGeometry = true);

    // Handles one SDL_Event (tests feed synthetic ones through here).
    void Dispatch(const void* event);
    // Sends the repeat of a held pad direction when it is due (called by ProcessMessages).
    void RepeatPadKeys();
    size_t OpenControllers() const { return controllers_.size(); }

private:
    void TrackVisibility(const void* event);
    // The kinds of event Dispatch hands on to the form, each an SDL_Event.
    void WindowEvent(const void* event);
    void MouseMotion(const void* event);
    void MouseButtonEvent(const void* event);
    void KeyDown(const void* event);
    void ControllerAdded(const void* event);
    void ControllerRemoved(const void* event);
    // Waits, without spinning, until the next frame is due; an event ends the wait at once.
    void WaitForNextFrame();
    double RefreshInterval() const;
    // False for a point in the bars beside or above and below the picture.
    bool MapPoint(int32_t& x, int32_t& y) const;
    void SendKey(uint16_t key, uint32_t shift);
    void PadButton(TPadButton button, bool down);
    void PadAxis(int32_t axis, int32_t value);

    bool initialised_ = false;
    bool terminated_ = false;
    bool active_ = true;
    TNativeWindow* window_ = nullptr;
    IFormEvents* form_ = nullptr;
    TIdleHandler idle_;
    std::function<bool()> restQuery_;
    bool hidden_ = false;          // minimised or unmapped: nothing is drawn
    std::function<void()> finish_; // the program's end, for a loop the host drives
    uint64_t nextFrame_ = 0;       // performance-counter time the next frame is due
    bool eventsRead_ = false;      // the last wait read the event queue and nothing came
    void* cursor_ = nullptr;
    TPointMapper mapper_;
    int32_t pictureWidth_ = 0, pictureHeight_ = 0;
    std::vector<void*> controllers_; // open SDL_GameController handles
    bool controllerSubsystem_ = false;
    TPadRepeat padRepeat_;
    int8_t stickX_ = 0, stickY_ = 0; // the left stick's direction: -1, 0, 1
    // Buttons whose press reached the form: only their releases are sent.
    uint32_t pressesSent_ = 0;
    // Move events this soon after the window changed size come from the change, not the mouse.
    static constexpr uint32_t kWindowSettleMs = 300;
    bool pointerMoved_ = true;
    uint32_t windowChangedAt_ = 0; // SDL ticks
};

// The one application object.
extern TApplication Application;

// Windows-1252 byte for a Unicode code point, or -1 when it has none.
int32_t CodePointTo1252(uint32_t codePoint);

// Puts the UTF-8 `text` on the system's clipboard (SDL's; in the browser, Emscripten's SDL keeps
// it for the page). False when the system refused it.
bool SetClipboardText(const std::string& text);

// A message box of the desktop itself, for failures before the game can draw its own; returns
// when the player has closed it. Does nothing without a display.
void ShowNativeError(const std::string& title, const std::string& text, TNativeWindow* parent);
// The same with a warning sign, for what the player should know but can play on with.
void ShowNativeWarning(const std::string& title, const std::string& text, TNativeWindow* parent);

// Runs `handler` when the display is lost for good (the X server went away, the Windows session
// ends, the browser page is closed); the program then ends at once, since no window can come
// back. The handler must not use the
// window or the graphics device: it is for saving the player's files. Empty clears it.
void SetDisplayLostHandler(std::function<void()> handler);
