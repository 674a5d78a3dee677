#include "platform/App.h"

#include "platform/Bitmap.h"
#include "platform/Memory.h"
#include "platform/SdlError.h"
#include "platform/Signals.h"
#include "platform/Window.h"

#include <SDL.h>

#include <array>
#include <cstdlib>
#include <utility>

TApplication Application;

namespace {

uint32_t ShiftState(SDL_Keymod mod = SDL_GetModState()) {
    uint32_t s = 0;
    if (mod & KMOD_SHIFT) s |= ssShift;
    if (mod & KMOD_ALT) s |= ssAlt;
    if (mod & KMOD_CTRL) s |= ssCtrl;
    return s;
}

// SDL key to virtual-key code; 0 for keys the game has no use for. The keypad's keys count as
// the keys they stand for (whatever the Num Lock state).
uint16_t VirtualKey(SDL_Keycode k) {
    switch (k) {
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_PAGEUP:
    case SDLK_KP_9:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
    case SDLK_KP_3:
        return VK_NEXT;
    case SDLK_END:
    case SDLK_KP_1:
        return VK_END;
    case SDLK_HOME:
    case SDLK_KP_7:
        return VK_HOME;
    case SDLK_LEFT:
    case SDLK_KP_4:
        return VK_LEFT;
    case SDLK_UP:
    case SDLK_KP_8:
        return VK_UP;
    case SDLK_RIGHT:
    case SDLK_KP_6:
        return VK_RIGHT;
    case SDLK_DOWN:
    case SDLK_KP_2:
        return VK_DOWN;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_F1:
        return VK_F1;
    case SDLK_F11:
        return VK_F11;
    default:
        break;
    }
    if (k >= SDLK_a && k <= SDLK_z) return static_cast<uint16_t>('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9) return static_cast<uint16_t>('0' + (k - SDLK_0));
    return 0;
}

int32_t MouseButton(uint8_t b) {
    switch (b) {
    case SDL_BUTTON_LEFT:
        return 0;
    case SDL_BUTTON_RIGHT:
        return 1;
    case SDL_BUTTON_MIDDLE:
        return 2;
    default:
        return -1;
    }
}

bool PadButtonOf(uint8_t b, TPadButton& out) {
    switch (b) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        out = TPadButton::Up;
        return true;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        out = TPadButton::Down;
        return true;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        out = TPadButton::Left;
        return true;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        out = TPadButton::Right;
        return true;
    case SDL_CONTROLLER_BUTTON_A:
        out = TPadButton::A;
        return true;
    case SDL_CONTROLLER_BUTTON_B:
        out = TPadButton::B;
        return true;
    case SDL_CONTROLLER_BUTTON_Y:
        out = TPadButton::Y;
        return true;
    case SDL_CONTROLLER_BUTTON_START:
        out = TPadButton::Start;
        return true;
    case SDL_CONTROLLER_BUTTON_BACK:
        out = TPadButton::Back;
        return true;
    default:
        return false;
    }
}

bool IsDirection(TPadButton b) {
    return b == TPadButton::Up || b == TPadButton::Down || b == TPadButton::Left ||
           b == TPadButton::Right;
}

// The stick counts as pushed past kStickOn and as back at rest below kStickOff (of 32767), so
// that a stick resting near the threshold does not chatter.
constexpr int32_t kStickOn = 16000;
constexpr int32_t kStickOff = 8000;

// Decodes UTF-8; malformed bytes are skipped.
template <typename F> void ForEachCodePoint(const char* text, F&& f) {
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    while (*s) {
        uint32_t cp = 0;
        int extra = 0;
        if (*s < 0x80) {
            cp = *s;
        } else if ((*s & 0xE0) == 0xC0) {
            cp = *s & 0x1F;
            extra = 1;
        } else if ((*s & 0xF0) == 0xE0) {
            cp = *s & 0x0F;
            extra = 2;
        } else if ((*s & 0xF8) == 0xF0) {
            cp = *s & 0x07;
            extra = 3;
        } else {
            ++s;
            continue;
        }
        ++s;
        bool ok = true;
        for (int i = 0; i < extra; ++i, ++s) {
            if ((*s & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (*s & 0x3F);
        }
        if (ok) f(cp);
    }
}

} // namespace

int32_t CodePointTo1252(uint32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<int32_t>(cp);
    static constexpr std::array<std::pair<uint32_t, uint8_t>, 27> high = {{
        {0x20AC, 0x80}, {0x201A, 0x82}, {0x0192, 0x83}, {0x201E, 0x84}, {0x2026, 0x85},
        {0x2020, 0x86}, {0x2021, 0x87}, {0x02C6, 0x88}, {0x2030, 0x89}, {0x0160, 0x8A},
        {0x2039, 0x8B}, {0x0152, 0x8C}, {0x017D, 0x8E}, {0x2018, 0x91}, {0x2019, 0x92},
        {0x201C, 0x93}, {0x201D, 0x94}, {0x2022, 0x95}, {0x2013, 0x96}, {0x2014, 0x97},
        {0x02DC, 0x98}, {0x2122, 0x99}, {0x0161, 0x9A}, {0x203A, 0x9B}, {0x0153, 0x9C},
        {0x017E, 0x9E}, {0x0178, 0x9F},
    }};
    for (const auto& [code, byte] : high)
        if (code == cp) return byte;
    return -1;
}

uint16_t PadButtonKey(TPadButton button) {
    switch (button) {
    case TPadButton::Up:
        return VK_UP;
    case TPadButton::Down:
        return VK_DOWN;
    case TPadButton::Left:
        return VK_LEFT;
    case TPadButton::Right:
        return VK_RIGHT;
    case TPadButton::A:
        return VK_RETURN;
    case TPadButton::B:
        return VK_ESCAPE;
    case TPadButton::Y:
        return VK_GAMEPAD_Y;
    case TPadButton::Start:
        return VK_GAMEPAD_MENU;
    case TPadButton::Back:
        return VK_GAMEPAD_VIEW;
    }
    return 0;
}

uint16_t TPadRepeat::Press(TPadButton direction, uint32_t now) {
    held_ = direction;
    key_ = PadButtonKey(direction);
    next_ = now + kFirstDelay;
    return key_;
}

void TPadRepeat::Release(TPadButton direction) {
    if (key_ != 0 && direction == held_) key_ = 0;
}

uint16_t TPadRepeat::Due(uint32_t now) {
    // Wrap-safe: the tick counter may pass 2^32 while a direction is held.
    if (key_ == 0 || static_cast<int32_t>(now - next_) < 0) return 0;
    next_ = now + kInterval;
    return key_;
}

TApplication::~TApplication() {
    DestroyMainWindow();
    if (cursor_) SDL_FreeCursor(static_cast<SDL_Cursor*>(cursor_));
    if (initialised_) SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

namespace {

void* SDLCALL SdlMalloc(size_t bytes) {
    return ShortOfMemoryMalloc(bytes);
}
void* SDLCALL SdlCalloc(size_t count, size_t bytes) {
    return ShortOfMemoryCalloc(count, bytes);
}
void* SDLCALL SdlRealloc(void* block, size_t bytes) {
    return ShortOfMemoryRealloc(block, bytes);
}
void SDLCALL SdlFree(void* block) {
    std::free(block);
}

} // namespace

bool TApplication::Initialize(std::string* error) {
    if (initialised_) return true;
    // SDL's allocations note a shortage and fall back on the reserve before they fail: a thread
    // whose first error finds no memory for its error text would otherwise recurse until its
    // stack ends. The same heap as SDL's own, so that blocks it allocated before stay good.
    SDL_SetMemoryFunctions(SdlMalloc, SdlCalloc, SdlRealloc, SdlFree);
    // The window thread's error text is made now, while there is room.
    SDL_ClearError();
    // Closing the window is the form's question (it asks before quitting); a quit request that
    // does not come from the window (SIGTERM, SIGINT, the session ending) ends the program.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // A turn-based game left alone must not keep the display awake.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // Windows: sizes are in points of the display's scale and the picture is drawn at its full
    // pixel density, as on any high-density display, instead of Windows enlarging a 96-DPI
    // window (blurred) or, in some hosts, leaving it small. Must precede the video subsystem.
    SDL_SetHint(SDL_HINT_WINDOWS_DPI_SCALING, "1");
    if (SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_VIDEO) != 0) {
        if (error) *error = "no display: " + SdlError();
        return false;
    }
    // Without a reachable display SDL may fall back to a driver that shows nothing; a game
    // nobody can see is no game, unless such a driver was asked for by name.
    const char* driver = SDL_GetCurrentVideoDriver();
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    const std::string name = driver ? driver : "";
    if ((name == "offscreen" || name == "dummy") && !(wanted && name == wanted)) {
        if (error) *error = "no display (only SDL's \"" + name + "\" video driver is available)";
        SDL_QuitSubSystem(SDL_INIT_EVENTS | SDL_INIT_VIDEO);
        return false;
    }
    // The window's start of the video subsystem uses the driver found here, so that a display
    // gone meanwhile is an error there instead of a quiet fall-back to an invisible driver.
    SDL_SetHint(SDL_HINT_VIDEODRIVER, name.c_str());
    SDL_QuitSubSystem(SDL_INIT_VIDEO); // the window holds its own share of the video subsystem
    // SDL turns SIGTERM and SIGINT into a quit request, which ends the program through the exit
    // save; the host's other ways of asking a program to end are made the same request.
    ForwardQuitRequests();
    initialised_ = true;
    return true;
}

void TApplication::NoteWindowChange() {
    windowChangedAt_ = SDL_GetTicks();
}

void TApplication::DesktopSize(int32_t& width, int32_t& height) const {
    width = height = 0;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
        width = mode.w;
        height = mode.h;
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

bool TApplication::CreateMainWindow(const std::string& caption, int32_t clientWidth,
                                    int32_t clientHeight, bool borderless, IFormEvents* form,
                                    std::string* error) {
    DestroyMainWindow();
    window_ = CreateNativeWindow(caption, clientWidth, clientHeight, borderless, error);
    if (!window_) return false;
    form_ = form;
    mapper_ = nullptr;
    pictureWidth_ = clientWidth;
    pictureHeight_ = clientHeight;
    SDL_StartTextInput();
    // Pads present now arrive as "device added" events, later ones as they are plugged in.
    // Without the subsystem the game simply has no pad.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "0");
    controllerSubsystem_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
    return true;
}

void TApplication::DestroyMainWindow(bool keepGeometry) {
    if (!window_) return;
    for (void* c : controllers_) SDL_GameControllerClose(static_cast<SDL_GameController*>(c));
    controllers_.clear();
    padRepeat_ = TPadRepeat{};
    stickX_ = stickY_ = 0;
    if (controllerSubsystem_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    controllerSubsystem_ = false;
    if (keepGeometry) SaveNativeWindowGeometry(window_);
    DestroyNativeWindow(window_);
    window_ = nullptr;
    form_ = nullptr;
}

void TApplication::SetCaption(const std::string& caption) {
    SetNativeWindowTitle(window_, caption);
}

void TApplication::SetCursor(TCursorShape shape) {
    if (shape == TCursorShape::None) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    SDL_Cursor* next = SDL_CreateSystemCursor(
        shape == TCursorShape::AppStart ? SDL_SYSTEM_CURSOR_WAITARROW : SDL_SYSTEM_CURSOR_ARROW);
    if (next) {
        SDL_SetCursor(next);
        if (cursor_) SDL_FreeCursor(static_cast<SDL_Cursor*>(cursor_));
        cursor_ = next;
    }
    SDL_ShowCursor(SDL_ENABLE);
}

void TApplication::PaintStartText(const std::string& text, int32_t x, int32_t y) {
    SDL_Window* w = SdlWindowOf(window_);
    if (!w) return;
    // A renderer of its own for this one picture; the graphics device makes its own afterwards.
    SDL_Renderer* r = CreateWindowRenderer(w, 0);
    if (!r) return;
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    TBitmap label;
    if (label.SetSize(TBitmap::TextWidth(text), TBitmap::TextHeight(), 32)) {
        label.TextOut(0, 0, text, 0xFFFFFF, 0x000000);
        SDL_Surface* s =
            SDL_CreateRGBSurfaceWithFormatFrom(label.ScanLine(0), label.Width(), label.Height(), 32,
                                               label.RowBytes(), SDL_PIXELFORMAT_ARGB8888);
        if (s) {
            SDL_Texture* t = SDL_CreateTextureFromSurface(r, s);
            if (t) {
                // The built-in font is 10 pixels high; doubled it reads like a 16-point text.
                const SDL_Rect dst{x, y, label.Width() * 2, label.Height() * 2};
                SDL_RenderCopy(r, t, nullptr, &dst);
                SDL_DestroyTexture(t);
            }
            SDL_FreeSurface(s);
        }
    }
    SDL_RenderPresent(r);
    SDL_DestroyRenderer(r);
}

void TApplication::SetPointMapper(TPointMapper mapper, int32_t pictureWidth,
                                  int32_t pictureHeight) {
    mapper_ = std::move(mapper);
    pictureWidth_ = pictureWidth;
    pictureHeight_ = pictureHeight;
}

void TApplication::ClientSize(int32_t& width, int32_t& height) const {
    width = pictureWidth_;
    height = pictureHeight_;
}

bool TApplication::MapPoint(int32_t& x, int32_t& y) const {
    if (!mapper_ || mapper_(x, y)) return true;
    x = y = kOutsidePoint;
    return false;
}

void TApplication::SendKey(uint16_t key, uint32_t shift) {
    if (key != 0 && form_) form_->FormKeyDown(key, shift);
}

void TApplication::PadButton(TPadButton button, bool down) {
    if (IsDirection(button)) {
        if (down)
            SendKey(padRepeat_.Press(button, SDL_GetTicks()), 0);
        else
            padRepeat_.Release(button);
        return;
    }
    if (down) SendKey(PadButtonKey(button), 0);
}

void TApplication::PadAxis(int32_t axis, int32_t value) {
    if (axis != SDL_CONTROLLER_AXIS_LEFTX && axis != SDL_CONTROLLER_AXIS_LEFTY) return;
    int8_t& state = axis == SDL_CONTROLLER_AXIS_LEFTX ? stickX_ : stickY_;
    const TPadButton minus = axis == SDL_CONTROLLER_AXIS_LEFTX ? TPadButton::Left : TPadButton::Up;
    const TPadButton plus =
        axis == SDL_CONTROLLER_AXIS_LEFTX ? TPadButton::Right : TPadButton::Down;
    int8_t next = state;
    if (value >= kStickOn)
        next = 1;
    else if (value <= -kStickOn)
        next = -1;
    else if (value > -kStickOff && value < kStickOff)
        next = 0;
    if (next == state) return;
    if (next != 0 && form_) form_->FormInputKind(TInputKind::Pad);
    if (state != 0) PadButton(state > 0 ? plus : minus, false);
    state = next;
    if (state != 0) PadButton(state > 0 ? plus : minus, true);
}

void TApplication::RepeatPadKeys() {
    if (padRepeat_.Held()) SendKey(padRepeat_.Due(SDL_GetTicks()), 0);
}

void TApplication::TrackVisibility(const void* raw) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
    if (e.type != SDL_WINDOWEVENT) return;
    switch (e.window.event) {
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_HIDDEN:
        hidden_ = true;
        break;
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_EXPOSED:
        hidden_ = false;
        break;
    default:
        break;
    }
}

void TApplication::Dispatch(const void* raw) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
    TrackVisibility(raw);
    if (!form_) {
        if (e.type == SDL_QUIT) Terminate();
        return;
    }
    switch (e.type) {
    case SDL_QUIT:
        Terminate();
        break;
    case SDL_WINDOWEVENT:
        WindowEvent(raw);
        break;
    case SDL_MOUSEMOTION:
        MouseMotion(raw);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        MouseButtonEvent(raw);
        break;
    case SDL_KEYDOWN:
        KeyDown(raw);
        break;
    case SDL_CONTROLLERDEVICEADDED:
        ControllerAdded(raw);
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        ControllerRemoved(raw);
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        TPadButton b{};
        if (!PadButtonOf(e.cbutton.button, b)) break;
        if (e.type == SDL_CONTROLLERBUTTONDOWN) form_->FormInputKind(TInputKind::Pad);
        PadButton(b, e.type == SDL_CONTROLLERBUTTONDOWN);
        break;
    }
    case SDL_CONTROLLERAXISMOTION:
        PadAxis(e.caxis.axis, e.caxis.value);
        break;
    case SDL_TEXTINPUT:
        ForEachCodePoint(e.text.text, [this](uint32_t cp) {
            const int32_t b = CodePointTo1252(cp);
            if (b < 0 || !form_) return;
            char c = static_cast<char>(b);
            form_->FormKeyPress(c);
        });
        break;
    default:
        break;
    }
}

void TApplication::WindowEvent(const void* raw) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
    if (e.window.event == SDL_WINDOWEVENT_CLOSE) {
        bool canClose = true;
        form_->FormCloseQuery(canClose);
        if (canClose) Terminate();
    } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
               e.window.event == SDL_WINDOWEVENT_MINIMIZED) {
        if (active_) {
            active_ = false;
            form_->ApplicationDeactivate();
        }
    } else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
        NoteWindowChange();
        NoteNativeWindowSize(window_);
    } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
               e.window.event == SDL_WINDOWEVENT_RESTORED) {
        if (!active_) {
            active_ = true;
            form_->ApplicationActivate();
        }
    }
}

void TApplication::MouseMotion(const void* raw) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
    // A finger moves the pointer only while it presses (a drag): a touch screen has no hover.
    const bool touch = e.motion.which == SDL_TOUCH_MOUSEID;
    if (touch && !(pressesSent_ & 1u)) return;
    int32_t x = e.motion.x, y = e.motion.y;
    MapPoint(x, y);
    // A window that changes size or place (full screen on and off, a resize) reports moves under
    // a pointer that stayed where it was, some with places it never had.
    pointerMoved_ = SDL_GetTicks() - windowChangedAt_ > kWindowSettleMs;
    if (pointerMoved_) form_->FormInputKind(touch ? TInputKind::Touch : TInputKind::Mouse);
    form_->FormMouseMove(ShiftState(), x, y);
    pointerMoved_ = true;
}

void TApplication::MouseButtonEvent(const void* raw) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
    const int32_t button = MouseButton(e.button.button);
    if (button < 0) return;
    int32_t x = e.button.x, y = e.button.y;
    const bool inside = MapPoint(x, y);
    const uint32_t bit = 1u << button;
    // A press in the bars around the picture does nothing; a release always ends a press that
    // the form has seen, wherever it happens.
    if (e.type == SDL_MOUSEBUTTONDOWN) {
        if (!inside) return;
        pressesSent_ |= bit;
    } else {
        if (!(pressesSent_ & bit)) return;
        pressesSent_ &= ~bit;
    }
    if (e.type == SDL_MOUSEBUTTONDOWN)
        form_->FormInputKind(e.button.which == SDL_TOUCH_MOUSEID ? TInputKind::Touch
                                                                 : TInputKind::Mouse);
    // Windows reports the position with the press; the form's pointer follows it first.
    form_->FormMouseMove(ShiftState(), x, y);
    if (e.type == SDL_MOUSEBUTTONDOWN)
        form_->FormMouseDown(button, ShiftState(), x, y);
    else
        form_->FormMouseUp(button, ShiftState(), x, y);
}

void TApplication::KeyDown(const void* raw) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
    const uint16_t key = VirtualKey(e.key.keysym.sym);
    // The modifiers the key came with: by the time a queued key is handled, SDL's current state
    // may already have Ctrl or Alt released again (a quick Ctrl+Z lost its Ctrl).
    const uint32_t shift = ShiftState(static_cast<SDL_Keymod>(e.key.keysym.mod));
    // A held F11 or Alt+Enter switches once, not at the keyboard's repeat rate.
    if (e.key.repeat && (key == VK_F11 || (key == VK_RETURN && (shift & ssAlt)))) return;
    if (key != 0) form_->FormInputKind(TInputKind::Keys);
    SendKey(key, shift);
}

void TApplication::ControllerAdded(const void* raw) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
    if (!SDL_IsGameController(e.cdevice.which)) return;
    SDL_GameController* c = SDL_GameControllerOpen(e.cdevice.which);
    if (c) controllers_.push_back(c);
}

// A pad that goes away leaves the game as it is; only its held direction ends.
void TApplication::ControllerRemoved(const void* raw) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
    for (auto it = controllers_.begin(); it != controllers_.end(); ++it) {
        auto* c = static_cast<SDL_GameController*>(*it);
        if (SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(c)) == e.cdevice.which) {
            SDL_GameControllerClose(c);
            controllers_.erase(it);
            break;
        }
    }
    padRepeat_ = TPadRepeat{};
    stickX_ = stickY_ = 0;
}

void TApplication::ProcessMessages() {
    SDL_Event e;
    // Right after a wait that read the window system's queue, the events taken are handed on
    // without reading it again.
    const bool read = std::exchange(eventsRead_, false);
    while (!terminated_ &&
           (read ? SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1
                 : SDL_PollEvent(&e) == 1))
        Dispatch(&e);
    if (!terminated_) RepeatPadKeys();
}

bool SetClipboardText(const std::string& text) {
    return SDL_SetClipboardText(text.c_str()) == 0;
}

void ShowNativeError(const std::string& title, const std::string& text, TNativeWindow* parent) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(),
                             SdlWindowOf(parent));
}

void ShowNativeWarning(const std::string& title, const std::string& text, TNativeWindow* parent) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title.c_str(), text.c_str(),
                             SdlWindowOf(parent));
}
