#pragma once
// The application: the main form's window, its events turned into the form's handlers, the idle
// hook that runs the frames, and termination. One thread runs everything.
#include "platform/IdleHost.h"

#include <cstdint>
#include <functional>
#include <string>

struct TNativeWindow;

// Shift state bits of mouse and key events.
constexpr uint32_t ssShift = 1;
constexpr uint32_t ssAlt = 2;
constexpr uint32_t ssCtrl = 4;

// Virtual-key codes the game reads.
constexpr uint16_t VK_BACK = 8;
constexpr uint16_t VK_RETURN = 13;
constexpr uint16_t VK_ESCAPE = 27;

enum class TCursorShape { Arrow, AppStart, None };

// The main form's handlers. Mouse positions are client pixels of the form (see
// TApplication::SetPictureRect); buttons are 0 left, 1 right, 2 middle.
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
    // Where the picture lies in the window, asked at every pointer event (the window may change
    // size when it goes full screen); pointer positions are mapped from that rectangle onto a
    // client of pictureWidth x pictureHeight. Without a source the client is the window.
    using TPictureRectSource =
        std::function<void(int32_t& left, int32_t& top, int32_t& width, int32_t& height)>;
    void SetPictureRectSource(TPictureRectSource source, int32_t pictureWidth,
                              int32_t pictureHeight);
    // The client size the form sees (the picture size once SetPictureRect has run).
    void ClientSize(int32_t& width, int32_t& height) const;

    void SetIdleHandler(TIdleHandler handler) override { idle_ = std::move(handler); }
    // Asked before each wait between frames: true while only ambient animation runs, which then
    // gets kRestFrameRate frames a second instead of one per display refresh.
    void SetRestQuery(std::function<bool()> query) { restQuery_ = std::move(query); }
    static constexpr int32_t kRestFrameRate = 15;
    // Runs the message loop: events go to the form; while the queue is empty the idle handler
    // runs, again at once while it leaves Done false. Returns after Terminate.
    void Run();
    // Handles the events waiting now, without running the idle handler (tests).
    void ProcessMessages();
    void Terminate() { terminated_ = true; }
    bool Terminated() const { return terminated_; }
    void DestroyMainWindow();

private:
    void Dispatch(const void* event);
    void TrackVisibility(const void* event);
    // Waits, without spinning, until the next frame is due; an event ends the wait at once.
    void WaitForNextFrame();
    double RefreshInterval() const;
    void MapPoint(int32_t& x, int32_t& y) const;

    bool initialised_ = false;
    bool terminated_ = false;
    bool active_ = true;
    TNativeWindow* window_ = nullptr;
    IFormEvents* form_ = nullptr;
    TIdleHandler idle_;
    std::function<bool()> restQuery_;
    bool hidden_ = false;    // minimised or unmapped: nothing is drawn
    uint64_t nextFrame_ = 0; // performance-counter time the next frame is due
    void* cursor_ = nullptr;
    TPictureRectSource rectSource_;
    int32_t pictureWidth_ = 0, pictureHeight_ = 0;
};

// The one application object.
extern TApplication Application;

// Windows-1252 byte for a Unicode code point, or -1 when it has none.
int32_t CodePointTo1252(uint32_t codePoint);

// A message box of the desktop itself, for failures before the game can draw its own; returns
// when the player has closed it. Does nothing without a display.
void ShowNativeError(const std::string& title, const std::string& text, TNativeWindow* parent);
// The same with a warning sign, for what the player should know but can play on with.
void ShowNativeWarning(const std::string& title, const std::string& text, TNativeWindow* parent);

// Runs `handler` when the connection to the display is lost (the X server went away); the
// program then ends at once, since no window can come back. The handler must not use the
// window or the graphics device: it is for saving the player's files. Empty clears it.
void SetDisplayLostHandler(std::function<void()> handler);
