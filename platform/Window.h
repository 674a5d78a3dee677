#pragma once
// The application window, created centred on the screen with a client area of the given size.
// Creating the first window initialises SDL's video subsystem; destroying a window releases its
// share of it. The graphics layer presents into it; the App layer reads its events.
#include <cstdint>
#include <string>

struct SDL_Renderer;
struct SDL_Window;
struct TNativeWindow;

// Null on failure, with the reason in `error` when given. A framed (not borderless) window is
// resizable and maximisable and takes the size and maximised state that
// SaveNativeWindowGeometry kept ("WindowWidth", "WindowHeight", "WindowMaximized" in the
// registry file), within the desktop; the requested size when none is kept. On high-DPI
// displays it asks for the full pixel density.
TNativeWindow* CreateNativeWindow(const std::string& title, int32_t clientWidth,
                                  int32_t clientHeight, bool borderless,
                                  std::string* error = nullptr);
void DestroyNativeWindow(TNativeWindow* window); // null is ignored

// Notes the window's current size as its normal size when it is neither maximised nor full screen
// (called on every size change).
void NoteNativeWindowSize(TNativeWindow* window);
// Keeps the normal size and the maximised state of a framed window for its next creation; a
// window in full screen keeps what was kept before. False when the registry file cannot be
// written.
bool SaveNativeWindowGeometry(const TNativeWindow* window);

// The framed window's kept size and maximised state (within the desktop); false when none is
// kept. A window that started in full screen takes them when it leaves full screen.
bool KeptWindowGeometry(int& width, int& height, bool& maximised);

void SetNativeWindowTitle(TNativeWindow* window, const std::string& title);
// Client area in window coordinates.
void NativeWindowClientSize(const TNativeWindow* window, int32_t& width, int32_t& height);
// For the platform layer's own use (graphics, input); null for a null window.
SDL_Window* SdlWindowOf(const TNativeWindow* window);

// True when pictures for the window are best drawn in memory and copied into the window's own
// image: without a graphics processor OpenGL would rasterise every draw in software and then copy
// the whole frame once more to show it. Not when the user named a renderer in SDL_RENDER_DRIVER.
// Where true, the window's image is a plain shared-memory one, not an OpenGL texture.
bool WindowDrawsInSoftware(SDL_Window* window);
// A renderer for the window with the SDL_RENDERER_* `flags` given: SDL's software renderer on
// the window's own image where WindowDrawsInSoftware, otherwise an accelerated one first. Null on
// failure.
SDL_Renderer* CreateWindowRenderer(SDL_Window* window, uint32_t flags);
