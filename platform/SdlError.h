#pragma once
// SDL's last error as text. SDL gives a null pointer when it had no memory for the message.
#include <SDL.h>

#include <string>

inline std::string SdlError() {
    const char* text = SDL_GetError();
    return text ? text : "out of memory";
}
