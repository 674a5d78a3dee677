#pragma once
// What a host that shows the game in a web page decides about the screen. A desktop, whose
// window is the game's own, leaves all of it to the game: its answers are "nothing to say".
#include <cstdint>

struct SDL_Window;

// The density the pictures should have: 2 on a screen of 1.5 device pixels a CSS pixel or more,
// else 1; 0 where the window's own pixels decide (a desktop).
int32_t HostPictureDensity();
// The page's visible area in CSS pixels; false on a desktop.
bool HostViewport(int32_t& width, int32_t& height);
// Full screen belongs to the page (its Fullscreen API and a button of its own): the game asks for
// it and never keeps it. False on a desktop.
bool HostOwnsFullScreen();
bool HostInFullScreen();
// Asks the page to show the game on the whole screen or not (a browser grants it only soon after
// a press or a key).
void HostSetFullScreen(bool on);
// A touch screen is the page's main input (a phone, a tablet).
bool HostPrefersTouch();
// The flags of the game's window on this host, from the desktop's.
uint32_t HostWindowFlags(uint32_t flags);
// Makes the window's drawable area `width` x `height` pixels where the host scales the window to
// fit (a page's canvas, shown at the page's size): the picture is then drawn at its own size. A
// desktop window keeps the size the player gave it. True when the size changed (what the window
// showed is gone).
bool HostFitWindow(SDL_Window* window, int32_t width, int32_t height);
// Shows the picture drawn in memory (32-bit ARGB) on the window by the host's own means, only
// where it changed: `areas` of the picture, each shown through `pieces` (a rectangle of the
// picture and the window's rectangle of the same size it goes to); `whole` shows everything and
// fills the window around the pieces with `gaps` (0xRRGGBB). False where the host has no such
// means (a desktop): the window's image is used then.
struct SDL_Surface;
struct SDL_Rect;
bool HostShowPicture(SDL_Window* window, const SDL_Surface* picture, const SDL_Rect* pieces,
                     int pieceCount, const SDL_Rect* areas, int areaCount, bool whole,
                     uint32_t gaps);
