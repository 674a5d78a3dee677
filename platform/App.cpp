#include "platform/App.h"

#include "platform/Bitmap.h"
#include "platform/Window.h"

#include <SDL.h>

#include <array>

TApplication Application;

namespace {

uint32_t ShiftState(SDL_Keymod mod = SDL_GetModState()) {
    uint32_t s = 0;
    if (mod & KMOD_SHIFT) s |= ssShift;
    if (mod & KMOD_ALT) s |= ssAlt;
    if (mod & KMOD_CTRL) s |= ssCtrl;
    return s;
}

// SDL key to virtual-key code; 0 for keys the game has no use for.
uint16_t VirtualKey(SDL_Keycode k) {
    switch (k) {
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return 32;
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

TApplication::~TApplication() {
    DestroyMainWindow();
    if (cursor_) SDL_FreeCursor(static_cast<SDL_Cursor*>(cursor_));
    if (initialised_) SDL_QuitSubSystem(SDL_INIT_EVENTS);
}

bool TApplication::Initialize(std::string* error) {
    if (initialised_) return true;
    // Closing the window is the form's question (it asks before quitting); a quit request that
    // does not come from the window (SIGTERM, SIGINT, the session ending) ends the program.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_EVENTS | SDL_INIT_VIDEO) != 0) {
        if (error) *error = std::string("no display: ") + SDL_GetError();
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
    SDL_QuitSubSystem(SDL_INIT_VIDEO); // the window holds its own share of the video subsystem
    initialised_ = true;
    return true;
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
    rectSource_ = nullptr;
    pictureWidth_ = clientWidth;
    pictureHeight_ = clientHeight;
    SDL_StartTextInput();
    return true;
}

void TApplication::DestroyMainWindow() {
    if (!window_) return;
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
    SDL_Renderer* r = SDL_CreateRenderer(w, -1, 0);
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

void TApplication::SetPictureRectSource(TPictureRectSource source, int32_t pictureWidth,
                                        int32_t pictureHeight) {
    rectSource_ = std::move(source);
    pictureWidth_ = pictureWidth;
    pictureHeight_ = pictureHeight;
}

void TApplication::ClientSize(int32_t& width, int32_t& height) const {
    width = pictureWidth_;
    height = pictureHeight_;
}

void TApplication::MapPoint(int32_t& x, int32_t& y) const {
    if (!rectSource_) return;
    int32_t left = 0, top = 0, width = 0, height = 0;
    rectSource_(left, top, width, height);
    if (width <= 0 || height <= 0) return;
    x = static_cast<int32_t>(static_cast<int64_t>(x - left) * pictureWidth_ / width);
    y = static_cast<int32_t>(static_cast<int64_t>(y - top) * pictureHeight_ / height);
}

void TApplication::Dispatch(const void* raw) {
    const SDL_Event& e = *static_cast<const SDL_Event*>(raw);
    if (!form_) {
        if (e.type == SDL_QUIT) Terminate();
        return;
    }
    switch (e.type) {
    case SDL_QUIT:
        Terminate();
        break;
    case SDL_WINDOWEVENT:
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
        } else if (e.window.event == SDL_WINDOWEVENT_FOCUS_GAINED ||
                   e.window.event == SDL_WINDOWEVENT_RESTORED) {
            if (!active_) {
                active_ = true;
                form_->ApplicationActivate();
            }
        }
        break;
    case SDL_MOUSEMOTION: {
        int32_t x = e.motion.x, y = e.motion.y;
        MapPoint(x, y);
        form_->FormMouseMove(ShiftState(), x, y);
        break;
    }
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        const int32_t button = MouseButton(e.button.button);
        if (button < 0) break;
        int32_t x = e.button.x, y = e.button.y;
        MapPoint(x, y);
        // Windows reports the position with the press; the form's pointer follows it first.
        form_->FormMouseMove(ShiftState(), x, y);
        if (e.type == SDL_MOUSEBUTTONDOWN)
            form_->FormMouseDown(button, ShiftState(), x, y);
        else
            form_->FormMouseUp(button, ShiftState(), x, y);
        break;
    }
    case SDL_KEYDOWN: {
        uint16_t key = VirtualKey(e.key.keysym.sym);
        // The modifiers the key came with: by the time a queued key is handled, SDL's current
        // state may already have Ctrl or Alt released again (a quick Ctrl+Z lost its Ctrl).
        if (key != 0)
            form_->FormKeyDown(key, ShiftState(static_cast<SDL_Keymod>(e.key.keysym.mod)));
        break;
    }
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

void TApplication::ProcessMessages() {
    SDL_Event e;
    while (!terminated_ && SDL_PollEvent(&e)) Dispatch(&e);
}

void TApplication::Run() {
    while (!terminated_) {
        ProcessMessages();
        if (terminated_) break;
        bool done = true;
        if (idle_) idle_(done);
        if (done) SDL_WaitEventTimeout(nullptr, 100);
    }
}

void ShowNativeError(const std::string& title, const std::string& text, TNativeWindow* parent) {
    SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(),
                             SdlWindowOf(parent));
}
