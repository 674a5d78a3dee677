#pragma once
// Windows' file and environment functions take UTF-16; the game's strings are UTF-8. Windows only.
#include <string>

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);
// The text of Windows' error code, e.g. "Access is denied", without the line break.
std::string SystemErrorText(unsigned long code);
